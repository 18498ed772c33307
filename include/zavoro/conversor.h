// Conversion: the workers that classify the selected navigation files and convert them one by one,
// and the writers they call: the work report and the KML map with the shapefile set of its coverage.
//
// Workers never touch a window. They report through the notice sink of their ST_EstruturaThread
// (avisos.h): the desktop app posts each notice to its window thread, the command prints it.
// Everything a job reads is in its own records, so several jobs can run in one process at once.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "zavoro/arquivo.h"
#include "zavoro/avisos.h"
#include "zavoro/legenda.h"
#include "zavoro/tipos.h"

// ---------------------------------------------------------------------------------------------------
// Job kinds and classification bits
// ---------------------------------------------------------------------------------------------------

inline constexpr int D_CONVERSOR_TIPO_CONVERSAO_RELATORIO = 1;
inline constexpr int D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE = 2;
inline constexpr int D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA = 3;
inline constexpr int D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO = 4;
// Export through a module beside the core (GIS datasets, task data): the job carries the writer.
inline constexpr int D_CONVERSOR_TIPO_CONVERSAO_EXPORTACAO = 5;

inline constexpr int D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO = 1 << 0;
inline constexpr int D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_ADUBACAO = 1 << 1;
inline constexpr int D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_OUTRAS_OPERACOES = 1 << 2;
inline constexpr int D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_MISTO =
    D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO | D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_OUTRAS_OPERACOES;

// A conversion job, filled by its starter.
struct ST_ConversaoArquivos
{
    int iTipoSelecao = D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS;
    int iTipoConversao = D_CONVERSOR_TIPO_CONVERSAO_RELATORIO;
    const char* pucVetorPaths = nullptr; // path list in the layout of ST_SelecaoArquivos
    int iNumArquivos = 0;
    ST_ParametrosMapa stParametrosMapa; // legend snapshot for map jobs
    // Output path of each file of the list, in order, when the caller settled them for a larger batch
    // (conversor_NomesSaidaLote); empty: the worker settles them for its list.
    std::vector<std::string> vNomesSaida;
    // Export jobs: what the export is called in the result list ("GeoPackage") and its writer, which
    // writes one validated file's outputs for an output base (the input's path without extension, made
    // distinct across the batch) and lists what it wrote; FALSE with the reason in Portuguese.
    std::string szNomeExportacao;
    std::function<BOOL(const std::string& szArquivo, const std::string& szBase, std::vector<std::string>* pvSaidas,
                       std::string* pszErro)>
        pfExportar;
};

// ---------------------------------------------------------------------------------------------------
// Workers
// ---------------------------------------------------------------------------------------------------

// Classification worker: lpArg is an ST_EstruturaThread whose argument is an ST_SelecaoArquivos.
// Ends with WM_PROCURA_ARQUIVOS_OK (code 0, classification bits). Returns 0.
unsigned int conversor_ThreadAnalisarTiposArquivosNavegacao(void* lpArg);
// Classification bits of one navigation file (0 when it cannot be walked).
int conversor_AnalisarTiposArqNavegacao(const char* pszPathArquivoLeitura);
// Conversion worker: lpArg is an ST_EstruturaThread whose argument is an ST_ConversaoArquivos.
// Returns 0 after WM_CONVERSAO_OK.
unsigned int conversor_ThreadCriarRelatoriosMapasNavegacao(void* lpArg);
// Field and event names of a file into the record (empty when they cannot be read).
void conversor_RetornarDetalhesConversao(const char* pcArquivo, ST_DetalhesConversao* pstDetalhesConversao);
// Receiver side of the result hand-shake: call after a result notice has been used.
void conversor_ConfirmarAviso(ST_EstruturaThread* pstEstruturaThread);

// Calls fn(path) for each file of a path list, in order (selection layouts of ST_SelecaoArquivos),
// never reading past tamanhoBuffer bytes of the list. Stops early when fn returns false.
void conversor_PercorrerListaPaths(int iTipoSelecao, const char* pucVetorPaths, int iNumArquivos,
                                   const std::function<bool(const std::string&)>& fn,
                                   std::size_t tamanhoBuffer = D_ARQUIVO_TAMANHO_BUFFER_LISTA_ARQUIVOS);

// Output name of a job kind: the input path from its last dot replaced ("txt", "_Velocidade.kml",
// "_Cobertura.kml"); a name without a dot gets the ending appended.
std::string conversor_NomeArquivoSaida(const std::string& szArquivoLeitura, int iTipoConversao);
// Output paths of a batch, one per file in order, such that no two files and no input share one: a
// file whose outputs (the report, or the KML with its shapefile set) would fall on an input of the
// batch or on an earlier file's outputs keeps its extension in the name ("campo.NVG" ->
// "campo_NVG.txt"), then a number ("campo_NVG_2.txt"). Names are compared without ASCII letter case,
// as on Windows and memory cards.
std::vector<std::string> conversor_NomesSaidaLote(const std::vector<std::string>& vArquivos, int iTipoConversao);

// The result-list block of one converted file, as the window's list and the command show it:
// "Relatório 1 de 3: OK", the file line, field and event (successes only), a separator line. A map
// whose guide curves could not all be drawn (iErroImpressaoGuia 1) says so in place of "OK".
std::string conversor_MontarBlocoResultado(const ST_DetalhesConversao& stDetalhes, const char* pcFimLinha = "\r\n");

// ---------------------------------------------------------------------------------------------------
// Work report
// ---------------------------------------------------------------------------------------------------

// Writes the work report of a validated navigation file. The target is replaced only when the whole
// report was written; on failure nothing is left behind and an earlier report stays. pszErro (when
// given) receives the reason of a failure, in Portuguese.
BOOL conversor_CriarRelatoriosNavegacao(const char* pcArquivoLeitura, const char* pcArquivoEscrita,
                                        std::string* pszErro = nullptr);

// ---------------------------------------------------------------------------------------------------
// KML map
// ---------------------------------------------------------------------------------------------------

struct ST_ArquivosShp;

// Writes the KML map of a validated navigation file (iTipoMapa: D_CONVERSOR_TIPO_MAPA_*), classed by
// the job's legend, with the shapefile set of its coverage beside it; the KML and the set replace
// their targets only when all of them are complete. *piErroImpressaoGuia (when given) is set to 1
// when a guide curve could not be drawn. pszErro (when given) receives the reason of a failure.
// *pstArquivosShp (when given) receives the paths of the set written (left empty on failure).
BOOL conversor_CriarMapaNavegacao(const char* pcArquivoLeitura, const char* pcArquivoEscrita, int iTipoMapa,
                                  const ST_ParametrosMapa* pstParametros, int* piErroImpressaoGuia = nullptr,
                                  std::string* pszErro = nullptr, ST_ArquivosShp* pstArquivosShp = nullptr);
