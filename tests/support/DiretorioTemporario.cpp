#include "support/DiretorioTemporario.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "funcoesAuxiliares/sistema.h"

namespace zavoro_teste
{

DiretorioTemporario::DiretorioTemporario()
{
    static std::atomic<unsigned> contador{0};
    m_caminho = std::filesystem::temp_directory_path() /
                ("zavoro_teste_" + std::to_string(funcAux_IdProcesso()) + "_" + std::to_string(contador++));
    std::filesystem::remove_all(m_caminho);
    std::filesystem::create_directories(m_caminho);
}

DiretorioTemporario::~DiretorioTemporario()
{
    std::error_code ec;
    std::filesystem::remove_all(m_caminho, ec);
}

std::filesystem::path DiretorioTemporario::gravar(const std::string& szNome, const std::vector<std::uint8_t>& vBytes) const
{
    std::filesystem::path caminho = m_caminho / szNome;
    std::ofstream arquivo(caminho, std::ios::binary);
    arquivo.write(reinterpret_cast<const char*>(vBytes.data()), static_cast<std::streamsize>(vBytes.size()));
    if (!arquivo)
        throw std::runtime_error("não foi possível gravar " + caminho.string());
    return caminho;
}

std::vector<std::uint8_t> lerArquivo(const std::filesystem::path& caminho)
{
    std::ifstream arquivo(caminho, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(arquivo), std::istreambuf_iterator<char>());
}

std::string lerTexto(const std::filesystem::path& caminho)
{
    const std::vector<std::uint8_t> v = lerArquivo(caminho);
    return std::string(v.begin(), v.end());
}

std::filesystem::path amostra(const std::string& szNome)
{
    return std::filesystem::path(ZAVORO_SOURCE_DIR) / "samples" / szNome;
}

std::map<std::string, std::vector<std::uint8_t>> lerPasta(const std::filesystem::path& pasta)
{
    std::map<std::string, std::vector<std::uint8_t>> arquivos;
    for (const std::filesystem::directory_entry& entrada : std::filesystem::directory_iterator(pasta))
        arquivos[entrada.path().filename().string()] = lerArquivo(entrada.path());
    return arquivos;
}

} // namespace zavoro_teste
