// What a worker (folder search, classification, conversion) is given and how it reports: the thread
// record, the notice sink, the progress record it copies into every notice, and the pauses between
// files. Shared by the search and the converter, so neither has to know the other.
//
// Workers never touch a window. The desktop app posts each notice to its window thread, the command
// prints it.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "zavoro/tipos.h"

inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_GERANDO_RELATORIO = 1;
inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_GERANDO_MAPA = 2;
inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_ERRO = 3;
inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_RELATORIO_GERADO = 4;
inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO = 5;
inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_GERANDO_EXPORTACAO = 6;
inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_EXPORTACAO = 7;
// A file's job ended well (any kind of job).
inline constexpr bool conversor_StatusSucesso(int iStatus)
{
    return iStatus == D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_RELATORIO_GERADO ||
           iStatus == D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO ||
           iStatus == D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_EXPORTACAO;
}

// Notice numbers, as the window knows them. Win32 has WM_USER already (a macro of the same value).
#ifndef WM_USER
inline constexpr int WM_USER = 0x0400;
#endif
inline constexpr int WM_PROCURA_ARQUIVOS_OK = WM_USER + 100;
inline constexpr int WM_CONVERTENDO_ARQUIVOS = WM_USER + 101;
inline constexpr int WM_CONVERSAO_OK = WM_USER + 102;

// Pause units between files.
inline constexpr int D_CONVERSOR_PAUSA_ANALISE = 2;
inline constexpr int D_CONVERSOR_PAUSA_ARQUIVO_CONVERTIDO = 3;
inline constexpr int D_CONVERSOR_PAUSA_ARQUIVO_COM_ERRO = 5;
inline constexpr int D_ARQUIVO_PAUSA_FIM_BUSCA = 10;

// Progress of the conversion worker: one per worker, copied into every notice. Texts are UTF-8.
struct ST_DetalhesConversao
{
    int iStatus = 0; // D_CONVERSOR_STATUS_CONVERSAO_*
    int iTipoConversao = 0;
    int iNumArquivoAtual = 0;
    int iNumTotalArquivos = 0;
    std::string cNomeTalhao;
    std::string cNomeEvento;
    std::string cNomeArquivo;
    // Why the file failed, in Portuguese, for logs and the command; empty unless iStatus is ERRO.
    std::string szMotivoErro;
    // Set when the outputs were given a distinct name because another file of the batch would have
    // written the same ones: one line for the result block.
    std::string szAvisoSaida;
    // Map jobs: 1 when a guide curve could not be drawn (the map is still written).
    int iErroImpressaoGuia = 0;
    // Coverage map with recommendation: the shapefile set just written becomes the viewer's map 2,
    // shown by its value field (index 1). Empty for other jobs and for failures.
    std::string szMapa2Shp;
    std::string szMapa2Dbf;
    unsigned int uiMapa2ParamSelecionado = 0;
    // Export jobs: the files written, and the export's name for the result block.
    std::vector<std::string> vSaidas;
    std::string szNomeExportacao;
};

// Where a worker's notices go. Each callback runs on the worker's thread; a window forwards it to its
// own thread. Missing callbacks are skipped.
struct ST_ReceptorAvisos
{
    void* pContexto = nullptr;
    // WM_PROCURA_ARQUIVOS_OK: search code (0 or D_ARQUIVO_BUSCA_*) and classification bits.
    void (*pfProcuraArquivosOk)(void* pContexto, int iStatus, int iTiposArquivos) = nullptr;
    // WM_CONVERTENDO_ARQUIVOS: a copy of the progress record, at a file's start and with its result.
    void (*pfConvertendoArquivos)(void* pContexto, const ST_DetalhesConversao& stDetalhes) = nullptr;
    // WM_CONVERSAO_OK: the job has ended.
    void (*pfConversaoOk)(void* pContexto) = nullptr;
};

// What a worker is given, owned by its starter for at least the worker's lifetime.
struct ST_EstruturaThread
{
    ST_ReceptorAvisos hHandleRetorno;
    void* lpArgumento = nullptr; // ST_SelecaoArquivos or ST_ConversaoArquivos
    // Folder search only: the worker that goes on, on the same thread and with the same record, after
    // a successful search (the window gives the classification). Without it the search ends with its
    // own WM_PROCURA_ARQUIVOS_OK.
    unsigned int (*pfAposProcura)(void* lpArg) = nullptr;
    // Result hand-shake: the worker sets it before a result notice and waits until the receiver
    // clears it (conversor_ConfirmarAviso) after using the notice.
    std::atomic<unsigned char> ucSemaforoStatusConversao{0};
    // Set by the user to stop a batch between files; the conversion worker clears it when it starts.
    std::atomic<unsigned char> ucCancelarConversao{0};
    // Set just before the end notice: 1 when the job was a coverage map with recommendation.
    std::atomic<int> iDesenharSegundoMapa{0};
    // Length of one pause unit between files (zero in the command and the tests).
    std::chrono::nanoseconds unidadePausa{0};
};
