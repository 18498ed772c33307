// What every fuzz target needs around its reader: a private folder for the run (removed at exit) and
// the input written there as a file, since the readers take paths.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

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
