// What the TaskData document says about one navigation file, gathered by the export's walks and
// written by taskData.cpp: the field, the implement as a device, the products and the task.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zavoro/isoxml.h"
#include "zavoro/zavoro.h"

// Process data of the time log (data dictionary numbers).
inline constexpr unsigned D_ISOXML_DDI_TAXA_VOLUME_ALVO = 1;      // mm³/m², 0.01
inline constexpr unsigned D_ISOXML_DDI_TAXA_VOLUME = 2;           // mm³/m², 0.01
inline constexpr unsigned D_ISOXML_DDI_TAXA_MASSA_ALVO = 6;       // mg/m²
inline constexpr unsigned D_ISOXML_DDI_TAXA_MASSA = 7;            // mg/m²
inline constexpr unsigned D_ISOXML_DDI_TAXA_CONTAGEM = 12;        // /m², 0.001
inline constexpr unsigned D_ISOXML_DDI_LARGURA_TRABALHO = 67;     // mm
inline constexpr unsigned D_ISOXML_DDI_LARGURA_MAXIMA = 70;       // mm
inline constexpr unsigned D_ISOXML_DDI_VOLUME_TOTAL = 80;         // L
inline constexpr unsigned D_ISOXML_DDI_MASSA_TOTAL = 81;          // kg
inline constexpr unsigned D_ISOXML_DDI_CONTAGEM_TOTAL = 82;       // count
inline constexpr unsigned D_ISOXML_DDI_PRODUTIVIDADE_MASSA = 84;  // mg/m²
inline constexpr unsigned D_ISOXML_DDI_COLHEITA_MASSA_TOTAL = 90; // kg
inline constexpr unsigned D_ISOXML_DDI_AREA_TOTAL = 116;          // m²
inline constexpr unsigned D_ISOXML_DDI_DISTANCIA_EFETIVA = 117;   // mm
inline constexpr unsigned D_ISOXML_DDI_TEMPO_EFETIVO = 119;       // s
inline constexpr unsigned D_ISOXML_DDI_DESLOCAMENTO_X = 134;      // mm
inline constexpr unsigned D_ISOXML_DDI_DESLOCAMENTO_Y = 135;      // mm
inline constexpr unsigned D_ISOXML_DDI_ESTADO_SECOES = 161;       // 2 bits a section, 1..16
inline constexpr unsigned D_ISOXML_DDI_VELOCIDADE = 397;          // mm/s

// The sections of a stage as the device describes them: widths in millimetres, left to right.
struct ST_ImplementoIsoxml
{
    std::string szMaquina;
    std::uint32_t ulLarguraMm = 0;
    std::vector<std::uint32_t> vSecoesMm;
};

struct ST_ArquivoIsoxml
{
    int iIndice = 1; // 1-based: the numbers of its element identifiers
    ST_EstruturaNavegacao stEstrutura;
    ST_EventoConfig_v9 stConfig{}; // first stage (console identity), zero when there is none
    ST_ImplementoIsoxml stImplemento;
    std::vector<std::string> vProdutos;
    std::string szCultura;
    ST_TarefaIsoxml stTarefa;           // the time log's figures; its DDIs in record order
    std::vector<double> vTotais;        // the last record's value of each DDI, as stored
    std::uint32_t ulDetDispositivo = 0; // DET number of the implement (its process data hangs there)
};

// The sections of a stage: the operation's section table, or one section as wide as the implement.
ST_ImplementoIsoxml isoxml_Implemento(const ST_EventoConfig_v9& stConfig, std::uint8_t ucOperacao,
                                      unsigned short usVersaoArquivoEvento);
// Section mask of a point as the operation keeps it (a fertiliser point's high byte is quantity).
std::uint16_t isoxml_MascaraSecoes(const ST_PontoNVG_v2& stPonto, std::uint8_t ucOperacao);
// "2026-03-02T08:00:00", the console's clock as it is.
std::string isoxml_TextoDataHora(std::uint32_t ulDataHora);
// Degrees of a relative position; FALSE when it is no position.
bool isoxml_PosicaoAbsoluta(float fLonRel, float fLatRel, const ST_Talhao& stTalhao, double* pdLat,
                            double* pdLon);

// TLGnnnnn.XML: the record layout of the time log.
std::string isoxml_XmlCabecalhoTimeLog(const ST_ArquivoIsoxml& stArquivo, int iVersao);
// The document's elements of one file (partfield with boundaries and guides, crop, products, device,
// task), each kind apart so that the document lists them in its order. Guides and boundaries are read
// from pf.
struct ST_XmlArquivoIsoxml
{
    std::string szCultura, szDispositivo, szProdutos, szTalhao, szTarefa;
};
// Identifiers are the tag, '-' and a number counted over the whole document (made by the machine's
// side, so negative); the counters of the kinds a file can have several of run across files.
struct ST_NumeracaoIsoxml
{
    int iPln = 0, iLsg = 0, iGgp = 0, iGpn = 0, iPdt = 0;
};
bool isoxml_XmlArquivo(std::FILE* pf, ST_ArquivoIsoxml& stArquivo, int iVersao, ST_NumeracaoIsoxml& stIds,
                       ST_XmlArquivoIsoxml* pstXml);
// The whole TASKDATA.XML around the files' elements.
std::string isoxml_XmlDocumento(const std::vector<ST_XmlArquivoIsoxml>& vArquivos, int iVersao);

// The export; bValidar false takes the files as they are (the fuzz target's way in: the writer must
// hold on bytes that validation would have refused).
bool isoxml_ExportarSemValidar(const std::vector<std::string>& vArquivos, const std::string& szDestino,
                               const ST_OpcoesIsoxml& stOpcoes, ST_ResultadoIsoxml* pstResultado,
                               bool bValidar);
