#include "support/DadosEsperados.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace zavoro_teste
{

namespace
{

// The line of sz holding byte pos, printable: CR, LF, tab and bytes outside ASCII as escapes.
std::string LinhaEm(const std::string& sz, std::size_t pos)
{
    pos = std::min(pos, sz.size());
    const std::size_t inicio = pos == 0 ? 0 : sz.rfind('\n', pos - 1) + 1; // npos + 1 wraps to 0
    const std::size_t fim = std::min(sz.find('\n', pos), sz.size());
    std::string szLinha;
    for (std::size_t i = inicio; i < fim || (i == fim && fim < sz.size()); ++i)
    {
        const auto uc = static_cast<unsigned char>(sz[i]);
        char szEscape[8];
        if (uc >= 0x20 && uc < 0x7F)
            szLinha += static_cast<char>(uc);
        else if (uc == '\r' || uc == '\n' || uc == '\t')
            szLinha += uc == '\r' ? "\\r" : uc == '\n' ? "\\n" : "\\t";
        else
        {
            std::snprintf(szEscape, sizeof szEscape, "\\x%02X", uc);
            szLinha += szEscape;
        }
    }
    return szLinha;
}

} // namespace

::testing::AssertionResult CompararComDados(const std::string& szArquivoDados, const std::string& szObtido)
{
    const std::filesystem::path caminho = std::filesystem::path(ZAVORO_SOURCE_DIR) / "tests" / "dados" / szArquivoDados;
    const char* pcAtualizar = std::getenv("ZAVORO_ATUALIZAR_DADOS");
    if (pcAtualizar != nullptr && std::string_view(pcAtualizar) == "1")
    {
        std::filesystem::create_directories(caminho.parent_path());
        std::ofstream saida(caminho, std::ios::binary | std::ios::trunc);
        saida.write(szObtido.data(), static_cast<std::streamsize>(szObtido.size()));
        if (!saida)
            return ::testing::AssertionFailure() << "não foi possível regravar " << caminho;
        return ::testing::AssertionSuccess();
    }

    std::ifstream entrada(caminho, std::ios::binary);
    if (!entrada)
        return ::testing::AssertionFailure() << caminho << " não existe (ZAVORO_ATUALIZAR_DADOS=1 o cria)";
    const std::string szEsperado(std::istreambuf_iterator<char>(entrada), {});
    if (szEsperado == szObtido)
        return ::testing::AssertionSuccess();

    const std::size_t pos = static_cast<std::size_t>(
        std::mismatch(szEsperado.begin(), szEsperado.end(), szObtido.begin(), szObtido.end()).first -
        szEsperado.begin());
    const auto linha = 1 + std::count(szEsperado.begin(), szEsperado.begin() + static_cast<std::ptrdiff_t>(pos), '\n');
    return ::testing::AssertionFailure()
           << caminho << " difere do obtido no byte " << pos << ", linha " << linha << " (tamanhos "
           << szEsperado.size() << " e " << szObtido.size() << ")\n  esperado: " << LinhaEm(szEsperado, pos)
           << "\n  obtido:   " << LinhaEm(szObtido, pos)
           << "\n(ZAVORO_ATUALIZAR_DADOS=1 regrava os dados quando a mudança é intencional)";
}

} // namespace zavoro_teste
