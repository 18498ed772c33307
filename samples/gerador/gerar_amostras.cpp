// zavoro_gerar_amostras PASTA: writes the demonstration jobs (spraying, variable-rate fertilising,
// harvest, planting, irrigation and an old-format file) into PASTA, with a recommendation map over
// the spraying field. The jobs are simulated from a fixed seed, so every run writes the same bytes.
#include "support/NvgBuilder.h"
#include "support/ShpBuilder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace
{

using namespace zavoro_teste;

constexpr double D_METROS_POR_GRAU = 111319.4906660725;
constexpr double D_GRAUS_RAD = 3.14159265358979323846 / 180.0;
constexpr std::uint32_t D_DIA = 86400;

// Console seconds of a date (every fourth year a leap year, 1 January 2000 counted as day 1).
std::uint32_t dataHora(int iAno, int iMes, int iDia, int iHora, int iMinuto)
{
    static constexpr int aiDiasMes[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::uint32_t ulDias = 0;
    for (int a = 2000; a < iAno; ++a)
        ulDias += a % 4 == 0 ? 366 : 365;
    for (int m = 1; m < iMes; ++m)
        ulDias += aiDiasMes[m - 1] + (m == 2 && iAno % 4 == 0 ? 1 : 0);
    ulDias += static_cast<std::uint32_t>(iDia);
    return ulDias * D_DIA + static_cast<std::uint32_t>(iHora * 3600 + iMinuto * 60);
}

struct Ponto2
{
    double x;
    double y;
};

bool dentroPoligono(const std::vector<Ponto2>& poligono, double x, double y)
{
    bool bDentro = false;
    for (std::size_t i = 0, j = poligono.size() - 1; i < poligono.size(); j = i++)
    {
        const Ponto2& a = poligono[i];
        const Ponto2& b = poligono[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            bDentro = !bDentro;
    }
    return bDentro;
}

double areaHa(const std::vector<Ponto2>& poligono)
{
    double d = 0.0;
    for (std::size_t i = 0, j = poligono.size() - 1; i < poligono.size(); j = i++)
        d += poligono[j].x * poligono[i].y - poligono[i].x * poligono[j].y;
    return std::fabs(d) / 2.0 / 10000.0;
}

Limite limite(const std::vector<Ponto2>& poligono, std::uint32_t ulDataHora, std::uint32_t ulDataHoraTalhao)
{
    Limite l;
    l.stLimite.fAreaLimite = static_cast<float>(areaHa(poligono));
    l.stLimite.ulDataHoraInicioLimite = ulDataHora;
    l.stLimite.ulDataHoraInicioTalhao = ulDataHoraTalhao;
    l.stLimite.ucSentidoLimite = 1;
    for (const Ponto2& p : poligono)
        l.pontos.push_back({static_cast<float>(p.x), static_cast<float>(p.y)});
    l.pontos.push_back(l.pontos.front());
    return l;
}

// A machine working a field: turns moves into track points, keeping the event's running totals
// (area, quantity, distance, times) the way the console does.
class Simulador
{
public:
    struct Maquina
    {
        std::vector<double> largurasSecoes; // metres, left to right
        double dVelocidadeKmh;
        std::uint8_t ucOperacao;            // current numbering
        std::uint16_t usEscalaTaxa = 1;     // spraying rates are stored in tenths
        bool bTaxaPorSecao = false;         // twin-disc spreaders log one rate per section
        double dCapacidadeTanque = 0.0;
        bool bPressao = false;
        bool bTemperatura = false;
    };

    Simulador(NvgBuilder& b, Maquina maquina, std::uint32_t ulInicio, std::uint32_t uiSemente)
        : m_b(b), m_maquina(std::move(maquina)), m_t(ulInicio), m_rng(uiSemente)
    {
        for (double d : m_maquina.largurasSecoes)
            m_dLargura += d;
        m_b.stCabecalho.ulDataHoraInicioEvento = ulInicio;
    }

    std::function<bool(double, double)> fnDentro;         // ground that should be worked
    std::function<double(double, double)> fnTaxa;          // target rate at a place, per hectare

    void novaEtapa(Etapa etapa)
    {
        m_b.etapas.push_back(std::move(etapa));
        m_pEtapa = &m_b.etapas.back();
    }

    // Straight run at working speed, sections switched by the ground under each one.
    void passada(Ponto2 de, Ponto2 ate)
    {
        const double dx = ate.x - de.x, dy = ate.y - de.y;
        const double dComprimento = std::hypot(dx, dy);
        const double dPasso = m_maquina.dVelocidadeKmh / 3.6;
        const double dRumo = std::atan2(dy, dx) / D_GRAUS_RAD;
        const int n = static_cast<int>(dComprimento / dPasso);
        for (int i = 0; i <= n; ++i)
        {
            const double f = n == 0 ? 1.0 : static_cast<double>(i) / n;
            emitir(de.x + dx * f, de.y + dy * f, dRumo, true, 0, 1, m_maquina.dVelocidadeKmh);
        }
    }

    // Headland turn: half circle from the end of one pass to the start of the next, sections off.
    void manobra(Ponto2 centro, double dRaio, double dAnguloInicio, double dAnguloFim)
    {
        const double dVelocidade = 8.0;
        const double dArco = std::fabs(dAnguloFim - dAnguloInicio) * D_GRAUS_RAD * dRaio;
        const int n = std::max(2, static_cast<int>(dArco / (dVelocidade / 3.6)));
        const double dSentido = dAnguloFim > dAnguloInicio ? 90.0 : -90.0;
        for (int i = 1; i < n; ++i)
        {
            const double a = dAnguloInicio + (dAnguloFim - dAnguloInicio) * i / n;
            emitir(centro.x + dRaio * std::cos(a * D_GRAUS_RAD), centro.y + dRaio * std::sin(a * D_GRAUS_RAD),
                   a + dSentido, false, 0, 1, dVelocidade);
        }
    }

    // Machine standing (refill, repairs): one point every few seconds, marked as stopped.
    void parada(std::uint32_t ulSegundos, bool bReabastecer)
    {
        for (std::uint32_t s = 0; s < ulSegundos; s += 5)
            emitir(m_x, m_y, m_dRumo, false, D_ZAVORO_TAG_PARADA, s == 0 ? 1 : 5, 0.0);
        if (bReabastecer)
            m_dQuantidadeTanque = 0.0;
    }

    // The operator pauses the job: the console logs the start, then nothing until the end.
    void pausa(std::uint32_t ulSegundos)
    {
        emitir(m_x, m_y, m_dRumo, false, D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_INICIO, 1, 0.0);
        m_ulPausas += ulSegundos;
        emitir(m_x, m_y, m_dRumo, false, D_ZAVORO_TAG_PONTO_PAUSA | D_ZAVORO_TAG_FIM, ulSegundos, 0.0);
    }

    // The console loses power; its first point back is marked.
    void faltaEnergia(std::uint32_t ulSegundos)
    {
        m_ulPausas += ulSegundos;
        emitir(m_x, m_y, m_dRumo, false, D_ZAVORO_TAG_RETORNO_ENERGIA, ulSegundos, 0.0);
    }

    Ponto2 posicao() const { return {m_x, m_y}; }

    // Event totals from the points, as the console closes the job.
    void finalizar()
    {
        ST_EventoCabecalho& c = m_b.stCabecalho;
        c.ulDataHoraFimEvento = m_t;
        c.ulTempoTrabalho = m_t - c.ulDataHoraInicioEvento - m_ulPausas;
        c.ulTempoTrabalhoEfetivo = m_ulEfetivo;
        c.fDistanciaPercorridaEvento = static_cast<float>(m_dDistancia);
        c.fAreaCobertura = static_cast<float>(m_dArea);
        c.ulVolumeAplicado = static_cast<std::uint32_t>(m_dQuantidade);
    }

    double quantidade() const { return m_dQuantidade; }
    double area() const { return m_dArea; }

private:
    double ruido(double dRelativo) { return std::normal_distribution<double>(1.0, dRelativo)(m_rng); }

    void emitir(double x, double y, double dRumo, bool bTrabalhando, std::uint16_t usTags, std::uint32_t ulDt,
                double dVelocidade)
    {
        if (!m_bPrimeiro)
            m_t += ulDt;
        const double dDist = m_bPrimeiro ? 0.0 : std::hypot(x - m_x, y - m_y);

        // Section centres lie across the heading, left to right.
        const double dCos = std::cos((dRumo - 90.0) * D_GRAUS_RAD), dSen = std::sin((dRumo - 90.0) * D_GRAUS_RAD);
        std::uint16_t usMascara = 0;
        std::array<double, 5> adTaxa{};
        double dLarguraLigada = 0.0, dQuantidadeInc = 0.0, dSomaTaxa = 0.0;
        double d = -m_dLargura / 2.0;
        for (std::size_t k = 0; k < m_maquina.largurasSecoes.size(); ++k)
        {
            const double w = m_maquina.largurasSecoes[k];
            const double cx = x + (d + w / 2.0) * dCos, cy = y + (d + w / 2.0) * dSen;
            d += w;
            if (!bTrabalhando || !fnDentro(cx, cy))
                continue;
            usMascara |= static_cast<std::uint16_t>(1u << k);
            const double dTaxa = fnTaxa(cx, cy) * ruido(0.02);
            if (k < adTaxa.size())
                adTaxa[k] = dTaxa;
            dLarguraLigada += w;
            dSomaTaxa += dTaxa * w;
            dQuantidadeInc += dDist * w / 10000.0 * dTaxa;
        }

        ST_PontoNVG_v2 p{};
        p.fLongitudeRelImp = static_cast<float>(x);
        p.fLatitudeRelImp = static_cast<float>(y);
        p.fAnguloNavegacao = static_cast<float>(std::remainder(dRumo, 360.0));
        if (p.fAnguloNavegacao < 0)
            p.fAnguloNavegacao += 360.0f;
        m_dArea += dDist * dLarguraLigada / 10000.0;
        m_dQuantidade += dQuantidadeInc;
        m_dQuantidadeTanque += dQuantidadeInc;
        m_dDistancia += dDist;
        if (usMascara != 0)
            m_ulEfetivo += ulDt;
        p.fAreaCobertura = static_cast<float>(m_dArea);
        p.ulSegundosDataHora = m_t;
        p.usTag = static_cast<std::uint16_t>(D_ZAVORO_TAG_PONTO_RASTREAMENTO | usTags |
                                             (usMascara != 0 ? D_ZAVORO_TAG_RASTRO : 0));
        if (dVelocidade > 0.0)
            p.usTag |= D_ZAVORO_TAG_PILOTO_LIGADO | D_ZAVORO_TAG_DESVIO_VALIDO;
        p.usSecoes = usMascara;
        if (usMascara != 0)
        {
            if (m_maquina.bTaxaPorSecao)
                for (std::size_t k = 0; k < adTaxa.size(); ++k)
                    p.usTaxaLida[k] = static_cast<std::uint16_t>(std::lround(adTaxa[k]));
            else
                p.usTaxaLida[0] =
                    static_cast<std::uint16_t>(std::lround(dSomaTaxa / dLarguraLigada * m_maquina.usEscalaTaxa));
        }

        const auto ulQuantidade = static_cast<std::uint32_t>(m_dQuantidade);
        if (m_maquina.ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
        {
            // Bits 16..23 of the quantity ride in the high byte of the section mask.
            p.usVolumeAplicado = static_cast<std::uint16_t>(ulQuantidade & 0xFFFF);
            p.usSecoes = static_cast<std::uint16_t>(usMascara | (((ulQuantidade >> 16) & 0xFF) << 8));
        }
        else
            p.usVolumeAplicado = ulQuantidade <= 0x7FFF ? static_cast<std::uint16_t>(ulQuantidade)
                                                        : static_cast<std::uint16_t>(0x8000 | (ulQuantidade / 2));
        if (m_maquina.dCapacidadeTanque > 0.0)
            p.usNivelTanque = static_cast<std::uint16_t>(
                std::lround(std::max(0.0, m_maquina.dCapacidadeTanque - std::fmod(m_dQuantidadeTanque,
                                                                                  m_maquina.dCapacidadeTanque))));
        p.ucVelocidade = static_cast<std::uint8_t>(std::lround(dVelocidade > 0 ? dVelocidade * ruido(0.03) : 0.0));
        p.ucDesvio = static_cast<std::uint8_t>(dVelocidade > 0 ? std::uniform_int_distribution<int>(0, 6)(m_rng) : 0);
        if (m_maquina.bPressao && usMascara != 0)
            p.fPressao = static_cast<float>(std::clamp(3.0 * ruido(0.08), 2.0, 4.0));
        // The implement's temperature is logged every two minutes.
        if (m_maquina.bTemperatura && m_t >= m_ulProximaTemperatura && dVelocidade > 0)
        {
            p.fTemperatura = static_cast<float>(std::uniform_real_distribution<double>(25.0, 35.0)(m_rng));
            m_ulProximaTemperatura = m_t + 120;
        }

        m_pEtapa->pontos.push_back(p);
        m_x = x;
        m_y = y;
        m_dRumo = dRumo;
        m_bPrimeiro = false;
    }

    NvgBuilder& m_b;
    Maquina m_maquina;
    Etapa* m_pEtapa = nullptr;
    std::uint32_t m_t;
    std::mt19937 m_rng;
    double m_dLargura = 0.0;
    double m_x = 0.0, m_y = 0.0, m_dRumo = 0.0;
    bool m_bPrimeiro = true;
    double m_dArea = 0.0, m_dQuantidade = 0.0, m_dQuantidadeTanque = 0.0, m_dDistancia = 0.0;
    std::uint32_t m_ulEfetivo = 0, m_ulPausas = 0;
    std::uint32_t m_ulProximaTemperatura = 0;
};

// Back-and-forth passes along x across a field spanning xMin..xMax, swaths of the given width
// from y0 upwards; fnEntrePassadas runs before pass i (stage changes, stops, pauses).
void trabalharEmFaixas(Simulador& sim, double xMin, double xMax, double y0, double dFaixa, int iPassadas,
                       const std::function<void(int)>& fnEntrePassadas)
{
    for (int i = 0; i < iPassadas; ++i)
    {
        fnEntrePassadas(i);
        const double y = y0 + dFaixa * (i + 0.5);
        const bool bLeste = i % 2 == 0;
        sim.passada({bLeste ? xMin : xMax, y}, {bLeste ? xMax : xMin, y});
        if (i + 1 < iPassadas)
            sim.manobra({bLeste ? xMax : xMin, y + dFaixa / 2.0}, dFaixa / 2.0, bLeste ? -90.0 : 270.0, 90.0);
    }
}

Guia guiaReta(const NvgBuilder& b, Ponto2 a, Ponto2 bPonto, std::uint32_t ulDataHora)
{
    const double dLat0 = b.stTalhao.dZeroRelativoLat, dLon0 = b.stTalhao.dZeroRelativoLon;
    const double dMetrosLon = D_METROS_POR_GRAU * std::cos(dLat0 * D_GRAUS_RAD);
    Guia g;
    g.usVersao = 2;
    g.stGuia.dPontoALon = dLon0 + a.x / dMetrosLon;
    g.stGuia.dPontoALat = dLat0 + a.y / D_METROS_POR_GRAU;
    g.stGuia.dPontoBLon = dLon0 + bPonto.x / dMetrosLon;
    g.stGuia.dPontoBLat = dLat0 + bPonto.y / D_METROS_POR_GRAU;
    g.stGuia.ulDataHoraInicioGuia = ulDataHora;
    g.stGuia.ulDataHoraInicioTalhao = b.stTalhao.ulDataHoraInicio;
    g.stGuia.fDistanciaPercorridaAB = static_cast<float>(std::hypot(bPonto.x - a.x, bPonto.y - a.y));
    g.stGuia.ucFlagPontoAMarcado = 1;
    g.stGuia.ucFlagPontoBMarcado = 1;
    g.stGuia.ucTipoGuia = D_ZAVORO_TIPO_GUIA_RETA;
    return g;
}

void talhao(NvgBuilder& b, const char* pcNome, double dLon, double dLat, std::uint32_t ulDataHora)
{
    b.stTalhao = ST_Talhao{};
    b.stTalhao.dZeroRelativoLon = dLon;
    b.stTalhao.dZeroRelativoLat = dLat;
    b.stTalhao.ulDataHoraInicio = ulDataHora;
    b.stTalhao.ulIndicePrimeiroGuia = 1;
    b.stTalhao.ulIndicePrimeiroEvento = 1;
    texto(b.stTalhao.szNomeTalhao, pcNome);
    b.stCabecalho = ST_EventoCabecalho{};
    b.stCabecalho.ulDataHoraInicioTalhao = ulDataHora;
}

void cabecalho(NvgBuilder& b, const char* pcEvento, const Etapa& ultima, std::uint8_t ucOperacao)
{
    texto(b.stCabecalho.szNomeEvento, pcEvento);
    std::memcpy(b.stCabecalho.szUltOperador, ultima.stConfig.szOperador, D_ZAVORO_TAMANHO_STRING);
    std::memcpy(b.stCabecalho.szUltMaquina, ultima.stConfig.szMaquina, D_ZAVORO_TAMANHO_STRING);
    std::memcpy(b.stCabecalho.szUltCultura, ultima.stConfig.szCultura, D_ZAVORO_TAMANHO_STRING);
    b.operacao(ucOperacao);
    b.stTalhao.ucNumeroGuias = static_cast<std::uint8_t>(b.guias.size());
    b.stTalhao.ucNumeroEventos = 1;
}

// Console identity and autopilot, the same on every job of the fleet.
void console(Etapa& e, std::uint32_t ulSerial)
{
    e.campo("ulNumeroSerial", ulSerial).campo("ulVersaoBootloader", 10203).campo("ulVersaoAplicAtualiz", 20104);
    e.campo("ulVersaoAplicativo", 30207).campo("ulVersaoInterfaceDir", 1105).campo("ulVersaoInterfaceEsq", 1105);
    e.campo("ucTipoComando", D_ZAVORO_TIPO_COMANDO_ELETRICO_V2).campo("ucAgressividade", 6);
    e.campo("ucFatorHidraulico", D_ZAVORO_FATOR_HIDRAULICO_FABRICA).campo("ucFusoHorario", 0xFD);
}

// ---------------------------------------------------------------------------------------------------

// The spraying prescription's grid (recomendacaoPulverizacao), in the field's metres: 4 x 3 zones over
// the field plus a 10 m margin.
constexpr int kColunasRecomendacao = 4, kLinhasRecomendacao = 3;
constexpr double kLarguraZona = 580.0 / kColunasRecomendacao, kAlturaZona = 420.0 / kLinhasRecomendacao;
constexpr double kDosesRecomendacao[kLinhasRecomendacao * kColunasRecomendacao] = {120, 135, 150, 165, 140, 155,
                                                                                   170, 180, 125, 145, 160, 175};
// Zone (0-based, row by row) of a place of the field; -1 outside the grid.
int ZonaRecomendacao(double x, double y)
{
    const int c = static_cast<int>(std::floor((x + 10.0) / kLarguraZona));
    const int l = static_cast<int>(std::floor((y + 10.0) / kAlturaZona));
    return c < 0 || c >= kColunasRecomendacao || l < 0 || l >= kLinhasRecomendacao ? -1 : l * kColunasRecomendacao + c;
}

// What the controller applies where the prescription asks for a dose: the doses of the ground around
// (the valves take some metres to settle after a zone border), and in zone B4 (180 L/ha) the product
// ran short, so the rate fell to 60 % of it.
double TaxaSeguindoRecomendacao(double x, double y)
{
    constexpr double kAtraso = 8.0; // metres of ground the rate takes to follow a change
    constexpr int kZonaSemProduto = 1 * kColunasRecomendacao + 3;
    double dSoma = 0.0;
    int n = 0;
    for (double dx : {-kAtraso, 0.0, kAtraso})
        for (double dy : {-kAtraso, 0.0, kAtraso})
        {
            const int iZona = ZonaRecomendacao(x + dx, y + dy);
            if (iZona < 0)
                continue;
            dSoma += kDosesRecomendacao[iZona] * (iZona == kZonaSemProduto ? 0.6 : 1.0);
            n++;
        }
    return n > 0 ? dSoma / n : 150.0;
}

NvgBuilder pulverizacaoSoja()
{
    NvgBuilder b;
    const std::uint32_t ulTalhao = dataHora(2026, 1, 12, 7, 40);
    talhao(b, "Talhão 12 - Sede", -51.93, -24.05, ulTalhao);

    // Trapezoid of about 20 ha; its slanted east side makes the sections switch one after another.
    const std::vector<Ponto2> contorno = {{0, 0}, {560, 0}, {440, 400}, {8, 400}, {-6, 200}};
    const std::vector<Ponto2> exclusao = {{240, 170}, {275, 178}, {288, 205}, {268, 232}, {236, 226}, {222, 198}};
    b.limites = {limite(contorno, ulTalhao + 600, ulTalhao), limite(exclusao, ulTalhao + 1500, ulTalhao)};

    b.guias.push_back(guiaReta(b, {0, 13.5}, {560, 13.5}, ulTalhao + 2400));
    Guia curva;
    curva.usVersao = 3;
    curva.stGuia = b.guias[0].stGuia;
    curva.stGuia.ucTipoGuia = D_ZAVORO_TIPO_GUIA_CURVA;
    curva.stGuia.ulDataHoraInicioGuia = ulTalhao + 3000;
    for (int c = 0; c < 2; ++c)
    {
        Curva trecho;
        for (int i = 0; i <= 60; ++i)
        {
            const double x = (c == 0 ? 0.0 : 280.0) + i * 4.5;
            trecho.pontos.push_back({static_cast<float>(x), static_cast<float>(60.0 + 12.0 * std::sin(x / 70.0))});
        }
        curva.curvas.push_back(trecho);
    }
    curva.stGuia.fDistanciaPercorridaAB = 545.0f;
    b.guias.push_back(curva);

    Simulador::Maquina maquina{std::vector<double>(9, 3.0), 15.0, D_ZAVORO_OPERACAO_PULVERIZACAO};
    maquina.usEscalaTaxa = 10;
    maquina.dCapacidadeTanque = 3000.0;
    maquina.bPressao = true;
    maquina.bTemperatura = true;
    Simulador sim(b, maquina, dataHora(2026, 3, 2, 7, 55), 20260302);
    sim.fnDentro = [&](double x, double y) { return dentroPoligono(contorno, x, y) && !dentroPoligono(exclusao, x, y); };
    sim.fnTaxa = TaxaSeguindoRecomendacao;

    struct Turno
    {
        const char* pcOperador;
        int iProduto;
        int iTaxa;
    };
    const Turno turnos[] = {{"João Antônio", 0, 1500}, {"José Conceição", 1, 1500}, {"Luíza Gonçalves", 2, 1480}};
    auto etapa = [&](const Turno& t) {
        Etapa e;
        e.operacao(D_ZAVORO_OPERACAO_PULVERIZACAO);
        e.campo("szOperador", t.pcOperador).campo("szMaquina", "Pulverizador 3000").campo("szCultura", "Soja");
        e.campo("usLarguraImplemento", 2700).campo("fLarguraImplemento", 27.0).campo("ucNumeroSecoes", 9);
        for (int i = 0; i < 9; ++i)
            e.campo("usTamanhoSeccao[" + std::to_string(i) + "]", 300);
        e.campo("ulEntreEixosX1000", 3650).campo("sSobreposicaoImplemento", 0).campo("fSobreposicaoImplemento", 0.0);
        e.campo("sDistImplemento", -42).campo("usTaxaAplicacao1", t.iTaxa).campo("usTaxaAplicacao2", 1000);
        e.campo("usCapacidadeTanque", 3000).campo("usAlarmeTanque", 300).campo("usConstanteFluxometro", 600);
        e.campo("usNumeroBicos", 54).campo("usEspacamentoBicos", 50).campo("usVazaoBico", 12);
        e.campo("usPressaoBico", 30).campo("usTempoValvulaProporcional", 15);
        e.campo("usTempoAberturaValvulaSecao", 4).campo("usTempoFechamentoValvulaSecao", 3);
        e.campo("ucValvulaGeral", D_ZAVORO_VALVULA_2_VIAS).campo("ucValvulaSecao", D_ZAVORO_VALVULA_3_VIAS);
        e.campo("ucValvulaProporcional", D_ZAVORO_VALVULA_2_VIAS);
        console(e, 4471203);
        static const char* const apcProdutos[][2] = {{"Glifosato Atar 480", "Óleo Mineral Assist"},
                                                     {"Glifosato Atar 480", "Cletodim Seletor"},
                                                     {"Fungicida Priori Xtra", "Inseticida Engeo Pleno"}};
        static const int aiDoses[][2] = {{2500, 500}, {2000, 450}, {300, 250}};
        for (int p = 0; p < 2; ++p)
        {
            const std::string szPrefixo = "stProdutoUtilizadoPulv[" + std::to_string(p) + "].";
            e.campo(szPrefixo + "ucNomeProduto", apcProdutos[t.iProduto][p]);
            e.campo(szPrefixo + "ucFlagModoMedicao", 1).campo(szPrefixo + "usDoseAtual", aiDoses[t.iProduto][p]);
            e.campo(szPrefixo + "usDoseMinima", aiDoses[t.iProduto][p] / 2);
            e.campo(szPrefixo + "usDoseMaxima", aiDoses[t.iProduto][p] * 2);
            e.campo(szPrefixo + "ucFlagProdutoSelecionado", 1);
        }
        return e;
    };

    trabalharEmFaixas(sim, -20.0, 590.0, 0.0, 27.0, 15, [&](int i) {
        if (i == 0)
            sim.novaEtapa(etapa(turnos[0]));
        if (i == 5)
        {
            sim.parada(7 * 60 + 30, true); // refill at the headland, then the second operator
            sim.novaEtapa(etapa(turnos[1]));
        }
        if (i == 8)
            sim.pausa(25 * 60);
        if (i == 10)
            sim.novaEtapa(etapa(turnos[2]));
        if (i == 12)
            sim.faltaEnergia(95);
    });
    sim.finalizar();
    cabecalho(b, "Dessecação Pré-Plantio", b.etapas.back(), D_ZAVORO_OPERACAO_PULVERIZACAO);
    return b;
}

NvgBuilder adubacaoTaxaVariavel()
{
    NvgBuilder b;
    b.usVersaoEvento = 7;
    const std::uint32_t ulTalhao = dataHora(2026, 4, 20, 6, 30);
    talhao(b, "Talhão 07 - Várzea", -51.91, -24.07, ulTalhao);
    const std::vector<Ponto2> contorno = {{0, 0}, {620, 0}, {600, 480}, {0, 500}};
    b.limites = {limite(contorno, ulTalhao + 900, ulTalhao)};
    b.guias.push_back(guiaReta(b, {0, 12}, {620, 12}, ulTalhao + 1200));

    Simulador::Maquina maquina{std::vector<double>(4, 6.0), 12.0, D_ZAVORO_OPERACAO_ADUBACAO};
    maquina.bTaxaPorSecao = true;
    maquina.dCapacidadeTanque = 7000.0;
    Simulador sim(b, maquina, dataHora(2026, 4, 21, 7, 10), 20260421);
    sim.fnDentro = [&](double x, double y) { return dentroPoligono(contorno, x, y); };
    // Three lime zones of the prescription map.
    sim.fnTaxa = [](double x, double y) {
        if (y > 330.0 - 0.2 * x)
            return 1800.0;
        return x < 260.0 ? 3000.0 : 2400.0;
    };

    Etapa e;
    e.operacao(D_ZAVORO_OPERACAO_ADUBACAO);
    e.campo("szOperador", "Sebastião Araújo").campo("szMaquina", "Distribuidor Dastra 7000");
    e.campo("szCultura", "Milho Safrinha").campo("usLarguraImplemento", 2400).campo("fLarguraImplemento", 24.0);
    e.campo("ulEntreEixosX1000", 2900).campo("sDistImplemento", -55);
    console(e, 4471388);
    e.campo("ucTipoMaquinaAdub", D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO);
    e.campo("ucTipoDiscosDastra", D_ZAVORO_TIPO_DISCOS_DASTRA_S6).campo("ucNumeroSecoesAdub", 4);
    for (int i = 0; i < 4; ++i)
        e.campo("usTamanhoSecaoAdub[" + std::to_string(i) + "]", 600);
    e.campo("ucTipoTaxa", D_ZAVORO_TIPO_TAXA_VARIAVEL).campo("szNomeTrabalho", "Calagem Safra 26/27");
    e.campo("szMapaTrabalho", "Mapa_Calcário_T07").campo("szParametroMapa", "Dose_kg_ha");
    e.campo("fAreaMapa", 30.4).campo("fVolumeMapa", 71800.0).campo("fDensidadeProduto", 1.25);
    e.campo("ulCapacidadeTanque", 7000).campo("ulAlarmeNivelTanque", 800).campo("ulRotacaoAlvoDisco", 720);
    e.campo("ucTipoModuloAdub", D_ZAVORO_TIPO_MODULO_ADUBACAO_PLENVIK);
    e.campo("ucConectorEncodersAdub", D_ZAVORO_TIPO_CONECTOR_SENSORES_TIPO_2_CN2_AN_35);
    e.campo("ucControlarDisco", 1).campo("ucControlarComporta", 1).campo("ucTempoCalibracao",
                                                                          D_ZAVORO_TEMPO_CALIBRACAO_ADUBACAO_1_MIN);
    e.campo("ucBalancaInstalada", D_ZAVORO_TIPO_BALANCA_QTN).campo("ucUtilizarBalanca", 1);
    e.campo("fCorrecaoBalanca", 1.02);
    for (int m = 0; m < 6; ++m)
    {
        e.campo("fMaxRotacaoMotorAdub[" + std::to_string(m) + "]", m == 5 ? 900.0 : 180.0);
        e.campo("fMinRotacaoMotorAdub[" + std::to_string(m) + "]", m == 5 ? 400.0 : 10.0);
        for (int p = 0; p < 5; ++p)
        {
            const std::string szIndice = "[" + std::to_string(m) + "][" + std::to_string(p) + "]";
            e.campo("usMotorPwmCurvaAdub" + szIndice, 200 + 200 * p);
            e.campo("usPercentualRotacaoMotorAdub" + szIndice, 20 * (p + 1));
        }
    }
    e.campo("dConstanteTrabalhoAdub[0]", 412.75).campo("ucPosicaoDropPoint", 2);
    sim.novaEtapa(e);

    trabalharEmFaixas(sim, -25.0, 645.0, 0.0, 24.0, 21, [&](int i) {
        if (i == 11)
            sim.parada(6 * 60, true);
    });
    sim.finalizar();
    cabecalho(b, "Calagem Taxa Variável", b.etapas.back(), D_ZAVORO_OPERACAO_ADUBACAO);
    return b;
}

NvgBuilder colheita()
{
    NvgBuilder b;
    const std::uint32_t ulTalhao = dataHora(2026, 2, 3, 9, 0);
    talhao(b, "Talhão 03 - Baixada", -51.95, -24.03, ulTalhao);
    const std::vector<Ponto2> contorno = {{0, 0}, {400, 0}, {400, 200}, {0, 200}};
    b.limites = {limite(contorno, ulTalhao + 300, ulTalhao)};
    b.guias.push_back(guiaReta(b, {0, 4.5}, {400, 4.5}, ulTalhao + 600));

    Simulador::Maquina maquina{{9.0}, 6.0, D_ZAVORO_OPERACAO_COLHEITA};
    maquina.dCapacidadeTanque = 9000.0;
    Simulador sim(b, maquina, dataHora(2026, 2, 18, 13, 20), 20260218);
    sim.fnDentro = [&](double x, double y) { return dentroPoligono(contorno, x, y); };
    sim.fnTaxa = [](double x, double) { return 3400.0 + 400.0 * std::sin(x / 60.0); }; // kg/ha

    Etapa e;
    e.operacao(D_ZAVORO_OPERACAO_COLHEITA);
    e.campo("szOperador", "Antônio Brandão").campo("szMaquina", "Colheitadeira Axial 9").campo("szCultura", "Soja");
    e.campo("usLarguraImplemento", 900).campo("fLarguraImplemento", 9.0).campo("ucNumeroSecoes", 1);
    e.campo("usTamanhoSeccao[0]", 900).campo("ulEntreEixosX1000", 3800).campo("sDistImplemento", 30);
    console(e, 4470912);
    sim.novaEtapa(e);
    trabalharEmFaixas(sim, -10.0, 410.0, 0.0, 9.0, 22, [&](int i) {
        if (i == 12)
            sim.parada(6 * 60, true); // unloading into the grain cart
    });
    sim.finalizar();
    cabecalho(b, "Colheita Soja 25/26", b.etapas.back(), D_ZAVORO_OPERACAO_COLHEITA);
    return b;
}

NvgBuilder plantio()
{
    NvgBuilder b;
    const std::uint32_t ulTalhao = dataHora(2025, 10, 2, 8, 0);
    talhao(b, "Talhão 05 - Coxilha", -51.89, -24.10, ulTalhao);
    const std::vector<Ponto2> contorno = {{0, 0}, {420, 0}, {380, 240}, {0, 240}};
    b.limites = {limite(contorno, ulTalhao + 300, ulTalhao)};
    b.guias.push_back(guiaReta(b, {0, 4.5}, {420, 4.5}, ulTalhao + 700));

    Simulador::Maquina maquina{{3.0, 3.0, 3.0}, 7.0, D_ZAVORO_OPERACAO_PLANTIO};
    maquina.bTemperatura = true;
    Simulador sim(b, maquina, dataHora(2025, 10, 15, 6, 45), 20251015);
    sim.fnDentro = [&](double x, double y) { return dentroPoligono(contorno, x, y); };
    sim.fnTaxa = [](double, double) { return 280.0; }; // thousand seeds per hectare

    Etapa e;
    e.operacao(D_ZAVORO_OPERACAO_PLANTIO);
    e.campo("szOperador", "Márcio Simões").campo("szMaquina", "Plantadeira Pneumática 18").campo("szCultura", "Soja");
    e.campo("usLarguraImplemento", 900).campo("fLarguraImplemento", 9.0).campo("ulEntreEixosX1000", 2750);
    e.campo("sDistImplemento", -48);
    console(e, 4471017);
    e.campo("ucNumeroSecoesPlantio", 3).campo("usNumeroLinhasPlantio", 18).campo("usEspacamentoLinhasPlantio", 50);
    for (int i = 0; i < 3; ++i)
        e.campo("usTamanhoSeccaoPlantio[" + std::to_string(i) + "]", 300);
    e.campo("usTempoAberturaValvulaSecaoPlantio", 6).campo("usTempoFechamentoValvulaSecaoPlantio", 4);
    e.campo("sDistAduboSementePlantio", 5).campo("ucSensorImplementoPlantio", 1);
    sim.novaEtapa(e);
    trabalharEmFaixas(sim, -15.0, 440.0, 0.0, 9.0, 27, [&](int i) {
        if (i == 14)
            sim.pausa(40 * 60);
    });
    sim.finalizar();
    cabecalho(b, "Plantio Soja 2025", b.etapas.back(), D_ZAVORO_OPERACAO_PLANTIO);
    return b;
}

NvgBuilder irrigacao()
{
    NvgBuilder b;
    const std::uint32_t ulTalhao = dataHora(2026, 8, 3, 7, 0);
    talhao(b, "Horta Nova Esperança", -51.97, -24.01, ulTalhao);
    const std::vector<Ponto2> contorno = {{0, 0}, {180, 0}, {180, 110}, {0, 110}};
    b.limites = {limite(contorno, ulTalhao + 200, ulTalhao)};

    Simulador::Maquina maquina{{6.0, 6.0, 6.0}, 3.0, D_ZAVORO_OPERACAO_IRRIGACAO};
    maquina.dCapacidadeTanque = 10000.0;
    Simulador sim(b, maquina, dataHora(2026, 8, 10, 16, 30), 20260810);
    sim.fnDentro = [&](double x, double y) { return dentroPoligono(contorno, x, y); };
    sim.fnTaxa = [](double, double) { return 120.0; }; // hundreds of litres per hectare

    Etapa e;
    e.operacao(D_ZAVORO_OPERACAO_IRRIGACAO);
    e.campo("szOperador", "Conceição Ribeiro").campo("szMaquina", "Barra Irrigadora 18 m");
    e.campo("szCultura", "Alface Crespa").campo("usLarguraImplemento", 1800).campo("fLarguraImplemento", 18.0);
    e.campo("ucNumeroSecoes", 3);
    for (int i = 0; i < 3; ++i)
        e.campo("usTamanhoSeccao[" + std::to_string(i) + "]", 600);
    console(e, 4471555);
    sim.novaEtapa(e);
    trabalharEmFaixas(sim, -10.0, 190.0, 0.0, 18.0, 6, [](int) {});
    sim.finalizar();
    cabecalho(b, "Irrigação Complementar", b.etapas.back(), D_ZAVORO_OPERACAO_IRRIGACAO);
    return b;
}

// An old console: container without boundaries, event version 1, one-rate points.
NvgBuilder antigoV1()
{
    NvgBuilder b;
    b.uiVersaoArquivo = D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_SEM_LIMITES;
    b.usVersaoEvento = 1;
    const std::uint32_t ulTalhao = dataHora(2013, 11, 4, 8, 15);
    talhao(b, "Lavoura do Açude", -52.40, -28.26, ulTalhao);
    b.stTalhao.ucTipoGuia = D_ZAVORO_TIPO_GUIA_RETA;
    Guia g = guiaReta(b, {0, 9}, {300, 9}, ulTalhao + 500);
    g.usVersao = 1;
    b.guias.push_back(g);

    const std::vector<Ponto2> contorno = {{0, 0}, {300, 0}, {300, 162}, {0, 162}};
    Simulador::Maquina maquina{std::vector<double>(6, 3.0), 14.0, D_ZAVORO_OPERACAO_PULVERIZACAO};
    maquina.usEscalaTaxa = 10;
    maquina.dCapacidadeTanque = 2000.0;
    Simulador sim(b, maquina, dataHora(2013, 11, 5, 14, 5), 20131105);
    sim.fnDentro = [&](double x, double y) { return dentroPoligono(contorno, x, y); };
    sim.fnTaxa = [](double, double) { return 100.0; };

    auto etapa = [](const char* pcOperador) {
        Etapa e;
        e.operacao(D_ZAVORO_OPERACAO_PULVERIZACAO);
        e.campo("szOperador", pcOperador).campo("szMaquina", "Pulverizador Montana 2000");
        e.campo("szCultura", "Trigo").campo("usLarguraImplemento", 1800).campo("ucNumeroSecoes", 6);
        for (int i = 0; i < 6; ++i)
            e.campo("usTamanhoSeccao[" + std::to_string(i) + "]", 300);
        return e;
    };
    trabalharEmFaixas(sim, -10.0, 310.0, 0.0, 18.0, 9, [&](int i) {
        if (i == 0)
            sim.novaEtapa(etapa("Valdir Müller"));
        if (i == 5)
            sim.novaEtapa(etapa("Sérgio Läufer"));
    });
    sim.finalizar();
    cabecalho(b, "Fungicida Trigo", b.etapas.back(), D_ZAVORO_OPERACAO_PULVERIZACAO);
    return b;
}

// Spraying prescription over the soybean field: a 4 x 3 grid of zones covering the worked area, each
// with its dose (L/ha, 120 to 180) and zone name.
ShpBuilder recomendacaoPulverizacao()
{
    const double dLon0 = -51.93, dLat0 = -24.05;
    const double dMetrosLon = D_METROS_POR_GRAU * std::cos(dLat0 * D_GRAUS_RAD);
    auto grau = [&](double x, double y) { return PontoShp{dLon0 + x / dMetrosLon, dLat0 + y / D_METROS_POR_GRAU}; };
    constexpr int iColunas = kColunasRecomendacao, iLinhas = kLinhasRecomendacao;
    constexpr double dLargura = kLarguraZona, dAltura = kAlturaZona;
    const double* adDoses = kDosesRecomendacao;
    ShpBuilder b;
    b.campos = {{"DOSE", 'N', 9, 2}, {"ZONA", 'C', 10, 0}};
    b.szPrj = "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
              "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
    for (int l = 0; l < iLinhas; ++l)
        for (int c = 0; c < iColunas; ++c)
        {
            const double x0 = -10.0 + c * dLargura, y0 = -10.0 + l * dAltura;
            const PontoShp a = grau(x0, y0), d = grau(x0 + dLargura, y0 + dAltura);
            const double dDose = adDoses[l * iColunas + c];
            const std::string szZona = std::string(1, static_cast<char>('A' + l)) + std::to_string(c + 1);
            b.adicionar(ShpBuilder::retangulo(a.x, a.y, d.x, d.y), {formatarNumeroDbf(dDose, 9, 2), szZona});
        }
    return b;
}

} // namespace

// Seeds of the shapefile fuzz target: a .shp and a .dbf in one file, the first four bytes
// (little-endian) giving the length of the .shp part.
int gerarCorpusShp(const std::filesystem::path& pasta)
{
    std::filesystem::create_directories(pasta);
    int n = 0;
    auto gravar = [&](const ShpBuilder& b) {
        const std::vector<std::uint8_t> vShp = b.construirShp(), vDbf = b.construirDbf();
        std::vector<std::uint8_t> v;
        for (int i = 0; i < 4; i++)
            v.push_back(static_cast<std::uint8_t>(vShp.size() >> (8 * i)));
        v.insert(v.end(), vShp.begin(), vShp.end());
        v.insert(v.end(), vDbf.begin(), vDbf.end());
        char szNome[32];
        std::snprintf(szNome, sizeof szNome, "semente_%02d.bin", n++);
        std::FILE* pf = std::fopen((pasta / szNome).string().c_str(), "wb");
        if (pf == nullptr || std::fwrite(v.data(), 1, v.size(), pf) != v.size())
            throw std::runtime_error("nao foi possivel gravar a semente");
        std::fclose(pf);
    };

    ShpBuilder tres;
    tres.campos = {{"ZONA", 'C', 4, 0}, {"DOSE", 'N', 9, 2}, {"Q", 'N', 3, 0}};
    tres.adicionar(ShpBuilder::retangulo(0, 0, 1, 1), {"A", "150.75", "1"});
    tres.adicionar(ShpBuilder::retangulo(1, 0, 2, 1), {"B", "1 5", "0"});
    tres.adicionar(ShpBuilder::retangulo(2, 0, 3, 1), {"C", "1.234,5", "2"}, true);
    gravar(tres);

    ShpBuilder furo; // ring with a hole, no end-of-file marker, a value 0
    furo.campos = {{"DOSE", 'N', 5, 1}};
    furo.bMarcadorFimDbf = false;
    AnelShp interno = ShpBuilder::retangulo(0.4, 0.4, 0.6, 0.6);
    std::reverse(interno.begin(), interno.end());
    furo.adicionar(std::vector<AnelShp>{ShpBuilder::retangulo(0, 0, 1, 1), interno}, {"90"});
    furo.adicionar(ShpBuilder::retangulo(1, 1, 2, 2), {"0"});
    gravar(furo);

    ShpBuilder curto = tres; // last record missing
    curto.corrupcao.truncarDbf = 1 + 17;
    gravar(curto);

    ShpBuilder amostra = recomendacaoPulverizacao();
    amostra.poligonos.resize(4);
    amostra.linhas.resize(4);
    gravar(amostra);
    return 0;
}

// Small files of every version for the fuzz targets to start from: a few points, one guide of each
// version, a boundary, and a few damaged copies.
int gerarCorpus(const std::filesystem::path& pasta)
{
    std::filesystem::create_directories(pasta);
    int n = 0;
    auto gravar = [&](const NvgBuilder& b) {
        char szNome[32];
        std::snprintf(szNome, sizeof szNome, "semente_%02d.nvg", n++);
        b.gravar(pasta / szNome);
    };
    for (std::uint16_t v = 1; v <= 9; v++)
    {
        NvgBuilder b = NvgBuilder::tipico(v, 3);
        b.uiVersaoArquivo = v % 2 == 0 ? 1 : 2;
        for (std::uint16_t g = 1; g <= 3; g++)
        {
            Guia guia;
            guia.usVersao = g;
            if (g == 3)
                guia.curvas = {Curva{{{0, 0}, {5, 5}}, {}}, Curva{{{9, 9}}, {}}};
            else
                guia.pontosCurva = {{1, 1}, {2, 2}};
            b.guias.push_back(guia);
        }
        Limite limite;
        limite.pontos = {{0, 0}, {50, 0}, {50, 50}};
        b.limites.push_back(limite);
        gravar(b);
    }
    NvgBuilder checksum = NvgBuilder::tipico(9, 2);
    checksum.corrupcao.checksumErrado.push_back({Secao::Evento, 0});
    gravar(checksum);
    NvgBuilder truncado = NvgBuilder::tipico(5, 2);
    truncado.corrupcao.truncarBytes = 7;
    truncado.corrupcao.corrigirChecksumArquivo = true;
    gravar(truncado);
    return 0;
}

int main(int iArgc, char** ppszArgv)
{
    if (iArgc == 3 && std::string_view(ppszArgv[1]) == "--corpus")
        return gerarCorpus(ppszArgv[2]);
    if (iArgc == 3 && std::string_view(ppszArgv[1]) == "--corpus-shp")
        return gerarCorpusShp(ppszArgv[2]);
    if (iArgc != 2)
    {
        std::fprintf(stderr, "uso: zavoro_gerar_amostras PASTA | --corpus PASTA | --corpus-shp PASTA\n");
        return 2;
    }
    const std::filesystem::path pasta = ppszArgv[1];
    struct Amostra
    {
        const char* pcArquivo;
        NvgBuilder (*pfGerar)();
    };
    const Amostra amostras[] = {
        {"pulverizacao_soja.nvg", pulverizacaoSoja}, {"adubacao_taxa_variavel.nvg", adubacaoTaxaVariavel},
        {"colheita.nvg", colheita},                   {"plantio.nvg", plantio},
        {"irrigacao.nvg", irrigacao},                 {"antigo_v1.nvg", antigoV1},
    };
    try
    {
        std::filesystem::create_directories(pasta);
        for (const Amostra& a : amostras)
        {
            const Layout L = a.pfGerar().gravar(pasta / a.pcArquivo);
            std::printf("%s: %zu bytes\n", (pasta / a.pcArquivo).string().c_str(), L.tamanhoArquivo);
        }
        recomendacaoPulverizacao().gravar(pasta / "recomendacao_pulverizacao");
        std::printf("%s: .shp .shx .dbf .prj\n", (pasta / "recomendacao_pulverizacao").string().c_str());
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "erro: %s\n", e.what());
        return 1;
    }
    return 0;
}
