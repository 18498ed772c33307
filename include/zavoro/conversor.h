// Conversion: the workers that classify the selected navigation files and convert them one by one,
// their progress record and notices, and the writers they call (the work report; later the maps).
//
// Workers never touch a window. They report through the notice sink of their ST_EstruturaThread: the
// desktop app posts each notice to its window thread, the command prints it. Everything a job reads is
// in its own records, so several jobs can run in one process at once.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "zavoro/arquivo.h"
#include "zavoro/tipos.h"

// ---------------------------------------------------------------------------------------------------
// Job kinds, map kinds, classification bits, status codes, notices
// ---------------------------------------------------------------------------------------------------

inline constexpr int D_CONVERSOR_TIPO_CONVERSAO_RELATORIO = 1;
inline constexpr int D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE = 2;
inline constexpr int D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA = 3;
inline constexpr int D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO = 4;

inline constexpr int D_CONVERSOR_TIPO_MAPA_COBERTURA = 1;
inline constexpr int D_CONVERSOR_TIPO_MAPA_VELOCIDADE = 2;
inline constexpr int D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO = 3;

inline constexpr int D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO = 1 << 0;
inline constexpr int D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_ADUBACAO = 1 << 1;
inline constexpr int D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_OUTRAS_OPERACOES = 1 << 2;
inline constexpr int D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_MISTO =
    D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO | D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_OUTRAS_OPERACOES;

inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_GERANDO_RELATORIO = 1;
inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_GERANDO_MAPA = 2;
inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_ERRO = 3;
inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_RELATORIO_GERADO = 4;
inline constexpr int D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO = 5;

// Notice numbers, as the window knows them.
inline constexpr int WM_USER = 0x0400;
inline constexpr int WM_PROCURA_ARQUIVOS_OK = WM_USER + 100;
inline constexpr int WM_CONVERTENDO_ARQUIVOS = WM_USER + 101;
inline constexpr int WM_CONVERSAO_OK = WM_USER + 102;

// Pause units between files.
inline constexpr int D_CONVERSOR_PAUSA_ANALISE = 2;
inline constexpr int D_CONVERSOR_PAUSA_ARQUIVO_CONVERTIDO = 3;
inline constexpr int D_CONVERSOR_PAUSA_ARQUIVO_COM_ERRO = 5;
inline constexpr int D_ARQUIVO_PAUSA_FIM_BUSCA = 10;

// ---------------------------------------------------------------------------------------------------
// Legend classes
// ---------------------------------------------------------------------------------------------------

inline constexpr int D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR = 1;
inline constexpr int D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO = 2;

inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_AZUL = 0;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_CIANO = 1;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_VERDE = 2;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_AMARELO = 3;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_LARANJA = 4;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_VERMELHO = 5;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_ROXO = 6;

inline constexpr int D_CONVERSOR_NUMERO_ALVOS = 5;
inline constexpr int D_CONVERSOR_NUMERO_FAIXAS_LEGENDA = 6;
inline constexpr int D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP = 13;
inline constexpr int D_CONVERSOR_VALOR_ALVO_VAZIO = 9999;
// Class of a value that has none (value 0): not drawn.
inline constexpr int D_CONVERSOR_FAIXA_SEM_VALOR = 99;
inline constexpr const char* D_CONVERSOR_TEXTO_ERRO_LEGENDA = "Ajuste os valores em ordem crescente.";

// One band of legend type 1 (the user's five targets).
struct ST_LegendaMapa
{
    int iValorInf = 0;
    int iValorSup = 0;
    int iCor = 0;
    int iIndiceVetor = 0;
};

// Rows of legend type 2 (the recommendation map's legend).
struct ST_ShpLegenda
{
    std::uint32_t ulValorLegenda[22][2] = {};
    std::uint8_t ucNumLinhasLegenda = 0;
    std::uint8_t ucTipoLegenda = 0;
    std::uint8_t ucFlagPoligonoValorZero = 0;
};

// Default targets of the window's five edits.
inline constexpr int D_CONVERSOR_TAXAS_ALVO_PADRAO[D_CONVERSOR_NUMERO_ALVOS] = {75, 125, 175, 225, 300};
inline constexpr int D_CONVERSOR_VELOCIDADES_ALVO_PADRAO[D_CONVERSOR_NUMERO_ALVOS] = {5, 10, 15, 20, 30};

// What a map job reads of the window's legend tables: copied into the job when it starts, so the
// window may edit its own tables while the job runs.
struct ST_ParametrosMapa
{
    ST_LegendaMapa gstLegendaMapa[D_CONVERSOR_NUMERO_FAIXAS_LEGENDA] = {};
    ST_ShpLegenda gstShpLegendaMapa;
};

// Colour tables: six colours for legend type 1 (style URLs), thirteen for legend type 2 (style URLs,
// HTML colour texts ending with a double quote, 0x00RRGGBB values).
extern const char* const gulVetorNomesCoresLegendaQuibar[D_CONVERSOR_NUMERO_FAIXAS_LEGENDA];
extern const char* const gulVetorNomesCoresShp[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP];
extern const char* const gulVetorHexCoresShp[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP];
extern const std::uint32_t gulVetorCoresShp[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP];

// Rebuilds the bands from five targets (9999 or 0: empty slot) for map type 1 or 2.
void conversor_SetarLegenda(const int* iValorAlvo, int iTipoMapa, ST_LegendaMapa* pstLegendaMapa);
// TRUE when the bands form a valid ascending legend.
BOOL conversor_AnalisarDadosLegenda(const ST_LegendaMapa* pstLegendaMapa);
// Band (type 1) or row (type 2) of a value; D_CONVERSOR_FAIXA_SEM_VALOR for 0.
int conversor_RetornarFaixaLegenda(int iValor, int iTipoLegenda, const ST_ParametrosMapa* pstParametros);

// ---------------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------------

// Progress of the conversion worker: one per worker, copied into every notice. Texts are UTF-8.
struct ST_DetalhesConversao
{
    int iStatus = 0;
    int iTipoConversao = 0;
    int iNumArquivoAtual = 0;
    int iNumTotalArquivos = 0;
    std::string cNomeTalhao;
    std::string cNomeEvento;
    std::string cNomeArquivo;
    // Why the file failed, in Portuguese, for logs and the command; empty unless iStatus is ERRO.
    std::string szMotivoErro;
    // Map jobs: 1 when a guide curve could not be drawn (the map is still written).
    int iErroImpressaoGuia = 0;
    // Coverage map with recommendation: the shapefile set just written becomes the viewer's map 2,
    // shown by its value field (index 1). Empty for other jobs and for failures.
    std::string szMapa2Shp;
    std::string szMapa2Dbf;
    unsigned int uiMapa2ParamSelecionado = 0;
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

// A conversion job, filled by its starter.
struct ST_ConversaoArquivos
{
    int iTipoSelecao = D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS;
    int iTipoConversao = D_CONVERSOR_TIPO_CONVERSAO_RELATORIO;
    const char* pucVetorPaths = nullptr; // path list in the layout of ST_SelecaoArquivos
    int iNumArquivos = 0;
    ST_ParametrosMapa stParametrosMapa; // legend snapshot for map jobs
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

struct ST_Talhao;
struct ST_EventoCabecalho;
struct ST_Guia_v2;
struct ST_Limite_v1;

// Boxed title and general data of the job: field, event, totals, times, guides (ulNumeroGuias
// entries with their versions) and boundaries. Texts are written as Windows-1252 with CR LF.
void conversor_EscreverDadosGeraisRelatorio(std::FILE* pfArquivoEscrita, const ST_Talhao* pstTalhao,
                                            const ST_EventoCabecalho* pstEvtCabecalho,
                                            unsigned int uiVersaoArquivoNavegacao,
                                            unsigned short usVersaoArquivoTalhao,
                                            unsigned short usVersaoArquivoEvento, std::uint32_t ulNumeroGuias,
                                            const ST_Guia_v2* pstGuia, const unsigned short* pusVersaoArquivoGuia,
                                            std::uint32_t uiNumeroLimites, const ST_Limite_v1* pstLimite,
                                            const unsigned short* pusVersaoArquivoLimite);

// One block per stage, read from pfArquivoLeitura positioned at the first configuration block. The
// last four values are the event header's start, end, covered area and applied total; stages
// without a start or end time are left out.
void conversor_EscreverConfiguracaoRelatorio(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                             std::uint32_t ulNumConfiguracoes, unsigned short usVersaoArquivoEvento,
                                             std::uint32_t ulDataHoraEventoInicio, std::uint32_t ulDataHoraEventoFim,
                                             float fAreaCoberturaFinal, std::uint32_t ulVolumeAplicadoFinal);


// ---------------------------------------------------------------------------------------------------
// KML map
// ---------------------------------------------------------------------------------------------------

// The shapefile set written beside a KML map: its path with the last three characters ("kml")
// replaced.
struct ST_ArquivosShp
{
    std::string szShp;
    std::string szShx;
    std::string szDbf;
    std::string szPrj;
};

// Writes the KML map of a validated navigation file (iTipoMapa: D_CONVERSOR_TIPO_MAPA_*), classed by
// the job's legend, with the shapefile set of its coverage beside it; the KML and the set replace
// their targets only when all of them are complete. *piErroImpressaoGuia (when given) is set to 1
// when a guide curve could not be drawn. pszErro (when given) receives the reason of a failure.
// *pstArquivosShp (when given) receives the paths of the set written (left empty on failure).
BOOL conversor_CriarMapaNavegacao(const char* pcArquivoLeitura, const char* pcArquivoEscrita, int iTipoMapa,
                                  const ST_ParametrosMapa* pstParametros, int* piErroImpressaoGuia = nullptr,
                                  std::string* pszErro = nullptr, ST_ArquivosShp* pstArquivosShp = nullptr);
