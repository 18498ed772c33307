// The KML map driver: walks the container once to find the stages, guides and boundaries, then has
// each writer add its part of the document in order. The map replaces its target only when the whole
// document was written.
#include <memory>
#include <string>

#include "conversor/guiasLimitesKml.h"
#include "funcoesAuxiliares/leituraArquivo.h"
#include "conversor/kml.h"
#include "conversor/legendaKml.h"
#include "conversor/poligonosKml.h"
#include "conversor/pontosRelevantes.h"
#include "zavoro/conversor.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/shapeFile.h"
#include "zavoro/zavoro.h"

namespace
{


struct ST_Estilo
{
    const char* pcId;
    const char* pcCor;
};

// Polygon styles: the six band colours, purple, and the thirteen recommendation rows.
constexpr ST_Estilo kEstilosPoligono[] = {
    {"Vermelho", "A00000ff"},   {"Verde", "A000ff00"},      {"Azul", "A0ff0000"},       {"Amarelo", "A000ffff"},
    {"Ciano", "A0ffff00"},      {"Roxo", "A0A448A4"},       {"Laranja", "A00080ff"},    {"Azul_1", "D0FF1E1E"},
    {"Azul_2", "D0FF961E"},     {"Ciano_1", "D0F0F01E"},    {"Ciano_2", "D0C8E164"},    {"Verde_1", "D01EE11E"},
    {"Verde_2", "D064FFC8"},    {"Amarelo_1", "D01EFFFF"},  {"Amarelo_2", "D01EC8FF"},  {"Laranja_1", "D01E7FFF"},
    {"Vermelho_1", "D01E1EFF"}, {"Vermelho_2", "D01E1ED2"}, {"Vermelho_3", "D01E1EA0"}, {"Vermelho_4", "D01E1E64"},
};

struct ST_EstiloIcone
{
    const char* pcId;
    const char* pcCor;
    const char* pcIcone;
};

std::string EstiloIcone(const ST_EstiloIcone& e)
{
    return std::string("\n<Style id=\"") + e.pcId + "\"><IconStyle><color>" + e.pcCor + "</color><Icon><href>" +
           D_CONVERSOR_KML_SERVIDOR_ICONES + e.pcIcone + "</href></Icon></IconStyle></Style>";
}

std::string EstiloLinha(const char* pcId, const char* pcCor)
{
    return std::string("\n<Style id=\"") + pcId + "\"><LineStyle><color>" + pcCor +
           "</color><width>4</width></LineStyle></Style>";
}

BOOL Falhar(std::string* pszErro, std::string szMotivo)
{
    if (pszErro != nullptr)
        *pszErro = std::move(szMotivo);
    return FALSE;
}

// The set of a map being written is dropped on every path that does not finish it.
struct ST_ConjuntoPendente
{
    ST_ConjuntoShpSaida stConjunto;
    ~ST_ConjuntoPendente() { shpFile_DescartarConjuntoShp(&stConjunto); }
};
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
                   "</color>\n<colorMode>normal</colorMode>\n<fill>1</fill>\n<outline>0</outline>\n</PolyStyle>\n</Style>\n";
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
    std::fwrite(szTexto.data(), 1, szTexto.size(), pfArquivoEscrita);
}

void conversor_EscreverFimKML(std::FILE* pfArquivoEscrita)
{
    std::fputs("\n</Document>\n</kml>", pfArquivoEscrita);
}

BOOL conversor_CriarMapaNavegacao(const char* pcArquivoLeitura, const char* pcArquivoEscrita, int iTipoMapa,
                                  const ST_ParametrosMapa* pstParametros, int* piErroImpressaoGuia, std::string* pszErro,
                                  ST_ArquivosShp* pstArquivosShp)
{
    if (pstArquivosShp != nullptr)
        *pstArquivosShp = ST_ArquivosShp{};
    int iErroGuiaLocal = 0;
    if (piErroImpressaoGuia == nullptr)
        piErroImpressaoGuia = &iErroGuiaLocal;
    *piErroImpressaoGuia = 0;

    FuncAux_ArquivoLeitura pfLeitura = funcAux_AbrirLeitura(pcArquivoLeitura);
    if (!pfLeitura)
        return Falhar(pszErro, "não foi possível abrir " + std::string(pcArquivoLeitura ? pcArquivoLeitura : ""));
    std::FILE* pf = pfLeitura.get();

    ST_EstruturaNavegacao st;
    if (!zavoro_PercorrerEstrutura(pf, &st, pszErro))
        return FALSE;
    // Every reader of the header uses the current operation numbering (the legend relies on it).
    if (st.stCabecalho.ucUltOperacao <= D_ZAVORO_OPERACAO_OUTROS)
        st.stCabecalho.ucUltOperacao = zavoro_TraduzirOperacao(st.stCabecalho.ucUltOperacao, st.usVersaoArquivoEvento);

    ST_ArquivoSaida stSaida;
    if (!funcAux_AbrirArquivoSaida(pcArquivoEscrita, &stSaida, pszErro))
        return FALSE;
    std::FILE* pfEscrita = stSaida.pfArquivo;

    conversor_EscreverCabecalhoKML(pfEscrita, st.stCabecalho.szNomeEvento, iTipoMapa);
    BOOL bTaxaPulv = FALSE;
    BOOL bTaxaAdub = FALSE;
    std::string szMotivo;
    BOOL bOk = conversor_GerarPoligonosKML(pfEscrita, pf, st.usVersaoArquivoEvento, &st.stCabecalho, iTipoMapa,
                                           st.stTalhao.dZeroRelativoLon, st.stTalhao.dZeroRelativoLat, pstParametros,
                                           &bTaxaPulv, &bTaxaAdub);
    if (!bOk)
        szMotivo = "pontos do trajeto ilegíveis";
    // The shapefile set of the same coverage, from the first stage again; it replaces an earlier set
    // only together with the map.
    ST_ConjuntoPendente stShp;
    if (bOk)
    {
        std::string szMotivoShp;
        bOk = std::fseek(pf, st.lPrimeiraEtapa, SEEK_SET) == 0 &&
              shpFile_GerarArquivosShp(pf, pcArquivoEscrita, st.usVersaoArquivoEvento, st.stCabecalho.ulNumConfiguracoes,
                                       iTipoMapa, st.stTalhao.dZeroRelativoLon, st.stTalhao.dZeroRelativoLat,
                                       &stShp.stConjunto, &szMotivoShp);
        if (!bOk)
            szMotivo = "conjunto shapefile não gravado: " + szMotivoShp;
    }
    if (bOk)
    {
        bOk = std::fseek(pf, st.lPrimeiraEtapa, SEEK_SET) == 0 &&
              conversor_InserirPtosRelevantesKML(pfEscrita, pf, st.usVersaoArquivoEvento, &st.stCabecalho, iTipoMapa,
                                                 st.stTalhao.dZeroRelativoLon, st.stTalhao.dZeroRelativoLat);
        if (!bOk)
            szMotivo = "pontos relevantes ilegíveis";
    }
    if (bOk && !st.vGuias.empty())
    {
        bOk = conversor_InserirGuiasKml(pfEscrita, pf, &st, piErroImpressaoGuia);
        if (!bOk)
            szMotivo = "guias ilegíveis";
    }
    if (bOk && !st.vLimites.empty())
    {
        bOk = conversor_InserirLimiteKml(pfEscrita, pf, &st);
        if (!bOk)
            szMotivo = "limites ilegíveis";
    }
    if (bOk)
    {
        conversor_InserirLegendaKML(pfEscrita, &st.stTalhao, &st.stCabecalho, iTipoMapa, bTaxaPulv, bTaxaAdub,
                                    pstParametros);
        conversor_EscreverFimKML(pfEscrita);
        if (!shpFile_ConcluirConjuntoShp(&stShp.stConjunto, pszErro))
        {
            funcAux_DescartarArquivoSaida(&stSaida);
            return FALSE;
        }
        if (!funcAux_ConcluirArquivoSaida(&stSaida, pszErro))
            return FALSE;
        if (pstArquivosShp != nullptr)
            shpFile_NomesArquivosShp(pcArquivoEscrita, pstArquivosShp);
        return TRUE;
    }
    funcAux_DescartarArquivoSaida(&stSaida);
    return Falhar(pszErro, szMotivo);
}
