#include "conversor/relatorioTexto.h"

#include <cstring>

#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

void conversor_AnexarTexto(std::string& szBufRelatorio, std::string_view szUtf8)
{
    szBufRelatorio += funcAux_Utf8ParaCp1252(szUtf8);
}

std::size_t conversor_TamanhoCampo(const char* pcCampo)
{
    const void* pFim = std::memchr(pcCampo, 0, D_ZAVORO_TAMANHO_STRING);
    return pFim != nullptr ? static_cast<std::size_t>(static_cast<const char*>(pFim) - pcCampo)
                           : D_ZAVORO_TAMANHO_STRING;
}

void conversor_AnexarCampo(std::string& szBufRelatorio, const char* pcCampo)
{
    szBufRelatorio.append(pcCampo, conversor_TamanhoCampo(pcCampo));
}

void conversor_AnexarCodigoCp1252(std::string& szBufRelatorio, void (*pfTexto)(unsigned char, char*),
                                  unsigned char ucCodigo)
{
    std::string szCodigo;
    conversor_AnexarCodigo(szCodigo, pfTexto, ucCodigo);
    conversor_AnexarTexto(szBufRelatorio, szCodigo);
}

void conversor_GravarTexto(std::FILE* pfArquivoEscrita, std::string_view szUtf8)
{
    std::string szBufRelatorio;
    conversor_AnexarTexto(szBufRelatorio, szUtf8);
    conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);
}
