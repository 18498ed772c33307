// Fixed-field checks and the decimal comma used by the report and the map tables.
#include "zavoro/funcoesAuxiliares.h"

#include <cstring>

namespace
{

// ASCII only: the process locale must not decide what a digit is.
bool EhDigito(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

BOOL funcAux_VerificarValidadeString(const unsigned char* pucTexto, int iTamanho)
{
    if (pucTexto == nullptr || iTamanho <= 0)
    {
        return FALSE;
    }
    return std::memchr(pucTexto, 0, static_cast<std::size_t>(iTamanho)) != nullptr ? TRUE : FALSE;
}

void funcAux_SubstituirPontoPorVirgula(std::string& szTexto)
{
    // A point is only a decimal separator between two digits; "ha." keeps its point.
    for (std::size_t i = 1; i + 1 < szTexto.size(); ++i)
    {
        if (szTexto[i] == '.' && EhDigito(szTexto[i - 1]) && EhDigito(szTexto[i + 1]))
        {
            szTexto[i] = ',';
        }
    }
}

std::string funcAux_EscaparControles(std::string_view szTexto)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string szSaida;
    szSaida.reserve(szTexto.size());
    for (const char c : szTexto)
    {
        const auto uc = static_cast<unsigned char>(c);
        if (uc >= 0x20 && uc != 0x7F)
            szSaida += c;
        else if (c == '\n')
            szSaida += "\\n";
        else if (c == '\r')
            szSaida += "\\r";
        else if (c == '\t')
            szSaida += "\\t";
        else
            szSaida.append("\\x").append(1, kHex[uc >> 4]).append(1, kHex[uc & 0xF]);
    }
    return szSaida;
}
