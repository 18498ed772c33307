// Binary input files: closed on every path, read through a 64 KiB buffer. What is read from them goes
// through FuncAux_LeitorBinario (leitorBinario.h).
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "funcoesAuxiliares/sistema.h"

struct FuncAux_FecharArquivo
{
    void operator()(std::FILE* pf) const { std::fclose(pf); }
};
using FuncAux_ArquivoLeitura = std::unique_ptr<std::FILE, FuncAux_FecharArquivo>;

inline constexpr std::size_t D_FUNCAUX_TAMANHO_BUFFER_LEITURA = 65536;

// Opens a regular file for binary reading (empty pointer on failure or a null path, with the reason in
// *pszMotivo when asked). Special files (FIFO, device, socket) are refused without blocking.
inline FuncAux_ArquivoLeitura funcAux_AbrirLeitura(const char* pcArquivo, std::string* pszMotivo = nullptr)
{
    FuncAux_ArquivoLeitura pf(pcArquivo != nullptr ? funcAux_AbrirArquivoComum(pcArquivo, pszMotivo) : nullptr);
    if (pf)
        std::setvbuf(pf.get(), nullptr, _IOFBF, D_FUNCAUX_TAMANHO_BUFFER_LEITURA);
    return pf;
}

