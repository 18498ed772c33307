// Binary input files: closed on every path, read through a 64 KiB buffer. What is read from them goes
// through FuncAux_LeitorBinario (leitorBinario.h).
#pragma once

#include <cstdio>
#include <memory>

struct FuncAux_FecharArquivo
{
    void operator()(std::FILE* pf) const { std::fclose(pf); }
};
using FuncAux_ArquivoLeitura = std::unique_ptr<std::FILE, FuncAux_FecharArquivo>;

inline constexpr std::size_t D_FUNCAUX_TAMANHO_BUFFER_LEITURA = 65536;

// Opens for binary reading (empty pointer on failure or a null path).
inline FuncAux_ArquivoLeitura funcAux_AbrirLeitura(const char* pcArquivo)
{
    FuncAux_ArquivoLeitura pf(pcArquivo != nullptr ? std::fopen(pcArquivo, "rb") : nullptr);
    if (pf)
        std::setvbuf(pf.get(), nullptr, _IOFBF, D_FUNCAUX_TAMANHO_BUFFER_LEITURA);
    return pf;
}

