// The TaskData writer on arbitrary bytes, without validation first: the walks trust nothing, so hostile
// bytes must never make them read out of bounds, hang, crash or leave a partial zip behind.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "isoxml/taskData.h"

namespace
{
const std::filesystem::path& Pasta()
{
    static const std::filesystem::path pasta = [] {
        auto p = std::filesystem::temp_directory_path() / ("zavoro_fuzz_isoxml_" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return pasta;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pucDados, std::size_t tamanho)
{
    if (tamanho > (1u << 16))
        return 0;
    const std::string szEntrada = (Pasta() / "entrada.nvg").string();
    std::FILE* pf = std::fopen(szEntrada.c_str(), "wb");
    if (pf == nullptr)
        return 0;
    std::fwrite(pucDados, 1, tamanho, pf);
    std::fclose(pf);
    const std::string szSaida = (Pasta() / "saida.zip").string();
    std::filesystem::remove(szSaida);
    ST_ResultadoIsoxml st;
    const bool bOk = isoxml_ExportarSemValidar({szEntrada}, szSaida, {}, &st, false);
    // Either a whole zip or nothing, and a reason for nothing.
    if (bOk != std::filesystem::exists(szSaida) || (!bOk && st.szMotivo.empty()))
        __builtin_trap();
    return 0;
}
