// Runs the zavoro command built with the tests ($ZAVORO_BIN) through the shell.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace zavoro_teste
{

struct Resultado
{
    int iSaida;
    std::string szSaida; // stdout and stderr together
};

// Single-quoted for the shell.
std::string Aspas(const std::string& s);
// Any command line through the shell, its output and exit status (a peer reader, say).
Resultado Shell(const std::string& szComando);
// `zavoro <szArgumentos>`; the arguments are passed to the shell as they are.
Resultado Executar(const std::string& szArgumentos);
// szTexto appears in szSaida; a miss shows the whole output, which is what one needs to see.
::testing::AssertionResult Contem(const std::string& szSaida, const std::string& szTexto);

} // namespace zavoro_teste
