// As-applied data for GIS: the coverage, the track, the stages, the marks, guides and boundaries of a
// navigation file as a GeoPackage, GeoJSON, CSV, KMZ or FlatGeobuf dataset, written through GDAL.
// This header carries no GDAL type: the command includes it whether or not the module was built.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "zavoro/tipos.h"

inline constexpr int D_EXPORTACAO_FORMATO_GPKG = 0;
inline constexpr int D_EXPORTACAO_FORMATO_GEOJSON = 1;
inline constexpr int D_EXPORTACAO_FORMATO_CSV = 2;
inline constexpr int D_EXPORTACAO_FORMATO_KMZ = 3;
inline constexpr int D_EXPORTACAO_FORMATO_FGB = 4;

// Layer names, in the order they are written.
inline constexpr const char* D_EXPORTACAO_CAMADAS[] = {"cobertura", "rastro", "etapas", "eventos", "guias", "limites"};

// The format of a --formato name ("gpkg", "geojson", "csv", "kmz", "fgb"); FALSE for another name.
BOOL exportacao_FormatoPorNome(std::string_view szNome, int* piFormato);

// The files one export writes for the output base szBase (the input's path without its extension):
// "campo_Exportacao.gpkg" / ".kmz" for the formats that hold every layer, else one file per layer,
// "campo_cobertura.geojson", "campo_rastro.geojson"...
std::vector<std::string> exportacao_NomesSaida(const std::string& szBase, int iFormato);

// Exports a validated navigation file. Every file is written under a temporary name in the target
// folder and the set is published as one unit: on failure (FALSE, the reason in pszErro) nothing is
// left and earlier files of the same names stay as they were.
BOOL exportacao_ExportarArquivo(const char* pcArquivoLeitura, const std::string& szBase, int iFormato,
                                std::string* pszErro = nullptr);
