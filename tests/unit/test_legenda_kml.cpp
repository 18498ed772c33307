// The legend of a KML map byte for byte: the data rows and their numbering by operation, the three
// forms of the colour key (the last row) by map type and by what the map shows, and escaped names.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "conversor/kml.h"
#include "support/NvgBuilder.h"

using namespace zavoro_teste;

namespace
{
// 02/03/2026 - 08:00.
constexpr std::uint32_t T0 = D_TESTE_DATA_HORA_2026 + 60 * 86400 + 8 * 3600;

// The bands that the window builds from its default rate targets.
ST_ParametrosMapa ParametrosTaxaPadrao()
{
    ST_ParametrosMapa st;
    const ST_LegendaMapa stFaixas[] = {{1, 75, 0, 0},    {76, 125, 1, 1},  {126, 175, 2, 2},
                                       {176, 225, 3, 3}, {226, 300, 4, 4}, {301, 50000, 5, 5}};
    std::memcpy(st.gstLegendaMapa, stFaixas, sizeof stFaixas);
    return st;
}

std::string Item(const char* pcCor, const std::string& szTexto)
{
    return std::string("<span style=\"background-color: ") + pcCor + ">&nbsp; &nbsp; &nbsp;</span>&nbsp;" +
           szTexto;
}

std::string Linha(int n, const std::string& szRotulo, const std::string& szValor)
{
    const std::string szCelula =
        n % 2 != 0 ? "<td style=\"background-color:#EFEFEF;\">" : "<td style=\"background-color:#D5D5D5;\">";
    return "\n<tr>\n" + szCelula + szRotulo + "</td>\n" + szCelula + szValor + "</td>\n</tr>\n";
}

struct Evento
{
    ST_Talhao stTalhao{};
    ST_EventoCabecalho stEvt{};
};

// Event from 08:00 to 10:30: 500 units over 2.5 ha, 1234.5 m, 1h30 of work of which 1h effective.
Evento NovoEvento(std::uint8_t ucOperacao)
{
    Evento e;
    texto(e.stTalhao.szNomeTalhao, "Talhão Sede");
    texto(e.stEvt.szNomeEvento, "Aplicação Soja");
    e.stEvt.ulDataHoraInicioEvento = T0;
    e.stEvt.ulDataHoraFimEvento = T0 + 9000;
    e.stEvt.ulVolumeAplicado = 500;
    e.stEvt.fAreaCobertura = 2.5f;
    e.stEvt.fDistanciaPercorridaEvento = 1234.5f;
    e.stEvt.ulTempoTrabalho = 5400;
    e.stEvt.ulTempoTrabalhoEfetivo = 3600;
    e.stEvt.ucUltOperacao = ucOperacao;
    return e;
}

std::string Descricao(const Evento& e, int iTipoMapa, BOOL bPulv, BOOL bAdub, const ST_ParametrosMapa& st)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> pf(std::tmpfile(), &std::fclose);
    conversor_InserirLegendaKML(pf.get(), &e.stTalhao, &e.stEvt, iTipoMapa, bPulv, bAdub, &st);
    std::rewind(pf.get());
    std::string sz;
    char cBuf[4096];
    std::size_t n;
    while ((n = std::fread(cBuf, 1, sizeof cBuf, pf.get())) > 0)
        sz.append(cBuf, n);
    return sz;
}

const std::string kInicio =
    "<description><![CDATA[\n<html xmlns=\"http://www.w3.org/1999/xhtml\"><body style=\"text-align: "
    "left\">\n<span style=\"font-size: 8pt; font-family: Arial\">\nTérmino: 02/03/2026 - "
    "10:30<br/><br/><span style=\"font-size: 10pt; font-family: Arial\">\n<table width=\"450\" "
    "border=\"0\">\n";
const std::string kFim = "</table>\n<br /></span></body></html>\n]]></description>";

// The colour key, as the value of the description's last row (row 12 of a spraying event).
std::string Legenda(int iTipoMapa, BOOL bPulv, BOOL bAdub, const ST_ParametrosMapa& st)
{
    const std::string sz = Descricao(NovoEvento(D_ZAVORO_OPERACAO_PULVERIZACAO), iTipoMapa, bPulv, bAdub, st);
    const std::string szAntes = "Legenda</td>\n<td style=\"background-color:#D5D5D5;\">";
    const std::string szDepois = "</td>\n</tr>\n" + kFim;
    const std::size_t pos = sz.find(szAntes);
    if (pos == std::string::npos || !sz.ends_with(szDepois))
    {
        ADD_FAILURE() << "no legend row at the end of " << sz;
        return {};
    }
    const std::size_t posValor = pos + szAntes.size();
    return sz.substr(posValor, sz.size() - szDepois.size() - posValor);
}
} // namespace

TEST(LegendaKml, ChaveDeCoresPorTipoDeMapa)
{
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();
    const std::string szPulv =
        Item("#0000ff\"", "Abaixo de 76 L/ha<br />\n") + Item("#00ffff\"", "76 L/ha - 125 L/ha<br />\n") +
        Item("#00ff00\"", "126 L/ha - 175 L/ha<br />\n") + Item("#ffff00\"", "176 L/ha - 225 L/ha<br />\n") +
        Item("#ff8000\"", "226 L/ha - 300 L/ha<br />\n") + Item("#ff0000\"", "Acima de 300 L/ha<br />\n");
    // Two targets (slots 0 and 3), then a one-value band; the last band reads "above" the one before.
    ST_ParametrosMapa stAdub;
    const ST_LegendaMapa stFaixas[] = {{1, 100, 0, 0}, {101, 200, 1, 3}, {201, 201, 2, 4}, {202, 50000, 5, 5}};
    std::memcpy(stAdub.gstLegendaMapa, stFaixas, sizeof stFaixas);
    // Speed, whatever the flags: a band of an unknown colour gets the purple swatch, and the list stops
    // at the first band that is not in use.
    ST_ParametrosMapa stVel;
    const ST_LegendaMapa stVelFaixas[] = {{1, 5, 0, 0}, {6, 10, 9, 1}, {11, 110, 5, 5}, {0, 0, 0, 0}, {7, 8, 1, 1}};
    std::memcpy(stVel.gstLegendaMapa, stVelFaixas, sizeof stVelFaixas);

    struct Caso
    {
        int iTipoMapa;
        BOOL bPulv, bAdub;
        const ST_ParametrosMapa* pst;
        std::string szEsperado;
    };
    const Caso vCasos[] = {
        {D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, FALSE, &st, szPulv},
        {D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, TRUE, &st, szPulv}, // spraying wins when both are set
        {D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, TRUE, &stAdub,
         Item("#0000ff\"", "Abaixo de 101 kg/ha<br />\n") + Item("#00ffff\"", "101 kg/ha - 200 kg/ha<br />\n") +
             Item("#00ff00\"", "201 kg/ha<br />\n") + Item("#ff0000\"", "Acima de 201 kg/ha<br />\n")},
        {D_CONVERSOR_TIPO_MAPA_VELOCIDADE, FALSE, FALSE, &stVel,
         Item("#0000ff\"", "Abaixo de 6 km/h<br />\n") + Item("#A448A4\"", "6 km/h - 10 km/h<br />\n") +
             Item("#ff0000\"", "11 km/h - 110 km/h<br />\n")},
        // A map without rates shows the whole coverage in one colour.
        {D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, FALSE, &st,
         Item("#ff8000\"", "Cobertura inteira (sem controlador Zavoro)<br/>\n")},
    };
    for (const Caso& c : vCasos)
        EXPECT_EQ(Legenda(c.iTipoMapa, c.bPulv, c.bAdub, *c.pst), c.szEsperado) << c.iTipoMapa << c.bPulv << c.bAdub;
}

TEST(LegendaKml, RecomendacaoSempreTrezeLinhas)
{
    ST_ParametrosMapa st = ParametrosTaxaPadrao();
    st.gstShpLegendaMapa.ucNumLinhasLegenda = 2;
    st.gstShpLegendaMapa.ulValorLegenda[0][0] = 10;
    st.gstShpLegendaMapa.ulValorLegenda[0][1] = 99;
    st.gstShpLegendaMapa.ulValorLegenda[1][0] = 100;
    st.gstShpLegendaMapa.ulValorLegenda[1][1] = 3000000000u;
    const char* pcCores[] = {"#1E1EFF\"", "#1E96FF\"", "#1EF0F0\"", "#64E1C8\"", "#1EE11E\"", "#C8FF64\"", "#FFFF1E\"",
                             "#FFC81E\"", "#FF7F1E\"", "#FF1E1E\"", "#D21E1E\"", "#A01E1E\"", "#641E1E\""};
    const std::tuple<BOOL, BOOL, const char*> vUnidades[] = {{TRUE, FALSE, "%u L/ha - %u L/ha <br />\n"},
                                                            {FALSE, TRUE, "%u kg/ha - %u kg/ha<br />\n"},
                                                            {FALSE, FALSE, "%u - %u <br />\n"}};
    for (const auto& [bPulv, bAdub, pcFormato] : vUnidades)
    {
        std::string szEsperado;
        for (int r = 0; r < 13; r++)
        {
            char cTexto[64];
            std::snprintf(cTexto, sizeof cTexto, pcFormato, st.gstShpLegendaMapa.ulValorLegenda[r][0],
                          st.gstShpLegendaMapa.ulValorLegenda[r][1]);
            szEsperado += Item(pcCores[r], cTexto);
        }
        EXPECT_EQ(Legenda(D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, bPulv, bAdub, st), szEsperado) << pcFormato;
    }
}

TEST(LegendaKml, DescricaoDePulverizacao)
{
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();
    const Evento e = NovoEvento(D_ZAVORO_OPERACAO_PULVERIZACAO);
    const std::string szEsperado =
        kInicio + Linha(1, "Talhão", "Talhão Sede") + Linha(2, "Evento", "Aplicação Soja") +
        Linha(3, "Início Evento", "02/03/2026 - 08:00") + Linha(4, "Fim Evento", "02/03/2026 - 10:30") +
        Linha(5, "Volume Aplicado", "500 L") + Linha(6, "Área Aplicada", "2,500 ha") +
        Linha(7, "Taxa Média Aplicada (Calculada)", "200,0 L/ha") +
        Linha(8, "Distância Percorrida", "1,23 km") + Linha(9, "Tempo de Trabalho", "01h30m00s") +
        Linha(10, "Tempo de Trabalho Efetivo", "01h00m00s") + Linha(11, "Hectares por Hora", "2,500 ha/h") +
        Linha(12, "Legenda", Legenda(D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, FALSE, st)) + kFim;
    EXPECT_EQ(Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, FALSE, st), szEsperado);
}

TEST(LegendaKml, LinhasDeQuantidadeETaxaPorOperacaoELimite)
{
    struct Caso
    {
        std::uint8_t ucOperacao;
        std::uint32_t ulQuantidade;
        float fArea;
        std::vector<std::pair<const char*, const char*>> vLinhas; // from row 5 on
    };
    const Caso vCasos[] = {
        // Harvest: no quantity and no rate row, so the rows after them move up and change colour.
        {D_ZAVORO_OPERACAO_COLHEITA, 500, 2.5f, {{"Área Aplicada", "2,500 ha"}, {"Distância Percorrida", "1,23 km"}}},
        // Fertilising stored by an older console under code 4, as the map driver hands it over.
        {zavoro_TraduzirOperacao(4, 8), 1234567, 0.0f,
         {{"Carga Distribuída", "1234567 kg"}, {"Área Aplicada", "0,000 ha"},
          {"Taxa Média Aplicada (Calculada)", "0 kg/ha"}}},
        {D_ZAVORO_OPERACAO_PULVERIZACAO, 10000000, 2.5f,
         {{"Volume Aplicado", "ERRO"}, {"Área Aplicada", "2,500 ha"}, {"Taxa Média Aplicada (Calculada)", "ERRO"}}},
        // Fertilising allows far larger loads; the area has a limit of its own that the rate does not share.
        {D_ZAVORO_OPERACAO_ADUBACAO, 999999999, 1000000.0f,
         {{"Carga Distribuída", "999999999 kg"}, {"Área Aplicada", "ERRO"},
          {"Taxa Média Aplicada (Calculada)", "1000,0 kg/ha"}}},
        {D_ZAVORO_OPERACAO_ADUBACAO, 1000000000, 1000000.0f, {{"Carga Distribuída", "ERRO"}}},
    };
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();
    for (const Caso& c : vCasos)
    {
        Evento e = NovoEvento(c.ucOperacao);
        e.stEvt.ulVolumeAplicado = c.ulQuantidade;
        e.stEvt.fAreaCobertura = c.fArea;
        std::string szEsperado = Linha(4, "Fim Evento", "02/03/2026 - 10:30");
        int n = 5;
        for (const auto& [pcRotulo, pcValor] : c.vLinhas)
            szEsperado += Linha(n++, pcRotulo, pcValor);
        const std::string sz = Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, FALSE, st);
        EXPECT_NE(sz.find(szEsperado), std::string::npos) << c.ulQuantidade << "\n" << sz;
    }

    // Without effective time there is no per-hour figure.
    Evento e = NovoEvento(D_ZAVORO_OPERACAO_COLHEITA);
    e.stEvt.ulTempoTrabalhoEfetivo = 0;
    const std::string szLegenda = Legenda(D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, FALSE, st);
    EXPECT_TRUE(Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, FALSE, st)
                    .ends_with(Linha(9, "Hectares por Hora", "0 ha/h") + Linha(10, "Legenda", szLegenda) + kFim));
}

TEST(LegendaKml, NomesEscapados)
{
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();
    Evento e = NovoEvento(D_ZAVORO_OPERACAO_PULVERIZACAO);
    texto(e.stTalhao.szNomeTalhao, "Sítio A&B <norte>");
    texto(e.stEvt.szNomeEvento, "x]]><y>&amp;");
    const std::string sz = Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, FALSE, st);
    EXPECT_NE(sz.find(Linha(1, "Talhão", "Sítio A&amp;B &lt;norte&gt;") + Linha(2, "Evento", "x]]&gt;&lt;y&gt;&amp;amp;")),
              std::string::npos);
    // The CDATA section is closed only at its end.
    EXPECT_EQ(sz.find("]]>"), sz.size() - std::strlen("]]></description>"));
}
