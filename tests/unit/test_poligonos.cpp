// Coverage polygons of the KML map, byte for byte (expected in tests/dados/poligonos/): how the track
// is cut and chained into placemarks, the strips of the active sections and the class colours of
// every map type.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "conversor/kml.h"
#include "support/DadosEsperados.h"
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

struct Resultado
{
    BOOL bOk = FALSE;
    BOOL bTaxaPulv = TRUE; // overwritten by every stage
    BOOL bTaxaAdub = TRUE;
    std::string szKml;
};

Resultado Gerar(const NvgBuilder& b, int iTipoMapa, const ST_ParametrosMapa& stParametros)
{
    EventoAberto e = abrirEvento(b);
    ArquivoTemporario pfSaida = arquivoTemporario();
    Resultado r;
    r.bOk = conversor_GerarPoligonosKML(pfSaida.get(), e.pf.get(), b.usVersaoEvento, &e.stCabecalho, iTipoMapa, kLon0,
                                        kLat0, &stParametros, &r.bTaxaPulv, &r.bTaxaAdub);
    r.szKml = conteudo(pfSaida.get());
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

// A pass heading east, one point every 4.17 m. A fertilising pass (bQuantidade) carries in the high
// byte of its mask quantity bits that change every point.
std::vector<ST_PontoNVG_v2> Passada(int iPontos, std::uint16_t usSecoes, std::uint16_t usTaxa, bool bQuantidade = false)
{
    std::vector<ST_PontoNVG_v2> v;
    for (int i = 0; i < iPontos; ++i)
        v.push_back(Ponto(4.17f * static_cast<float>(i), 0.0f,
                          static_cast<std::uint16_t>(usSecoes | (bQuantidade ? i << 8 : 0)), usTaxa));
    return v;
}

NvgBuilder Arquivo1Etapa(std::vector<ST_PontoNVG_v2> vPontos, std::uint16_t usVersao = 9)
{
    NvgBuilder b = NvgBuilder::tipico(usVersao, 0);
    b.etapas[0].pontos = std::move(vPontos);
    return b;
}

// iLinhas recommendation rows of ulPasso each: {1, ulPasso}, {ulPasso + 1, 2 * ulPasso}, ...
void LinhasRecomendacao(ST_ParametrosMapa& st, std::uint32_t iLinhas, std::uint32_t ulPasso)
{
    st.gstShpLegendaMapa.ucNumLinhasLegenda = static_cast<std::uint8_t>(iLinhas);
    auto& ulValor = st.gstShpLegendaMapa.ulValorLegenda;
    for (std::uint32_t i = 0; i < iLinhas; ++i)
        ulValor[i][0] = ulPasso * i + 1, ulValor[i][1] = ulPasso * (i + 1);
}

const std::string kFim = "\n</Folder>\n";

// Coverage map of the file with the default rate bands, compared with tests/dados/poligonos/<nome>.kml.
// Returns the run, for its rate flags.
Resultado CompararMapa(const char* pcNome, const NvgBuilder& b, int iTipoMapa = D_CONVERSOR_TIPO_MAPA_COBERTURA,
                       const ST_ParametrosMapa& st = LegendaTaxas())
{
    Resultado r = Gerar(b, iTipoMapa, st);
    EXPECT_TRUE(r.bOk) << pcNome;
    EXPECT_TRUE(CompararComDados(std::string("poligonos/") + pcNome + ".kml", r.szKml)) << pcNome;
    return r;
}
} // namespace

TEST(PoligonosKml, DuasFaixasEmDiagonalIndependemDaLocalidade)
{
    // Sections 0-2 and 6-8 of nine 3 m sections on, heading 30 degrees: every polygon is two strips,
    // whose coordinates do not follow the process locale (the desktop app sets the user's).
    const bool bLocalidade = std::setlocale(LC_ALL, "pt_BR.UTF-8") != nullptr;
    std::vector<ST_PontoNVG_v2> v;
    for (int i = 0; i < 4; ++i)
        v.push_back(Ponto(3.0f * static_cast<float>(i), 1.7320508f * static_cast<float>(i), 0b111000111, 2000, 30.0f));
    const Resultado r = CompararMapa("duas_faixas_em_diagonal", Arquivo1Etapa(v));
    EXPECT_TRUE(r.bTaxaPulv && !r.bTaxaAdub) << (bLocalidade ? " (pt_BR)" : " (C)");
    std::setlocale(LC_ALL, "C");
}

TEST(PoligonosKml, CortesDeUmaPassadaDePulverizacao)
{
    // 200 L/ha throughout: 25 points make polygons 0-9, 9-18, 18-24, each starting where the last ended.
    CompararMapa("dez_pontos_por_poligono", Arquivo1Etapa(Passada(25, kTodas, 2000)));

    // Points less than 1 m on are dropped (0.5, 4.75; 5.0 is exactly 1 m from 4.0), except the one
    // where the sections change 0.5 m on: it still closes the strip.
    std::vector<ST_PontoNVG_v2> v;
    for (float fX : {0.0f, 0.5f, 4.0f, 4.75f, 5.0f, 9.0f, 9.5f, 14.0f})
        v.push_back(Ponto(fX, 0.0f, fX < 9.5f ? kTodas : 0b111000111, 2000));
    CompararMapa("menos_de_um_metro", Arquivo1Etapa(v));

    // A change of class chains the next polygon on; a zero rate closes without its point; a point off
    // the track is ignored entirely.
    v = Passada(14, kTodas, 1000);
    for (int i = 4; i < 7; ++i)
        v[i].usTaxaLida[0] = 2000;
    v[7].usTaxaLida[0] = 0;
    v[8].usTaxaLida[0] = 0;
    v[11].usTag = D_ZAVORO_TAG_PONTO_PAUSA;
    v[11].usTaxaLida[0] = 0;
    CompararMapa("classes_e_taxa_zero", Arquivo1Etapa(v));
}

TEST(PoligonosKml, ClassesSemCorNaoSaoDesenhadas)
{
    // With no recommendation legend loaded nothing can be classed, so nothing is drawn.
    std::vector<ST_PontoNVG_v2> v = Passada(4, kTodas, 2000);
    ST_ParametrosMapa st = LegendaTaxas();
    EXPECT_EQ(Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, st).szKml, kFim);

    // A band whose colour is past the six of the table (the purple of the window's swatches).
    st.gstLegendaMapa[3].iCor = D_CONVERSOR_INDICE_BRUSH_COR_ROXO;
    EXPECT_EQ(Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA, st).szKml, kFim);

    // A recommendation legend may have more rows than the thirteen colours: 200 L/ha falls in row 19.
    // The map with recommendation colours by row, whatever colour the bands have.
    LinhasRecomendacao(st, 20, 10);
    EXPECT_EQ(Gerar(Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, st).szKml, kFim);
    for (ST_PontoNVG_v2& p : v)
        p.usTaxaLida[0] = 1250; // 125 L/ha: row 12, the last colour
    CompararMapa("recomendacao_ultima_cor", Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO, st);
}

TEST(PoligonosKml, OperacaoSemTaxaTemCorUnicaNaLarguraToda)
{
    // A harvest stage after a spraying stage: the flags describe the last stage.
    NvgBuilder b = Arquivo1Etapa(Passada(3, kTodas, 2000));
    Etapa e = etapaTipica(0);
    e.operacao(D_ZAVORO_OPERACAO_COLHEITA).campo("fLarguraImplemento", 12.0f);
    // Any section bit on lays the strip over the whole implement width, whatever the rate.
    e.pontos = Passada(4, 0x0004, 0);
    b.etapas.push_back(e);
    const Resultado r = CompararMapa("colheita_apos_pulverizacao", b);
    EXPECT_TRUE(!r.bTaxaPulv && !r.bTaxaAdub);

    // Fewer targets do not change the colour of unclassed strips.
    ST_ParametrosMapa stPoucos;
    const int iAlvos[5] = {100, 0, 0, 0, 0};
    conversor_SetarLegenda(iAlvos, D_CONVERSOR_TIPO_MAPA_COBERTURA, stPoucos.gstLegendaMapa);
    LinhasRecomendacao(stPoucos, 13, 50000);
    CompararMapa("colheita_apos_pulverizacao_poucos_alvos", b, D_CONVERSOR_TIPO_MAPA_COBERTURA, stPoucos);
    CompararMapa("colheita_apos_pulverizacao_recomendacao", b, D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO,
                 stPoucos);
}

TEST(PoligonosKml, MapaDeVelocidade)
{
    ST_ParametrosMapa st;
    conversor_SetarLegenda(D_CONVERSOR_VELOCIDADES_ALVO_PADRAO, D_CONVERSOR_TIPO_MAPA_VELOCIDADE, st.gstLegendaMapa);
    std::vector<ST_PontoNVG_v2> v = Passada(6, kTodas, 0); // no rate: speed alone counts
    for (int i = 0; i < 6; ++i)
        v[i].ucVelocidade = i < 3 ? 5 : 12;
    CompararMapa("velocidade", Arquivo1Etapa(v), D_CONVERSOR_TIPO_MAPA_VELOCIDADE, st);

    // Quantity bits of a fertilising point's mask cut every polygon here.
    NvgBuilder b = Arquivo1Etapa({});
    b.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("usLarguraImplemento", 1200).campo("fLarguraImplemento", 12.0f);
    b.etapas[0].pontos = Passada(4, 0x0001, 0, true);
    EXPECT_FALSE(CompararMapa("velocidade_adubacao", b, D_CONVERSOR_TIPO_MAPA_VELOCIDADE, st).bTaxaAdub);
}

TEST(PoligonosKml, AdubacaoPorSecaoEDaVersao3)
{
    NvgBuilder b = Arquivo1Etapa({});
    b.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("fLarguraImplemento", 12.0f).campo("ucNumeroSecoesAdub", 2);
    b.etapas[0].campo("ucTipoMaquinaAdub", D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO);
    b.etapas[0].campo("usTamanhoSecaoAdub[0]", 600).campo("usTamanhoSecaoAdub[1]", 600);
    std::vector<ST_PontoNVG_v2> v = Passada(3, 0b11, 100, true); // quantity bits do not cut here
    for (ST_PontoNVG_v2& p : v)
        p.usTaxaLida[1] = 200; // kg/ha, not tenths
    b.etapas[0].pontos = v;
    // A spraying stage after it must be read from the right place.
    b.etapas.push_back(etapaTipica(0));
    b.etapas[1].pontos = Passada(3, kTodas, 2000);
    // One pass per section, each with its own rate.
    Resultado r = CompararMapa("adubacao_por_secao", b);
    EXPECT_TRUE(r.bTaxaPulv && !r.bTaxaAdub);

    // Version 3: one strip, the width (12.5 m in centimetres) not cut to whole metres.
    b = Arquivo1Etapa({}, 3);
    b.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("usLarguraImplemento", 1250);
    b.etapas[0].pontos = Passada(4, 0x0001, 200, true);
    r = CompararMapa("adubacao_v3", b);
    EXPECT_TRUE(!r.bTaxaPulv && r.bTaxaAdub);
}

TEST(PoligonosKml, VazioSoFechaAPastaEFalhaADeixaAberta)
{
    // No section on, or no point at all.
    for (const NvgBuilder& bVazio : {Arquivo1Etapa(Passada(6, 0, 2000)), NvgBuilder::tipico(9, 0)})
    {
        const Resultado r = Gerar(bVazio, D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
        EXPECT_TRUE(r.bOk && r.szKml == kFim) << r.szKml;
    }

    // A stage that claims too many points, or whose points run off the end of the file: the stages
    // before it stay drawn, the folder stays open.
    NvgBuilder b = Arquivo1Etapa(Passada(3, kTodas, 2000));
    const std::string szAntes = Gerar(b, D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas()).szKml;
    ASSERT_TRUE(szAntes.ends_with("</Placemark>\n\n" + kFim));
    b.etapas.push_back(etapaTipica(2));
    for (std::uint32_t ulPontos : {D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO + 1, 50u})
    {
        b.etapas[1].numeroPontosGravado = ulPontos;
        const Resultado r = Gerar(b, D_CONVERSOR_TIPO_MAPA_COBERTURA, LegendaTaxas());
        EXPECT_FALSE(r.bOk) << ulPontos;
        EXPECT_EQ(r.szKml, szAntes.substr(0, szAntes.size() - kFim.size())) << ulPontos;
    }
}

TEST(Cobertura, AnelRecusadoParaOPercursoNasDuasRegras)
{
    // 25 points give three polygons by either rule (10-point placemarks, 40 m records); the walk stops
    // at the ring the receiver refuses.
    const NvgBuilder b = Arquivo1Etapa(Passada(25, kTodas, 2000));
    for (int iCorte : {D_COBERTURA_CORTE_CLASSE, D_COBERTURA_CORTE_COMPRIMENTO})
    {
        const EventoAberto e = abrirEvento(b);
        int iAneis = 0;
        ST_ReceptorCobertura stReceptor;
        stReceptor.pContexto = &iAneis;
        stReceptor.pfInserirAnel = [](void* p, const ST_CoordenadaKml*, int, int) -> BOOL
        { return ++*static_cast<int*>(p) != 2; };
        EXPECT_FALSE(cobertura_PercorrerCobertura(e.pf.get(), b.usVersaoEvento, 1, D_CONVERSOR_TIPO_MAPA_COBERTURA, kLon0,
                                                  kLat0, iCorte, stReceptor))
            << iCorte;
        EXPECT_EQ(iAneis, 2) << iCorte;
    }
}

namespace
{
// Everything a walk hands its receiver, in order, as text; the rings' vertices in hexadecimal, every bit.
struct Registro
{
    std::string sz;
    int iAneis = 0;
    int iRecusar = 0; // the ring refused (1..); 0: none
};

void Anexar(std::string& sz, const char* pcFormato, double d1, double d2 = 0.0)
{
    char c[96];
    std::snprintf(c, sizeof c, pcFormato, d1, d2);
    sz += c;
}

ST_ReceptorCobertura Registrador(Registro* pstRegistro)
{
    ST_ReceptorCobertura st;
    st.pContexto = pstRegistro;
    st.pfIniciarEtapa = [](void* p, const ST_EtapaPoligonos& stEtapa)
    { Anexar(static_cast<Registro*>(p)->sz, "etapa %g %g\n", stEtapa.ucOperacao, stEtapa.iPassagens); };
    st.pfClasse = [](void*, int iValor) { return iValor / 40; };
    st.pfDadosPoligono = [](void* p, const ST_DadosPoligono& stDados)
    { Anexar(static_cast<Registro*>(p)->sz, "dados %g %a\n", stDados.ulInicio, stDados.dVelocidadeMedia); };
    st.pfInserirAnel = [](void* p, const ST_CoordenadaKml* pst, int iNum, int iValor) -> BOOL
    {
        Registro& r = *static_cast<Registro*>(p);
        Anexar(r.sz, "anel %g:", iValor);
        for (int i = 0; i < iNum; ++i)
            Anexar(r.sz, " %a %a", pst[i].dLongitude, pst[i].dLatitude);
        r.sz += '\n';
        return ++r.iAneis != r.iRecusar;
    };
    return st;
}
} // namespace

// Walks sharing one read hand each receiver exactly what a walk of its own would: both cuts, on a
// spraying stage whose rate and sections change and a per-section fertilising stage walked once per
// section. A walk whose receiver refuses a ring stops there and the other goes on; a point that
// cannot be read stops both.
TEST(Cobertura, PercursosNaMesmaLeituraDaoOQueCadaUmDariaSozinho)
{
    NvgBuilder b = Arquivo1Etapa(Passada(120, kTodas, 2000));
    for (int i = 0; i < 120; ++i)
    {
        b.etapas[0].pontos[i].usTaxaLida[0] = static_cast<std::uint16_t>(1000 + 300 * (i / 7 % 4));
        b.etapas[0].pontos[i].ucVelocidade = static_cast<std::uint8_t>(5 + i % 9);
        b.etapas[0].pontos[i].ulSegundosDataHora = 1000u + static_cast<std::uint32_t>(i);
        b.etapas[0].pontos[i].fAnguloNavegacao = static_cast<float>(i % 17);
    }
    for (int i = 60; i < 75; ++i)
        b.etapas[0].pontos[i].usSecoes = 0b111000111;
    b.etapas.push_back(etapaTipica(0));
    b.etapas[1].operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("fLarguraImplemento", 12.0f).campo("ucNumeroSecoesAdub", 2);
    b.etapas[1].campo("ucTipoMaquinaAdub", D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO);
    b.etapas[1].campo("usTamanhoSecaoAdub[0]", 600).campo("usTamanhoSecaoAdub[1]", 600);
    b.etapas[1].pontos = Passada(40, 0b11, 100);
    for (int i = 0; i < 40; ++i)
        b.etapas[1].pontos[i].usTaxaLida[1] = static_cast<std::uint16_t>(i < 20 ? 200 : 260);

    NvgBuilder bCortado = b;
    bCortado.etapas[1].numeroPontosGravado = 50; // the last ten points run off the end of the file

    const int iCortes[2] = {D_COBERTURA_CORTE_CLASSE, D_COBERTURA_CORTE_COMPRIMENTO};
    for (const NvgBuilder* pb : {&b, &bCortado})
        for (int iTipoMapa : {D_CONVERSOR_TIPO_MAPA_COBERTURA, D_CONVERSOR_TIPO_MAPA_VELOCIDADE})
            for (int iRecusar : {0, 3})
            {
                const std::string szCaso = std::string(pb == &b ? "inteiro" : "cortado") + " mapa " +
                                           std::to_string(iTipoMapa) + " recusa " + std::to_string(iRecusar);
                // Alone: the class walk refuses ring iRecusar, the length walk none.
                Registro stSozinho[2];
                BOOL bSozinho[2];
                for (int i = 0; i < 2; ++i)
                {
                    stSozinho[i].iRecusar = i == 0 ? iRecusar : 0;
                    const EventoAberto e = abrirEvento(*pb);
                    bSozinho[i] = cobertura_PercorrerCobertura(e.pf.get(), pb->usVersaoEvento, 2, iTipoMapa, kLon0,
                                                               kLat0, iCortes[i], Registrador(&stSozinho[i]));
                }
                Registro stJuntos[2];
                stJuntos[0].iRecusar = iRecusar;
                const ST_ReceptorCobertura stReceptores[2] = {Registrador(&stJuntos[0]), Registrador(&stJuntos[1])};
                ST_PercursoCobertura stPercursos[2];
                for (int i = 0; i < 2; ++i)
                {
                    stPercursos[i].iCorte = iCortes[i];
                    stPercursos[i].pstReceptor = &stReceptores[i];
                }
                const EventoAberto e = abrirEvento(*pb);
                const BOOL bJuntos = cobertura_PercorrerCoberturas(e.pf.get(), pb->usVersaoEvento, 2, iTipoMapa, kLon0,
                                                                   kLat0, stPercursos);
                EXPECT_EQ(bJuntos, bSozinho[0] && bSozinho[1]) << szCaso;
                for (int i = 0; i < 2; ++i)
                {
                    EXPECT_EQ(stPercursos[i].bOk, bSozinho[i]) << szCaso << " corte " << i;
                    EXPECT_EQ(stJuntos[i].sz, stSozinho[i].sz) << szCaso << " corte " << i;
                    EXPECT_GE(stSozinho[i].iAneis, 3) << szCaso << " corte " << i;
                }
                EXPECT_EQ(bSozinho[0], pb == &b && iRecusar == 0) << szCaso;
                EXPECT_EQ(bSozinho[1], pb == &b) << szCaso;
            }
}
