#include "conversor/relatorioTexto.h"

#include <charconv>
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
    return pFim != nullptr ? static_cast<std::size_t>(static_cast<const char*>(pFim) - pcCampo) : D_ZAVORO_TAMANHO_STRING;
}

void conversor_AnexarCampo(std::string& szBufRelatorio, const char* pcCampo)
{
    szBufRelatorio.append(pcCampo, conversor_TamanhoCampo(pcCampo));
}

void conversor_AnexarInteiro(std::string& szBufRelatorio, std::int32_t iValor)
{
    char cBuf[16];
    szBufRelatorio.append(cBuf, std::to_chars(cBuf, cBuf + sizeof cBuf, iValor).ptr);
}

void conversor_AnexarReal(std::string& szBufRelatorio, double dValor, int iCasas, BOOL bVirgula)
{
    char cBuf[512];
    std::string szNumero(cBuf, std::to_chars(cBuf, cBuf + sizeof cBuf, dValor, std::chars_format::fixed, iCasas).ptr);
    if (bVirgula)
        funcAux_SubstituirPontoPorVirgula(szNumero);
    szBufRelatorio += szNumero;
}

void conversor_AnexarCodigo(std::string& szBufRelatorio, void (*pfTexto)(unsigned char, char*), unsigned char ucCodigo)
{
    char cTexto[D_ZAVORO_TAMANHO_STRING_CODIGO];
    pfTexto(ucCodigo, cTexto);
    conversor_AnexarTexto(szBufRelatorio, cTexto);
}

void conversor_AnexarData(std::string& szBufRelatorio, std::uint32_t ulDataHora)
{
    char cData[D_ZAVORO_TAMANHO_STRING_DATA_HORA];
    zavoro_RetornarStringDataHora(ulDataHora, cData);
    conversor_AnexarTexto(szBufRelatorio, cData);
}

void conversor_AnexarDuracao(std::string& szBufRelatorio, std::uint32_t ulSegundos)
{
    char cDuracao[D_ZAVORO_TAMANHO_STRING_DURACAO];
    zavoro_RetornarStringHoraMinutoSegundo(ulSegundos, cDuracao);
    conversor_AnexarTexto(szBufRelatorio, cDuracao);
}

void conversor_GravarLinha(std::FILE* pfArquivoEscrita, std::string& szBufRelatorio)
{
    std::fwrite(szBufRelatorio.data(), 1, szBufRelatorio.size(), pfArquivoEscrita);
    szBufRelatorio.clear();
}

void conversor_GravarTexto(std::FILE* pfArquivoEscrita, std::string_view szUtf8)
{
    std::string szBufRelatorio;
    conversor_AnexarTexto(szBufRelatorio, szUtf8);
    conversor_GravarLinha(pfArquivoEscrita, szBufRelatorio);
}
