// Coverage polygons of the KML map: how the track is cut and chained into placemarks, the strips of
// the active sections, the class colours of every map type, and the vertices, checked against
// coordinates worked out here from the console's strip geometry.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "conversor/kml.h"
#include "support/NvgBuilder.h"
#include "zavoro/cobertura.h"
#include "zavoro/conversor.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{
constexpr double kLon0 = -47.512345;
constexpr double kLat0 = -15.793210;
constexpr std::uint16_t kTodas = 0x01FF;

using Arquivo = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

struct Resultado
{
    BOOL bOk = FALSE;
    BOOL bTaxaPulv = FALSE;
    BOOL bTaxaAdub = FALSE;
    std::string szKml;
};

Resultado Gerar(const NvgBuilder& b, int iTipoMapa, const ST_ParametrosMapa& stParametros)
{
    Layout stLayout;
    const std::vector<std::uint8_t> vBytes = b.construir(&stLayout);
    Arquivo pfEntrada(std::tmpfile(), &std::fclose);
    Arquivo pfSaida(std::tmpfile(), &std::fclose);
    std::fwrite(vBytes.data(), 1, vBytes.size(), pfEntrada.get());
    ST_EventoCabecalho stCabecalho;
    std::memcpy(&stCabecalho, vBytes.data() + stLayout.posCabecalhoEvento, sizeof stCabecalho);
    std::fseek(pfEntrada.get(), static_cast<long>(stLayout.posCabecalhoEvento + sizeof stCabecalho), SEEK_SET);

    Resultado r;
    r.bTaxaPulv = TRUE; // overwritten by every stage
    r.bTaxaAdub = TRUE;
    r.bOk = conversor_GerarPoligonosKML(pfSaida.get(), pfEntrada.get(), b.usVersaoEvento, &stCabecalho, iTipoMapa, kLon0,
                                        kLat0, &stParametros, &r.bTaxaPulv, &r.bTaxaAdub);
    const long lTamanho = std::ftell(pfSaida.get());
    r.szKml.resize(static_cast<std::size_t>(lTamanho));
    std::rewind(pfSaida.get());
    std::fread(r.szKml.data(), 1, r.szKml.size(), pfSaida.get());
    return r;
}

ST_ParametrosMapa LegendaTaxas()
{
    ST_ParametrosMapa st;
    conversor_SetarLegenda(D_CONVERSOR_TAXAS_ALVO_PADRAO, D_CONVERSOR_TIPO_MAPA_COBERTURA, st.gstLegendaMapa);
    return st;
}

ST_PontoNVG_v2 Ponto(float fX, float fY, std::uint16_t usSecoes, std::uint16_t usTaxa, float fAngulo = 0.0f)
{
    ST_PontoNVG_v2 p = pontoTipico(0);
    p.fLongitudeRelImp = fX;
    p.fLatitudeRelImp = fY;
    p.fAnguloNavegacao = fAngulo;
    p.usSecoes = usSecoes;
    p.usTaxaLida[0] = usTaxa;
    return p;
}

// A pass heading east, one point every 4.17 m.
std::vector<ST_PontoNVG_v2> Passada(int iPontos, std::uint16_t usSecoes, std::uint16_t usTaxa)
{
    std::vector<ST_PontoNVG_v2> v;
    for (int i = 0; i < iPontos; ++i)
        v.push_back(Ponto(4.17f * static_cast<float>(i), 0.0f, usSecoes, usTaxa));
    return v;
}

NvgBuilder Arquivo1Etapa(std::vector<ST_PontoNVG_v2> vPontos, std::uint16_t usVersao = 9)
{
    NvgBuilder b = NvgBuilder::tipico(usVersao, 0);
    b.etapas[0].pontos = std::move(vPontos);
    return b;
}

// The strip edge at lateral offset d of a point, in degrees, as the console lays it out.
std::pair<double, double> Vertice(const ST_PontoNVG_v2& p, float fD)
{
    const float fAngulo = p.fAnguloNavegacao - 90.0f;
    const double dRad = fAngulo * 0.0174532925;
    const float fLeste = static_cast<float>(p.fLongitudeRelImp + fD * std::cos(dRad));
    const float fNorte = static_cast<float>(p.fLatitudeRelImp + fD * std::sin(dRad));
    const double dLat = fNorte / 111319.4906660725 + kLat0;
    const double dLon = fLeste / (111319.4906660725 * std::cos(dLat * 0.0174532925)) + kLon0;
    return {dLon, dLat};
}

// One placemark of the strip between offsets fInicio and fFim over the given points.
std::string Placemark(const char* pcEstilo, const std::vector<ST_PontoNVG_v2>& vPontos, float fInicio, float fFim)
{
    std::string s = std::string("<Placemark>\n<styleUrl>") + pcEstilo +
                    "</styleUrl>\n<Polygon>\n<extrude>1</extrude>\n<altitudeMode>clampToGround</altitudeMode>\n"
                    "<outerBoundaryIs>\n<LinearRing>\n<coordinates>\n";
    std::vector<std::pair<double, double>> vAnel;
    for (const ST_PontoNVG_v2& p : vPontos)
        vAnel.push_back(Vertice(p, fInicio));
    for (auto it = vPontos.rbegin(); it != vPontos.rend(); ++it)
        vAnel.push_back(Vertice(*it, fFim));
    vAnel.push_back(vAnel.front()); // rings are closed
    for (auto [dLon, dLat] : vAnel)
    {
        char c[80];
        std::snprintf(c, sizeof c, "%.6f,%.6f,0\n", dLon, dLat);
        s += c;
    }
    return s + "</coordinates>\n</LinearRing>\n</outerBoundaryIs>\n</Polygon>\n</Placemark>\n\n";
}

std::vector<ST_PontoNVG_v2> Trecho(const std::vector<ST_PontoNVG_v2>& v, std::size_t uiDe, std::size_t uiAte)
{
    return {v.begin() + static_cast<std::ptrdiff_t>(uiDe), v.begin() + static_cast<std::ptrdiff_t>(uiAte) + 1};
}

const std::string kFim = "\n</Folder>\n";
} // namespace

TEST(PoligonosKml, PassadaContinuaEncadeiaPoligonosDeDezPontos)
{
    // 200 L/ha throughout: 25 points make polygons 0-9, 9-18, 18-24, each starting where the last ended.
    const std::vector<ST_PontoNVG_v2> v = Passada(25, kTodas, 2000);
    const Resultado r = Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
    ASSERT_TRUE(r.bOk);
    EXPECT_TRUE(r.bTaxaPulv);
    EXPECT_FALSE(r.bTaxaAdub);
    EXPECT_EQ(r.szKml, Placemark("#Amarelo", Trecho(v, 0, 9), -13.5f, 13.5f) +
                           Placemark("#Amarelo", Trecho(v, 9, 18), -13.5f, 13.5f) +
                           Placemark("#Amarelo", Trecho(v, 18, 24), -13.5f, 13.5f) + kFim);
}

TEST(PoligonosKml, SecoesSeparadasDaoUmaFaixaPorTrecho)
{
    // Sections 0-2 and 6-8 of nine 3 m sections on, heading 30 degrees: every polygon is two placemarks.
    std::vector<ST_PontoNVG_v2> v;
    for (int i = 0; i < 4; ++i)
        v.push_back(Ponto(3.0f * static_cast<float>(i), 1.7320508f * static_cast<float>(i), 0b111000111, 2000, 30.0f));
    const Resultado r = Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
    ASSERT_TRUE(r.bOk);
    EXPECT_EQ(r.szKml, Placemark("#Amarelo", v, -13.5f, -4.5f) + Placemark("#Amarelo", v, 4.5f, 13.5f) + kFim);
}

TEST(PoligonosKml, PontosAMenosDeUmMetroSaoDescartadosSalvoAoFechar)
{
    std::vector<ST_PontoNVG_v2> v;
    for (float fX : {0.0f, 0.5f, 4.0f, 4.75f, 5.0f, 9.0f})
        v.push_back(Ponto(fX, 0.0f, kTodas, 2000));
    // Sections change 0.5 m on: that point still closes the strip.
    v.push_back(Ponto(9.5f, 0.0f, 0b111000111, 2000));
    v.push_back(Ponto(14.0f, 0.0f, 0b111000111, 2000));
    const Resultado r = Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
    ASSERT_TRUE(r.bOk);
    // 0.5 and 4.75 are dropped; 5.0 is exactly 1 m from 4.0 and kept.
    const std::vector<ST_PontoNVG_v2> vPrimeiro = {v[0], v[2], v[4], v[5], Ponto(9.5f, 0.0f, kTodas, 2000)};
    const std::vector<ST_PontoNVG_v2> vSegundo = {v[6], v[7]};
    EXPECT_EQ(r.szKml, Placemark("#Amarelo", vPrimeiro, -13.5f, 13.5f) + Placemark("#Amarelo", vSegundo, -13.5f, -4.5f) +
                           Placemark("#Amarelo", vSegundo, 4.5f, 13.5f) + kFim);
}

TEST(PoligonosKml, TaxaZeroFechaSemOPontoZeroEMudancaDeClasseEncadeia)
{
    std::vector<ST_PontoNVG_v2> v = Passada(14, kTodas, 1000);
    for (int i = 4; i < 7; ++i)
        v[i].usTaxaLida[0] = 2000;
    v[7].usTaxaLida[0] = 0;
    v[8].usTaxaLida[0] = 0;
    // A point off the track is ignored entirely.
    v[11].usTag = D_ZAVORO_TAG_PONTO_PAUSA;
    v[11].usTaxaLida[0] = 0;
    const Resultado r = Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
    ASSERT_TRUE(r.bOk);
    const std::vector<ST_PontoNVG_v2> vUltimo = {v[9], v[10], v[12], v[13]};
    EXPECT_EQ(r.szKml, Placemark("#Ciano", Trecho(v, 0, 3), -13.5f, 13.5f) +
                           Placemark("#Amarelo", Trecho(v, 3, 6), -13.5f, 13.5f) +
                           Placemark("#Ciano", vUltimo, -13.5f, 13.5f) + kFim);
}

TEST(PoligonosKml, MapaComRecomendacaoUsaAsLinhasDaLegenda)
{
    ST_ParametrosMapa st = LegendaTaxas();
    const std::uint32_t ulLinhas[][2] = {{1, 100}, {101, 150}, {151, 199}, {250, 400}};
    for (int i = 0; i < 4; ++i)
    {
        st.gstShpLegendaMapa.ulValorLegenda[i][0] = ulLinhas[i][0];
        st.gstShpLegendaMapa.ulValorLegenda[i][1] = ulLinhas[i][1];
    }
    st.gstShpLegendaMapa.ucNumLinhasLegenda = 4;
    std::vector<ST_PontoNVG_v2> v = Passada(7, kTodas, 1200);
    for (int i = 4; i < 7; ++i)
        v[i].usTaxaLida[0] = 2000; // in no row: the last row
    const Resultado r = Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, st);
    ASSERT_TRUE(r.bOk);
    EXPECT_TRUE(r.bTaxaPulv);
    EXPECT_EQ(r.szKml, Placemark("#Azul_2", Trecho(v, 0, 3), -13.5f, 13.5f) +
                           Placemark("#Ciano_2", Trecho(v, 3, 6), -13.5f, 13.5f) + kFim);

    // With no recommendation legend loaded nothing can be classed, so nothing is drawn.
    st.gstShpLegendaMapa.ucNumLinhasLegenda = 0;
    EXPECT_EQ(Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, st).szKml, kFim);
}

TEST(PoligonosKml, OperacaoSemTaxaTemCorUnicaNaLarguraToda)
{
    // A harvest stage after a spraying stage: the flags describe the last stage.
    NvgBuilder b = Arquivo1Etapa(Passada(3, kTodas, 2000));
    Etapa e = etapaTipica(0);
    e.operacao(D_ZAVORO_OPERACAO_COLHEITA).campo("fLarguraImplemento", 12.0f);
    // Any section bit on lays the strip over the whole implement width, whatever the rate.
    const std::vector<ST_PontoNVG_v2> v = Passada(4, 0x0004, 0);
    e.pontos = v;
    b.etapas.push_back(e);

    const std::string szPulv = Placemark("#Amarelo", Passada(3, kTodas, 2000), -13.5f, 13.5f);
    const Resultado r = Gerar(b, D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
    ASSERT_TRUE(r.bOk);
    EXPECT_FALSE(r.bTaxaPulv);
    EXPECT_FALSE(r.bTaxaAdub);
    EXPECT_EQ(r.szKml, szPulv + Placemark("#Laranja", Trecho(v, 0, 3), -6.0f, 6.0f) + kFim);

    // Fewer targets do not change the colour of unclassed strips.
    ST_ParametrosMapa stPoucos;
    const int iAlvos[5] = {100, 0, 0, 0, 0};
    conversor_SetarLegenda(iAlvos, D_CONVERSOR_TIPO_MAPA_COBERTURA, stPoucos.gstLegendaMapa);
    stPoucos.gstShpLegendaMapa.ucNumLinhasLegenda = 13;
    for (int i = 0; i < 13; ++i)
        stPoucos.gstShpLegendaMapa.ulValorLegenda[i][1] = 50000;
    const std::string szHarvest = Gerar(b, D_CONVERSOR_TIPO_MAPA_COBERTURA, stPoucos).szKml;
    EXPECT_NE(szHarvest.find(Placemark("#Laranja", Trecho(v, 0, 3), -6.0f, 6.0f)), std::string::npos);
    const std::string szRec = Gerar(b, D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, stPoucos).szKml;
    EXPECT_NE(szRec.find(Placemark("#Verde_1", Trecho(v, 0, 3), -6.0f, 6.0f)), std::string::npos);
}

TEST(PoligonosKml, MapaDeVelocidadeClassificaPelaVelocidade)
{
    ST_ParametrosMapa st;
    conversor_SetarLegenda(D_CONVERSOR_VELOCIDADES_ALVO_PADRAO, D_CONVERSOR_TIPO_MAPA_VELOCIDADE, st.gstLegendaMapa);
    std::vector<ST_PontoNVG_v2> v = Passada(6, kTodas, 0); // no rate: speed alone counts
    for (int i = 0; i < 6; ++i)
        v[i].ucVelocidade = i < 3 ? 5 : 12;
    const Resultado r = Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_VELOCIDADE, st);
    ASSERT_TRUE(r.bOk);
    EXPECT_FALSE(r.bTaxaPulv);
    EXPECT_FALSE(r.bTaxaAdub);
    EXPECT_EQ(r.szKml, Placemark("#Azul", Trecho(v, 0, 2), -13.5f, 13.5f) +
                           Placemark("#Verde", Trecho(v, 2, 5), -13.5f, 13.5f) + kFim);
}

TEST(PoligonosKml, AdubacaoNoMapaDeVelocidadeCortaACadaMudancaDeQuantidade)
{
    // The high byte of a fertilising point's mask carries quantity bits, which change every point.
    ST_ParametrosMapa st;
    conversor_SetarLegenda(D_CONVERSOR_VELOCIDADES_ALVO_PADRAO, D_CONVERSOR_TIPO_MAPA_VELOCIDADE, st.gstLegendaMapa);
    NvgBuilder b = Arquivo1Etapa({});
    b.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("usLarguraImplemento", 1200).campo("fLarguraImplemento", 12.0f);
    std::vector<ST_PontoNVG_v2> v = Passada(4, 0, 0);
    for (int i = 0; i < 4; ++i)
        v[i].usSecoes = static_cast<std::uint16_t>(0x0001 | (i << 8));
    b.etapas[0].pontos = v;
    const Resultado r = Gerar(b, D_CONVERSOR_TIPO_MAPA_VELOCIDADE, st);
    ASSERT_TRUE(r.bOk);
    EXPECT_EQ(r.szKml, Placemark("#Verde", Trecho(v, 0, 1), -6.0f, 6.0f) + Placemark("#Verde", Trecho(v, 1, 2), -6.0f, 6.0f) +
                           Placemark("#Verde", Trecho(v, 2, 3), -6.0f, 6.0f) + kFim);
}

TEST(PoligonosKml, AdubacaoPorSecaoDesenhaUmaPassadaPorSecaoComSuaTaxa)
{
    NvgBuilder b = Arquivo1Etapa({});
    b.etapas[0]
        .operacao(D_ZAVORO_OPERACAO_ADUBACAO)
        .campo("fLarguraImplemento", 12.0f)
        .campo("ucTipoMaquinaAdub", D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO)
        .campo("ucNumeroSecoesAdub", 2)
        .campo("usTamanhoSecaoAdub[0]", 600)
        .campo("usTamanhoSecaoAdub[1]", 600);
    std::vector<ST_PontoNVG_v2> v = Passada(3, 0, 100);
    for (int i = 0; i < 3; ++i)
    {
        v[i].usSecoes = static_cast<std::uint16_t>(0b11 | (i << 8)); // quantity bits do not cut here
        v[i].usTaxaLida[1] = 200;                                    // kg/ha, not tenths
    }
    b.etapas[0].pontos = v;
    // A spraying stage after it must be read from the right place.
    const std::vector<ST_PontoNVG_v2> vPulv = Passada(3, kTodas, 2000);
    b.etapas.push_back(etapaTipica(0));
    b.etapas[1].pontos = vPulv;

    const Resultado r = Gerar(b, D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
    ASSERT_TRUE(r.bOk);
    EXPECT_TRUE(r.bTaxaPulv);
    EXPECT_FALSE(r.bTaxaAdub);
    EXPECT_EQ(r.szKml, Placemark("#Ciano", v, -6.0f, 0.0f) + Placemark("#Amarelo", v, 0.0f, 6.0f) +
                           Placemark("#Amarelo", vPulv, -13.5f, 13.5f) + kFim);
}

TEST(PoligonosKml, AdubacaoDaVersao3EUmaFaixaUnicaEmKgPorHectare)
{
    NvgBuilder b = Arquivo1Etapa({}, 3);
    // 12.5 m in centimetres: the width must not be cut to whole metres.
    b.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("usLarguraImplemento", 1250);
    std::vector<ST_PontoNVG_v2> v = Passada(4, 0, 200);
    for (int i = 0; i < 4; ++i)
        v[i].usSecoes = static_cast<std::uint16_t>(0x0001 | (i << 8));
    b.etapas[0].pontos = v;
    const Resultado r = Gerar(b, D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
    ASSERT_TRUE(r.bOk);
    EXPECT_FALSE(r.bTaxaPulv);
    EXPECT_TRUE(r.bTaxaAdub);
    EXPECT_EQ(r.szKml, Placemark("#Amarelo", v, -6.25f, 6.25f) + kFim);
}

TEST(PoligonosKml, SemSecoesOuSemPontosSoFechaAPasta)
{
    EXPECT_EQ(Gerar(Arquivo1Etapa(Passada(6, 0, 2000)), D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas()).szKml, kFim);
    const Resultado r = Gerar(NvgBuilder::tipico(9, 0), D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
    EXPECT_TRUE(r.bOk);
    EXPECT_EQ(r.szKml, kFim);
}

TEST(PoligonosKml, EtapaGrandeDemaisOuPontoIlegivelFalha)
{
    const std::vector<ST_PontoNVG_v2> v = Passada(3, kTodas, 2000);
    const std::string szPrimeira = Placemark("#Amarelo", v, -13.5f, 13.5f);

    NvgBuilder b = Arquivo1Etapa(v);
    b.etapas.push_back(etapaTipica(2));
    b.etapas[1].numeroPontosGravado = D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO + 1;
    Resultado r = Gerar(b, D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
    EXPECT_FALSE(r.bOk);
    EXPECT_EQ(r.szKml, szPrimeira); // the folder stays open

    b.etapas[1].numeroPontosGravado = 50; // runs off the end of the file
    r = Gerar(b, D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
    EXPECT_FALSE(r.bOk);
    EXPECT_EQ(r.szKml.find("</Folder>"), std::string::npos);
}

TEST(PoligonosKml, CoordenadasIndependemDaLocalidade)
{
    const std::vector<ST_PontoNVG_v2> v = Passada(3, kTodas, 2000);
    const std::string szEsperado = Placemark("#Amarelo", v, -13.5f, 13.5f) + kFim;
    const bool bLocalidade = std::setlocale(LC_ALL, "pt_BR.UTF-8") != nullptr;
    const std::string szKml = Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas()).szKml;
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(szKml, szEsperado) << (bLocalidade ? "pt_BR" : "C");
}

TEST(PoligonosKml, ClasseSemCorNaTabelaNaoEDesenhada)
{
    const std::vector<ST_PontoNVG_v2> v = Passada(4, kTodas, 2000);
    // A band whose colour is past the six of the table (the purple of the window's swatches).
    ST_ParametrosMapa st = LegendaTaxas();
    st.gstLegendaMapa[3].iCor = D_CONVERSOR_INDICE_BRUSH_COR_ROXO;
    EXPECT_EQ(Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA, st).szKml, kFim);

    // A recommendation legend may have more rows than the thirteen colours.
    st.gstShpLegendaMapa.ucNumLinhasLegenda = 20;
    for (int i = 0; i < 20; ++i)
    {
        st.gstShpLegendaMapa.ulValorLegenda[i][0] = 10 * static_cast<std::uint32_t>(i) + 1;
        st.gstShpLegendaMapa.ulValorLegenda[i][1] = 10 * static_cast<std::uint32_t>(i) + 10;
    }
    EXPECT_EQ(Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, st).szKml, kFim);
    std::vector<ST_PontoNVG_v2> vBaixa = v;
    for (ST_PontoNVG_v2& p : vBaixa)
        p.usTaxaLida[0] = 1250; // 125 L/ha: row 12, the last colour
    EXPECT_EQ(Gerar(Arquivo1Etapa(vBaixa), D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, st).szKml,
              Placemark("#Vermelho_4", vBaixa, -13.5f, 13.5f) + kFim);
}

namespace
{
// Counts the rings and refuses the one numbered iRecusar (from 1).
struct Recusador
{
    int iAneis = 0;
    int iRecusar = 0;
    static BOOL Anel(void* pContexto, const ST_CoordenadaKml*, int, int)
    {
        auto* p = static_cast<Recusador*>(pContexto);
        return ++p->iAneis != p->iRecusar;
    }
};
} // namespace

TEST(Cobertura, AnelRecusadoParaOPercursoNasDuasRegras)
{
    // 25 points give three polygons by either rule (10-point placemarks, 40 m records).
    const NvgBuilder b = Arquivo1Etapa(Passada(25, kTodas, 2000));
    Layout stLayout;
    const std::vector<std::uint8_t> vBytes = b.construir(&stLayout);
    for (int iCorte : {D_COBERTURA_CORTE_CLASSE, D_COBERTURA_CORTE_COMPRIMENTO})
    {
        for (int iRecusar : {0, 2})
        {
            SCOPED_TRACE(std::to_string(iCorte) + " refusing ring " + std::to_string(iRecusar));
            Arquivo pf(std::tmpfile(), &std::fclose);
            std::fwrite(vBytes.data(), 1, vBytes.size(), pf.get());
            std::fseek(pf.get(), static_cast<long>(stLayout.posCabecalhoEvento + sizeof(ST_EventoCabecalho)), SEEK_SET);
            Recusador stRecusador{0, iRecusar};
            ST_ReceptorCobertura stReceptor;
            stReceptor.pContexto = &stRecusador;
            stReceptor.pfInserirAnel = Recusador::Anel;
            const BOOL bOk = cobertura_PercorrerCobertura(pf.get(), b.usVersaoEvento, 1, D_CONVERSOR_TIPO_MAPA_COBERTURA, kLon0, kLat0,
                                                          iCorte, stReceptor);
            EXPECT_EQ(bOk, iRecusar == 0);
            EXPECT_EQ(stRecusador.iAneis, iRecusar == 0 ? 3 : iRecusar);
        }
    }
}
