// The "Pontos Relevantes" folder of a map: stage flags with their tables, and the pause, stop, power
// and temperature marks detected along the track, byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "conversor/kml.h"
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
    Layout stLayout;
    const std::vector<std::uint8_t> vBytes = b.construir(&stLayout);
    using Arquivo = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
    Arquivo pfEntrada(std::tmpfile(), &std::fclose), pfSaida(std::tmpfile(), &std::fclose);
    std::fwrite(vBytes.data(), 1, vBytes.size(), pfEntrada.get());
    ST_EventoCabecalho stCabecalho{};
    std::memcpy(&stCabecalho, vBytes.data() + stLayout.posCabecalhoEvento, sizeof stCabecalho);
    std::fseek(pfEntrada.get(), static_cast<long>(stLayout.posEtapas.at(0)), SEEK_SET);
    Resultado r;
    r.bOk = conversor_InserirPtosRelevantesKML(pfSaida.get(), pfEntrada.get(), b.usVersaoEvento, &stCabecalho, kLon0, kLat0);
    r.szKml.resize(static_cast<std::size_t>(std::ftell(pfSaida.get())));
    std::rewind(pfSaida.get());
    std::fread(r.szKml.data(), 1, r.szKml.size(), pfSaida.get());
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

std::string Data(std::uint32_t ulSeg)
{
    char c[D_ZAVORO_TAMANHO_STRING_DATA_HORA];
    zavoro_RetornarStringDataHora(ulSeg, c);
    return c;
}

std::string Coordenada(const ST_PontoNVG_v2& p)
{
    double dLat = 0, dLon = 0;
    conversor_TransformarCoordenadasAbsolutas(p.fLatitudeRelImp, p.fLongitudeRelImp, &dLat, &dLon, kLat0, kLon0);
    char c[80];
    std::snprintf(c, sizeof c, "%.06f,%.06f,%d\n", dLon, dLat, 0);
    return c;
}

std::string Marca(const std::string& szCorpo, const char* pcEstilo, const ST_PontoNVG_v2& p, int iEtapa,
                  bool bComNome = true)
{
    return std::string(bComNome ? "<Placemark><visibility>1</visibility><name></name><description>\n"
                                : "<Placemark><visibility>1</visibility><description>\n") +
           szCorpo + "Etapa de navegação: " + std::to_string(iEtapa) + "<br/>\n</description><styleUrl>" + pcEstilo +
           "\n</styleUrl><Point><coordinates>\n" + Coordenada(p) + "\n</coordinates>\n</Point>\n</Placemark>\n";
}

int Contar(const std::string& szTexto, const std::string& szTrecho)
{
    int n = 0;
    for (auto pos = szTexto.find(szTrecho); pos != std::string::npos; pos = szTexto.find(szTrecho, pos + 1))
        n++;
    return n;
}

struct Linha
{
    std::string szRotulo, szValor;
};

// Rows of the table of stage n's flag.
std::vector<Linha> Tabela(const std::string& szKml, int iEtapa)
{
    std::vector<Linha> linhas;
    std::size_t pos = szKml.find("<name>Etapa " + std::to_string(iEtapa) + "</name>");
    if (pos == std::string::npos)
        return linhas;
    const std::size_t fim = szKml.find("</table>", pos);
    const std::string kCelula = "<td style=\"background-color:#";
    while ((pos = szKml.find("\n<tr>\n" + kCelula, pos)) < fim)
    {
        Linha l;
        pos += 6 + kCelula.size() + 9; // past the colour and the cell opener
        std::size_t f = szKml.find("</td>\n", pos);
        l.szRotulo = szKml.substr(pos, f - pos);
        pos = szKml.find(">", f + 6 + kCelula.size()) + 1;
        f = szKml.find("</td>\n</tr>\n", pos);
        l.szValor = szKml.substr(pos, f - pos);
        linhas.push_back(l);
    }
    return linhas;
}

std::vector<std::string> Rotulos(const std::vector<Linha>& linhas)
{
    std::vector<std::string> v;
    for (const auto& l : linhas)
        v.push_back(l.szRotulo);
    return v;
}

std::string Valor(const std::vector<Linha>& linhas, const std::string& szRotulo)
{
    for (const auto& l : linhas)
        if (l.szRotulo == szRotulo)
            return l.szValor;
    return "<ausente>";
}

// Rows of the stage flags, {stage, label, value}; "<ausente>" for a row that must not be there.
void VerificarLinhas(const std::string& szKml, std::initializer_list<std::tuple<int, const char*, std::string>> vLinhas)
{
    for (const auto& [iEtapa, pcRotulo, szValor] : vLinhas)
        EXPECT_EQ(Valor(Tabela(szKml, iEtapa), pcRotulo), szValor) << "stage " << iEtapa << ", " << pcRotulo;
}
} // namespace

TEST(PontosRelevantes, PausasNumeradasAoLongoDoEventoComTempoEmPausa)
{
    const auto inicio = P(10, 5, D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_INICIO);
    const auto fim = P(105, 6, D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_FIM);
    const auto inicio2 = P(500, 50, D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_INICIO);
    const auto fim2 = P(500, 50, D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_FIM); // no time in pause
    const Resultado r = Executar(Evento(9, {ComPontos({P(0, 0), inicio, fim}), ComPontos({inicio2, fim2})}));
    ASSERT_TRUE(r.bOk);

    EXPECT_NE(r.szKml.find(Marca("<strong>Ponto de Pausa 1</strong><br/>\n" + Data(T0 + 10) + "<br/>\n",
                                 "#GOTA_PAUSA", inicio, 1)),
              std::string::npos);
    EXPECT_NE(r.szKml.find(Marca("<strong>Retorno de Pausa 1</strong><br/>\n" + Data(T0 + 105) +
                                     "<br/>\nTempo em pausa: 00h01m35s<br/>\n",
                                 "#GOTA_RETORNO_PAUSA", fim, 1)),
              std::string::npos);
    EXPECT_NE(r.szKml.find(Marca("<strong>Ponto de Pausa 2</strong><br/>\n" + Data(T0 + 500) + "<br/>\n",
                                 "#GOTA_PAUSA", inicio2, 2) +
                           Marca("<strong>Retorno de Pausa 2</strong><br/>\n" + Data(T0 + 500) + "<br/>\n",
                                 "#GOTA_RETORNO_PAUSA", fim2, 2)),
              std::string::npos);
    EXPECT_EQ(Contar(r.szKml, "<Placemark>"), 6); // two flags, four marks
    EXPECT_EQ(r.szKml.substr(0, 41), "\n<Folder>\n<name>Pontos Relevantes</name>\n");
    EXPECT_EQ(r.szKml.substr(r.szKml.size() - 10), "</Folder>\n");
    // Each stage flag precedes its marks.
    EXPECT_LT(r.szKml.find("<name>Etapa 2</name>"), r.szKml.find("Ponto de Pausa 2"));
    EXPECT_GT(r.szKml.find("<name>Etapa 2</name>"), r.szKml.find("Retorno de Pausa 1"));
}

TEST(PontosRelevantes, ParadaMarcadaNaAncoraQuandoAMaquinaSeAfasta)
{
    const auto ancora = P(0, 0, RASTREIO);
    struct Caso
    {
        const char* pcCaso;
        std::vector<Etapa> vEtapas;
        const char* pcTempo; // nullptr: no stop
    };
    const Caso vCasos[] = {
        // Standing for 400 s, then a point 12 m away: one stop with the time up to that point.
        {"afastou",
         {ComPontos({ancora, P(100, 2, RASTREIO), P(350, 5, RASTREIO), P(400, 12, RASTREIO), P(410, 30, RASTREIO)})},
         "00h06m40s"},
        // Exactly 300 s past the anchor does not count, 301 s does.
        {"300 s", {ComPontos({ancora, P(300, 5, RASTREIO), P(300, 15, RASTREIO)})}, nullptr},
        {"301 s", {ComPontos({ancora, P(301, 5, RASTREIO), P(301, 15, RASTREIO)})}, "00h05m01s"},
        // Last point only 8 m away: marked when the stage ends, timed to the last point read.
        {"fim da etapa", {ComPontos({ancora, P(400, 5, RASTREIO), P(450, 8, RASTREIO)}), ComPontos({P(460, 9)})},
         "00h07m30s"},
        // Points without satellites do not count; a clock that went back leaves the time unknown.
        {"sem satelites", {ComPontos({ancora, P(400, 15, RASTREIO | D_ZAVORO_TAG_SEM_SATELITES)})}, nullptr},
        {"relogio", {ComPontos({ancora, P(400, 5, RASTREIO), P(100, 12, RASTREIO)})}, "Desconhecido"},
        // Nothing stops while a pause is open.
        {"pausa", {ComPontos({P(0, 0, RASTREIO | D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_INICIO), P(100, 0, RASTREIO),
                              P(400, 5, RASTREIO), P(500, 15, RASTREIO)})},
         nullptr},
    };
    const std::string kCorpo = "<strong>Ponto de Parada 1</strong><br/>Início: \n" + Data(T0) + "<br/>\nTempo parado: ";
    for (const Caso& c : vCasos)
    {
        const Resultado r = Executar(Evento(9, c.vEtapas));
        EXPECT_TRUE(r.bOk) << c.pcCaso;
        EXPECT_EQ(Contar(r.szKml, "Ponto de Parada"), c.pcTempo != nullptr ? 1 : 0) << c.pcCaso;
        if (c.pcTempo != nullptr)
        {
            EXPECT_NE(r.szKml.find(Marca(kCorpo + c.pcTempo + "<br/>\n", "#GOTA_PARADA", ancora, 1)), std::string::npos)
                << c.pcCaso;
        }
    }
}

TEST(PontosRelevantes, RetornoDeEnergiaComTempoDesligadoQuandoConhecido)
{
    const auto retorno1 = P(120, 1, D_ZAVORO_TAG_RETORNO_ENERGIA);
    const auto retorno2 = P(120, 2, D_ZAVORO_TAG_RETORNO_ENERGIA);
    const Resultado r = Executar(Evento(9, {ComPontos({retorno1 /* first point: nothing before it */}),
                                            ComPontos({P(0, 0), retorno1, retorno2})}));
    ASSERT_TRUE(r.bOk);
    const std::string kCabeca = "</strong><br/>\n" + Data(T0 + 120) + "<br/>\n";
    EXPECT_NE(r.szKml.find(Marca("<strong>Retorno de Energia 1" + kCabeca, "#SETA_RETORNO_ENERGIA", retorno1, 1)),
              std::string::npos);
    EXPECT_NE(r.szKml.find(Marca("<strong>Retorno de Energia 2" + kCabeca + "Tempo desligado: 00h02m00s<br/>\n",
                                 "#SETA_RETORNO_ENERGIA", retorno1, 2)),
              std::string::npos);
    EXPECT_NE(r.szKml.find(Marca("<strong>Retorno de Energia 3" + kCabeca, "#SETA_RETORNO_ENERGIA", retorno2, 2)),
              std::string::npos);
    EXPECT_EQ(Contar(r.szKml, "Tempo desligado"), 1);
}

TEST(PontosRelevantes, TemperaturasDaVersao8EmDiante)
{
    const auto morna = P(10, 5, 0, 45.5f);
    const auto quente = P(20, 6, 0, 60.0f);
    const std::vector<ST_PontoNVG_v2> pontos = {P(0, 0, RASTREIO, 50.0f), morna, quente, P(30, 7, 0, 0.0f),
                                                P(-5, 8, 0, 70.0f) /* before the event began */};
    Resultado r = Executar(Evento(8, {ComPontos(pontos)}));
    ASSERT_TRUE(r.bOk);
    EXPECT_NE(r.szKml.find(Marca("<strong>Ponto de Temperatura</strong><br/>Início: \n" + Data(T0 + 10) +
                                     "<br/>\nTemperatura: 45.50<br/>\n",
                                 "#GOTA_PARADA", morna, 1, false)),
              std::string::npos);
    EXPECT_NE(r.szKml.find(Marca("<strong>Ponto de Temperatura Excedida</strong><br/>Início: \n" + Data(T0 + 20) +
                                     "<br/>\nTemperatura: 60.00<br/>\n",
                                 "#BANDEIRA_VERMELHA", quente, 1)),
              std::string::npos);
    EXPECT_EQ(Contar(r.szKml, "Ponto de Temperatura"), 2);

    r = Executar(Evento(7, {ComPontos(pontos)}));
    ASSERT_TRUE(r.bOk);
    EXPECT_EQ(Contar(r.szKml, "Temperatura"), 0);
}

TEST(PontosRelevantes, BandeiraDeEtapaCompletaDePulverizacao)
{
    Etapa e = ComPontos({P(60, 10), P(70, 20)});
    e.campo("ucNumeroSecoes", 3).campo("usTamanhoSeccao[0]", 250).campo("usTamanhoSeccao[2]", 250);
    e.campo("usTaxaAplicacao2", 2005).campo("usVazaoBico", 15).campo("usPressaoBico", 30);
    e.campo("usTempoAberturaValvulaSecao", 5).campo("usTempoFechamentoValvulaSecao", 12);
    e.campo("usConstanteFluxometro", 600).campo("fSobreposicaoImplemento", 0.125f).campo("ucModoDemonstracao", 1);
    e.campo("ucTipoComando", 2).campo("ucAgressividade", 7).campo("ucFatorHidraulico", 2);
    NvgBuilder b = Evento(9, {e});
    b.stCabecalho.fAreaCobertura = 2.5f;
    b.stCabecalho.ulVolumeAplicado = 300;
    const Resultado r = Executar(b);
    ASSERT_TRUE(r.bOk);

    const std::vector<std::pair<std::string, std::string>> kLinhas = {
        {"Modo Demonstração", "ATIVADO"}, {"Início Etapa", Data(T0)}, {"Fim Etapa", Data(T0 + 9000)},
        {"Volume Aplicado Etapa", "300 L"}, {"Área Aplicada Etapa", "2,500 ha"},
        {"Taxa Média Aplicada Etapa", "120,0 L/ha"}, {"Operador", "João da Silva"},
        {"Máquina", "Pulverizador 3000"}, {"Cultura", "Soja"}, {"Operação", "Pulverização"},
        {"Largura Implemento", "27,00 m"}, {"Sobreposição", "0,1250 m"},
        {"Distância Antena-Implemento", "3,5 m (p/ trás)"}, {"Número de Seções", "3"},
        {"Tamanho de cada seção", "2,50m | 3,00m | 2,50m "}, {"Constante Fluxômetro", "600"},
        {"Número de Bicos", "54"}, {"Espaçamento entre Bicos", "50  cm"}, {"Taxa de Aplicação 1", "150 L/ha"},
        {"Taxa de Aplicação 2", "200 L/ha"}, {"Vazão Bico", "1,5 L/min"}, {"Pressão Bico", "3,0 bar"},
        {"Válvula Geral", "2 vias"}, {"Válvula Seção", "2 vias"}, {"Válvula Proporcional", "Não possui"},
        {"Tempo Abertura Válvula Seção", "0,5 s"}, {"Tempo Fechamento Valvula Seção", "1,2 s"},
        {"Tipo Comando Piloto", "KVATO 100 PQTR"}, {"Agressividade Piloto", "7"},
        {"Fator Hidráulico Piloto", "50"}, {"Entre-eixos", "3,500 m"}};
    std::string szEsperado = "<Placemark><visibility>1</visibility><name>Etapa 1</name><description>\n"
                             "Início da Etapa 1 - " +
                             Data(T0 + 60) +
                             "<br/><strong>Dados da Etapa<br/></strong><![CDATA[<html "
                             "xmlns=\"http://www.w3.org/1999/xhtml\">\n<body style=\"text-align: left\">\n"
                             "<span style=\"font-size: 10pt; font-family: Arial\">\n<table width=\"500\" border=\"0\">\n";
    for (std::size_t i = 0; i < kLinhas.size(); i++)
    {
        const std::string td = i % 2 == 0 ? "<td style=\"background-color:#EFEFEF;\">"
                                          : "<td style=\"background-color:#D5D5D5;\">";
        szEsperado += "\n<tr>\n" + td + kLinhas[i].first + "</td>\n" + td + kLinhas[i].second + "</td>\n</tr>\n";
    }
    szEsperado += "</table>\n<br /></span></body></html>]]></description><styleUrl>#BANDEIRA_VERDE</styleUrl>"
                  "<Point><coordinates>\n" +
                  Coordenada(P(60, 10)) + "\n</coordinates>\n</Point>\n</Placemark>\n";
    EXPECT_EQ(r.szKml, "\n<Folder>\n<name>Pontos Relevantes</name>\n" + szEsperado + "</Folder>\n");
}

TEST(PontosRelevantes, LinhasDaTabelaPorVersaoEOperacao)
{
    // Version 1: only the basic rows, plus the sections for spraying.
    Resultado r = Executar(Evento(1, {ComPontos({P(0, 0)})}));
    EXPECT_EQ(Rotulos(Tabela(r.szKml, 1)),
              (std::vector<std::string>{"Início Etapa", "Fim Etapa", "Área Aplicada Etapa", "Operador", "Máquina",
                                        "Cultura", "Operação", "Largura Implemento", "Número de Seções",
                                        "Tamanho de cada seção"}));

    // Version 4 fertilising on a variable rate (operation stored in the old numbering).
    Etapa e = ComPontos({P(0, 0)}, D_ZAVORO_OPERACAO_ADUBACAO);
    e.campo("ucTipoTaxa", 1).campo("szMapaTrabalho", "Mapa <A>").campo("szParametroMapa", "P&K");
    e.campo("fAreaMapa", 12.34f).campo("ucTipoMaquinaAdub", 1).campo("dConstanteTrabalhoAdub[0]", 1.5);
    e.campo("sDistImplemento", 15).campo("sSobreposicaoImplemento", -25);
    NvgBuilder b = Evento(4, {e});
    b.stCabecalho.ulVolumeAplicado = 1000;
    r = Executar(b);
    EXPECT_EQ(Rotulos(Tabela(r.szKml, 1)),
              (std::vector<std::string>{"Início Etapa", "Fim Etapa", "Carga Distribuída Etapa", "Área Aplicada Etapa",
                                        "Taxa Média Aplicada Etapa", "Operador", "Máquina", "Cultura", "Operação",
                                        "Largura Implemento", "Sobreposição", "Distância Antena-Implemento",
                                        "Tipo de Taxa", "Mapa", "Parâmetro de Mapa:\t\t", "Área de Mapa",
                                        "Tipo Máquina Adubação", "Constante de Trabalho", "Tipo Comando Piloto",
                                        "Agressividade Piloto", "Fator Hidráulico Piloto", "Entre-eixos"}));
    VerificarLinhas(r.szKml, {{1, "Operação", "Adubação"}, {1, "Carga Distribuída Etapa", "1000 kg"},
                              {1, "Taxa Média Aplicada Etapa", "0 kg/ha"}, {1, "Mapa", "Mapa &lt;A&gt;"},
                              {1, "Parâmetro de Mapa:\t\t", "P&amp;K"}, {1, "Área de Mapa", "12,3 ha\r\n\r\n"},
                              {1, "Tipo Máquina Adubação", "Dastra 1600"}, {1, "Constante de Trabalho", "1,50"},
                              {1, "Sobreposição", "-0,25 m"}, {1, "Distância Antena-Implemento", "1,5 m (p/ frente)"}});

    // Version 3 fertilising on a fixed rate: doses and the belt constant.
    e = ComPontos({P(0, 0)}, D_ZAVORO_OPERACAO_ADUBACAO);
    e.campo("ulTaxaFixa1", 200).campo("ulTaxaFixa2", 250).campo("fConstanteEsteira", 3.456f);
    VerificarLinhas(Executar(Evento(3, {e})).szKml,
                    {{1, "Tipo de Taxa", "Taxa Fixa"}, {1, "Taxa Fixa - Dose 1", "200 kg/ha"},
                     {1, "Taxa Fixa - Dose 2", "250 kg/ha"}, {1, "Constante de Esteira", "3,46 pulsos/kg"},
                     {1, "Tipo Máquina Adubação", "<ausente>"}});

    // Harvest: neither quantity, rate, nor either machine block.
    e = ComPontos({P(0, 0)}, D_ZAVORO_OPERACAO_COLHEITA);
    e.campo("sDistImplemento", 0);
    VerificarLinhas(Executar(Evento(9, {e})).szKml,
                    {{1, "Volume Aplicado Etapa", "<ausente>"}, {1, "Taxa Média Aplicada Etapa", "<ausente>"},
                     {1, "Número de Seções", "<ausente>"}, {1, "Tipo de Taxa", "<ausente>"},
                     {1, "Distância Antena-Implemento", "0,0 m"}, {1, "Entre-eixos", "3,500 m"}});
}

TEST(PontosRelevantes, TotaisEncadeadosEntreEtapas)
{
    auto Q = [](std::uint32_t s, float fArea, std::uint16_t usVolume) {
        ST_PontoNVG_v2 p = P(s, static_cast<float>(s));
        p.fAreaCobertura = fArea;
        p.usVolumeAplicado = usVolume;
        return p;
    };
    NvgBuilder b = Evento(9, {ComPontos({Q(0, 0.0f, 0), Q(10, 1.0f, 100)}),
                              ComPontos({Q(20, 1.0f, 120)}), // no area: rate 0
                              ComPontos({Q(30, 1.5f, 50), Q(35, 0.5f, 40)}), // quantity went down; area too, once
                              ComPontos({}),                 // no points: no flag, end totals 0
                              ComPontos({Q(50, 2.5f, 250), Q(60, 2.75f, 260)}),
                              ComPontos({Q(70, 3.0f, 300)})});
    b.stCabecalho.fAreaCobertura = 4.0f;
    b.stCabecalho.ulVolumeAplicado = 400;
    const Resultado r = Executar(b);
    ASSERT_TRUE(r.bOk);

    VerificarLinhas(r.szKml,
                    {{1, "Volume Aplicado Etapa", "100 L"}, {1, "Taxa Média Aplicada Etapa", "100,0 L/ha"},
                     {1, "Fim Etapa", Data(T0 + 10)}, {2, "Início Etapa", Data(T0 + 20)},
                     {2, "Volume Aplicado Etapa", "20 L"},
                     {2, "Taxa Média Aplicada Etapa", "0 L/ha"}, {3, "Volume Aplicado Etapa", "ERRO"},
                     {3, "Taxa Média Aplicada Etapa", "ERRO"}, {3, "Área Aplicada Etapa", "0,500 ha"},
                     {4, "Início Etapa", "<ausente>"}, // no flag
                     {5, "Área Aplicada Etapa", "2,750 ha"}, {5, "Volume Aplicado Etapa", "260 L"}, // counted from 0
                     // The last stage ends with the event header, not with its points.
                     {6, "Área Aplicada Etapa", "1,250 ha"}, {6, "Volume Aplicado Etapa", "140 L"},
                     {6, "Fim Etapa", Data(T0 + 9000)}});
    EXPECT_EQ(Contar(r.szKml, "<Placemark>"), 5);
}

TEST(PontosRelevantes, QuantidadeDeAdubacaoUsaOByteAltoDasSecoes)
{
    ST_PontoNVG_v2 p = P(10, 1);
    p.usVolumeAplicado = 0x1000;
    p.usSecoes = 0x0200;
    const Resultado r = Executar(Evento(9, {ComPontos({p}, D_ZAVORO_OPERACAO_ADUBACAO), ComPontos({P(20, 2)})}));
    VerificarLinhas(r.szKml, {{1, "Carga Distribuída Etapa", "135168 kg"}});
}

TEST(PontosRelevantes, FalhasDeLeituraEContagemExcessiva)
{
    NvgBuilder b = Evento(9, {ComPontos({P(0, 0), P(1, 1)}), ComPontos({P(2, 2), P(3, 3)})});
    b.corrupcao.bytesFaltandoEvento = 10;
    Resultado r = Executar(b);
    EXPECT_FALSE(r.bOk);
    EXPECT_EQ(r.szKml.find("</Folder>"), std::string::npos);
    EXPECT_EQ(Contar(r.szKml, "<name>Etapa 2</name>"), 0); // nothing of the failing stage

    b = Evento(9, {ComPontos({P(0, 0)})});
    b.etapas[0].numeroPontosGravado = D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO + 1;
    r = Executar(b);
    EXPECT_FALSE(r.bOk);
    EXPECT_EQ(Contar(r.szKml, "<Placemark>"), 0);
}
