// The fixture writer itself: every other test trusts its offsets, lengths and checksums, so they are
// checked here by an independent walk that knows the sizes as plain numbers.
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using namespace zavoro_teste;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kBloco[] = {0, 148, 216, 444, 744, 752, 752, 784, 1112, 1112};
constexpr std::size_t kPonto[] = {0, 32, 32, 32, 40, 40, 40, 40, 52, 52};

template <typename T> T ler(const Bytes& b, std::size_t pos)
{
    T v{};
    if (pos + sizeof v > b.size())
    {
        ADD_FAILURE() << "leitura além do fim em " << pos;
        return v;
    }
    std::memcpy(&v, b.data() + pos, sizeof v);
    return v;
}

std::uint8_t xorDe(const Bytes& b, std::size_t de, std::size_t ate)
{
    std::uint8_t x = 0;
    for (std::size_t i = de; i < ate; ++i)
        x ^= b[i];
    return x;
}

// Checks one length-prefixed section at pos: its checksum byte closes it. Returns the next position.
std::size_t secao(const Bytes& b, std::size_t pos, const char* pcNome)
{
    const auto iTamanho = ler<std::int32_t>(b, pos);
    const std::size_t fim = pos + 4 + static_cast<std::size_t>(iTamanho);
    EXPECT_LE(fim, b.size()) << pcNome;
    if (fim <= b.size())
    {
        EXPECT_EQ(xorDe(b, pos + 4, fim - 1), b[fim - 1]) << "checksum de " << pcNome;
    }
    return fim;
}

// Walks a whole file by its own counts and lengths; returns the event section's length position.
std::size_t percorrer(const Bytes& b)
{
    EXPECT_EQ(xorDe(b, 0, b.size() - 1), b.back()) << "checksum do arquivo";
    const auto uiVersao = ler<std::uint32_t>(b, 0);
    EXPECT_EQ(ler<std::int32_t>(b, 4), 75);
    std::size_t pos = secao(b, 4, "talhão");
    const auto ulGuias = ler<std::uint32_t>(b, pos);
    pos += 4;
    for (std::uint32_t i = 0; i < ulGuias; ++i)
        pos = secao(b, pos, "guia");
    if (uiVersao == 2)
    {
        const auto ulLimites = ler<std::uint32_t>(b, pos);
        pos += 4;
        for (std::uint32_t i = 0; i < ulLimites; ++i)
            pos = secao(b, pos, "limite");
    }
    const std::size_t posEvento = pos;
    EXPECT_EQ(secao(b, pos, "evento"), b.size() - 1) << "o evento termina antes do checksum do arquivo";
    return posEvento;
}

NvgBuilder completo()
{
    NvgBuilder b = NvgBuilder::tipico(9, 4);
    b.etapas.push_back(etapaTipica(3, 4));

    Guia reta;
    reta.usVersao = 1;
    reta.pontosCurva = {{1, 2}, {3, 4}};
    Guia curva;
    curva.usVersao = 3;
    curva.curvas = {{{{0, 0}, {5, 5}, {9, 9}}, {}}, {{{1, 1}}, {}}};
    b.guias = {reta, curva};

    Limite contorno;
    contorno.pontos = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    b.limites = {contorno, Limite{}};
    return b;
}

TEST(NvgBuilder, LayoutCompletoBateComOsRegistros)
{
    const NvgBuilder b = completo();
    Layout L;
    const Bytes bytes = b.construir(&L);

    ASSERT_EQ(L.tamanhoArquivo, bytes.size());
    EXPECT_EQ(ler<std::uint32_t>(bytes, 0), 2u);
    EXPECT_EQ(L.posTamanhoTalhao, 4u);
    EXPECT_EQ(ler<std::uint16_t>(bytes, 8), 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 10 + 28)), "Talh\xE3o Sede");
    EXPECT_EQ(L.posChecksumTalhao, 82u);
    EXPECT_EQ(L.posNumeroGuias, 83u);
    EXPECT_EQ(ler<std::uint32_t>(bytes, 83), 2u);

    // Version-1 guide: 48-byte record, count of points.
    ASSERT_EQ(L.posGuias.size(), 2u);
    EXPECT_EQ(L.posGuias[0], 87u);
    EXPECT_EQ(ler<std::int32_t>(bytes, 87), 2 + 48 + 2 * 8 + 1);
    EXPECT_EQ(ler<std::uint16_t>(bytes, 91), 1u);
    EXPECT_EQ(ler<std::uint16_t>(bytes, 93 + 44), 2u);
    EXPECT_EQ(ler<float>(bytes, 93 + 48), 1.0f) << "os pontos seguem os 48 bytes da guia";

    // Version-3 guide: count of curves, each with its own u16 count.
    const std::size_t g2 = L.posGuias[1];
    EXPECT_EQ(g2, 87u + 4 + 67);
    EXPECT_EQ(ler<std::int32_t>(bytes, g2), 2 + 56 + (2 + 3 * 8) + (2 + 8) + 1);
    EXPECT_EQ(ler<std::uint16_t>(bytes, g2 + 4), 3u);
    EXPECT_EQ(ler<std::uint16_t>(bytes, g2 + 6 + 44), 2u);
    EXPECT_EQ(ler<std::uint16_t>(bytes, g2 + 6 + 56), 3u);
    EXPECT_EQ(ler<float>(bytes, g2 + 6 + 56 + 2 + 2 * 8), 9.0f);
    EXPECT_EQ(ler<std::uint16_t>(bytes, g2 + 6 + 56 + 2 + 3 * 8), 1u);

    ASSERT_TRUE(L.posNumeroLimites);
    EXPECT_EQ(ler<std::uint32_t>(bytes, *L.posNumeroLimites), 2u);
    ASSERT_EQ(L.posLimites.size(), 2u);
    EXPECT_EQ(ler<std::int32_t>(bytes, L.posLimites[0]), 2 + 16 + 4 * 8 + 1);
    EXPECT_EQ(ler<std::uint16_t>(bytes, L.posLimites[0] + 6 + 12), 4u);
    EXPECT_EQ(ler<std::int32_t>(bytes, L.posLimites[1]), 2 + 16 + 1);

    EXPECT_EQ(percorrer(bytes), L.posTamanhoEvento);
    EXPECT_EQ(L.posCabecalhoEvento, L.posTamanhoEvento + 6);
    EXPECT_EQ(ler<std::uint16_t>(bytes, L.posTamanhoEvento + 4), 9u);
    EXPECT_EQ(ler<std::uint32_t>(bytes, L.posCabecalhoEvento + 12), 2u) << "ulNumConfiguracoes";
    ASSERT_EQ(L.posEtapas.size(), 2u);
    EXPECT_EQ(L.posEtapas[0], L.posCabecalhoEvento + 200);
    EXPECT_EQ(ler<std::uint32_t>(bytes, L.posEtapas[0]), 4u);
    EXPECT_EQ(ler<std::uint32_t>(bytes, L.posEtapas[1]), 3u);
    EXPECT_EQ(ler<std::uint32_t>(bytes, L.posPontos[1] + 16), pontoTipico(4).ulSegundosDataHora);
    EXPECT_EQ(L.posChecksumEvento, bytes.size() - 2);
    EXPECT_EQ(L.posChecksumArquivo, bytes.size() - 1);
}

TEST(NvgBuilder, ContainerVersao1NaoTemListaDeLimites)
{
    NvgBuilder b = completo();
    b.uiVersaoArquivo = 1;
    Layout L;
    const Bytes bytes = b.construir(&L);

    EXPECT_FALSE(L.posNumeroLimites);
    EXPECT_TRUE(L.posLimites.empty());
    EXPECT_EQ(L.posTamanhoEvento, L.posGuias[1] + 4 + ler<std::int32_t>(bytes, L.posGuias[1]));
    EXPECT_EQ(percorrer(bytes), L.posTamanhoEvento);
}

TEST(NvgBuilder, TamanhosDeBlocoEPontoDeCadaVersao)
{
    for (std::uint16_t v = 1; v <= 9; ++v)
    {
        SCOPED_TRACE("versão " + std::to_string(v));
        NvgBuilder b = NvgBuilder::tipico(v, 3);
        b.etapas.push_back(etapaTipica(2, 3));
        b.etapas[1].pontos[0].usTaxaLida[1] = 77;
        b.etapas[1].pontos[0].fPressao = 2.5f;
        Layout L;
        const Bytes bytes = b.construir(&L);

        percorrer(bytes);
        EXPECT_EQ(ler<std::int32_t>(bytes, L.posTamanhoEvento),
                  static_cast<std::int32_t>(2 + 200 + 2 * kBloco[v] + 5 * kPonto[v] + 1));
        EXPECT_EQ(L.posPontos[0] - L.posEtapas[0], kBloco[v]);
        EXPECT_EQ(L.posEtapas[1] - L.posPontos[0], 3 * kPonto[v]);
        EXPECT_EQ(L.posChecksumEvento - L.posPontos[1], 2 * kPonto[v]);

        const std::size_t p = L.posPontos[1];
        EXPECT_EQ(ler<std::uint32_t>(bytes, p + 16), pontoTipico(3).ulSegundosDataHora);
        EXPECT_EQ(ler<std::uint16_t>(bytes, p + 24), 1500u) << "primeira taxa";
        if (v <= 3)
        {
            // One rate only: the tank level follows it directly.
            EXPECT_EQ(ler<std::uint16_t>(bytes, p + 26), pontoTipico(3).usNivelTanque);
            EXPECT_EQ(bytes[p + 30], 15u) << "velocidade";
        }
        else
        {
            EXPECT_EQ(ler<std::uint16_t>(bytes, p + 26), 77u);
            EXPECT_EQ(bytes[p + 38], 15u) << "velocidade";
        }
        if (v >= 8)
        {
            EXPECT_EQ(ler<float>(bytes, p + 40), 2.5f);
        }
    }
}

TEST(NvgBuilder, OperacaoGravadaNaNumeracaoDaVersao)
{
    for (std::uint8_t op = 0; op <= 5; ++op)
    {
        EXPECT_EQ(zavoro_TraduzirOperacao(codificarOperacao(op, 8), 8), op);
        EXPECT_EQ(codificarOperacao(op, 9), op);
    }
    EXPECT_EQ(codificarOperacao(D_ZAVORO_OPERACAO_ADUBACAO, 7), 4u);
    EXPECT_EQ(codificarOperacao(D_ZAVORO_OPERACAO_COLHEITA, 1), 1u);
    EXPECT_EQ(codificarOperacao(9, 3), 9u);

    for (std::uint16_t v : {8, 9})
    {
        NvgBuilder b = NvgBuilder::tipico(v, 1);
        b.operacao(D_ZAVORO_OPERACAO_ADUBACAO);
        b.etapas[0].operacao(D_ZAVORO_OPERACAO_IRRIGACAO);
        Layout L;
        const Bytes bytes = b.construir(&L);
        EXPECT_EQ(bytes[L.posCabecalhoEvento + 196], v == 8 ? 4u : 1u);
        EXPECT_EQ(bytes[L.posEtapas[0] + 145], v == 8 ? 5u : 4u);
    }

    // A raw byte set by name afterwards is stored as given.
    NvgBuilder b = NvgBuilder::tipico(8, 1);
    b.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("ucOperacao", 1);
    Layout L;
    EXPECT_EQ(b.construir(&L)[L.posEtapas[0] + 145], 1u);
}

TEST(NvgBuilder, CamposPorNomeCobremOBlocoInteiro)
{
    const auto& campos = camposConfiguracao();
    std::vector<int> cobertura(sizeof(ST_EventoConfig_v9), 0);
    for (const CampoConfiguracao& c : campos)
        for (std::size_t i = c.offset; i < c.offset + c.tamanho && i < cobertura.size(); ++i)
            ++cobertura[i];
    for (std::size_t i = 0; i < cobertura.size(); ++i)
        EXPECT_EQ(cobertura[i], 1) << "byte " << i << " do bloco";

    // Every listed name is accepted and writes exactly its own bytes.
    for (const CampoConfiguracao& c : campos)
    {
        Etapa e;
        if (c.tamanho == D_ZAVORO_TAMANHO_STRING)
            e.campoBruto(c.nome, std::string(40, '\x7F'));
        else
            e.campo(c.nome, 1);
        const auto* puc = reinterpret_cast<const std::uint8_t*>(&e.stConfig);
        for (std::size_t i = 0; i < sizeof e.stConfig; ++i)
        {
            const bool bDentro = i >= c.offset && i < c.offset + c.tamanho;
            if (!bDentro && puc[i] != 0)
            {
                ADD_FAILURE() << c.nome << " escreveu no byte " << i;
                break;
            }
        }
    }
}

TEST(NvgBuilder, CamposPorNomeNosLugaresCertos)
{
    Etapa e;
    e.campo("usTaxaAplicacao1", 150)
        .campo("usTamanhoSeccao[3]", 250)
        .campo("usMotorPwmCurvaAdub[2][4]", 999)
        .campo("stProdutoUtilizadoPulv[1].usDoseAtual", 1234)
        .campo("stProdutoUtilizadoPulv[5].ucNomeProduto", "Glifosato")
        .campo("fLarguraImplemento", 27.5)
        .campo("dConstanteTrabalhoAdub[4]", 0.125)
        .campo("sDistImplemento", -35)
        .campo("cFusoHorario", -3)
        .campo("szOperador", "José");
    const ST_EventoConfig_v9& c = e.stConfig;
    EXPECT_EQ(c.usTaxaAplicacao1, 150);
    EXPECT_EQ(c.usTamanhoSeccao[3], 250);
    EXPECT_EQ(c.usMotorPwmCurvaAdub[2][4], 999);
    EXPECT_EQ(c.stProdutoUtilizadoPulv[1].usDoseAtual, 1234);
    EXPECT_STREQ(c.stProdutoUtilizadoPulv[5].ucNomeProduto, "Glifosato");
    EXPECT_EQ(c.fLarguraImplemento, 27.5f);
    EXPECT_EQ(c.dConstanteTrabalhoAdub[4], 0.125);
    EXPECT_EQ(c.sDistImplemento, -35);
    EXPECT_EQ(c.ucFusoHorario, 0xFDu);
    EXPECT_STREQ(c.szOperador, "Jos\xE9") << "texto gravado em Windows-1252";

    for (const char* pcNome : {"usTaxaAplicacao", "usTamanhoSeccao", "usTamanhoSeccao[9]", "usTamanhoSeccao[1][0]",
                               "usMotorPwmCurvaAdub[2]", "usMotorPwmCurvaAdub[6][0]", "stProdutoUtilizadoPulv[6].usDoseAtual",
                               "stProdutoUtilizadoPulv[0]", "stProdutoUtilizadoPulv[0].x", "usTamanhoSeccao[a]",
                               "usTaxaAplicacao1.x", ""})
        EXPECT_THROW(e.campo(pcNome, 1), std::invalid_argument) << pcNome;
    EXPECT_THROW(e.campo("ucNumeroSecoes", 256), std::invalid_argument);
    EXPECT_THROW(e.campo("sDistImplemento", 40000), std::invalid_argument);
    EXPECT_THROW(e.campo("usTaxaAplicacao1", -1), std::invalid_argument);
    EXPECT_THROW(e.campo("usTaxaAplicacao1", 1.5), std::invalid_argument);
    EXPECT_THROW(e.campo("usTaxaAplicacao1", "150"), std::invalid_argument);
    EXPECT_THROW(e.campo("szOperador", 5), std::invalid_argument);
    EXPECT_THROW(e.campo("szOperador", std::string(40, 'a')), std::invalid_argument);
    EXPECT_NO_THROW(e.campo("szOperador", std::string(39, 'a')));
}

TEST(NvgBuilder, CampoForaDaVersaoNaoEGravado)
{
    // Version 4 ends at its padding 741..743; what follows the block is the event checksum.
    NvgBuilder b = NvgBuilder::tipico(4, 0);
    b.etapas[0].campo("ucPosicaoDropPoint", 7).campo("fLarguraImplemento", 27.0).campo("ucTipoDiscosDastra", 3);
    Layout L;
    const Bytes bytes = b.construir(&L);
    EXPECT_EQ(L.posChecksumEvento - L.posEtapas[0], 744u);
    EXPECT_EQ(bytes[L.posEtapas[0] + 740], 3u);
    EXPECT_EQ(bytes[L.posEtapas[0] + 741], 7u) << "cai no preenchimento da versão 4";
    percorrer(bytes);

    b = NvgBuilder::tipico(1, 0);
    b.etapas[0].campo("usTaxaAplicacao1", 150);
    EXPECT_EQ(b.construir(&L).size(), L.posEtapas[0] + 148 + 2);
}

TEST(NvgBuilder, BytesSobrandoNoEvento)
{
    const NvgBuilder limpo = NvgBuilder::tipico(9, 3);
    Layout L0;
    const Bytes original = limpo.construir(&L0);
    const auto iEvento = ler<std::int32_t>(original, L0.posTamanhoEvento);

    NvgBuilder b = limpo;
    b.corrupcao.bytesExtrasEvento = {1, 2, 3};
    Layout L;
    Bytes bytes = b.construir(&L);
    EXPECT_EQ(ler<std::int32_t>(bytes, L.posTamanhoEvento), iEvento + 3);
    EXPECT_EQ(bytes[L.posChecksumEvento - 1], 3u);
    percorrer(bytes);

    b = limpo;
    b.corrupcao.bytesAposEvento = {0xAA, 0xBB};
    b.corrupcao.tamanhoEvento = 350;
    bytes = b.construir(&L);
    EXPECT_EQ(bytes.size(), original.size() + 2);
    EXPECT_EQ(ler<std::int32_t>(bytes, L.posTamanhoEvento), 350);
    EXPECT_EQ(bytes[bytes.size() - 2], 0xBBu);
    EXPECT_EQ(xorDe(bytes, 0, bytes.size() - 1), bytes.back());
}

TEST(NvgBuilder, GravarEGeradorDaoOsMesmosBytes)
{
    NvgBuilder b = NvgBuilder::tipico(8, 0);
    b.etapas[0].pontos = etapaTipica(50).pontos;
    Layout L1;
    const Bytes emMemoria = b.construir(&L1);

    NvgBuilder g = b;
    g.etapas[0].pontos.clear();
    g.etapas[0].gerador = [](std::uint32_t i) { return pontoTipico(i); };
    g.etapas[0].ulPontosGerados = 50;
    DiretorioTemporario dir;
    const Layout L2 = g.gravar(dir / "gerado.nvg");
    EXPECT_EQ(lerArquivo(dir / "gerado.nvg"), emMemoria);
    EXPECT_EQ(L2.posPontos, L1.posPontos);
    EXPECT_EQ(g.layout().posChecksumArquivo, L1.posChecksumArquivo);

    g.etapas[0].pontos.push_back(pontoTipico(0));
    EXPECT_THROW(g.construir(), std::invalid_argument);
}

TEST(NvgBuilder, RegistroDeGuiaELimiteCortadoOuEstendido)
{
    NvgBuilder b = completo();
    b.guias[0].bytesRegistroGravados = 47;
    b.guias[1].bytesRegistroGravados = 60;
    b.limites[1].bytesRegistroGravados = 15;
    Layout L;
    const Bytes bytes = b.construir(&L);
    EXPECT_EQ(ler<std::int32_t>(bytes, L.posGuias[0]), 2 + 47 + 2 * 8 + 1);
    EXPECT_EQ(ler<std::int32_t>(bytes, L.posGuias[1]), 2 + 60 + (2 + 3 * 8) + (2 + 8) + 1);
    EXPECT_EQ(ler<std::uint32_t>(bytes, L.posGuias[1] + 6 + 56), 0u) << "zeros depois do registro";
    EXPECT_EQ(ler<std::uint16_t>(bytes, L.posGuias[1] + 6 + 60), 3u);
    EXPECT_EQ(ler<std::int32_t>(bytes, L.posLimites[1]), 2 + 15 + 1);
    percorrer(bytes);
}

// What the writer cannot represent is refused rather than written as something else. (Encoding and
// unterminated texts themselves are proven through the report and validation tests.)
TEST(NvgBuilder, EntradasSemFormatoSaoRecusadas)
{
    ST_Talhao st{};
    EXPECT_THROW(texto(st.szNomeTalhao, "日本"), std::invalid_argument);
    EXPECT_THROW(Etapa{}.campoBruto("szCultura", std::string(41, 'Z')), std::invalid_argument);

    NvgBuilder b = NvgBuilder::tipico();
    b.usVersaoEvento = 10;
    EXPECT_THROW(b.construir(), std::invalid_argument);
    b = NvgBuilder::tipico();
    b.uiVersaoArquivo = 3;
    EXPECT_THROW(b.construir(), std::invalid_argument);
    b = NvgBuilder::tipico();
    b.guias.push_back(Guia{});
    b.guias[0].usVersao = 3;
    b.guias[0].pontosCurva = {{1, 1}};
    EXPECT_THROW(b.construir(), std::invalid_argument);
}

} // namespace
