// Legend classes: the user's five targets turned into bands, their validation, and the classing of a
// value into a band (legend type 1) or a recommendation legend row (legend type 2).
#include <algorithm>
#include <iterator>

#include "zavoro/legenda.h"

namespace
{

constexpr int kLimiteFaixaTaxa = 50000;
constexpr int kLimiteFaixaVelocidade = 110;
// Bounds above this are not checked by the validation (the rate map's open top band).
constexpr int kValorMaximoValidacao = 9998;

bool AlvoPreenchido(int iValor)
{
    return iValor != D_CONVERSOR_VALOR_ALVO_VAZIO && iValor != 0;
}

// Targets come from edit boxes; a huge one must not overflow the next band's lower bound.
int Sucessor(int iValor)
{
    return static_cast<int>(static_cast<unsigned int>(iValor) + 1u);
}

bool FaixaUtilizavel(const ST_LegendaMapa& stFaixa)
{
    return stFaixa.iValorInf != 0 && stFaixa.iValorSup != 0 && stFaixa.iValorInf != D_CONVERSOR_VALOR_ALVO_VAZIO &&
           stFaixa.iValorSup != D_CONVERSOR_VALOR_ALVO_VAZIO;
}

bool FaixaEmUso(const ST_LegendaMapa& stFaixa)
{
    return stFaixa.iValorInf > 0 && stFaixa.iValorInf <= kValorMaximoValidacao && stFaixa.iValorSup > 0 &&
           stFaixa.iValorSup <= kValorMaximoValidacao;
}

} // namespace

void conversor_SetarLegenda(const int* iValorAlvo, int iTipoMapa, ST_LegendaMapa* pstLegendaMapa)
{
    for (int i = 0; i < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA; ++i)
        pstLegendaMapa[i] = ST_LegendaMapa{};

    int iCor = 0;
    int iFaixa = 0;
    for (int t = 0; t < D_CONVERSOR_NUMERO_ALVOS; ++t)
    {
        if (!AlvoPreenchido(iValorAlvo[t]))
            continue;
        ST_LegendaMapa& stFaixa = pstLegendaMapa[iFaixa];
        stFaixa.iIndiceVetor = t;
        stFaixa.iCor = iCor;
        if (iCor < D_CONVERSOR_INDICE_BRUSH_COR_VERMELHO)
        {
            ++iCor;
            if (std::none_of(iValorAlvo + t + 1, iValorAlvo + D_CONVERSOR_NUMERO_ALVOS, AlvoPreenchido))
                iCor = D_CONVERSOR_INDICE_BRUSH_COR_VERMELHO;
        }
        stFaixa.iValorSup = iValorAlvo[t];
        stFaixa.iValorInf = iFaixa == 0 ? 1 : Sucessor(pstLegendaMapa[iFaixa - 1].iValorSup);
        ++iFaixa;
    }

    // The top band is open-ended and always red.
    ST_LegendaMapa& stTopo = pstLegendaMapa[iFaixa];
    stTopo.iIndiceVetor = D_CONVERSOR_NUMERO_ALVOS;
    stTopo.iCor = D_CONVERSOR_INDICE_BRUSH_COR_VERMELHO;
    stTopo.iValorSup = iTipoMapa == D_CONVERSOR_TIPO_MAPA_VELOCIDADE ? kLimiteFaixaVelocidade
                                                                      : kLimiteFaixaTaxa;
    stTopo.iValorInf = iFaixa == 0 ? 0 : Sucessor(pstLegendaMapa[iFaixa - 1].iValorSup);
}

BOOL conversor_AnalisarDadosLegenda(const ST_LegendaMapa* pstLegendaMapa)
{
    const ST_LegendaMapa* pstFim = pstLegendaMapa + D_CONVERSOR_NUMERO_FAIXAS_LEGENDA;
    if (std::none_of(pstLegendaMapa, pstFim, FaixaEmUso))
        return FALSE;

    for (int i = 0; i < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA; ++i)
    {
        const ST_LegendaMapa& stFaixa = pstLegendaMapa[i];
        if (!FaixaEmUso(stFaixa))
            continue;
        if (stFaixa.iValorSup < stFaixa.iValorInf)
            return FALSE;
        for (int j = i + 1; j < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA; ++j)
        {
            const ST_LegendaMapa& stPosterior = pstLegendaMapa[j];
            if (!FaixaEmUso(stPosterior))
                continue;
            if (!(stFaixa.iValorSup < stPosterior.iValorInf && stFaixa.iValorSup < stPosterior.iValorSup))
                return FALSE;
        }
    }
    return TRUE;
}

int conversor_RetornarFaixaLegenda(int iValor, int iTipoLegenda, const ST_ParametrosMapa* pstParametros)
{
    if (iValor == 0)
        return D_CONVERSOR_FAIXA_SEM_VALOR;

    if (iTipoLegenda == D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO)
    {
        const ST_ShpLegenda& stLegenda = pstParametros->gstShpLegendaMapa;
        const int iLinhas = std::min<int>(stLegenda.ucNumLinhasLegenda, static_cast<int>(std::size(stLegenda.ulValorLegenda)));
        // Without a recommendation legend there is nothing to class into.
        if (iLinhas == 0)
            return D_CONVERSOR_FAIXA_SEM_VALOR;
        const auto ulValor = static_cast<std::uint32_t>(iValor);
        for (int r = 0; r < iLinhas; ++r)
        {
            if (stLegenda.ulValorLegenda[r][0] <= ulValor && ulValor <= stLegenda.ulValorLegenda[r][1])
                return r;
        }
        return iLinhas - 1;
    }

    // A value outside every band (above the top one, or in a gap) takes the last usable band.
    int iUltimaUtilizavel = 0;
    for (int b = 0; b < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA; ++b)
    {
        const ST_LegendaMapa& stFaixa = pstParametros->gstLegendaMapa[b];
        if (!FaixaUtilizavel(stFaixa))
            continue;
        iUltimaUtilizavel = b;
        if (stFaixa.iValorInf <= iValor && iValor <= stFaixa.iValorSup)
            return b;
    }
    return iUltimaUtilizavel;
}
