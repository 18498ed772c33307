// Date, duration, distance, code and fixed-point number texts.
#include "conversor/textoSaida.h"
#include "zavoro/zavoro.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace
{

using namespace std::chrono;

// Day, month, year since 2000, hour, minute, second.
std::array<long, 6> Calcular(unsigned int ulSegundos)
{
    std::array<long, 6> a{-1, -1, -1, -1, -1, -1};
    zavoro_CalcularDataHoraSegundos(ulSegundos, &a[0], &a[1], &a[2], &a[3], &a[4], &a[5]);
    return a;
}

std::string TextoDataHora(unsigned int ulSegundos)
{
    char szBuffer[64];
    std::memset(szBuffer, 'X', sizeof szBuffer);
    zavoro_RetornarStringDataHora(ulSegundos, szBuffer);
    // The helper owns exactly its documented buffer and nothing past it.
    for (std::size_t i = D_ZAVORO_TAMANHO_STRING_DATA_HORA; i < sizeof szBuffer; ++i)
        EXPECT_EQ(szBuffer[i], 'X') << "write past the buffer at " << i;
    return szBuffer;
}

std::string TextoDuracao(unsigned int ulSegundos)
{
    char szBuffer[64];
    std::memset(szBuffer, 'X', sizeof szBuffer);
    zavoro_RetornarStringHoraMinutoSegundo(ulSegundos, szBuffer);
    EXPECT_LT(std::strlen(szBuffer), static_cast<std::size_t>(D_ZAVORO_TAMANHO_STRING_DURACAO));
    return szBuffer;
}

// Ordinal n (1 = 1 January 2000) as the console counts it, on the real calendar.
constexpr sys_days kInicio = sys_days{year{2000} / January / 1};

void CompararComCalendario(unsigned int ulSegundos, year_month_day ymd)
{
    const unsigned int ulDia = static_cast<unsigned>(ymd.day()), ulMes = static_cast<unsigned>(ymd.month());
    const int iAno = static_cast<int>(ymd.year());
    const unsigned int ulSegundoDia = ulSegundos % 86400, ulHora = ulSegundoDia / 3600;
    const unsigned int ulMinuto = ulSegundoDia % 3600 / 60;
    ASSERT_EQ(Calcular(ulSegundos),
              (std::array<long, 6>{long(ulDia), long(ulMes), iAno - 2000, long(ulHora), long(ulMinuto), long(ulSegundoDia % 60)}))
        << ulSegundos;
    char szEsperado[32];
    std::snprintf(szEsperado, sizeof szEsperado, "%02u/%02u/%04d - %02u:%02u", ulDia, ulMes, iAno, ulHora,
                  ulMinuto);
    ASSERT_EQ(TextoDataHora(ulSegundos), szEsperado);
}

} // namespace

// The day count is a 1-based ordinal, so the first day of the epoch is day 0 of January; seconds are
// dropped, never rounded. Every other day is checked against the real calendar below.
TEST(DataHora, DayZeroAndDroppedSeconds)
{
    EXPECT_EQ(TextoDataHora(0), "00/01/2000 - 00:00");
    EXPECT_EQ(TextoDataHora(86399), "00/01/2000 - 23:59");
    EXPECT_EQ(TextoDataHora(D_ZAVORO_DATA_HORA_MINIMA), "31/12/2009 - 09:59");
}

// Up to 28 February 2100 the console's calendar is the real one, shifted by the 1-based ordinal. Every
// year divisible by 4 is leap, so 2100 gains a 29 February and later dates trail by one day.
TEST(DataHora, MatchesCivilCalendarThenCounts2100AsLeap)
{
    const unsigned int ulN28Fev =
        static_cast<unsigned int>((sys_days{year{2100} / February / 28} - kInicio).count()) + 1;
    EXPECT_EQ(TextoDataHora((ulN28Fev + 1) * 86400u), "29/02/2100 - 00:00");

    const unsigned int ulUltimoN = std::numeric_limits<unsigned int>::max() / 86400u;
    for (unsigned int n = 1; n <= ulUltimoN; ++n)
    {
        if (n == ulN28Fev + 1)
            continue;
        // A different time of day for every day, covering both ends of the day as well.
        const unsigned int ulSegundoDia = (n % 7 == 0) ? 0 : (n % 7 == 1) ? 86399 : (n * 7919u) % 86400;
        const unsigned int ulAtraso = n > ulN28Fev ? 2 : 1;
        CompararComCalendario(n * 86400u + ulSegundoDia, year_month_day{kInicio + days{n - ulAtraso}});
        if (HasFatalFailure())
            return;
    }
    CompararComCalendario(std::numeric_limits<unsigned int>::max(), year_month_day{kInicio + days{ulUltimoN - 2}});
}

TEST(Duracao, FormatsHoursMinutesSecondsAndDays)
{
    // Exactly one day is not yet "dias".
    for (auto [ulSegundos, pcEsperado] : {std::pair{0u, "00h00m00s"}, {59u, "00h00m59s"}, {60u, "00h01m00s"},
                                          {3599u, "00h59m59s"}, {3725u, "01h02m05s"}, {86399u, "23h59m59s"},
                                          {86400u, "24h00m00s"}, {86401u, "1 dias e 00h00m01s"},
                                          {90061u, "1 dias e 01h01m01s"}, {172800u, "2 dias e 00h00m00s"},
                                          {10 * 86400u + 45296, "10 dias e 12h34m56s"},
                                          {4294967295u, "49710 dias e 06h28m15s"}})
        EXPECT_EQ(TextoDuracao(ulSegundos), pcEsperado) << ulSegundos;
}

TEST(TextosCodigo, EveryByteGivesItsTextOrUnknown)
{
    using Funcao = void (*)(unsigned char, char*);
    const struct
    {
        Funcao pfFuncao;
        std::vector<std::string> textos;
    } tabelas[] = {
        {zavoro_RetornarStringTipoValvula, {"Não possui", "2 vias", "3 vias"}},
        {zavoro_RetornarStringTipoOperacao,
         {"Pulverização", "Adubação", "Colheita", "Plantio", "Irrigação", "Outros"}},
        {zavoro_RetornarStringTipoComandoPiloto,
         {"Brinta Cavoda", "Brinta Rundel", "KVATO 100 PQTR", "KVATO 160 PQTR", "KVATO 200 PQTR", "Elétrico V1",
          "Bloco Morvel", "Elétrico V2"}},
        {zavoro_RetornarStringFatorHidraulico, {"Fábrica", "100", "50", "25"}},
        {zavoro_RetornarStringTipoGuia, {"Reta", "Curva"}},
    };
    for (const auto& tabela : tabelas)
    {
        for (int iCodigo = 0; iCodigo < 256; ++iCodigo)
        {
            char szBuffer[64];
            std::memset(szBuffer, 'X', sizeof szBuffer);
            tabela.pfFuncao(static_cast<unsigned char>(iCodigo), szBuffer);
            const std::string esperado = static_cast<std::size_t>(iCodigo) < tabela.textos.size()
                                             ? tabela.textos[static_cast<std::size_t>(iCodigo)]
                                             : "Desconhecido";
            EXPECT_EQ(szBuffer, esperado) << iCodigo; // UTF-8: this source file is UTF-8
            for (std::size_t i = D_ZAVORO_TAMANHO_STRING_CODIGO; i < sizeof szBuffer; ++i)
                ASSERT_EQ(szBuffer[i], 'X') << "write past the buffer, code " << iCodigo;
        }
    }
}

TEST(Distancia, EuclideanLengthOfTheDelta)
{
    EXPECT_FLOAT_EQ(zavoro_CalcularDistancia2Pontos(-3.0f, -4.0f), 5.0f);
    EXPECT_FLOAT_EQ(zavoro_CalcularDistancia2Pontos(4.0f, -3.0f), 5.0f);
    EXPECT_EQ(zavoro_CalcularDistancia2Pontos(0.0f, 0.0f), 0.0f);
}

// The short way for "%.Nf" must print what the exact conversion prints, ties and near-ties included.
TEST(TextoFixo, MatchesTheExactConversion)
{
    auto Exato = [](double d, int iCasas)
    {
        char cBuf[512];
        return std::string(cBuf, std::to_chars(cBuf, cBuf + sizeof cBuf, d, std::chars_format::fixed, iCasas).ptr);
    };
    std::vector<double> vValores = {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 0.375, 1.0000005, 0.0000005,
                                    -0.0000004, -1e-12, 9.9999995, 999999.9999995, 1e15, 4503599627370495.5,
                                    1e300, -1e-300, std::numeric_limits<double>::denorm_min(),
                                    std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
    // The longest text; either side of 2^52 millionths, where the short way hands over at 6 decimals;
    // more than three digits before the point.
    vValores.insert(vValores.end(), {-std::numeric_limits<double>::max(), 4503599627.370495,
                                     4503599627.3704995, 12345.5000005});
    std::mt19937_64 gerador(20261206);
    std::uniform_real_distribution<double> coordenada(-180.0, 180.0);
    std::uniform_int_distribution<int> expoente(-30, 30);
    for (int i = 0; i < 20000; i++)
    {
        vValores.push_back(coordenada(gerador));
        vValores.push_back(std::ldexp(coordenada(gerador), expoente(gerador)));
        // Exact halves of the last printed digit and their neighbours.
        const double dMeio = (std::floor(coordenada(gerador) * 1e6) + 0.5) / 1e6;
        vValores.push_back(dMeio);
        vValores.push_back(std::nextafter(dMeio, 0.0));
        vValores.push_back(std::nextafter(dMeio, 1e9));
    }
    for (int iCasas : {0, 1, 2, 6, 9, 12})
        for (double d : vValores)
        {
            std::string sz = "x";
            conversor_AnexarReal(sz, d, iCasas, FALSE);
            ASSERT_EQ(sz, "x" + Exato(d, iCasas)) << d << " with " << iCasas << " decimals";
        }
    // The KML's coordinates take their own way to the same digits, appended or written in place
    // within the room they promise.
    for (std::size_t i = 0; i < vValores.size(); i++)
    {
        const double dLon = vValores[i], dLat = vValores[vValores.size() - 1 - i];
        std::string szCoordenada;
        conversor_AnexarCoordenadaKml(szCoordenada, dLon, dLat, -3);
        ASSERT_EQ(szCoordenada, Exato(dLon, 6) + "," + Exato(dLat, 6) + ",-3\n") << dLon << ", " << dLat;
        char cBuf[D_CONVERSOR_TAMANHO_MAXIMO_COORDENADA_KML];
        const char* pcFim = conversor_EscreverCoordenadaKml(cBuf, dLat, dLon);
        ASSERT_EQ(std::string(cBuf, static_cast<std::size_t>(pcFim - cBuf)),
                  Exato(dLat, 6) + "," + Exato(dLon, 6) + ",0\n")
            << dLat << ", " << dLon;
    }
}
