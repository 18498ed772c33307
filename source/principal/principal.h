// The desktop application's window logic, without a toolkit: the main dialog's controls as a plain
// model, the window's state, the platform services it calls, and the handlers of the shell, the
// conversion panel and the map viewer panel.
//
// The Qt layer (janelaQt.*) is a thin adapter: it builds the widgets from the control table, routes
// every user action and worker notice to a handler here on the window thread, and then applies the
// model to the widgets. Tests drive the same handlers with fake services, with or without widgets.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "rc/resource.h"
#include "zavoro/analise.h"
#include "zavoro/arquivo.h"
#include "zavoro/conversor.h"
#include "zavoro/desenhoMapa.h"
#include "zavoro/shapeFile.h"

// ---------------------------------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------------------------------

inline constexpr const char* D_PRINCIPAL_DATA_ULTIMA_VERSAO = "25/04/2018";
inline constexpr unsigned int D_PRINCIPAL_MODO_UTILIZACAO_CONVERSAO_ARQUIVOS = 0;
inline constexpr unsigned int D_PRINCIPAL_MODO_UTILIZACAO_VISUALIZACAO_MAPAS = 1;
inline constexpr int D_TAMANHO_BUFFER_LISTA_ARQUIVOS = 0x10000;

// Dialog units of the main dialog's font ("MS Sans Serif" 8 pt at 96 DPI): 6 x 13 pixels per 4 x 8 units.
inline constexpr int D_PRINCIPAL_BASE_X = 6;
inline constexpr int D_PRINCIPAL_BASE_Y = 13;
// Main dialog: 510 x 331 units. Its lowest controls end at 345 units, so the client area is made
// tall enough to show them whole.
inline constexpr int D_PRINCIPAL_LARGURA_DIALOGO = 510;
inline constexpr int D_PRINCIPAL_ALTURA_DIALOGO = 331;
inline constexpr int D_PRINCIPAL_ALTURA_CLIENTE = 349;
inline constexpr int D_PRINCIPAL_LARGURA_SOBRE = 216, D_PRINCIPAL_ALTURA_SOBRE = 99;
inline constexpr int D_PRINCIPAL_LARGURA_MAPA_MAX = 375, D_PRINCIPAL_ALTURA_MAPA_MAX = 348;
// The window's frame, caption and menu above and left of the client area. Painting positions are
// measured from the outer corner of the window; these offsets bring them to client pixels.
inline constexpr int D_PRINCIPAL_MOLDURA_X = 4;
inline constexpr int D_PRINCIPAL_MOLDURA_Y = 45;

// Pause unit of the workers in the window: long enough for the user to read each file's progress.
inline constexpr std::chrono::milliseconds D_PRINCIPAL_UNIDADE_PAUSA{20};

inline constexpr const char* D_PRINCIPAL_TEXTO_INICIAL =
    "\r\n\r\n\r\n\r\nSelecione os arquivos de navegação e gere seus relatórios e mapas.";
inline constexpr const char* D_PRINCIPAL_TEXTO_FECHAR = "Fechar";
inline constexpr const char* D_PRINCIPAL_TITULO_ERRO = "Erro";

// Message box buttons and answers.
inline constexpr int D_PRINCIPAL_MB_OK = 0;
inline constexpr int D_PRINCIPAL_MB_OKCANCEL = 1;
inline constexpr int D_PRINCIPAL_IDOK = 1;
inline constexpr int D_PRINCIPAL_IDCANCEL = 2;

// Exit code of a program that could not start a worker.
inline constexpr int D_PRINCIPAL_SAIDA_ERRO_THREAD = 3;

// ---------------------------------------------------------------------------------------------------
// Controls
// ---------------------------------------------------------------------------------------------------

enum class E_ClasseControle
{
    GrupoBox,
    Radio,
    Botao,
    Edicao,
    Rotulo,
    BarraProgresso,
    ListaSuspensa,
    Retangulo,
};

// Properties of a control at creation.
inline constexpr unsigned int D_PRINCIPAL_CONTROLE_OCULTO = 1u << 0;
inline constexpr unsigned int D_PRINCIPAL_CONTROLE_DESABILITADO = 1u << 1;
inline constexpr unsigned int D_PRINCIPAL_CONTROLE_SOMENTE_LEITURA = 1u << 2;
inline constexpr unsigned int D_PRINCIPAL_CONTROLE_BORDA = 1u << 3;
inline constexpr unsigned int D_PRINCIPAL_CONTROLE_PLANO = 1u << 4;
inline constexpr unsigned int D_PRINCIPAL_CONTROLE_CENTRALIZADO = 1u << 5;
inline constexpr unsigned int D_PRINCIPAL_CONTROLE_SO_DIGITOS = 1u << 6;
inline constexpr unsigned int D_PRINCIPAL_CONTROLE_MULTILINHA = 1u << 7;

// One control of the main dialog as the template creates it (position and size in dialog units).
struct ST_DefinicaoControle
{
    int iId;
    const char* szNome;
    E_ClasseControle eClasse;
    const char* szTexto;
    int iX, iY, iLargura, iAltura;
    unsigned int uiPropriedades;
};

extern const ST_DefinicaoControle gstControlesConversorZavoro[];
extern const int giNumControlesConversorZavoro;

// Dialog units to pixels, rounded like the platform's dialog manager.
int principal_UnidadesParaPixelsX(int iUnidades);
int principal_UnidadesParaPixelsY(int iUnidades);

// A control as the window shows it now. Positions are client pixels.
struct ST_Controle
{
    const ST_DefinicaoControle* pstDefinicao = nullptr;
    bool bVisivel = true;
    bool bHabilitado = true;
    bool bMarcado = false; // radio buttons
    bool bMarquee = false; // progress bars: endless animation
    std::string szTexto;   // UTF-8; line ends "\r\n" as the texts are written
    int iX = 0, iY = 0, iLargura = 0, iAltura = 0;
    std::vector<std::string> vItens; // drop-down list
    int iSelecao = -1;
};

// ---------------------------------------------------------------------------------------------------
// Platform services
// ---------------------------------------------------------------------------------------------------

struct ST_Janela;

// Everything the window logic asks of the platform. The Qt layer fills it; tests fill it with fakes.
// Missing callbacks behave as a cancelled dialog / an OK answer.
struct ST_ServicosPlataforma
{
    void* pContexto = nullptr;
    // Modal message box; returns D_PRINCIPAL_IDOK or D_PRINCIPAL_IDCANCEL.
    int (*pfMensagem)(void* pContexto, const char* pcTexto, const char* pcTitulo, int iBotoes) = nullptr;
    // Open-file dialog with one filter entry ("Arquivos NVG (*.nvg)", "*.nvg"); full UTF-8 paths of the
    // confirmed files, all in one folder. FALSE when cancelled.
    bool (*pfAbrirArquivos)(void* pContexto, const char* pcFiltroTexto, const char* pcFiltroPadrao,
                            const char* pcExtensaoPadrao, bool bVarios, std::vector<std::string>* pvArquivos) = nullptr;
    // Folder browser with a title; FALSE when cancelled.
    bool (*pfEscolherDiretorio)(void* pContexto, const char* pcTitulo, std::string* pszDiretorio) = nullptr;
    // Opens a document with its default viewer.
    void (*pfAbrirDocumento)(void* pContexto, const std::string& szCaminho) = nullptr;
    // Runs the About box (modal), which shows what principal_InitDialogSobreHandler gives.
    void (*pfMostrarSobre)(void* pContexto) = nullptr;
    // Asks for one item of a list (a modal dialog with a drop-down list); FALSE when cancelled.
    bool (*pfEscolherItem)(void* pContexto, const char* pcTitulo, const char* pcRotulo,
                           const std::vector<std::string>& vItens, int* piEscolha) = nullptr;
    // Opens the comparison window of the map viewer (principal_TextoComparacao and the others below).
    void (*pfMostrarComparacao)(void* pContexto) = nullptr;
    // Ends the process with an exit code.
    void (*pfEncerrarProcesso)(void* pContexto, int iCodigo) = nullptr;
    // Runs fn on the window thread later (the worker's posted message).
    void (*pfPostar)(void* pContexto, std::function<void()> fn) = nullptr;
    // Starts a worker thread; FALSE when it cannot be created. Missing: std::thread.
    bool (*pfCriarThread)(void* pContexto, std::thread* pThread, unsigned int (*pfFuncao)(void*), void* pArg) = nullptr;
    // Where the help document is looked for after the current folder (the executable's folder, ...).
    std::vector<std::string> vPastasAjuda;
};

// ---------------------------------------------------------------------------------------------------
// Window state
// ---------------------------------------------------------------------------------------------------

// One worker and what it works on. The window keeps one for the conversion panel and one for the map
// viewer, so a map 2 conversion never touches the panel's selection or job.
struct ST_Trabalho
{
    ST_Janela* pstJanela = nullptr;
    ST_EstruturaThread gstEstruturaThread;
    ST_ConversaoArquivos gstConversaoArquivos;
    std::thread thread;
    // Set while the window goes away: notices are acknowledged at once instead of posted.
    std::atomic<bool> bEncerrando{false};
};

// One way "Exportar..." can write the selected files. The application fills the list with what the
// modules it was built with offer; empty, the button stays hidden.
struct ST_FormatoExportacao
{
    std::string szNome;   // as the format dialog lists it: "GeoPackage (.gpkg)"
    std::string szCurto;  // as the result list names it: "GeoPackage"
    // The job's writer (ST_ConversaoArquivos::pfExportar); runs on the worker.
    std::function<BOOL(const std::string& szArquivo, const std::string& szBase, std::vector<std::string>* pvSaidas,
                       std::string* pszErro)>
        pfExportar;
};

// The viewer's comparison of map 1 with the work done. It runs on a worker of its own once map 2 is
// drawn; a comparison overtaken by another (a map closed or chosen again) keeps running to its end
// and its result is dropped, so the window never waits for it.
inline constexpr int D_PRINCIPAL_COMPARACAO_NENHUMA = 0;
inline constexpr int D_PRINCIPAL_COMPARACAO_EM_CURSO = 1;
inline constexpr int D_PRINCIPAL_COMPARACAO_PRONTA = 2;
inline constexpr int D_PRINCIPAL_COMPARACAO_FALHOU = 3;
struct ST_ComparacaoJanela
{
    struct ST_Worker
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> pbTerminado; // set by the worker as its last act
    };
    std::vector<ST_Worker> vWorkers;
    unsigned int uiGeracao = 0; // of the comparison whose result is awaited
    int iEstado = D_PRINCIPAL_COMPARACAO_NENHUMA;
    ST_ResultadoComparacao stResultado;
    std::string szErro;
};

struct ST_Janela
{
    ST_Janela();
    ~ST_Janela();
    ST_Janela(const ST_Janela&) = delete;
    ST_Janela& operator=(const ST_Janela&) = delete;

    std::vector<ST_Controle> vControles;
    std::string szTitulo;
    // A repaint was requested since the adapter last painted (it always repaints the whole area, so
    // "with" and "without erasing" are one request).
    bool bRepintar = false;
    // Cleared by both exits; the adapter closes the window when it is 0.
    unsigned char gucFormulario = 1;

    unsigned int giModoUtilizacao = D_PRINCIPAL_MODO_UTILIZACAO_CONVERSAO_ARQUIVOS;
    unsigned char gucNivelMenuConversaoOpcoesMapa = 0;
    unsigned char gucNivelMenuVisualizacaoMapa1 = 0;
    unsigned char gucNivelMenuVisualizacaoMapa2 = 0;
    unsigned int guiNumTelaMapaMaximizar = 0;
    int giTipoMapa = D_CONVERSOR_TIPO_MAPA_COBERTURA;
    int giTipoArquivosCarregados = D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_MISTO;
    int iTaxaAlvoMapaCobertura[D_CONVERSOR_NUMERO_ALVOS];
    int iVelocidadeAlvoMapa[D_CONVERSOR_NUMERO_ALVOS];
    ST_LegendaMapa gstLegendaMapa[D_CONVERSOR_NUMERO_FAIXAS_LEGENDA] = {};

    // 128 KiB: on the heap.
    std::unique_ptr<ST_SelecaoArquivos> gstSelecaoArquivos;
    ST_Trabalho stConversao; // search, classification and conversion of the panel
    ST_Trabalho stMapa2;     // map 2 conversion of the viewer
    std::chrono::nanoseconds unidadePausa = D_PRINCIPAL_UNIDADE_PAUSA;

    // Map viewer: maps, legend, extent; its pictures belong to the adapter (or a test), which fills
    // the four surfaces before the dialog starts.
    ST_VisualizadorMapas gstVisualizador;
    // The map 2 conversion's own path list (one path, the list's closing zeros) and whether it runs.
    std::string szListaMapa2;
    bool bMapa2EmConversao = false;
    ST_ComparacaoJanela stComparacao;

    ST_ServicosPlataforma stServicos;
    std::vector<ST_FormatoExportacao> vFormatosExportacao;
    // Paths given on the command line: they answer the next file or folder dialog once, in place of
    // the platform's dialog.
    std::vector<std::string> vRespostaDialogo;
};

// Model access by id (a missing id is a programming error: it aborts).
ST_Controle& principal_Controle(ST_Janela* pstJanela, int iId);
void principal_MostrarControle(ST_Janela* pstJanela, int iId, bool bMostrar);
void principal_HabilitarControle(ST_Janela* pstJanela, int iId, bool bHabilitar);
void principal_SetarTexto(ST_Janela* pstJanela, int iId, const std::string& szTexto);
const std::string& principal_Texto(ST_Janela* pstJanela, int iId);
// The radio buttons that exclude each other with iId, iId among them; empty for any other control.
std::span<const int> principal_GrupoRadio(int iId);
// Checks a radio button and unchecks the others of its group, as a click on it does.
void principal_MarcarRadio(ST_Janela* pstJanela, int iId);
void principal_Repintar(ST_Janela* pstJanela);
// Shows a progress bar as an endless (marquee) bar.
void principal_MostrarBarraMarquee(ST_Janela* pstJanela, int iId);
// Message box through the platform.
int principal_Mensagem(ST_Janela* pstJanela, const char* pcTexto, const char* pcTitulo, int iBotoes);
// Starts fn on the job's thread with its record; on failure shows pcErro and ends the process.
bool principal_IniciarTrabalho(ST_Janela* pstJanela, ST_Trabalho* pstTrabalho, unsigned int (*pfFuncao)(void*),
                               void* pArgumento, const char* pcErro);
// Asks the running workers to stop, releases their notices and waits for them (window teardown).
void principal_EncerrarTrabalhos(ST_Janela* pstJanela);

// ---------------------------------------------------------------------------------------------------
// Dialogs of the file selection
// ---------------------------------------------------------------------------------------------------

// Multi-selection open dialog: fills the path list in the dialog's layout (one file: its path; several:
// the folder, then each name; each item ends with a zero byte and the list with a second one), the
// display text and the count (0 when cancelled or when the names do not fit).
void arquivo_SelecionarArquivosNavegacao(ST_Janela* pstJanela, ST_SelecaoArquivos* pstSelecao);
// Folder browser: the chosen folder, or an empty string when cancelled (TRUE either way).
BOOL arquivo_SelecionarDiretorioComArquivosNavegacao(ST_Janela* pstJanela, char* pcPath, std::size_t tamanho);
// Single-file dialogs of the map viewer; TRUE when a file was confirmed (and fits in the buffer).
BOOL arquivo_SelecionarArquivoMapaShapefile(ST_Janela* pstJanela, char* pcPath, std::size_t tamanho);
BOOL arquivo_SelecionarArquivoNVG(ST_Janela* pstJanela, char* pcPath, std::size_t tamanho);

// ---------------------------------------------------------------------------------------------------
// Shell
// ---------------------------------------------------------------------------------------------------

void principal_InitDialogHandler(ST_Janela* pstJanela);
// iComando: control id in the low 16 bits, notification code in the high 16 bits.
void principal_CommandHandler(ST_Janela* pstJanela, unsigned int iComando);
inline constexpr unsigned int D_PRINCIPAL_EN_CHANGE = 0x0300;
void principal_ProcuraArquivosOKHandler(ST_Janela* pstJanela, int iStatus, int iTipos);
void principal_ConvertendoArquivosHandler(ST_Janela* pstJanela, ST_Trabalho* pstTrabalho,
                                          const ST_DetalhesConversao& stDetalhes);
void principal_ConversaoOkHandler(ST_Janela* pstJanela, ST_Trabalho* pstTrabalho);
void principal_CloseHandler(ST_Janela* pstJanela);
// Looked for in the current folder, then in the help folders of the platform services.
inline constexpr const char* D_PRINCIPAL_NOME_AJUDA = "Ajuda Quibar Zavoro.pdf";
// Selects the mode radio button of the current use mode.
void principal_MarcarModoUtilizacao(ST_Janela* pstJanela);
// Start-up with paths from the command line (a file manager's "Open with"): navigation files are
// selected as by the files button, a folder as by the folder button, a .shp opens the map mode with it
// as map 1. Files of different folders are refused with a message, as the dialog never mixes them.
void principal_AbrirComArquivos(ST_Janela* pstJanela, const std::vector<std::string>& vCaminhos);
// Empties the selection: both path edits, both path buffers, the count.
void principal_EsvaziarSelecao(ST_Janela* pstJanela);
// Whether the control is on screen now: shown in the model and on the current mode's panel
// (each panel keeps its controls as they were while the other mode is shown).
bool principal_ControleVisivel(ST_Janela* pstJanela, int iId);

// The About box: its caption and the lines drawn right of the logo.
struct ST_LinhaSobre
{
    int iX, iY;          // top left of the line
    std::string szTexto; // UTF-8; a tab stands for the box's 60-pixel tab stop
    int iPixels;         // font height
    bool bDestaque;      // bold and underlined
    std::uint32_t ulCor; // 0x00RRGGBB
};
struct ST_Sobre
{
    std::string szTitulo;
    std::vector<ST_LinhaSobre> vLinhas;
};
ST_Sobre principal_InitDialogSobreHandler();

// ---------------------------------------------------------------------------------------------------
// Conversion panel
// ---------------------------------------------------------------------------------------------------

void principal_MontarGroupboxConversaoArquivos(ST_Janela* pstJanela);
void principal_OnClickBotaoSelecionarArquivos(ST_Janela* pstJanela);
void principal_OnClickBotaoSelecionarDiretorio(ST_Janela* pstJanela);
void principal_OnClickBotaoEsquerda(ST_Janela* pstJanela);
void principal_OnClickBotaoDireita(ST_Janela* pstJanela);
void principal_OnClickBotaoCancelar(ST_Janela* pstJanela);
// "Exportar...": asks the format once, then exports every selected file on the conversion worker.
void principal_OnClickBotaoExportar(ST_Janela* pstJanela);
void principal_OnUpdateEditorTextoValorAlvo(ST_Janela* pstJanela, int iId, int iTipoMapa);
void principal_SetarListaStatusConversao(ST_Janela* pstJanela, const ST_DetalhesConversao& stDetalhes);

// What the conversion panel paints in states 3, 4 and 5, in client pixels, for the adapter to draw.
struct ST_CaixaPintura
{
    int iX0, iY0, iX1, iY1; // end exclusive
    std::uint32_t ulCor;    // 0x00RRGGBB fill; outlined by a 1-pixel black pen
};
struct ST_TextoPintura
{
    int iX, iY;           // top; iX is the left edge, or the centre when bCentralizado
    std::string szTexto;  // UTF-8
    int iPixels;          // font height
    bool bSublinhado;
    bool bCentralizado;
};
struct ST_PinturaPainel
{
    std::vector<ST_CaixaPintura> vCaixas;
    std::vector<ST_CaixaPintura> vTracos; // ticks, filled black
    std::vector<ST_TextoPintura> vTextos;
};
// What the window paints now in conversion mode: the boundary bar of state 3 (which also moves the
// five target edits above the box borders), the legend preview of states 4 and 5; empty otherwise.
ST_PinturaPainel principal_PaintHandler(ST_Janela* pstJanela);

// The export formats of the modules the application was built with (formatosExportacao.cpp, part of the
// program, not of this library).
std::vector<ST_FormatoExportacao> principal_FormatosExportacao();

// ---------------------------------------------------------------------------------------------------
// Map viewer panel
// ---------------------------------------------------------------------------------------------------

// Lays out the (hidden) map panel in its first state.
void principal_IniciarPainelMapas(ST_Janela* pstJanela);
void principal_OnClickBotaoSelecionarMapa(ST_Janela* pstJanela, int iNumMapa);
void principal_SelecionarParametroMapa(ST_Janela* pstJanela, int iNumMapa);
// "Desenhar Mapa" (1308).
void principal_DesenharMapa1(ST_Janela* pstJanela);
// "Converter e Desenhar Mapa" (1309).
void principal_CriarDesenharMapaTaxa(ST_Janela* pstJanela);
// "Comparação..." (1310): the comparison window, or why there is no comparison.
void principal_OnClickBotaoComparacao(ST_Janela* pstJanela);
// What the comparison window shows: the tables, the difference map on the adapter's two pictures
// (the viewer's extent), and the CSV it saves. FALSE (and the reason) without a finished comparison
// or when the file cannot be written.
std::string principal_TextoComparacao(ST_Janela* pstJanela);
BOOL principal_DesenharMapaDiferenca(ST_Janela* pstJanela, const ST_SuperficieDesenho* pstPainel,
                                     const ST_SuperficieDesenho* pstAmpliado);
BOOL principal_SalvarCsvComparacao(ST_Janela* pstJanela, const std::string& szArquivo, std::string* pszErro);
// Waits for every comparison worker (window teardown).
void principal_EncerrarComparacao(ST_Janela* pstJanela);
// The map 2 conversion's result notice: the set it wrote becomes map 2.
void principal_GuardarResultadoMapa2(ST_Janela* pstJanela, const ST_DetalhesConversao& stDetalhes);
// The map 2 conversion has ended: draw map 2 and show the pane.
void principal_FinalizarMapa2(ST_Janela* pstJanela);
// What the window paints in map mode: the pane picture of map 1 and of map 2 at these corners
// (client pixels).
struct ST_ImpressaoMapas
{
    ST_PontoTela stCanto[2];
};
ST_ImpressaoMapas principal_ImprimirMapas(ST_Janela* pstJanela);
// Map (0 or 1) whose enlarged window a double click at client (x, y) opens; -1 for none.
int principal_MapaDuploClique(ST_Janela* pstJanela, int iX, int iY);
// Caption of the enlarged window of the map chosen by the last double click.
std::string principal_InitDialogVisualizacaoMapa(const ST_Janela* pstJanela);
