// The map viewer's renderer: a recommendation set or a coverage set drawn onto a drawing surface
// that the caller fills (a QImage in the app and the command, a recorder in tests), with the legend
// strip of its thirteen rows.
#pragma once

#include <cstdint>
#include <string>

#include "zavoro/legenda.h"
#include "zavoro/shapeFile.h"
#include "zavoro/tipos.h"

// ---------------------------------------------------------------------------------------------------
// Drawing surfaces
// ---------------------------------------------------------------------------------------------------

// A picture the map renderer draws on, in integer pixels (x to the right, y down). Colours are
// 0x00RRGGBB. The desktop app and the command fill it over a QImage; tests may record or rasterise.
// Text is drawn with the viewer's font (12 px high, normal weight, a plain sans face).
struct ST_PontoTela
{
    int iX = 0;
    int iY = 0;
};

struct ST_SuperficieDesenho
{
    void* pContexto = nullptr;
    int iLargura = 0;
    int iAltura = 0;
    // Filled rectangle from (x0, y0) to (x1, y1), end exclusive, outlined by a 1-pixel pen.
    void (*pfRetangulo)(void* pContexto, int iX0, int iY0, int iX1, int iY1, std::uint32_t ulCorBorda,
                        std::uint32_t ulCorPreenchimento) = nullptr;
    // 1-pixel line from (x0, y0) to (x1, y1), end point excluded.
    void (*pfLinha)(void* pContexto, int iX0, int iY0, int iX1, int iY1, std::uint32_t ulCor) = nullptr;
    // Filled polygon (alternate filling) outlined by a 1-pixel pen.
    void (*pfPoligono)(void* pContexto, const ST_PontoTela* pstPontos, int iNumPontos, std::uint32_t ulCorCaneta,
                       std::uint32_t ulCorPincel) = nullptr;
    // UTF-8 text with its top-left corner at (x, y).
    void (*pfTexto)(void* pContexto, int iX, int iY, const char* pcTexto, std::uint32_t ulCor) = nullptr;
    // Width and height in pixels the text takes.
    void (*pfMedirTexto)(void* pContexto, const char* pcTexto, int* piLargura, int* piAltura) = nullptr;
};

// ---------------------------------------------------------------------------------------------------
// Map drawing
// ---------------------------------------------------------------------------------------------------

// Panel picture, its map box and legend strip; the enlarged picture is a square.
inline constexpr int D_SHPFILE_LARGURA_MAPA = 355, D_SHPFILE_ALTURA_MAPA = 335, D_SHPFILE_LADO_MAPA_MAX = 550;
// Metres per degree: 6378137 x pi / 180.
inline constexpr double D_SHPFILE_METROS_POR_GRAU = 111319.49079327357;
inline constexpr std::uint32_t D_SHPFILE_RGB_COR_FUNDO = 0xF5F5F5;
inline constexpr std::uint32_t D_SHPFILE_RGB_COR_BORDA = 0x646464;
inline constexpr std::uint32_t D_SHPFILE_RGB_COR_MAPA_CINZA = 0xE1E1E1; // value in no legend row
inline constexpr std::uint32_t D_SHPFILE_RGB_COR_VALOR_ZERO = 0xEBEBEB;
inline constexpr std::uint32_t D_SHPFILE_RGB_COR_TEXTO = 0x000000;
inline constexpr std::uint32_t D_SHPFILE_RGB_COR_TEXTO_ERRO = 0xFF0000;

// What the viewer keeps between drawings. Owned by its user (the window or a command), which fills
// the four surfaces before shpFile_InicializarVisualizacaoMapas; index 0 is map 1, index 1 map 2.
struct ST_VisualizadorMapas
{
    ST_ShpMapa gstMapa1, gstMapa2;
    ST_SuperficieDesenho stMapa[2];    // panel pictures 355 x 335 of map 1 and map 2 (filled by the owner)
    ST_SuperficieDesenho stMapaMax[2]; // enlarged pictures 550 x 550
    // Extent of the last map 1 drawn; all zero until one is (map 2 then keeps its own box).
    double gdLimiteXmin = 0, gdLimiteYmin = 0, gdLimiteXmax = 0, gdLimiteYmax = 0;
    ST_ShpLegenda gstShpLegendaMapa; // legend of the last map 1 drawn
    ST_ShpPlataforma stPlataforma;   // where the missing-table message goes
};

// A line of text centred across a panel picture, its top at iY.
void shpFile_EscreverTextoCentrado(const ST_SuperficieDesenho* pstSuperficie, int iY, const char* pcTexto,
                                   std::uint32_t ulCor);
// Draws the prompt on both panel pictures.
void shpFile_InicializarVisualizacaoMapas(ST_VisualizadorMapas* pstVisualizador);
// Forgets both maps, the extent and the legend; the surfaces stay with their owner.
void shpFile_LiberarMemoriaMapas(ST_VisualizadorMapas* pstVisualizador);
// Clears a panel picture and writes the prompt (iMsg 0) or the error (iMsg 1) of map iNumMapa
// (0 map 1, 1 map 2).
void shpFile_LimparVisualizacaoMapa(const ST_SuperficieDesenho* pstSuperficie, int iMsg, int iNumMapa);
// Checks and draws map iNumMapa into its two pictures; on failure the panel picture shows the error.
BOOL shpFile_DesenharMapa(ST_VisualizadorMapas* pstVisualizador, int iNumMapa);
// Draws one map into the pictures of iNumMapa. Map 1 publishes its legend and extent when drawn
// whole; map 2 is drawn with them.
BOOL shpFile_DesenharMapaEntrada2D(ST_VisualizadorMapas* pstVisualizador, ST_ShpMapa* pstMapa, int iNumMapa);
// Fill colour (0x00RRGGBB) of a polygon value under a legend.
std::uint32_t shpFile_DecidirCorPoligono(const ST_ShpLegenda* pstShpLegenda, unsigned int ulValor);
// Signed area (square metres) of the ring of points ulPtoPolInicio..ulPtoPolFim inclusive: positive
// when clockwise (an outer ring), negative when counter-clockwise (a hole).
float shpFile_CalcularAreaPoligono(const ST_ShpFilePto* pstPtoReferencia, const ST_ShpFilePto* pstShpPonto,
                                   unsigned int ulPtoPolInicio, unsigned int ulPtoPolFim);
// Fills the ring ulPtoPolInicio..ulPtoPolFim (the last point closes it and is not drawn) on a picture,
// after painting its background, frame and separator when bPrimeiroPoligono is set.
void shpFile_PreencherPoligonoMapa(const ST_ShpFilePto* pstPtoReferencia, const ST_ShpFilePto* pstShpPonto,
                                   float fRelacaoPixelMetroX, float fRelacaoPixelMetroY, unsigned int ulPtoPolInicio,
                                   unsigned int ulPtoPolFim, std::uint32_t ulCorPoligono, unsigned int ulOffsetX,
                                   unsigned int ulOffsetY, const ST_SuperficieDesenho* pstSuperficie,
                                   BOOL bPrimeiroPoligono, BOOL bMapaMax);
// Draws the legend strip (boxes, ticks, alternating labels) along the bottom of a picture.
void shpFile_ImprimirLegenda(const ST_ShpLegenda* pstLegenda, const ST_SuperficieDesenho* pstSuperficie, BOOL bMapaMax);
// Draws the legend strip with iLinhas boxes of the given colours, each labelled at its left edge.
void shpFile_ImprimirLegendaCores(const std::uint32_t* pulCores, const std::string* pszRotulos, int iLinhas,
                                  const ST_SuperficieDesenho* pstSuperficie, BOOL bMapaMax);

// A map coloured by its caller (the difference map): the colour of record n (from 1, every record of
// the .shp counted) and the legend strip's boxes.
struct ST_CoresMapa
{
    void* pContexto = nullptr;
    std::uint32_t (*pfCor)(void* pContexto, std::uint32_t ulRegistro) = nullptr;
    const std::uint32_t* pulCoresLegenda = nullptr;
    const std::string* pszRotulos = nullptr;
    int iLinhas = 0;
};
// Draws the polygons of szShp on both pictures, on the extent of the last map 1 drawn (its own box
// when none was), coloured by stCores, with its legend strip. FALSE for a malformed .shp.
BOOL shpFile_DesenharMapaCores(const ST_VisualizadorMapas* pstVisualizador, const std::string& szShp, const ST_CoresMapa& stCores,
                               const ST_SuperficieDesenho* pstPainel, const ST_SuperficieDesenho* pstAmpliado);
