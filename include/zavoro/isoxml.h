// ISOXML TaskData of navigation files: the field with its boundaries and guides, the crop and
// products, a device description of the implement, and one task per file whose time log carries every
// track point with its process data. Written as one zip ("campo_ISOXML.zip") holding a TASKDATA folder.
// This header carries no zip-library type: the command and the desktop app include it as it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zavoro/tipos.h"

// Suffix of the output beside the input's path without its extension.
inline constexpr const char* D_ISOXML_SUFIXO = "_ISOXML.zip";

struct ST_OpcoesIsoxml
{
    // Version of the data transfer format: 4 (4.3) or 3 (3.3, without the elements version 4 added).
    int iVersao = 4;
};

// What one task's time log holds, for the caller's report and for checks against the work report.
struct ST_TarefaIsoxml
{
    std::string szArquivo;               // the navigation file
    std::string szTimeLog;               // "TLG00001"
    std::uint32_t ulRegistros = 0;       // records of the time log (every track point)
    std::uint32_t ulTamanhoRegistro = 0; // bytes of each record
    std::uint32_t ulInicio = 0;          // console time of the first and last record (0: no point)
    std::uint32_t ulFim = 0;
    double dLatitudeInicial = 0.0, dLongitudeInicial = 0.0;
    double dLatitudeFinal = 0.0, dLongitudeFinal = 0.0;
    double dAreaTotal = 0.0;       // m², the last record's total area
    double dQuantidadeTotal = 0.0; // L, kg or seeds (yield kg for harvest): the last record's total
    std::vector<unsigned> vDdis;   // the process data of each record, in order
};

struct ST_ResultadoIsoxml
{
    std::string szSaida;  // the zip written
    std::string szMotivo; // why nothing was written (Portuguese), empty on success
    std::vector<ST_TarefaIsoxml> vTarefas;
};

// The output of one navigation file: its path without extension + D_ISOXML_SUFIXO.
std::string isoxml_NomeSaida(const std::string& szArquivoNavegacao);

// Writes the navigation files as one TaskData zip at szDestino, one task per file. The zip is built
// under a temporary name and published only when complete: on failure (FALSE, the reason in
// pstResultado->szMotivo) nothing is left and an earlier file of that name stays as it was. Memory does
// not grow with the number of track points: each time log goes into the zip as it is read.
BOOL isoxml_ExportarArquivos(const std::vector<std::string>& vArquivos, const std::string& szDestino,
                             const ST_OpcoesIsoxml& stOpcoes, ST_ResultadoIsoxml* pstResultado);

// One file to its own zip beside it (isoxml_NomeSaida) or at szDestino when given: what the desktop
// app's worker calls.
BOOL isoxml_ExportarArquivo(const std::string& szArquivo, const ST_OpcoesIsoxml& stOpcoes,
                            ST_ResultadoIsoxml* pstResultado, const std::string& szDestino = "");
