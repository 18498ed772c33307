#include "cobertura/geometria.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "zavoro/zavoro.h"

namespace
{

// Metres per degree of latitude: the equatorial radius times the console's truncated degree-to-radian
// factor, as the console computes it.
constexpr double kMetrosPorGrau = D_ZAVORO_TERRA_RAIO_EQUADOR * D_ZAVORO_RELACAO_PI_180;

// Strip edges of one point: a start and an end per run of adjacent sections that are on; nine
// sections give at most ten.
constexpr int kMaximoVerticesPonto = 10;

// Strip edges of buffered point iPonto, left to right, in relative metres (east, north; single
// precision). *piNumVerticesPonto receives their number (0 when the mask is 0).
void AtualizarVertices(const ST_DesenhoPoligono* pstDesenhoPoligono, float fVertices[kMaximoVerticesPonto][2],
                       int* piNumVerticesPonto, int iPonto)
{
    const ST_PontoPoligono& stPonto = pstDesenhoPoligono->pstPontoPoligono[iPonto];
    const float fLargura = pstDesenhoPoligono->usVersaoArquivoEvento >= 5
                               ? pstDesenhoPoligono->fLarguraImplemento
                               : static_cast<float>(pstDesenhoPoligono->usLarguraImplemento) / 100.0f;

    float fDeslocamentos[kMaximoVerticesPonto];
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
            const unsigned int uiBit = (static_cast<unsigned int>(stPonto.usSecoes) >> b) & 1u;
            if (uiBit != uiBitAnterior)
            {
                fDeslocamentos[iNum++] = -fLargura / 2.0f + static_cast<float>(uiSomaLarguras) / 100.0f;
                uiBitAnterior = uiBit;
            }
            if (b < iSecoes && pstDesenhoPoligono->pusTamanhoSeccao != nullptr)
                uiSomaLarguras += pstDesenhoPoligono->pusTamanhoSeccao[b];
        }
    }
    else if (stPonto.usSecoes != 0)
    {
        // Other implements lay their strip over the whole width.
        fDeslocamentos[iNum++] = -fLargura / 2.0f;
        fDeslocamentos[iNum++] = fLargura / 2.0f;
    }

    const float fAngulo = stPonto.fAnguloNaveg - 90.0f;
    const double dAngulo = fAngulo * D_ZAVORO_RELACAO_PI_180;
    const double dCos = std::cos(dAngulo);
    const double dSen = std::sin(dAngulo);
    for (int i = 0; i < iNum; ++i)
    {
        fVertices[i][0] = static_cast<float>(stPonto.dLongitude + fDeslocamentos[i] * dCos);
        fVertices[i][1] = static_cast<float>(stPonto.dLatitude + fDeslocamentos[i] * dSen);
    }
    *piNumVerticesPonto = iNum;
}

// Copies ring iNumPoligono (2 * iPontosGeradores vertices) out of a work buffer of consecutive
// per-strip blocks; no ring when the first point's mask is 0.
void SetarVerticesPoligono(int iNumPoligono, const ST_CoordenadaKml* pstBufferVertices, int* piNumVertices,
                           ST_CoordenadaKml* pstVertPoligono, int iPontosGeradores,
                           unsigned short usSecoesPrimPonto)
{
    if (usSecoesPrimPonto == 0 || iPontosGeradores <= 0)
    {
        *piNumVertices = 0;
        return;
    }
    const int iNum = 2 * iPontosGeradores;
    std::copy_n(pstBufferVertices + static_cast<std::ptrdiff_t>(iNumPoligono) * iNum, iNum, pstVertPoligono);
    *piNumVertices = iNum;
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

    // Block p holds strip p: its start edges forward, then its end edges backward.
    const int iVerticesAnel = 2 * iPontos;
    std::vector<ST_CoordenadaKml> vBufferVertices(static_cast<std::size_t>(kMaximoVerticesPonto) * iPontos +
                                                  5);
    std::vector<ST_CoordenadaKml> vAnel(static_cast<std::size_t>(iVerticesAnel) + 1);
    int iFaixas = 0;
    for (int i = 0; i < iPontos; ++i)
    {
        float fVertices[kMaximoVerticesPonto][2];
        int iNumVertices = 0;
        AtualizarVertices(pstDesenhoPoligono, fVertices, &iNumVertices, i);
        // Same mask, same edges; an unpaired last edge (a run past the last section) draws nothing.
        iFaixas = iNumVertices / 2;
        for (int p = 0; p < iFaixas; ++p)
        {
            ST_CoordenadaKml* pstBloco =
                vBufferVertices.data() + static_cast<std::ptrdiff_t>(p) * iVerticesAnel;
            pstBloco[i] = {fVertices[2 * p][0], fVertices[2 * p][1], 0.0f};
            pstBloco[iVerticesAnel - 1 - i] = {fVertices[2 * p + 1][0], fVertices[2 * p + 1][1], 0.0f};
        }
    }

    for (int p = 0; p < iFaixas; ++p)
    {
        int iNumVertices = 0;
        SetarVerticesPoligono(p, vBufferVertices.data(), &iNumVertices, vAnel.data(), iPontos, usSecoes);
        for (int v = 0; v < iNumVertices; ++v)
        {
            ST_CoordenadaKml& stVertice = vAnel[static_cast<std::size_t>(v)];
            double dLatitude = 0.0;
            double dLongitude = 0.0;
            conversor_TransformarCoordenadasAbsolutas(stVertice.dLatitude, stVertice.dLongitude, &dLatitude,
                                                      &dLongitude, pstDesenhoPoligono->dZeroRelativoLat,
                                                      pstDesenhoPoligono->dZeroRelativoLon);
            stVertice = {dLongitude, dLatitude, 0.0f};
        }
        if (iNumVertices > 0 && stReceptor.pfInserirAnel != nullptr &&
            !stReceptor.pfInserirAnel(stReceptor.pContexto, vAnel.data(), iNumVertices,
                                      pstDesenhoPoligono->iFaixaLegendaAtual))
            return FALSE;
    }
    return TRUE;
}
