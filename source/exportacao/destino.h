// Where the layers of one export go: a GDAL dataset per file of the set, written inside a private
// work folder in the target folder and published with the core's output sets.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/tipos.h"

// A layer field: its name (10 characters at most, so that every format keeps it) and its type.
struct ST_CampoExportacao
{
    const char* pcNome;
    OGRFieldType eTipo;
};

struct ST_FecharDataset
{
    void operator()(GDALDataset* p) const { GDALClose(p); }
};
using ExportacaoDataset = std::unique_ptr<GDALDataset, ST_FecharDataset>;

struct ST_DestinoExportacao
{
    int iFormato = 0;
    std::string szBase;                  // target path without extension
    ST_ArquivoSaida stPasta;             // reserves the work folder's name
    std::string szPasta;                 // the work folder
    std::vector<ExportacaoDataset> vDatasets;
    std::vector<std::string> vArquivos;  // file of each dataset, inside the work folder
    std::vector<std::string> vDestinos;  // and its target
    std::vector<std::string> vCamadasKmz; // KMZ: the layers, each a document in layers/ until zipped
    OGRSpatialReference stSrs;
    std::string szErro;                  // first failure GDAL reported
};

// Reserves the work folder and, for the formats that hold every layer, creates the dataset.
BOOL exportacao_AbrirDestino(const std::string& szBase, int iFormato, ST_DestinoExportacao* pstDestino,
                             std::string* pszErro);
// A new layer (its own file for the one-layer formats); nullptr on failure.
OGRLayer* exportacao_CriarCamada(ST_DestinoExportacao* pstDestino, const char* pcNome, OGRwkbGeometryType eGeometria,
                                 const ST_CampoExportacao* pstCampos, int iNumCampos);
// Dataset metadata (kept by the formats that have a place for it).
void exportacao_DefinirMetadados(ST_DestinoExportacao* pstDestino, const std::vector<std::pair<std::string, std::string>>& vItens);
// Closes the datasets and publishes their files as one unit.
BOOL exportacao_ConcluirDestino(ST_DestinoExportacao* pstDestino, std::string* pszErro);
// Closes the datasets and removes everything written; targets are untouched.
void exportacao_DescartarDestino(ST_DestinoExportacao* pstDestino);
