// The legend of a KML map: the document's own <description>, an HTML page in a CDATA section with the
// event's totals and the colour key of the coverage polygons.
#pragma once

#include <cstdio>
#include <string>

#include "zavoro/conversor.h"
#include "zavoro/tipos.h"
#include "zavoro/zavoro.h"

// Writes the whole description element. The header's ucUltOperacao must already be in the current
// numbering (the map driver translates older event versions): 0 spraying and 1 fertilising show the
// applied quantity and the mean rate. bTaxaPulv and bTaxaAdub are what the polygon builder found the
// map to show; the bands and recommendation rows come from the job's legend snapshot.
void conversor_InserirLegendaKML(std::FILE* pfArquivoEscrita, const ST_Talhao* pstTalhao,
                                 const ST_EventoCabecalho* pstEvtCabecalho, int iTipoMapa, BOOL bTaxaPulv,
                                 BOOL bTaxaAdub, const ST_ParametrosMapa* pstParametros);

// Replaces *pszString with the colour key (HTML, UTF-8): the rate or speed bands, the thirteen
// recommendation rows, or the single item of a plain coverage map.
void conversor_RetornarStringLegenda(std::string* pszString, int iTipoMapa, BOOL bTaxaPulv, BOOL bTaxaAdub,
                                     const ST_ParametrosMapa* pstParametros);
