#include "conversor/geometria.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "zavoro/conversor.h"
#include "zavoro/zavoro.h"

void conversor_TransformarCoordenadasAbsolutas(double dLatRel, double dLonRel, double* pdLatAbs, double* pdLonAbs,
                                               double dLatZeroAbs, double dLonZeroAbs)
{
    *pdLatAbs = dLatRel / D_CONVERSOR_METROS_POR_GRAU + dLatZeroAbs;
    *pdLonAbs = dLonRel / (D_CONVERSOR_METROS_POR_GRAU * std::cos(*pdLatAbs * D_ZAVORO_RELACAO_PI_180)) + dLonZeroAbs;
}

void conversor_InserirPontoPoligono(ST_PontoPoligono* pstPontoPoligono, const ST_PontoNVG_v2* pstPontoNVG,
                                    int iIndiceVetor)
{
    ST_PontoPoligono& stPonto = pstPontoPoligono[iIndiceVetor];
    stPonto.dLongitude = pstPontoNVG->fLongitudeRelImp;
    stPonto.dLatitude = pstPontoNVG->fLatitudeRelImp;
    stPonto.iValor = 0;
    stPonto.fAnguloNaveg = pstPontoNVG->fAnguloNavegacao;
    stPonto.usSecoes = pstPontoNVG->usSecoes;
}

BOOL conversor_AnalisarProximidadePontosPoligono(const ST_PontoPoligono* pstPontoPoligono,
                                                 const ST_PontoNVG_v2* pstPontoNVG, int iIndiceVetor)
{
    if (iIndiceVetor <= 0)
        return FALSE;
    const ST_PontoPoligono& stAnterior = pstPontoPoligono[iIndiceVetor - 1];
    const float fDistancia =
        zavoro_CalcularDistancia2Pontos(static_cast<float>(pstPontoNVG->fLongitudeRelImp - stAnterior.dLongitude),
                                        static_cast<float>(pstPontoNVG->fLatitudeRelImp - stAnterior.dLatitude));
    return fDistancia < 1.0f;
}

void conversor_AtualizarVertices(const ST_DesenhoPoligono* pstDesenhoPoligono,
                                 float fVertices[D_CONVERSOR_MAXIMO_VERTICES_PONTO][2], int* piNumVerticesPonto,
                                 int iPonto, unsigned short usVersaoArquivoEvento)
{
    const ST_PontoPoligono& stPonto = pstDesenhoPoligono->pstPontoPoligono[iPonto];
    const float fLargura = usVersaoArquivoEvento >= 5 ? pstDesenhoPoligono->fLarguraImplemento
                                                      : static_cast<float>(pstDesenhoPoligono->usLarguraImplemento) / 100.0f;

    float fDeslocamentos[D_CONVERSOR_MAXIMO_VERTICES_PONTO];
    int iNum = 0;
    if (pstDesenhoPoligono->ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO ||
        pstDesenhoPoligono->ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
    {
        // The bit past the last section closes a run that reaches the right end.
        const int iSecoes = std::min<int>(pstDesenhoPoligono->ucNumeroSecoes, D_CONVERSOR_MAXIMO_VERTICES_PONTO - 1);
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

void conversor_SetarVerticesPoligono(int iNumPoligono, const ST_CoordenadaKml* pstBufferVertices, int* piNumVertices,
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

BOOL conversor_DesenharPoligono(ST_DesenhoPoligono* pstDesenhoPoligono, const ST_ReceptorAnel& stReceptor,
                                unsigned short usVersaoArquivoEvento)
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
    std::vector<ST_CoordenadaKml> vBufferVertices(static_cast<std::size_t>(D_CONVERSOR_MAXIMO_VERTICES_PONTO) * iPontos + 5);
    std::vector<ST_CoordenadaKml> vAnel(static_cast<std::size_t>(iVerticesAnel) + 1);
    int iFaixas = 0;
    for (int i = 0; i < iPontos; ++i)
    {
        float fVertices[D_CONVERSOR_MAXIMO_VERTICES_PONTO][2];
        int iNumVertices = 0;
        conversor_AtualizarVertices(pstDesenhoPoligono, fVertices, &iNumVertices, i, usVersaoArquivoEvento);
        // Same mask, same edges; an unpaired last edge (a run past the last section) draws nothing.
        iFaixas = iNumVertices / 2;
        for (int p = 0; p < iFaixas; ++p)
        {
            ST_CoordenadaKml* pstBloco = vBufferVertices.data() + static_cast<std::ptrdiff_t>(p) * iVerticesAnel;
            pstBloco[i] = {fVertices[2 * p][0], fVertices[2 * p][1], 0.0f};
            pstBloco[iVerticesAnel - 1 - i] = {fVertices[2 * p + 1][0], fVertices[2 * p + 1][1], 0.0f};
        }
    }

    for (int p = 0; p < iFaixas; ++p)
    {
        int iNumVertices = 0;
        conversor_SetarVerticesPoligono(p, vBufferVertices.data(), &iNumVertices, vAnel.data(), iPontos, usSecoes);
        for (int v = 0; v < iNumVertices; ++v)
        {
            ST_CoordenadaKml& stVertice = vAnel[static_cast<std::size_t>(v)];
            double dLatitude = 0.0;
            double dLongitude = 0.0;
            conversor_TransformarCoordenadasAbsolutas(stVertice.dLatitude, stVertice.dLongitude, &dLatitude, &dLongitude,
                                                      pstDesenhoPoligono->dZeroRelativoLat,
                                                      pstDesenhoPoligono->dZeroRelativoLon);
            stVertice = {dLongitude, dLatitude, 0.0f};
        }
        if (iNumVertices > 0 && stReceptor.pfInserirAnel != nullptr &&
            !stReceptor.pfInserirAnel(stReceptor.pContexto, pstDesenhoPoligono, vAnel.data(), iNumVertices))
            return FALSE;
    }
    return TRUE;
}

BOOL conversor_PrepararEtapaPoligonos(std::FILE* pfArquivoLeitura, unsigned short usVersaoArquivoEvento, int iTipoMapa,
                                      double dZeroRelativoLon, double dZeroRelativoLat, ST_EventoConfig_v9* pstConfig,
                                      ST_EtapaPoligonos* pstEtapa, ST_DesenhoPoligono* pstDesenho)
{
    ST_EventoConfig_v9& stConfig = *pstConfig;
    if (!zavoro_LerConfiguracaoEvento(pfArquivoLeitura, usVersaoArquivoEvento, &stConfig))
        return FALSE;
    if (stConfig.ulNumeroPontosRastro > D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO)
        return FALSE;
    const std::uint8_t ucOperacao = zavoro_TraduzirOperacao(stConfig.ucOperacao, usVersaoArquivoEvento);

    ST_EtapaPoligonos stEtapa;
    stEtapa.iTipoMapa = iTipoMapa;
    stEtapa.iTipoLegenda = iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO
                               ? D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO
                               : D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR;
    stEtapa.ucOperacao = ucOperacao;
    stEtapa.ulNumeroPontos = stConfig.ulNumeroPontosRastro;
    stEtapa.usVersaoArquivoEvento = usVersaoArquivoEvento;
    stEtapa.ucTipoMaquinaAdub = stConfig.ucTipoMaquinaAdub;

    const BOOL bMapaCobertura = iTipoMapa != D_CONVERSOR_TIPO_MAPA_VELOCIDADE;
    if (!bMapaCobertura)
        stEtapa.bTemLegenda = TRUE;
    else if (ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO)
    {
        stEtapa.bTemLegenda = TRUE;
        stEtapa.bTaxaPulv = TRUE;
    }
    // Older blocks keep no fertiliser rate worth classing.
    else if (ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO && usVersaoArquivoEvento >= 3)
    {
        stEtapa.bTemLegenda = TRUE;
        stEtapa.bTaxaAdub = TRUE;
    }
    stEtapa.bMapaTaxaAdub = bMapaCobertura && ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO;

    // Sections and their widths; a count the table cannot hold is cut to the table.
    int iSecoes = 1;
    const std::uint16_t* pusLarguras = stConfig.usTamanhoSeccao;
    if (ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO)
        iSecoes = std::min<int>(stConfig.ucNumeroSecoes, static_cast<int>(std::size(stConfig.usTamanhoSeccao)));
    else if (ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
    {
        pusLarguras = stConfig.usTamanhoSecaoAdub;
        if (stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO ||
            stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_REBOCADO)
        {
            iSecoes = std::min<int>(stConfig.ucNumeroSecoesAdub, static_cast<int>(std::size(stConfig.usTamanhoSecaoAdub)));
            // Each section has its own rate: one pass per section on the rate map.
            if (bMapaCobertura)
                stEtapa.iPassagens = std::max(iSecoes, 1);
        }
        else
            stConfig.usTamanhoSecaoAdub[0] = stConfig.usLarguraImplemento;
    }
    else if (ucOperacao == D_ZAVORO_OPERACAO_PLANTIO)
    {
        pusLarguras = stConfig.usTamanhoSeccaoPlantio;
        iSecoes =
            std::min<int>(stConfig.ucNumeroSecoesPlantio, static_cast<int>(std::size(stConfig.usTamanhoSeccaoPlantio)));
    }

    ST_DesenhoPoligono& stDesenho = *pstDesenho;
    stDesenho.dZeroRelativoLon = dZeroRelativoLon;
    stDesenho.dZeroRelativoLat = dZeroRelativoLat;
    stDesenho.iTipoMapa = iTipoMapa;
    stDesenho.iTipoLegenda = stEtapa.iTipoLegenda;
    stDesenho.usLarguraImplemento = stConfig.usLarguraImplemento;
    stDesenho.pusTamanhoSeccao = pusLarguras;
    stDesenho.ucOperacao = ucOperacao;
    stDesenho.ucNumeroSecoes = static_cast<std::uint8_t>(iSecoes);
    stDesenho.fLarguraImplemento = stConfig.fLarguraImplemento;
    stDesenho.usVersaoArquivoEvento = usVersaoArquivoEvento;
    *pstEtapa = stEtapa;
    return TRUE;
}

std::uint16_t conversor_MascararSecoesPoligono(std::uint16_t usSecoes, const ST_EtapaPoligonos& stEtapa, int iPassagem)
{
    if (!stEtapa.bMapaTaxaAdub)
        return usSecoes;
    // A pass draws its own section; a single-belt spreader has one.
    if (stEtapa.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_LANCO_1_ESTEIRA)
        return static_cast<std::uint16_t>(usSecoes & 1u);
    if ((stEtapa.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO ||
         stEtapa.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_REBOCADO) &&
        stEtapa.iPassagens > 1)
        return static_cast<std::uint16_t>(usSecoes & (1u << iPassagem));
    return usSecoes;
}

int conversor_ValorPontoPoligono(const ST_PontoNVG_v2& stPonto, const ST_EtapaPoligonos& stEtapa, int iPassagem)
{
    if (stEtapa.iTipoMapa == D_CONVERSOR_TIPO_MAPA_VELOCIDADE)
        return stPonto.ucVelocidade;
    if (stEtapa.bMapaTaxaAdub)
        return stPonto.usTaxaLida[iPassagem];
    // Spraying rates are stored in tenths of L/ha.
    return stPonto.usTaxaLida[0] / 10;
}
