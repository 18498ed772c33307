// Subcommands of the zavoro command and what they share.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "zavoro/conversor.h"

inline constexpr int D_CLI_SAIDA_OK = 0;
inline constexpr int D_CLI_SAIDA_FALHA = 1;
inline constexpr int D_CLI_SAIDA_USO = 2;

// Ends the command on SIGINT, SIGTERM or SIGHUP with exit code 128 + the signal after removing its
// temporary files. Call before any thread starts.
void cli_TratarSinais();
// What each program of the command does first: allocation failures told on stderr, then
// cli_TratarSinais.
void cli_IniciarProcesso();

// Prints a command-line error with a pointer to the help; returns D_CLI_SAIDA_USO.
int cli_ErroUso(const std::string& szMensagem);

// What cli_LerArgumentos returns when the subcommand runs on; any other value is the exit status to
// end with (help shown: D_CLI_SAIDA_OK; a wrong line: D_CLI_SAIDA_USO).
inline constexpr int D_CLI_CONTINUAR = -1;

// One option of a subcommand's table. An option that takes a value accepts "--nome VALOR" and
// "--nome=VALOR"; a one-letter one also "-jVALOR". An empty value counts as a missing one.
struct ST_OpcaoCli
{
    std::string_view szNome;  // "--png", "-j"
    const char* pcValor;      // what the value is ("um número"), for the message when it is missing;
                              // nullptr for a switch, which takes none
    // Stores the value where the subcommand wants it. Returns why the value is refused, or "".
    std::function<std::string(const std::string& szValor)> pfAplicar;
};

// How a subcommand shows its results, chosen by the options every subcommand that works file by file
// shares: --saida PASTA (only where it writes), --json, -q/--quiet. Progress goes to stderr only when
// it is a terminal.
struct ST_SaidaCli
{
    bool bGrava = true;         // the subcommand writes outputs: --saida is offered
    std::string szPasta;        // --saida: where the outputs go ("" = beside each input)
    bool bJson = false;         // --json: one JSON object per file on stdout, nothing else there
    bool bSilencioso = false;   // -q: nothing on stdout; failures still told on stderr
    bool bProgresso = false;    // set by cli_LerArgumentos: stderr is a terminal and -q/--json not given
};

// Reads a subcommand's arguments against its option table; what is not an option is an operand, kept
// in order. "--" ends the options, "-" alone is an operand. "--help" or "-h" prints szAjuda (the
// subcommand's usage and options; the shared output options are described after it when pstSaida is
// given) and ends with D_CLI_SAIDA_OK. With pstSaida the shared output options are read into it and
// --saida must name an existing folder. Returns D_CLI_CONTINUAR, or the exit status after reporting
// an unknown option, a missing or refused value, or a wrong output folder.
int cli_LerArgumentos(const std::vector<std::string>& vArgumentos, std::string_view szAjuda,
                      std::span<const ST_OpcaoCli> vOpcoes, std::vector<std::string>* pvOperandos,
                      ST_SaidaCli* pstSaida = nullptr);

// A text value into *pszDestino.
ST_OpcaoCli cli_OpcaoTexto(std::string_view szNome, std::string* pszDestino);
// A switch that sets *piDestino to iValor.
ST_OpcaoCli cli_OpcaoChave(std::string_view szNome, int* piDestino, int iValor);
// "-j N", conversions at a time (1 to 256).
ST_OpcaoCli cli_OpcaoTrabalhos(int* piTrabalhos);
// Conversions at a time without "-j": the number of cores.
int cli_TrabalhosPadrao();

// Where an output named szCaminho goes under --saida: the same file name in the output folder.
std::string cli_CaminhoNaPasta(const ST_SaidaCli& stSaida, const std::string& szCaminho);

// One file's result as every mode shows it.
struct ST_ResultadoCli
{
    std::string szEntrada;
    bool bOk = false;
    std::vector<std::string> vSaidas; // outputs written
    std::string szMotivo;             // why it failed (empty on success)
    std::string szTexto;              // the subcommand's own lines for stdout in the plain mode
    bool bTextoTemMotivo = false;     // those lines already say why it failed
};
// Shows one file's result: the plain lines, nothing (-q) or a JSON object (--json) on stdout; a
// failure's reason on stderr, unless the plain lines shown already say it.
void cli_MostrarResultado(const ST_SaidaCli& stSaida, const ST_ResultadoCli& stResultado);
// The JSON line of a result (invalid UTF-8 in names replaced, control characters escaped).
std::string cli_ResultadoJson(const ST_ResultadoCli& stResultado);

// The progress line of a batch on stderr: the file awaited (results are shown in file order), the
// share done (by bytes of the files finished) and an estimate of the time left, rewritten in place
// with '\r'. Inactive unless the output options ask for it; used from one thread.
struct ST_ProgressoCli
{
    bool bAtivo = false;
    std::vector<std::uintmax_t> vTamanhos;
    std::vector<std::string> vNomes;
    std::uintmax_t ulTotal = 0, ulFeito = 0;
    std::size_t iConcluidos = 0;
    std::size_t iLarguraDesenhada = 0;
    std::chrono::steady_clock::time_point inicio;
    std::chrono::steady_clock::duration decorridoUltimoConcluido{}; // when the share last moved
};
void cli_IniciarProgresso(ST_ProgressoCli* pst, const ST_SaidaCli& stSaida, const std::vector<std::string>& vArquivos);
// Redraws the line (the clock moves on).
void cli_DesenharProgresso(ST_ProgressoCli* pst);
// Erases the line, before a result is printed or at the end.
void cli_ApagarProgresso(ST_ProgressoCli* pst);
// Waits (trava held on pronto's mutex) until fnPronto holds, redrawing the line meanwhile.
void cli_AguardarComProgresso(ST_ProgressoCli* pst, std::unique_lock<std::mutex>& trava,
                              std::condition_variable& pronto, const std::function<bool()>& fnPronto);
// Shows the next file's result in order (the line erased first) and counts the file as done.
void cli_MostrarResultadoLote(ST_ProgressoCli* pst, const ST_SaidaCli& stSaida, const ST_ResultadoCli& stResultado);
// The line itself, for a width of iColunas: "[3/10] 42% campo.nvg - faltam cerca de 1 min 20 s".
std::string cli_LinhaProgresso(const ST_ProgressoCli& st, std::chrono::steady_clock::duration decorrido,
                               std::size_t iColunas);

// Files of the targets: files as given, folders searched for navigation files. False when a search
// reported a problem (told on stderr); the files found are kept.
bool cli_ExpandirAlvos(const std::vector<std::string>& vAlvos, std::vector<std::string>& vArquivos);
// Converts the files, iTrabalhos at a time, showing each result in file order as stSaida asks (with
// the paths written); the outputs go to stSaida's folder when it names one. Map jobs class by the
// given legend. pvResultados (when given) receives each file's result record, in file order.
int cli_ConverterArquivos(const std::vector<std::string>& vArquivos, int iTipoConversao, int iTrabalhos,
                          const ST_SaidaCli& stSaida, const ST_ParametrosMapa* pstParametros = nullptr,
                          std::vector<ST_DetalhesConversao>* pvResultados = nullptr);

// After a map run's result blocks: each converted file's coverage applied, covered, covered twice and
// skipped inside its boundaries.
void cli_ImprimirSobreposicao(const std::vector<std::string>& vArquivos, const std::vector<ST_DetalhesConversao>& vResultados);

int cli_Validar(const std::vector<std::string>& vArgumentos);
int cli_Relatorio(const std::vector<std::string>& vArgumentos);
int cli_Procurar(const std::vector<std::string>& vArgumentos);
int cli_Mapa(const std::vector<std::string>& vArgumentos);
int cli_Isoxml(const std::vector<std::string>& vArgumentos);
// The subcommands run by the programs beside zavoro. In zavoro they hand the run over
// (programasAuxiliares.cpp): the drawing ones to zavoro-desenho, which links Qt and runs them
// (source/cliDesenho); the export to zavoro-exportacao, which links GDAL (source/cliExportacao).
int cli_Exportar(const std::vector<std::string>& vArgumentos);
int cli_Desenhar(const std::vector<std::string>& vArgumentos);
int cli_Recomendacao(const std::vector<std::string>& vArgumentos);
int cli_Comparar(const std::vector<std::string>& vArgumentos);
// Runs "PROGRAMA COMANDO ARGS..." from this program's folder and waits for it; its exit status.
int cli_ExecutarAuxiliar(const char* pcPrograma, const char* pcComando, const std::vector<std::string>& vArgumentos);
// zavoro-desenho's part of cli_ImprimirSobreposicao: one line per file.
int cli_Sobreposicao(const std::vector<std::string>& vArquivos);
