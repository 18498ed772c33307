// String checks, decimal comma, Windows-1252 conversion, the never-null allocation and pauses.
#include "zavoro/funcoesAuxiliares.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define ZAVORO_TESTE_COM_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZAVORO_TESTE_COM_ASAN 1
#endif
#endif
// Windows has no address-space cap for a death test.
#if !defined(ZAVORO_TESTE_COM_ASAN) && !defined(_WIN32)
#define ZAVORO_TESTE_LIMITE_MEMORIA 1
#include <sys/resource.h>
#endif

TEST(ValidadeString, ZeroMustLieInsideTheField)
{
    const unsigned char ucCampo[6] = {'T', 'a', 'l', 'h', 0, 'x'};
    EXPECT_TRUE(funcAux_VerificarValidadeString(ucCampo, 6));
    EXPECT_TRUE(funcAux_VerificarValidadeString(ucCampo, 5)); // zero in the last byte counts
    EXPECT_FALSE(funcAux_VerificarValidadeString(ucCampo, 4)); // zero just past the field does not
    EXPECT_FALSE(funcAux_VerificarValidadeString(ucCampo, 0));
    EXPECT_FALSE(funcAux_VerificarValidadeString(ucCampo, -1));
    const unsigned char ucSoZero[1] = {0};
    EXPECT_TRUE(funcAux_VerificarValidadeString(ucSoZero, 1));
}

TEST(PontoPorVirgula, OnlyPointsBetweenDigits)
{
    const std::pair<const char*, const char*> casos[] = {
        {"1.5 ha. 2.75", "1,5 ha. 2,75"}, {"-0.25", "-0,25"}, {"192.168.0.1", "192,168,0,1"}, {".5", ".5"},
        {"5.", "5."}, {"1..2", "1..2"}, {"a.1 1.a", "a.1 1.a"}, {"Taxa: 120.0 L/ha.", "Taxa: 120,0 L/ha."},
        {".", "."}, {"", ""},
    };
    for (auto [pcEntrada, pcEsperado] : casos)
    {
        std::string szTexto = pcEntrada;
        funcAux_SubstituirPontoPorVirgula(szTexto);
        EXPECT_EQ(szTexto, pcEsperado) << pcEntrada;
    }
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    std::string szTodos;
    for (int i = 0; i < 256; ++i)
    {
        const std::string szByte(1, static_cast<char>(i));
        const std::string szUtf8 = funcAux_Cp1252ParaUtf8(szByte);
        BOOL bPerda = TRUE;
        EXPECT_EQ(funcAux_Utf8ParaCp1252(szUtf8, &bPerda), szByte) << "byte " << i;
        EXPECT_FALSE(bPerda) << "byte " << i;
        // Printable bytes never decode to a C1 control; only the five undefined ones do.
        const bool bIndefinido = i == 0x81 || i == 0x8D || i == 0x8F || i == 0x90 || i == 0x9D;
        if (i >= 0x80 && i < 0xA0)
        {
            const bool bControleC1 = szUtf8.size() == 2 && static_cast<unsigned char>(szUtf8[0]) == 0xC2 &&
                                     static_cast<unsigned char>(szUtf8[1]) == i;
            EXPECT_EQ(bControleC1, bIndefinido) << "byte " << i;
        }
        szTodos += szByte;
    }
    EXPECT_EQ(funcAux_Utf8ParaCp1252(funcAux_Cp1252ParaUtf8(szTodos)), szTodos);
}

TEST(Cp1252, KnownCharactersUnmappableAndMalformed)
{
    EXPECT_EQ(funcAux_Cp1252ParaUtf8("\x80\xE3\x9F\x9D"), "\xE2\x82\xAC\xC3\xA3\xC5\xB8\xC2\x9D"); // the last undefined, kept
    EXPECT_EQ(funcAux_Cp1252ParaUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));

    const std::tuple<std::string, std::string, bool> casos[] = {
        {"Pulverização € ?", "Pulveriza\xE7\xE3o \x80 ?", false},
        {"\xC5\x93", "\x9C", false},                // oe ligature
        {"\xC2\x80", "?", true},                    // C1 control that Windows-1252 gives to the euro
        {"\xC2\x9E", "?", true},                    // C1 control of a defined byte (z caron)
        {"\xC2\x8F", "\x8F", false},                // one of the five kept controls
        {"a\xE4\xB8\xAD" "b", "a?b", true},         // CJK
        {"\xF0\x9F\x98\x80!", "?!", true},          // four-byte character is one question mark
        {"\xC3", "?", true},                        // truncated at the end
        {"\xC3(", "?(", true},                      // continuation missing
        {"\xE2\x82" "A", "?A", true},               // three-byte sequence cut short
        {"\x80x", "?x", true},                      // stray continuation
        {"\xC0\xAF", "??", true},                   // overlong
        {"\xED\xA0\x80", "???", true},              // surrogate
        {"\xF4\x90\x80\x80", "????", true},         // beyond U+10FFFF
        {"\xFF\xE3", "??", true},                   // raw Windows-1252 is not UTF-8
    };
    for (const auto& [szEntrada, szEsperado, bPerdaEsperada] : casos)
    {
        BOOL bPerda = !bPerdaEsperada;
        EXPECT_EQ(funcAux_Utf8ParaCp1252(szEntrada, &bPerda), szEsperado) << szEntrada;
        EXPECT_EQ(bPerda, bPerdaEsperada) << szEntrada;
    }
}

namespace
{
void GravarAviso(const char* pcTexto, const char* pcTitulo)
{
    std::fprintf(stderr, "[%s|%s]\n", pcTexto, pcTitulo);
}
bool bAvisoChamado = false;
} // namespace

TEST(MallocCustom, ReturnsUsableBlocksWithoutWarning)
{
    funcAux_DefinirAvisoFalhaAlocacao([](const char*, const char*) { bAvisoChamado = true; });
    for (int n : {0, 1, 40, 65536})
    {
        auto* pucBloco = static_cast<unsigned char*>(funcAux_MallocCustom(n));
        ASSERT_NE(pucBloco, nullptr) << n;
        std::memset(pucBloco, 0xA5, n == 0 ? 1 : static_cast<std::size_t>(n));
        std::free(pucBloco);
    }
    funcAux_DefinirAvisoFalhaAlocacao(nullptr);
    EXPECT_FALSE(bAvisoChamado);
}

TEST(MallocCustomDeathTest, FailureWarnsThenExitsWithOne)
{
    // The callback returns normally; the process must still end.
    EXPECT_EXIT(
        {
            funcAux_DefinirAvisoFalhaAlocacao(&GravarAviso);
            funcAux_MallocCustom(-1);
        },
        ::testing::ExitedWithCode(1), "\\[Erro de alocação de memória!\\|Erro Fatal\\]");
    // Without a callback the text still reaches the user.
    EXPECT_EXIT(
        {
            funcAux_DefinirAvisoFalhaAlocacao(nullptr);
            funcAux_MallocCustom(INT_MIN);
        },
        ::testing::ExitedWithCode(1), "Erro de alocação de memória!");
#if defined(ZAVORO_TESTE_LIMITE_MEMORIA)
    // A real out-of-memory: cap the address space of the death-test child.
    EXPECT_EXIT(
        {
            funcAux_DefinirAvisoFalhaAlocacao(&GravarAviso);
            rlimit stLimite;
            stLimite.rlim_cur = stLimite.rlim_max = 256u << 20;
            setrlimit(RLIMIT_AS, &stLimite);
            funcAux_MallocCustom(INT_MAX);
        },
        ::testing::ExitedWithCode(1), "\\[Erro de alocação de memória!\\|Erro Fatal\\]");
#endif
}

TEST(Delay, SleepsTheProductAndSkipsEmptyPauses)
{
    // Would hang for an hour or more if a non-positive count or unit were not skipped.
    funcAux_Delay(0, std::chrono::hours(1));
    funcAux_Delay(-5, std::chrono::hours(1));
    funcAux_Delay(INT_MAX, std::chrono::nanoseconds::zero());
    funcAux_Delay(3, -std::chrono::hours(1));

    const auto inicio = std::chrono::steady_clock::now();
    funcAux_Delay(3, std::chrono::milliseconds(4));
    EXPECT_GE(std::chrono::steady_clock::now() - inicio, std::chrono::milliseconds(12));
}

TEST(NomeProibidoWindows, DispositivosCaracteresEFinais)
{
    // Refused: device names with or without an extension, in any case, also after a folder.
    for (const char* pcNome : {"CON", "con.txt", "aux.nvg", "Nul .kml", "COM1.nvg", "lpt9", "pasta/prn.nvg",
                               "C:\\dados\\AUX"})
        EXPECT_NE(funcAux_MotivoNomeProibidoWindows(pcNome).find("reservado para um dispositivo"), std::string::npos)
            << pcNome;
    for (const char* pcNome : {"a<b.nvg", "a>b", "ab:c.nvg", "a\"b", "a|b", "a?b", "a*b", "tab\tnome"})
        EXPECT_NE(funcAux_MotivoNomeProibidoWindows(pcNome).find("contém um dos caracteres"), std::string::npos)
            << pcNome;
    for (const char* pcNome : {"ação.nvg.", "ação.nvg ", "pasta/nome."})
        EXPECT_NE(funcAux_MotivoNomeProibidoWindows(pcNome).find("termina em ponto ou espaço"), std::string::npos)
            << pcNome;
    // Accepted: names that only resemble devices, a drive's colon, folders, accents and inner spaces.
    for (const char* pcNome : {"console.nvg", "COM0.nvg", "com10.nvg", "lpt.nvg", "C:arquivo.nvg", "C:\\dados\\x.nvg",
                               "ação .nvg", ".", "..", "pasta/", "auxiliar/x.nvg"})
        EXPECT_EQ(funcAux_MotivoNomeProibidoWindows(pcNome), "") << pcNome;
    // The message names the file, with control characters escaped.
    EXPECT_NE(funcAux_MotivoNomeProibidoWindows("x/com2.nvg").find("\"com2.nvg\""), std::string::npos);
}
