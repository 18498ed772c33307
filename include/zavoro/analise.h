// Prescription against application: how much of each zone of a recommendation set the job covered,
// at what rate against the prescribed one, and for the field as a whole the ground covered, covered
// twice and missed. The geometry runs on GEOS inside the analysis module; nothing here carries a GEOS
// type, so the command and the window include it freely.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zavoro/desenhoMapa.h"
#include "zavoro/legenda.h"
#include "zavoro/shapeFile.h"
#include "zavoro/tipos.h"

// Shares of the covered area within these fractions of the prescription.
inline constexpr double D_ANALISE_TOLERANCIA_ESTREITA = 0.10;
inline constexpr double D_ANALISE_TOLERANCIA_LARGA = 0.20;
// Side of the square cells (metres) the union of the coverage is kept in: the memory of a cell
// follows the ground it covers, never the number of passes over it.
inline constexpr double D_ANALISE_LADO_CELULA = 200.0;
// Where the boundaries of the field came from.
inline constexpr int D_ANALISE_LIMITES_ARQUIVO = 1;     // the navigation file's boundaries
inline constexpr int D_ANALISE_LIMITES_RECOMENDACAO = 2; // none in the file: the zones' union

// A point in a local plane, metres east and north.
struct ST_PontoPlano
{
    double dX = 0.0;
    double dY = 0.0;
};
using AnelPlano = std::vector<ST_PontoPlano>; // not closed: the first point is not repeated

// The figures of one zone, or of the zones of one legend row. Areas in hectares. The applied value is
// the mean of the coverage polygons' values weighted by their area inside the zone (ground covered
// twice counts twice, as it got two doses); the shares within the tolerances use the same weights.
struct ST_FigurasZona
{
    std::uint32_t ulRegistro = 0; // record of the recommendation set, from 1 (0 for a legend row)
    int iZonas = 0;               // zones summed (1 for a zone)
    double dAreaZona = 0.0;
    double dAreaCoberta = 0.0;   // union of the coverage inside the zone
    double dPrescrito = 0.0;     // a row: the area-weighted mean of its zones
    double dAreaAplicada = 0.0;  // sum of the coverage areas inside the zone (the weights)
    double dSomaValorArea = 0.0; // sum of value x area
    double dAreaEstreita = 0.0;  // weights within ±10 %
    double dAreaLarga = 0.0;     // weights within ±20 %
};

// The derived figures of ST_FigurasZona. A figure with no base (no coverage, a zero prescription) is
// NaN, printed as "-".
double analise_PercentualCoberto(const ST_FigurasZona& st);
double analise_ValorAplicado(const ST_FigurasZona& st);
double analise_DesvioPercentual(const ST_FigurasZona& st);
double analise_PercentualEstreito(const ST_FigurasZona& st);
double analise_PercentualLargo(const ST_FigurasZona& st);

// Field totals, hectares.
struct ST_TotaisComparacao
{
    double dSomaCobertura = 0.0;  // every coverage polygon's area, summed
    double dAreaCoberta = 0.0;    // their union
    double dAreaSobreposta = 0.0; // sum minus union
    double dAreaLimites = 0.0;    // the field inside its boundaries
    double dAreaFalhada = 0.0;    // inside the boundaries, not covered
    double dAreaForaLimites = 0.0; // covered outside the boundaries
    double dAreaZonas = 0.0;       // the recommendation's zones, summed
    double dAreaCobertaZonas = 0.0; // covered inside zones, summed
    int iFonteLimites = D_ANALISE_LIMITES_RECOMENDACAO;
    long lPoligonos = 0; // coverage polygons taken
};
// Overlap as a share of the coverage summed (NaN without coverage).
double analise_PercentualSobreposicao(const ST_TotaisComparacao& st);

struct ST_ResultadoComparacao
{
    std::vector<ST_FigurasZona> vZonas; // one per record of the recommendation set that has an area
    ST_ShpLegenda stLegenda;            // the thirteen rows, from the recommendation
    ST_FigurasZona stLinhas[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP];
    ST_TotaisComparacao stTotais;
    std::vector<std::string> vAvisos; // what was wrong with the input and how it was taken
};

// ---------------------------------------------------------------------------------------------------
// The engine, in the plane: zones first, then boundaries and coverage in any order, then the figures.
// ---------------------------------------------------------------------------------------------------

struct ST_ComparacaoPlano;
struct ST_LiberarComparacao
{
    void operator()(ST_ComparacaoPlano* p) const;
};
using ComparacaoPlano = std::unique_ptr<ST_ComparacaoPlano, ST_LiberarComparacao>;

ComparacaoPlano analise_CriarComparacao();
// A zone: its rings (outer rings and holes, in any order and winding; a ring inside another is its
// hole) and the prescribed value. An invalid zone is repaired and said so; one without an area is
// left out and said so. FALSE once coverage was added.
BOOL analise_AdicionarZona(ST_ComparacaoPlano* pst, std::uint32_t ulRegistro, const std::vector<AnelPlano>& vAneis,
                           double dPrescrito);
// One boundary ring of the field.
void analise_AdicionarLimite(ST_ComparacaoPlano* pst, const AnelPlano& vAnel);
// One coverage polygon and its applied value. Spikes (the ring running out and straight back) are
// dropped; a ring that is not convex is checked and, when it crosses itself, repaired. FALSE when GEOS
// failed on it (reason in the warnings).
BOOL analise_AdicionarCobertura(ST_ComparacaoPlano* pst, const AnelPlano& vAnel, double dValor);
// Works the figures out; the engine may not be fed afterwards.
void analise_ConcluirComparacao(ST_ComparacaoPlano* pst, const ST_ShpLegenda& stLegenda,
                                ST_ResultadoComparacao* pstResultado);

// ---------------------------------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------------------------------

// Lambert azimuthal equal-area projection centred on (dLon0, dLat0), on the sphere of the WGS 84
// ellipsoid's curvature at the centre: areas near the centre are the ellipsoid's, and the sphere's
// areas are kept whatever the distance.
ST_PontoPlano analise_Projetar(double dLongitude, double dLatitude, double dLon0, double dLat0);

// Reads the zones of a recommendation set (stMapa: .shp, .dbf and the chosen field, whose tenths are
// kept) into the engine, projected around (dLon0, dLat0), one record at a time. Records that are no
// polygon, deleted rows and unreadable values are skipped and told in pvAvisos. FALSE with the reason
// when the table is missing, the field is not numeric or the .shp is damaged.
BOOL analise_LerZonas(const ST_ShpMapa& stMapa, double dLon0, double dLat0, ST_ComparacaoPlano* pstComparacao,
                      std::vector<std::string>* pvAvisos, std::string* pszErro);
// Whether this build compares at all (a build without GEOS has the calls, which say it does not).
bool analise_Disponivel();
// Compares a navigation file with a recommendation set (stMapa: .shp, .dbf and the chosen field).
// The coverage is the one the shapefile set and the export draw (coverage map, length cut), walked
// once; the plane is centred on the field's origin. FALSE with the reason in pszErro (file and cause,
// in Portuguese) when a file cannot be read, the field is not numeric, or the job and the
// recommendation do not meet.
BOOL analise_CompararArquivos(const char* pcArquivoNvg, const ST_ShpMapa& stMapa, ST_ResultadoComparacao* pstResultado,
                              std::string* pszErro);

// The field figures of a navigation file alone (no recommendation): area applied, covered, covered
// twice, and, when the file has boundaries, skipped inside and covered outside them
// (iFonteLimites D_ANALISE_LIMITES_ARQUIVO; without boundaries the field's area is 0).
BOOL analise_TotaisArquivo(const char* pcArquivoNvg, ST_TotaisComparacao* pstTotais, std::string* pszErro);

// ---------------------------------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------------------------------

// d with iCasas decimals and cSeparador before them, whatever the process locale ("-" for NaN).
std::string analise_Numero(double d, int iCasas, char cSeparador);
// The tables for the console: aligned columns, Portuguese, decimal comma.
std::string analise_TextoComparacao(const ST_ResultadoComparacao& st);
// The same figures as CSV: UTF-8, dot decimals, a header with units; zones, then legend rows, then
// totals, told apart by the first column.
std::string analise_CsvComparacao(const ST_ResultadoComparacao& st);
// Writes that CSV as szArquivo, replacing it only with a complete file. FALSE with the reason.
BOOL analise_GravarCsvComparacao(const std::string& szArquivo, const ST_ResultadoComparacao& st, std::string* pszErro);

// ---------------------------------------------------------------------------------------------------
// The difference map
// ---------------------------------------------------------------------------------------------------

inline constexpr int D_ANALISE_CLASSES_DIFERENCA = 10;
// Classes of applied minus prescribed, centred on zero: class i (0..9) holds [(i - 5) steps,
// (i - 4) steps); the first also everything below, the last everything above. The step is a round
// number (1, 2, 2.5 or 5 times a power of ten) that puts the largest difference within four steps.
double analise_PassoDiferenca(const ST_ResultadoComparacao& st);
int analise_ClasseDiferenca(double dDiferenca, double dPasso);
// Colours from blue (under) to red (over), pale near zero.
inline constexpr std::uint32_t D_ANALISE_CORES_DIFERENCA[D_ANALISE_CLASSES_DIFERENCA] = {
    0x053061, 0x2166AC, 0x4393C3, 0x92C5DE, 0xD1E5F0, 0xFDDBC7, 0xF4A582, 0xD6604D, 0xB2182B, 0x67001F};
// Draws the difference map on both pictures: the zones of the recommendation set szShp coloured by
// their class, a zone without coverage in the map's zero colour, on the extent of the last map 1 drawn.
BOOL analise_DesenharMapaDiferenca(const ST_VisualizadorMapas* pstVisualizador, const std::string& szShp,
                                   const ST_ResultadoComparacao& st, const ST_SuperficieDesenho* pstPainel,
                                   const ST_SuperficieDesenho* pstAmpliado);
