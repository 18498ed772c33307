// Number texts of the analysis module, independent of the process locale.
#pragma once

#include <string>

// d with iCasas decimals and cSeparador before them ("-" for NaN).
std::string analise_Numero(double d, int iCasas, char cSeparador);
