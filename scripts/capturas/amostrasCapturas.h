// What both screenshot programs (the Qt and the Win32 window) start from: the samples the window is
// walked through, copied into a fresh folder "safra_2026" under trabalho, and the output folder made.
#pragma once

#include <filesystem>
#include <string>

// The folder holding the copies.
inline std::string capturas_PrepararAmostras(const std::filesystem::path& amostras, const std::filesystem::path& trabalho,
                                             const std::filesystem::path& saida)
{
    namespace fs = std::filesystem;
    fs::remove_all(trabalho);
    fs::create_directories(trabalho / "safra_2026");
    fs::create_directories(saida);
    for (const char* pcNome : {"pulverizacao_soja.nvg", "colheita.nvg", "recomendacao_pulverizacao.shp",
                               "recomendacao_pulverizacao.shx", "recomendacao_pulverizacao.dbf",
                               "recomendacao_pulverizacao.prj"})
        fs::copy_file(amostras / pcNome, trabalho / "safra_2026" / pcNome);
    return (trabalho / "safra_2026").string();
}
