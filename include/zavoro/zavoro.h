// Navigation files (".nvg") recorded by the Zavoro console: the walk over their container,
// validation, point and configuration-block reading, and the date, duration and code-to-text helpers.
// The stored records themselves are in registrosNavegacao.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "zavoro/registrosNavegacao.h"
#include "zavoro/tipos.h"

// Buffer sizes for the text helpers (UTF-8 output, terminator included).
inline constexpr int D_ZAVORO_TAMANHO_STRING_DATA_HORA = 19;
inline constexpr int D_ZAVORO_TAMANHO_STRING_DURACAO = 32;
inline constexpr int D_ZAVORO_TAMANHO_STRING_CODIGO = 24;

inline constexpr double D_ZAVORO_RELACAO_PI_180 = 0.0174532925;
inline constexpr double D_ZAVORO_PI = 3.1415926535897932384626433832795;
inline constexpr double D_ZAVORO_TERRA_RAIO_EQUADOR = 6378137.0;

// ---------------------------------------------------------------------------------------------------
// Version tables and decoding
// ---------------------------------------------------------------------------------------------------

// Bytes of one configuration block of the event version; 0 for a version outside 1..9.
int zavoro_TamanhoConfiguracaoEvento(unsigned int uiVersaoArquivoEvento);
// Bytes of one stored track point of the event version; 0 for a version outside 1..9.
int zavoro_TamanhoPontoNVG(unsigned int uiVersaoArquivoEvento);
// Translates a stored operation code to the current numbering (events of version 8 or less).
std::uint8_t zavoro_TraduzirOperacao(std::uint8_t ucOperacaoArmazenada, unsigned int uiVersaoArquivoEvento);
// Applied quantity carried by a point, for a stage of the given (translated) operation.
std::uint32_t zavoro_CalcularQuantidadeAplicada(const ST_PontoNVG_v2* pstPontoNVG, std::uint8_t ucOperacao);

// ---------------------------------------------------------------------------------------------------
// Reading
// ---------------------------------------------------------------------------------------------------

// Reads one track point of the event version at the current position into the common in-memory
// point. *piBytesLidosLog receives the bytes actually read, also on a short read. Fields that the
// stored format lacks are left as they were (the rate channels 1..4 of the oldest format are zeroed).
BOOL zavoro_LerEstruturaLog(std::FILE* pfArquivoLeitura, ST_PontoNVG_v2* pstPontoNVG,
                            unsigned int uiVersaoArquivoEvento, int* piBytesLidosLog);

// The track points of one stage, read in blocks of many points rather than one read each. The reader
// never reads past the stage's last point: once every point was taken, the file stands where reading
// them one by one would have left it.
struct ST_LeitorPontosNVG
{
    std::FILE* pfArquivoLeitura = nullptr;
    std::size_t nTamanhoPonto = 0;       // bytes of one stored point; 0 for a version outside the table
    std::uint32_t ulPontosNoArquivo = 0; // points of the stage not yet read from the file
    std::vector<unsigned char> vBloco;
    std::size_t nPosicao = 0;
    std::size_t nFim = 0;
};
// Starts reading ulNumeroPontos points at the current position of pfArquivoLeitura.
void zavoro_IniciarLeitorPontos(ST_LeitorPontosNVG* pstLeitor, std::FILE* pfArquivoLeitura,
                                unsigned int uiVersaoArquivoEvento, std::uint32_t ulNumeroPontos);
// The next point, as zavoro_LerEstruturaLog fills it. FALSE when the file ends before it or every
// point of the stage was taken.
BOOL zavoro_LerProximoPonto(ST_LeitorPontosNVG* pstLeitor, ST_PontoNVG_v2* pstPontoNVG);

// Reads the configuration block of the event version at the current position into a cleared
// version-9 record: fields the version lacks read as zero. The operation is left as stored.
// *piBytesLidos (when given) receives the bytes read.
BOOL zavoro_LerConfiguracaoEvento(std::FILE* pfArquivoLeitura, unsigned int uiVersaoArquivoEvento,
                                  ST_EventoConfig_v9* pstConfig, int* piBytesLidos = nullptr);

// Text of a fixed 40-byte Windows-1252 field of a record, decoded to UTF-8 (up to its first zero
// byte, or the whole field when it holds none).
std::string zavoro_TextoCampo(const char* pcCampo, std::size_t tamanho = D_ZAVORO_TAMANHO_STRING);

// Where one guide or boundary entry lies in the file.
struct ST_EntradaNavegacao
{
    long long llInicio = 0;    // byte offset of the entry's length field
    std::int32_t iTamanho = 0; // bytes after the length field, the closing checksum byte included
    std::uint16_t usVersao = 0;
    long long llDados = 0;     // first byte after the record: where the entry's points begin
};

// A guide entry and its record. A version-1 record (48 bytes stored) reads the rest as zero and
// carries the field's guide type, having none of its own.
struct ST_GuiaNavegacao
{
    ST_EntradaNavegacao stEntrada;
    ST_Guia_v2 stGuia{};
};

struct ST_LimiteNavegacao
{
    ST_EntradaNavegacao stEntrada;
    ST_Limite_v1 stLimite{};
};

// The container of a navigation file as one walk finds it: the versions, the field record, every
// guide and boundary entry with its bounds and record, the event header as stored, and where the first
// stage starts. The walk checks what it needs to go on (versions, counts, lengths against the file,
// records against their entries); checksums and plausibility are validation's business.
struct ST_EstruturaNavegacao
{
    std::uint32_t uiVersaoArquivoNavegacao = 0;
    std::uint16_t usVersaoArquivoTalhao = 0;
    BOOL bTalhaoLido = FALSE; // stTalhao holds the field record (also when a later part failed)
    ST_Talhao stTalhao{};
    std::vector<ST_GuiaNavegacao> vGuias;     // in file order; those read before a failure stay
    std::vector<ST_LimiteNavegacao> vLimites; // container version 2
    std::uint16_t usVersaoArquivoEvento = 0;
    ST_EventoCabecalho stCabecalho{};
    long lPrimeiraEtapa = 0; // first configuration block
};

// Walks from the start of the file; leaves it at the first stage. FALSE (with the reason in pszErro,
// when given, worded as validation words it) at the first part that cannot be read, has a version
// this system does not know, or has a count or length that does not fit.
BOOL zavoro_PercorrerEstrutura(std::FILE* pfArquivoLeitura, ST_EstruturaNavegacao* pstEstrutura,
                               std::string* pszErro = nullptr);

// ---------------------------------------------------------------------------------------------------
// Validation
// ---------------------------------------------------------------------------------------------------

// Where in the file a check failed.
inline constexpr int D_ZAVORO_SECAO_ARQUIVO = 0;
inline constexpr int D_ZAVORO_SECAO_TALHAO = 1;
inline constexpr int D_ZAVORO_SECAO_GUIA = 2;
inline constexpr int D_ZAVORO_SECAO_LIMITE = 3;
inline constexpr int D_ZAVORO_SECAO_EVENTO = 4;
inline constexpr int D_ZAVORO_SECAO_ETAPA = 5;
inline constexpr int D_ZAVORO_SECAO_PONTO = 6;

// Why and where a navigation file was rejected. Entries are numbered from 1 as users count them;
// 0 means the check concerns the section as a whole.
struct ST_DiagnosticoValidacao
{
    BOOL bValido = TRUE;
    int iSecao = D_ZAVORO_SECAO_ARQUIVO;
    long lEntrada = 0;     // guide, boundary or stage number
    long lPonto = 0;       // point number inside the stage, for D_ZAVORO_SECAO_PONTO
    long long llPosicao = 0; // byte offset of the failing item
    std::string szMotivo;  // Portuguese, UTF-8
};

// Full-file validation: TRUE when every checksum, version, count, length and plausibility bound holds.
BOOL zavoro_ValidarArquivoNavegacao(const char* pcArquivo);
// Same walk, saying why and where the file was rejected.
BOOL zavoro_DiagnosticarArquivoNavegacao(const char* pcArquivo, ST_DiagnosticoValidacao* pstDiagnostico);
// The same for a file already open for binary reading, from its first byte (the position is left
// anywhere).
BOOL zavoro_DiagnosticarArquivoNavegacaoAberto(std::FILE* pfArquivoLeitura, ST_DiagnosticoValidacao* pstDiagnostico);
// One Portuguese line for a rejected file: "guia 2 (byte 187): soma de verificação incorreta".
std::string zavoro_DescreverDiagnostico(const ST_DiagnosticoValidacao& stDiagnostico);

// Section validators: each starts at the section's length or count field. The first three leave the
// position at the start of the next part when they succeed. The diagnostic is optional.
BOOL zavoro_ValidarArquivoNavegacaoTalhao(std::FILE* pfArquivoLeitura,
                                          ST_DiagnosticoValidacao* pstDiagnostico = nullptr);
BOOL zavoro_ValidarArquivoNavegacaoGuia(std::FILE* pfArquivoLeitura,
                                        ST_DiagnosticoValidacao* pstDiagnostico = nullptr);
BOOL zavoro_ValidarArquivoNavegacaoLimite(std::FILE* pfArquivoLeitura,
                                          ST_DiagnosticoValidacao* pstDiagnostico = nullptr);
BOOL zavoro_ValidarArquivoNavegacaoEvento(std::FILE* pfArquivoLeitura,
                                          ST_DiagnosticoValidacao* pstDiagnostico = nullptr);

// ---------------------------------------------------------------------------------------------------
// Dates, durations, distances and code texts. The text functions write UTF-8 with a terminator into
// the caller's buffer (sizes D_ZAVORO_TAMANHO_STRING_*); callers append by passing the end of a text.
// ---------------------------------------------------------------------------------------------------

void zavoro_RetornarStringDataHora(unsigned int ulDataHora, char* cStringDataHora);
void zavoro_RetornarStringHoraMinutoSegundo(unsigned int ulHoraMinSeg, char* pcStringHoraMinSeg);
void zavoro_RetornarStringTipoValvula(unsigned char ucTipoValvula, char* pcString);
void zavoro_RetornarStringTipoOperacao(unsigned char ucTipoOperacao, char* pcString);
void zavoro_RetornarStringTipoComandoPiloto(unsigned char ucTipoComando, char* pcString);
void zavoro_RetornarStringFatorHidraulico(unsigned char ucFatorHidraulico, char* pcString);
void zavoro_RetornarStringTipoGuia(unsigned char ucTipoGuia, char* pcString);

// Calendar fields of a console time stamp; the year is counted from 2000 (0 = 2000).
void zavoro_CalcularDataHoraSegundos(unsigned int ulSegundosDataHora, long int* plDia, long int* plMes,
                                     long int* plAno, long int* plHora, long int* plMinuto,
                                     long int* plSegundo);
float zavoro_CalcularDistancia2Pontos(float fDeltaLon, float fDeltaLat);
