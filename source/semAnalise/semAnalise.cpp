// The comparison's face in a build without GEOS (the Windows build): the window logic links the same
// calls, and each says the comparison is not part of this installation.
#include "zavoro/analise.h"

namespace
{
constexpr const char* kAusente = "a comparação com a recomendação não faz parte desta instalação (sem a biblioteca GEOS)";
} // namespace

bool analise_Disponivel()
{
    return false;
}

BOOL analise_CompararArquivos(const char*, const ST_ShpMapa&, ST_ResultadoComparacao*, std::string* pszErro)
{
    if (pszErro != nullptr)
        *pszErro = kAusente;
    return FALSE;
}

std::string analise_TextoComparacao(const ST_ResultadoComparacao&)
{
    return std::string();
}

BOOL analise_GravarCsvComparacao(const std::string&, const ST_ResultadoComparacao&, std::string* pszErro)
{
    if (pszErro != nullptr)
        *pszErro = kAusente;
    return FALSE;
}

BOOL analise_DesenharMapaDiferenca(const ST_VisualizadorMapas*, const std::string&, const ST_ResultadoComparacao&,
                                   const ST_SuperficieDesenho*, const ST_SuperficieDesenho*)
{
    return FALSE;
}
