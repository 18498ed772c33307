// Shapefile sets: the coverage of every map written as .shp/.shx/.dbf (with a .prj), and the reading
// of a recommendation set (and of our own coverage sets) for the map viewer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zavoro/conversor.h"
#include "zavoro/tipos.h"

// ---------------------------------------------------------------------------------------------------
// Writing the coverage set
// ---------------------------------------------------------------------------------------------------

#include "zavoro/funcoesAuxiliares.h"

struct ST_DesenhoPoligono;
struct ST_CoordenadaKml;

inline constexpr int D_SHPFILE_TAMANHO_CABECALHO_DBF = 97;
inline constexpr int D_SHPFILE_TAMANHO_REGISTRO_DBF = 19;
inline constexpr unsigned char D_SHPFILE_FIM_ARQUIVO_DBF = 0x1A;
// Largest number a 9-character "N" field with two decimals holds.
inline constexpr unsigned int D_SHPFILE_VALOR_MAXIMO_DBF = 999999;
// Most track points one record chains.
inline constexpr int D_SHPFILE_MAXIMO_PONTOS_POLIGONO = 1000;
// Track length after which a record is cut, metres; irrigation pivots draw long arcs.
inline constexpr double D_SHPFILE_COMPRIMENTO_POLIGONO = 40.0;
inline constexpr double D_SHPFILE_COMPRIMENTO_POLIGONO_IRRIGACAO = 4000.0;
// The box of a set without records.
inline constexpr double D_SHPFILE_BOX_VAZIO = 1000000.0;
inline constexpr const char* D_SHPFILE_PRJ_WGS84 =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
    "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";

// A set being written: temporaries beside the four targets, renamed over them together.
struct ST_ConjuntoShpSaida
{
    ST_ArquivoSaida stShp;
    ST_ArquivoSaida stShx;
    ST_ArquivoSaida stDbf;
    ST_ArquivoSaida stPrj;
};

// Names of the set of a KML map: the path's last three characters replaced by "shp", "shx", "dbf"
// and "prj". FALSE for a path of fewer than four characters.
BOOL shpFile_NomesArquivosShp(const std::string& szArquivoKml, ST_ArquivosShp* pstArquivos);

// Writes the coverage of a map (iTipoMapa 1, 2 or 3) as a shapefile set beside szArquivoKml. The
// input stands at the first configuration block of the event section. Without pstPendente the set
// replaces its targets at once; with it, the complete set is left there for
// shpFile_ConcluirConjuntoShp or shpFile_DescartarConjuntoShp. On failure nothing is left behind and
// an earlier set of the same name is untouched; pszErro (when given) receives the reason.
BOOL shpFile_GerarArquivosShp(std::FILE* pfArquivoNVGLeitura, const std::string& szArquivoKml,
                              unsigned short usVersaoArquivoEvento, unsigned int uiNumConfiguracoes, int iTipoMapa,
                              double dZeroRelativoLon, double dZeroRelativoLat,
                              ST_ConjuntoShpSaida* pstPendente = nullptr, std::string* pszErro = nullptr);
// Renames a complete set over its targets. FALSE when any file could not be finished; then none of
// the new files is left (the set is removed whole rather than mixed with an earlier one).
BOOL shpFile_ConcluirConjuntoShp(ST_ConjuntoShpSaida* pstConjunto, std::string* pszErro = nullptr);
// Removes the temporaries of a set; safe on an empty or finished record.
void shpFile_DescartarConjuntoShp(ST_ConjuntoShpSaida* pstConjunto);

// Walks every stage from the current input position and appends the records: .shp and .shx after
// their headers, .dbf rows after its header. dBox (Xmin, Ymin, Xmax, Ymax) is widened by every record
// and *puiNumPoligonos counts up from its value by one per record. FALSE when a point or block cannot
// be read, a stage announces more than 1000000 points, or a record cannot be written.
BOOL conversor_GerarPoligonosShp(std::FILE* pfArquivoEscritaShp, std::FILE* pfArquivoEscritaDbf,
                                 std::FILE* pfArquivoEscritaShx, std::FILE* pfArquivoNVGLeitura,
                                 unsigned short usVersaoArquivoEvento, unsigned int uiNumConfiguracoes, int iTipoMapa,
                                 double dZeroRelativoLon, double dZeroRelativoLat, double* dBox,
                                 unsigned int* puiNumPoligonos);

// Appends one ring (iNumVertices vertices in degrees, not closed) as record uiNumPoligono: the .shp
// record, its .shx entry and its .dbf row with the value iFaixaLegendaAtual. The ring's box is left in
// the drawing's extent fields. FALSE when a write comes up short.
BOOL conversor_InserirPoligonoSHP(ST_DesenhoPoligono* pstDesenhoPoligono, const ST_CoordenadaKml* pstCoordenada,
                                  int iNumVertices, unsigned int uiNumPoligono);

// The 19-byte .dbf row: a space (not deleted), then number and value each as "%9.2f" would print them,
// right-aligned; numbers above 999999 are written as 999999.
void conversor_RetornarStringValorDbf(unsigned int uiNumPoligono, unsigned int uiValor, unsigned char* pcBuffer);

// Widens dBox (Xmin, Ymin, Xmax, Ymax) by the extent of the last ring written.
void conversor_AtualizarBoundingBox(const ST_DesenhoPoligono* pstDesenhoPoligono, double* dBox);

// ---------------------------------------------------------------------------------------------------
// Reading sets for display
// ---------------------------------------------------------------------------------------------------

#include <memory>

// One viewer map: map 1 the recommendation, map 2 the work done. Extent in degrees (x longitude,
// y latitude); uiParamSelecionado is the 0-based index of the drawn field in the table.
struct ST_ShpMapa
{
    double dLimiteXmin = 0.0;
    double dLimiteYmin = 0.0;
    double dLimiteXmax = 0.0;
    double dLimiteYmax = 0.0;
    std::uint32_t uiParamSelecionado = 0;
    std::string szNomeArqMapaShp;
    std::string szNomeArqMapaDbf;
};

// One field descriptor of a table as kept in memory. usPosicaoCampo is where the field starts in a
// record (after the deletion flag), worked out while the descriptors are read.
struct ST_ShpSubrecords
{
    std::uint8_t ucNomeSubrecord[11] = {};
    std::uint8_t ucTipo = 0;
    std::uint8_t ucTamanhoCampo = 0;
    std::uint8_t ucCasasDecimais = 0;
    std::uint16_t usPosicaoCampo = 0;
};

// What is kept of a table's header.
struct ST_ShpDadosDbf
{
    std::uint32_t ulNumRecords = 0;
    std::uint16_t usPosPrimeiroRecord = 0;
    std::uint16_t usTamanhoBytesRecord = 0;
};

// Header of one polygon record as read (ulTamBytesPoligono: content length in bytes).
struct ST_ShpPoligono
{
    double dBox[4] = {};
    std::uint32_t ulIndPoligono = 0;
    std::uint32_t ulTamBytesPoligono = 0;
    std::uint32_t ulTipoShape = 0;
    std::uint32_t ulNumParts = 0;
    std::uint32_t ulNumPtos = 0;
};

struct ST_ShpFilePto
{
    double dLongitude = 0.0;
    double dLatitude = 0.0;
};

// Where the readers' messages to the user go: the app shows a message box (OK and Cancel), the
// command prints. A missing callback drops the message. Texts are UTF-8.
struct ST_ShpPlataforma
{
    void* pContexto = nullptr;
    void (*pfMostrarMensagem)(void* pContexto, const char* pcTexto, const char* pcTitulo) = nullptr;
};

// The table stays open between shpFile_AbrirDbf and the last value read.
struct ST_ShpFecharArquivo
{
    void operator()(std::FILE* pf) const { std::fclose(pf); }
};
using ShpArquivoDbf = std::unique_ptr<std::FILE, ST_ShpFecharArquivo>;

inline constexpr std::uint32_t D_SHPFILE_CODIGO_ARQUIVO = 9994;
inline constexpr std::uint32_t D_SHPFILE_VERSAO = 1000;
inline constexpr std::uint32_t D_SHPFILE_TIPO_POLIGONO = 5;
inline constexpr std::uint32_t D_SHPFILE_TAMANHO_CABECALHO_SHP = 100;
// Content lengths (bytes) of a polygon record accepted when counting: one ring of three points up to
// 1 MiB. Drawing accepts from 50.
inline constexpr std::uint32_t D_SHPFILE_TAMANHO_MIN_POLIGONO = 96;
inline constexpr std::uint32_t D_SHPFILE_TAMANHO_MIN_POLIGONO_DESENHO = 50;
inline constexpr std::uint32_t D_SHPFILE_TAMANHO_MAX_POLIGONO = 1048576;
// Most descriptors a table may have: as many as a 16-bit header length can describe.
inline constexpr std::size_t D_SHPFILE_MAX_CAMPOS_DBF = (65535 - 33) / 32;
// Largest value a recommendation may hold.
inline constexpr double D_SHPFILE_VALOR_MAXIMO = 10000000.0;
inline constexpr std::uint32_t D_SHPFILE_NUM_LINHAS_LEGENDA = 13;
inline constexpr std::uint32_t D_SHPFILE_LIMITE_SUPERIOR_LEGENDA = 50000000;
inline constexpr char D_SHPFILE_TITULO_ERRO[] = "ERRO";

// Names of every field of szNomeArqMapaDbf, in table order (decoded from Windows-1252). TRUE when the
// descriptor list was read to its terminator, or when the table cannot be opened (names untouched).
BOOL shpFile_ListarParametrosMapaEntrada(const ST_ShpMapa* pstMapa, std::vector<std::string>* pvNomes);
// TRUE when the chosen field is numeric, every active record holds a readable value up to
// 10000000, and the .shp holds as many polygons as the table announces.
BOOL shpFile_AnalisarParametroMapaEntrada(const ST_ShpMapa* pstMapa);
// Polygon records of szNomeArqMapaShp (0 for a missing or malformed file).
long shpFile_RetornarNumPoligonosShp(const ST_ShpMapa* pstMapa);
// Opens the table for drawing and leaves it at the first record. A missing table is reported
// through pstPlataforma ("ERRO").
BOOL shpFile_AbrirDbf(const ST_ShpMapa* pstMapa, ST_ShpDadosDbf* pstShpDadosDbf,
                      std::vector<ST_ShpSubrecords>* pvShpSubrecords, ShpArquivoDbf* ppfArquivoLeitura,
                      unsigned int ulParamSelecionado, const ST_ShpPlataforma* pstPlataforma);
// Integer part of the chosen field of the next record; 0 for a deleted record. FALSE (and 0) on a
// short record or an unreadable field.
BOOL shpFile_LerProxValorDbf(const ST_ShpDadosDbf* pstShpDadosDbf, const std::vector<ST_ShpSubrecords>& vShpSubrecords,
                             std::FILE* pfArquivoLeitura, unsigned int ulParamSelecionado, unsigned int* pulValor);
// Thirteen rows from the largest value of the chosen field. Always TRUE.
BOOL shpFile_LegendaMapaEntrada(const char* pcArquivoDbf, ST_ShpLegenda* pstShpLegenda, unsigned int ulParamSelecionado);

// Reads a numeric field's text: one decimal kept, "," or "." as separator, spaces skipped. FALSE for
// any other character. *pulDecimos is the number times ten.
BOOL shpFile_LerNumeroTexto(const std::uint8_t* pucCampo, std::size_t tamanho, std::uint64_t* pulDecimos);
// The table beside a .shp: the file name's extension replaced by ".dbf" (appended when it has none).
std::string shpFile_CaminhoDbf(const std::string& szShp);

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
