// How each file's result reaches the user or a script: the subcommand's own lines, nothing (-q) or
// one JSON object per line (--json); a failure's reason always on stderr.
#include <cstdio>

#include <nlohmann/json.hpp>

#include "cli/comandos.h"
#include "zavoro/funcoesAuxiliares.h"

std::string cli_ResultadoJson(const ST_ResultadoCli& stResultado)
{
    nlohmann::ordered_json json;
    json["entrada"] = stResultado.szEntrada;
    json["status"] = stResultado.bOk ? "ok" : "erro";
    json["saidas"] = stResultado.vSaidas;
    json["motivo"] = stResultado.bOk ? nlohmann::ordered_json() : nlohmann::ordered_json(stResultado.szMotivo);
    // File names are bytes: what is not UTF-8 becomes U+FFFD rather than an invalid line.
    return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

void cli_MostrarResultado(const ST_SaidaCli& stSaida, const ST_ResultadoCli& stResultado)
{
    if (stSaida.bJson)
        std::printf("%s\n", cli_ResultadoJson(stResultado).c_str());
    else if (!stSaida.bSilencioso)
        std::fputs(stResultado.szTexto.c_str(), stdout);
    std::fflush(stdout);
    const bool bMotivoMostrado = !stSaida.bJson && !stSaida.bSilencioso && stResultado.bTextoTemMotivo;
    if (!stResultado.bOk && !stResultado.szMotivo.empty() && !bMotivoMostrado)
        std::fprintf(stderr, "zavoro: %s: %s\n", funcAux_EscaparControles(stResultado.szEntrada).c_str(),
                     funcAux_EscaparControles(stResultado.szMotivo).c_str());
}
