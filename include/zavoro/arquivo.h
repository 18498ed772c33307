// Files: the XOR checksum every section of a navigation file closes with, the selection's path
// lists and the search for navigation files beneath a folder.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>

#include "zavoro/tipos.h"

// Reads iNumBytes bytes from the current position: the XOR of the first iNumBytes - 1 bytes must equal
// the last. Leaves the position just after the checksum byte. FALSE for fewer than 2 bytes, a closed
// file, a short read or a mismatch.
BOOL arquivo_VerificarChecksum(std::FILE* pfArquivoLeitura, int iNumBytes);

// ---------------------------------------------------------------------------------------------------
// Selection and search
// ---------------------------------------------------------------------------------------------------

inline constexpr int D_ARQUIVO_TAMANHO_BUFFER_LISTA_ARQUIVOS = 0x10000;
// Paths built by the search fit in this many bytes, terminator included.
inline constexpr int D_ARQUIVO_TAMANHO_MAXIMO_PATH = 260;
// Folders this many levels below the root, or more, are not searched.
inline constexpr int D_ARQUIVO_PROFUNDIDADE_MAXIMA_BUSCA = 100;
inline constexpr char D_ARQUIVO_SEPARADOR = static_cast<char>(std::filesystem::path::preferred_separator);
// Every character that ends a folder name in a path: Windows takes '/' as well as its own.
#if defined(_WIN32)
inline constexpr const char* D_ARQUIVO_SEPARADORES = "\\/";
#else
inline constexpr const char* D_ARQUIVO_SEPARADORES = "/";
#endif

inline constexpr int D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS = 1;
inline constexpr int D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_DIRETORIO = 2;

inline constexpr int D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK = 0;
inline constexpr int D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUSCA_LONGA = -1;
inline constexpr int D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_PATH_LONGO = -2;
inline constexpr int D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUFFER_PATHS_CHEIO = -3;
inline constexpr int D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_INDEFINIDO = -4;

// The user's selection. szPathsArqNaveg holds zero-terminated strings one after another:
//  - files picked in the open dialog (type 1): one full path for a single file; for several, the folder
//    followed by each file name;
//  - a searched folder (type 2): the full path of every file found, in the order found.
// szPathsArqNavegTxtBox is the display text: the quoted names (type 1) or the folder (type 2).
struct ST_SelecaoArquivos
{
    int iTipoSelecao = D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS;
    char szPathsArqNaveg[D_ARQUIVO_TAMANHO_BUFFER_LISTA_ARQUIVOS] = {};
    char szPathsArqNavegTxtBox[D_ARQUIVO_TAMANHO_BUFFER_LISTA_ARQUIVOS] = {};
    int iNumArquivos = 0;
};

// State of one search, shared by all its levels.
struct ST_EstadoProcura
{
    int iContRecursividadeProcuraDir = 0; // depth of the folder being searched (1 for the root)
    int iIndBufferProcuraArquivosDir = 0; // where the next found path goes in the buffer
};

// Searches a folder and its sub-folders for navigation files (names ending exactly in ".nvg" or
// ".NVG"), appending each full path to pcBuffer (D_ARQUIVO_TAMANHO_BUFFER_LISTA_ARQUIVOS bytes, zeroed
// by the caller) and counting them. Returns a D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_* code.
int arquivo_ProcurarArquivosNavegacaoDiretorio(const char* pcRaiz, char* pcBuffer, int* piNumArquivos,
                                               ST_EstadoProcura* pstEstado);

// Search worker: lpArg is an ST_EstruturaThread (avisos.h) whose argument is an ST_SelecaoArquivos with
// the root in szPathsArqNavegTxtBox. On success it goes on, on the same thread, with the record's
// pfAposProcura (the window gives the classification); any other code, or a success with nothing to
// go on with, is told with WM_PROCURA_ARQUIVOS_OK and no classification bits. Returns 0.
unsigned int arquivo_ThreadProcurarArquivosNavegacao(void* lpArg);

// Display text of the open dialog's result: every name from iOffset on, quoted and followed by a
// blank, written into pcDestino (at most tamanhoDestino bytes, terminator included: names that no
// longer fit whole are left out of the text, but still counted). Reads pcOrigem only below iLimite.
// Returns the number of names in the result.
int arquivo_SepararPathsArquivosSelecionados(int iOffset, const char* pcOrigem, char* pcDestino, int iLimite,
                                             std::size_t tamanhoDestino = D_ARQUIVO_TAMANHO_BUFFER_LISTA_ARQUIVOS);

// Portuguese text of a search code, for the command and the logs.
const char* arquivo_DescreverCodigoBusca(int iCodigo);
