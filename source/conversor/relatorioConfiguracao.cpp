// Work report: one block per stage of the event, with the stage's own totals (derived from its track
// points and the event header) and the console settings in force, chosen by operation and version.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>

#include "conversor/relatorio.h"
#include "conversor/relatorioTexto.h"
#include "zavoro/zavoro.h"

namespace
{

// What one stage covered: start and end times, and the event's running area and quantity at both.
struct ST_TotaisEtapa
{
    std::uint32_t ulDataHoraConfigInicio = 0;
    std::uint32_t ulDataHoraConfigFim = 0;
    float fAreaCoberturaParcialInicial = 0.0f;
    float fAreaCoberturaParcialFinal = 0.0f;
    std::uint32_t ulVolumeAplicadoParcialInicial = 0;
    std::uint32_t ulVolumeAplicadoParcialFinal = 0;
};

void EscreverPulverizacao(std::string& szBufRelatorio, const ST_EventoConfig_v9& stConfig,
                                    unsigned int uiVersao)
{
    conversor_AnexarTexto(szBufRelatorio, "Número de Seções:\t\t");
    conversor_AnexarInteiro(szBufRelatorio, stConfig.ucNumeroSecoes);
    conversor_AnexarTexto(szBufRelatorio, "\r\nTamanho de cada seção:\t\t");
    conversor_AnexarReal(szBufRelatorio, stConfig.usTamanhoSeccao[0] / 100.0f, 2);
    szBufRelatorio += "m ";
    const int iSecoes = std::min<int>(stConfig.ucNumeroSecoes, D_ZAVORO_NUMERO_MAXIMO_SECOES);
    for (int k = 1; k < iSecoes; k++)
    {
        szBufRelatorio += "| ";
        conversor_AnexarReal(szBufRelatorio, stConfig.usTamanhoSeccao[k] / 100.0f, 2);
        szBufRelatorio += "m ";
    }
    szBufRelatorio += "\r\n";
    if (uiVersao < 2)
        return;

    conversor_AnexarTexto(szBufRelatorio, "Constante Fluxômetro:\t\t");
    conversor_AnexarInteiro(szBufRelatorio, stConfig.usConstanteFluxometro);
    conversor_AnexarTexto(szBufRelatorio, "\r\n\r\nNúmero de Bicos:\t\t");
    conversor_AnexarInteiro(szBufRelatorio, stConfig.usNumeroBicos);
    conversor_AnexarTexto(szBufRelatorio, "\r\nEspaçamento entre Bicos:\t");
    conversor_AnexarInteiro(szBufRelatorio, stConfig.usEspacamentoBicos);
    conversor_AnexarTexto(szBufRelatorio, " cm\r\nTaxa de Aplicação 1:\t\t");
    conversor_AnexarInteiro(szBufRelatorio, stConfig.usTaxaAplicacao1);
    conversor_AnexarTexto(szBufRelatorio, " L/ha\r\nTaxa de Aplicação 2:\t\t");
    conversor_AnexarInteiro(szBufRelatorio, stConfig.usTaxaAplicacao2);
    conversor_AnexarTexto(szBufRelatorio, " L/ha\r\nVazão Bico:\t\t\t");
    conversor_AnexarReal(szBufRelatorio, stConfig.usVazaoBico / 10.0f, 1);
    conversor_AnexarTexto(szBufRelatorio, " L/min\r\nPressão Bico:\t\t\t");
    conversor_AnexarReal(szBufRelatorio, stConfig.usPressaoBico / 10.0f, 1);
    conversor_AnexarTexto(szBufRelatorio, " bar\r\n\r\nVálvula Geral:\t\t\t");
    conversor_AnexarCodigoCp1252(szBufRelatorio, zavoro_RetornarStringTipoValvula, stConfig.ucValvulaGeral);
    conversor_AnexarTexto(szBufRelatorio, "\r\nVálvula Seção:\t\t\t");
    conversor_AnexarCodigoCp1252(szBufRelatorio, zavoro_RetornarStringTipoValvula, stConfig.ucValvulaSecao);
    conversor_AnexarTexto(szBufRelatorio, "\r\nVálvula Proporcional:\t\t");
    conversor_AnexarCodigoCp1252(szBufRelatorio, zavoro_RetornarStringTipoValvula, stConfig.ucValvulaProporcional);
    conversor_AnexarTexto(szBufRelatorio, "\r\nTempo Abertura Válvula Seção:\t");
    conversor_AnexarReal(szBufRelatorio, stConfig.usTempoAberturaValvulaSecao / 10.0f, 1);
    // The console's label has no accent and no tab here; kept as users know it.
    conversor_AnexarTexto(szBufRelatorio, " s\r\nTempo Fechamento Valvula Seção:");
    conversor_AnexarReal(szBufRelatorio, stConfig.usTempoFechamentoValvulaSecao / 10.0f, 1);
    szBufRelatorio += " s\r\n";
}

void EscreverAdubacao(std::string& szBufRelatorio, const ST_EventoConfig_v9& stConfig, unsigned int uiVersao)
{
    if (stConfig.ucTipoTaxa == D_ZAVORO_TIPO_TAXA_FIXA)
    {
        szBufRelatorio += "Tipo de Taxa:\t\t\tTaxa Fixa\r\nTaxa Fixa - Dose 1:\t\t";
        conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(stConfig.ulTaxaFixa1));
        szBufRelatorio += " kg/ha\r\nTaxa Fixa - Dose 2:\t\t";
        conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(stConfig.ulTaxaFixa2));
        szBufRelatorio += " kg/ha\r\n\r\n";
    }
    else
    {
        conversor_AnexarTexto(szBufRelatorio, "Tipo de Taxa:\t\t\tTaxa Variável\r\nMapa:\t\t\t\t");
        conversor_AnexarCampo(szBufRelatorio, stConfig.szMapaTrabalho);
        conversor_AnexarTexto(szBufRelatorio, "\r\nParâmetro de Mapa:\t\t");
        conversor_AnexarCampo(szBufRelatorio, stConfig.szParametroMapa);
        conversor_AnexarTexto(szBufRelatorio, "\r\nÁrea de Mapa:\t\t\t");
        conversor_AnexarReal(szBufRelatorio, stConfig.fAreaMapa, 1);
        szBufRelatorio += " ha\r\n\r\n";
    }

    if (uiVersao == 3)
    {
        // The single-belt spreader of the oldest fertilising consoles.
        conversor_AnexarTexto(szBufRelatorio, "Rotação Mínima Esteira:\t\t");
        conversor_AnexarReal(szBufRelatorio, stConfig.fMinRotacaoEsteira, 2);
        conversor_AnexarTexto(szBufRelatorio, " RPM\r\nRotação Máxima Esteira:\t\t");
        conversor_AnexarReal(szBufRelatorio, stConfig.fMaxRotacaoEsteira, 2);
        conversor_AnexarTexto(szBufRelatorio, " RPM\r\nNúm. Dentes Encoder Esteira:\t");
        conversor_AnexarInteiro(szBufRelatorio, stConfig.usNumDentesEncoderEsteira);
        conversor_AnexarTexto(szBufRelatorio, "\r\nNúm. Dentes Encoder Disco:\t");
        conversor_AnexarInteiro(szBufRelatorio, stConfig.usNumDentesEncoderDisco);
        szBufRelatorio += "\r\n";
        if (stConfig.ucModeloValvula == D_ZAVORO_MODELO_VALVULA_CORRENTE_1300)
            conversor_AnexarTexto(szBufRelatorio, "Modelo Válvula:\t\t\tVersão 1\r\n");
        else if (stConfig.ucModeloValvula == D_ZAVORO_MODELO_VALVULA_CORRENTE_2000)
            conversor_AnexarTexto(szBufRelatorio, "Modelo Válvula:\t\t\tVersão 2\r\n");
        szBufRelatorio += "Constante de Esteira:\t\t";
        conversor_AnexarReal(szBufRelatorio, stConfig.fConstanteEsteira, 2);
        szBufRelatorio += " pulsos/kg\r\n";
        static constexpr const char* pcTempos[] = {"30 s", "1 min", "2 min", "5 min"};
        if (stConfig.ucTempoCalibracao < std::size(pcTempos))
        {
            conversor_AnexarTexto(szBufRelatorio, "Tempo de Calibração de Esteira:\t");
            szBufRelatorio.append(pcTempos[stConfig.ucTempoCalibracao]).append("\r\n");
        }
    }

    const std::uint8_t ucMaquina = stConfig.ucTipoMaquinaAdub;
    const BOOL bLanco = ucMaquina == D_ZAVORO_TIPO_MAQUINA_LANCO_1_ESTEIRA;
    const BOOL bDastra =
        ucMaquina == D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO || ucMaquina == D_ZAVORO_TIPO_MAQUINA_DASTRA_REBOCADO;
    const BOOL bEsteira = bLanco || ucMaquina == D_ZAVORO_TIPO_MAQUINA_DASTRA_REBOCADO;
    if (uiVersao >= 4)
    {
        static constexpr const char* pcMaquinas[] = {"A Lanço - 1 Esteira", "Dastra 1600", "Dastra 7000"};
        conversor_AnexarTexto(szBufRelatorio, "Tipo Máquina Adubação:\t\t");
        conversor_AnexarTexto(szBufRelatorio, ucMaquina < std::size(pcMaquinas) ? pcMaquinas[ucMaquina] : "Desconhecida");
        szBufRelatorio += "\r\n";
        if (bDastra)
        {
            static constexpr const char* pcDiscos[] = {"S2", "S4", "S6", "S8"};
            szBufRelatorio += "Tipo Discos:\t\t\t";
            szBufRelatorio += stConfig.ucTipoDiscosDastra < std::size(pcDiscos) ? pcDiscos[stConfig.ucTipoDiscosDastra]
                                                                                 : "Desconhecido";
            szBufRelatorio += "\r\n";
        }
        if (bLanco && stConfig.ucTipoModuloAdub == D_ZAVORO_TIPO_MODULO_ADUBACAO_MZTK)
            conversor_AnexarTexto(szBufRelatorio, "Tipo Módulo:\t\t\tMZTK\r\n");
        else if (bLanco && stConfig.ucTipoModuloAdub == D_ZAVORO_TIPO_MODULO_ADUBACAO_PLENVIK)
            conversor_AnexarTexto(szBufRelatorio, "Tipo Módulo:\t\t\tPLENVIK\r\n");
        if (bEsteira && stConfig.ucConectorEncodersAdub == D_ZAVORO_TIPO_CONECTOR_SENSORES_TIPO_1_DUPLO)
            szBufRelatorio += "Tipo Conector Encoders:\t\tTipo 1 - Duplo\r\n";
        else if (bEsteira && stConfig.ucConectorEncodersAdub == D_ZAVORO_TIPO_CONECTOR_SENSORES_TIPO_2_CN2_AN_35)
            szBufRelatorio += "Tipo Conector Encoders:\t\tTipo 2 - AN-35(CX-8)\r\n";
        if (bLanco || bDastra)
        {
            szBufRelatorio += "Constante de Trabalho:\t\t";
            conversor_AnexarReal(szBufRelatorio, stConfig.dConstanteTrabalhoAdub[0], 2);
            szBufRelatorio += bLanco ? " pulsos/kg\r\n" : "\r\n";
        }
        if (bEsteira)
        {
            conversor_AnexarTexto(szBufRelatorio, "\r\nRotação Mínima Esteira:\t\t");
            conversor_AnexarReal(szBufRelatorio, stConfig.fMinRotacaoMotorAdub[0], 2);
            conversor_AnexarTexto(szBufRelatorio, " RPM\r\nRotação Máxima Esteira:\t\t");
            conversor_AnexarReal(szBufRelatorio, stConfig.fMaxRotacaoMotorAdub[0], 2);
            szBufRelatorio += " RPM\r\nPPR Encoder Esteira:\t\t";
            conversor_AnexarInteiro(szBufRelatorio, stConfig.usNumPPREncoderMotorAdub[0]);
            szBufRelatorio += "\r\n";
            if (stConfig.ucControlarDisco != 0)
            {
                conversor_AnexarTexto(szBufRelatorio, "\r\nControle de Discos:\t\tHabilitado\r\nRotação Mínima Discos:\t\t");
                conversor_AnexarReal(szBufRelatorio, stConfig.fMinRotacaoMotorAdub[5], 2);
                conversor_AnexarTexto(szBufRelatorio, " RPM\r\nRotação Máxima Discos:\t\t");
                conversor_AnexarReal(szBufRelatorio, stConfig.fMaxRotacaoMotorAdub[5], 2);
                szBufRelatorio += " RPM\r\n";
            }
            else
                szBufRelatorio += "\r\nControle de Discos:\t\tDesabilitado\r\n";
            szBufRelatorio += "PPR Encoder Discos:\t\t";
            conversor_AnexarInteiro(szBufRelatorio, stConfig.usNumPPREncoderMotorAdub[5]);
            szBufRelatorio += "\r\n";
        }
        if (bDastra)
        {
            szBufRelatorio += "\r\nCalib. Comporta Esquerda - 0:\t";
            conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(stConfig.ulADComportaDastra_0_Adub[0]));
            szBufRelatorio += "\r\nCalib. Comporta Esquerda - 580:\t";
            conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(stConfig.ulADComportaDastra_580_Adub[0]));
            szBufRelatorio += "\r\nCalib. Comporta Direita - 0:\t";
            conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(stConfig.ulADComportaDastra_0_Adub[1]));
            szBufRelatorio += "\r\nCalib. Comporta Direita - 580:\t";
            conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(stConfig.ulADComportaDastra_580_Adub[1]));
            szBufRelatorio += "\r\n";
        }
    }

    // Version 3 has no machine byte: it reads as the single-belt spreader, which has the scale.
    if (bLanco)
    {
        if (stConfig.ucBalancaInstalada == D_ZAVORO_TIPO_BALANCA_NENHUM)
            conversor_AnexarTexto(szBufRelatorio, "Balança Instalada:\t\tNenhuma\r\n");
        else
        {
            if (stConfig.ucBalancaInstalada == D_ZAVORO_TIPO_BALANCA_QTN)
                conversor_AnexarTexto(szBufRelatorio, "\r\nBalança Instalada:\t\tBalança Tipo 1\r\n");
            else if (stConfig.ucBalancaInstalada == D_ZAVORO_TIPO_BALANCA_MORVEL)
                conversor_AnexarTexto(szBufRelatorio, "Balança Instalada:\t\tBalança Tipo 2\r\n");
            conversor_AnexarTexto(szBufRelatorio, stConfig.ucUtilizarBalanca == 1 ? "Utilizando Balança:\t\tSim\r\n"
                                                                                    : "Utilizando Balança:\t\tNão\r\n");
            conversor_AnexarTexto(szBufRelatorio, "Correção de Balança:\t\t");
            conversor_AnexarReal(szBufRelatorio, stConfig.fCorrecaoBalanca, 2);
            szBufRelatorio += "\r\n";
        }
    }
}

void EscreverPlantio(std::string& szBufRelatorio, const ST_EventoConfig_v9& stConfig)
{
    conversor_AnexarTexto(szBufRelatorio, "Número de Seções:\t\t");
    conversor_AnexarInteiro(szBufRelatorio, stConfig.ucNumeroSecoesPlantio);
    conversor_AnexarTexto(szBufRelatorio, "\r\nTamanho de cada seção:\t\t");
    const int iSecoes = std::min<int>(stConfig.ucNumeroSecoesPlantio, D_ZAVORO_NUMERO_MAXIMO_SECOES);
    for (int k = 0; k < iSecoes; k++)
    {
        conversor_AnexarReal(szBufRelatorio, stConfig.usTamanhoSeccaoPlantio[k] / 100.0, 2);
        szBufRelatorio += k + 1 < iSecoes ? "m | " : "m";
    }
    conversor_AnexarTexto(szBufRelatorio, "\r\n\r\nNúmero de Linhas:\t\t");
    conversor_AnexarInteiro(szBufRelatorio, stConfig.usNumeroLinhasPlantio);
    conversor_AnexarTexto(szBufRelatorio, "\r\nEspaçamento entre Linhas:\t");
    conversor_AnexarInteiro(szBufRelatorio, stConfig.usEspacamentoLinhasPlantio);
    conversor_AnexarTexto(szBufRelatorio, " cm\r\n\r\nTempo Abertura Atuador Seção:\t");
    conversor_AnexarReal(szBufRelatorio, stConfig.usTempoAberturaValvulaSecaoPlantio / 10.0, 1);
    conversor_AnexarTexto(szBufRelatorio, " s\r\nTempo Fechamento Atuador Seção:\t");
    conversor_AnexarReal(szBufRelatorio, stConfig.usTempoFechamentoValvulaSecaoPlantio / 10.0, 1);
    conversor_AnexarTexto(szBufRelatorio, " s\r\nDistância adubo/semente:\t");
    conversor_AnexarReal(szBufRelatorio, stConfig.sDistAduboSementePlantio / 100.0, 2);
    szBufRelatorio += " m\r\n\r\n";
}

void EscreverPiloto(std::string& szBufRelatorio, const ST_EventoConfig_v9& stConfig)
{
    szBufRelatorio += "\r\nTipo Comando Piloto:\t\t";
    conversor_AnexarCodigoCp1252(szBufRelatorio, zavoro_RetornarStringTipoComandoPiloto, stConfig.ucTipoComando);
    szBufRelatorio += "\r\nAgressividade Piloto:\t\t";
    conversor_AnexarInteiro(szBufRelatorio, stConfig.ucAgressividade);
    conversor_AnexarTexto(szBufRelatorio, "\r\nFator Hidráulico Piloto:\t");
    conversor_AnexarCodigoCp1252(szBufRelatorio, zavoro_RetornarStringFatorHidraulico, stConfig.ucFatorHidraulico);
    szBufRelatorio += "\r\nEntre-eixos:\t\t\t";
    conversor_AnexarReal(szBufRelatorio, static_cast<float>(stConfig.ulEntreEixosX1000) / 1000.0f, 3);
    szBufRelatorio += " m\r\n";
}

void EscreverProdutos(std::string& szBufRelatorio, const ST_EventoConfig_v9& stConfig)
{
    int k = 0;
    // The console marks the end of its product list with a short name.
    for (; k < D_ZAVORO_NUMERO_PRODUTOS_PULV && conversor_TamanhoCampo(stConfig.stProdutoUtilizadoPulv[k].ucNomeProduto) > 5;
         k++)
    {
        const ST_MemoriaProdutoPulv& stProduto = stConfig.stProdutoUtilizadoPulv[k];
        const char* pcUnidade = stProduto.ucFlagModoMedicao == 1 ? "mL/ha\r\n" : "mg/ha\r\n";
        szBufRelatorio += "\r\nNome do Produto:\t\t";
        conversor_AnexarCampo(szBufRelatorio, stProduto.ucNomeProduto);
        conversor_AnexarTexto(szBufRelatorio, "\r\nDose Mínima:\t\t\t");
        conversor_AnexarInteiro(szBufRelatorio, stProduto.usDoseMinima);
        szBufRelatorio.append(" ").append(pcUnidade);
        conversor_AnexarTexto(szBufRelatorio, "Dose Máxima:\t\t\t");
        conversor_AnexarInteiro(szBufRelatorio, stProduto.usDoseMaxima);
        szBufRelatorio.append(" ").append(pcUnidade);
        szBufRelatorio += "Dose Utilizada:\t\t\t";
        conversor_AnexarInteiro(szBufRelatorio, stProduto.usDoseAtual);
        szBufRelatorio.append(" ").append(pcUnidade);
    }
    // No line end: the next stage's heading starts with one.
    szBufRelatorio += "\r\nProdutos Utilizados:\t\t";
    conversor_AnexarInteiro(szBufRelatorio, k);
    szBufRelatorio += " Produtos";
}

void EscreverEtapa(std::FILE* pfArquivoEscrita, const ST_EventoConfig_v9& stConfig, std::uint8_t ucOperacao,
                             unsigned int uiVersao, std::uint32_t ulNumConfiguracao, const ST_TotaisEtapa& stTotais)
{
    std::string szBufRelatorio = "\r\n---------------------------- ETAPA ";
    conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(ulNumConfiguracao));
    szBufRelatorio += " -----------------------------\r\n\r\n";
    if (uiVersao >= 2 && stConfig.ucModoDemonstracao != 0)
        conversor_AnexarTexto(szBufRelatorio, "Modo Demonstração:\t\tATIVADO\r\n\r\n");
    conversor_AnexarTexto(szBufRelatorio, "Início:\t\t\t\t");
    conversor_AnexarData(szBufRelatorio, stTotais.ulDataHoraConfigInicio);
    szBufRelatorio += "\r\nFim:\t\t\t\t";
    conversor_AnexarData(szBufRelatorio, stTotais.ulDataHoraConfigFim);
    szBufRelatorio += "\r\n";

    const BOOL bPulverizacao = uiVersao >= 2 && ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO;
    const BOOL bAdubacao = uiVersao >= 3 && ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO;
    const BOOL bQuantidadeValida = stTotais.ulVolumeAplicadoParcialFinal >= stTotais.ulVolumeAplicadoParcialInicial;
    // Unsigned on purpose: a quantity that went backwards is out of every range below.
    const std::uint32_t ulQuantidade = stTotais.ulVolumeAplicadoParcialFinal - stTotais.ulVolumeAplicadoParcialInicial;
    const float fArea = stTotais.fAreaCoberturaParcialFinal - stTotais.fAreaCoberturaParcialInicial;
    if (bPulverizacao || bAdubacao)
    {
        conversor_AnexarTexto(szBufRelatorio, bPulverizacao ? "Volume Aplicado:\t\t" : "Carga Distribuída:\t\t");
        if (bQuantidadeValida)
        {
            conversor_AnexarInteiro(szBufRelatorio, static_cast<std::int32_t>(ulQuantidade));
            szBufRelatorio += bPulverizacao ? " L\r\n" : " kg\r\n";
        }
        else
            szBufRelatorio += "ERRO\r\n";
    }
    conversor_AnexarTexto(szBufRelatorio, "Área Aplicada:\t\t\t");
    if (stTotais.fAreaCoberturaParcialFinal >= stTotais.fAreaCoberturaParcialInicial)
    {
        conversor_AnexarReal(szBufRelatorio, fArea, 3);
        szBufRelatorio += " ha\r\n";
    }
    else
        szBufRelatorio += "ERRO\r\n";

    if (bPulverizacao || bAdubacao)
    {
        const std::uint32_t ulQuantidadeMaxima = bPulverizacao ? 9999999 : 999999999;
        const double dAreaMaxima = bPulverizacao ? 9999999.0 : 1000000000.0;
        const char* pcUnidade = bPulverizacao ? " L/ha\r\n\r\n" : " kg/ha\r\n\r\n";
        conversor_AnexarTexto(szBufRelatorio, "Taxa Média Aplicada (Cálculo):\t");
        if (ulQuantidade > ulQuantidadeMaxima || fArea > dAreaMaxima)
            szBufRelatorio += "ERRO\r\n";
        else if (fArea > 0)
        {
            conversor_AnexarReal(szBufRelatorio, static_cast<float>(ulQuantidade) / fArea, 1);
            szBufRelatorio += pcUnidade;
        }
        else
            szBufRelatorio.append("0").append(pcUnidade);
    }
    else
        szBufRelatorio += "\r\n";

    conversor_AnexarTexto(szBufRelatorio, "Operador:\t\t\t");
    conversor_AnexarCampo(szBufRelatorio, stConfig.szOperador);
    conversor_AnexarTexto(szBufRelatorio, "\r\nMáquina:\t\t\t");
    conversor_AnexarCampo(szBufRelatorio, stConfig.szMaquina);
    szBufRelatorio += "\r\nCultura:\t\t\t";
    conversor_AnexarCampo(szBufRelatorio, stConfig.szCultura);
    conversor_AnexarTexto(szBufRelatorio, "\r\nOperação:\t\t\t");
    conversor_AnexarCodigoCp1252(szBufRelatorio, zavoro_RetornarStringTipoOperacao, ucOperacao);
    szBufRelatorio += "\r\n\r\nLargura Implemento:\t\t";
    // Width in metres from version 5, in centimetres before; overlap likewise from version 6.
    if (uiVersao >= 5)
        conversor_AnexarReal(szBufRelatorio, stConfig.fLarguraImplemento, 4);
    else
        conversor_AnexarReal(szBufRelatorio, stConfig.usLarguraImplemento / 100.0f, 2);
    szBufRelatorio += " m\r\n";
    if (uiVersao >= 2)
    {
        conversor_AnexarTexto(szBufRelatorio, "Sobreposição:\t\t\t");
        if (uiVersao >= 6)
            conversor_AnexarReal(szBufRelatorio, stConfig.fSobreposicaoImplemento, 4);
        else
            conversor_AnexarReal(szBufRelatorio, stConfig.sSobreposicaoImplemento / 100.0f, 2);
        conversor_AnexarTexto(szBufRelatorio, " m\r\nDistância Antena-Implemento:\t");
        if (stConfig.sDistImplemento > 0)
        {
            conversor_AnexarReal(szBufRelatorio, stConfig.sDistImplemento / 10.0f, 1);
            szBufRelatorio += " m (p/ frente)\r\n\r\n";
        }
        else if (stConfig.sDistImplemento < 0)
        {
            conversor_AnexarReal(szBufRelatorio, -stConfig.sDistImplemento / 10.0f, 1);
            conversor_AnexarTexto(szBufRelatorio, " m (p/ trás)\r\n\r\n");
        }
        else
            szBufRelatorio += "0,0 m\r\n\r\n";
    }

    if (ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO)
        EscreverPulverizacao(szBufRelatorio, stConfig, uiVersao);
    if (bAdubacao)
        EscreverAdubacao(szBufRelatorio, stConfig, uiVersao);
    if (uiVersao >= 7 && ucOperacao == D_ZAVORO_OPERACAO_PLANTIO)
        EscreverPlantio(szBufRelatorio, stConfig);
    if (uiVersao >= 2)
        EscreverPiloto(szBufRelatorio, stConfig);
    if (uiVersao >= 8)
        EscreverProdutos(szBufRelatorio, stConfig);
    conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);
}

} // namespace

void conversor_EscreverConfiguracaoRelatorio(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                             std::uint32_t ulNumConfiguracoes, unsigned short usVersaoArquivoEvento,
                                             std::uint32_t ulDataHoraEventoInicio, std::uint32_t ulDataHoraEventoFim,
                                             float fAreaCoberturaFinal, std::uint32_t ulVolumeAplicadoFinal)
{
    std::uint32_t ulNumConfiguracao = 1;
    ST_TotaisEtapa stAnterior;
    ST_EventoConfig_v9 stConfig;
    ST_PontoNVG_v2 stPontoNVG{};
    for (std::uint32_t i = 0; i < ulNumConfiguracoes; i++)
    {
        // A block cut short means the file ended: nothing further can be told.
        if (!zavoro_LerConfiguracaoEvento(pfArquivoLeitura, usVersaoArquivoEvento, &stConfig))
            break;
        const std::uint8_t ucOperacao = zavoro_TraduzirOperacao(stConfig.ucOperacao, usVersaoArquivoEvento);
        const unsigned char ucSetarValoresFinais = i + 1 < ulNumConfiguracoes ? 1 : 0;

        ST_TotaisEtapa stTotais;
        if (i == 0)
            stTotais.ulDataHoraConfigInicio = ulDataHoraEventoInicio;
        else
        {
            stTotais.fAreaCoberturaParcialInicial = stAnterior.fAreaCoberturaParcialFinal;
            stTotais.ulVolumeAplicadoParcialInicial = stAnterior.ulVolumeAplicadoParcialFinal;
        }
        // The last stage ends where the event ends; its points are only read past.
        if (!ucSetarValoresFinais)
        {
            stTotais.ulDataHoraConfigFim = ulDataHoraEventoFim;
            stTotais.fAreaCoberturaParcialFinal = fAreaCoberturaFinal;
            stTotais.ulVolumeAplicadoParcialFinal = ulVolumeAplicadoFinal;
        }

        for (std::uint32_t p = 0; p < stConfig.ulNumeroPontosRastro; p++)
        {
            int iBytesLidos = 0;
            if (!zavoro_LerEstruturaLog(pfArquivoLeitura, &stPontoNVG, usVersaoArquivoEvento, &iBytesLidos))
                break;
            if (stTotais.ulDataHoraConfigInicio == 0)
                stTotais.ulDataHoraConfigInicio = stPontoNVG.ulSegundosDataHora;
            if (!ucSetarValoresFinais)
                continue;
            if (stPontoNVG.ulSegundosDataHora >= stTotais.ulDataHoraConfigInicio)
                stTotais.ulDataHoraConfigFim = stPontoNVG.ulSegundosDataHora;
            if (stPontoNVG.fAreaCobertura >= stTotais.fAreaCoberturaParcialInicial)
                stTotais.fAreaCoberturaParcialFinal = stPontoNVG.fAreaCobertura;
            const std::uint32_t ulQuantidade = zavoro_CalcularQuantidadeAplicada(&stPontoNVG, ucOperacao);
            if (ulQuantidade >= stTotais.ulVolumeAplicadoParcialInicial)
                stTotais.ulVolumeAplicadoParcialFinal = ulQuantidade;
        }

        // A stage that never started or ended is left out, and takes no heading number.
        if (stTotais.ulDataHoraConfigInicio != 0 && stTotais.ulDataHoraConfigFim != 0)
        {
            EscreverEtapa(pfArquivoEscrita, stConfig, ucOperacao, usVersaoArquivoEvento, ulNumConfiguracao,
                                    stTotais);
            ulNumConfiguracao++;
        }
        stAnterior = stTotais;
    }
}
