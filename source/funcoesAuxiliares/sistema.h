// What the core asks of the operating system beyond the standard library, in one place: opening an
// input without blocking on special files, and telling whether the process that left a temporary
// file behind is gone.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

// Opens an existing regular file for binary reading. A FIFO, device, socket or folder is refused
// without blocking; on failure returns null with the reason (Portuguese) in *pszMotivo.
std::FILE* funcAux_AbrirArquivoComum(const char* pcArquivo, std::string* pszMotivo);

// This process's identifier, as written in the names of its temporary files.
std::uint32_t funcAux_IdProcesso();

// Whether the standard error stream is a terminal (a progress line is drawn only there).
bool funcAux_SaidaErrosTerminal();

// FALSE only when the process is known to have ended; TRUE when it runs or cannot be told.
bool funcAux_ProcessoAtivo(std::uint32_t ulId);

// Blocks while *pValor holds ucAtual, until funcAux_AcordarEsperas is called on it (the atomic's own
// wait and notify_all). MinGW's libstdc++ can lose that wake-up on Windows, so there the system's
// WaitOnAddress does the waiting.
void funcAux_EsperarMudanca(const std::atomic<unsigned char>* pValor, unsigned char ucAtual);
void funcAux_AcordarEsperas(std::atomic<unsigned char>* pValor);
