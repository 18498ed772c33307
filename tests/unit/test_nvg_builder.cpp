// The fixture writer, where a fault of its own would hide behind a reader that shares the mistake:
// section lengths and checksums against an independent walk, block and point sizes of every event
// version against plain numbers, and the streamed writer against the in-memory one.
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace
{

using namespace zavoro_teste;
using Bytes = std::vector<std::uint8_t>;

// Configuration block and point sizes of event versions 1..9.
constexpr std::size_t kBloco[] = {0, 148, 216, 444, 744, 752, 752, 784, 1112, 1112};
constexpr std::size_t kPonto[] = {0, 32, 32, 32, 40, 40, 40, 40, 52, 52};

std::uint32_t Le32(const Bytes& b, std::size_t pos)
{
    std::uint32_t ul = 0;
    if (pos + 4 <= b.size())
        std::memcpy(&ul, b.data() + pos, 4);
    return ul;
}

std::uint8_t Xor(const Bytes& b, std::size_t de, std::size_t ate)
{
    std::uint8_t uc = 0;
    for (std::size_t i = de; i < ate; ++i)
        uc ^= b[i];
    return uc;
}

// Walks a file by its own counts and lengths, each section closed by the XOR of its content;
// returns where the event section's length lies.
std::size_t Percorrer(const Bytes& b)
{
    auto secao = [&](std::size_t pos) {
        const std::size_t fim = std::min<std::size_t>(pos + 4 + Le32(b, pos), b.size());
        EXPECT_EQ(Xor(b, pos + 4, fim - 1), b[fim - 1]) << "checksum da seção em " << pos;
        return fim;
    };
    EXPECT_EQ(Xor(b, 0, b.size() - 1), b.back()) << "checksum do arquivo";
    EXPECT_EQ(Le32(b, 4), 75u) << "tamanho do talhão";
    std::size_t pos = secao(4);
    // Guides, then boundaries in container version 2.
    for (int iLista = Le32(b, 0) == 2 ? 2 : 1; iLista > 0; --iLista)
    {
        const std::uint32_t ulNumero = Le32(b, pos);
        pos += 4;
        for (std::uint32_t i = 0; i < ulNumero && pos < b.size(); ++i)
            pos = secao(pos);
    }
    EXPECT_EQ(secao(pos), b.size() - 1) << "o evento termina antes do checksum do arquivo";
    return pos;
}

} // namespace

TEST(NvgBuilder, SecoesEVersoesConferemComUmPercursoIndependente)
{
    for (std::uint32_t uiContainer : {1u, 2u})
        for (std::uint16_t v = 1; v <= 9; ++v)
        {
            SCOPED_TRACE("contêiner " + std::to_string(uiContainer) + ", evento " + std::to_string(v));
            NvgBuilder b = NvgBuilder::tipico(v, 3);
            b.uiVersaoArquivo = uiContainer;
            b.etapas.push_back(etapaTipica(2, 3));
            Guia reta;
            reta.usVersao = 1;
            reta.pontosCurva = {{1, 2}, {3, 4}};
            Guia curva;
            curva.usVersao = 3;
            curva.curvas = {{{{0, 0}, {5, 5}}, {}}, {{{1, 1}}, {}}};
            b.guias = {reta, curva};
            Limite contorno;
            contorno.pontos = {{0, 0}, {100, 0}, {100, 100}};
            b.limites = {contorno, Limite{}};
            Layout L;
            const Bytes bytes = b.construir(&L);

            EXPECT_EQ(L.tamanhoArquivo, bytes.size());
            EXPECT_EQ(Percorrer(bytes), L.posTamanhoEvento);
            // A 48-byte version-1 record with its points; version 3 counts curves, each with its own count.
            EXPECT_EQ(Le32(bytes, L.posGuias[0]), 2u + 48 + 2 * 8 + 1);
            EXPECT_EQ(Le32(bytes, L.posGuias[1]), 2u + 56 + (2 + 2 * 8) + (2 + 8) + 1);
            EXPECT_EQ(Le32(bytes, L.posTamanhoEvento), 2 + 200 + 2 * kBloco[v] + 5 * kPonto[v] + 1);
            EXPECT_EQ(L.posPontos[0] - L.posEtapas[0], kBloco[v]);
            EXPECT_EQ(L.posEtapas[1] - L.posPontos[0], 3 * kPonto[v]);
        }
}

TEST(NvgBuilder, GravarComGeradorDaOsBytesDeConstruir)
{
    // Enough points to pass the file writer's buffer more than once.
    const NvgBuilder b = NvgBuilder::tipico(8, 30000);
    Layout L1;
    const Bytes emMemoria = b.construir(&L1);

    NvgBuilder g = b;
    g.etapas[0].pontos.clear();
    g.etapas[0].gerador = [](std::uint32_t i) { return pontoTipico(i); };
    g.etapas[0].ulPontosGerados = 30000;
    DiretorioTemporario dir;
    const Layout L2 = g.gravar(dir / "gerado.nvg");
    EXPECT_EQ(lerArquivo(dir / "gerado.nvg"), emMemoria);
    EXPECT_EQ(L2.posPontos, L1.posPontos);
    EXPECT_EQ(g.layout().posChecksumArquivo, L1.posChecksumArquivo);
}
