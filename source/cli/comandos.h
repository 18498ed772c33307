// Subcommands of the zavoro command and what they share.
#pragma once

#include <string>
#include <vector>

inline constexpr int D_CLI_SAIDA_OK = 0;
inline constexpr int D_CLI_SAIDA_FALHA = 1;
inline constexpr int D_CLI_SAIDA_USO = 2;
inline constexpr const char* D_CLI_VERSAO = "03.02";

// Prints a command-line error with a pointer to the help; returns D_CLI_SAIDA_USO.
int cli_ErroUso(const std::string& szMensagem);

// Splits arguments into operands, refusing unknown options; "--" ends the options.
// Returns false (after reporting) when an option is not known.
bool cli_SepararOperandos(const std::vector<std::string>& vArgumentos, std::vector<std::string>& vOperandos);

int cli_Validar(const std::vector<std::string>& vArgumentos);
