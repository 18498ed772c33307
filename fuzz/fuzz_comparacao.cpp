// Recommendation sets from arbitrary bytes against a fixed job: the input is split into a .shp and a
// .dbf as for the viewer's readers (the first four bytes, little-endian, give the length of the .shp
// part); the zones are read around the first vertex's ground and compared with strips of coverage.
// Whatever the zones (crossing rings, overlaps, huge or empty ones), the figures stay within bounds.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "zavoro/analise.h"

namespace
{
namespace fs = std::filesystem;

const fs::path& Pasta()
{
    static const fs::path* pPasta = [] {
        auto* p = new fs::path(fs::temp_directory_path() / ("zavoro_fuzz_comparacao_" + std::to_string(::getpid())));
        fs::create_directories(*p);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(Pasta(), ec);
        });
        return p;
    }();
    return *pPasta;
}

bool Gravar(const fs::path& caminho, const std::uint8_t* puc, std::size_t n)
{
    std::FILE* pf = std::fopen(caminho.c_str(), "wb");
    if (pf == nullptr)
        return false;
    const bool bOk = n == 0 || std::fwrite(puc, 1, n, pf) == n;
    return std::fclose(pf) == 0 && bOk;
}

// A share or area that is NaN (no base) passes; otherwise it lies in [0, limit].
void Conferir(double d, double dLimite)
{
    if (!std::isnan(d) && (d < -1e-6 || d > dLimite))
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pucDados, std::size_t tamanho)
{
    if (tamanho < 4 || tamanho > (1u << 18))
        return 0;
    const std::uint32_t ulShp = static_cast<std::uint32_t>(pucDados[0] | pucDados[1] << 8 | pucDados[2] << 16 |
                                                           static_cast<std::uint32_t>(pucDados[3]) << 24);
    const std::size_t n = tamanho - 4;
    const std::size_t nShp = std::min<std::size_t>(ulShp, n);
    ST_ShpMapa stMapa;
    stMapa.szNomeArqMapaShp = (Pasta() / "rec.shp").string();
    stMapa.szNomeArqMapaDbf = shpFile_CaminhoDbf(stMapa.szNomeArqMapaShp);
    if (!Gravar(stMapa.szNomeArqMapaShp, pucDados + 4, nShp) ||
        !Gravar(stMapa.szNomeArqMapaDbf, pucDados + 4 + nShp, n - nShp))
        return 0;

    for (std::uint32_t uiParam = 0; uiParam < 2; uiParam++)
    {
        stMapa.uiParamSelecionado = uiParam;
        ComparacaoPlano p = analise_CriarComparacao();
        std::vector<std::string> vAvisos;
        std::string szErro;
        // The seeds lie around 51.93 W, 24.05 S.
        if (!analise_LerZonas(stMapa, -51.93, -24.05, p.get(), &vAvisos, &szErro))
        {
            if (szErro.empty())
                __builtin_trap(); // a refusal says why
            continue;
        }
        analise_AdicionarLimite(p.get(), {{-500, -500}, {-500, 500}, {500, 500}, {500, -500}});
        for (int i = 0; i < 20; i++)
        {
            const double dY = -400.0 + 40.0 * i;
            analise_AdicionarCobertura(p.get(), {{-600, dY - 15}, {-600, dY + 15}, {600, dY + 15}, {600, dY - 15}}, 100.0 + i);
        }
        ST_ResultadoComparacao r;
        analise_ConcluirComparacao(p.get(), ST_ShpLegenda{}, &r);
        for (const ST_FigurasZona& f : r.vZonas)
        {
            if (!(f.dAreaZona > 0.0))
                __builtin_trap(); // zones without an area are left out
            Conferir(f.dAreaCoberta, f.dAreaZona * (1 + 1e-6) + 1e-9);
            Conferir(analise_PercentualEstreito(f), 100.0 + 1e-6);
            Conferir(analise_PercentualLargo(f), 100.0 + 1e-6);
            if (analise_PercentualEstreito(f) > analise_PercentualLargo(f) + 1e-6)
                __builtin_trap(); // within 10 % is within 20 %
        }
        const ST_TotaisComparacao& t = r.stTotais;
        Conferir(t.dAreaCoberta, t.dSomaCobertura * (1 + 1e-9) + 1e-9);
        Conferir(t.dAreaFalhada, t.dAreaLimites + 1e-9);
    }
    return 0;
}
