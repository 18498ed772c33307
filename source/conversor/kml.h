// What every KML writer shares: the document's fixed prefixes, XML escaping of texts that come from
// a file, coordinate text, and the one-row HTML table writer of descriptions and the legend.
//
// KML is written as real UTF-8: literals are UTF-8 in the source, names from the navigation file are
// decoded from Windows-1252, and every such name is escaped ('&', '<', '>') wherever it is written,
// in element text and inside the HTML of CDATA sections alike. Numbers never go through printf.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

inline constexpr const char* D_CONVERSOR_KML_NAMESPACE = "http://earth.google.com/kml/2.0";
inline constexpr const char* D_CONVERSOR_KML_SERVIDOR_ICONES = "http://maps.google.com";
inline constexpr const char* D_CONVERSOR_XHTML_NAMESPACE = "http://www.w3.org/1999/xhtml";

inline constexpr const char* D_CONVERSOR_HTML_LINHA_TABELA_1 = "<td style=\"background-color:#EFEFEF;\">";
inline constexpr const char* D_CONVERSOR_HTML_LINHA_TABELA_2 = "<td style=\"background-color:#D5D5D5;\">";

// '&', '<' and '>' as entities; everything else as it is.
std::string conversor_EscaparXml(std::string_view szUtf8);
// A fixed 40-byte Windows-1252 name of a record, decoded to UTF-8 and escaped.
std::string conversor_TextoCampoKml(const char* pcCampo);
// "%.06f,%.06f,0\n": longitude, latitude, altitude 0.
void conversor_AnexarCoordenadaKml(std::string& szTexto, double dLongitude, double dLatitude);
// One row of a two-column description table; rows numbered from 1 alternate light and darker grey.
// Label and value are written as given (escape what came from a file before).
void conversor_InserirDadoKMLTabelaHTML(std::FILE* pfArquivoEscrita, std::string_view szRotulo,
                                        std::string_view szValor, int iNumDado);
// The same row appended to a text.
void conversor_AnexarDadoKMLTabelaHTML(std::string& szTexto, std::string_view szRotulo, std::string_view szValor,
                                       int iNumDado);
