// Subcommands of the zavoro command and what they share.
#pragma once

#include <functional>
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

// A text value into *pszDestino.
ST_OpcaoCli cli_OpcaoTexto(std::string_view szNome, std::string* pszDestino);
// A switch that sets *piDestino to iValor.
ST_OpcaoCli cli_OpcaoChave(std::string_view szNome, int* piDestino, int iValor);
// "-j N", conversions at a time (1 to 256).
ST_OpcaoCli cli_OpcaoTrabalhos(int* piTrabalhos);
// Conversions at a time without "-j": the number of cores.
int cli_TrabalhosPadrao();

// Reads a subcommand's arguments against its option table; what is not an option is an operand, kept
// in order. "--" ends the options, "-" alone is an operand. False (after reporting) on an unknown
// option or a missing or refused value.
bool cli_LerArgumentos(const std::vector<std::string>& vArgumentos, std::span<const ST_OpcaoCli> vOpcoes,
                       std::vector<std::string>* pvOperandos);

// Files of the targets: files as given, folders searched for navigation files. False when a search
// reported a problem (told on stderr); the files found are kept.
bool cli_ExpandirAlvos(const std::vector<std::string>& vAlvos, std::vector<std::string>& vArquivos);
// Converts the files, iTrabalhos at a time, printing each result block in file order. Map jobs class
// by the given legend. pvResultados (when given) receives each file's result record, in file order.
int cli_ConverterArquivos(const std::vector<std::string>& vArquivos, int iTipoConversao, int iTrabalhos,
                          const ST_ParametrosMapa* pstParametros = nullptr,
                          std::vector<ST_DetalhesConversao>* pvResultados = nullptr);

// After a map run's result blocks: each converted file's coverage applied, covered, covered twice and
// skipped inside its boundaries.
void cli_ImprimirSobreposicao(const std::vector<std::string>& vArquivos, const std::vector<ST_DetalhesConversao>& vResultados);

int cli_Validar(const std::vector<std::string>& vArgumentos);
int cli_Relatorio(const std::vector<std::string>& vArgumentos);
int cli_Procurar(const std::vector<std::string>& vArgumentos);
int cli_Mapa(const std::vector<std::string>& vArgumentos);
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
