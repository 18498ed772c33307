// What every fuzz target needs around its reader: a private folder for the run (removed at exit) and
// the input written there as a file, since the readers take paths.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "zavoro/shapeFile.h"

// Never destroyed, so the clean-up at exit can still use it.
inline const std::filesystem::path& fuzz_Pasta()
{
    static const std::filesystem::path* pPasta = [] {
        auto* p = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                            ("zavoro_fuzz_" + std::to_string(::getpid())));
        std::filesystem::create_directories(*p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(fuzz_Pasta(), ec);
        });
        return p;
    }();
    return *pPasta;
}

inline bool fuzz_Gravar(const std::filesystem::path& caminho, const std::uint8_t* puc, std::size_t n)
{
    std::FILE* pf = std::fopen(caminho.string().c_str(), "wb");
    if (pf == nullptr)
        return false;
    const bool bOk = n == 0 || std::fwrite(puc, 1, n, pf) == n;
    return std::fclose(pf) == 0 && bOk;
}

// A navigation file of the input, as "entrada.nvg" in the run's folder; its path in *pszEntrada. False
// for inputs over 64 KiB (the readers' limits are reached long before) or when it cannot be written.
inline bool fuzz_GravarNavegacao(const std::uint8_t* puc, std::size_t n, std::string* pszEntrada)
{
    *pszEntrada = (fuzz_Pasta() / "entrada.nvg").string();
    return n <= (1u << 16) && fuzz_Gravar(*pszEntrada, puc, n);
}

// A recommendation set of the input: the first four bytes (little-endian) give the length of the .shp
// part, the rest is the .dbf; both written as rec.shp/rec.dbf into stMapa's names (the .shp's length
// into *pnShp when asked). False for inputs shorter than four bytes or over nMaximo.
inline bool fuzz_GravarConjuntoShp(const std::uint8_t* puc, std::size_t n, std::size_t nMaximo, ST_ShpMapa* pstMapa,
                                   std::size_t* pnShp = nullptr)
{
    if (n < 4 || n > nMaximo)
        return false;
    const std::uint32_t ulShp =
        static_cast<std::uint32_t>(puc[0] | puc[1] << 8 | puc[2] << 16 | static_cast<std::uint32_t>(puc[3]) << 24);
    const std::size_t nResto = n - 4;
    const std::size_t nShp = ulShp < nResto ? ulShp : nResto;
    if (pnShp != nullptr)
        *pnShp = nShp;
    pstMapa->szNomeArqMapaShp = (fuzz_Pasta() / "rec.shp").string();
    pstMapa->szNomeArqMapaDbf = shpFile_CaminhoDbf(pstMapa->szNomeArqMapaShp);
    return fuzz_Gravar(pstMapa->szNomeArqMapaShp, puc + 4, nShp) &&
           fuzz_Gravar(pstMapa->szNomeArqMapaDbf, puc + 4 + nShp, nResto - nShp);
}
