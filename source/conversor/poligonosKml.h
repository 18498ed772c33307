// Coverage polygons of a KML map: the strips that the active sections swept, cut into placemarks by
// section changes, class changes, zero values and a point limit, in the "Mapa" folder.
#pragma once

#include <cstdio>

#include "conversor/geometria.h"
#include "zavoro/conversor.h"

struct ST_EventoCabecalho;

// Most points one placemark chains; a longer run continues in the next from the shared point.
inline constexpr int D_CONVERSOR_MAXIMO_PONTOS_POLIGONO_KML = 10;

// Writes the polygons of every stage and closes the "Mapa" folder. The input stands at the first
// configuration block of the event section, the output after the KML header. The legend of the
// classes is the job's snapshot. *pbTaxaPulv / *pbTaxaAdub tell the legend writer whether the last
// stage showed spraying (L/ha) or fertilising (kg/ha) rates. FALSE, with nothing more written, when a
// stage announces more than 1000000 points or a configuration block or point cannot be read.
BOOL conversor_GerarPoligonosKML(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                 unsigned short usVersaoArquivoEvento, const ST_EventoCabecalho* pstCabecalho,
                                 int iTipoMapa, double dZeroRelativoLon, double dZeroRelativoLat,
                                 const ST_ParametrosMapa* pstParametros, BOOL* pbTaxaPulv, BOOL* pbTaxaAdub);

// One polygon placemark. iIdCorPoligono is the colour: legend type 1, an index of the six-colour
// table; legend type 2, a row of the thirteen-colour table. D_CONVERSOR_FAIXA_SEM_VALOR (or any index
// outside the table) writes nothing. FALSE when the write came up short.
BOOL conversor_InserirPoligonoKML(std::FILE* pfArquivoEscrita, const ST_CoordenadaKml* pstCoordenadaKml,
                                  int iNumVertices, int iIdCorPoligono, int iTipoLegenda);

// Colour of a polygon of class iFaixa (see conversor_InserirPoligonoKML): unclassed polygons take
// index 4 of either table; classed ones their band's colour (type 1) or their row (type 2).
int conversor_RetornarCorPoligonoKML(int iFaixa, BOOL bTemLegenda, int iTipoLegenda,
                                     const ST_ParametrosMapa* pstParametros);
