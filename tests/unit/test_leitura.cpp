// Reading back what was written: configuration blocks and points of every event version, the
// checksum primitive, and the decoding of stored codes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "support/NvgBuilder.h"
#include "zavoro/arquivo.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{
struct FecharArquivo
{
    void operator()(std::FILE* pf) const { std::fclose(pf); }
};
using Arquivo = std::unique_ptr<std::FILE, FecharArquivo>;

Arquivo AbrirMemoria(std::vector<std::uint8_t>& vBytes)
{
    return Arquivo(fmemopen(vBytes.data(), vBytes.size(), "rb"));
}

// The in-memory point a stored point of this version must read back as, from a destination that
// held `anterior` before the read.
ST_PontoNVG_v2 Esperado(const ST_PontoNVG_v2& escrito, unsigned int uiVersao, const ST_PontoNVG_v2& anterior)
{
    ST_PontoNVG_v2 r = escrito;
    if (uiVersao <= 7)
    {
        r.fPressao = anterior.fPressao;
        r.fTemperatura = anterior.fTemperatura;
        std::memcpy(r.ucNaoUtilizado, anterior.ucNaoUtilizado, sizeof r.ucNaoUtilizado);
    }
    if (uiVersao <= 3)
        for (int i = 1; i < D_ZAVORO_NUMERO_TAXAS; i++)
            r.usTaxaLida[i] = 0;
    return r;
}

ST_PontoNVG_v2 PontoVariado(std::uint32_t i)
{
    ST_PontoNVG_v2 p = pontoTipico(i);
    for (int k = 0; k < D_ZAVORO_NUMERO_TAXAS; k++)
        p.usTaxaLida[k] = static_cast<std::uint16_t>(100 + 10 * k + i);
    p.fPressao = 2.5f + static_cast<float>(i);
    p.fTemperatura = 30.0f - static_cast<float>(i);
    p.ucDesvio = static_cast<std::uint8_t>(i * 3);
    p.usSecoes = static_cast<std::uint16_t>(0x01FF ^ i);
    return p;
}
} // namespace

TEST(Leitura, BlocosEPontosDeTodasAsVersoesVoltamComoForamEscritos)
{
    for (std::uint16_t v = 1; v <= 9; v++)
    {
        SCOPED_TRACE("versão do evento " + std::to_string(v));
        NvgBuilder b = NvgBuilder::tipico(v, 0);
        b.etapas.clear();
        for (int e = 0; e < 2; e++)
        {
            Etapa etapa = etapaTipica(0);
            for (std::uint32_t i = 0; i < 4; i++)
                etapa.pontos.push_back(PontoVariado(i + 10 * e));
            etapa.campo("szOperador", e == 0 ? "João Antônio" : "Zé")
                .campo("usTaxaAplicacao1", 150 + e)
                .campo("usTamanhoSeccao[8]", 275)
                .campo("fLarguraImplemento", 27.5)
                .campo("usMotorPwmCurvaAdub[5][4]", 999)
                .campo("stProdutoUtilizadoPulv[5].usDoseAtual", 1234)
                .campo("ucAlinhamento7[3]", 7); // last byte of the largest block
            b.etapas.push_back(etapa);
        }
        Layout stLayout;
        std::vector<std::uint8_t> vBytes = b.construir(&stLayout);
        Arquivo pf = AbrirMemoria(vBytes);
        ASSERT_TRUE(pf);
        ST_DiagnosticoValidacao stDiag;
        ASSERT_TRUE(zavoro_DiagnosticarArquivoNavegacaoAberto(pf.get(), &stDiag))
            << zavoro_DescreverDiagnostico(stDiag);

        const std::size_t tamanhoBloco = static_cast<std::size_t>(zavoro_TamanhoConfiguracaoEvento(v));
        for (std::size_t e = 0; e < b.etapas.size(); e++)
        {
            std::fseek(pf.get(), static_cast<long>(stLayout.posEtapas[e]), SEEK_SET);
            ST_EventoConfig_v9 stLido;
            std::memset(&stLido, 0xAB, sizeof stLido); // the reader must clear what the version lacks
            int iLidos = 0;
            ASSERT_TRUE(zavoro_LerConfiguracaoEvento(pf.get(), v, &stLido, &iLidos));
            EXPECT_EQ(iLidos, static_cast<int>(tamanhoBloco));

            ST_EventoConfig_v9 stEsperado = b.etapas[e].stConfig;
            stEsperado.ulNumeroPontosRastro = 4;
            std::memset(reinterpret_cast<unsigned char*>(&stEsperado) + tamanhoBloco, 0,
                        sizeof stEsperado - tamanhoBloco);
            EXPECT_EQ(std::memcmp(&stLido, &stEsperado, sizeof stLido), 0);
            EXPECT_EQ(zavoro_TextoCampo(stLido.szOperador), e == 0 ? "João Antônio" : "Zé");
            EXPECT_EQ(std::ftell(pf.get()), static_cast<long>(stLayout.posPontos[e]));

            for (std::size_t i = 0; i < 4; i++)
            {
                ST_PontoNVG_v2 stAnterior = PontoVariado(77);
                ST_PontoNVG_v2 stLidoPonto = stAnterior;
                ASSERT_TRUE(zavoro_LerEstruturaLog(pf.get(), &stLidoPonto, v, &iLidos));
                EXPECT_EQ(iLidos, zavoro_TamanhoPontoNVG(v));
                ST_PontoNVG_v2 stEsperadoPonto = Esperado(b.etapas[e].pontos[i], v, stAnterior);
                EXPECT_EQ(std::memcmp(&stLidoPonto, &stEsperadoPonto, sizeof stLidoPonto), 0) << "ponto " << i;
            }
        }
    }
}

TEST(Leitura, LeiturasCurtasEVersoesForaDaTabela)
{
    std::vector<std::uint8_t> vBytes(20, 0x11);
    Arquivo pf = AbrirMemoria(vBytes);
    ST_PontoNVG_v2 stPonto{};
    int iLidos = -1;
    EXPECT_FALSE(zavoro_LerEstruturaLog(pf.get(), &stPonto, 2, &iLidos));
    EXPECT_EQ(iLidos, 20);

    for (unsigned int v : {4u, 9u})
    {
        std::fseek(pf.get(), 0, SEEK_SET);
        EXPECT_FALSE(zavoro_LerEstruturaLog(pf.get(), &stPonto, v, &iLidos));
        EXPECT_EQ(iLidos, 20);
    }
    for (unsigned int v : {0u, 10u})
    {
        std::fseek(pf.get(), 0, SEEK_SET);
        EXPECT_FALSE(zavoro_LerEstruturaLog(pf.get(), &stPonto, v, &iLidos));
        EXPECT_EQ(iLidos, 0);
        ST_EventoConfig_v9 stConfig;
        EXPECT_FALSE(zavoro_LerConfiguracaoEvento(pf.get(), v, &stConfig, &iLidos));
    }
    std::fseek(pf.get(), 0, SEEK_SET);
    ST_EventoConfig_v9 stConfig;
    EXPECT_FALSE(zavoro_LerConfiguracaoEvento(pf.get(), 1, &stConfig, &iLidos));
    EXPECT_EQ(iLidos, 20);

    EXPECT_EQ(zavoro_TamanhoConfiguracaoEvento(5), 752);
    EXPECT_EQ(zavoro_TamanhoConfiguracaoEvento(8), zavoro_TamanhoConfiguracaoEvento(9));
    EXPECT_EQ(zavoro_TamanhoPontoNVG(3), 32);
    EXPECT_EQ(zavoro_TamanhoPontoNVG(4), 40);
    EXPECT_EQ(zavoro_TamanhoPontoNVG(8), 52);
}

TEST(Leitura, ChecksumAtravessaOsLimitesDoBuffer)
{
    // Runs around the 64 KiB read size: an off-by-one in the chunking shows at exactly these sizes.
    for (std::size_t tamanho : {2u, 3u, 65535u, 65536u, 65537u, 65538u, 131072u, 131073u, 200000u})
    {
        SCOPED_TRACE(tamanho);
        std::vector<std::uint8_t> vBytes(tamanho + 5);
        for (std::size_t i = 0; i < vBytes.size(); i++)
            vBytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 9));
        unsigned char ucXor = 0;
        for (std::size_t i = 0; i + 1 < tamanho; i++)
            ucXor ^= vBytes[i];
        vBytes[tamanho - 1] = ucXor;

        Arquivo pf = AbrirMemoria(vBytes);
        EXPECT_TRUE(arquivo_VerificarChecksum(pf.get(), static_cast<int>(tamanho)));
        EXPECT_EQ(std::ftell(pf.get()), static_cast<long>(tamanho));
        std::fseek(pf.get(), 0, SEEK_SET);
        vBytes[tamanho / 2] ^= 0x40;
        EXPECT_FALSE(arquivo_VerificarChecksum(pf.get(), static_cast<int>(tamanho)));
        // Asking for more bytes than remain is a short read, not a pass.
        std::fseek(pf.get(), 0, SEEK_SET);
        EXPECT_FALSE(arquivo_VerificarChecksum(pf.get(), static_cast<int>(tamanho + 6)));
    }
    std::vector<std::uint8_t> vUm = {0};
    Arquivo pf = AbrirMemoria(vUm);
    EXPECT_FALSE(arquivo_VerificarChecksum(pf.get(), 1));
    EXPECT_FALSE(arquivo_VerificarChecksum(nullptr, 10));
}

TEST(Leitura, OperacoesAntigasETraduzidas)
{
    const std::uint8_t antigas[] = {0, 2, 3, 5, 1, 4};
    for (std::uint8_t armazenada = 0; armazenada < 6; armazenada++)
    {
        for (unsigned int v = 1; v <= 8; v++)
            EXPECT_EQ(zavoro_TraduzirOperacao(armazenada, v), antigas[armazenada]);
        EXPECT_EQ(zavoro_TraduzirOperacao(armazenada, 9), armazenada);
        // The test builder's encoder is the inverse.
        EXPECT_EQ(zavoro_TraduzirOperacao(codificarOperacao(armazenada, 4), 4), armazenada);
    }
    EXPECT_EQ(zavoro_TraduzirOperacao(6, 3), 6);
    EXPECT_EQ(zavoro_TraduzirOperacao(200, 8), 200);
}

TEST(Leitura, QuantidadeAplicadaDeUmPonto)
{
    ST_PontoNVG_v2 p{};
    p.usSecoes = 0x0300;
    p.usVolumeAplicado = 5;
    EXPECT_EQ(zavoro_CalcularQuantidadeAplicada(&p, D_ZAVORO_OPERACAO_ADUBACAO), 196613u);
    EXPECT_EQ(zavoro_CalcularQuantidadeAplicada(&p, D_ZAVORO_OPERACAO_PULVERIZACAO), 5u);
    p.usVolumeAplicado = 0x8005;
    EXPECT_EQ(zavoro_CalcularQuantidadeAplicada(&p, D_ZAVORO_OPERACAO_PULVERIZACAO), 10u);
    EXPECT_EQ(zavoro_CalcularQuantidadeAplicada(&p, D_ZAVORO_OPERACAO_COLHEITA), 10u);
    // Fertilising never halves-and-doubles: bit 15 is an ordinary bit of the quantity there.
    EXPECT_EQ(zavoro_CalcularQuantidadeAplicada(&p, D_ZAVORO_OPERACAO_ADUBACAO), 0x030000u + 0x8005u);
    p.usSecoes = 0xFFFF;
    p.usVolumeAplicado = 0xFFFF;
    EXPECT_EQ(zavoro_CalcularQuantidadeAplicada(&p, D_ZAVORO_OPERACAO_ADUBACAO), 0xFFFFFFu);
}
