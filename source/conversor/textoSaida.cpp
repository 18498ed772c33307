#include "conversor/textoSaida.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

namespace
{
template <typename T>
void AnexarNumero(std::string& szTexto, T valor)
{
    char cBuf[24];
    szTexto.append(cBuf, static_cast<std::size_t>(std::to_chars(cBuf, cBuf + sizeof cBuf, valor).ptr - cBuf));
}

// Fixed notation; any double with the few decimals asked for fits (309 digits at most before the point).
constexpr std::size_t kTamanhoFixo = 512;
static_assert(D_CONVERSOR_TAMANHO_MAXIMO_COORDENADA_KML >= 2 * kTamanhoFixo + 16);
constexpr double kPotenciasDez[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr char kParesDigitos[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                 "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                 "8081828384858687888990919293949596979899";

inline char* EscreverPar(char* pc, std::uint32_t ulPar)
{
    std::memcpy(pc, kParesDigitos + 2 * ulPar, 2);
    return pc + 2;
}

// The N digits of ulValor (below 10^N, N up to 9), leading zeros included: a pair (or a digit) from
// the top at a time, each by one multiplication.
template <std::size_t N>
inline void EscreverDigitos(char* pc, std::uint32_t ulValor)
{
    if constexpr (N == 1)
        *pc = static_cast<char>('0' + ulValor);
    else if constexpr (N >= 2)
    {
        constexpr auto ulResto = static_cast<std::uint32_t>(kPotenciasDez[N - 2]);
        const std::uint32_t ulPar = ulValor / ulResto;
        EscreverPar(pc, ulPar);
        EscreverDigitos<N - 2>(pc + 2, ulValor - ulPar * ulResto);
    }
}

// ullNumero / 10^N with its N decimals. N is a constant, so that the divisions become multiplications;
// inlined where coordinates are written, so that the two numbers of a line overlap.
template <std::size_t N>
[[gnu::always_inline]] inline char* EscreverEscalado(char* pc, std::uint64_t ullNumero)
{
    constexpr auto ullPotencia = static_cast<std::uint64_t>(kPotenciasDez[N]);
    // Degrees have at most three digits before the point: written in place.
    const std::uint64_t ullInteiro = ullNumero / ullPotencia;
    const auto ulInteiro = static_cast<std::uint32_t>(ullInteiro);
    if (ullInteiro < 100)
    {
        if (ulInteiro < 10)
            *pc++ = static_cast<char>('0' + ulInteiro);
        else
            pc = EscreverPar(pc, ulInteiro);
    }
    else if (ullInteiro < 1000)
    {
        *pc++ = static_cast<char>('0' + ulInteiro / 100);
        pc = EscreverPar(pc, ulInteiro % 100);
    }
    else
        pc = std::to_chars(pc, pc + 24, ullInteiro).ptr;
    if constexpr (N > 0)
    {
        *pc++ = '.';
        EscreverDigitos<N>(pc, static_cast<std::uint32_t>(ullNumero - ullInteiro * ullPotencia));
        pc += N;
    }
    return pc;
}

constexpr auto kEscritoresEscalados = []<std::size_t... N>(std::index_sequence<N...>)
{ return std::array{&EscreverEscalado<N>...}; }(std::make_index_sequence<std::size(kPotenciasDez)>{});

// The short way of "%.Nf": the value scaled by 10^N (exact powers) and rounded to a whole number into
// *pullNumero, with the sign written; false, nothing written, when the exact conversion must decide.
// The product is off by at most half a unit in its last place; when that could carry it across a
// half, the exact conversion decides. Coordinates are printed by the million, so this is inlined.
[[gnu::always_inline]] inline bool Escalar(char*& pc, double dValor, double dPotencia,
                                           std::uint64_t* pullNumero)
{
    const double dEscalado = std::fabs(dValor) * dPotencia;
    if (!(dEscalado < 0x1p52)) // infinities and NaN too
        return false;
    // Below 2^52 the whole part converts exactly and truncation is the floor, without the unsigned
    // conversion's test for 2^63.
    const auto llInteiro = static_cast<std::int64_t>(dEscalado);
    const double dFracao = dEscalado - static_cast<double>(llInteiro);
    if (!(std::fabs(dFracao - 0.5) > dEscalado * 0x1p-50))
        return false;
    if (std::signbit(dValor))
        *pc++ = '-';
    *pullNumero = static_cast<std::uint64_t>(llInteiro) + (dFracao > 0.5 ? 1 : 0);
    return true;
}

char* EscreverFixo(char* pc, double dValor, int iCasas)
{
    std::uint64_t ullNumero = 0;
    if (iCasas >= 0 && iCasas < static_cast<int>(std::size(kPotenciasDez)) &&
        Escalar(pc, dValor, kPotenciasDez[iCasas], &ullNumero))
        return kEscritoresEscalados[static_cast<std::size_t>(iCasas)](pc, ullNumero);
    return std::to_chars(pc, pc + kTamanhoFixo, dValor, std::chars_format::fixed, iCasas).ptr;
}

// The same with the KML's decimals fixed, so that the digits are written without a call.
[[gnu::always_inline]] inline char* EscreverCoordenada(char* pc, double dValor)
{
    constexpr std::size_t N = D_CONVERSOR_CASAS_COORDENADA_KML;
    std::uint64_t ullNumero = 0;
    if (Escalar(pc, dValor, kPotenciasDez[N], &ullNumero))
        return EscreverEscalado<N>(pc, ullNumero);
    return std::to_chars(pc, pc + kTamanhoFixo, dValor, std::chars_format::fixed, static_cast<int>(N)).ptr;
}

void AnexarFixo(std::string& szTexto, double dValor, int iCasas)
{
    char cBuf[kTamanhoFixo];
    szTexto.append(cBuf, static_cast<std::size_t>(EscreverFixo(cBuf, dValor, iCasas) - cBuf));
}
} // namespace

void conversor_AnexarInteiro(std::string& szTexto, std::int32_t iValor)
{
    AnexarNumero(szTexto, iValor);
}

void conversor_AnexarNatural(std::string& szTexto, std::uint32_t ulValor)
{
    AnexarNumero(szTexto, ulValor);
}

void conversor_AnexarReal(std::string& szTexto, double dValor, int iCasas, BOOL bVirgula)
{
    if (!bVirgula)
    {
        AnexarFixo(szTexto, dValor, iCasas);
        return;
    }
    std::string szNumero;
    AnexarFixo(szNumero, dValor, iCasas);
    funcAux_SubstituirPontoPorVirgula(szNumero);
    szTexto += szNumero;
}

void conversor_AnexarData(std::string& szTexto, std::uint32_t ulDataHora)
{
    char cData[D_ZAVORO_TAMANHO_STRING_DATA_HORA];
    zavoro_RetornarStringDataHora(ulDataHora, cData);
    szTexto += cData;
}

void conversor_AnexarDuracao(std::string& szTexto, std::uint32_t ulSegundos)
{
    char cDuracao[D_ZAVORO_TAMANHO_STRING_DURACAO];
    zavoro_RetornarStringHoraMinutoSegundo(ulSegundos, cDuracao);
    szTexto += cDuracao;
}

void conversor_AnexarCodigo(std::string& szTexto, void (*pfTexto)(unsigned char, char*),
                            unsigned char ucCodigo)
{
    char cTexto[D_ZAVORO_TAMANHO_STRING_CODIGO];
    pfTexto(ucCodigo, cTexto);
    szTexto += cTexto;
}

char* conversor_EscreverCoordenadaKml(char* pc, double dLongitude, double dLatitude, int iAltitude)
{
    pc = EscreverCoordenada(pc, dLongitude);
    *pc++ = ',';
    pc = EscreverCoordenada(pc, dLatitude);
    *pc++ = ',';
    // The altitude is nearly always 0.
    if (iAltitude == 0)
        *pc++ = '0';
    else
        pc = std::to_chars(pc, pc + 12, iAltitude).ptr;
    *pc++ = '\n';
    return pc;
}

void conversor_AnexarCoordenadaKml(std::string& szTexto, double dLongitude, double dLatitude, int iAltitude)
{
    // Composed whole and appended once: maps print millions of these.
    char cBuf[D_CONVERSOR_TAMANHO_MAXIMO_COORDENADA_KML];
    szTexto.append(cBuf, static_cast<std::size_t>(
                             conversor_EscreverCoordenadaKml(cBuf, dLongitude, dLatitude, iAltitude) - cBuf));
}

void conversor_GravarBytes(std::FILE* pfArquivoEscrita, std::string_view szTexto)
{
    // One thread writes an output at a time: the stream's lock is only a cost, on a call per placemark.
#if defined(__GLIBC__)
    fwrite_unlocked(szTexto.data(), 1, szTexto.size(), pfArquivoEscrita);
#else
    std::fwrite(szTexto.data(), 1, szTexto.size(), pfArquivoEscrita);
#endif
}

void conversor_GravarLinha(std::FILE* pfArquivoEscrita, std::string& szTexto)
{
    conversor_GravarBytes(pfArquivoEscrita, szTexto);
    szTexto.clear();
}
