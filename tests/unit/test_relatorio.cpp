// The work report byte for byte: general data, guides and boundaries, and the stage blocks of every
// operation and of the event versions where the printed settings change; plus the failures that must
// leave no report behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/conversor.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{
// 02/03/2026 - 08:00.
constexpr std::uint32_t T0 = D_TESTE_DATA_HORA_2026 + 60 * 86400 + 8 * 3600;

std::string Cp(const std::string& szUtf8)
{
    return funcAux_Utf8ParaCp1252(szUtf8);
}

std::string Titulo(const char* pcVersoes)
{
    const std::string szAsteriscos(67, '*');
    const std::string szMoldura = "***" + std::string(61, ' ') + "***\r\n";
    return szAsteriscos + "\r\n" + szMoldura + "***" + std::string(16, ' ') + "Relatório de Trabalho Zavoro" +
           std::string(17, ' ') + "***\r\n***\t\t\t     " + pcVersoes + "\t\t\t\t***\r\n" + szMoldura + szAsteriscos +
           "\r\n\r\n-------------------- DADOS GERAIS DE TRABALHO ---------------------\r\n\r\n";
}

const std::string kTalhaoEvento = "Talhão:\t\t\t\tTalhão Sede\r\n"
                                  "Criado em:\t\t\t02/03/2026 - 07:00\r\n\r\n"
                                  "Evento:\t\t\t\tAplicação Soja\r\n"
                                  "Início:\t\t\t\t02/03/2026 - 08:00\r\n"
                                  "Fim:\t\t\t\t02/03/2026 - 10:30\r\n\r\n";
const std::string kSemGuiasNemLimites = "Ponto A:\t\t\tNão Marcado\r\nPonto B:\t\t\tNão Marcado\r\n\r\n"
                                        "Limite:\t\t\t\tNão Marcado\r\n\r\n";
const std::string kTempoZero = "Distância Percorrida:\t\t0,00 km\r\n\r\n"
                               "Tempo de Trabalho:\t\t00h00m00s\r\n"
                               "Tempo de Trabalho Efetivo:\t00h00m00s\r\n"
                               "Hectares por Hora:\t\t0 ha/h\r\n\r\n";
const std::string kPilotoPadrao = "\r\nTipo Comando Piloto:\t\tBrinta Cavoda\r\n"
                                  "Agressividade Piloto:\t\t0\r\n"
                                  "Fator Hidráulico Piloto:\tFábrica\r\n"
                                  "Entre-eixos:\t\t\t0,000 m\r\n";

std::string TituloEtapa(int n)
{
    return "\r\n---------------------------- ETAPA " + std::to_string(n) + " -----------------------------\r\n\r\n";
}

// Field and header of every test: event from 08:00 to 10:30, totals left at zero.
NvgBuilder Base(std::uint16_t usVersaoEvento, std::uint8_t ucOperacao)
{
    NvgBuilder b;
    b.usVersaoEvento = usVersaoEvento;
    b.operacao(ucOperacao);
    b.stTalhao.ulDataHoraInicio = T0 - 3600;
    b.stCabecalho.ulDataHoraInicioEvento = T0;
    b.stCabecalho.ulDataHoraFimEvento = T0 + 9000;
    return b;
}

ST_PontoNVG_v2 Ponto(std::uint32_t ulSegundos, float fArea, std::uint16_t usVolume, std::uint16_t usSecoes = 0)
{
    ST_PontoNVG_v2 p = pontoTipico(0);
    p.ulSegundosDataHora = T0 + ulSegundos;
    p.fAreaCobertura = fArea;
    p.usVolumeAplicado = usVolume;
    p.usSecoes = usSecoes;
    return p;
}

zavoro_teste::Etapa Nomeada(const char* pcOperador, const char* pcMaquina, const char* pcCultura)
{
    zavoro_teste::Etapa e;
    e.campo("szOperador", pcOperador).campo("szMaquina", pcMaquina).campo("szCultura", pcCultura);
    e.pontos.push_back(Ponto(60, 0.0f, 0));
    return e;
}

std::string Gerar(const NvgBuilder& b, const DiretorioTemporario& dir)
{
    const std::filesystem::path nvg = dir / "job.nvg";
    const std::filesystem::path txt = dir / "job.txt";
    b.gravar(nvg);
    std::string szErro;
    EXPECT_TRUE(conversor_CriarRelatoriosNavegacao(nvg.c_str(), txt.c_str(), &szErro)) << szErro;
    const std::vector<std::uint8_t> v = lerArquivo(txt);
    return std::string(v.begin(), v.end());
}

std::string Entre(const std::string& sz, const std::string& szInicio, const std::string& szFim)
{
    const std::size_t a = sz.find(Cp(szInicio));
    const std::size_t b = a == std::string::npos ? a : sz.find(Cp(szFim), a + 1);
    return b == std::string::npos ? std::string() : sz.substr(a, b - a);
}
} // namespace

TEST(Relatorio, PulverizacaoVersao9ComGuiasLimitesEProdutos)
{
    DiretorioTemporario dir;
    NvgBuilder b = Base(9, D_ZAVORO_OPERACAO_PULVERIZACAO);
    b.stTalhao.ucTipoGuia = D_ZAVORO_TIPO_GUIA_CURVA;
    b.stCabecalho.ulVolumeAplicado = 500;
    b.stCabecalho.fAreaCobertura = 2.5f;
    b.stCabecalho.fDistanciaPercorridaEvento = 1234.5f;
    b.stCabecalho.ulTempoTrabalho = 5400;
    b.stCabecalho.ulTempoTrabalhoEfetivo = 3600;

    Guia g1; // no type of its own: the field's (curved) applies
    g1.usVersao = 1;
    g1.stGuia.ucFlagPontoAMarcado = g1.stGuia.ucFlagPontoBMarcado = 1;
    g1.stGuia.dPontoALat = -24.5;
    g1.stGuia.dPontoALon = -51.25;
    g1.stGuia.dPontoBLat = -24.123456789;
    g1.stGuia.dPontoBLon = -51.000001;
    Guia g2;
    g2.stGuia.ucTipoGuia = D_ZAVORO_TIPO_GUIA_RETA;
    g2.stGuia.ucFlagPontoAMarcado = 1;
    g2.stGuia.dPontoALat = 10.0;
    g2.stGuia.dPontoALon = 20.0;
    g2.pontosCurva = {{1.0f, 2.0f}, {3.0f, 4.0f}};
    Guia g3;
    g3.usVersao = 3;
    g3.stGuia.ucTipoGuia = D_ZAVORO_TIPO_GUIA_CURVA;
    g3.curvas = {Curva{{{1.0f, 1.0f}, {2.0f, 2.0f}}, {}}};
    b.guias = {g1, g2, g3};
    Limite l1, l2;
    l1.stLimite.fAreaLimite = 1.5f;
    l1.pontos = {{0, 0}, {100, 0}, {100, 150}};
    l2.stLimite.fAreaLimite = 3.25f;
    b.limites = {l1, l2};

    zavoro_teste::Etapa e = Nomeada("José Pereira", "Pulverizador 2.500", "Soja");
    e.operacao(D_ZAVORO_OPERACAO_PULVERIZACAO);
    e.pontos.push_back(Ponto(120, 0.1f, 10));
    e.campo("ucModoDemonstracao", 1).campo("fLarguraImplemento", 24.5).campo("fSobreposicaoImplemento", 0.25);
    e.campo("usLarguraImplemento", 9999).campo("sSobreposicaoImplemento", 77).campo("sDistImplemento", 12);
    e.campo("ucNumeroSecoes", 3).campo("usTamanhoSeccao[0]", 850).campo("usTamanhoSeccao[1]", 800);
    e.campo("usTamanhoSeccao[2]", 125).campo("usTamanhoSeccao[3]", 999);
    e.campo("usConstanteFluxometro", 650).campo("usNumeroBicos", 48).campo("usEspacamentoBicos", 50);
    e.campo("usTaxaAplicacao1", 200).campo("usTaxaAplicacao2", 150).campo("usVazaoBico", 12).campo("usPressaoBico", 35);
    e.campo("ucValvulaGeral", 1).campo("ucValvulaSecao", 2).campo("ucValvulaProporcional", 0);
    e.campo("usTempoAberturaValvulaSecao", 5).campo("usTempoFechamentoValvulaSecao", 15);
    e.campo("ucTipoComando", 7).campo("ucAgressividade", 80).campo("ucFatorHidraulico", 2);
    e.campo("ulEntreEixosX1000", 2850);
    // Eleven characters, then five: the short name ends the list, the third is never printed.
    e.campo("stProdutoUtilizadoPulv[0].ucNomeProduto", "Glifosato X").campo("stProdutoUtilizadoPulv[0].ucFlagModoMedicao", 1);
    e.campo("stProdutoUtilizadoPulv[0].usDoseMinima", 100).campo("stProdutoUtilizadoPulv[0].usDoseMaxima", 500);
    e.campo("stProdutoUtilizadoPulv[0].usDoseAtual", 300);
    e.campo("stProdutoUtilizadoPulv[1].ucNomeProduto", "Milho").campo("stProdutoUtilizadoPulv[2].ucNomeProduto", "Atrazina 500");
    b.etapas = {e};

    const std::string szEsperado =
        Titulo("(v2 - 1.9)") + kTalhaoEvento +
        "Volume Aplicado:\t\t500 L\r\n"
        "Área Aplicada:\t\t\t2,500 ha\r\n"
        "Taxa Média Aplicada (Cálculo):\t200,0 L/ha\r\n"
        "Distância Percorrida:\t\t1,23 km\r\n\r\n"
        "Tempo de Trabalho:\t\t01h30m00s\r\n"
        "Tempo de Trabalho Efetivo:\t01h00m00s\r\n"
        "Hectares por Hora:\t\t2,500 ha/h\r\n\r\n"
        "Tipo de guia 1:\t\t\tCurva\r\n"
        "Ponto A:\t\t\tLat -24.500000 | Long -51.250000\r\n"
        "Ponto B:\t\t\tLat -24.123457 | Long -51.000001\r\n\r\n"
        "Tipo de guia 2:\t\t\tReta\r\n"
        "Ponto A:\t\t\tLat 10.000000 | Long 20.000000\r\n"
        "Ponto B:\t\t\tNão Marcado\r\n\r\n"
        "Tipo de guia 3:\t\t\tCurva\r\n"
        "Ponto A:\t\t\tNão Marcado\r\n"
        "Ponto B:\t\t\tNão Marcado\r\n\r\n"
        "Área Limite:\t\t\t1.500 ha\r\n\r\n"
        "Área Limite:\t\t\t3.250 ha\r\n\r\n" +
        TituloEtapa(1) +
        "Modo Demonstração:\t\tATIVADO\r\n\r\n"
        "Início:\t\t\t\t02/03/2026 - 08:00\r\n"
        "Fim:\t\t\t\t02/03/2026 - 10:30\r\n"
        "Volume Aplicado:\t\t500 L\r\n"
        "Área Aplicada:\t\t\t2,500 ha\r\n"
        "Taxa Média Aplicada (Cálculo):\t200,0 L/ha\r\n\r\n"
        "Operador:\t\t\tJosé Pereira\r\n"
        "Máquina:\t\t\tPulverizador 2.500\r\n"
        "Cultura:\t\t\tSoja\r\n"
        "Operação:\t\t\tPulverização\r\n\r\n"
        "Largura Implemento:\t\t24,5000 m\r\n"
        "Sobreposição:\t\t\t0,2500 m\r\n"
        "Distância Antena-Implemento:\t1,2 m (p/ frente)\r\n\r\n"
        "Número de Seções:\t\t3\r\n"
        "Tamanho de cada seção:\t\t8,50m | 8,00m | 1,25m \r\n"
        "Constante Fluxômetro:\t\t650\r\n"
        "\r\nNúmero de Bicos:\t\t48\r\n"
        "Espaçamento entre Bicos:\t50 cm\r\n"
        "Taxa de Aplicação 1:\t\t200 L/ha\r\n"
        "Taxa de Aplicação 2:\t\t150 L/ha\r\n"
        "Vazão Bico:\t\t\t1,2 L/min\r\n"
        "Pressão Bico:\t\t\t3,5 bar\r\n\r\n"
        "Válvula Geral:\t\t\t2 vias\r\n"
        "Válvula Seção:\t\t\t3 vias\r\n"
        "Válvula Proporcional:\t\tNão possui\r\n"
        "Tempo Abertura Válvula Seção:\t0,5 s\r\n"
        "Tempo Fechamento Valvula Seção:1,5 s\r\n"
        "\r\nTipo Comando Piloto:\t\tElétrico V2\r\n"
        "Agressividade Piloto:\t\t80\r\n"
        "Fator Hidráulico Piloto:\t50\r\n"
        "Entre-eixos:\t\t\t2,850 m\r\n"
        "\r\nNome do Produto:\t\tGlifosato X\r\n"
        "Dose Mínima:\t\t\t100 mL/ha\r\n"
        "Dose Máxima:\t\t\t500 mL/ha\r\n"
        "Dose Utilizada:\t\t\t300 mL/ha\r\n"
        "\r\nProdutos Utilizados:\t\t1 Produtos";
    EXPECT_EQ(Gerar(b, dir), Cp(szEsperado));
}

TEST(Relatorio, ColheitaSemLimitesComDezGuias)
{
    DiretorioTemporario dir;
    NvgBuilder b = Base(9, D_ZAVORO_OPERACAO_COLHEITA);
    b.uiVersaoArquivo = D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_SEM_LIMITES;
    b.stCabecalho.ulVolumeAplicado = 777; // not a quantity for a harvest
    b.stCabecalho.fAreaCobertura = 12.3456f;
    b.stCabecalho.ulTempoTrabalho = 90061;
    b.guias.resize(10);
    zavoro_teste::Etapa e = Nomeada("Ana", "Colhedora", "Milho");
    e.operacao(D_ZAVORO_OPERACAO_COLHEITA).campo("fLarguraImplemento", 9.0);
    b.etapas = {e};

    std::string szGuias;
    const std::string kNaoMarcados = "Ponto A:\t\t\tNão Marcado\r\nPonto B:\t\t\tNão Marcado\r\n\r\n";
    for (const char* pcRotulo :
         {"Tipo de guia 1:\t\t\tReta\r\n", "Tipo de guia 2:\t\t\tReta\r\n", "Tipo de guia 3:\t\t\tReta\r\n",
          "Tipo de guia 4:\t\t\tReta\r\n", "Tipo de guia 5:\t\t\tReta\r\n", "Tipo de guia 6:\t\t\tReta\r\n",
          "Tipo de guia 7:\t\t\tReta\r\n", "Tipo de guia 8:\t\t\tReta\r\n", "Tipo de guia 9:\t\t\tReta\r\n",
          "Tipo de guia 10:\t\tReta\r\n"})
        szGuias += pcRotulo + kNaoMarcados;

    const std::string szEsperado = Titulo("(v1 - 1.9)") + kTalhaoEvento +
                                   "Área Aplicada:\t\t\t12,346 ha\r\n"
                                   "Distância Percorrida:\t\t0,00 km\r\n\r\n"
                                   "Tempo de Trabalho:\t\t1 dias e 01h01m01s\r\n"
                                   "Tempo de Trabalho Efetivo:\t00h00m00s\r\n"
                                   "Hectares por Hora:\t\t0 ha/h\r\n\r\n" +
                                   szGuias + "Limite:\t\t\t\tNão Marcado\r\n\r\n" + TituloEtapa(1) +
                                   "Início:\t\t\t\t02/03/2026 - 08:00\r\n"
                                   "Fim:\t\t\t\t02/03/2026 - 10:30\r\n"
                                   "Área Aplicada:\t\t\t12,346 ha\r\n"
                                   "\r\n"
                                   "Operador:\t\t\tAna\r\n"
                                   "Máquina:\t\t\tColhedora\r\n"
                                   "Cultura:\t\t\tMilho\r\n"
                                   "Operação:\t\t\tColheita\r\n\r\n"
                                   "Largura Implemento:\t\t9,0000 m\r\n"
                                   "Sobreposição:\t\t\t0,0000 m\r\n"
                                   "Distância Antena-Implemento:\t0,0 m\r\n\r\n" +
                                   kPilotoPadrao + "\r\nProdutos Utilizados:\t\t0 Produtos";
    EXPECT_EQ(Gerar(b, dir), Cp(szEsperado));
}

// Stored operation 4 of a version-7 event is fertilising, 1 is harvest. The first stage takes its
// totals from its points (the high byte of the sections carrying quantity bits), the last from the
// header.
TEST(Relatorio, AdubacaoVersao7MaquinaDastra1600EmDuasEtapas)
{
    DiretorioTemporario dir;
    NvgBuilder b = Base(7, D_ZAVORO_OPERACAO_ADUBACAO);
    b.ucUltOperacaoAtual.reset();
    b.stCabecalho.ucUltOperacao = 4;
    b.stCabecalho.ulVolumeAplicado = 100000;
    b.stCabecalho.fAreaCobertura = 4.0f;
    b.stCabecalho.fDistanciaPercorridaEvento = 2000.0f;
    b.stCabecalho.ulTempoTrabalho = b.stCabecalho.ulTempoTrabalhoEfetivo = 7200;

    zavoro_teste::Etapa e1 = Nomeada("Carlos", "Dastra", "Soja");
    e1.pontos = {Ponto(600, 0.5f, 200), Ponto(3600, 1.75f, 4464, 0x01FF)};
    e1.campo("fLarguraImplemento", 18.0).campo("fSobreposicaoImplemento", 0.5).campo("sDistImplemento", -15);
    e1.campo("ucTipoTaxa", 0).campo("ulTaxaFixa1", 250).campo("ulTaxaFixa2", 300);
    e1.campo("ucTipoMaquinaAdub", 1).campo("ucTipoDiscosDastra", 2).campo("dConstanteTrabalhoAdub[0]", 123.456);
    e1.campo("ulADComportaDastra_0_Adub[0]", 100).campo("ulADComportaDastra_0_Adub[1]", 110);
    e1.campo("ulADComportaDastra_580_Adub[0]", 3000).campo("ulADComportaDastra_580_Adub[1]", 3100);
    // Settings of the other machines, which this one must not print.
    e1.campo("ucTipoModuloAdub", 1).campo("ucConectorEncodersAdub", 1).campo("ucBalancaInstalada", 1);
    e1.campo("ucControlarDisco", 1).campo("usNumPPREncoderMotorAdub[0]", 360);
    e1.campo("ucTipoComando", 3).campo("ucAgressividade", 5).campo("ucFatorHidraulico", 1).campo("ulEntreEixosX1000", 3000);
    zavoro_teste::Etapa e2 = e1;
    e1.campo("ucOperacao", 4);
    e2.campo("ucOperacao", 1);
    e2.pontos = {Ponto(4200, 2.0f, 5)};
    b.etapas = {e1, e2};

    const std::string szComum = "Operador:\t\t\tCarlos\r\n"
                                "Máquina:\t\t\tDastra\r\n"
                                "Cultura:\t\t\tSoja\r\n";
    const std::string szGeometria = "Largura Implemento:\t\t18,0000 m\r\n"
                                    "Sobreposição:\t\t\t0,5000 m\r\n"
                                    "Distância Antena-Implemento:\t1,5 m (p/ trás)\r\n\r\n";
    const std::string szPiloto = "\r\nTipo Comando Piloto:\t\tKVATO 160 PQTR\r\n"
                                 "Agressividade Piloto:\t\t5\r\n"
                                 "Fator Hidráulico Piloto:\t100\r\n"
                                 "Entre-eixos:\t\t\t3,000 m\r\n";
    const std::string szEsperado =
        Titulo("(v2 - 1.7)") + kTalhaoEvento +
        "Carga Distribuída:\t\t100000 kg\r\n"
        "Área Aplicada:\t\t\t4,000 ha\r\n"
        "Taxa Média Aplicada (Cálculo):\t25000,0 kg/ha\r\n"
        "Distância Percorrida:\t\t2,00 km\r\n\r\n"
        "Tempo de Trabalho:\t\t02h00m00s\r\n"
        "Tempo de Trabalho Efetivo:\t02h00m00s\r\n"
        "Hectares por Hora:\t\t2,000 ha/h\r\n\r\n" +
        kSemGuiasNemLimites + TituloEtapa(1) +
        "Início:\t\t\t\t02/03/2026 - 08:00\r\n"
        "Fim:\t\t\t\t02/03/2026 - 09:00\r\n"
        "Carga Distribuída:\t\t70000 kg\r\n"
        "Área Aplicada:\t\t\t1,750 ha\r\n"
        "Taxa Média Aplicada (Cálculo):\t40000,0 kg/ha\r\n\r\n" +
        szComum + "Operação:\t\t\tAdubação\r\n\r\n" + szGeometria +
        "Tipo de Taxa:\t\t\tTaxa Fixa\r\n"
        "Taxa Fixa - Dose 1:\t\t250 kg/ha\r\n"
        "Taxa Fixa - Dose 2:\t\t300 kg/ha\r\n\r\n"
        "Tipo Máquina Adubação:\t\tDastra 1600\r\n"
        "Tipo Discos:\t\t\tS6\r\n"
        "Constante de Trabalho:\t\t123,46\r\n"
        "\r\nCalib. Comporta Esquerda - 0:\t100\r\n"
        "Calib. Comporta Esquerda - 580:\t3000\r\n"
        "Calib. Comporta Direita - 0:\t110\r\n"
        "Calib. Comporta Direita - 580:\t3100\r\n" +
        szPiloto + TituloEtapa(2) +
        "Início:\t\t\t\t02/03/2026 - 09:10\r\n"
        "Fim:\t\t\t\t02/03/2026 - 10:30\r\n"
        "Área Aplicada:\t\t\t2,250 ha\r\n"
        "\r\n" +
        szComum + "Operação:\t\t\tColheita\r\n\r\n" + szGeometria + szPiloto;
    EXPECT_EQ(Gerar(b, dir), Cp(szEsperado));
}

TEST(Relatorio, AdubacaoVersao7LancoTaxaVariavelComBalanca)
{
    DiretorioTemporario dir;
    NvgBuilder b = Base(7, D_ZAVORO_OPERACAO_ADUBACAO);
    zavoro_teste::Etapa e = Nomeada("Rui", "Lanço", "Café");
    e.operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("fLarguraImplemento", 24.0);
    e.campo("ucTipoTaxa", 1).campo("szMapaTrabalho", "Mapa Norte").campo("szParametroMapa", "Dose_KCl");
    e.campo("fAreaMapa", 35.3).campo("ucTipoModuloAdub", 1).campo("ucConectorEncodersAdub", 1);
    e.campo("dConstanteTrabalhoAdub[0]", 2.5).campo("fMinRotacaoMotorAdub[0]", 10.5).campo("fMaxRotacaoMotorAdub[0]", 120.25);
    e.campo("usNumPPREncoderMotorAdub[0]", 360).campo("ucControlarDisco", 1).campo("fMinRotacaoMotorAdub[5]", 300.0);
    e.campo("fMaxRotacaoMotorAdub[5]", 900.75).campo("usNumPPREncoderMotorAdub[5]", 60);
    e.campo("ucBalancaInstalada", 1).campo("ucUtilizarBalanca", 1).campo("fCorrecaoBalanca", 1.05);
    e.campo("ucTipoDiscosDastra", 1).campo("ulADComportaDastra_0_Adub[0]", 5); // Dastra only
    b.etapas = {e};

    // Nothing applied on no area: rates are 0, not a division.
    const std::string szEsperado = Titulo("(v2 - 1.7)") + kTalhaoEvento +
                                   "Carga Distribuída:\t\t0 kg\r\n"
                                   "Área Aplicada:\t\t\t0,000 ha\r\n"
                                   "Taxa Média Aplicada (Cálculo):\t0 kg/ha\r\n" +
                                   kTempoZero + kSemGuiasNemLimites + TituloEtapa(1) +
                                   "Início:\t\t\t\t02/03/2026 - 08:00\r\n"
                                   "Fim:\t\t\t\t02/03/2026 - 10:30\r\n"
                                   "Carga Distribuída:\t\t0 kg\r\n"
                                   "Área Aplicada:\t\t\t0,000 ha\r\n"
                                   "Taxa Média Aplicada (Cálculo):\t0 kg/ha\r\n\r\n"
                                   "Operador:\t\t\tRui\r\n"
                                   "Máquina:\t\t\tLanço\r\n"
                                   "Cultura:\t\t\tCafé\r\n"
                                   "Operação:\t\t\tAdubação\r\n\r\n"
                                   "Largura Implemento:\t\t24,0000 m\r\n"
                                   "Sobreposição:\t\t\t0,0000 m\r\n"
                                   "Distância Antena-Implemento:\t0,0 m\r\n\r\n"
                                   "Tipo de Taxa:\t\t\tTaxa Variável\r\n"
                                   "Mapa:\t\t\t\tMapa Norte\r\n"
                                   "Parâmetro de Mapa:\t\tDose_KCl\r\n"
                                   "Área de Mapa:\t\t\t35,3 ha\r\n\r\n"
                                   "Tipo Máquina Adubação:\t\tA Lanço - 1 Esteira\r\n"
                                   "Tipo Módulo:\t\t\tPLENVIK\r\n"
                                   "Tipo Conector Encoders:\t\tTipo 2 - AN-35(CX-8)\r\n"
                                   "Constante de Trabalho:\t\t2,50 pulsos/kg\r\n"
                                   "\r\nRotação Mínima Esteira:\t\t10,50 RPM\r\n"
                                   "Rotação Máxima Esteira:\t\t120,25 RPM\r\n"
                                   "PPR Encoder Esteira:\t\t360\r\n"
                                   "\r\nControle de Discos:\t\tHabilitado\r\n"
                                   "Rotação Mínima Discos:\t\t300,00 RPM\r\n"
                                   "Rotação Máxima Discos:\t\t900,75 RPM\r\n"
                                   "PPR Encoder Discos:\t\t60\r\n"
                                   "\r\nBalança Instalada:\t\tBalança Tipo 1\r\n"
                                   "Utilizando Balança:\t\tSim\r\n"
                                   "Correção de Balança:\t\t1,05\r\n" +
                                   kPilotoPadrao;
    EXPECT_EQ(Gerar(b, dir), Cp(szEsperado));
}

TEST(Relatorio, AdubacaoVersao3EsteiraUnica)
{
    DiretorioTemporario dir;
    NvgBuilder b = Base(3, D_ZAVORO_OPERACAO_ADUBACAO);
    b.stCabecalho.ulVolumeAplicado = 900;
    b.stCabecalho.fAreaCobertura = 3.0f;
    b.stCabecalho.fDistanciaPercorridaEvento = 1500.0f;
    b.stCabecalho.ulTempoTrabalho = b.stCabecalho.ulTempoTrabalhoEfetivo = 3600;
    zavoro_teste::Etapa e = Nomeada("Rui", "Lanço", "Café");
    e.operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("ucModoDemonstracao", 2);
    e.campo("usLarguraImplemento", 1250).campo("sSobreposicaoImplemento", -50).campo("sDistImplemento", 25);
    e.campo("ucTipoTaxa", 0).campo("ulTaxaFixa1", 100);
    e.campo("fMinRotacaoEsteira", 5.5).campo("fMaxRotacaoEsteira", 80.0).campo("usNumDentesEncoderEsteira", 20);
    e.campo("usNumDentesEncoderDisco", 12).campo("ucModeloValvula", 1).campo("fConstanteEsteira", 10.75);
    e.campo("ucTempoCalibracao", 3).campo("ucBalancaInstalada", 2).campo("ucUtilizarBalanca", 0);
    e.campo("fCorrecaoBalanca", 0.98).campo("ucAgressividade", 9);
    b.etapas = {e};

    const std::string szEsperado = Titulo("(v2 - 1.3)") + kTalhaoEvento +
                                   "Carga Distribuída:\t\t900 kg\r\n"
                                   "Área Aplicada:\t\t\t3,000 ha\r\n"
                                   "Taxa Média Aplicada (Cálculo):\t300,0 kg/ha\r\n"
                                   "Distância Percorrida:\t\t1,50 km\r\n\r\n"
                                   "Tempo de Trabalho:\t\t01h00m00s\r\n"
                                   "Tempo de Trabalho Efetivo:\t01h00m00s\r\n"
                                   "Hectares por Hora:\t\t3,000 ha/h\r\n\r\n" +
                                   kSemGuiasNemLimites + TituloEtapa(1) +
                                   "Modo Demonstração:\t\tATIVADO\r\n\r\n"
                                   "Início:\t\t\t\t02/03/2026 - 08:00\r\n"
                                   "Fim:\t\t\t\t02/03/2026 - 10:30\r\n"
                                   "Carga Distribuída:\t\t900 kg\r\n"
                                   "Área Aplicada:\t\t\t3,000 ha\r\n"
                                   "Taxa Média Aplicada (Cálculo):\t300,0 kg/ha\r\n\r\n"
                                   "Operador:\t\t\tRui\r\n"
                                   "Máquina:\t\t\tLanço\r\n"
                                   "Cultura:\t\t\tCafé\r\n"
                                   "Operação:\t\t\tAdubação\r\n\r\n"
                                   "Largura Implemento:\t\t12,50 m\r\n"
                                   "Sobreposição:\t\t\t-0,50 m\r\n"
                                   "Distância Antena-Implemento:\t2,5 m (p/ frente)\r\n\r\n"
                                   "Tipo de Taxa:\t\t\tTaxa Fixa\r\n"
                                   "Taxa Fixa - Dose 1:\t\t100 kg/ha\r\n"
                                   "Taxa Fixa - Dose 2:\t\t0 kg/ha\r\n\r\n"
                                   "Rotação Mínima Esteira:\t\t5,50 RPM\r\n"
                                   "Rotação Máxima Esteira:\t\t80,00 RPM\r\n"
                                   "Núm. Dentes Encoder Esteira:\t20\r\n"
                                   "Núm. Dentes Encoder Disco:\t12\r\n"
                                   "Modelo Válvula:\t\t\tVersão 2\r\n"
                                   "Constante de Esteira:\t\t10,75 pulsos/kg\r\n"
                                   "Tempo de Calibração de Esteira:\t5 min\r\n"
                                   "Balança Instalada:\t\tBalança Tipo 2\r\n"
                                   "Utilizando Balança:\t\tNão\r\n"
                                   "Correção de Balança:\t\t0,98\r\n"
                                   "\r\nTipo Comando Piloto:\t\tBrinta Cavoda\r\n"
                                   "Agressividade Piloto:\t\t9\r\n"
                                   "Fator Hidráulico Piloto:\tFábrica\r\n"
                                   "Entre-eixos:\t\t\t0,000 m\r\n";
    EXPECT_EQ(Gerar(b, dir), Cp(szEsperado));
}

TEST(Relatorio, PlantioVersao7)
{
    DiretorioTemporario dir;
    NvgBuilder b = Base(7, D_ZAVORO_OPERACAO_PLANTIO);
    b.stCabecalho.fAreaCobertura = 5.0f;
    zavoro_teste::Etapa e = Nomeada("Beto", "Plantadeira", "Milho");
    e.operacao(D_ZAVORO_OPERACAO_PLANTIO).campo("fLarguraImplemento", 5.4);
    e.campo("ucNumeroSecoes", 2).campo("usTamanhoSeccao[0]", 270); // sprayer sections: not printed
    e.campo("ucNumeroSecoesPlantio", 4).campo("usTamanhoSeccaoPlantio[0]", 50).campo("usTamanhoSeccaoPlantio[1]", 45);
    e.campo("usTamanhoSeccaoPlantio[2]", 45).campo("usTamanhoSeccaoPlantio[3]", 55);
    e.campo("usNumeroLinhasPlantio", 12).campo("usEspacamentoLinhasPlantio", 45);
    e.campo("usTempoAberturaValvulaSecaoPlantio", 3).campo("usTempoFechamentoValvulaSecaoPlantio", 12);
    e.campo("sDistAduboSementePlantio", -12);
    b.etapas = {e};

    const std::string szEsperado = Titulo("(v2 - 1.7)") + kTalhaoEvento + "Área Aplicada:\t\t\t5,000 ha\r\n" +
                                   kTempoZero + kSemGuiasNemLimites + TituloEtapa(1) +
                                   "Início:\t\t\t\t02/03/2026 - 08:00\r\n"
                                   "Fim:\t\t\t\t02/03/2026 - 10:30\r\n"
                                   "Área Aplicada:\t\t\t5,000 ha\r\n"
                                   "\r\n"
                                   "Operador:\t\t\tBeto\r\n"
                                   "Máquina:\t\t\tPlantadeira\r\n"
                                   "Cultura:\t\t\tMilho\r\n"
                                   "Operação:\t\t\tPlantio\r\n\r\n"
                                   "Largura Implemento:\t\t5,4000 m\r\n"
                                   "Sobreposição:\t\t\t0,0000 m\r\n"
                                   "Distância Antena-Implemento:\t0,0 m\r\n\r\n"
                                   "Número de Seções:\t\t4\r\n"
                                   "Tamanho de cada seção:\t\t0,50m | 0,45m | 0,45m | 0,55m\r\n\r\n"
                                   "Número de Linhas:\t\t12\r\n"
                                   "Espaçamento entre Linhas:\t45 cm\r\n"
                                   "\r\n"
                                   "Tempo Abertura Atuador Seção:\t0,3 s\r\n"
                                   "Tempo Fechamento Atuador Seção:\t1,2 s\r\n"
                                   "Distância adubo/semente:\t-0,12 m\r\n"
                                   "\r\n" +
                                   kPilotoPadrao;
    EXPECT_EQ(Gerar(b, dir), Cp(szEsperado));
}

// The oldest block: no stage volume or rate (a blank line instead), no overlap, antenna distance,
// nozzle data or autopilot.
TEST(Relatorio, PulverizacaoVersao1)
{
    DiretorioTemporario dir;
    NvgBuilder b = Base(1, D_ZAVORO_OPERACAO_PULVERIZACAO);
    b.stCabecalho.ulVolumeAplicado = 500;
    b.stCabecalho.fAreaCobertura = 2.5f;
    zavoro_teste::Etapa e = Nomeada("Ana", "Pulverizador", "Trigo");
    e.operacao(D_ZAVORO_OPERACAO_PULVERIZACAO).campo("usLarguraImplemento", 2700);
    e.campo("ucNumeroSecoes", 2).campo("usTamanhoSeccao[0]", 1350).campo("usTamanhoSeccao[1]", 1350);
    e.campo("ucModoDemonstracao", 1).campo("usNumeroBicos", 54).campo("ucAgressividade", 3); // not in the block
    b.etapas = {e};

    const std::string szEsperado = Titulo("(v2 - 1.1)") + kTalhaoEvento +
                                   "Volume Aplicado:\t\t500 L\r\n"
                                   "Área Aplicada:\t\t\t2,500 ha\r\n"
                                   "Taxa Média Aplicada (Cálculo):\t200,0 L/ha\r\n" +
                                   kTempoZero + kSemGuiasNemLimites + TituloEtapa(1) +
                                   "Início:\t\t\t\t02/03/2026 - 08:00\r\n"
                                   "Fim:\t\t\t\t02/03/2026 - 10:30\r\n"
                                   "Área Aplicada:\t\t\t2,500 ha\r\n"
                                   "\r\n"
                                   "Operador:\t\t\tAna\r\n"
                                   "Máquina:\t\t\tPulverizador\r\n"
                                   "Cultura:\t\t\tTrigo\r\n"
                                   "Operação:\t\t\tPulverização\r\n\r\n"
                                   "Largura Implemento:\t\t27,00 m\r\n"
                                   "Número de Seções:\t\t2\r\n"
                                   "Tamanho de cada seção:\t\t13,50m | 13,50m \r\n";
    EXPECT_EQ(Gerar(b, dir), Cp(szEsperado));
}

// A stage without points has no start time: it is left out, the numbering stays continuous, and the
// next stage starts from its zero totals.
TEST(Relatorio, EtapaSemPontosOmitidaENumeracaoContinua)
{
    DiretorioTemporario dir;
    NvgBuilder b = Base(2, D_ZAVORO_OPERACAO_PULVERIZACAO);
    b.stCabecalho.ulVolumeAplicado = 500;
    b.stCabecalho.fAreaCobertura = 2.5f;
    zavoro_teste::Etapa e1 = Nomeada("Ana", "P", "T");
    e1.operacao(D_ZAVORO_OPERACAO_PULVERIZACAO);
    // Quantity with bit 15 set counts double: 0x8000 | 75 is 150 L.
    e1.pontos = {Ponto(60, 0.2f, 30), Ponto(1800, 1.0f, 0x8000 | 75)};
    zavoro_teste::Etapa e2 = e1, e3 = e1;
    e2.pontos.clear();
    e3.pontos = {Ponto(3600, 2.4f, 490)};
    b.etapas = {e1, e2, e3};

    const std::string szRelatorio = Gerar(b, dir);
    EXPECT_EQ(Entre(szRelatorio, TituloEtapa(1), "Operador:"), Cp(TituloEtapa(1) +
                                                            "Início:\t\t\t\t02/03/2026 - 08:00\r\n"
                                                            "Fim:\t\t\t\t02/03/2026 - 08:30\r\n"
                                                            "Volume Aplicado:\t\t150 L\r\n"
                                                            "Área Aplicada:\t\t\t1,000 ha\r\n"
                                                            "Taxa Média Aplicada (Cálculo):\t150,0 L/ha\r\n\r\n"));
    EXPECT_EQ(Entre(szRelatorio, TituloEtapa(2), "Operador:"), Cp(TituloEtapa(2) +
                                                            "Início:\t\t\t\t02/03/2026 - 09:00\r\n"
                                                            "Fim:\t\t\t\t02/03/2026 - 10:30\r\n"
                                                            "Volume Aplicado:\t\t500 L\r\n"
                                                            "Área Aplicada:\t\t\t2,500 ha\r\n"
                                                            "Taxa Média Aplicada (Cálculo):\t200,0 L/ha\r\n\r\n"));
    EXPECT_EQ(szRelatorio.find("ETAPA 3"), std::string::npos);
    // Version 2: overlap in centimetres, no products.
    EXPECT_NE(szRelatorio.find(Cp("Sobreposição:\t\t\t0,00 m\r\n")), std::string::npos);
    EXPECT_EQ(szRelatorio.find("Produtos"), std::string::npos);
}

TEST(Relatorio, ValoresForaDeFaixaSaemComoErro)
{
    {
        SCOPED_TRACE("totais do evento");
        DiretorioTemporario dir;
        NvgBuilder b = Base(9, D_ZAVORO_OPERACAO_PULVERIZACAO);
        b.stCabecalho.ulVolumeAplicado = 10000000;
        b.stCabecalho.fAreaCobertura = 1000000.0f;
        b.etapas = {Nomeada("A", "B", "C").operacao(D_ZAVORO_OPERACAO_PULVERIZACAO)};
        EXPECT_EQ(Entre(Gerar(b, dir), "Volume Aplicado", "Distância Percorrida"),
                  Cp("Volume Aplicado:\t\tERRO\r\n"
                     "Área Aplicada:\t\t\tERRO\r\n"
                     "Taxa Média Aplicada (Cálculo):\tERRO\r\n"));
    }
    {
        SCOPED_TRACE("carga acima do limite");
        DiretorioTemporario dir;
        NvgBuilder b = Base(9, D_ZAVORO_OPERACAO_ADUBACAO);
        b.stCabecalho.ulVolumeAplicado = 1000000000;
        b.stCabecalho.fAreaCobertura = 2.0f;
        b.etapas = {Nomeada("A", "B", "C").operacao(D_ZAVORO_OPERACAO_ADUBACAO)};
        EXPECT_EQ(Entre(Gerar(b, dir), "Carga", "Distância Percorrida"),
                  Cp("Carga Distribuída:\t\tERRO\r\n"
                     "Área Aplicada:\t\t\t2,000 ha\r\n"
                     "Taxa Média Aplicada (Cálculo):\tERRO\r\n"));
    }
    {
        // The last stage's totals come from the header even when the points went further.
        SCOPED_TRACE("etapa com totais menores que os da anterior");
        DiretorioTemporario dir;
        NvgBuilder b = Base(9, D_ZAVORO_OPERACAO_PULVERIZACAO);
        b.stCabecalho.ulVolumeAplicado = 500;
        b.stCabecalho.fAreaCobertura = 2.5f;
        zavoro_teste::Etapa e1 = Nomeada("A", "B", "C").operacao(D_ZAVORO_OPERACAO_PULVERIZACAO);
        e1.pontos = {Ponto(60, 3.0f, 0x8000 | 400)};
        zavoro_teste::Etapa e2 = e1;
        b.etapas = {e1, e2};
        EXPECT_EQ(Entre(Gerar(b, dir), TituloEtapa(2), "Operador:"),
                  Cp(TituloEtapa(2) + "Início:\t\t\t\t02/03/2026 - 08:01\r\n"
                                "Fim:\t\t\t\t02/03/2026 - 10:30\r\n"
                                "Volume Aplicado:\t\tERRO\r\n"
                                "Área Aplicada:\t\t\tERRO\r\n"
                                "Taxa Média Aplicada (Cálculo):\tERRO\r\n"));
    }
    {
        SCOPED_TRACE("área zero");
        DiretorioTemporario dir;
        NvgBuilder b = Base(9, D_ZAVORO_OPERACAO_PULVERIZACAO);
        b.stCabecalho.ulVolumeAplicado = 100;
        b.stCabecalho.ulTempoTrabalhoEfetivo = 60;
        b.etapas = {Nomeada("A", "B", "C").operacao(D_ZAVORO_OPERACAO_PULVERIZACAO)};
        const std::string szRelatorio = Gerar(b, dir);
        EXPECT_EQ(Entre(szRelatorio, "Volume Aplicado", "Distância Percorrida"),
                  Cp("Volume Aplicado:\t\t100 L\r\n"
                     "Área Aplicada:\t\t\t0,000 ha\r\n"
                     "Taxa Média Aplicada (Cálculo):\t0 L/ha\r\n"));
        EXPECT_NE(szRelatorio.find("Hectares por Hora:\t\t0,000 ha/h\r\n"), std::string::npos);
        EXPECT_NE(szRelatorio.find(Cp("Taxa Média Aplicada (Cálculo):\t0 L/ha\r\n\r\nOperador:")), std::string::npos);
    }
}

// Width, overlap and the settings blocks switch source field with the event version.
TEST(Relatorio, CamposPorVersaoDoEvento)
{
    struct Caso
    {
        std::uint16_t usVersao;
        std::uint8_t ucOperacao;
        const char* pcEsperado; // from the width line to the autopilot
    };
    const Caso casos[] = {
        {4, D_ZAVORO_OPERACAO_ADUBACAO,
         "Largura Implemento:\t\t12,00 m\r\n"
         "Sobreposição:\t\t\t0,30 m\r\n"
         "Distância Antena-Implemento:\t0,0 m\r\n\r\n"
         "Tipo de Taxa:\t\t\tTaxa Fixa\r\n"
         "Taxa Fixa - Dose 1:\t\t0 kg/ha\r\n"
         "Taxa Fixa - Dose 2:\t\t0 kg/ha\r\n\r\n"
         "Tipo Máquina Adubação:\t\tDastra 7000\r\n"
         "Tipo Discos:\t\t\tDesconhecido\r\n"
         "Tipo Conector Encoders:\t\tTipo 1 - Duplo\r\n"
         "Constante de Trabalho:\t\t0,00\r\n"
         "\r\nRotação Mínima Esteira:\t\t0,00 RPM\r\n"
         "Rotação Máxima Esteira:\t\t0,00 RPM\r\n"
         "PPR Encoder Esteira:\t\t0\r\n"
         "\r\nControle de Discos:\t\tDesabilitado\r\n"
         "PPR Encoder Discos:\t\t0\r\n"
         "\r\nCalib. Comporta Esquerda - 0:\t0\r\n"
         "Calib. Comporta Esquerda - 580:\t0\r\n"
         "Calib. Comporta Direita - 0:\t0\r\n"
         "Calib. Comporta Direita - 580:\t0\r\n"},
        // fSobreposicaoImplemento lies in the version-5 padding: the overlap still comes in centimetres.
        {5, D_ZAVORO_OPERACAO_IRRIGACAO,
         "Largura Implemento:\t\t9,2500 m\r\n"
         "Sobreposição:\t\t\t0,30 m\r\n"
         "Distância Antena-Implemento:\t0,0 m\r\n\r\n"},
        {6, D_ZAVORO_OPERACAO_OUTROS,
         "Largura Implemento:\t\t9,2500 m\r\n"
         "Sobreposição:\t\t\t7,1250 m\r\n"
         "Distância Antena-Implemento:\t0,0 m\r\n\r\n"},
    };
    for (const Caso& c : casos)
    {
        SCOPED_TRACE("versão " + std::to_string(c.usVersao));
        DiretorioTemporario dir;
        NvgBuilder b = Base(c.usVersao, c.ucOperacao);
        zavoro_teste::Etapa e = Nomeada("A", "B", "C").operacao(c.ucOperacao);
        e.campo("usLarguraImplemento", 1200).campo("fLarguraImplemento", 9.25).campo("sSobreposicaoImplemento", 30);
        e.campo("fSobreposicaoImplemento", 7.125).campo("ucTipoMaquinaAdub", 2).campo("ucTipoDiscosDastra", 4);
        b.etapas = {e};
        EXPECT_EQ(Entre(Gerar(b, dir), "Largura Implemento", "\r\nTipo Comando Piloto"), Cp(c.pcEsperado));
    }

    // Version 8 keeps the old numbering (stored 5 is irrigation) and lists products in mg/ha.
    DiretorioTemporario dir;
    NvgBuilder b = Base(8, D_ZAVORO_OPERACAO_IRRIGACAO);
    zavoro_teste::Etapa e = Nomeada("A", "B", "C");
    e.campo("ucOperacao", 5).campo("stProdutoUtilizadoPulv[0].ucNomeProduto", "Adubo F").campo("stProdutoUtilizadoPulv[0].usDoseAtual", 7);
    e.campo("stProdutoUtilizadoPulv[1].ucNomeProduto", "Inseticida").campo("stProdutoUtilizadoPulv[1].ucFlagModoMedicao", 2);
    b.etapas = {e};
    const std::string szRelatorio = Gerar(b, dir);
    EXPECT_NE(szRelatorio.find(Cp("Operação:\t\t\tIrrigação\r\n")), std::string::npos);
    EXPECT_EQ(szRelatorio.substr(szRelatorio.find("Entre-eixos")),
              Cp("Entre-eixos:\t\t\t0,000 m\r\n"
                 "\r\nNome do Produto:\t\tAdubo F\r\n"
                 "Dose Mínima:\t\t\t0 mg/ha\r\n"
                 "Dose Máxima:\t\t\t0 mg/ha\r\n"
                 "Dose Utilizada:\t\t\t7 mg/ha\r\n"
                 "\r\nNome do Produto:\t\tInseticida\r\n"
                 "Dose Mínima:\t\t\t0 mg/ha\r\n"
                 "Dose Máxima:\t\t\t0 mg/ha\r\n"
                 "Dose Utilizada:\t\t\t0 mg/ha\r\n"
                 "\r\nProdutos Utilizados:\t\t2 Produtos"));
}

TEST(Relatorio, FalhaNaoDeixaArquivoNemApagaRelatorioAnterior)
{
    DiretorioTemporario dir;
    const std::filesystem::path nvg = dir / "job.nvg";
    const std::filesystem::path txt = dir / "job.txt";
    NvgBuilder bom = NvgBuilder::tipico(9, 5);
    const std::string szAnterior = Gerar(bom, dir);
    ASSERT_FALSE(szAnterior.empty());

    std::vector<NvgBuilder> ruins(4, bom);
    ruins[0].corrupcao.versaoEvento = 10;
    ruins[1].corrupcao.versaoArquivo = 3;
    ruins[2].guias.resize(1);
    ruins[2].guias[0].versaoGravada = 4;
    ruins[3].limites.resize(1);
    ruins[3].limites[0].usVersao = 2;
    for (std::size_t i = 0; i < ruins.size(); i++)
    {
        SCOPED_TRACE("arquivo ruim " + std::to_string(i));
        ruins[i].gravar(nvg);
        std::string szErro;
        EXPECT_FALSE(conversor_CriarRelatoriosNavegacao(nvg.c_str(), txt.c_str(), &szErro));
        EXPECT_FALSE(szErro.empty());
        const std::vector<std::uint8_t> v = lerArquivo(txt);
        EXPECT_EQ(std::string(v.begin(), v.end()), szAnterior);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.caminho()), {}), 2);
    }

    std::string szErro;
    EXPECT_FALSE(conversor_CriarRelatoriosNavegacao((dir / "nao_existe.nvg").c_str(), (dir / "outro.txt").c_str(), &szErro));
    EXPECT_FALSE(szErro.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "outro.txt"));

    // A folder where the report should go: refused, and no temporary left beside it.
    bom.gravar(nvg);
    std::filesystem::create_directory(dir / "pasta.txt");
    EXPECT_FALSE(conversor_CriarRelatoriosNavegacao(nvg.c_str(), (dir / "pasta.txt").c_str(), &szErro));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "pasta.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.caminho()), {}), 3);
}
