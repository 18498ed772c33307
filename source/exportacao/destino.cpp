// The datasets of one export. GDAL picks single-file or folder output from a name's extension, so it
// never writes the core's ".tmp" names itself: it writes proper names inside a work folder (itself a
// reserved temporary name of the target folder), and each finished file is moved onto a temporary of
// its own target before the set is published.
#include <filesystem>
#include <algorithm>
#include <mutex>
#include <string_view>
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
    // GDAL's KML writer streams each feature out (the LIBKML one builds the whole document in memory:
    // gigabytes for a long job). It writes one layer at a time, so each layer is a document of its own
    // until the archive is made.
    {"kmz", "KML", ".kmz", true},
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

// A dataset in the work folder; szDestino is where its file is published (empty: an intermediate).
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
    if (pDataset && !szDestino.empty())
    {
        pstDestino->vArquivos.push_back(szArquivo);
        pstDestino->vDestinos.push_back(szDestino);
        // One transaction per dataset: a GeoPackage commits once instead of per feature.
    }
    if (pDataset && pDataset->TestCapability(ODsCTransactions))
        pDataset->StartTransaction();
    return pDataset;
}

// One layer's document as GDAL's KML writer leaves it: its schema, then a folder of its placemarks.
struct ST_DocumentoCamada
{
    std::string szEsquema;
    vsi_l_offset inicioMarcas = 0, fimMarcas = 0; // the placemarks inside the folder
};

bool LerDocumentoCamada(const std::string& szArquivo, const std::string& szCamada, ST_DocumentoCamada* pstDoc)
{
    constexpr std::string_view kAbertura = "<Document id=\"root_doc\">\n", kFim = "</Folder>\n</Document></kml>\n";
    const std::string szPasta = "<Folder><name>" + szCamada + "</name>\n";
    VSIStatBufL stStat;
    VSILFILE* pArquivo = VSIFOpenL(szArquivo.c_str(), "rb");
    if (pArquivo == nullptr || VSIStatL(szArquivo.c_str(), &stStat) != 0)
        return pArquivo != nullptr && VSIFCloseL(pArquivo) != 0;
    // The schema sits in the document's first lines; the closing tags are its last bytes.
    std::string szInicio(std::min<vsi_l_offset>(stStat.st_size, 1 << 16), '\0');
    std::string szFinal(kFim.size(), '\0');
    const bool bLido = VSIFReadL(szInicio.data(), 1, szInicio.size(), pArquivo) == szInicio.size() &&
                       static_cast<std::size_t>(stStat.st_size) >= szFinal.size() &&
                       VSIFSeekL(pArquivo, stStat.st_size - szFinal.size(), SEEK_SET) == 0 &&
                       VSIFReadL(szFinal.data(), 1, szFinal.size(), pArquivo) == szFinal.size();
    VSIFCloseL(pArquivo);
    const std::size_t posAbertura = szInicio.find(kAbertura);
    const std::size_t posPasta = szInicio.find(szPasta);
    if (!bLido || szFinal != kFim || posAbertura == std::string::npos || posPasta == std::string::npos ||
        posPasta < posAbertura)
        return false;
    pstDoc->szEsquema = szInicio.substr(posAbertura + kAbertura.size(), posPasta - posAbertura - kAbertura.size());
    pstDoc->inicioMarcas = posPasta + szPasta.size();
    pstDoc->fimMarcas = stStat.st_size - kFim.size();
    return true;
}

// Appends bytes [inicio, fim) of a file to an open output.
bool CopiarTrecho(const std::string& szOrigem, vsi_l_offset inicio, vsi_l_offset fim, VSILFILE* pSaida)
{
    VSILFILE* pEntrada = VSIFOpenL(szOrigem.c_str(), "rb");
    bool bOk = pEntrada != nullptr && VSIFSeekL(pEntrada, inicio, SEEK_SET) == 0;
    std::vector<char> vBloco(1 << 20);
    for (vsi_l_offset resta = fim - inicio; bOk && resta > 0;)
    {
        const std::size_t n = static_cast<std::size_t>(std::min<vsi_l_offset>(resta, vBloco.size()));
        bOk = VSIFReadL(vBloco.data(), 1, n, pEntrada) == n && VSIFWriteL(vBloco.data(), 1, n, pSaida) == n;
        resta -= n;
    }
    if (pEntrada != nullptr)
        VSIFCloseL(pEntrada);
    return bOk;
}

// The KMZ: one doc.kml with a document per layer holding its schema and its placemarks, the layout
// GDAL's LIBKML driver reads back with typed fields from a KMZ (a folder per layer, or the schemas at
// the top, lose them), deflated through GDAL's /vsizip/ writer.
bool MontarKmz(ST_DestinoExportacao* pstDestino)
{
    const std::string szDestino = exportacao_NomesSaida(pstDestino->szBase, pstDestino->iFormato).front();
    const std::string szZip = (fs::path(pstDestino->szPasta) / fs::path(szDestino).filename()).string();
    pstDestino->vArquivos.push_back(szZip);
    pstDestino->vDestinos.push_back(szDestino);

    std::vector<std::string> vArquivos;
    std::vector<ST_DocumentoCamada> vDocs(pstDestino->vCamadasKmz.size());
    const std::string szCabecalho = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
                                    "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document id=\"root_doc\">\n";
    bool bOk = true;
    for (std::size_t i = 0; bOk && i < vDocs.size(); i++)
    {
        vArquivos.push_back((fs::path(pstDestino->szPasta) / "layers" / (pstDestino->vCamadasKmz[i] + ".kml")).string());
        bOk = LerDocumentoCamada(vArquivos.back(), pstDestino->vCamadasKmz[i], &vDocs[i]);
    }
    VSILFILE* pDoc = bOk ? VSIFOpenL(("/vsizip/" + szZip + "/doc.kml").c_str(), "wb") : nullptr;
    bOk = pDoc != nullptr && VSIFWriteL(szCabecalho.data(), 1, szCabecalho.size(), pDoc) == szCabecalho.size();
    for (std::size_t i = 0; bOk && i < vDocs.size(); i++)
    {
        const std::string& szCamada = pstDestino->vCamadasKmz[i];
        const std::string szAbre =
            "<Document id=\"camada_" + szCamada + "\"><name>" + szCamada + "</name>\n" + vDocs[i].szEsquema;
        bOk = VSIFWriteL(szAbre.data(), 1, szAbre.size(), pDoc) == szAbre.size() &&
              CopiarTrecho(vArquivos[i], vDocs[i].inicioMarcas, vDocs[i].fimMarcas, pDoc) &&
              VSIFWriteL("</Document>\n", 1, 12, pDoc) == 12;
    }
    constexpr std::string_view kFim = "</Document></kml>\n";
    bOk = bOk && VSIFWriteL(kFim.data(), 1, kFim.size(), pDoc) == kFim.size();
    if (pDoc != nullptr)
        bOk = VSIFCloseL(pDoc) == 0 && bOk;
    if (!bOk)
        Erro(&pstDestino->szErro, "não foi possível compactar " + szDestino);
    return bOk;
}

void RemoverPasta(ST_DestinoExportacao* pstDestino)
{
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
    if (!ec && fs::create_directory(stPasta.szTemporario, ec))
        pstDestino->szPasta = stPasta.szTemporario;
    if (pstDestino->szPasta.empty() ||
        (iFormato == D_EXPORTACAO_FORMATO_KMZ && !fs::create_directory(fs::path(pstDestino->szPasta) / "layers", ec)))
    {
        Erro(pszErro, "não foi possível criar a pasta de trabalho ao lado de " + szBase + " (" +
                          funcAux_DescreverErro(ec) + ")");
        RemoverPasta(pstDestino);
        return FALSE;
    }
    // A GeoPackage under construction is thrown away whole on failure: it needs neither a rollback
    // journal nor a sync per commit (a finished one is published like every other output).
    for (const char* pcOpcao : kOpcoesSqlite)
        CPLSetThreadLocalConfigOption(pcOpcao, "OFF");

    if (kFormatos[iFormato].bTodasCamadas && iFormato != D_EXPORTACAO_FORMATO_KMZ)
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
    if (pstDestino->iFormato == D_EXPORTACAO_FORMATO_KMZ)
    {
        ExportacaoDataset pDataset = CriarDataset(pstDestino, std::string("layers/") + pcNome + ".kml", "");
        if (!pDataset)
            return nullptr;
        pstDestino->vDatasets.push_back(std::move(pDataset));
        pstDestino->vCamadasKmz.push_back(pcNome);
    }
    else if (!stFormato.bTodasCamadas)
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
        // Features are filled by field position (after the driver's own fields, if any): a driver
        // that placed a field elsewhere is refused.
        if (pCamada->CreateField(&stCampo) != OGRERR_NONE ||
            pCamada->GetLayerDefn()->GetFieldIndex(pstCampos[i].pcNome) !=
                pCamada->GetLayerDefn()->GetFieldIndex(pstCampos[0].pcNome) + i)
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
    if (!FecharDatasets(pstDestino, true) ||
        (pstDestino->iFormato == D_EXPORTACAO_FORMATO_KMZ && !MontarKmz(pstDestino)))
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
