// Work report: the front matter of a navigation file (field, guides, boundaries, event header) as the
// container walk finds it, and the general data of the job. The stage blocks are written by
// relatorioConfiguracao.cpp.
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "conversor/relatorio.h"
#include "conversor/relatorioTexto.h"
#include "funcoesAuxiliares/leituraArquivo.h"
#include "zavoro/conversor.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

namespace
{
// Walks the container and writes the whole report. The file was validated by the caller; the walk
// still re-checks versions and lengths and never reads past an entry.
BOOL PercorrerRelatorio(std::FILE* pfArquivoLeitura, std::FILE* pfArquivoEscrita, std::string* pszMotivo)
{
    ST_EstruturaNavegacao st;
    if (!zavoro_PercorrerEstrutura(pfArquivoLeitura, &st, pszMotivo))
        return FALSE;
    std::vector<ST_Guia_v2> vGuias;
    std::vector<unsigned short> vVersoesGuias;
    for (const ST_GuiaNavegacao& stGuia : st.vGuias)
    {
        vGuias.push_back(stGuia.stGuia);
        vVersoesGuias.push_back(stGuia.stEntrada.usVersao);
    }
    std::vector<ST_Limite_v1> vLimites;
    std::vector<unsigned short> vVersoesLimites;
    for (const ST_LimiteNavegacao& stLimite : st.vLimites)
    {
        vLimites.push_back(stLimite.stLimite);
        vVersoesLimites.push_back(stLimite.stEntrada.usVersao);
    }

    const ST_EventoCabecalho& stEvtCabecalho = st.stCabecalho;
    conversor_EscreverDadosGeraisRelatorio(pfArquivoEscrita, &st.stTalhao, &stEvtCabecalho, st.uiVersaoArquivoNavegacao,
                                           st.usVersaoArquivoTalhao, st.usVersaoArquivoEvento,
                                           static_cast<std::uint32_t>(vGuias.size()), vGuias.data(),
                                           vVersoesGuias.data(), static_cast<std::uint32_t>(vLimites.size()),
                                           vLimites.data(), vVersoesLimites.data());
    conversor_EscreverConfiguracaoRelatorio(pfArquivoEscrita, pfArquivoLeitura, stEvtCabecalho.ulNumConfiguracoes,
                                            st.usVersaoArquivoEvento, stEvtCabecalho.ulDataHoraInicioEvento,
                                            stEvtCabecalho.ulDataHoraFimEvento, stEvtCabecalho.fAreaCobertura,
                                            stEvtCabecalho.ulVolumeAplicado);
    return TRUE;
}
} // namespace

BOOL conversor_CriarRelatoriosNavegacao(const char* pcArquivoLeitura, const char* pcArquivoEscrita, std::string* pszErro)
{
    std::string szMotivo;
    std::vector<char> vBufferLeitura(D_FUNCAUX_TAMANHO_BUFFER_LEITURA);
    FuncAux_ArquivoLeitura pfArquivoLeitura = funcAux_AbrirLeitura(pcArquivoLeitura, &szMotivo, vBufferLeitura);
    if (!pfArquivoLeitura)
    {
        if (pszErro != nullptr)
            *pszErro = "não foi possível abrir " + std::string(pcArquivoLeitura != nullptr ? pcArquivoLeitura : "") +
                       " (" + szMotivo + ")";
        return FALSE;
    }

    ST_ArquivoSaida stSaida;
    if (pcArquivoEscrita == nullptr || !funcAux_AbrirArquivoSaida(pcArquivoEscrita, &stSaida, pszErro))
        return FALSE;

    errno = 0;
    BOOL bOk = PercorrerRelatorio(pfArquivoLeitura.get(), stSaida.pfArquivo, &szMotivo);
    // A failed write is the output's fault, whatever the walk said after it.
    if (std::ferror(stSaida.pfArquivo))
    {
        bOk = FALSE;
        szMotivo = "erro de gravação de " + stSaida.szDestino + (errno != 0 ? " (" + funcAux_DescreverErro(errno) + ")" : "");
    }
    if (!bOk)
    {
        // Only a complete report replaces the target.
        funcAux_DescartarArquivoSaida(&stSaida);
        if (pszErro != nullptr)
            *pszErro = std::move(szMotivo);
        return FALSE;
    }
    return funcAux_ConcluirArquivoSaida(&stSaida, pszErro);
}

void conversor_EscreverDadosGeraisRelatorio(std::FILE* pfArquivoEscrita, const ST_Talhao* pstTalhao,
                                            const ST_EventoCabecalho* pstEvtCabecalho,
                                            unsigned int uiVersaoArquivoNavegacao,
                                            unsigned short usVersaoArquivoTalhao,
                                            unsigned short usVersaoArquivoEvento, std::uint32_t ulNumeroGuias,
                                            const ST_Guia_v2* pstGuia, const unsigned short* pusVersaoArquivoGuia,
                                            std::uint32_t uiNumeroLimites, const ST_Limite_v1* pstLimite,
                                            const unsigned short* pusVersaoArquivoLimite)
{
    std::string szBufRelatorio;
    const std::string_view szAsteriscos = "*******************************************************************";
    const std::string_view szMoldura = "***                                                             ***\r\n";

    szBufRelatorio.append(szAsteriscos).append("\r\n").append(szMoldura);
    conversor_AnexarTexto(szBufRelatorio, "***                Relatório de Trabalho Zavoro                 ***\r\n");
    szBufRelatorio += "***\t\t\t     (v";
    conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(uiVersaoArquivoNavegacao));
    szBufRelatorio += " - ";
    conversor_AnexarInteiro(szBufRelatorio, usVersaoArquivoTalhao);
    szBufRelatorio += ".";
    conversor_AnexarInteiro(szBufRelatorio, usVersaoArquivoEvento);
    szBufRelatorio.append(")\t\t\t\t***\r\n").append(szMoldura).append(szAsteriscos).append("\r\n\r\n");
    szBufRelatorio += "-------------------- DADOS GERAIS DE TRABALHO ---------------------\r\n\r\n";
    conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);

    conversor_AnexarTexto(szBufRelatorio, "Talhão:\t\t\t\t");
    conversor_AnexarCampo(szBufRelatorio, pstTalhao->szNomeTalhao);
    szBufRelatorio += "\r\nCriado em:\t\t\t";
    conversor_AnexarData(szBufRelatorio, pstTalhao->ulDataHoraInicio);
    szBufRelatorio += "\r\n\r\nEvento:\t\t\t\t";
    conversor_AnexarCampo(szBufRelatorio, pstEvtCabecalho->szNomeEvento);
    conversor_AnexarTexto(szBufRelatorio, "\r\nInício:\t\t\t\t");
    conversor_AnexarData(szBufRelatorio, pstEvtCabecalho->ulDataHoraInicioEvento);
    szBufRelatorio += "\r\nFim:\t\t\t\t";
    conversor_AnexarData(szBufRelatorio, pstEvtCabecalho->ulDataHoraFimEvento);
    szBufRelatorio += "\r\n\r\n";
    conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);

    const std::uint8_t ucOperacao = zavoro_TraduzirOperacao(pstEvtCabecalho->ucUltOperacao, usVersaoArquivoEvento);
    const std::uint32_t ulVolume = pstEvtCabecalho->ulVolumeAplicado;
    const float fArea = pstEvtCabecalho->fAreaCobertura;
    const BOOL bPulverizacao = ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO;
    const BOOL bAdubacao = ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO;

    if (bPulverizacao)
    {
        conversor_AnexarTexto(szBufRelatorio, "Volume Aplicado:\t\t");
        if (ulVolume <= 9999999)
        {
            conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(ulVolume));
            szBufRelatorio += " L\r\n";
        }
        else
            szBufRelatorio += "ERRO\r\n";
    }
    else if (bAdubacao)
    {
        conversor_AnexarTexto(szBufRelatorio, "Carga Distribuída:\t\t");
        if (ulVolume <= 999999999)
        {
            conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(ulVolume));
            szBufRelatorio += " kg\r\n";
        }
        else
            szBufRelatorio += "ERRO\r\n";
    }
    conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);

    conversor_AnexarTexto(szBufRelatorio, "Área Aplicada:\t\t\t");
    // Written so that a NaN area is an error too.
    if (fArea <= 999999.0)
    {
        conversor_AnexarReal(szBufRelatorio, fArea, 3, TRUE);
        szBufRelatorio += " ha\r\n";
    }
    else
        szBufRelatorio += "ERRO\r\n";
    conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);

    if (bPulverizacao || bAdubacao)
    {
        const std::uint32_t ulVolumeMaximo = bPulverizacao ? 9999999 : 999999999;
        const double dAreaMaxima = bPulverizacao ? 999999.0 : 1000000000.0;
        const char* pcUnidade = bPulverizacao ? " L/ha\r\n" : " kg/ha\r\n";
        conversor_AnexarTexto(szBufRelatorio, "Taxa Média Aplicada (Cálculo):\t");
        if (ulVolume <= ulVolumeMaximo && fArea > 0 && fArea <= dAreaMaxima)
        {
            conversor_AnexarReal(szBufRelatorio, static_cast<float>(ulVolume) / fArea, 1, TRUE);
            szBufRelatorio += pcUnidade;
        }
        else if (ulVolume <= ulVolumeMaximo && fArea <= 0)
            szBufRelatorio.append("0").append(pcUnidade);
        else
            szBufRelatorio += "ERRO\r\n";
        conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);
    }

    conversor_AnexarTexto(szBufRelatorio, "Distância Percorrida:\t\t");
    conversor_AnexarReal(szBufRelatorio, pstEvtCabecalho->fDistanciaPercorridaEvento / 1000.0f, 2, TRUE);
    szBufRelatorio += " km\r\n\r\nTempo de Trabalho:\t\t";
    conversor_AnexarDuracao(szBufRelatorio, pstEvtCabecalho->ulTempoTrabalho);
    szBufRelatorio += "\r\nTempo de Trabalho Efetivo:\t";
    conversor_AnexarDuracao(szBufRelatorio, pstEvtCabecalho->ulTempoTrabalhoEfetivo);
    szBufRelatorio += "\r\nHectares por Hora:\t\t";
    if (pstEvtCabecalho->ulTempoTrabalhoEfetivo != 0)
        conversor_AnexarReal(szBufRelatorio,
                             fArea / static_cast<float>(pstEvtCabecalho->ulTempoTrabalhoEfetivo) * 3600.0f, 3, TRUE);
    else
        szBufRelatorio += "0";
    szBufRelatorio += " ha/h\r\n\r\n";
    conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);

    if (ulNumeroGuias == 0)
        conversor_GravarTexto(pfArquivoEscrita, "Ponto A:\t\t\tNão Marcado\r\nPonto B:\t\t\tNão Marcado\r\n\r\n");
    for (std::uint32_t i = 0; i < ulNumeroGuias; i++)
    {
        if (pusVersaoArquivoGuia[i] < D_ZAVORO_VERSAO_MINIMA_ARQUIVO_GUIA ||
            pusVersaoArquivoGuia[i] > D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_GUIA)
            continue;
        const ST_Guia_v2& stGuia = pstGuia[i];
        char cTipo[D_ZAVORO_TAMANHO_STRING_CODIGO];
        zavoro_RetornarStringTipoGuia(stGuia.ucTipoGuia, cTipo);
        szBufRelatorio += "Tipo de guia ";
        conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(i + 1));
        // Two digits take the room of one tab.
        szBufRelatorio += i + 1 <= 9 ? ":\t\t\t" : ":\t\t";
        conversor_AnexarTexto(szBufRelatorio, cTipo);
        szBufRelatorio += "\r\n";
        if (stGuia.ucFlagPontoAMarcado)
        {
            szBufRelatorio += "Ponto A:\t\t\tLat ";
            conversor_AnexarReal(szBufRelatorio, stGuia.dPontoALat, 6, FALSE);
            szBufRelatorio += " | Long ";
            conversor_AnexarReal(szBufRelatorio, stGuia.dPontoALon, 6, FALSE);
            szBufRelatorio += "\r\n";
        }
        else
            conversor_AnexarTexto(szBufRelatorio, "Ponto A:\t\t\tNão Marcado\r\n");
        if (stGuia.ucFlagPontoBMarcado)
        {
            szBufRelatorio += "Ponto B:\t\t\tLat ";
            conversor_AnexarReal(szBufRelatorio, stGuia.dPontoBLat, 6, FALSE);
            szBufRelatorio += " | Long ";
            conversor_AnexarReal(szBufRelatorio, stGuia.dPontoBLon, 6, FALSE);
            szBufRelatorio += "\r\n\r\n";
        }
        else
            conversor_AnexarTexto(szBufRelatorio, "Ponto B:\t\t\tNão Marcado\r\n\r\n");
        conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);
    }

    if (uiNumeroLimites == 0)
        conversor_GravarTexto(pfArquivoEscrita, "Limite:\t\t\t\tNão Marcado\r\n\r\n");
    for (std::uint32_t i = 0; i < uiNumeroLimites; i++)
    {
        if (pusVersaoArquivoLimite[i] != D_ZAVORO_VERSAO_ARQUIVO_LIMITE)
            continue;
        conversor_AnexarTexto(szBufRelatorio, "Área Limite:\t\t\t");
        // Boundary areas keep the decimal point.
        conversor_AnexarReal(szBufRelatorio, pstLimite[i].fAreaLimite, 3, FALSE);
        szBufRelatorio += " ha\r\n\r\n";
        conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);
    }
}
