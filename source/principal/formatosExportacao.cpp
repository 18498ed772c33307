// The export formats the desktop application offers: those of the modules it was built with (GIS
// datasets through GDAL, ISOXML TaskData). Part of the program only, so the window logic and its tests
// link no export library.
#include "principal/principal.h"

#if defined(ZAVORO_COM_EXPORTACAO)
#include "zavoro/exportacao.h"
#endif
#if defined(ZAVORO_COM_ISOXML)
#include "zavoro/isoxml.h"
#endif

std::vector<ST_FormatoExportacao> principal_FormatosExportacao()
{
    std::vector<ST_FormatoExportacao> vFormatos;
#if defined(ZAVORO_COM_EXPORTACAO)
    struct ST_Gdal
    {
        int iFormato;
        const char* pcNome;
        const char* pcCurto;
    };
    constexpr ST_Gdal kGdal[] = {
        {D_EXPORTACAO_FORMATO_GPKG, "SIG: GeoPackage (.gpkg)", "GeoPackage"},
        {D_EXPORTACAO_FORMATO_KMZ, "SIG: KMZ (.kmz), também para o Google Earth", "KMZ"},
        {D_EXPORTACAO_FORMATO_GEOJSON, "SIG: GeoJSON (.geojson), um arquivo por camada", "GeoJSON"},
        {D_EXPORTACAO_FORMATO_CSV, "SIG: CSV (.csv), um arquivo por camada", "CSV"},
        {D_EXPORTACAO_FORMATO_FGB, "SIG: FlatGeobuf (.fgb), um arquivo por camada", "FlatGeobuf"},
    };
    for (const ST_Gdal& st : kGdal)
        vFormatos.push_back({st.pcNome, st.pcCurto,
                             [iFormato = st.iFormato](const std::string& szArquivo, const std::string& szBase,
                                                      std::vector<std::string>* pvSaidas, std::string* pszErro) {
                                 if (!exportacao_ExportarArquivo(szArquivo.c_str(), szBase, iFormato, pszErro))
                                     return FALSE;
                                 *pvSaidas = exportacao_NomesSaida(szBase, iFormato);
                                 return TRUE;
                             }});
#endif
#if defined(ZAVORO_COM_ISOXML)
    // For farm management systems and terminals: the base's name with the TaskData zip's suffix.
    vFormatos.push_back({"ISOXML TaskData (.zip), para sistemas de gestão e terminais", "ISOXML",
                         [](const std::string& szArquivo, const std::string& szBase, std::vector<std::string>* pvSaidas,
                            std::string* pszErro) {
                             ST_ResultadoIsoxml stResultado;
                             if (!isoxml_ExportarArquivo(szArquivo, ST_OpcoesIsoxml{}, &stResultado,
                                                         szBase + D_ISOXML_SUFIXO))
                                 return (*pszErro = stResultado.szMotivo, FALSE);
                             pvSaidas->push_back(stResultado.szSaida);
                             return TRUE;
                         }});
#endif
    return vFormatos;
}
