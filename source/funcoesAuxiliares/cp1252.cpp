// Windows-1252 <-> UTF-8 for the console's text fields and the work report.
#include "zavoro/funcoesAuxiliares.h"

#include <array>
#include <cstdint>

namespace
{

// Code points of bytes 0x80..0x9F. The five bytes Windows-1252 leaves undefined keep their own
// value (C1 controls) so that decoding loses nothing and the report can write them back.
constexpr std::array<char32_t, 32> kCp1252Faixa80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

void AnexarUtf8(std::string& szSaida, char32_t ulCodigo)
{
    if (ulCodigo < 0x80)
    {
        szSaida.push_back(static_cast<char>(ulCodigo));
    }
    else if (ulCodigo < 0x800)
    {
        szSaida.push_back(static_cast<char>(0xC0 | (ulCodigo >> 6)));
        szSaida.push_back(static_cast<char>(0x80 | (ulCodigo & 0x3F)));
    }
    else
    {
        // Every Windows-1252 character lies in the Basic Multilingual Plane.
        szSaida.push_back(static_cast<char>(0xE0 | (ulCodigo >> 12)));
        szSaida.push_back(static_cast<char>(0x80 | ((ulCodigo >> 6) & 0x3F)));
        szSaida.push_back(static_cast<char>(0x80 | (ulCodigo & 0x3F)));
    }
}

// Byte for a code point, or -1 when Windows-1252 cannot hold it.
int ByteCp1252(char32_t ulCodigo)
{
    if (ulCodigo < 0x80 || (ulCodigo >= 0xA0 && ulCodigo <= 0xFF))
    {
        return static_cast<int>(ulCodigo);
    }
    // Also covers U+0080..U+009F: only the five kept C1 controls are found in the table.
    for (std::size_t i = 0; i < kCp1252Faixa80.size(); ++i)
    {
        if (kCp1252Faixa80[i] == ulCodigo)
        {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

// Decodes one UTF-8 sequence at iPos. Returns the code point, or -1 for a malformed sequence;
// *piTamanho receives the bytes consumed (the maximal ill-formed prefix, at least one byte).
std::int32_t LerUtf8(std::string_view szTexto, std::size_t iPos, std::size_t* piTamanho)
{
    const auto ucByte = [&](std::size_t i) { return static_cast<unsigned char>(szTexto[i]); };
    const unsigned char ucLider = ucByte(iPos);
    *piTamanho = 1;
    if (ucLider < 0x80)
    {
        return ucLider;
    }

    std::size_t iComprimento = 0;
    std::int32_t lCodigo = 0;
    unsigned char ucMin = 0x80;
    unsigned char ucMax = 0xBF;
    if (ucLider >= 0xC2 && ucLider <= 0xDF)
    {
        iComprimento = 2;
        lCodigo = ucLider & 0x1F;
    }
    else if (ucLider >= 0xE0 && ucLider <= 0xEF)
    {
        iComprimento = 3;
        lCodigo = ucLider & 0x0F;
        if (ucLider == 0xE0)
        {
            ucMin = 0xA0; // overlong
        }
        else if (ucLider == 0xED)
        {
            ucMax = 0x9F; // surrogates
        }
    }
    else if (ucLider >= 0xF0 && ucLider <= 0xF4)
    {
        iComprimento = 4;
        lCodigo = ucLider & 0x07;
        if (ucLider == 0xF0)
        {
            ucMin = 0x90; // overlong
        }
        else if (ucLider == 0xF4)
        {
            ucMax = 0x8F; // above U+10FFFF
        }
    }
    else
    {
        return -1; // stray continuation byte, C0/C1 overlong lead or F5..FF
    }

    for (std::size_t k = 1; k < iComprimento; ++k)
    {
        if (iPos + k >= szTexto.size())
        {
            return -1;
        }
        const unsigned char ucCont = ucByte(iPos + k);
        const unsigned char ucLo = (k == 1) ? ucMin : 0x80;
        const unsigned char ucHi = (k == 1) ? ucMax : 0xBF;
        if (ucCont < ucLo || ucCont > ucHi)
        {
            return -1;
        }
        lCodigo = (lCodigo << 6) | (ucCont & 0x3F);
        *piTamanho = k + 1;
    }
    return lCodigo;
}

} // namespace

std::string funcAux_Cp1252ParaUtf8(std::string_view szCp1252)
{
    std::string szSaida;
    szSaida.reserve(szCp1252.size() + szCp1252.size() / 4);
    for (char c : szCp1252)
    {
        const unsigned char ucByte = static_cast<unsigned char>(c);
        if (ucByte < 0x80)
        {
            szSaida.push_back(c);
        }
        else if (ucByte < 0xA0)
        {
            AnexarUtf8(szSaida, kCp1252Faixa80[ucByte - 0x80]);
        }
        else
        {
            AnexarUtf8(szSaida, ucByte);
        }
    }
    return szSaida;
}

std::string funcAux_Utf8ParaCp1252(std::string_view szUtf8, BOOL* pbPerda)
{
    BOOL bPerda = FALSE;
    std::string szSaida;
    szSaida.reserve(szUtf8.size());
    std::size_t iPos = 0;
    while (iPos < szUtf8.size())
    {
        std::size_t iTamanho = 1;
        const std::int32_t lCodigo = LerUtf8(szUtf8, iPos, &iTamanho);
        const int iByte = (lCodigo < 0) ? -1 : ByteCp1252(static_cast<char32_t>(lCodigo));
        if (iByte < 0)
        {
            szSaida.push_back('?');
            bPerda = TRUE;
        }
        else
        {
            szSaida.push_back(static_cast<char>(iByte));
        }
        iPos += iTamanho;
    }
    if (pbPerda != nullptr)
    {
        *pbPerda = bPerda;
    }
    return szSaida;
}
