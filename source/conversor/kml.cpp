// The KML document frame and the text helpers of every part.
#include "conversor/kml.h"

#include "conversor/textoSaida.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

namespace
{

constexpr const char* kCelulaTabela1 = "<td style=\"background-color:#EFEFEF;\">";
constexpr const char* kCelulaTabela2 = "<td style=\"background-color:#D5D5D5;\">";

struct ST_Estilo
{
    const char* pcId;
    const char* pcCor;
};

// Polygon styles: the six band colours, purple, and the thirteen recommendation rows.
constexpr ST_Estilo kEstilosPoligono[] = {
    {"Vermelho", "A00000ff"},   {"Verde", "A000ff00"},      {"Azul", "A0ff0000"},
    {"Amarelo", "A000ffff"},    {"Ciano", "A0ffff00"},      {"Roxo", "A0A448A4"},
    {"Laranja", "A00080ff"},    {"Azul_1", "D0FF1E1E"},     {"Azul_2", "D0FF961E"},
    {"Ciano_1", "D0F0F01E"},    {"Ciano_2", "D0C8E164"},    {"Verde_1", "D01EE11E"},
    {"Verde_2", "D064FFC8"},    {"Amarelo_1", "D01EFFFF"},  {"Amarelo_2", "D01EC8FF"},
    {"Laranja_1", "D01E7FFF"},  {"Vermelho_1", "D01E1EFF"}, {"Vermelho_2", "D01E1ED2"},
    {"Vermelho_3", "D01E1EA0"}, {"Vermelho_4", "D01E1E64"},
};

struct ST_EstiloIcone
{
    const char* pcId;
    const char* pcCor;
    const char* pcIcone;
};

std::string EstiloIcone(const ST_EstiloIcone& e)
{
    return std::string("\n<Style id=\"") + e.pcId + "\"><IconStyle><color>" + e.pcCor +
           "</color><Icon><href>" + D_CONVERSOR_KML_SERVIDOR_ICONES + e.pcIcone +
           "</href></Icon></IconStyle></Style>";
}

std::string EstiloLinha(const char* pcId, const char* pcCor)
{
    return std::string("\n<Style id=\"") + pcId + "\"><LineStyle><color>" + pcCor +
           "</color><width>4</width></LineStyle></Style>";
}

} // namespace

void conversor_EscreverCabecalhoKML(std::FILE* pfArquivoEscrita, const char* pcNomeEvento, int iTipoMapa)
{
    std::string szTexto = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"";
    szTexto += D_CONVERSOR_KML_NAMESPACE;
    szTexto += "\">\n<Document>\n<name>";
    szTexto += conversor_TextoCampoKml(pcNomeEvento);
    szTexto += iTipoMapa == D_CONVERSOR_TIPO_MAPA_VELOCIDADE ? " - Velocidade" : " - Cobertura";
    szTexto += "</name>\n";
    for (const ST_Estilo& e : kEstilosPoligono)
        szTexto += std::string("\n<Style id=\"") + e.pcId + "\">\n<PolyStyle>\n<color>" + e.pcCor +
                   "</color>\n<colorMode>normal</colorMode>\n<fill>1</fill>\n<outline>0</outline>\n</"
                   "PolyStyle>\n</Style>\n";
    szTexto += EstiloIcone({"BANDEIRA_VERDE", "FF00FF00", "/mapfiles/kml/shapes/flag.png"});
    szTexto += EstiloIcone({"BANDEIRA_VERMELHA", "FF0000FF", "/mapfiles/kml/shapes/flag.png"});
    szTexto += EstiloIcone({"GOTA_PAUSA", "FF0000FF", "/mapfiles/kml/paddle/P.png"});
    szTexto += EstiloIcone({"GOTA_RETORNO_PAUSA", "FF0000FF", "/mapfiles/kml/paddle/R.png"});
    szTexto += EstiloIcone({"GOTA_PONTO_A", "FF00FF00", "/mapfiles/kml/paddle/A.png"});
    szTexto += EstiloIcone({"GOTA_PONTO_B", "FF00FF00", "/mapfiles/kml/paddle/B.png"});
    szTexto += EstiloIcone({"GOTA_PARADA", "FF00FFFF", "/mapfiles/kml/paddle/wht-square.png"});
    szTexto += EstiloLinha("LINHA_GUIA", "7FFF0000");
    szTexto += EstiloLinha("LINHA_LIMITE", "7FFF00FF");
    szTexto += EstiloIcone({"SETA_RETORNO_ENERGIA", "FF00FF00", "/mapfiles/kml/shapes/arrow.png"});
    szTexto += "\n<Folder>\n<name>Mapa</name>";
    conversor_GravarLinha(pfArquivoEscrita, szTexto);
}

void conversor_EscreverFimKML(std::FILE* pfArquivoEscrita)
{
    std::fputs("\n</Document>\n</kml>", pfArquivoEscrita);
}

std::string conversor_TextoCampoKml(const char* pcCampo)
{
    return funcAux_EscaparXml(zavoro_TextoCampo(pcCampo));
}

void conversor_AnexarDadoKMLTabelaHTML(std::string& szTexto, std::string_view szRotulo,
                                       std::string_view szValor, int iNumDado)
{
    const char* pcCelula = iNumDado % 2 != 0 ? kCelulaTabela1 : kCelulaTabela2;
    szTexto += "\n<tr>\n";
    szTexto += pcCelula;
    szTexto += szRotulo;
    szTexto += "</td>\n";
    szTexto += pcCelula;
    szTexto += szValor;
    szTexto += "</td>\n</tr>\n";
}
