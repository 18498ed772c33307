// The "Pontos Relevantes" folder of a map byte for byte (expected folders in
// tests/dados/pontos_relevantes/): stage flags with their tables, and the pause, stop, power and
// temperature marks detected along the track.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "conversor/kml.h"
#include "conversor/textoSaida.h"
#include "support/DadosEsperados.h"
#include "support/NvgBuilder.h"
#include "zavoro/cobertura.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{
constexpr std::uint32_t T0 = D_TESTE_DATA_HORA_2026 + 60 * 86400 + 8 * 3600;
constexpr double kLon0 = -51.93;
constexpr double kLat0 = -24.05;
constexpr std::uint16_t RASTREIO = D_ZAVORO_TAG_PONTO_RASTREAMENTO;

struct Resultado
{
    BOOL bOk = FALSE;
    std::string szKml;
};

Resultado Executar(const NvgBuilder& b)
{
    EventoAberto e = abrirEvento(b);
    ArquivoTemporario pfSaida = arquivoTemporario();
    Resultado r;
    r.bOk = conversor_InserirPtosRelevantesKML(pfSaida.get(), e.pf.get(), b.usVersaoEvento, &e.stCabecalho, kLon0, kLat0);
    r.szKml = conteudo(pfSaida.get());
    return r;
}

NvgBuilder Evento(std::uint16_t usVersao, std::vector<Etapa> etapas)
{
    NvgBuilder b;
    b.usVersaoEvento = usVersao;
    b.stCabecalho.ulDataHoraInicioEvento = T0;
    b.stCabecalho.ulDataHoraFimEvento = T0 + 9000;
    b.etapas = std::move(etapas);
    return b;
}

ST_PontoNVG_v2 P(std::uint32_t ulSeg, float fLeste, std::uint16_t usTag = 0, float fTemperatura = 0.0f)
{
    ST_PontoNVG_v2 p{};
    p.ulSegundosDataHora = T0 + ulSeg;
    p.fLongitudeRelImp = fLeste;
    p.fLatitudeRelImp = 3.0f;
    p.usTag = usTag;
    p.fTemperatura = fTemperatura;
    return p;
}

Etapa ComPontos(std::vector<ST_PontoNVG_v2> pontos, std::uint8_t ucOperacao = D_ZAVORO_OPERACAO_PULVERIZACAO)
{
    Etapa e = etapaTipica(0);
    e.operacao(ucOperacao);
    e.pontos = std::move(pontos);
    return e;
}

// Each case runs in its own event and is compared with tests/dados/pontos_relevantes/<nome>.kml.
struct Caso
{
    const char* pcNome;
    NvgBuilder b;
};

void CompararCasos(std::initializer_list<Caso> vCasos)
{
    for (const Caso& c : vCasos)
    {
        const Resultado r = Executar(c.b);
        EXPECT_TRUE(r.bOk) << c.pcNome;
        EXPECT_TRUE(CompararComDados(std::string("pontos_relevantes/") + c.pcNome + ".kml", r.szKml)) << c.pcNome;
    }
}
} // namespace

TEST(PontosRelevantes, MarcasAoLongoDoEvento)
{
    const auto ancora = P(0, 0, RASTREIO);
    const auto retorno = P(120, 1, D_ZAVORO_TAG_RETORNO_ENERGIA);
    const std::vector<ST_PontoNVG_v2> vTemperaturas = {P(0, 0, RASTREIO, 50.0f), P(10, 5, 0, 45.5f), P(20, 6, 0, 60.0f),
                                                       P(30, 7, 0, 0.0f), P(-5, 8, 0, 70.0f) /* before the event */};
    CompararCasos({
        // Pauses numbered along the event, each flag before its marks; the second has no time in pause.
        {"pausas", Evento(9, {ComPontos({P(0, 0), P(10, 5, D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_INICIO),
                                         P(105, 6, D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_FIM)}),
                              ComPontos({P(500, 50, D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_INICIO),
                                         P(500, 50, D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_FIM)})})},
        // Standing for 400 s, then a point 12 m away: one stop at the anchor, timed up to that point.
        {"parada_afastou", Evento(9, {ComPontos({ancora, P(100, 2, RASTREIO), P(350, 5, RASTREIO),
                                                 P(400, 12, RASTREIO), P(410, 30, RASTREIO)})})},
        // Exactly 300 s past the anchor does not count, 301 s does.
        {"parada_300s", Evento(9, {ComPontos({ancora, P(300, 5, RASTREIO), P(300, 15, RASTREIO)})})},
        {"parada_301s", Evento(9, {ComPontos({ancora, P(301, 5, RASTREIO), P(301, 15, RASTREIO)})})},
        // Last point only 8 m away: marked when the stage ends, timed to the last point read.
        {"parada_fim_da_etapa",
         Evento(9, {ComPontos({ancora, P(400, 5, RASTREIO), P(450, 8, RASTREIO)}), ComPontos({P(460, 9)})})},
        // Points without satellites do not count; a clock that went back leaves the time unknown.
        {"parada_sem_satelites", Evento(9, {ComPontos({ancora, P(400, 15, RASTREIO | D_ZAVORO_TAG_SEM_SATELITES)})})},
        {"parada_relogio_voltou", Evento(9, {ComPontos({ancora, P(400, 5, RASTREIO), P(100, 12, RASTREIO)})})},
        // Nothing stops while a pause is open.
        {"parada_durante_pausa",
         Evento(9, {ComPontos({P(0, 0, RASTREIO | D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_INICIO), P(100, 0, RASTREIO),
                               P(400, 5, RASTREIO), P(500, 15, RASTREIO)})})},
        // Power returns; the time off is known only with a point before the return.
        {"retorno_de_energia",
         Evento(9, {ComPontos({retorno}), ComPontos({P(0, 0), retorno, P(120, 2, D_ZAVORO_TAG_RETORNO_ENERGIA)})})},
        // Temperatures from version 8 on only.
        {"temperaturas_v8", Evento(8, {ComPontos(vTemperaturas)})},
        {"temperaturas_v7", Evento(7, {ComPontos(vTemperaturas)})},
    });
}

TEST(PontosRelevantes, TabelaDaBandeiraPorVersaoEOperacao)
{
    Etapa e = ComPontos({P(60, 10), P(70, 20)});
    e.campo("ucNumeroSecoes", 3).campo("usTamanhoSeccao[0]", 250).campo("usTamanhoSeccao[2]", 250);
    e.campo("usTaxaAplicacao2", 2005).campo("usVazaoBico", 15).campo("usPressaoBico", 30);
    e.campo("usTempoAberturaValvulaSecao", 5).campo("usTempoFechamentoValvulaSecao", 12);
    e.campo("usConstanteFluxometro", 600).campo("fSobreposicaoImplemento", 0.125f);
    e.campo("ucModoDemonstracao", 1).campo("ucTipoComando", 2).campo("ucAgressividade", 7);
    e.campo("ucFatorHidraulico", 2);
    NvgBuilder bPulverizacao = Evento(9, {e});
    bPulverizacao.stCabecalho.fAreaCobertura = 2.5f;
    bPulverizacao.stCabecalho.ulVolumeAplicado = 300;

    // Version 4 fertilising on a variable rate (operation stored in the old numbering), names escaped.
    e = ComPontos({P(0, 0)}, D_ZAVORO_OPERACAO_ADUBACAO);
    e.campo("ucTipoTaxa", 1).campo("szMapaTrabalho", "Mapa <A>").campo("szParametroMapa", "P&K");
    e.campo("fAreaMapa", 12.34f).campo("ucTipoMaquinaAdub", 1).campo("dConstanteTrabalhoAdub[0]", 1.5);
    e.campo("sDistImplemento", 15).campo("sSobreposicaoImplemento", -25);
    NvgBuilder bTaxaVariavel = Evento(4, {e});
    bTaxaVariavel.stCabecalho.ulVolumeAplicado = 1000;

    // Version 3 fertilising on a fixed rate: doses and the belt constant.
    e = ComPontos({P(0, 0)}, D_ZAVORO_OPERACAO_ADUBACAO);
    e.campo("ulTaxaFixa1", 200).campo("ulTaxaFixa2", 250).campo("fConstanteEsteira", 3.456f);
    const NvgBuilder bTaxaFixa = Evento(3, {e});

    // Harvest: neither quantity, rate, nor either machine block.
    e = ComPontos({P(0, 0)}, D_ZAVORO_OPERACAO_COLHEITA);
    e.campo("sDistImplemento", 0);
    const NvgBuilder bColheita = Evento(9, {e});

    // Fertilising quantity takes the high byte of the sections word.
    ST_PontoNVG_v2 p = P(10, 1);
    p.usVolumeAplicado = 0x1000;
    p.usSecoes = 0x0200;
    const NvgBuilder bByteAlto = Evento(9, {ComPontos({p}, D_ZAVORO_OPERACAO_ADUBACAO), ComPontos({P(20, 2)})});

    // Stage totals chain from one stage to the next: a stage without area has rate 0, quantity and
    // area going down give errors, a stage without points has no flag, and the last stage ends with
    // the event header, not with its points.
    auto Q = [](std::uint32_t s, float fArea, std::uint16_t usVolume) {
        ST_PontoNVG_v2 q = P(s, static_cast<float>(s));
        q.fAreaCobertura = fArea;
        q.usVolumeAplicado = usVolume;
        return q;
    };
    NvgBuilder bTotais = Evento(9, {ComPontos({Q(0, 0.0f, 0), Q(10, 1.0f, 100)}), ComPontos({Q(20, 1.0f, 120)}),
                                    ComPontos({Q(30, 1.5f, 50), Q(35, 0.5f, 40)}), ComPontos({}),
                                    ComPontos({Q(50, 2.5f, 250), Q(60, 2.75f, 260)}), ComPontos({Q(70, 3.0f, 300)})});
    bTotais.stCabecalho.fAreaCobertura = 4.0f;
    bTotais.stCabecalho.ulVolumeAplicado = 400;

    CompararCasos({
        {"etapa_completa_pulverizacao", bPulverizacao},
        // Version 1: only the basic rows, plus the sections for spraying.
        {"tabela_v1", Evento(1, {ComPontos({P(0, 0)})})},
        {"tabela_v4_adubacao_taxa_variavel", bTaxaVariavel},
        {"tabela_v3_adubacao_taxa_fixa", bTaxaFixa},
        {"tabela_v9_colheita", bColheita},
        {"adubacao_byte_alto_das_secoes", bByteAlto},
        {"totais_encadeados", bTotais},
    });
}

TEST(PontosRelevantes, MilharesDeTemperaturasEmOrdemEntreAsOutrasMarcas)
{
    // A sensor marks nearly every point: megabytes of marks, with a pause and a second
    // stage among them. Every mark in the order of its point, each flag before its stage's marks.
    constexpr int kPontos = 5000, kPausa = 2100;
    std::vector<ST_PontoNVG_v2> vPontos = {P(0, 0, RASTREIO)};
    for (int i = 1; i < kPontos; i++)
        vPontos.push_back(P(static_cast<std::uint32_t>(i), 2.0f + 0.5f * static_cast<float>(i),
                            i == kPausa ? D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_INICIO : 0,
                            30.0f + static_cast<float>(i % 3)));
    NvgBuilder b = Evento(9, {ComPontos(vPontos), ComPontos({P(kPontos, 900, 0, 31.0f), P(kPontos + 1, 901, 0, 31.0f)})});
    const Resultado r = Executar(b);
    ASSERT_TRUE(r.bOk);
    ASSERT_GT(r.szKml.size(), 1u << 20); // more than one batch of marks
    // The placemarks in file order, one letter each: flag, temperature, pause.
    std::string szOrdem;
    for (std::size_t pos = r.szKml.find("<Placemark>"); pos != std::string::npos; pos = r.szKml.find("<Placemark>", pos + 1))
    {
        const std::string_view sz = std::string_view(r.szKml).substr(pos, 200);
        szOrdem += sz.find("<name>Etapa") != std::string_view::npos        ? 'E'
                   : sz.find("Ponto de Temperatura") != std::string_view::npos ? 'T'
                   : sz.find("Ponto de Pausa") != std::string_view::npos       ? 'P'
                                                                               : '?';
    }
    // Temperature marks, also on the paused point, after the pause's mark.
    const std::string szEsperado = "E" + std::string(kPausa - 1, 'T') + "P" + std::string(kPontos - kPausa, 'T') + "ETT";
    EXPECT_EQ(szOrdem, szEsperado);
    // Each mark with its own point's reading, repeated readings too, and its stage after it.
    std::string szLeituras, szEsperadas;
    for (std::size_t pos = r.szKml.find("Temperatura: "); pos != std::string::npos; pos = r.szKml.find("Temperatura: ", pos + 1))
        szLeituras += r.szKml.substr(pos + 13, 5) + r.szKml.substr(pos + 18, 29) + " ";
    for (int i = 1; i < kPontos; i++)
        szEsperadas += std::to_string(30 + i % 3) + ".00<br/>\nEtapa de navegação: 1 ";
    EXPECT_EQ(szLeituras,
              szEsperadas + "31.00<br/>\nEtapa de navegação: 2 31.00<br/>\nEtapa de navegação: 2 ");
    EXPECT_EQ(r.szKml.substr(r.szKml.size() - 10), "</Folder>\n");

    // The second stage cut short: the first stage's marks are all written, the folder is not closed.
    b.corrupcao.bytesFaltandoEvento = 10;
    const Resultado rCortado = Executar(b);
    EXPECT_FALSE(rCortado.bOk);
    EXPECT_EQ(rCortado.szKml, r.szKml.substr(0, r.szKml.find("<Placemark><visibility>1</visibility><name>Etapa 2")));
}

// A stage's end and totals are those of its last points at or after its start and at or over the
// totals it began with, read back from its end: thousands of points after them that do not count,
// across several blocks, the latest match within a block winning.
TEST(PontosRelevantes, FimETotaisDaEtapaPelosSeusUltimosPontos)
{
    auto Q = [](std::uint32_t s, float fArea, std::uint16_t usVolume)
    {
        ST_PontoNVG_v2 q = P(s, 0.0f);
        q.fAreaCobertura = fArea;
        q.usVolumeAplicado = usVolume;
        return q;
    };
    // Stage 2 starts at +1000 s after 1.0 ha and 100 L; its other points are older, smaller or both.
    std::vector<ST_PontoNVG_v2> vPontos = {Q(1000, 1.5f, 150)};
    for (int i = 1; i < 5000; i++)
    {
        // Matches at 3900 (time), 2400 and 2500 (area), 500 and 1200 (quantity); the last of each counts.
        const std::uint32_t ulSegundos = i == 3900 ? 8200 : 500;
        const float fArea = i == 2500 ? 2.25f : (i == 2400 ? 2.0f : 0.5f);
        const std::uint16_t usVolume = i == 1200 ? 180 : (i == 500 ? 170 : 60);
        vPontos.push_back(Q(ulSegundos, fArea, usVolume));
    }
    NvgBuilder b = Evento(9, {ComPontos({Q(0, 0.0f, 0), Q(10, 1.0f, 100)}), ComPontos(vPontos),
                              ComPontos({Q(9000, 3.0f, 300)})});
    b.stCabecalho.fAreaCobertura = 4.0f;
    b.stCabecalho.ulVolumeAplicado = 400;
    const Resultado r = Executar(b);
    ASSERT_TRUE(r.bOk);

    auto Valor = [&](int iEtapa, const std::string& szRotulo)
    {
        std::size_t pos = r.szKml.find("<name>Etapa " + std::to_string(iEtapa) + "</name>");
        pos = r.szKml.find(szRotulo + "</td>", pos);
        pos = r.szKml.find('>', r.szKml.find("<td", pos)) + 1;
        return r.szKml.substr(pos, r.szKml.find("</td>", pos) - pos);
    };
    std::string szFim;
    conversor_AnexarData(szFim, T0 + 8200);
    EXPECT_EQ(Valor(2, "Fim Etapa"), szFim);
    EXPECT_EQ(Valor(2, "Volume Aplicado Etapa"), "80 L");
    EXPECT_EQ(Valor(2, "Área Aplicada Etapa"), "1,250 ha");
    // The last stage starts from those totals.
    EXPECT_EQ(Valor(3, "Volume Aplicado Etapa"), "220 L");
    EXPECT_EQ(Valor(3, "Área Aplicada Etapa"), "1,750 ha");
}

TEST(PontosRelevantes, FalhasDeLeituraEContagemExcessiva)
{
    NvgBuilder b = Evento(9, {ComPontos({P(0, 0), P(1, 1)}), ComPontos({P(2, 2), P(3, 3)})});
    b.corrupcao.bytesFaltandoEvento = 10;
    Resultado r = Executar(b);
    EXPECT_FALSE(r.bOk);
    EXPECT_EQ(r.szKml.find("</Folder>"), std::string::npos);
    EXPECT_EQ(r.szKml.find("<name>Etapa 2</name>"), std::string::npos); // nothing of the failing stage

    b = Evento(9, {ComPontos({P(0, 0)})});
    b.etapas[0].numeroPontosGravado = D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO + 1;
    r = Executar(b);
    EXPECT_FALSE(r.bOk);
    EXPECT_EQ(r.szKml.find("<Placemark>"), std::string::npos);
}
