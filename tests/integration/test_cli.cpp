// The zavoro command as scripts use it: output lines, exit status, messages.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"

using namespace zavoro_teste;

namespace
{
struct Resultado
{
    int iSaida;
    std::string szSaida; // stdout and stderr together
};

std::string Aspas(const std::string& s)
{
    std::string r = "'";
    for (char c : s)
        r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

Resultado Executar(const std::string& szArgumentos)
{
    const char* pcBin = std::getenv("ZAVORO_BIN");
    if (pcBin == nullptr || *pcBin == '\0')
        ADD_FAILURE() << "ZAVORO_BIN não definido";
    std::string szComando = Aspas(pcBin ? pcBin : "zavoro") + " " + szArgumentos + " 2>&1";
    Resultado r{-1, {}};
    std::FILE* pf = popen(szComando.c_str(), "r");
    if (pf == nullptr)
        return r;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pf)) > 0)
        r.szSaida.append(buffer.data(), n);
    int iStatus = pclose(pf);
    r.iSaida = WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : -1;
    return r;
}
} // namespace

TEST(ComandoValidar, UmaLinhaPorArquivoESaidaPeloPiorResultado)
{
    DiretorioTemporario dir;
    auto bom = dir / "bom.nvg";
    NvgBuilder::tipico(9, 20).gravar(bom);
    NvgBuilder estragado = NvgBuilder::tipico(9, 20);
    estragado.corrupcao.checksumErrado.push_back({Secao::Evento});
    auto ruim = dir / "ruim.nvg";
    estragado.gravar(ruim);

    Resultado r = Executar("validar " + Aspas(bom));
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_EQ(r.szSaida, bom.string() + ": válido\n");

    r = Executar("validar " + Aspas(bom) + " " + Aspas(ruim) + " " + Aspas((dir / "falta.nvg").string()));
    EXPECT_EQ(r.iSaida, 1);
    EXPECT_NE(r.szSaida.find(bom.string() + ": válido\n"), std::string::npos) << r.szSaida;
    EXPECT_NE(r.szSaida.find(ruim.string() + ": inválido: evento (byte "), std::string::npos) << r.szSaida;
    EXPECT_NE(r.szSaida.find("soma de verificação da seção incorreta"), std::string::npos);
    EXPECT_NE(r.szSaida.find("falta.nvg: inválido: arquivo (byte 0): não foi possível abrir o arquivo"),
              std::string::npos)
        << r.szSaida;
}

TEST(ComandoValidar, LinhaDeComandoErradaSai2)
{
    for (const char* pcArgs : {"", "validar", "validar --rapido x.nvg", "converter x.nvg", "--verbose"})
    {
        SCOPED_TRACE(pcArgs);
        Resultado r = Executar(pcArgs);
        EXPECT_EQ(r.iSaida, 2);
        EXPECT_NE(r.szSaida.find("zavoro --help"), std::string::npos) << r.szSaida;
    }
    EXPECT_NE(Executar("converter").szSaida.find("comando desconhecido: converter"), std::string::npos);

    // "--" lets a file name start with a dash.
    DiretorioTemporario dir;
    NvgBuilder::tipico(9, 2).gravar(dir / "-x.nvg");
    Resultado r = Executar("validar -- " + Aspas((dir / "-x.nvg").string()));
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
}

TEST(ComandoValidar, AjudaEVersao)
{
    Resultado r = Executar("--version");
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_EQ(r.szSaida, "zavoro 03.02\n");
    r = Executar("--help");
    EXPECT_EQ(r.iSaida, 0);
    EXPECT_NE(r.szSaida.find("validar ARQ..."), std::string::npos);
}

TEST(ComandoValidar, AmostrasDoProjetoSaoValidas)
{
    const char* pcAmostras = std::getenv("ZAVORO_SAMPLES");
    ASSERT_NE(pcAmostras, nullptr);
    std::string szArquivos;
    int n = 0;
    for (const auto& entrada : std::filesystem::directory_iterator(pcAmostras))
        if (entrada.path().extension() == ".nvg")
        {
            szArquivos += " " + Aspas(entrada.path().string());
            n++;
        }
    ASSERT_GE(n, 6);
    Resultado r = Executar("validar" + szArquivos);
    EXPECT_EQ(r.iSaida, 0) << r.szSaida;
}
