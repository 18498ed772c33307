#include "conversor/textoSaida.h"

#include <charconv>

#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

namespace
{
template <typename T>
void AnexarNumero(std::string& szTexto, T valor)
{
    char cBuf[24];
    szTexto.append(cBuf, std::to_chars(cBuf, cBuf + sizeof cBuf, valor).ptr);
}

// Fixed notation; any double with the few decimals asked for fits (309 digits at most before the point).
std::string TextoFixo(double dValor, int iCasas)
{
    char cBuf[512];
    return std::string(cBuf,
                       std::to_chars(cBuf, cBuf + sizeof cBuf, dValor, std::chars_format::fixed, iCasas).ptr);
}
} // namespace

void conversor_AnexarInteiro(std::string& szTexto, std::int32_t iValor)
{
    AnexarNumero(szTexto, iValor);
}

void conversor_AnexarNatural(std::string& szTexto, std::uint32_t ulValor)
{
    AnexarNumero(szTexto, ulValor);
}

void conversor_AnexarReal(std::string& szTexto, double dValor, int iCasas, BOOL bVirgula)
{
    std::string szNumero = TextoFixo(dValor, iCasas);
    if (bVirgula)
        funcAux_SubstituirPontoPorVirgula(szNumero);
    szTexto += szNumero;
}

void conversor_AnexarData(std::string& szTexto, std::uint32_t ulDataHora)
{
    char cData[D_ZAVORO_TAMANHO_STRING_DATA_HORA];
    zavoro_RetornarStringDataHora(ulDataHora, cData);
    szTexto += cData;
}

void conversor_AnexarDuracao(std::string& szTexto, std::uint32_t ulSegundos)
{
    char cDuracao[D_ZAVORO_TAMANHO_STRING_DURACAO];
    zavoro_RetornarStringHoraMinutoSegundo(ulSegundos, cDuracao);
    szTexto += cDuracao;
}

void conversor_AnexarCodigo(std::string& szTexto, void (*pfTexto)(unsigned char, char*),
                            unsigned char ucCodigo)
{
    char cTexto[D_ZAVORO_TAMANHO_STRING_CODIGO];
    pfTexto(ucCodigo, cTexto);
    szTexto += cTexto;
}

void conversor_AnexarCoordenadaKml(std::string& szTexto, double dLongitude, double dLatitude, int iAltitude)
{
    szTexto += TextoFixo(dLongitude, D_CONVERSOR_CASAS_COORDENADA_KML);
    szTexto += ',';
    szTexto += TextoFixo(dLatitude, D_CONVERSOR_CASAS_COORDENADA_KML);
    szTexto += ',';
    AnexarNumero(szTexto, iAltitude);
    szTexto += '\n';
}

void conversor_GravarLinha(std::FILE* pfArquivoEscrita, std::string& szTexto)
{
    std::fwrite(szTexto.data(), 1, szTexto.size(), pfArquivoEscrita);
    szTexto.clear();
}
