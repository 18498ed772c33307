#include "cobertura/geometria.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "cobertura/aneis.h"
#include "zavoro/zavoro.h"

namespace
{

// Metres per degree of latitude: the equatorial radius times the console's truncated degree-to-radian
// factor, as the console computes it.
constexpr double kMetrosPorGrau = D_ZAVORO_TERRA_RAIO_EQUADOR * D_ZAVORO_RELACAO_PI_180;

// Strip edges of one point: a start and an end per run of adjacent sections that are on; nine
// sections give at most ten.
constexpr int kMaximoVerticesPonto = 10;

// Where the strip edges of a mask lie across the track, left to right, in metres from the point; their
// number (0 when the mask is 0). Every point of a polygon carries the same mask: taken once a polygon.
int Deslocamentos(const ST_DesenhoPoligono* pstDesenhoPoligono, std::uint16_t usSecoes,
                  float fDeslocamentos[kMaximoVerticesPonto])
{
    const float fLargura = pstDesenhoPoligono->usVersaoArquivoEvento >= 5
                               ? pstDesenhoPoligono->fLarguraImplemento
                               : static_cast<float>(pstDesenhoPoligono->usLarguraImplemento) / 100.0f;
    int iNum = 0;
    if (pstDesenhoPoligono->ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO ||
        pstDesenhoPoligono->ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
    {
        // The bit past the last section closes a run that reaches the right end.
        const int iSecoes = std::min<int>(pstDesenhoPoligono->ucNumeroSecoes, kMaximoVerticesPonto - 1);
        unsigned int uiSomaLarguras = 0;
        unsigned int uiBitAnterior = 0;
        for (int b = 0; b <= iSecoes; ++b)
        {
            const unsigned int uiBit = (static_cast<unsigned int>(usSecoes) >> b) & 1u;
            if (uiBit != uiBitAnterior)
            {
                fDeslocamentos[iNum++] = -fLargura / 2.0f + static_cast<float>(uiSomaLarguras) / 100.0f;
                uiBitAnterior = uiBit;
            }
            if (b < iSecoes && pstDesenhoPoligono->pusTamanhoSeccao != nullptr)
                uiSomaLarguras += pstDesenhoPoligono->pusTamanhoSeccao[b];
        }
    }
    else if (usSecoes != 0)
    {
        // Other implements lay their strip over the whole width.
        fDeslocamentos[iNum++] = -fLargura / 2.0f;
        fDeslocamentos[iNum++] = fLargura / 2.0f;
    }
    return iNum;
}

// The absolute strip edges of points already drawn, and what they were computed from. A point is
// mostly drawn more than once: the point a polygon ends on starts the next one, and the walks that
// share a read (the KML's class cut, the shapefile's length cut) draw the same points a few polygons
// apart. The table is direct-mapped on the point and heading; an entry is taken only when every input
// matches bit for bit, so it gives exactly what a fresh computation would. Its slots outnumber the
// points of the longest polygon (1000), and it stays small enough to sit in the cache (about 150 KB):
// a larger one costs more in misses than it saves in trigonometry.
constexpr int kBitsTabela = 10;
constexpr std::size_t kEntradasTabela = std::size_t{1} << kBitsTabela;
// Edges an entry holds: two strips (all sections on, or one gap). A point with more is computed every
// time.
constexpr int kVerticesTabela = 4;

struct ST_VerticesPonto
{
    // Inputs, compared bit for bit: equal inputs give equal edges.
    double dLongitude = 0.0;
    double dLatitude = 0.0;
    double dZeroRelativoLon = 0.0;
    double dZeroRelativoLat = 0.0;
    float fAnguloNaveg = 0.0f;
    int iNum = -1; // -1: nothing kept
    float fDeslocamentos[kVerticesTabela] = {};
    ST_CoordenadaKml stVertices[kVerticesTabela];
};

bool MesmosBits(const void* pA, const void* pB, std::size_t n)
{
    return std::memcmp(pA, pB, n) == 0;
}

bool MesmaEntrada(const ST_VerticesPonto& st, const ST_PontoPoligono& stPonto,
                  const ST_DesenhoPoligono* pstDesenho, const float* pfDeslocamentos, int iNum)
{
    return st.iNum == iNum && MesmosBits(&st.dLongitude, &stPonto.dLongitude, sizeof(double)) &&
           MesmosBits(&st.dLatitude, &stPonto.dLatitude, sizeof(double)) &&
           MesmosBits(&st.fAnguloNaveg, &stPonto.fAnguloNaveg, sizeof(float)) &&
           MesmosBits(&st.dZeroRelativoLon, &pstDesenho->dZeroRelativoLon, sizeof(double)) &&
           MesmosBits(&st.dZeroRelativoLat, &pstDesenho->dZeroRelativoLat, sizeof(double)) &&
           MesmosBits(st.fDeslocamentos, pfDeslocamentos, sizeof(float) * static_cast<std::size_t>(iNum));
}

// Slot of a point: the high bits of a multiplicative hash of its position and heading (the position
// comes from floats, so the low bits of its doubles are zero).
std::size_t Slot(const ST_PontoPoligono& stPonto)
{
    std::uint64_t ulLon = 0;
    std::uint64_t ulLat = 0;
    std::uint32_t uiAngulo = 0;
    std::memcpy(&ulLon, &stPonto.dLongitude, sizeof ulLon);
    std::memcpy(&ulLat, &stPonto.dLatitude, sizeof ulLat);
    std::memcpy(&uiAngulo, &stPonto.fAnguloNaveg, sizeof uiAngulo);
    std::uint64_t ul = ulLon * 0x9E3779B97F4A7C15ull;
    ul = (ul ^ (ul >> 31) ^ ulLat) * 0xC2B2AE3D27D4EB4Full;
    ul = (ul ^ (ul >> 29) ^ uiAngulo) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(ul >> (64 - kBitsTabela));
}

// Strip edges of one point at the given offsets, in degrees, into pstVertices: the offsets turned
// by the heading in relative metres (single precision), then made absolute.
void CalcularVertices(const ST_PontoPoligono& stPonto, const ST_DesenhoPoligono* pstDesenho,
                      const float* pfDeslocamentos, int iNum, ST_CoordenadaKml* pstVertices)
{
    const float fAngulo = stPonto.fAnguloNaveg - 90.0f;
    const double dAngulo = fAngulo * D_ZAVORO_RELACAO_PI_180;
    const double dCos = std::cos(dAngulo);
    const double dSen = std::sin(dAngulo);
    for (int i = 0; i < iNum; ++i)
    {
        const auto fLongitude = static_cast<float>(stPonto.dLongitude + pfDeslocamentos[i] * dCos);
        const auto fLatitude = static_cast<float>(stPonto.dLatitude + pfDeslocamentos[i] * dSen);
        conversor_TransformarCoordenadasAbsolutas(fLatitude, fLongitude, &pstVertices[i].dLatitude,
                                                  &pstVertices[i].dLongitude, pstDesenho->dZeroRelativoLat,
                                                  pstDesenho->dZeroRelativoLon);
    }
}

} // namespace

void conversor_TransformarCoordenadasAbsolutas(double dLatRel, double dLonRel, double* pdLatAbs,
                                               double* pdLonAbs, double dLatZeroAbs, double dLonZeroAbs)
{
    *pdLatAbs = dLatRel / kMetrosPorGrau + dLatZeroAbs;
    *pdLonAbs = dLonRel / (kMetrosPorGrau * std::cos(*pdLatAbs * D_ZAVORO_RELACAO_PI_180)) + dLonZeroAbs;
}

BOOL conversor_DesenharPoligono(const ST_DesenhoPoligono* pstDesenhoPoligono,
                                const ST_ReceptorCobertura& stReceptor)
{
    const int iPontos = pstDesenhoPoligono->iPontosBuffer;
    if (iPontos <= 0)
        return TRUE;
    const ST_PontoPoligono* pstPontos = pstDesenhoPoligono->pstPontoPoligono;
    const std::uint16_t usSecoes = pstPontos[0].usSecoes;
    for (int i = 1; i < iPontos; ++i)
    {
        if (pstPontos[i].usSecoes != usSecoes)
            return FALSE;
    }

    float fDeslocamentos[kMaximoVerticesPonto];
    const int iNumVertices = Deslocamentos(pstDesenhoPoligono, usSecoes, fDeslocamentos);
    // An unpaired last edge (a run past the last section) draws nothing.
    const int iFaixas = iNumVertices / 2;
    if (iFaixas == 0)
        return TRUE;

    // Strip p of point i: its left edge at iPontos * p + i of vEsquerda, its right edge there in vDireita.
    const std::size_t nVertices = static_cast<std::size_t>(kMaximoVerticesPonto / 2) * iPontos;
    // Kept from polygon to polygon; every slot read is written first.
    thread_local std::vector<ST_CoordenadaKml> vEsquerda, vDireita;
    thread_local std::vector<ST_VerticesPonto> vTabela;
    if (vEsquerda.size() < nVertices)
    {
        vEsquerda.resize(nVertices);
        vDireita.resize(nVertices);
    }
    const bool bTabela = iNumVertices <= kVerticesTabela;
    if (bTabela && vTabela.empty())
        vTabela.resize(kEntradasTabela);
    // Zeroed once a polygon, not once a point: every slot read is written first.
    ST_CoordenadaKml stVertices[kMaximoVerticesPonto];
    for (int i = 0; i < iPontos; ++i)
    {
        const ST_PontoPoligono& stPonto = pstPontos[i];
        const ST_CoordenadaKml* pstVertices = stVertices;
        if (!bTabela)
            CalcularVertices(stPonto, pstDesenhoPoligono, fDeslocamentos, iNumVertices, stVertices);
        else
        {
            ST_VerticesPonto& stEntrada = vTabela[Slot(stPonto)];
            if (!MesmaEntrada(stEntrada, stPonto, pstDesenhoPoligono, fDeslocamentos, iNumVertices))
            {
                CalcularVertices(stPonto, pstDesenhoPoligono, fDeslocamentos, iNumVertices, stEntrada.stVertices);
                stEntrada.dLongitude = stPonto.dLongitude;
                stEntrada.dLatitude = stPonto.dLatitude;
                stEntrada.fAnguloNaveg = stPonto.fAnguloNaveg;
                stEntrada.dZeroRelativoLon = pstDesenhoPoligono->dZeroRelativoLon;
                stEntrada.dZeroRelativoLat = pstDesenhoPoligono->dZeroRelativoLat;
                std::copy_n(fDeslocamentos, iNumVertices, stEntrada.fDeslocamentos);
                stEntrada.iNum = iNumVertices;
            }
            pstVertices = stEntrada.stVertices;
        }
        for (int p = 0; p < iFaixas; ++p)
        {
            const std::size_t n = static_cast<std::size_t>(p) * iPontos + i;
            vEsquerda[n] = pstVertices[2 * p];
            vDireita[n] = pstVertices[2 * p + 1];
        }
    }

    for (int p = 0; p < iFaixas; ++p)
    {
        const std::size_t n = static_cast<std::size_t>(p) * iPontos;
        if (!cobertura_EntregarFaixa(vEsquerda.data() + n, vDireita.data() + n, iPontos,
                                     pstDesenhoPoligono->iFaixaLegendaAtual, stReceptor))
            return FALSE;
    }
    return TRUE;
}
