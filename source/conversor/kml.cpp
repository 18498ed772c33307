#include "conversor/kml.h"

#include <charconv>

#include "zavoro/zavoro.h"

std::string conversor_EscaparXml(std::string_view szUtf8)
{
    std::string szSaida;
    szSaida.reserve(szUtf8.size());
    for (char c : szUtf8)
    {
        switch (c)
        {
        case '&':
            szSaida += "&amp;";
            break;
        case '<':
            szSaida += "&lt;";
            break;
        case '>':
            szSaida += "&gt;";
            break;
        default:
            szSaida += c;
        }
    }
    return szSaida;
}

std::string conversor_TextoCampoKml(const char* pcCampo)
{
    return conversor_EscaparXml(zavoro_TextoCampo(pcCampo));
}

void conversor_AnexarCoordenadaKml(std::string& szTexto, double dLongitude, double dLatitude)
{
    char cBuf[128];
    char* pc = std::to_chars(cBuf, cBuf + 60, dLongitude, std::chars_format::fixed, 6).ptr;
    *pc++ = ',';
    pc = std::to_chars(pc, pc + 60, dLatitude, std::chars_format::fixed, 6).ptr;
    szTexto.append(cBuf, pc);
    szTexto += ",0\n";
}

void conversor_AnexarDadoKMLTabelaHTML(std::string& szTexto, std::string_view szRotulo, std::string_view szValor,
                                       int iNumDado)
{
    const char* pcCelula = iNumDado % 2 != 0 ? D_CONVERSOR_HTML_LINHA_TABELA_1 : D_CONVERSOR_HTML_LINHA_TABELA_2;
    szTexto += "\n<tr>\n";
    szTexto += pcCelula;
    szTexto += szRotulo;
    szTexto += "</td>\n";
    szTexto += pcCelula;
    szTexto += szValor;
    szTexto += "</td>\n</tr>\n";
}

void conversor_InserirDadoKMLTabelaHTML(std::FILE* pfArquivoEscrita, std::string_view szRotulo,
                                        std::string_view szValor, int iNumDado)
{
    std::string szLinha;
    conversor_AnexarDadoKMLTabelaHTML(szLinha, szRotulo, szValor, iNumDado);
    std::fwrite(szLinha.data(), 1, szLinha.size(), pfArquivoEscrita);
}
