// Geometry shared by the KML writers and the shapefile writer: output vertices, the transform of the
// console's relative metres into degrees, and the coverage strips of a buffered run of track points.
//
// A polygon is drawn by handing each of its strip rings to a receiver (ST_ReceptorAnel): the KML
// builder writes a placemark per ring, the shapefile writer a record. This file knows neither.
#pragma once

#include <cstdint>
#include <cstdio>

#include "zavoro/tipos.h"

struct ST_PontoNVG_v2;
struct ST_EventoConfig_v9;

struct ST_CoordenadaKml
{
    double dLongitude = 0.0;
    double dLatitude = 0.0;
    float fAltitude = 0.0f;
};

// Metres per degree of latitude: the equatorial radius times the console's truncated degree-to-radian
// factor, as the console computes it.
inline constexpr double D_CONVERSOR_METROS_POR_GRAU = 111319.4906660725;

// Strip edges of one point: a start and an end per run of adjacent sections that are on; nine
// sections give at most ten.
inline constexpr int D_CONVERSOR_MAXIMO_VERTICES_PONTO = 10;

// One buffered track point of the open polygon, in relative metres.
struct ST_PontoPoligono
{
    double dLongitude = 0.0;
    double dLatitude = 0.0;
    int iValor = 0;
    float fAnguloNaveg = 0.0f; // degrees, 0 = east
    std::uint16_t usSecoes = 0; // section mask of this point's strip
};

struct ST_DesenhoPoligono;

// Receives each strip ring of a drawn polygon: iNumVertices vertices in degrees, not closed (the first
// vertex is not repeated). FALSE stops the drawing of that polygon.
struct ST_ReceptorAnel
{
    void* pContexto = nullptr;
    BOOL (*pfInserirAnel)(void* pContexto, ST_DesenhoPoligono* pstDesenhoPoligono, const ST_CoordenadaKml* pstVertices,
                          int iNumVertices) = nullptr;
};

// What the builders fill and the common routines read for one polygon.
struct ST_DesenhoPoligono
{
    std::FILE* pfArquivoEscritaKML = nullptr;
    std::FILE* pfArquivoEscritaSHP = nullptr;
    std::FILE* pfArquivoEscritaDBF = nullptr;
    std::FILE* pfArquivoEscritaSHX = nullptr;
    ST_PontoPoligono* pstPontoPoligono = nullptr;
    double dZeroRelativoLon = 0.0; // origin, degrees
    double dZeroRelativoLat = 0.0;
    int iTipoMapa = 0;
    int iTipoLegenda = 0;
    int iPontosBuffer = 0;
    int iFaixaLegendaAtual = 0; // KML: class of the polygon; shapefile: its mean value
    std::uint16_t usLarguraImplemento = 0; // centimetres (event versions 1..4)
    const std::uint16_t* pusTamanhoSeccao = nullptr; // section widths in centimetres, left to right
    std::uint8_t ucOperacao = 0; // current numbering
    std::uint8_t ucNumeroSecoes = 0; // entries of pusTamanhoSeccao that may be read
    double dLatitudeMin = 0.0; // extent of the last ring written, degrees (shapefile)
    double dLongitudeMin = 0.0;
    double dLatitudeMax = 0.0;
    double dLongitudeMax = 0.0;
    float fLarguraImplemento = 0.0f; // metres (event versions 5..9)
    std::uint16_t usVersaoArquivoEvento = 0;
};

// Relative metres (north, east of the field origin) to degrees: latitude first, then longitude with
// the cosine of the new latitude.
void conversor_TransformarCoordenadasAbsolutas(double dLatRel, double dLonRel, double* pdLatAbs, double* pdLonAbs,
                                               double dLatZeroAbs, double dLonZeroAbs);

// Position, heading and section mask of a point into buffer slot iIndiceVetor.
void conversor_InserirPontoPoligono(ST_PontoPoligono* pstPontoPoligono, const ST_PontoNVG_v2* pstPontoNVG,
                                    int iIndiceVetor);

// TRUE when iIndiceVetor > 0 and the point lies less than 1.0 m from buffer slot iIndiceVetor - 1.
BOOL conversor_AnalisarProximidadePontosPoligono(const ST_PontoPoligono* pstPontoPoligono,
                                                 const ST_PontoNVG_v2* pstPontoNVG, int iIndiceVetor);

// Strip edges of buffered point iPonto, left to right, in relative metres (east, north; single
// precision). *piNumVerticesPonto receives their number (0 when the mask is 0).
void conversor_AtualizarVertices(const ST_DesenhoPoligono* pstDesenhoPoligono,
                                 float fVertices[D_CONVERSOR_MAXIMO_VERTICES_PONTO][2], int* piNumVerticesPonto,
                                 int iPonto, unsigned short usVersaoArquivoEvento);

// Copies ring iNumPoligono (2 * iPontosGeradores vertices) out of a work buffer of consecutive
// per-strip blocks; no ring when the first point's mask is 0.
void conversor_SetarVerticesPoligono(int iNumPoligono, const ST_CoordenadaKml* pstBufferVertices, int* piNumVertices,
                                     ST_CoordenadaKml* pstVertPoligono, int iPontosGeradores,
                                     unsigned short usSecoesPrimPonto);

// Draws the buffered points as one ring per run of active sections, left to right, each handed to the
// receiver in degrees. FALSE when the points do not all carry the first one's mask (nothing is
// drawn) or the receiver refused a ring. An empty buffer or a mask of 0 draws nothing.
BOOL conversor_DesenharPoligono(ST_DesenhoPoligono* pstDesenhoPoligono, const ST_ReceptorAnel& stReceptor,
                                unsigned short usVersaoArquivoEvento);

// How one stage of the track is walked by the coverage builders (KML and shapefile): whether its
// points carry a value, its sections and passes, and how a pass masks the sections.
struct ST_EtapaPoligonos
{
    int iTipoMapa = 0;
    int iTipoLegenda = 0;
    BOOL bTemLegenda = FALSE; // points carry a value (rate or speed)
    BOOL bTaxaPulv = FALSE; // coverage map of a spraying stage (L/ha)
    BOOL bTaxaAdub = FALSE; // coverage map of a classed fertilising stage (kg/ha)
    BOOL bMapaTaxaAdub = FALSE; // coverage map of a fertilising stage: sections masked per machine
    std::uint8_t ucOperacao = 0; // current numbering
    std::uint8_t ucTipoMaquinaAdub = 0;
    int iPassagens = 1;
    std::uint32_t ulNumeroPontos = 0;
    unsigned short usVersaoArquivoEvento = 0;
};

// Reads the configuration block at the current position and prepares the stage: the walk record and
// the drawing fields of *pstDesenho (everything but the output files and the point buffer; the section
// widths point into *pstConfig, which must outlive the drawing). The input is left at the stage's
// first point. FALSE when the block cannot be read or announces more than 1000000 points.
BOOL conversor_PrepararEtapaPoligonos(std::FILE* pfArquivoLeitura, unsigned short usVersaoArquivoEvento, int iTipoMapa,
                                      double dZeroRelativoLon, double dZeroRelativoLat, ST_EventoConfig_v9* pstConfig,
                                      ST_EtapaPoligonos* pstEtapa, ST_DesenhoPoligono* pstDesenho);

// Section mask of a point as pass iPassagem of the stage sees it.
std::uint16_t conversor_MascararSecoesPoligono(std::uint16_t usSecoes, const ST_EtapaPoligonos& stEtapa, int iPassagem);

// Value of a point of a classed stage: speed (km/h), the pass's fertiliser rate (kg/ha) or the
// spraying rate (L/ha, stored in tenths).
int conversor_ValorPontoPoligono(const ST_PontoNVG_v2& stPonto, const ST_EtapaPoligonos& stEtapa, int iPassagem);
