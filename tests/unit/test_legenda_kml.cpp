// The legend of a KML map byte for byte (expected descriptions in tests/dados/legenda_kml/): the data
// rows and their numbering by operation and limits, the three forms of the colour key (the last row) by
// map type and by what the map shows, and escaped names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "conversor/kml.h"
#include "support/DadosEsperados.h"
#include "support/NvgBuilder.h"

using namespace zavoro_teste;

namespace
{
// 02/03/2026 - 08:00.
constexpr std::uint32_t T0 = D_TESTE_DATA_HORA_2026 + 60 * 86400 + 8 * 3600;

template <std::size_t N>
ST_ParametrosMapa ComFaixas(const ST_LegendaMapa (&stFaixas)[N])
{
    ST_ParametrosMapa st;
    std::memcpy(st.gstLegendaMapa, stFaixas, sizeof stFaixas);
    return st;
}

// The bands that the window builds from its default rate targets.
ST_ParametrosMapa ParametrosTaxaPadrao()
{
    const ST_LegendaMapa stFaixas[] = {{1, 75, 0, 0},    {76, 125, 1, 1},  {126, 175, 2, 2},
                                       {176, 225, 3, 3}, {226, 300, 4, 4}, {301, 50000, 5, 5}};
    return ComFaixas(stFaixas);
}

struct Evento
{
    ST_Talhao stTalhao{};
    ST_EventoCabecalho stEvt{};
};

// Event from 08:00 to 10:30: 500 units over 2.5 ha, 1234.5 m, 1h30 of work of which 1h effective.
Evento NovoEvento(std::uint8_t ucOperacao, std::uint32_t ulQuantidade = 500, float fArea = 2.5f)
{
    Evento e;
    texto(e.stTalhao.szNomeTalhao, "Talhão Sede");
    texto(e.stEvt.szNomeEvento, "Aplicação Soja");
    e.stEvt.ulDataHoraInicioEvento = T0;
    e.stEvt.ulDataHoraFimEvento = T0 + 9000;
    e.stEvt.ulVolumeAplicado = ulQuantidade;
    e.stEvt.fAreaCobertura = fArea;
    e.stEvt.fDistanciaPercorridaEvento = 1234.5f;
    e.stEvt.ulTempoTrabalho = 5400;
    e.stEvt.ulTempoTrabalhoEfetivo = 3600;
    e.stEvt.ucUltOperacao = ucOperacao;
    return e;
}

std::string Descricao(const Evento& e, int iTipoMapa, BOOL bPulv, BOOL bAdub, const ST_ParametrosMapa& st)
{
    ArquivoTemporario pf = arquivoTemporario();
    conversor_InserirLegendaKML(pf.get(), &e.stTalhao, &e.stEvt, iTipoMapa, bPulv, bAdub, &st);
    return conteudo(pf.get());
}
} // namespace

TEST(LegendaKml, ChaveDeCoresPorTipoDeMapa)
{
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();
    // Two targets (slots 0 and 3), then a one-value band; the last band reads "above" the one before.
    const ST_LegendaMapa stAdub[] = {{1, 100, 0, 0}, {101, 200, 1, 3}, {201, 201, 2, 4}, {202, 50000, 5, 5}};
    // Speed, whatever the flags: a band of an unknown colour gets the purple swatch, and the list stops
    // at the first band that is not in use.
    const ST_LegendaMapa stVel[] = {{1, 5, 0, 0}, {6, 10, 9, 1}, {11, 110, 5, 5}, {0, 0, 0, 0}, {7, 8, 1, 1}};
    // Recommendation maps always list thirteen rows, values above 2^31 unsigned.
    ST_ParametrosMapa stRec = st;
    const std::uint32_t ulLinhas[][2] = {{10, 99}, {100, 3000000000u}};
    std::memcpy(stRec.gstShpLegendaMapa.ulValorLegenda, ulLinhas, sizeof ulLinhas);
    stRec.gstShpLegendaMapa.ucNumLinhasLegenda = 2;

    struct Caso
    {
        const char* pcNome; // tests/dados/legenda_kml/<nome>.html
        int iTipoMapa;
        BOOL bPulv, bAdub;
        ST_ParametrosMapa st;
    };
    const Caso vCasos[] = {
        {"cobertura_pulverizacao", D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, FALSE, st},
        // Spraying wins when both are set.
        {"cobertura_pulverizacao", D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, TRUE, st},
        {"cobertura_adubacao", D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, TRUE, ComFaixas(stAdub)},
        {"velocidade", D_CONVERSOR_TIPO_MAPA_VELOCIDADE, FALSE, FALSE, ComFaixas(stVel)},
        // A map without rates shows the whole coverage in one colour.
        {"cobertura_sem_taxa", D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, FALSE, st},
        {"recomendacao_pulverizacao", D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, TRUE, FALSE, stRec},
        {"recomendacao_adubacao", D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, FALSE, TRUE, stRec},
        {"recomendacao_sem_taxa", D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, FALSE, FALSE, stRec},
    };
    for (const Caso& c : vCasos)
    {
        const Evento e = NovoEvento(D_ZAVORO_OPERACAO_PULVERIZACAO);
        EXPECT_TRUE(CompararComDados(std::string("legenda_kml/") + c.pcNome + ".html",
                                     Descricao(e, c.iTipoMapa, c.bPulv, c.bAdub, c.st)))
            << c.pcNome << " " << c.bAdub;
    }
}

TEST(LegendaKml, LinhasDeQuantidadeETaxaPorOperacaoELimite)
{
    struct Caso
    {
        const char* pcNome;
        Evento e;
    };
    Caso vCasos[] = {
        // Harvest: no quantity and no rate row, so the rows after them move up and change colour.
        {"colheita", NovoEvento(D_ZAVORO_OPERACAO_COLHEITA)},
        // Fertilising stored by an older console under code 4, as the map driver hands it over.
        {"adubacao_codigo_antigo", NovoEvento(zavoro_TraduzirOperacao(4, 8), 1234567, 0.0f)},
        {"pulverizacao_volume_acima_do_limite", NovoEvento(D_ZAVORO_OPERACAO_PULVERIZACAO, 10000000)},
        // Fertilising allows far larger loads; the area has a limit of its own that the rate does not share.
        {"adubacao_area_acima_do_limite", NovoEvento(D_ZAVORO_OPERACAO_ADUBACAO, 999999999, 1000000.0f)},
        {"adubacao_carga_acima_do_limite", NovoEvento(D_ZAVORO_OPERACAO_ADUBACAO, 1000000000, 1000000.0f)},
        // Without effective time there is no per-hour figure.
        {"colheita_sem_tempo_efetivo", NovoEvento(D_ZAVORO_OPERACAO_COLHEITA)},
    };
    vCasos[5].e.stEvt.ulTempoTrabalhoEfetivo = 0;
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();
    for (const Caso& c : vCasos)
        EXPECT_TRUE(CompararComDados(std::string("legenda_kml/") + c.pcNome + ".html",
                                     Descricao(c.e, D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, FALSE, st)));
}

TEST(LegendaKml, NomesEscapados)
{
    Evento e = NovoEvento(D_ZAVORO_OPERACAO_PULVERIZACAO);
    texto(e.stTalhao.szNomeTalhao, "Sítio A&B <norte>");
    texto(e.stEvt.szNomeEvento, "x]]><y>&amp;");
    const std::string sz = Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, FALSE, ParametrosTaxaPadrao());
    EXPECT_NE(sz.find(">Sítio A&amp;B &lt;norte&gt;</td>"), std::string::npos);
    EXPECT_NE(sz.find(">x]]&gt;&lt;y&gt;&amp;amp;</td>"), std::string::npos);
    // The CDATA section is closed only at its end.
    EXPECT_EQ(sz.find("]]>"), sz.size() - std::strlen("]]></description>"));
}
