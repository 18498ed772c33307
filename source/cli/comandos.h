// Subcommands of the zavoro command and what they share.
#pragma once

#include <string>
#include <vector>

#include "zavoro/conversor.h"

inline constexpr int D_CLI_SAIDA_OK = 0;
inline constexpr int D_CLI_SAIDA_FALHA = 1;
inline constexpr int D_CLI_SAIDA_USO = 2;

// Prints a command-line error with a pointer to the help; returns D_CLI_SAIDA_USO.
int cli_ErroUso(const std::string& szMensagem);

// Splits arguments into operands, refusing unknown options; "--" ends the options.
// Returns false (after reporting) when an option is not known.
bool cli_SepararOperandos(const std::vector<std::string>& vArgumentos, std::vector<std::string>& vOperandos);

// Takes "-j N" / "-jN" out of the arguments (default: the number of cores); "--" and what follows pass
// through untouched. Returns false (after reporting) on a bad value.
bool cli_LerOpcaoTrabalhos(const std::vector<std::string>& vArgumentos, std::vector<std::string>& vResto,
                           int* piTrabalhos);
// Files of the targets: files as given, folders searched for navigation files. False when a search
// reported a problem (told on stderr); the files found are kept.
bool cli_ExpandirAlvos(const std::vector<std::string>& vAlvos, std::vector<std::string>& vArquivos);
// Converts the files, iTrabalhos at a time, printing each result block in file order. Map jobs class
// by the given legend. pvResultados (when given) receives each file's result record, in file order.
int cli_ConverterArquivos(const std::vector<std::string>& vArquivos, int iTipoConversao, int iTrabalhos,
                          const ST_ParametrosMapa* pstParametros = nullptr,
                          std::vector<ST_DetalhesConversao>* pvResultados = nullptr);

int cli_Validar(const std::vector<std::string>& vArgumentos);
int cli_Relatorio(const std::vector<std::string>& vArgumentos);
int cli_Procurar(const std::vector<std::string>& vArgumentos);
int cli_Mapa(const std::vector<std::string>& vArgumentos);
int cli_Desenhar(const std::vector<std::string>& vArgumentos);
int cli_Recomendacao(const std::vector<std::string>& vArgumentos);
