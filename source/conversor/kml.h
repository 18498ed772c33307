// The KML map, one part per file: the document frame and the text helpers every part shares
// (kml.cpp), the coverage polygons in the "Mapa" folder (kmlPoligonos.cpp), the "Pontos Relevantes"
// folder (kmlPontosRelevantes.cpp), the "Guias" and "Limites" folders (kmlGuiasLimites.cpp) and the
// legend (kmlLegenda.cpp). mapa.cpp drives them in document order.
//
// KML is written as real UTF-8: literals are UTF-8 in the source, names from the navigation file are
// decoded from Windows-1252, and every such name is escaped ('&', '<', '>') wherever it is written,
// in element text and inside the HTML of CDATA sections alike. Numbers go through textoSaida.h, never
// through printf. Write errors are not checked part by part: the map's output file tells at its end.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "zavoro/cobertura.h"
#include "zavoro/legenda.h"
#include "zavoro/tipos.h"

struct ST_EventoCabecalho;
struct ST_Guia_v2;
struct ST_Talhao;
struct ST_EstruturaNavegacao;

inline constexpr const char* D_CONVERSOR_KML_NAMESPACE = "http://earth.google.com/kml/2.0";
inline constexpr const char* D_CONVERSOR_KML_SERVIDOR_ICONES = "http://maps.google.com";
inline constexpr const char* D_CONVERSOR_XHTML_NAMESPACE = "http://www.w3.org/1999/xhtml";

// ---------------------------------------------------------------------------------------------------
// Frame and text helpers (kml.cpp)
// ---------------------------------------------------------------------------------------------------

// The XML declaration, the document with its name (the event, then " - Velocidade" or " - Cobertura"),
// every style the parts use, and the opening of the "Mapa" folder.
void conversor_EscreverCabecalhoKML(std::FILE* pfArquivoEscrita, const char* pcNomeEvento, int iTipoMapa);
// Closes the document.
void conversor_EscreverFimKML(std::FILE* pfArquivoEscrita);

// A fixed 40-byte Windows-1252 name of a record, decoded to UTF-8 and escaped.
std::string conversor_TextoCampoKml(const char* pcCampo);
// One row of a two-column description table; rows numbered from 1 alternate light and darker grey.
// Label and value are written as given (escape what came from a file before).
void conversor_AnexarDadoKMLTabelaHTML(std::string& szTexto, std::string_view szRotulo,
                                       std::string_view szValor, int iNumDado);

// ---------------------------------------------------------------------------------------------------
// Coverage polygons (kmlPoligonos.cpp)
// ---------------------------------------------------------------------------------------------------

// Writes the polygons of every stage, one placemark per ring coloured by its class, and closes the
// "Mapa" folder. The input stands at the first configuration block of the event section. The classes
// come from the job's legend snapshot. *pbTaxaPulv / *pbTaxaAdub tell the legend writer whether the
// last stage showed spraying (L/ha) or fertilising (kg/ha) rates. FALSE, with nothing more written,
// when a stage announces more than 1000000 points or a configuration block or point cannot be read.
BOOL conversor_GerarPoligonosKML(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                 unsigned short usVersaoArquivoEvento, const ST_EventoCabecalho* pstCabecalho,
                                 int iTipoMapa, double dZeroRelativoLon, double dZeroRelativoLat,
                                 const ST_ParametrosMapa* pstParametros, BOOL* pbTaxaPulv, BOOL* pbTaxaAdub);

// The same folder in three steps, for a driver that walks the track once for several writers: open,
// hand conversor_ReceptorPoligonosKML's receiver to the walk (by the class cut), then conclude with
// how the walk ended. The record stays where it was opened while the walk runs.
struct ST_PoligonosKml
{
    std::FILE* pfArquivoEscrita = nullptr;
    const ST_ParametrosMapa* pstParametros = nullptr;
    int iTipoLegenda = D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR;
    // Of the stage being walked; the map's legend shows what the last stage showed.
    BOOL bTemLegenda = FALSE;
    BOOL bTaxaPulv = FALSE;
    BOOL bTaxaAdub = FALSE;
    std::string szTexto; // placemarks not yet written
};
void conversor_AbrirPoligonosKML(ST_PoligonosKml* pstPoligonos, std::FILE* pfArquivoEscrita, int iTipoMapa,
                                 const ST_ParametrosMapa* pstParametros);
ST_ReceptorCobertura conversor_ReceptorPoligonosKML(ST_PoligonosKml* pstPoligonos);
// Writes what is left of the placemarks and, when the walk ended well, closes the folder; FALSE
// otherwise. *pbTaxaPulv / *pbTaxaAdub as conversor_GerarPoligonosKML gives them.
BOOL conversor_ConcluirPoligonosKML(ST_PoligonosKml* pstPoligonos, BOOL bPercursoOk, BOOL* pbTaxaPulv,
                                    BOOL* pbTaxaAdub);

// ---------------------------------------------------------------------------------------------------
// Relevant points (kmlPontosRelevantes.cpp)
// ---------------------------------------------------------------------------------------------------

// The "Pontos Relevantes" folder: a flag at the start of every stage with the stage's totals and
// settings, and the marks of pauses, stops, power returns and implement temperatures. One streamed
// pass over the stages and their points. The input must stand at the first stage's configuration
// block. FALSE when a stage claims too many points or a block or point cannot be read; the folder is
// then left open.
BOOL conversor_InserirPtosRelevantesKML(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                        unsigned short usVersaoArquivoEvento,
                                        const ST_EventoCabecalho* pstCabecalho, double dZeroRelativoLon,
                                        double dZeroRelativoLat);

// ---------------------------------------------------------------------------------------------------
// Guides and boundaries (kmlGuiasLimites.cpp)
// ---------------------------------------------------------------------------------------------------

// "Guias", with one sub-folder per guide that has both points marked (its A and B marks and its line
// or curves), from the walk's entries, reading curve points from pfArquivoLeitura inside each entry.
// Version-1 guides carry the field's guide type. *piErroImpressaoGuia (when given) is cleared, then set
// to 1 when a curve could not be drawn whole (a point that is not a number, or a count that runs past
// its entry); the map goes on. FALSE on a short read; the output then stops where it is.
BOOL conversor_InserirGuiasKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                               const ST_EstruturaNavegacao* pstEstrutura, int* piErroImpressaoGuia);

// The A and B marks of one guide, numbered iNumGuia.
void conversor_InserirPontoABKml(std::FILE* pfArquivoEscrita, const ST_Guia_v2* pstGuia, int iNumGuia);

// "Limites", with one sub-folder per boundary of the walk's entries, reading their points from
// pfArquivoLeitura inside each entry. FALSE on a short read.
BOOL conversor_InserirLimiteKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                const ST_EstruturaNavegacao* pstEstrutura);

// ---------------------------------------------------------------------------------------------------
// Legend (kmlLegenda.cpp)
// ---------------------------------------------------------------------------------------------------

// The document's own <description>: an HTML page in a CDATA section with the event's totals and the
// colour key of the coverage polygons (the rate or speed bands, the thirteen recommendation rows, or
// the single item of a plain coverage map). The header's ucUltOperacao must already be in the current
// numbering (the map driver translates older event versions): 0 spraying and 1 fertilising show the
// applied quantity and the mean rate. bTaxaPulv and bTaxaAdub are what the polygon writer found the
// map to show; the bands and recommendation rows come from the job's legend snapshot.
void conversor_InserirLegendaKML(std::FILE* pfArquivoEscrita, const ST_Talhao* pstTalhao,
                                 const ST_EventoCabecalho* pstEvtCabecalho, int iTipoMapa, BOOL bTaxaPulv,
                                 BOOL bTaxaAdub, const ST_ParametrosMapa* pstParametros);
