// The KML map driver. Maps are not written by this version yet: every map job fails with a reason
// the user can read, rather than pretending to succeed.
#include "zavoro/conversor.h"

BOOL conversor_CriarMapaNavegacao(const char*, const char*, int, const ST_ParametrosMapa*, int*, std::string* pszErro)
{
    if (pszErro != nullptr)
        *pszErro = "a geração de mapas KML ainda não está disponível nesta versão";
    return FALSE;
}
