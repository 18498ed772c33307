// Shapefile sets: the coverage of every map written as .shp/.shx/.dbf (with a .prj), and the reading
// of a recommendation set (and of our own coverage sets) for the map viewer. Drawing a set is in
// desenhoMapa.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "zavoro/cobertura.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/legenda.h"
#include "zavoro/tipos.h"

// ---------------------------------------------------------------------------------------------------
// Writing the coverage set
// ---------------------------------------------------------------------------------------------------

inline constexpr std::uint32_t D_SHPFILE_CODIGO_ARQUIVO = 9994;
inline constexpr std::uint32_t D_SHPFILE_VERSAO = 1000;
inline constexpr std::uint32_t D_SHPFILE_TIPO_POLIGONO = 5;
inline constexpr std::uint32_t D_SHPFILE_TAMANHO_CABECALHO_SHP = 100;
inline constexpr int D_SHPFILE_TAMANHO_CABECALHO_DBF = 97;
inline constexpr int D_SHPFILE_TAMANHO_REGISTRO_DBF = 19;
inline constexpr unsigned char D_SHPFILE_FIM_ARQUIVO_DBF = 0x1A;
// Largest number a 9-character "N" field with two decimals holds.
inline constexpr unsigned int D_SHPFILE_VALOR_MAXIMO_DBF = 999999;
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

// The four files of a set.
struct ST_ArquivosShp
{
    std::string szShp;
    std::string szShx;
    std::string szDbf;
    std::string szPrj;
};

// Names of the set of a KML map: the path's last three characters replaced by "shp", "shx", "dbf"
// and "prj". FALSE for a path of fewer than four characters.
BOOL shpFile_NomesArquivosShp(const std::string& szArquivoKml, ST_ArquivosShp* pstArquivos);

// Writes the coverage of a map (iTipoMapa 1, 2 or 3) as a shapefile set beside szArquivoKml: the
// coverage walk by the length rules (cobertura.h), one record per ring with its polygon's mean value,
// in WGS 84 longitude/latitude. The input stands at the first configuration block of the event
// section. Without pstPendente the set replaces its targets at once; with it, the complete set is
// left there for the caller to publish with its other outputs (funcAux_PublicarArquivosSaida) or to
// drop (shpFile_DescartarConjuntoShp). On failure nothing is
// left behind and an earlier set of the same name is untouched; pszErro (when given) receives the
// reason.
BOOL shpFile_GerarArquivosShp(std::FILE* pfArquivoNVGLeitura, const std::string& szArquivoKml,
                              unsigned short usVersaoArquivoEvento, unsigned int uiNumConfiguracoes, int iTipoMapa,
                              double dZeroRelativoLon, double dZeroRelativoLat,
                              ST_ConjuntoShpSaida* pstPendente = nullptr, std::string* pszErro = nullptr);
// The same writing in three steps, for a driver that walks the track once for several writers:
// shpFile_AbrirEscritaShp opens the set's temporaries into a fresh record, shpFile_ReceptorShp's
// receiver goes to the walk (by the length cut), and shpFile_ConcluirEscritaShp finishes the set with
// how the walk ended (bPercursoOk), as shpFile_GerarArquivosShp would. Each step that fails leaves
// nothing behind and gives the reason; a record dropped unfinished removes its temporaries.
struct ST_EscritaShp
{
    ST_ConjuntoShpSaida stConjunto;
    std::string szShp; // named in the messages
    // Counted here, so that no record asks the system where its stream stands.
    std::uint64_t ulTamanhoShp = D_SHPFILE_TAMANHO_CABECALHO_SHP;
    std::uint64_t ulTamanhoShx = D_SHPFILE_TAMANHO_CABECALHO_SHP;
    std::vector<unsigned char> vRegistro; // the record being composed, reused
    unsigned int uiNumPoligonos = 1;      // number of the next record
    double dBox[4] = {D_SHPFILE_BOX_VAZIO, D_SHPFILE_BOX_VAZIO, -D_SHPFILE_BOX_VAZIO, -D_SHPFILE_BOX_VAZIO};
    int iErro = 0; // errno of the write that stopped the walk

    ST_EscritaShp() = default;
    ST_EscritaShp(const ST_EscritaShp&) = delete;
    ST_EscritaShp& operator=(const ST_EscritaShp&) = delete;
    ~ST_EscritaShp();
};
BOOL shpFile_AbrirEscritaShp(const std::string& szArquivoKml, int iTipoMapa, ST_EscritaShp* pstEscrita,
                             std::string* pszErro = nullptr);
ST_ReceptorCobertura shpFile_ReceptorShp(ST_EscritaShp* pstEscrita);
BOOL shpFile_ConcluirEscritaShp(ST_EscritaShp* pstEscrita, BOOL bPercursoOk, ST_ConjuntoShpSaida* pstPendente = nullptr,
                                std::string* pszErro = nullptr);
// Publishes a complete set as one unit (funcAux_PublicarArquivosSaida): FALSE when any file could not
// be finished or renamed; then the earlier set is whole and none of the new files is left.
BOOL shpFile_ConcluirConjuntoShp(ST_ConjuntoShpSaida* pstConjunto, std::string* pszErro = nullptr);
// Removes the temporaries of a set; safe on an empty or finished record.
void shpFile_DescartarConjuntoShp(ST_ConjuntoShpSaida* pstConjunto);

// ---------------------------------------------------------------------------------------------------
// Reading sets for display
// ---------------------------------------------------------------------------------------------------

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

// Content lengths (bytes) of a polygon record accepted when counting: one ring of three points up to
// 1 MiB. Drawing accepts from 50.
inline constexpr std::uint32_t D_SHPFILE_TAMANHO_MIN_POLIGONO = 96;
inline constexpr std::uint32_t D_SHPFILE_TAMANHO_MIN_POLIGONO_DESENHO = 50;
inline constexpr std::uint32_t D_SHPFILE_TAMANHO_MAX_POLIGONO = 1048576;
// Most descriptors a table may have: as many as a 16-bit header length can describe.
inline constexpr std::size_t D_SHPFILE_MAX_CAMPOS_DBF = (65535 - 33) / 32;
inline constexpr std::uint32_t D_SHPFILE_NUM_LINHAS_LEGENDA = D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP;
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
