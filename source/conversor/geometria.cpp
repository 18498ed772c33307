#include "conversor/geometria.h"

#include <cmath>

#include "zavoro/zavoro.h"

void conversor_TransformarCoordenadasAbsolutas(double dLatRel, double dLonRel, double* pdLatAbs, double* pdLonAbs,
                                               double dLatZeroAbs, double dLonZeroAbs)
{
    *pdLatAbs = dLatRel / D_CONVERSOR_METROS_POR_GRAU + dLatZeroAbs;
    *pdLonAbs = dLonRel / (D_CONVERSOR_METROS_POR_GRAU * std::cos(*pdLatAbs * D_ZAVORO_RELACAO_PI_180)) + dLonZeroAbs;
}
