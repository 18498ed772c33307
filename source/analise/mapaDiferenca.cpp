// The difference map: each zone of the recommendation coloured by applied minus prescribed.
#include <algorithm>
#include <cmath>
#include <string>

#include "zavoro/analise.h"

namespace
{
constexpr int kClasseZero = D_ANALISE_CLASSES_DIFERENCA / 2; // the class starting at zero
constexpr int kPassosMaximos = kClasseZero - 1;              // the last class starts here

double Diferenca(const ST_FigurasZona& f)
{
    return analise_ValorAplicado(f) - f.dPrescrito;
}

struct ST_ContextoCores
{
    const ST_ResultadoComparacao* pst;
    double dPasso;
};

std::uint32_t CorRegistro(void* pContexto, std::uint32_t ulRegistro)
{
    const auto& c = *static_cast<const ST_ContextoCores*>(pContexto);
    const std::vector<ST_FigurasZona>& v = c.pst->vZonas;
    const auto it = std::lower_bound(v.begin(), v.end(), ulRegistro,
                                     [](const ST_FigurasZona& f, std::uint32_t ul) { return f.ulRegistro < ul; });
    if (it == v.end() || it->ulRegistro != ulRegistro)
        return D_SHPFILE_RGB_COR_MAPA_CINZA; // no zone (no area, no value)
    const double d = Diferenca(*it);
    if (!std::isfinite(d))
        return D_SHPFILE_RGB_COR_VALOR_ZERO; // never covered
    return D_ANALISE_CORES_DIFERENCA[analise_ClasseDiferenca(d, c.dPasso)];
}
} // namespace

double analise_PassoDiferenca(const ST_ResultadoComparacao& st)
{
    double dMaior = 0.0;
    for (const ST_FigurasZona& f : st.vZonas)
        if (std::isfinite(Diferenca(f)))
            dMaior = std::max(dMaior, std::fabs(Diferenca(f)));
    if (dMaior <= 0.0)
        return 1.0;
    const double dMinimo = dMaior / kPassosMaximos;
    const double dPotencia = std::pow(10.0, std::floor(std::log10(dMinimo)));
    for (double dFator : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (dFator * dPotencia >= dMinimo * (1.0 - 1e-12))
            return dFator * dPotencia;
    return 10.0 * dPotencia;
}

int analise_ClasseDiferenca(double dDiferenca, double dPasso)
{
    // A mean that lands a rounding error below a class border (149.9999... for 150) is on the border.
    const double dClasse = std::floor(dDiferenca / dPasso + 1e-9) + kClasseZero;
    return static_cast<int>(std::clamp(dClasse, 0.0, static_cast<double>(D_ANALISE_CLASSES_DIFERENCA - 1)));
}

BOOL analise_DesenharMapaDiferenca(const ST_VisualizadorMapas* pstVisualizador, const std::string& szShp,
                                   const ST_ResultadoComparacao& st, const ST_SuperficieDesenho* pstPainel,
                                   const ST_SuperficieDesenho* pstAmpliado)
{
    ST_ContextoCores stContexto{&st, analise_PassoDiferenca(st)};
    // Each box is labelled with where it starts; the first has no start.
    const int iCasas = stContexto.dPasso == std::floor(stContexto.dPasso) ? 0 : 1;
    std::string szRotulos[D_ANALISE_CLASSES_DIFERENCA];
    for (int i = 1; i < D_ANALISE_CLASSES_DIFERENCA; i++)
        szRotulos[i] = analise_Numero((i - kClasseZero) * stContexto.dPasso, iCasas, ',');
    ST_CoresMapa stCores;
    stCores.pContexto = &stContexto;
    stCores.pfCor = CorRegistro;
    stCores.pulCoresLegenda = D_ANALISE_CORES_DIFERENCA;
    stCores.pszRotulos = szRotulos;
    stCores.iLinhas = D_ANALISE_CLASSES_DIFERENCA;
    return shpFile_DesenharMapaCores(pstVisualizador, szShp, stCores, pstPainel, pstAmpliado);
}
