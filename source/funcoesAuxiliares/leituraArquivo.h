// Binary input files: closed on every path, read through the C library's buffer (one disk block) or a
// larger one of the caller's. What is read from them goes through FuncAux_LeitorBinario (leitorBinario.h).
#pragma once

#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "funcoesAuxiliares/sistema.h"

struct FuncAux_FecharArquivo
{
    void operator()(std::FILE* pf) const { std::fclose(pf); }
};
using FuncAux_ArquivoLeitura = std::unique_ptr<std::FILE, FuncAux_FecharArquivo>;

// For a file read through several times (a map's passes over the track).
inline constexpr std::size_t D_FUNCAUX_TAMANHO_BUFFER_LEITURA = 256 * 1024;

// Opens a regular file for binary reading (empty pointer on failure or a null path, with the reason in
// *pszMotivo when asked). Special files (FIFO, device, socket) are refused without blocking. A buffer
// given in vBuffer must outlive the file: the C library takes only the size of a buffer it is handed.
inline FuncAux_ArquivoLeitura funcAux_AbrirLeitura(const char* pcArquivo, std::string* pszMotivo = nullptr,
                                                    std::span<char> vBuffer = {})
{
    FuncAux_ArquivoLeitura pf(pcArquivo != nullptr ? funcAux_AbrirArquivoComum(pcArquivo, pszMotivo) : nullptr);
    if (pf)
        std::setvbuf(pf.get(), vBuffer.empty() ? nullptr : vBuffer.data(), _IOFBF, vBuffer.size());
    return pf;
}

