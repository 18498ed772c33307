// Guides and boundaries of a navigation file as KML folders: "Guias" with one sub-folder per guide that
// has both points marked (its A and B marks and its line or curves), "Limites" with one sub-folder per
// boundary.
#pragma once

#include <cstdio>

#include "zavoro/tipos.h"
#include "zavoro/zavoro.h"

// Reads iNumeroGuias guide entries from pfArquivoLeitura, positioned at the first entry. ucTipoGuia is
// the field's guide type, taken by version-1 guides. *piErroImpressaoGuia (when given) is cleared, then
// set to 1 when a curve could not be drawn whole (a point that is not a number, or a count that runs
// past its entry); the map goes on. FALSE on an unknown version, a malformed length or a short read;
// the output then stops where it is.
BOOL conversor_InserirGuiasKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                               unsigned char ucTipoGuia, int iNumeroGuias, double dZeroRelativoLon,
                               double dZeroRelativoLat, int* piErroImpressaoGuia);

// The A and B marks of one guide, numbered iNumGuia.
void conversor_InserirPontoABKml(std::FILE* pfArquivoEscrita, const ST_Guia_v2* pstGuia, int iNumGuia);

// Reads uiNumeroLimites boundary entries from pfArquivoLeitura, positioned at the first entry. FALSE on
// an unknown version, a malformed length or a short read.
BOOL conversor_InserirLimiteKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                unsigned int uiNumeroLimites, double dZeroRelativoLon,
                                double dZeroRelativoLat);
