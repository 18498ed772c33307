// Navigation files for tests, benchmarks and the sample generator. A builder is plain data: fill the
// records, then construir() (in memory) or gravar() (streamed to disk). Counts, lengths and checksums
// follow the data; every value a file may lie about has an override (the *Gravado fields, Corrupcao).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "zavoro/zavoro.h"

namespace zavoro_teste
{

// 01/01/2026 - 00:00 in console seconds; far above the plausibility floor of the validator.
inline constexpr std::uint32_t D_TESTE_DATA_HORA_2026 = 820627200;

// Stores a UTF-8 text as Windows-1252 with its terminator; throws std::invalid_argument when it
// does not fit (39 bytes at most) or cannot be encoded.
void texto(char (&campo)[D_ZAVORO_TAMANHO_STRING], std::string_view szUtf8);
// Fills all 40 bytes with 'X': a text with no terminator inside its field.
inline void textoSemTerminador(char (&campo)[D_ZAVORO_TAMANHO_STRING]) { std::memset(campo, 'X', sizeof campo); }

// One stage: its configuration block and the points logged under it.
struct Etapa
{
    // Version-9 record; an older event writes only its first zavoro_TamanhoConfiguracaoEvento(version)
    // bytes. ucPosicaoDropPoint (version 4) and fSobreposicaoImplemento (5) land in the older padding.
    ST_EventoConfig_v9 stConfig{};
    // In-memory points, written in the point format of the event version (for versions 1..3 only
    // usTaxaLida[0] is kept; for 1..7 fPressao and fTemperatura are dropped).
    std::vector<ST_PontoNVG_v2> pontos;
    // Instead of pontos: ulPontosGerados points made one at a time while writing (a million streamed).
    std::function<ST_PontoNVG_v2(std::uint32_t)> gerador;
    std::uint32_t ulPontosGerados = 0;
    // ulNumeroPontosRastro as stored; by default the number of points written.
    std::optional<std::uint32_t> numeroPontosGravado;
    // Operation in the current numbering, stored in the event version's; "ucOperacao" by name overrides.
    std::optional<std::uint8_t> ucOperacaoAtual;

    // Sets one element by name ("usTamanhoSeccao[3]", "stProdutoUtilizadoPulv[1].usDoseAtual",
    // "szOperador"); texts in UTF-8, stored as Windows-1252. A bad name, index or value throws
    // std::invalid_argument.
    template <typename T>
        requires std::is_arithmetic_v<T> && (!std::is_same_v<T, bool>)
    Etapa& campo(std::string_view szNome, T valor)
    {
        return campoNumero(szNome, static_cast<long double>(valor), std::is_floating_point_v<T>);
    }
    Etapa& campo(std::string_view szNome, std::string_view szUtf8) { return campoTexto(szNome, szUtf8); }
    // Raw bytes into a field, rest zeroed, no terminator: 40 non-zero bytes make an unterminated text.
    Etapa& campoBruto(std::string_view szNome, std::string_view bytes);
    Etapa& operacao(std::uint8_t ucOperacao) { ucOperacaoAtual = ucOperacao; return *this; }

    std::uint32_t numeroPontos() const { return gerador ? ulPontosGerados : static_cast<std::uint32_t>(pontos.size()); }

private:
    Etapa& campoNumero(std::string_view szNome, long double ldValor, bool bFracionario);
    Etapa& campoTexto(std::string_view szNome, std::string_view szUtf8);
};

// One curve of a version-3 guide.
struct Curva
{
    std::vector<ST_PontosCurva> pontos;
    std::optional<std::uint16_t> contagemGravada; // the u16 before the points; default pontos.size()
};

struct Guia
{
    std::uint16_t usVersao = 2;                   // layout: 1 (48-byte record), 2 or 3
    std::optional<std::uint16_t> versaoGravada;   // stored version when it must differ from the layout
    ST_Guia_v2 stGuia{};                          // usNumeroPontosCurva is filled when written
    std::vector<ST_PontosCurva> pontosCurva;      // versions 1 and 2
    std::vector<Curva> curvas;                    // version 3
    std::optional<std::uint16_t> numeroPontosCurvaGravado; // default: points (1, 2) or curves (3)
    std::optional<std::int32_t> tamanhoGravado;   // iTamanhoArqGuia; default the real length
    // Bytes of the record written (48 or 56 by default): fewer cut it, more pad it with zeros.
    std::optional<std::size_t> bytesRegistroGravados;
};

struct Limite
{
    std::uint16_t usVersao = 1;                   // stored; the layout is always version 1
    ST_Limite_v1 stLimite{};                      // usNumeroPontosLimite is filled when written
    std::vector<ST_PontosLimite> pontos;
    std::optional<std::uint16_t> numeroPontosGravado;
    std::optional<std::int32_t> tamanhoGravado;
    std::optional<std::size_t> bytesRegistroGravados; // of the 16-byte record, as for guides
};

enum class Secao { Arquivo, Talhao, Guia, Limite, Evento };

struct ChecksumErrado
{
    Secao eSecao;
    std::size_t indice = 0; // guide or boundary index (0-based); ignored for the other sections
};

// Faults applied while writing; every checksum not listed matches the bytes actually written.
struct Corrupcao
{
    std::vector<ChecksumErrado> checksumErrado;   // the listed checksum bytes are inverted
    // Bytes cut off the end; with corrigirChecksumArquivo cut before a correct file checksum instead.
    std::size_t truncarBytes = 0;
    bool corrigirChecksumArquivo = false;
    std::optional<std::uint32_t> versaoArquivo;   // stored container version; layout from uiVersaoArquivo
    std::optional<std::uint16_t> versaoEvento;    // stored event version; layout from usVersaoEvento
    std::optional<std::uint32_t> numeroGuias, numeroLimites, numeroConfiguracoes; // the last in the header
    std::optional<std::int32_t> tamanhoTalhao, tamanhoEvento;
    std::vector<std::uint8_t> bytesExtrasEvento;  // inside the event section after the last stage
    std::size_t bytesFaltandoEvento = 0;          // dropped from the end of the event section's content
    std::vector<std::uint8_t> bytesAposEvento;    // between the event section and the file checksum
};

// Where things landed, as byte offsets in the file before any truncation.
struct Layout
{
    std::size_t tamanhoArquivo = 0;           // size of the file as written
    std::size_t posNumeroGuias = 0;
    std::vector<std::size_t> posGuias;        // each iTamanhoArqGuia
    std::vector<std::size_t> posChecksumGuias;
    std::optional<std::size_t> posNumeroLimites; // absent for container version 1
    std::vector<std::size_t> posLimites;      // each iTamanhoArqLimite
    std::vector<std::size_t> posChecksumLimites;
    std::size_t posTamanhoEvento = 0;         // iTamanhoArqEvento
    std::size_t posCabecalhoEvento = 0;       // ST_EventoCabecalho, after the version
    std::vector<std::size_t> posEtapas;       // each configuration block
    std::vector<std::size_t> posPontos;       // each stage's first point (where it would be)
    std::size_t posChecksumEvento = 0, posChecksumArquivo = 0;
};

class NvgBuilder
{
public:
    std::uint32_t uiVersaoArquivo = D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES; // layout: 1 or 2
    std::uint16_t usVersaoTalhao = D_ZAVORO_VERSAO_ARQUIVO_TALHAO;                 // stored
    ST_Talhao stTalhao{};
    std::vector<Guia> guias;
    std::vector<Limite> limites;                  // written only by container version 2
    std::uint16_t usVersaoEvento = D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO;         // layout: 1..9
    ST_EventoCabecalho stCabecalho{};             // ulNumConfiguracoes is filled when written
    std::optional<std::uint8_t> ucUltOperacaoAtual; // header operation, current numbering
    std::vector<Etapa> etapas;
    Corrupcao corrupcao;

    // Plausible 2026 field and event header; no guides, boundaries or stages.
    NvgBuilder();
    // A valid file: one spraying stage of typical points, header times and totals matching them.
    static NvgBuilder tipico(std::uint16_t usVersaoEvento = D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO,
                             std::uint32_t ulNumeroPontos = 10);

    NvgBuilder& operacao(std::uint8_t ucOperacao) { ucUltOperacaoAtual = ucOperacao; return *this; }

    // The whole file in memory; a layout version no file can have throws std::invalid_argument.
    std::vector<std::uint8_t> construir(Layout* pstLayout = nullptr) const;
    // The same bytes streamed to a file; throws std::runtime_error when it cannot be written.
    Layout gravar(const std::filesystem::path& caminho) const;
    // Offsets only; generators are not called.
    Layout layout() const;
};

// Point i of a pass east at 15 km/h, one a second from 08:00 of 02/03/2026, spraying 150 L/ha
// (stored in tenths) with nine sections on.
ST_PontoNVG_v2 pontoTipico(std::uint32_t ulIndice);
// A spraying stage of nine 300 cm sections holding ulNumeroPontos typical points from ulPrimeiroIndice.
Etapa etapaTipica(std::uint32_t ulNumeroPontos, std::uint32_t ulPrimeiroIndice = 0);
// Point i of turn-heavy driving with the 27 m boom, in blocks of ulPontosPorManobra points that lie
// apart and start with the sections off, taking turns: U-turns at headlands 12 m apart, zig-zags of
// 100-degree turns, a pivot circle of 5 m radius, the track reversing on itself, every point logged
// three times with a wandering heading, 1 m steps along a curve. Speed and rate change as it goes.
ST_PontoNVG_v2 pontoManobra(std::uint32_t ulIndice, std::uint32_t ulPontosPorManobra = 200);
// A typical spraying stage whose ulNumeroPontos points are pontoManobra's, made while writing.
Etapa etapaManobras(std::uint32_t ulNumeroPontos, std::uint32_t ulPontosPorManobra = 200);

using ArquivoTemporario = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
// An anonymous temporary file holding the bytes, positioned at pos.
ArquivoTemporario arquivoTemporario(const std::vector<std::uint8_t>& vBytes = {}, std::size_t pos = 0);
// Everything written to the file up to its current position.
std::string conteudo(std::FILE* pf);
// The builder's file positioned at its first stage, as the converters get it after the event header.
struct EventoAberto
{
    ArquivoTemporario pf;
    ST_EventoCabecalho stCabecalho;
};
EventoAberto abrirEvento(const NvgBuilder& b);

} // namespace zavoro_teste
