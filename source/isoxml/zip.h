// The TaskData zip: entries written one after another into an output stream that the caller owns
// (the core's output file, published by the caller), so that no second temporary is made.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

struct ST_ZipIsoxml
{
    void* pZip = nullptr; // the library's handle
    bool bEntradaAberta = false;
    std::uint32_t ulDataDos = 0; // modification time of every entry, DOS format
    std::string szErro;          // first failure
};

// Starts a zip in pfSaida (positioned at its start, seekable). Every entry gets the time
// ulDataHoraConsole (a console time stamp; 0: 1 January 1980). FALSE when the library refuses.
bool isoxml_AbrirZip(std::FILE* pfSaida, std::uint32_t ulDataHoraConsole, ST_ZipIsoxml* pstZip);
// Opens the next entry (deflated); the previous one must be closed.
bool isoxml_IniciarEntrada(ST_ZipIsoxml* pstZip, const std::string& szNome);
bool isoxml_GravarEntrada(ST_ZipIsoxml* pstZip, std::string_view szDados);
bool isoxml_ConcluirEntrada(ST_ZipIsoxml* pstZip);
// Writes the central directory (bConfirmar) or just lets the handle go. The stream stays open.
bool isoxml_FecharZip(ST_ZipIsoxml* pstZip, bool bConfirmar);
