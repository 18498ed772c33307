// The coverage's pieces, kept per square cell until the end of the job. The union of a cell is then
// built from all its pieces together, which needs every piece of the cell at hand; a job visits a cell again on every pass, so the pieces
// are held in a bounded buffer that, once full, is sorted by cell and written to a temporary file as a
// run. The end merges the runs and hands the pieces out cell by cell. Memory stays within the buffer
// and one read buffer per run, whatever the ground covered or the number of passes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "zavoro/analise.h"

// Bytes of pieces held in memory before a run is written.
inline constexpr std::size_t D_ANALISE_MEMORIA_PECAS = 4u << 20;

struct ST_TrechoPecas
{
    std::uint64_t ulInicio = 0; // bytes of the run in the temporary file
    std::uint64_t ulFim = 0;
};

struct ST_PecasCelulas
{
    std::size_t ulLimiteMemoria = D_ANALISE_MEMORIA_PECAS;
    // The pieces not yet written, as their records (cell, length, rings), and where each begins.
    std::vector<std::uint8_t> vDados;
    struct ST_Entrada
    {
        std::int64_t llCelula;
        std::size_t ulPosicao;
    };
    std::vector<ST_Entrada> vEntradas;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> pfTemporario{nullptr, std::fclose};
    std::vector<ST_TrechoPecas> vTrechos;
    std::uint64_t ulPecas = 0;
    bool bFalhaDisco = false; // the temporary file failed: the rest stays in memory
    bool bFalhaLeitura = false; // a run could not be read back whole
};

// Keeps a piece (its rings: the outer one first, then its holes, none closed) for cell llCelula.
void analise_GuardarPeca(ST_PecasCelulas* pst, std::int64_t llCelula, std::span<const AnelPlano> vAneis);
// Hands every piece out in cell order (pieces of one cell in the order they came), then empties the
// store. pfPeca gets the cell and the piece's rings, valid during the call only.
void analise_PercorrerPecas(ST_PecasCelulas* pst,
                            const std::function<void(std::int64_t llCelula, std::span<const AnelPlano> vAneis)>& pfPeca);
