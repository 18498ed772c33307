// The datasets of one export. GDAL picks single-file or folder output from a name's extension, so it
// never writes the core's ".tmp" names itself: it writes proper names inside a work folder (itself a
// reserved temporary name of the target folder), and each finished file is moved onto a temporary of
// its own target before the set is published.
#include <filesystem>
#include <mutex>
#include <system_error>

#include "exportacao/destino.h"
#include "zavoro/exportacao.h"

namespace fs = std::filesystem;

namespace
{
struct ST_Formato
{
    const char* pcNome;      // --formato
    const char* pcDriver;    // GDAL driver
    const char* pcExtensao;
    bool bTodasCamadas;      // one dataset holds every layer
};

constexpr ST_Formato kFormatos[] = {
    {"gpkg", "GPKG", ".gpkg", true},
    {"geojson", "GeoJSON", ".geojson", false},
    {"csv", "CSV", ".csv", false},
    {"kmz", "LIBKML", ".kmz", true},
    {"fgb", "FlatGeobuf", ".fgb", false},
};
constexpr const char* kSufixoUnico = "_Exportacao";
constexpr const char* kOpcoesSqlite[] = {"OGR_SQLITE_JOURNAL", "OGR_SQLITE_SYNCHRONOUS"};

void Erro(std::string* pszErro, std::string szMotivo)
{
    if (pszErro != nullptr && pszErro->empty())
        *pszErro = std::move(szMotivo);
}

std::string MotivoGdal(const ST_DestinoExportacao& stDestino, const std::string& szPadrao)
{
    return stDestino.szErro.empty() ? szPadrao : szPadrao + " (" + stDestino.szErro + ")";
}

ExportacaoDataset CriarDataset(ST_DestinoExportacao* pstDestino, const std::string& szNome, const std::string& szDestino)
{
    const ST_Formato& stFormato = kFormatos[pstDestino->iFormato];
    GDALDriver* pDriver = GetGDALDriverManager()->GetDriverByName(stFormato.pcDriver);
    if (pDriver == nullptr)
    {
        Erro(&pstDestino->szErro, std::string("GDAL sem o formato ") + stFormato.pcDriver);
        return nullptr;
    }
    const std::string szArquivo = (fs::path(pstDestino->szPasta) / szNome).string();
    ExportacaoDataset pDataset(pDriver->Create(szArquivo.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (pDataset)
    {
        pstDestino->vArquivos.push_back(szArquivo);
        pstDestino->vDestinos.push_back(szDestino);
        // One transaction per dataset: a GeoPackage commits once instead of per feature.
        if (pDataset->TestCapability(ODsCTransactions))
            pDataset->StartTransaction();
    }
    return pDataset;
}

void RemoverPasta(ST_DestinoExportacao* pstDestino)
{
    CPLSetThreadLocalConfigOption("LIBKML_USE_SIMPLEFIELD", nullptr);
    for (const char* pcOpcao : kOpcoesSqlite)
        CPLSetThreadLocalConfigOption(pcOpcao, nullptr);
    std::error_code ec;
    if (!pstDestino->szPasta.empty())
        fs::remove_all(pstDestino->szPasta, ec);
    pstDestino->szPasta.clear();
    funcAux_DescartarArquivoSaida(&pstDestino->stPasta);
}

// Closes every dataset; false when a commit or a close failed.
bool FecharDatasets(ST_DestinoExportacao* pstDestino, bool bConfirmar)
{
    bool bOk = true;
    for (ExportacaoDataset& pDataset : pstDestino->vDatasets)
    {
        if (bConfirmar && pDataset->TestCapability(ODsCTransactions) && pDataset->CommitTransaction() != OGRERR_NONE)
            bOk = false;
        pDataset.reset();
    }
    pstDestino->vDatasets.clear();
    return bOk && pstDestino->szErro.empty();
}
} // namespace

BOOL exportacao_FormatoPorNome(std::string_view szNome, int* piFormato)
{
    for (int i = 0; i < static_cast<int>(std::size(kFormatos)); i++)
        if (szNome == kFormatos[i].pcNome)
        {
            *piFormato = i;
            return TRUE;
        }
    return FALSE;
}

std::vector<std::string> exportacao_NomesSaida(const std::string& szBase, int iFormato)
{
    const ST_Formato& stFormato = kFormatos[iFormato];
    if (stFormato.bTodasCamadas)
        return {szBase + kSufixoUnico + stFormato.pcExtensao};
    std::vector<std::string> v;
    for (const char* pcCamada : D_EXPORTACAO_CAMADAS)
        v.push_back(szBase + "_" + pcCamada + stFormato.pcExtensao);
    return v;
}

BOOL exportacao_AbrirDestino(const std::string& szBase, int iFormato, ST_DestinoExportacao* pstDestino,
                             std::string* pszErro)
{
    // Registration fills GDAL's driver table: once, before any worker uses it.
    static std::once_flag stRegistro;
    std::call_once(stRegistro, GDALAllRegister);
    pstDestino->iFormato = iFormato;
    pstDestino->szBase = szBase;
    pstDestino->stSrs.importFromEPSG(4326);
    pstDestino->stSrs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);

    // The core reserves the name (created exclusively, never someone else's file); a folder takes it.
    ST_ArquivoSaida& stPasta = pstDestino->stPasta;
    if (!funcAux_AbrirArquivoSaida(szBase + kSufixoUnico, &stPasta, pszErro) ||
        !funcAux_LiberarArquivoSaida(&stPasta, pszErro))
    {
        funcAux_DescartarArquivoSaida(&stPasta);
        return FALSE;
    }
    std::error_code ec;
    fs::remove(stPasta.szTemporario, ec);
    if (ec || !fs::create_directory(stPasta.szTemporario, ec))
    {
        Erro(pszErro, "não foi possível criar a pasta de trabalho ao lado de " + szBase + " (" +
                          funcAux_DescreverErro(ec) + ")");
        funcAux_DescartarArquivoSaida(&stPasta);
        return FALSE;
    }
    pstDestino->szPasta = stPasta.szTemporario;
    // KML's typed schema makes GDAL's writer slow down with every feature (a 2000-point track takes
    // seconds); untyped data elements keep it linear, and GDAL reads them back as fields all the same.
    if (iFormato == D_EXPORTACAO_FORMATO_KMZ)
        CPLSetThreadLocalConfigOption("LIBKML_USE_SIMPLEFIELD", "NO");
    // A GeoPackage under construction is thrown away whole on failure: it needs neither a rollback
    // journal nor a sync per commit (a finished one is published like every other output).
    for (const char* pcOpcao : kOpcoesSqlite)
        CPLSetThreadLocalConfigOption(pcOpcao, "OFF");

    if (kFormatos[iFormato].bTodasCamadas)
    {
        const std::string szDestino = exportacao_NomesSaida(szBase, iFormato).front();
        ExportacaoDataset pDataset = CriarDataset(pstDestino, fs::path(szDestino).filename().string(), szDestino);
        if (!pDataset)
        {
            Erro(pszErro, MotivoGdal(*pstDestino, "não foi possível criar " + szDestino));
            RemoverPasta(pstDestino);
            return FALSE;
        }
        pstDestino->vDatasets.push_back(std::move(pDataset));
    }
    return TRUE;
}

OGRLayer* exportacao_CriarCamada(ST_DestinoExportacao* pstDestino, const char* pcNome, OGRwkbGeometryType eGeometria,
                                 const ST_CampoExportacao* pstCampos, int iNumCampos)
{
    const ST_Formato& stFormato = kFormatos[pstDestino->iFormato];
    if (!stFormato.bTodasCamadas)
    {
        const std::string szDestino = pstDestino->szBase + "_" + pcNome + stFormato.pcExtensao;
        ExportacaoDataset pDataset =
            CriarDataset(pstDestino, std::string(pcNome) + stFormato.pcExtensao, szDestino);
        if (!pDataset)
            return nullptr;
        pstDestino->vDatasets.push_back(std::move(pDataset));
    }
    char** papszOpcoes = nullptr;
    if (pstDestino->iFormato == D_EXPORTACAO_FORMATO_CSV)
        papszOpcoes = CSLSetNameValue(papszOpcoes, "GEOMETRY", eGeometria == wkbPoint ? "AS_XY" : "AS_WKT");
    // SQLite's R-tree over a million points (the track, and the marks of a file that marks every
    // point) takes several times as long as writing them: point layers stay unindexed (a GIS builds
    // the index on demand); polygons and lines are indexed.
    if (pstDestino->iFormato == D_EXPORTACAO_FORMATO_GPKG && eGeometria == wkbPoint)
        papszOpcoes = CSLSetNameValue(papszOpcoes, "SPATIAL_INDEX", "NO");
    OGRLayer* pCamada =
        pstDestino->vDatasets.back()->CreateLayer(pcNome, &pstDestino->stSrs, eGeometria, papszOpcoes);
    CSLDestroy(papszOpcoes);
    for (int i = 0; pCamada != nullptr && i < iNumCampos; i++)
    {
        // CSV and KML write dates in their own way ("2026/04/21 07:10:00+00"): ISO 8601 text instead.
        const bool bTextoData = pstCampos[i].eTipo == OFTDateTime && (pstDestino->iFormato == D_EXPORTACAO_FORMATO_CSV ||
                                                                      pstDestino->iFormato == D_EXPORTACAO_FORMATO_KMZ);
        OGRFieldDefn stCampo(pstCampos[i].pcNome, bTextoData ? OFTString : pstCampos[i].eTipo);
        if (pCamada->CreateField(&stCampo) != OGRERR_NONE)
            pCamada = nullptr;
    }
    return pCamada;
}

void exportacao_DefinirMetadados(ST_DestinoExportacao* pstDestino,
                                 const std::vector<std::pair<std::string, std::string>>& vItens)
{
    for (ExportacaoDataset& pDataset : pstDestino->vDatasets)
        for (const auto& [szChave, szValor] : vItens)
            pDataset->SetMetadataItem(szChave.c_str(), szValor.c_str());
}

BOOL exportacao_ConcluirDestino(ST_DestinoExportacao* pstDestino, std::string* pszErro)
{
    if (!FecharDatasets(pstDestino, true))
    {
        Erro(pszErro, MotivoGdal(*pstDestino, "erro de gravação de " + pstDestino->szBase));
        exportacao_DescartarDestino(pstDestino);
        return FALSE;
    }
    // Each finished file onto a reserved temporary of its target, then the set as one unit.
    std::vector<ST_ArquivoSaida> vSaidas(pstDestino->vArquivos.size());
    bool bOk = true;
    for (std::size_t i = 0; bOk && i < vSaidas.size(); i++)
    {
        std::error_code ec;
        bOk = funcAux_AbrirArquivoSaida(pstDestino->vDestinos[i], &vSaidas[i], pszErro) &&
              funcAux_LiberarArquivoSaida(&vSaidas[i], pszErro);
        if (bOk)
            fs::rename(pstDestino->vArquivos[i], vSaidas[i].szTemporario, ec);
        if (ec)
        {
            Erro(pszErro, "não foi possível gravar " + pstDestino->vDestinos[i] + " (" + funcAux_DescreverErro(ec) + ")");
            bOk = false;
        }
    }
    std::vector<ST_ArquivoSaida*> vPublicar;
    for (ST_ArquivoSaida& st : vSaidas)
        vPublicar.push_back(&st);
    if (bOk)
        bOk = funcAux_PublicarArquivosSaida(vPublicar, pszErro);
    for (ST_ArquivoSaida& st : vSaidas)
        funcAux_DescartarArquivoSaida(&st);
    RemoverPasta(pstDestino);
    return bOk ? TRUE : FALSE;
}

void exportacao_DescartarDestino(ST_DestinoExportacao* pstDestino)
{
    FecharDatasets(pstDestino, false);
    RemoverPasta(pstDestino);
}
