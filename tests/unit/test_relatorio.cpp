// The work report byte for byte (expected reports in tests/dados/relatorio/): general data, guides and
// boundaries, the stage blocks of every operation and of the event versions where the printed settings
// change, values out of range; plus the failures that must leave no report behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "support/DadosEsperados.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/conversor.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{
// 02/03/2026 - 08:00.
constexpr std::uint32_t kT0 = D_TESTE_DATA_HORA_2026 + 60 * 86400 + 8 * 3600;

// Field and header of every case: event from 08:00 to 10:30, with the header totals given: quantity,
// area, distance in metres, work and effective seconds.
NvgBuilder Base(std::uint16_t usVersao, std::uint8_t ucOperacao, std::uint32_t ulQuantidade = 0, float fArea = 0.0f,
                float fDistancia = 0.0f, std::uint32_t ulTempo = 0, std::uint32_t ulTempoEfetivo = 0)
{
    NvgBuilder b;
    b.usVersaoEvento = usVersao;
    b.operacao(ucOperacao);
    b.stTalhao.ulDataHoraInicio = kT0 - 3600;
    b.stCabecalho.ulDataHoraInicioEvento = kT0;
    b.stCabecalho.ulDataHoraFimEvento = kT0 + 9000;
    b.stCabecalho.ulVolumeAplicado = ulQuantidade;
    b.stCabecalho.fAreaCobertura = fArea;
    b.stCabecalho.fDistanciaPercorridaEvento = fDistancia;
    b.stCabecalho.ulTempoTrabalho = ulTempo;
    b.stCabecalho.ulTempoTrabalhoEfetivo = ulTempoEfetivo;
    return b;
}

ST_PontoNVG_v2 Ponto(std::uint32_t ulSegundos, float fArea, std::uint16_t usVolume, std::uint16_t usSecoes = 0)
{
    ST_PontoNVG_v2 p = pontoTipico(0);
    p.ulSegundosDataHora = kT0 + ulSegundos;
    p.fAreaCobertura = fArea;
    p.usVolumeAplicado = usVolume;
    p.usSecoes = usSecoes;
    return p;
}

// A stage of one point a minute into the event, with its names and operation.
Etapa Nomeada(const char* pcOperador, const char* pcMaquina, const char* pcCultura, std::uint8_t ucOperacao)
{
    Etapa e;
    e.campo("szOperador", pcOperador).campo("szMaquina", pcMaquina).campo("szCultura", pcCultura);
    e.operacao(ucOperacao);
    e.pontos.push_back(Ponto(60, 0.0f, 0));
    return e;
}

// An event of one plain stage, with the header's quantity, area and effective seconds.
NvgBuilder UmaEtapa(std::uint16_t usVersao, std::uint8_t ucOperacao, std::uint32_t ulQuantidade = 0, float fArea = 0.0f,
                    std::uint32_t ulTempoEfetivo = 0)
{
    NvgBuilder b = Base(usVersao, ucOperacao, ulQuantidade, fArea, 0.0f, 0, ulTempoEfetivo);
    b.etapas = {Nomeada("A", "B", "C", ucOperacao)};
    return b;
}

// The same width and overlap fields set both ways, for the versions where their source changes.
NvgBuilder VersaoComLarguras(std::uint16_t usVersao, std::uint8_t ucOperacao)
{
    NvgBuilder b = UmaEtapa(usVersao, ucOperacao);
    b.etapas[0].campo("usLarguraImplemento", 1200).campo("fLarguraImplemento", 9.25).campo("sSobreposicaoImplemento", 30);
    b.etapas[0].campo("fSobreposicaoImplemento", 7.125).campo("ucTipoMaquinaAdub", 2).campo("ucTipoDiscosDastra", 4);
    return b;
}

std::string Gerar(const NvgBuilder& b, const DiretorioTemporario& dir)
{
    const std::filesystem::path nvg = dir / "job.nvg";
    const std::filesystem::path txt = dir / "job.txt";
    b.gravar(nvg);
    std::string szErro;
    EXPECT_TRUE(conversor_CriarRelatoriosNavegacao(nvg.string().c_str(), txt.string().c_str(), &szErro)) << szErro;
    return lerTexto(txt);
}

// tests/dados/relatorio/<nome>.txt and the file it is the report of.
const std::pair<const char*, std::function<NvgBuilder()>> kCasos[] = {
    // Three guide layouts (the first without a type of its own takes the field's), two boundaries, the
    // demonstration flag and the spraying products, of which a short name ends the list.
    {"pulverizacao_v9_guias_limites_produtos",
     [] {
         NvgBuilder b = Base(9, D_ZAVORO_OPERACAO_PULVERIZACAO, 500, 2.5f, 1234.5f, 5400, 3600);
         b.stTalhao.ucTipoGuia = D_ZAVORO_TIPO_GUIA_CURVA;
         Guia g1;
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

         Etapa e = Nomeada("José Pereira", "Pulverizador 2.500", "Soja", D_ZAVORO_OPERACAO_PULVERIZACAO);
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
         e.campo("stProdutoUtilizadoPulv[0].ucNomeProduto", "Glifosato X").campo("stProdutoUtilizadoPulv[0].ucFlagModoMedicao", 1);
         e.campo("stProdutoUtilizadoPulv[0].usDoseMinima", 100).campo("stProdutoUtilizadoPulv[0].usDoseMaxima", 500);
         e.campo("stProdutoUtilizadoPulv[0].usDoseAtual", 300);
         e.campo("stProdutoUtilizadoPulv[1].ucNomeProduto", "Milho").campo("stProdutoUtilizadoPulv[2].ucNomeProduto", "Atrazina 500");
         b.etapas = {e};
         return b;
     }},
    // Container without boundaries, ten guides (the tenth label one tab shorter), a harvest that prints
    // no quantity, and a work time over a day.
    {"colheita_sem_limites_dez_guias",
     [] {
         NvgBuilder b = Base(9, D_ZAVORO_OPERACAO_COLHEITA, 777, 12.3456f, 0.0f, 90061);
         b.uiVersaoArquivo = D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_SEM_LIMITES;
         b.guias.resize(10);
         b.etapas = {Nomeada("Ana", "Colhedora", "Milho", D_ZAVORO_OPERACAO_COLHEITA).campo("fLarguraImplemento", 9.0)};
         return b;
     }},
    // Stored operation 4 of a version-7 event is fertilising, 1 is harvest. The first stage takes its
    // totals from its points (the high byte of the sections carrying quantity bits), the last from the
    // header; the Dastra 1600 prints none of the other machines' settings.
    {"adubacao_v7_dastra_duas_etapas",
     [] {
         NvgBuilder b = Base(7, D_ZAVORO_OPERACAO_ADUBACAO, 100000, 4.0f, 2000.0f, 7200, 7200);
         b.ucUltOperacaoAtual.reset();
         b.stCabecalho.ucUltOperacao = 4;
         Etapa e1 = Nomeada("Carlos", "Dastra", "Soja", D_ZAVORO_OPERACAO_ADUBACAO);
         e1.pontos = {Ponto(600, 0.5f, 200), Ponto(3600, 1.75f, 4464, 0x01FF)};
         e1.campo("fLarguraImplemento", 18.0).campo("fSobreposicaoImplemento", 0.5).campo("sDistImplemento", -15);
         e1.campo("ucTipoTaxa", 0).campo("ulTaxaFixa1", 250).campo("ulTaxaFixa2", 300);
         e1.campo("ucTipoMaquinaAdub", 1).campo("ucTipoDiscosDastra", 2).campo("dConstanteTrabalhoAdub[0]", 123.456);
         e1.campo("ulADComportaDastra_0_Adub[0]", 100).campo("ulADComportaDastra_0_Adub[1]", 110);
         e1.campo("ulADComportaDastra_580_Adub[0]", 3000).campo("ulADComportaDastra_580_Adub[1]", 3100);
         e1.campo("ucTipoModuloAdub", 1).campo("ucConectorEncodersAdub", 1).campo("ucBalancaInstalada", 1);
         e1.campo("ucControlarDisco", 1).campo("usNumPPREncoderMotorAdub[0]", 360);
         e1.campo("ucTipoComando", 3).campo("ucAgressividade", 5).campo("ucFatorHidraulico", 1).campo("ulEntreEixosX1000", 3000);
         Etapa e2 = e1;
         e1.campo("ucOperacao", 4);
         e2.campo("ucOperacao", 1);
         e2.pontos = {Ponto(4200, 2.0f, 5)};
         b.etapas = {e1, e2};
         return b;
     }},
    // Variable rate from a map, encoders, discs and scale; nothing applied on no area gives rates of
    // 0, not a division.
    {"adubacao_v7_lanco_taxa_variavel_balanca",
     [] {
         NvgBuilder b = Base(7, D_ZAVORO_OPERACAO_ADUBACAO);
         Etapa e = Nomeada("Rui", "Lanço", "Café", D_ZAVORO_OPERACAO_ADUBACAO);
         e.campo("fLarguraImplemento", 24.0);
         e.campo("ucTipoTaxa", 1).campo("szMapaTrabalho", "Mapa Norte").campo("szParametroMapa", "Dose_KCl");
         e.campo("fAreaMapa", 35.3).campo("ucTipoModuloAdub", 1).campo("ucConectorEncodersAdub", 1);
         e.campo("dConstanteTrabalhoAdub[0]", 2.5).campo("fMinRotacaoMotorAdub[0]", 10.5).campo("fMaxRotacaoMotorAdub[0]", 120.25);
         e.campo("usNumPPREncoderMotorAdub[0]", 360).campo("ucControlarDisco", 1).campo("fMinRotacaoMotorAdub[5]", 300.0);
         e.campo("fMaxRotacaoMotorAdub[5]", 900.75).campo("usNumPPREncoderMotorAdub[5]", 60);
         e.campo("ucBalancaInstalada", 1).campo("ucUtilizarBalanca", 1).campo("fCorrecaoBalanca", 1.05);
         e.campo("ucTipoDiscosDastra", 1).campo("ulADComportaDastra_0_Adub[0]", 5); // Dastra only
         b.etapas = {e};
         return b;
     }},
    // The single-belt block of version 3: width and overlap in centimetres, antenna ahead.
    {"adubacao_v3_esteira_unica",
     [] {
         NvgBuilder b = Base(3, D_ZAVORO_OPERACAO_ADUBACAO, 900, 3.0f, 1500.0f, 3600, 3600);
         Etapa e = Nomeada("Rui", "Lanço", "Café", D_ZAVORO_OPERACAO_ADUBACAO);
         e.campo("ucModoDemonstracao", 2);
         e.campo("usLarguraImplemento", 1250).campo("sSobreposicaoImplemento", -50).campo("sDistImplemento", 25);
         e.campo("ucTipoTaxa", 0).campo("ulTaxaFixa1", 100);
         e.campo("fMinRotacaoEsteira", 5.5).campo("fMaxRotacaoEsteira", 80.0).campo("usNumDentesEncoderEsteira", 20);
         e.campo("usNumDentesEncoderDisco", 12).campo("ucModeloValvula", 1).campo("fConstanteEsteira", 10.75);
         e.campo("ucTempoCalibracao", 3).campo("ucBalancaInstalada", 2).campo("ucUtilizarBalanca", 0);
         e.campo("fCorrecaoBalanca", 0.98).campo("ucAgressividade", 9);
         b.etapas = {e};
         return b;
     }},
    // Planting sections and rows; the sprayer's sections are not printed.
    {"plantio_v7",
     [] {
         NvgBuilder b = Base(7, D_ZAVORO_OPERACAO_PLANTIO, 0, 5.0f);
         Etapa e = Nomeada("Beto", "Plantadeira", "Milho", D_ZAVORO_OPERACAO_PLANTIO);
         e.campo("fLarguraImplemento", 5.4).campo("ucNumeroSecoes", 2).campo("usTamanhoSeccao[0]", 270);
         e.campo("ucNumeroSecoesPlantio", 4).campo("usTamanhoSeccaoPlantio[0]", 50).campo("usTamanhoSeccaoPlantio[1]", 45);
         e.campo("usTamanhoSeccaoPlantio[2]", 45).campo("usTamanhoSeccaoPlantio[3]", 55);
         e.campo("usNumeroLinhasPlantio", 12).campo("usEspacamentoLinhasPlantio", 45);
         e.campo("usTempoAberturaValvulaSecaoPlantio", 3).campo("usTempoFechamentoValvulaSecaoPlantio", 12);
         e.campo("sDistAduboSementePlantio", -12);
         b.etapas = {e};
         return b;
     }},
    // The oldest block: no stage volume or rate, overlap, antenna distance, nozzles or autopilot,
    // whatever the fields past it hold.
    {"pulverizacao_v1",
     [] {
         NvgBuilder b = Base(1, D_ZAVORO_OPERACAO_PULVERIZACAO, 500, 2.5f);
         Etapa e = Nomeada("Ana", "Pulverizador", "Trigo", D_ZAVORO_OPERACAO_PULVERIZACAO);
         e.campo("usLarguraImplemento", 2700).campo("ucNumeroSecoes", 2);
         e.campo("usTamanhoSeccao[0]", 1350).campo("usTamanhoSeccao[1]", 1350);
         e.campo("ucModoDemonstracao", 1).campo("usNumeroBicos", 54).campo("ucAgressividade", 3);
         b.etapas = {e};
         return b;
     }},
    // A stage without points has no start time: it is left out, the numbering stays continuous, and
    // the next stage starts from its zero totals. A quantity with bit 15 set counts double.
    {"etapa_sem_pontos_v2",
     [] {
         NvgBuilder b = Base(2, D_ZAVORO_OPERACAO_PULVERIZACAO, 500, 2.5f);
         Etapa e1 = Nomeada("Ana", "P", "T", D_ZAVORO_OPERACAO_PULVERIZACAO);
         e1.pontos = {Ponto(60, 0.2f, 30), Ponto(1800, 1.0f, 0x8000 | 75)};
         Etapa e2 = e1, e3 = e1;
         e2.pontos.clear();
         e3.pontos = {Ponto(3600, 2.4f, 490)};
         b.etapas = {e1, e2, e3};
         return b;
     }},
    {"erro_totais_do_evento", [] { return UmaEtapa(9, D_ZAVORO_OPERACAO_PULVERIZACAO, 10000000, 1000000.0f); }},
    {"erro_carga_acima_do_limite", [] { return UmaEtapa(9, D_ZAVORO_OPERACAO_ADUBACAO, 1000000000, 2.0f); }},
    // The last stage's totals come from the header even when the points went further.
    {"erro_etapa_menor_que_a_anterior",
     [] {
         NvgBuilder b = Base(9, D_ZAVORO_OPERACAO_PULVERIZACAO, 500, 2.5f);
         Etapa e = Nomeada("A", "B", "C", D_ZAVORO_OPERACAO_PULVERIZACAO);
         e.pontos = {Ponto(60, 3.0f, 0x8000 | 400)};
         b.etapas = {e, e};
         return b;
     }},
    {"area_zero", [] { return UmaEtapa(9, D_ZAVORO_OPERACAO_PULVERIZACAO, 100, 0.0f, 60); }},
    // Width, overlap and settings blocks switch source field with the event version: version 4 has
    // them in centimetres, version 5 too (its fSobreposicaoImplemento lies in padding), version 6 not.
    {"adubacao_v4", [] { return VersaoComLarguras(4, D_ZAVORO_OPERACAO_ADUBACAO); }},
    {"irrigacao_v5", [] { return VersaoComLarguras(5, D_ZAVORO_OPERACAO_IRRIGACAO); }},
    {"outros_v6", [] { return VersaoComLarguras(6, D_ZAVORO_OPERACAO_OUTROS); }},
    // Version 8 keeps the old numbering (stored 5 is irrigation) and lists products in mg/ha.
    {"irrigacao_v8_produtos",
     [] {
         NvgBuilder b = Base(8, D_ZAVORO_OPERACAO_IRRIGACAO);
         Etapa e = Nomeada("A", "B", "C", D_ZAVORO_OPERACAO_IRRIGACAO);
         e.campo("ucOperacao", 5).campo("stProdutoUtilizadoPulv[0].ucNomeProduto", "Adubo F");
         e.campo("stProdutoUtilizadoPulv[0].usDoseAtual", 7).campo("stProdutoUtilizadoPulv[1].ucNomeProduto", "Inseticida");
         e.campo("stProdutoUtilizadoPulv[1].ucFlagModoMedicao", 2);
         b.etapas = {e};
         return b;
     }},
};

} // namespace

TEST(Relatorio, ConfereComOsDados)
{
    DiretorioTemporario dir;
    for (const auto& [pcNome, fnArquivo] : kCasos)
        EXPECT_TRUE(CompararComDados(std::string("relatorio/") + pcNome + ".txt", Gerar(fnArquivo(), dir))) << pcNome;
}

TEST(Relatorio, FalhaNaoDeixaArquivoNemApagaRelatorioAnterior)
{
    DiretorioTemporario dir;
    const std::filesystem::path nvg = dir / "job.nvg";
    const std::filesystem::path txt = dir / "job.txt";
    NvgBuilder b = NvgBuilder::tipico(9, 5);
    const std::string szAnterior = Gerar(b, dir);
    ASSERT_FALSE(szAnterior.empty());

    // A file the walk refuses (every refusal takes this one way out): an event version with no layout.
    b.corrupcao.versaoEvento = 10;
    b.gravar(nvg);
    std::string szErro;
    EXPECT_FALSE(conversor_CriarRelatoriosNavegacao(nvg.string().c_str(), txt.string().c_str(), &szErro));
    EXPECT_FALSE(szErro.empty());
    EXPECT_EQ(lerArquivo(txt), std::vector<std::uint8_t>(szAnterior.begin(), szAnterior.end()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.caminho()), {}), 2);

    szErro.clear();
    EXPECT_FALSE(conversor_CriarRelatoriosNavegacao((dir / "nao_existe.nvg").string().c_str(), (dir / "outro.txt").string().c_str(), &szErro));
    EXPECT_FALSE(szErro.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "outro.txt"));
}
