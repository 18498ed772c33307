// The TaskData writer on arbitrary bytes, without validation first: the walks trust nothing, so hostile
// bytes must never make them read out of bounds, hang, crash or leave a partial zip behind.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "isoxml/taskData.h"
#include "pastaFuzz.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pucDados, std::size_t tamanho)
{
    std::string szEntrada;
    if (!fuzz_GravarNavegacao(pucDados, tamanho, &szEntrada))
        return 0;
    const std::string szSaida = (fuzz_Pasta() / "saida.zip").string();
    std::filesystem::remove(szSaida);
    ST_ResultadoIsoxml st;
    const bool bOk = isoxml_ExportarSemValidar({szEntrada}, szSaida, {}, &st, false);
    // Either a whole zip or nothing, and a reason for nothing.
    if (bOk != std::filesystem::exists(szSaida) || (!bOk && st.szMotivo.empty()))
        __builtin_trap();
    return 0;
}
