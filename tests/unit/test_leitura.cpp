// Reading back what was written: the bounded reader, the container walk, configuration blocks and
// points of every event version, the checksum, and the decoding of stored codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>

#include "funcoesAuxiliares/leitorBinario.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/arquivo.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{
using Arquivo = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Windows' C library has no fmemopen: a temporary file holds a copy there.
Arquivo AbrirMemoria(std::vector<std::uint8_t>& vBytes)
{
#if defined(_WIN32)
    return arquivoTemporario(vBytes);
#else
    return Arquivo(fmemopen(vBytes.data(), vBytes.size(), "rb"), &std::fclose);
#endif
}

std::vector<std::uint8_t> Sequencia(std::size_t tamanho)
{
    std::vector<std::uint8_t> v(tamanho);
    for (std::size_t i = 0; i < tamanho; i++)
        v[i] = static_cast<std::uint8_t>(i * 131 + (i >> 9));
    return v;
}
} // namespace

TEST(LeitorBinario, LeiturasNuncaPassamDosLimites)
{
    std::vector<std::uint8_t> vBytes = Sequencia(100);
    Arquivo pf = AbrirMemoria(vBytes);
    std::fseek(pf.get(), 10, SEEK_SET);
    FuncAux_LeitorBinario l(pf.get());
    ASSERT_TRUE(l.Aberto());
    EXPECT_EQ(l.Posicao(), 10u);
    EXPECT_EQ(l.Restantes(), 90u);

    // An entry of 20 bytes: reads stop at its end although the file goes on, and a refused read
    // consumes nothing.
    ST_LimitesLeitura stFora;
    EXPECT_FALSE(l.Limitar(91, &stFora));
    ASSERT_TRUE(l.Limitar(20, &stFora));
    std::uint8_t uc[32];
    EXPECT_FALSE(l.Ler(uc, 21));
    EXPECT_FALSE(l.Pular(21));
    EXPECT_TRUE(l.Ler(uc, 4));
    EXPECT_EQ(uc[0], vBytes[10]);
    EXPECT_EQ(l.Cabem(8), 2u);
    EXPECT_FALSE(l.IrPara(9));  // before the entry
    EXPECT_FALSE(l.IrPara(31)); // after it
    // A count whose byte size overflows 64 bits is refused, not wrapped into a small read.
    std::vector<std::uint64_t> v;
    EXPECT_FALSE(l.LerVetor(&v, (std::numeric_limits<std::uint64_t>::max() >> 3) + 3));
    EXPECT_TRUE(v.empty());
    EXPECT_TRUE(l.LerVetor(&v, 2));
    EXPECT_EQ(l.Restantes(), 0u);

    // Leaving puts the reader at the entry's end, whatever was read of it, with the outer bounds back.
    ASSERT_TRUE(l.IrPara(14));
    ASSERT_TRUE(l.SairLimite(stFora));
    EXPECT_EQ(l.Posicao(), 30u);
    EXPECT_EQ(l.Restantes(), 70u);
    ASSERT_TRUE(l.Ler(uc, 1));
    EXPECT_EQ(uc[0], vBytes[30]);
    EXPECT_TRUE(l.Pular(69));
    EXPECT_FALSE(l.Ler(uc, 1));
    EXPECT_FALSE(l.ErroLeitura()); // refused, not failed

    EXPECT_FALSE(FuncAux_LeitorBinario(static_cast<const char*>(nullptr)).Aberto());
    EXPECT_FALSE(FuncAux_LeitorBinario(static_cast<std::FILE*>(nullptr)).Ler(uc, 0));
}

TEST(LeitorBinario, XorDoArquivoContaCadaByteUmaVez)
{
    std::vector<std::uint8_t> vBytes = Sequencia(1000);
    auto XorAte = [&](std::size_t n)
    {
        unsigned char uc = 0;
        for (std::size_t i = 0; i < n; i++)
            uc ^= vBytes[i];
        return uc;
    };
    std::uint8_t uc[400];
    unsigned char ucXor = 0;
    auto ComXorDoArquivo = [&](auto fnPassos)
    {
        Arquivo pf = AbrirMemoria(vBytes);
        FuncAux_LeitorBinario l(pf.get());
        l.IniciarXorArquivo();
        fnPassos(l);
    };
    // Read, gone back over (an entry checked, then read) and skipped through with the section's XOR
    // on: each byte counts once.
    ComXorDoArquivo([&](FuncAux_LeitorBinario& l) {
        ASSERT_TRUE(l.Ler(uc, 300) && l.IrPara(100) && l.Ler(uc, 250));
        l.IniciarXor();
        ASSERT_TRUE(l.Pular(400));
        EXPECT_EQ(l.TerminarXor(), XorAte(750) ^ XorAte(350));
        EXPECT_FALSE(l.XorArquivo(999, &ucXor)); // not read that far
        ASSERT_TRUE(l.Ler(uc, 249));
        ASSERT_TRUE(l.XorArquivo(999, &ucXor));
        EXPECT_EQ(ucXor, XorAte(999));
    });
    // A stretch jumped over (a skip without the section's XOR seeks) leaves the file's XOR unknown,
    // however far the reads go on.
    ComXorDoArquivo([&](FuncAux_LeitorBinario& l) {
        ASSERT_TRUE(l.Ler(uc, 10) && l.Pular(10) && l.Ler(uc, 400) && l.IrPara(0) && l.Ler(uc, 400));
        EXPECT_FALSE(l.XorArquivo(420, &ucXor));
        EXPECT_FALSE(l.XorArquivo(400, &ucXor));
    });
}

TEST(LeitorBinario, ArquivoQueEncolheNaoEMaisLido)
{
    DiretorioTemporario dir;
    const std::filesystem::path caminho = dir.gravar("a.bin", Sequencia(262144));
    FuncAux_LeitorBinario l(caminho.string().c_str());
    ASSERT_EQ(l.Tamanho(), 262144u);
    std::filesystem::resize_file(caminho, 16);
    // Away from anything the stream may have buffered while learning the size.
    std::uint8_t uc[8];
    ASSERT_TRUE(l.Pular(100000));
    EXPECT_FALSE(l.Ler(uc, 8));
    EXPECT_TRUE(l.ErroLeitura());
    EXPECT_FALSE(l.IrPara(0));
}

TEST(Leitura, ChecksumAtravessaOsLimitesDoBuffer)
{
    // Runs around the 64 KiB read size and the 8-byte fold: an off-by-one in either shows here. The
    // reader's XOR over the same bytes, read and skipped, must agree.
    for (std::size_t tamanho : {2u, 3u, 9u, 65535u, 65536u, 65537u, 65538u, 131072u, 131073u, 200000u})
    {
        SCOPED_TRACE(tamanho);
        std::vector<std::uint8_t> vBytes = Sequencia(tamanho + 5);
        unsigned char ucXor = 0;
        for (std::size_t i = 0; i + 1 < tamanho; i++)
            ucXor ^= vBytes[i];
        vBytes[tamanho - 1] = ucXor;

        Arquivo pf = AbrirMemoria(vBytes);
        EXPECT_TRUE(arquivo_VerificarChecksum(pf.get(), static_cast<int>(tamanho)));
        EXPECT_EQ(std::ftell(pf.get()), static_cast<long>(tamanho));
        std::fseek(pf.get(), 0, SEEK_SET);
        FuncAux_LeitorBinario l(pf.get());
        l.IniciarXor();
        std::uint8_t uc[1];
        ASSERT_TRUE(l.Ler(uc, 1) && l.Pular(tamanho - 2));
        EXPECT_EQ(l.TerminarXor(), ucXor);

        vBytes[tamanho / 2] ^= 0x40;
        pf = AbrirMemoria(vBytes);
        EXPECT_FALSE(arquivo_VerificarChecksum(pf.get(), static_cast<int>(tamanho)));
        // Asking for more bytes than remain is a short read, not a pass.
        std::fseek(pf.get(), 0, SEEK_SET);
        EXPECT_FALSE(arquivo_VerificarChecksum(pf.get(), static_cast<int>(tamanho + 6)));
    }
    EXPECT_FALSE(arquivo_VerificarChecksum(nullptr, 10));
}

TEST(Estrutura, CadaEntradaComSeusLimitesESeuRegistro)
{
    // The records' contents show in the guide and boundary placemarks; here where each entry lies.
    NvgBuilder b = NvgBuilder::tipico(9, 2);
    b.guias.resize(2);
    b.guias[0].usVersao = 1;
    b.guias[0].pontosCurva = {{1, 2}, {3, 4}};
    b.limites.resize(1);
    Layout stLayout;
    std::vector<std::uint8_t> vBytes = b.construir(&stLayout);
    Arquivo pf = AbrirMemoria(vBytes);

    ST_EstruturaNavegacao st;
    ASSERT_TRUE(zavoro_PercorrerEstrutura(pf.get(), &st));
    EXPECT_EQ(std::ftell(pf.get()), st.lPrimeiraEtapa);
    EXPECT_EQ(st.lPrimeiraEtapa, static_cast<long>(stLayout.posEtapas[0]));
    ASSERT_EQ(st.vGuias.size(), 2u);
    const ST_EntradaNavegacao& e = st.vGuias[0].stEntrada;
    EXPECT_EQ(e.llInicio, static_cast<long long>(stLayout.posGuias[0]));
    EXPECT_EQ(e.llInicio + 4 + e.iTamanho, static_cast<long long>(stLayout.posGuias[1]));
    EXPECT_EQ(e.usVersao, 1);
    EXPECT_EQ(e.llDados, e.llInicio + 6 + D_ZAVORO_TAMANHO_GUIA_V1);
    ASSERT_EQ(st.vLimites.size(), 1u);
    EXPECT_EQ(st.vLimites[0].stEntrada.llInicio, static_cast<long long>(stLayout.posLimites[0]));
    EXPECT_EQ(st.stCabecalho.ulNumConfiguracoes, 1u);

    // A file cut inside the second guide: the walk says so in validation's words, and keeps what it
    // read before.
    vBytes.resize(stLayout.posGuias[1] + 20);
    Arquivo pfCurto = AbrirMemoria(vBytes);
    std::string szErro;
    EXPECT_FALSE(zavoro_PercorrerEstrutura(pfCurto.get(), &st, &szErro));
    EXPECT_EQ(szErro, "guia 2 (byte " + std::to_string(stLayout.posGuias[1]) +
                          "): a seção declara 59 bytes e ultrapassa o fim do arquivo");
    EXPECT_TRUE(st.bTalhaoLido);
    EXPECT_EQ(st.vGuias.size(), 1u);
}

TEST(Leitura, BlocosEPontosDeTodasAsVersoesVoltamComoForamEscritos)
{
    // What a point of an older format lacks keeps what the destination held; the oldest format has one
    // rate channel and the others read as zero.
    ST_PontoNVG_v2 stAnterior = pontoTipico(77);
    stAnterior.fPressao = 9.5f;
    stAnterior.ucNaoUtilizado[2] = 0x5A;
    stAnterior.usTaxaLida[3] = 77;
    for (std::uint16_t v = 1; v <= 9; v++)
    {
        SCOPED_TRACE("versão do evento " + std::to_string(v));
        NvgBuilder b = NvgBuilder::tipico(v, 3);
        b.etapas.push_back(etapaTipica(2, 3));
        for (Etapa& e : b.etapas)
            for (ST_PontoNVG_v2& p : e.pontos)
                p.usTaxaLida[4] = 444, p.fPressao = 2.5f, p.fTemperatura = 30.0f;
        b.etapas[1].campo("szOperador", "João Antônio").campo("fLarguraImplemento", 27.5).campo("ucAlinhamento7[3]", 7);
        Layout stLayout;
        std::vector<std::uint8_t> vBytes = b.construir(&stLayout);
        Arquivo pf = AbrirMemoria(vBytes);
        const std::size_t tamanhoBloco = static_cast<std::size_t>(zavoro_TamanhoConfiguracaoEvento(v));
        std::fseek(pf.get(), static_cast<long>(stLayout.posEtapas[0]), SEEK_SET);
        for (const Etapa& e : b.etapas)
        {
            ST_EventoConfig_v9 stLido;
            std::memset(&stLido, 0xAB, sizeof stLido); // the reader must clear what the version lacks
            int iLidos = 0;
            ASSERT_TRUE(zavoro_LerConfiguracaoEvento(pf.get(), v, &stLido, &iLidos));
            EXPECT_EQ(iLidos, static_cast<int>(tamanhoBloco));
            ST_EventoConfig_v9 stEsperado = e.stConfig;
            stEsperado.ulNumeroPontosRastro = e.numeroPontos();
            std::memset(reinterpret_cast<unsigned char*>(&stEsperado) + tamanhoBloco, 0, sizeof stEsperado - tamanhoBloco);
            EXPECT_EQ(std::memcmp(&stLido, &stEsperado, sizeof stLido), 0);
            for (const ST_PontoNVG_v2& stEscrito : e.pontos)
            {
                ST_PontoNVG_v2 stLidoPonto = stAnterior;
                ASSERT_TRUE(zavoro_LerEstruturaLog(pf.get(), &stLidoPonto, v, &iLidos));
                EXPECT_EQ(iLidos, zavoro_TamanhoPontoNVG(v));
                ST_PontoNVG_v2 stEsperadoPonto = stEscrito;
                if (v <= 7)
                {
                    stEsperadoPonto.fPressao = stAnterior.fPressao;
                    stEsperadoPonto.fTemperatura = stAnterior.fTemperatura;
                    std::memcpy(stEsperadoPonto.ucNaoUtilizado, stAnterior.ucNaoUtilizado, 4);
                }
                if (v <= 3)
                    std::fill(stEsperadoPonto.usTaxaLida + 1, stEsperadoPonto.usTaxaLida + 5, 0);
                EXPECT_EQ(std::memcmp(&stLidoPonto, &stEsperadoPonto, sizeof stLidoPonto), 0);
            }
        }
        EXPECT_EQ(zavoro_TextoCampo(b.etapas[1].stConfig.szOperador), "João Antônio");
    }
}

// The block reader gives what reading point by point gives, crosses its blocks, stops at the stage's
// last point (the next block is then read where it stands) and ends on a point cut short.
TEST(Leitura, PontosEmBlocosComoUmAUm)
{
    for (std::uint16_t v : {1, 4, 9})
    {
        SCOPED_TRACE("versão do evento " + std::to_string(v));
        NvgBuilder b = NvgBuilder::tipico(v, 5000);
        b.etapas.push_back(etapaTipica(3, 5000));
        Layout stLayout;
        std::vector<std::uint8_t> vBytes = b.construir(&stLayout);
        Arquivo pfUm = AbrirMemoria(vBytes);
        Arquivo pfBloco = AbrirMemoria(vBytes);
        std::fseek(pfUm.get(), static_cast<long>(stLayout.posPontos[0]), SEEK_SET);
        std::fseek(pfBloco.get(), static_cast<long>(stLayout.posPontos[0]), SEEK_SET);
        ST_LeitorPontosNVG stLeitor;
        zavoro_IniciarLeitorPontos(&stLeitor, pfBloco.get(), v, 5000);
        for (int i = 0; i < 5000; i++)
        {
            ST_PontoNVG_v2 stUm{}, stBloco{};
            int iLidos = 0;
            ASSERT_TRUE(zavoro_LerEstruturaLog(pfUm.get(), &stUm, v, &iLidos));
            ASSERT_TRUE(zavoro_LerProximoPonto(&stLeitor, &stBloco)) << i;
            ASSERT_EQ(std::memcmp(&stUm, &stBloco, sizeof stUm), 0) << i;
        }
        ST_PontoNVG_v2 stPonto{};
        EXPECT_FALSE(zavoro_LerProximoPonto(&stLeitor, &stPonto));
        EXPECT_EQ(std::ftell(pfBloco.get()), static_cast<long>(stLayout.posEtapas[1]));
        ST_EventoConfig_v9 stConfig;
        ASSERT_TRUE(zavoro_LerConfiguracaoEvento(pfBloco.get(), v, &stConfig));
        EXPECT_EQ(stConfig.ulNumeroPontosRastro, 3u);

        // The file ends inside the second stage's third point.
        vBytes.resize(stLayout.posPontos[1] + 2 * static_cast<std::size_t>(zavoro_TamanhoPontoNVG(v)) + 5);
        Arquivo pfCurto = AbrirMemoria(vBytes);
        std::fseek(pfCurto.get(), static_cast<long>(stLayout.posPontos[1]), SEEK_SET);
        zavoro_IniciarLeitorPontos(&stLeitor, pfCurto.get(), v, 3);
        EXPECT_TRUE(zavoro_LerProximoPonto(&stLeitor, &stPonto));
        EXPECT_TRUE(zavoro_LerProximoPonto(&stLeitor, &stPonto));
        EXPECT_FALSE(zavoro_LerProximoPonto(&stLeitor, &stPonto));
        EXPECT_FALSE(zavoro_LerProximoPonto(&stLeitor, &stPonto));
    }
}

TEST(Leitura, LeiturasCurtasEVersoesForaDaTabela)
{
    std::vector<std::uint8_t> vBytes(20, 0x11);
    Arquivo pf = AbrirMemoria(vBytes);
    ST_PontoNVG_v2 stPonto{};
    ST_EventoConfig_v9 stConfig;
    for (unsigned int v : {2u, 4u, 9u, 0u, 10u})
    {
        int iLidos = -1;
        std::rewind(pf.get());
        EXPECT_FALSE(zavoro_LerEstruturaLog(pf.get(), &stPonto, v, &iLidos));
        EXPECT_EQ(iLidos, v == 0 || v == 10 ? 0 : 20) << v;
        std::rewind(pf.get());
        EXPECT_FALSE(zavoro_LerConfiguracaoEvento(pf.get(), v, &stConfig, &iLidos));
        EXPECT_EQ(iLidos, v == 0 || v == 10 ? 0 : 20) << v;
    }
    EXPECT_EQ(zavoro_TamanhoConfiguracaoEvento(5), 752);
    EXPECT_EQ(zavoro_TamanhoPontoNVG(3) + zavoro_TamanhoPontoNVG(4) + zavoro_TamanhoPontoNVG(8), 32 + 40 + 52);
}

TEST(Leitura, OperacoesDaNumeracaoAntiga)
{
    const std::uint8_t antigas[] = {0, 2, 3, 5, 1, 4};
    for (std::uint8_t armazenada = 0; armazenada < 6; armazenada++)
    {
        for (unsigned int v = 1; v <= 8; v++)
            EXPECT_EQ(zavoro_TraduzirOperacao(armazenada, v), antigas[armazenada]);
        EXPECT_EQ(zavoro_TraduzirOperacao(armazenada, 9), armazenada);
    }
    EXPECT_EQ(zavoro_TraduzirOperacao(200, 8), 200);
}
