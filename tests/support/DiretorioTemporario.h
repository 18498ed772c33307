// A scratch folder per test, removed with everything in it when the test ends.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace zavoro_teste
{

class DiretorioTemporario
{
public:
    DiretorioTemporario();
    ~DiretorioTemporario();
    DiretorioTemporario(const DiretorioTemporario&) = delete;
    DiretorioTemporario& operator=(const DiretorioTemporario&) = delete;

    const std::filesystem::path& caminho() const { return m_caminho; }
    std::filesystem::path operator/(const std::string& szNome) const { return m_caminho / szNome; }

    // Writes the bytes to a file of that name inside the folder and returns its path.
    std::filesystem::path gravar(const std::string& szNome, const std::vector<std::uint8_t>& vBytes) const;

private:
    std::filesystem::path m_caminho;
};

// Whole contents of a file (empty when it cannot be read).
std::vector<std::uint8_t> lerArquivo(const std::filesystem::path& caminho);
std::string lerTexto(const std::filesystem::path& caminho);
// A file of the project's samples/ folder.
std::filesystem::path amostra(const std::string& szNome);
// Every file directly in a folder, by name, with its contents.
std::map<std::string, std::vector<std::uint8_t>> lerPasta(const std::filesystem::path& pasta);

} // namespace zavoro_teste
