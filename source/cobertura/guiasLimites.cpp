// Guide lines and boundary rings in degrees, for the writers that take whole lines (the GIS export, the
// ISOXML TaskData). Points are read only inside their entry, between its record and its checksum byte.
#include <algorithm>
#include <cmath>

#include "funcoesAuxiliares/leitorBinario.h"
#include "zavoro/cobertura.h"
#include "zavoro/zavoro.h"

namespace
{
// Bounds the reader to the points of an entry: what lies between its record and its checksum byte.
bool EntrarPontos(FuncAux_LeitorBinario& stLeitor, const ST_EntradaNavegacao& stEntrada, ST_LimitesLeitura* pstFora)
{
    const long long llFim = stEntrada.llInicio + 4 + stEntrada.iTamanho - 1;
    return stLeitor.IrPara(static_cast<std::uint64_t>(stEntrada.llDados)) &&
           stLeitor.Limitar(static_cast<std::uint64_t>(llFim - stEntrada.llDados), pstFora);
}

// Up to ulNumero relative points, never past the entry; a point that is no position ends the line
// (the rest is read and dropped). Curve and boundary points are both two floats.
bool LerLinha(FuncAux_LeitorBinario& stLeitor, std::uint64_t ulNumero, const ST_Talhao& stTalhao,
              std::vector<ST_CoordenadaKml>* pv)
{
    static_assert(sizeof(ST_PontosCurva) == sizeof(ST_PontosLimite));
    ulNumero = std::min<std::uint64_t>(ulNumero, stLeitor.Cabem(sizeof(ST_PontosCurva)));
    bool bCortada = false;
    for (std::uint64_t i = 0; i < ulNumero; i++)
    {
        ST_PontosCurva stPonto;
        if (!stLeitor.Ler(&stPonto))
            return false;
        bCortada = bCortada || !std::isfinite(stPonto.fLatitudeRel) || !std::isfinite(stPonto.fLongitudeRel);
        if (bCortada)
            continue;
        ST_CoordenadaKml st;
        conversor_TransformarCoordenadasAbsolutas(stPonto.fLatitudeRel, stPonto.fLongitudeRel, &st.dLatitude,
                                                  &st.dLongitude, stTalhao.dZeroRelativoLat, stTalhao.dZeroRelativoLon);
        pv->push_back(st);
    }
    return true;
}
} // namespace

BOOL cobertura_LerGuias(std::FILE* pfArquivoLeitura, const ST_EstruturaNavegacao& stEstrutura,
                        const std::function<bool(const ST_LinhaNavegacao&)>& pfLinha)
{
    FuncAux_LeitorBinario stLeitor(pfArquivoLeitura);
    ST_LinhaNavegacao stLinha;
    for (const ST_GuiaNavegacao& stEntrada : stEstrutura.vGuias)
    {
        const ST_Guia_v2& stGuia = stEntrada.stGuia;
        if (stGuia.ucFlagPontoAMarcado == 0 || stGuia.ucFlagPontoBMarcado == 0)
            continue;
        ++stLinha.iNumero;
        if (stGuia.ucTipoGuia == D_ZAVORO_TIPO_GUIA_RETA)
        {
            stLinha.iCurva = 0;
            stLinha.vPontos = {{stGuia.dPontoALon, stGuia.dPontoALat, 0.0f}, {stGuia.dPontoBLon, stGuia.dPontoBLat, 0.0f}};
            if (!pfLinha(stLinha))
                return FALSE;
            continue;
        }
        ST_LimitesLeitura stFora;
        if (!EntrarPontos(stLeitor, stEntrada.stEntrada, &stFora))
            return FALSE;
        // Version 3 keeps several curves, each with its count; older ones a single curve.
        const bool bVarias = stEntrada.stEntrada.usVersao == 3;
        const int iCurvas = bVarias ? stGuia.usNumeroPontosCurva : 1;
        for (int k = 0; k < iCurvas; k++)
        {
            std::uint16_t usPontos = stGuia.usNumeroPontosCurva;
            if (bVarias && (stLeitor.Cabem(sizeof usPontos) == 0 || !stLeitor.Ler(&usPontos)))
                break;
            stLinha.iCurva = k + 1;
            stLinha.vPontos.clear();
            if (!LerLinha(stLeitor, usPontos, stEstrutura.stTalhao, &stLinha.vPontos) || !pfLinha(stLinha))
                return FALSE;
        }
        if (!stLeitor.SairLimite(stFora))
            return FALSE;
    }
    return TRUE;
}

BOOL cobertura_LerLimites(std::FILE* pfArquivoLeitura, const ST_EstruturaNavegacao& stEstrutura,
                          const std::function<bool(const ST_LinhaNavegacao&)>& pfLinha)
{
    FuncAux_LeitorBinario stLeitor(pfArquivoLeitura);
    ST_LinhaNavegacao stLinha;
    for (const ST_LimiteNavegacao& stEntrada : stEstrutura.vLimites)
    {
        ++stLinha.iNumero;
        stLinha.vPontos.clear();
        ST_LimitesLeitura stFora;
        if (!EntrarPontos(stLeitor, stEntrada.stEntrada, &stFora) ||
            !LerLinha(stLeitor, stEntrada.stLimite.usNumeroPontosLimite, stEstrutura.stTalhao, &stLinha.vPontos) ||
            !stLeitor.SairLimite(stFora) || !pfLinha(stLinha))
            return FALSE;
    }
    return TRUE;
}
