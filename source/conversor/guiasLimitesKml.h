// Guides and boundaries of a navigation file as KML folders: "Guias" with one sub-folder per guide that
// has both points marked (its A and B marks and its line or curves), "Limites" with one sub-folder per
// boundary.
#pragma once

#include <cstdio>

#include "zavoro/tipos.h"
#include "zavoro/zavoro.h"

// The guides of the walk's entries, reading curve points from pfArquivoLeitura inside each entry.
// Version-1 guides carry the field's guide type. *piErroImpressaoGuia (when given) is cleared, then set
// to 1 when a curve could not be drawn whole (a point that is not a number, or a count that runs past
// its entry); the map goes on. FALSE on a short read; the output then stops where it is.
BOOL conversor_InserirGuiasKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                               const ST_EstruturaNavegacao* pstEstrutura, int* piErroImpressaoGuia);

// The A and B marks of one guide, numbered iNumGuia.
void conversor_InserirPontoABKml(std::FILE* pfArquivoEscrita, const ST_Guia_v2* pstGuia, int iNumGuia);

// The boundaries of the walk's entries, reading their points from pfArquivoLeitura inside each entry.
// FALSE on a short read.
BOOL conversor_InserirLimiteKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                const ST_EstruturaNavegacao* pstEstrutura);
