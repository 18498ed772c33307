// The legend of a KML map byte for byte: the data rows and their numbering by operation, the three
// forms of the colour key (the last row) by map type and by what the map shows, escaped names, and a
// well-formed description element.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "conversor/kml.h"
#include "support/DiretorioTemporario.h"
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

// The colour key, as the value of the description's last row.
std::string Legenda(int iTipoMapa, BOOL bPulv, BOOL bAdub, const ST_ParametrosMapa& st)
{
    const std::string sz = Descricao(NovoEvento(D_ZAVORO_OPERACAO_PULVERIZACAO), iTipoMapa, bPulv, bAdub, st);
    const std::string szRotulo = "Legenda</td>\n";
    const std::string szFim = "</td>\n</tr>\n" + kFim;
    const std::size_t posRotulo = sz.rfind(szRotulo);
    if (posRotulo == std::string::npos || sz.size() < szFim.size() || sz.compare(sz.size() - szFim.size(), szFim.size(), szFim) != 0)
    {
        ADD_FAILURE() << "no legend row at the end of " << sz;
        return {};
    }
    // The value starts after the opening tag of its cell.
    const std::size_t posValor = sz.find('>', posRotulo + szRotulo.size()) + 1;
    return sz.substr(posValor, sz.size() - szFim.size() - posValor);
}
} // namespace

TEST(LegendaKml, FaixasDeTaxaEVelocidade)
{
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();
    const std::string szPulv =
        Item("#0000ff\"", "Abaixo de 76 L/ha<br />\n") + Item("#00ffff\"", "76 L/ha - 125 L/ha<br />\n") +
        Item("#00ff00\"", "126 L/ha - 175 L/ha<br />\n") + Item("#ffff00\"", "176 L/ha - 225 L/ha<br />\n") +
        Item("#ff8000\"", "226 L/ha - 300 L/ha<br />\n") + Item("#ff0000\"", "Acima de 300 L/ha<br />\n");
    EXPECT_EQ(Legenda(D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, FALSE, st), szPulv);
    // Spraying wins when both flags are set.
    EXPECT_EQ(Legenda(D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, TRUE, st), szPulv);

    // Two targets (slots 0 and 3), then a one-value band; the last band reads "above" the one before.
    ST_ParametrosMapa stAdub;
    const ST_LegendaMapa stFaixas[] = {
        {1, 100, 0, 0}, {101, 200, 1, 3}, {201, 201, 2, 4}, {202, 50000, 5, 5}};
    std::memcpy(stAdub.gstLegendaMapa, stFaixas, sizeof stFaixas);
    EXPECT_EQ(Legenda(D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, TRUE, stAdub),
              Item("#0000ff\"", "Abaixo de 101 kg/ha<br />\n") +
                  Item("#00ffff\"", "101 kg/ha - 200 kg/ha<br />\n") +
                  Item("#00ff00\"", "201 kg/ha<br />\n") + Item("#ff0000\"", "Acima de 201 kg/ha<br />\n"));

    // Speed: km/h whatever the flags; a band of an unknown colour gets the purple swatch, and the
    // list stops at the first band that is not in use.
    ST_ParametrosMapa stVel;
    const ST_LegendaMapa stVelFaixas[] = {
        {1, 5, 0, 0}, {6, 10, 9, 1}, {11, 110, 5, 5}, {0, 0, 0, 0}, {7, 8, 1, 1}};
    std::memcpy(stVel.gstLegendaMapa, stVelFaixas, sizeof stVelFaixas);
    EXPECT_EQ(Legenda(D_CONVERSOR_TIPO_MAPA_VELOCIDADE, FALSE, FALSE, stVel),
              Item("#0000ff\"", "Abaixo de 6 km/h<br />\n") + Item("#A448A4\"", "6 km/h - 10 km/h<br />\n") +
                  Item("#ff0000\"", "11 km/h - 110 km/h<br />\n"));
}

TEST(LegendaKml, RecomendacaoSempreTrezeLinhas)
{
    ST_ParametrosMapa st = ParametrosTaxaPadrao();
    st.gstShpLegendaMapa.ucNumLinhasLegenda = 2;
    st.gstShpLegendaMapa.ulValorLegenda[0][0] = 10;
    st.gstShpLegendaMapa.ulValorLegenda[0][1] = 99;
    st.gstShpLegendaMapa.ulValorLegenda[1][0] = 100;
    st.gstShpLegendaMapa.ulValorLegenda[1][1] = 3000000000u;
    const char* pcCores[] = {"#1E1EFF\"", "#1E96FF\"", "#1EF0F0\"", "#64E1C8\"", "#1EE11E\"",
                             "#C8FF64\"", "#FFFF1E\"", "#FFC81E\"", "#FF7F1E\"", "#FF1E1E\"",
                             "#D21E1E\"", "#A01E1E\"", "#641E1E\""};

    struct Caso
    {
        BOOL bPulv, bAdub;
        const char* pcFormato;
    };
    for (const Caso& c :
         {Caso{TRUE, FALSE, "%u L/ha - %u L/ha <br />\n"}, Caso{FALSE, TRUE, "%u kg/ha - %u kg/ha<br />\n"},
          Caso{FALSE, FALSE, "%u - %u <br />\n"}})
    {
        std::string szEsperado;
        for (int r = 0; r < 13; r++)
        {
            char cTexto[64];
            std::snprintf(cTexto, sizeof cTexto, c.pcFormato, st.gstShpLegendaMapa.ulValorLegenda[r][0],
                          st.gstShpLegendaMapa.ulValorLegenda[r][1]);
            szEsperado += Item(pcCores[r], cTexto);
        }
        EXPECT_EQ(Legenda(D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, c.bPulv, c.bAdub, st),
                  szEsperado);
    }
}

TEST(LegendaKml, CoberturaSemTaxaMostraCoberturaInteira)
{
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();
    const std::string szInteira = Item("#ff8000\"", "Cobertura inteira (sem controlador Zavoro)<br/>\n");
    EXPECT_EQ(Legenda(D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, FALSE, st), szInteira);
    // The speed map of the same harvest still shows its bands.
    EXPECT_EQ(Legenda(D_CONVERSOR_TIPO_MAPA_VELOCIDADE, FALSE, FALSE, st)
                  .rfind(Item("#0000ff\"", "Abaixo de 76 km/h<br />\n"), 0),
              0u);
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

TEST(LegendaKml, LinhasPorOperacao)
{
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();

    // Harvest: no quantity and no rate row, so the rows after them move up and change colour.
    Evento e = NovoEvento(D_ZAVORO_OPERACAO_COLHEITA);
    e.stEvt.ulTempoTrabalhoEfetivo = 0;
    std::string sz = Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, FALSE, st);
    EXPECT_NE(sz.find(Linha(4, "Fim Evento", "02/03/2026 - 10:30") + Linha(5, "Área Aplicada", "2,500 ha") +
                      Linha(6, "Distância Percorrida", "1,23 km")),
              std::string::npos);
    EXPECT_NE(sz.find(Linha(9, "Hectares por Hora", "0 ha/h") +
                      Linha(10, "Legenda", Legenda(D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, FALSE, st)) +
                      kFim),
              std::string::npos);
    EXPECT_EQ(sz.find("Taxa Média"), std::string::npos);
    EXPECT_EQ(sz.find("Volume Aplicado"), std::string::npos);

    // Fertilising stored by an older console under code 4, as the map driver hands it over.
    e = NovoEvento(zavoro_TraduzirOperacao(4, 8));
    e.stEvt.ulVolumeAplicado = 1234567;
    e.stEvt.fAreaCobertura = 0.0f;
    sz = Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, TRUE, st);
    EXPECT_NE(sz.find(Linha(5, "Carga Distribuída", "1234567 kg") + Linha(6, "Área Aplicada", "0,000 ha") +
                      Linha(7, "Taxa Média Aplicada (Calculada)", "0 kg/ha")),
              std::string::npos);
    EXPECT_NE(sz.find(Linha(12, "Legenda", Legenda(D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, TRUE, st))),
              std::string::npos);
}

TEST(LegendaKml, ValoresForaDosLimitesMostramErro)
{
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();
    Evento e = NovoEvento(D_ZAVORO_OPERACAO_PULVERIZACAO);
    e.stEvt.ulVolumeAplicado = 10000000;
    std::string sz = Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, FALSE, st);
    EXPECT_NE(sz.find(Linha(5, "Volume Aplicado", "ERRO") + Linha(6, "Área Aplicada", "2,500 ha") +
                      Linha(7, "Taxa Média Aplicada (Calculada)", "ERRO")),
              std::string::npos);

    // Fertilising allows far larger loads; an area past the limit spoils the area and the rate.
    e = NovoEvento(D_ZAVORO_OPERACAO_ADUBACAO);
    e.stEvt.ulVolumeAplicado = 999999999;
    e.stEvt.fAreaCobertura = 1000000.0f;
    sz = Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, TRUE, st);
    EXPECT_NE(sz.find(Linha(5, "Carga Distribuída", "999999999 kg") + Linha(6, "Área Aplicada", "ERRO") +
                      Linha(7, "Taxa Média Aplicada (Calculada)", "1000,0 kg/ha")),
              std::string::npos);
    e.stEvt.ulVolumeAplicado = 1000000000;
    sz = Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, FALSE, TRUE, st);
    EXPECT_NE(sz.find(Linha(5, "Carga Distribuída", "ERRO")), std::string::npos);
}

TEST(LegendaKml, NomesEscapadosEDocumentoBemFormado)
{
    const ST_ParametrosMapa st = ParametrosTaxaPadrao();
    Evento e = NovoEvento(D_ZAVORO_OPERACAO_PULVERIZACAO);
    texto(e.stTalhao.szNomeTalhao, "Sítio A&B <norte>");
    texto(e.stEvt.szNomeEvento, "x]]><y>&amp;");
    const std::string sz = Descricao(e, D_CONVERSOR_TIPO_MAPA_COBERTURA, TRUE, FALSE, st);
    EXPECT_NE(sz.find(Linha(1, "Talhão", "Sítio A&amp;B &lt;norte&gt;") +
                      Linha(2, "Evento", "x]]&gt;&lt;y&gt;&amp;amp;")),
              std::string::npos);
    EXPECT_EQ(sz.find("]]>"), sz.size() - std::strlen("]]></description>"));

    if (!std::filesystem::exists("/usr/bin/xmllint"))
        GTEST_SKIP() << "xmllint not installed";
    const std::string szKml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://earth.google.com/kml/2.0\">\n"
        "<Document>\n<name>x</name>" +
        sz + "\n</Document>\n</kml>";
    DiretorioTemporario dir;
    const std::filesystem::path arq =
        dir.gravar("legenda.kml", std::vector<std::uint8_t>(szKml.begin(), szKml.end()));
    const std::string szComando = "/usr/bin/xmllint --noout '" + arq.string() + "' 2>&1";
    EXPECT_EQ(std::system(szComando.c_str()), 0) << szKml;
}
