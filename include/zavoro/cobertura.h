// The coverage of a navigation file: the strips that the active sections swept along the track, cut
// into polygons and handed ring by ring to a writer. One walk reads the stages and their points,
// buffers them, cuts the polygons by one of two rule sets and draws their rings; what a writer does
// with a ring (a KML placemark, a shapefile record, ...) is its own business, kept in its receiver.
// Several walks may share one read of the track (the KML map and its shapefile set).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <vector>

#include "zavoro/tipos.h"

// How the track is cut into polygons.
// Class cut (the KML map): at most 10 points a polygon, a new polygon where the section mask changes
// or the class of the value changes, none over a value of 0; the class comes from the receiver.
inline constexpr int D_COBERTURA_CORTE_CLASSE = 1;
// Length cut (the shapefile set): up to 1000 points a polygon, cut every 40 m of track (4000 m once an
// irrigation stage was seen), where the mask changes, at a value of 0 and where the value jumps by more
// than 5 % or by 50 units; each polygon carries the truncated running mean of its values. A polygon cut
// with a mean of 0 is left out (the last one of a pass is always drawn), except on the coverage maps
// for stages whose points carry no rate (harvest, planting, irrigation, other operations).
inline constexpr int D_COBERTURA_CORTE_COMPRIMENTO = 2;

// One output vertex, in degrees.
struct ST_CoordenadaKml
{
    double dLongitude = 0.0;
    double dLatitude = 0.0;
    float fAltitude = 0.0f;
};

// How one stage of the track is walked: whether its points carry a value, its passes, and how a pass
// masks the sections.
struct ST_EtapaPoligonos
{
    int iTipoMapa = 0;
    BOOL bTemLegenda = FALSE;    // points carry a value (rate or speed)
    BOOL bTaxaPulv = FALSE;      // coverage map of a spraying stage (L/ha)
    BOOL bTaxaAdub = FALSE;      // coverage map of a classed fertilising stage (kg/ha)
    BOOL bMapaTaxaAdub = FALSE;  // coverage map of a fertilising stage: sections masked per machine
    std::uint8_t ucOperacao = 0; // current numbering
    std::uint8_t ucTipoMaquinaAdub = 0;
    int iPassagens = 1;
    std::uint32_t ulNumeroPontos = 0;
    unsigned short usVersaoArquivoEvento = 0;
};

// What a polygon of the length cut covers: the console times of its first and last track points, their
// mean speed (km/h) and the section mask it was drawn with.
struct ST_DadosPoligono
{
    std::uint32_t ulInicio = 0;
    std::uint32_t ulFim = 0;
    double dVelocidadeMedia = 0.0;
    std::uint16_t usSecoes = 0;
};

// What the walk hands to a writer. Callbacks run in the order of the file; a missing one is skipped.
struct ST_ReceptorCobertura
{
    void* pContexto = nullptr;
    // Each stage, before its rings (also a stage that draws none).
    void (*pfIniciarEtapa)(void* pContexto, const ST_EtapaPoligonos& stEtapa) = nullptr;
    // Class cut: the class of a value; polygons are cut where it changes. Without it every value is its
    // own class.
    int (*pfClasse)(void* pContexto, int iValor) = nullptr;
    // One ring: iNumVertices vertices, not closed (the first is not repeated), and the polygon's class
    // (class cut; stages whose points carry no value keep the initial class 4) or mean value (length
    // cut). FALSE stops the walk.
    BOOL (*pfInserirAnel)(void* pContexto, const ST_CoordenadaKml* pstVertices, int iNumVertices,
                          int iValor) = nullptr;
    // Length cut: the data of the polygon whose rings follow, before them.
    void (*pfDadosPoligono)(void* pContexto, const ST_DadosPoligono& stDados) = nullptr;
    // Every ring handed over is simple, with an area, as the writer writes it: with this many decimals
    // of a degree (a text format), or every bit of the double (-1).
    int iCasasDecimais = -1;
    // Rings turn clockwise, as outer rings of GIS formats must (an anticlockwise one is a hole);
    // otherwise they run as the track drew them (the left edge forward).
    BOOL bSentidoHorario = TRUE;
};

// Walks ulNumConfiguracoes stages from the input's current position, the first configuration block of
// the event section, for map iTipoMapa (D_CONVERSOR_TIPO_MAPA_*: the speed map values the points by
// speed, the others by rate). FALSE when a configuration block or point cannot be read, a stage
// announces more than 1000000 points, or the receiver refused a ring.
BOOL cobertura_PercorrerCobertura(std::FILE* pfArquivoLeitura, unsigned short usVersaoArquivoEvento,
                                  std::uint32_t ulNumConfiguracoes, int iTipoMapa, double dZeroRelativoLon,
                                  double dZeroRelativoLat, int iCorte,
                                  const ST_ReceptorCobertura& stReceptor);

// One of several walks that share a read: its cut (D_COBERTURA_CORTE_*), its receiver, and how it
// ended.
struct ST_PercursoCobertura
{
    int iCorte = D_COBERTURA_CORTE_CLASSE;
    const ST_ReceptorCobertura* pstReceptor = nullptr;
    BOOL bOk = FALSE; // set by the walk: FALSE when a read failed or this receiver refused a ring
};
// Walks the stages once for every entry of vPercursos: each point is read once and handed to every
// walk in their order, so each receiver sees what cobertura_PercorrerCobertura alone would hand it. A
// walk whose receiver refuses a ring stops there while the others go on; a read that fails stops them
// all. TRUE when every walk ended well.
BOOL cobertura_PercorrerCoberturas(std::FILE* pfArquivoLeitura, unsigned short usVersaoArquivoEvento,
                                   std::uint32_t ulNumConfiguracoes, int iTipoMapa, double dZeroRelativoLon,
                                   double dZeroRelativoLat, std::span<ST_PercursoCobertura> vPercursos);

// Relative metres (north, east of the field origin) to degrees: latitude first, then longitude with
// the cosine of the new latitude, as the console computes them.
void conversor_TransformarCoordenadasAbsolutas(double dLatRel, double dLonRel, double* pdLatAbs,
                                               double* pdLonAbs, double dLatZeroAbs, double dLonZeroAbs);

// One guide line or boundary ring in degrees, as the writers of whole lines take it.
struct ST_LinhaNavegacao
{
    int iNumero = 0; // guides: the count of marked guides so far; boundaries: the entry's number (1..)
    int iCurva = 0;  // guides: 0 for a straight A-B, else the curve's number (1..) in its entry
    std::vector<ST_CoordenadaKml> vPontos;
};
struct ST_EstruturaNavegacao;
// Guides whose A and B were marked, in file order: a straight one as A and B as stored, each curve as
// its points up to the first that is no position, never past its entry. FALSE on a read that fails or
// when pfLinha returns false.
BOOL cobertura_LerGuias(std::FILE* pfArquivoLeitura, const ST_EstruturaNavegacao& stEstrutura,
                        const std::function<bool(const ST_LinhaNavegacao&)>& pfLinha);
// Every boundary entry's ring (not closed), cut like a curve.
BOOL cobertura_LerLimites(std::FILE* pfArquivoLeitura, const ST_EstruturaNavegacao& stEstrutura,
                          const std::function<bool(const ST_LinhaNavegacao&)>& pfLinha);
