// Recommendation sets from arbitrary bytes against a fixed job: the input is split into a .shp and a
// .dbf as for the viewer's readers (the first four bytes, little-endian, give the length of the .shp
// part); the zones are read around the first vertex's ground and compared with strips of coverage.
// Whatever the zones (crossing rings, overlaps, huge or empty ones), the figures stay within bounds.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "pastaFuzz.h"
#include "zavoro/analise.h"

namespace
{

// A share or area that is NaN (no base) passes; otherwise it lies in [0, limit].
void Conferir(double d, double dLimite)
{
    if (!std::isnan(d) && (d < -1e-6 || d > dLimite))
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pucDados, std::size_t tamanho)
{
    ST_ShpMapa stMapa;
    if (!fuzz_GravarConjuntoShp(pucDados, tamanho, 1u << 18, &stMapa))
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
