// Date, duration, distance and code-to-text helpers for the report and the map descriptions.
#include "zavoro/zavoro.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace
{

constexpr std::uint32_t D_ZAVORO_SEGUNDOS_DIA = 86400;

// iDigitos decimal digits of ulValor, most significant first; returns the end of the text.
char* EscreverDigitos(char* pcDestino, std::uint32_t ulValor, int iDigitos)
{
    std::uint32_t ulPotencia = 1;
    for (int k = 1; k < iDigitos; ++k)
    {
        ulPotencia *= 10;
    }
    for (int k = 0; k < iDigitos; ++k)
    {
        *pcDestino++ = static_cast<char>('0' + (ulValor / ulPotencia) % 10);
        ulPotencia /= 10;
    }
    return pcDestino;
}

char* EscreverTexto(char* pcDestino, const char* pcTexto)
{
    const std::size_t iTamanho = std::strlen(pcTexto);
    std::memcpy(pcDestino, pcTexto, iTamanho);
    return pcDestino + iTamanho;
}

void CopiarTexto(char* pcDestino, const char* pcTexto)
{
    *EscreverTexto(pcDestino, pcTexto) = '\0';
}

constexpr const char* kTextoDesconhecido = "Desconhecido";

// Code texts are indexed by the stored byte; anything past the table is unknown.
template <std::size_t N>
void CopiarTextoCodigo(const char* const (&pcTabela)[N], unsigned char ucCodigo, char* pcString)
{
    CopiarTexto(pcString, ucCodigo < N ? pcTabela[ucCodigo] : kTextoDesconhecido);
}

} // namespace

void zavoro_CalcularDataHoraSegundos(unsigned int ulSegundosDataHora, long int* plDia, long int* plMes,
                                     long int* plAno, long int* plHora, long int* plMinuto,
                                     long int* plSegundo)
{
    // Unsigned 32-bit throughout, as the console computes it. Every year divisible by 4 is leap,
    // and the day count is a 1-based ordinal (a stamp in the first day gives day 0 of January).
    std::uint32_t ulDias = ulSegundosDataHora / D_ZAVORO_SEGUNDOS_DIA;
    std::uint32_t ulResto = ulSegundosDataHora % D_ZAVORO_SEGUNDOS_DIA;
    const std::uint32_t ulHora = ulResto / 3600;
    ulResto -= 3600 * ulHora;
    const std::uint32_t ulMinuto = ulResto / 60;
    const std::uint32_t ulSegundo = ulResto - 60 * ulMinuto;

    std::uint32_t ulAno = 0;
    while (ulDias > 366)
    {
        ulDias -= (ulAno % 4 == 0) ? 366 : 365;
        ulAno += 1;
    }
    if (ulAno % 4 != 0 && ulDias == 366)
    {
        ulDias -= 365;
        ulAno += 1;
    }

    std::uint32_t ulMes = 1;
    if (ulDias > 31)
    {
        ulDias -= 31;
        ulMes += 1;
    }
    const std::uint32_t ulDiasFevereiro = (ulAno % 4 == 0) ? 29 : 28;
    if (ulMes > 1 && ulDias > ulDiasFevereiro)
    {
        ulDias -= ulDiasFevereiro;
        ulMes += 1;
    }
    // March to November; each month only steps once the one before it has been passed.
    static constexpr std::uint32_t ulDiasMes[] = {31, 30, 31, 30, 31, 31, 30, 31, 30};
    for (std::uint32_t k = 0; k < sizeof ulDiasMes / sizeof ulDiasMes[0]; ++k)
    {
        if (ulMes > k + 2 && ulDias > ulDiasMes[k])
        {
            ulDias -= ulDiasMes[k];
            ulMes += 1;
        }
    }

    *plDia = static_cast<long int>(ulDias);
    *plMes = static_cast<long int>(ulMes);
    *plAno = static_cast<long int>(ulAno);
    *plHora = static_cast<long int>(ulHora);
    *plMinuto = static_cast<long int>(ulMinuto);
    *plSegundo = static_cast<long int>(ulSegundo);
}

void zavoro_RetornarStringDataHora(unsigned int ulDataHora, char* cStringDataHora)
{
    std::memset(cStringDataHora, 0, D_ZAVORO_TAMANHO_STRING_DATA_HORA);
    long int lDia = 0, lMes = 0, lAno = 0, lHora = 0, lMinuto = 0, lSegundo = 0;
    zavoro_CalcularDataHoraSegundos(ulDataHora, &lDia, &lMes, &lAno, &lHora, &lMinuto, &lSegundo);
    lAno += 2000;

    char* pc = cStringDataHora;
    pc = EscreverDigitos(pc, static_cast<std::uint32_t>(lDia), 2);
    *pc++ = '/';
    pc = EscreverDigitos(pc, static_cast<std::uint32_t>(lMes), 2);
    *pc++ = '/';
    pc = EscreverDigitos(pc, static_cast<std::uint32_t>(lAno), 4);
    pc = EscreverTexto(pc, " - ");
    pc = EscreverDigitos(pc, static_cast<std::uint32_t>(lHora), 2);
    *pc++ = ':';
    pc = EscreverDigitos(pc, static_cast<std::uint32_t>(lMinuto), 2);
    *pc = '\0';
}

void zavoro_RetornarStringHoraMinutoSegundo(unsigned int ulHoraMinSeg, char* pcStringHoraMinSeg)
{
    std::uint32_t ulSegundos = ulHoraMinSeg;
    std::uint32_t ulDias = 0;
    // Exactly one day stays "24h00m00s"; only longer spans get a day count.
    if (ulSegundos > D_ZAVORO_SEGUNDOS_DIA)
    {
        ulDias = ulSegundos / D_ZAVORO_SEGUNDOS_DIA;
        ulSegundos %= D_ZAVORO_SEGUNDOS_DIA;
    }

    char* pc = pcStringHoraMinSeg;
    if (ulDias != 0)
    {
        // At most 49710 days: the buffer always has room.
        pc = std::to_chars(pc, pc + 10, ulDias).ptr;
        pc = EscreverTexto(pc, " dias e ");
    }
    const std::uint32_t ulHoras = ulSegundos / 3600;
    ulSegundos -= 3600 * ulHoras;
    const std::uint32_t ulMinutos = ulSegundos / 60;
    ulSegundos -= 60 * ulMinutos;

    pc = EscreverDigitos(pc, ulHoras, 2);
    *pc++ = 'h';
    pc = EscreverDigitos(pc, ulMinutos, 2);
    *pc++ = 'm';
    pc = EscreverDigitos(pc, ulSegundos, 2);
    *pc++ = 's';
    *pc = '\0';
}

void zavoro_RetornarStringTipoValvula(unsigned char ucTipoValvula, char* pcString)
{
    static constexpr const char* pcTextos[] = {"Não possui", "2 vias", "3 vias"};
    CopiarTextoCodigo(pcTextos, ucTipoValvula, pcString);
}

void zavoro_RetornarStringTipoOperacao(unsigned char ucTipoOperacao, char* pcString)
{
    static constexpr const char* pcTextos[] = {"Pulverização", "Adubação",  "Colheita",
                                               "Plantio",      "Irrigação", "Outros"};
    CopiarTextoCodigo(pcTextos, ucTipoOperacao, pcString);
}

void zavoro_RetornarStringTipoComandoPiloto(unsigned char ucTipoComando, char* pcString)
{
    static constexpr const char* pcTextos[] = {"Brinta Cavoda",  "Brinta Rundel",  "KVATO 100 PQTR",
                                               "KVATO 160 PQTR", "KVATO 200 PQTR", "Elétrico V1",
                                               "Bloco Morvel",   "Elétrico V2"};
    CopiarTextoCodigo(pcTextos, ucTipoComando, pcString);
}

void zavoro_RetornarStringFatorHidraulico(unsigned char ucFatorHidraulico, char* pcString)
{
    static constexpr const char* pcTextos[] = {"Fábrica", "100", "50", "25"};
    CopiarTextoCodigo(pcTextos, ucFatorHidraulico, pcString);
}

void zavoro_RetornarStringTipoGuia(unsigned char ucTipoGuia, char* pcString)
{
    static constexpr const char* pcTextos[] = {"Reta", "Curva"};
    CopiarTextoCodigo(pcTextos, ucTipoGuia, pcString);
}

float zavoro_CalcularDistancia2Pontos(float fDeltaLon, float fDeltaLat)
{
    return std::sqrt(fDeltaLon * fDeltaLon + fDeltaLat * fDeltaLat);
}
