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

std::string funcAux_EscaparXml(std::string_view szUtf8, int iModo)
{
    const bool bAtributo = iModo == D_FUNCAUX_XML_ATRIBUTO;
    std::string szSaida;
    szSaida.reserve(szUtf8.size());
    for (char c : szUtf8)
    {
        switch (c)
        {
            case '&':
                szSaida += "&amp;";
                continue;
            case '<':
                szSaida += "&lt;";
                continue;
            case '>':
                szSaida += "&gt;";
                continue;
            default:
                break;
        }
        const auto uc = static_cast<unsigned char>(c);
        if (!bAtributo)
            szSaida += c;
        else if (c == '"')
            szSaida += "&quot;";
        else if (c == '\t' || c == '\n' || c == '\r')
            szSaida += "&#" + std::to_string(uc) + ';';
        else
            szSaida += uc < 0x20 ? '?' : c;
    }
    return szSaida;
}
