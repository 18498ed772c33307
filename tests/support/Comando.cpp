#include "support/Comando.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace zavoro_teste
{

std::string Aspas(const std::string& s)
{
    std::string r = "'";
    for (char c : s)
        r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

Resultado Shell(const std::string& szComando)
{
    Resultado r{-1, {}};
    std::FILE* pf = popen((szComando + " 2>&1").c_str(), "r");
    if (pf == nullptr)
        return r;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pf)) > 0)
        r.szSaida.append(buffer.data(), n);
    int iStatus = pclose(pf);
#if defined(_WIN32)
    r.iSaida = iStatus;
#else
    r.iSaida = WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : -1;
#endif
    return r;
}

Resultado Executar(const std::string& szArgumentos)
{
    const char* pcBin = std::getenv("ZAVORO_BIN");
    if (pcBin == nullptr || *pcBin == '\0')
        ADD_FAILURE() << "ZAVORO_BIN não definido";
    return Shell(Aspas(pcBin ? pcBin : "zavoro") + " " + szArgumentos);
}

::testing::AssertionResult Contem(const std::string& szSaida, const std::string& szTexto)
{
    if (szSaida.find(szTexto) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << szTexto << "\" not in:\n" << szSaida;
}

} // namespace zavoro_teste
