// Recommendation sets from arbitrary bytes against a fixed job: the input is split into a .shp and a
// .dbf as for the viewer's readers (the first four bytes, little-endian, give the length of the .shp
// part); the zones are read around the first vertex's ground and compared with strips of coverage.
// Whatever the zones (crossing rings, overlaps, huge or empty ones), the figures stay within bounds.
// The same bytes are also read as coverage rings (crossing, spiked, repeated, spread over many cells)
// against a fixed zone and boundary: the union never exceeds the coverage it was made of.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Coverage rings from the bytes: a point count, then that many points of two signed 16-bit
// coordinates in centimetres (a few cells across); up to 64 rings.
void ConferirCobertura(const std::uint8_t* pucDados, std::size_t tamanho)
{
    ComparacaoPlano p = analise_CriarComparacao();
    analise_AdicionarZona(p.get(), 1, {{{-150, -150}, {150, -150}, {150, 150}, {-150, 150}}}, 100.0);
    analise_AdicionarLimite(p.get(), {{-400, -400}, {400, -400}, {400, 0}, {-400, 0}});
    double dPerimetro = 0.0; // m: what snapping a failed overlay to its grid may add
    AnelPlano v;
    std::size_t i = 0;
    for (int iAneis = 0; i < tamanho && iAneis < 64; iAneis++)
    {
        const std::size_t ulPontos = pucDados[i++] % 32;
        v.clear();
        for (std::size_t k = 0; k < ulPontos && i + 4 <= tamanho; k++, i += 4)
        {
            std::int16_t sX = 0, sY = 0;
            std::memcpy(&sX, pucDados + i, 2);
            std::memcpy(&sY, pucDados + i + 2, 2);
            v.push_back({sX / 100.0, sY / 100.0});
        }
        for (std::size_t k = 0; k < v.size(); k++)
            dPerimetro += std::hypot(v[k].dX - v[(k + 1) % v.size()].dX, v[k].dY - v[(k + 1) % v.size()].dY);
        analise_AdicionarCobertura(p.get(), v, 100.0);
    }
    ST_ResultadoComparacao r;
    analise_ConcluirComparacao(p.get(), ST_ShpLegenda{}, &r);
    const ST_TotaisComparacao& t = r.stTotais;
    const double dFolga = dPerimetro * 0.002 / 10000.0 + 1e-9;
    Conferir(t.dAreaCoberta, t.dSomaCobertura * (1 + 1e-9) + dFolga);
    Conferir(t.dAreaFalhada, t.dAreaLimites + 1e-9);
    Conferir(t.dAreaForaLimites, t.dAreaCoberta + 1e-9);
    Conferir(r.vZonas[0].dAreaCoberta, r.vZonas[0].dAreaZona * (1 + 1e-9));
    Conferir(r.vZonas[0].dAreaAplicada, t.dSomaCobertura * (1 + 1e-9) + dFolga);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pucDados, std::size_t tamanho)
{
    ConferirCobertura(pucDados, tamanho);
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
