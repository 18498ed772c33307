// The GIS export on arbitrary bytes, validated or not: its readers must stay inside the file, and a
// failure must leave nothing behind in the output folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "pastaFuzz.h"
#include "zavoro/exportacao.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pucDados, std::size_t tamanho)
{
    std::string szEntrada;
    if (!fuzz_GravarNavegacao(pucDados, tamanho, &szEntrada))
        return 0;

    // GeoPackage (SQLite), and KMZ (GDAL's KML writer and the archive built from its layer documents).
    for (int iFormato : {D_EXPORTACAO_FORMATO_GPKG, D_EXPORTACAO_FORMATO_KMZ})
    {
        const std::string szBase = (fuzz_Pasta() / "saida").string();
        if (!exportacao_ExportarArquivo(szEntrada.c_str(), szBase, iFormato))
            for (const std::string& szSaida : exportacao_NomesSaida(szBase, iFormato))
                if (std::filesystem::exists(szSaida))
                    std::abort(); // a failed export left an output behind
        std::error_code ec;
        for (const std::string& szSaida : exportacao_NomesSaida(szBase, iFormato))
            std::filesystem::remove(szSaida, ec);
    }
    // Nothing but the input may remain (no work folders, no temporaries).
    for (const auto& entrada : std::filesystem::directory_iterator(fuzz_Pasta()))
        if (entrada.path().filename() != "entrada.nvg")
            std::abort();
    return 0;
}
