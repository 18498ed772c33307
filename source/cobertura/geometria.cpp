#include "cobertura/geometria.h"

#include <algorithm>
#include <cmath>
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

    // Strip p of point i: its left edge at iPontos * p + i of vEsquerda, its right edge there in vDireita.
    const std::size_t nVertices = static_cast<std::size_t>(kMaximoVerticesPonto / 2) * iPontos;
    // Kept from polygon to polygon; every slot read is written first.
    thread_local std::vector<ST_CoordenadaKml> vEsquerda, vDireita;
    if (vEsquerda.size() < nVertices)
    {
        vEsquerda.resize(nVertices);
        vDireita.resize(nVertices);
    }
    auto Absoluta = [pstDesenhoPoligono](float fLongitude, float fLatitude)
    {
        ST_CoordenadaKml stVertice;
        conversor_TransformarCoordenadasAbsolutas(fLatitude, fLongitude, &stVertice.dLatitude, &stVertice.dLongitude,
                                                  pstDesenhoPoligono->dZeroRelativoLat,
                                                  pstDesenhoPoligono->dZeroRelativoLon);
        return stVertice;
    };
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
            const std::size_t n = static_cast<std::size_t>(p) * iPontos + i;
            vEsquerda[n] = Absoluta(fVertices[2 * p][0], fVertices[2 * p][1]);
            vDireita[n] = Absoluta(fVertices[2 * p + 1][0], fVertices[2 * p + 1][1]);
        }
    }

    for (int p = 0; p < iFaixas && usSecoes != 0; ++p)
    {
        const std::size_t n = static_cast<std::size_t>(p) * iPontos;
        if (!cobertura_EntregarFaixa(vEsquerda.data() + n, vDireita.data() + n, iPontos,
                                     pstDesenhoPoligono->iFaixaLegendaAtual, stReceptor))
            return FALSE;
    }
    return TRUE;
}
