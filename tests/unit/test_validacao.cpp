// Validation of whole navigation files: what passes, what is rejected, and the reason and place the
// diagnostic gives for each kind of damage.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/arquivo.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{

ST_DiagnosticoValidacao Diagnosticar(const std::vector<std::uint8_t>& vBytes)
{
    DiretorioTemporario dir;
    std::filesystem::path caminho = dir.gravar("teste.nvg", vBytes);
    ST_DiagnosticoValidacao stDiag;
    BOOL bValido = zavoro_DiagnosticarArquivoNavegacao(caminho.c_str(), &stDiag);
    // The plain form must agree with the diagnostic form.
    EXPECT_EQ(bValido, zavoro_ValidarArquivoNavegacao(caminho.c_str()));
    EXPECT_EQ(bValido, stDiag.bValido);
    return stDiag;
}

ST_DiagnosticoValidacao Diagnosticar(const NvgBuilder& b, Layout* pstLayout = nullptr)
{
    return Diagnosticar(b.construir(pstLayout));
}

// A file with something of every section: two guides of different versions, a boundary, two stages.
NvgBuilder Completo(std::uint16_t usVersaoEvento = 9)
{
    NvgBuilder b = NvgBuilder::tipico(usVersaoEvento, 5);
    b.etapas.push_back(etapaTipica(7, 5));
    Guia reta;
    reta.usVersao = 2;
    Guia curva;
    curva.usVersao = 3;
    curva.stGuia.ucTipoGuia = D_ZAVORO_TIPO_GUIA_CURVA;
    curva.curvas = {Curva{{{0, 0}, {1, 1}, {2, 3}}, {}}, Curva{{{5, 5}}, {}}};
    b.guias = {reta, curva};
    Limite limite;
    limite.pontos = {{0, 0}, {100, 0}, {100, 100}};
    b.limites = {limite};
    return b;
}

} // namespace

TEST(Validacao, ArquivosBemFormadosDeTodasAsVersoesPassam)
{
    for (std::uint16_t v = 1; v <= 9; v++)
    {
        SCOPED_TRACE("versão do evento " + std::to_string(v));
        EXPECT_TRUE(Diagnosticar(Completo(v)).bValido) << zavoro_DescreverDiagnostico(Diagnosticar(Completo(v)));

        NvgBuilder semLimites = Completo(v);
        semLimites.uiVersaoArquivo = 1;
        EXPECT_TRUE(Diagnosticar(semLimites).bValido);
    }
    NvgBuilder guiaV1 = Completo();
    guiaV1.guias[0].usVersao = 1;
    guiaV1.guias[0].pontosCurva = {{1, 2}, {3, 4}};
    EXPECT_TRUE(Diagnosticar(guiaV1).bValido);

    NvgBuilder vazio;
    vazio.etapas.push_back(etapaTipica(0));
    EXPECT_TRUE(Diagnosticar(vazio).bValido);
}

TEST(Validacao, LimitesDeTamanhoDoArquivoEDaSecaoDoEvento)
{
    DiretorioTemporario dir;
    ST_DiagnosticoValidacao stDiag;
    // 71 bytes fail on size before anything else; 72 bytes get as far as the checksum.
    std::vector<std::uint8_t> vCurto(71, 0);
    EXPECT_FALSE(zavoro_DiagnosticarArquivoNavegacao(dir.gravar("a.nvg", vCurto).c_str(), &stDiag));
    EXPECT_NE(stDiag.szMotivo.find("tamanho do arquivo"), std::string::npos);
    std::vector<std::uint8_t> v72(72, 0);
    v72[0] = 7;
    v72[71] = 7;
    EXPECT_FALSE(zavoro_DiagnosticarArquivoNavegacao(dir.gravar("b.nvg", v72).c_str(), &stDiag));
    EXPECT_NE(stDiag.szMotivo.find("versão do arquivo"), std::string::npos) << stDiag.szMotivo;
    v72[71] = 6;
    EXPECT_FALSE(zavoro_DiagnosticarArquivoNavegacao(dir.gravar("c.nvg", v72).c_str(), &stDiag));
    EXPECT_NE(stDiag.szMotivo.find("soma de verificação do arquivo"), std::string::npos);

    // The smallest event: version 1 with one empty stage is exactly 351 bytes long.
    NvgBuilder minimo = NvgBuilder::tipico(1, 0);
    Layout stLayout;
    EXPECT_TRUE(Diagnosticar(minimo, &stLayout).bValido);
    EXPECT_EQ(stLayout.posChecksumEvento + 1 - (stLayout.posTamanhoEvento + 4), 351u);
    minimo.corrupcao.tamanhoEvento = 350;
    ST_DiagnosticoValidacao stCurto = Diagnosticar(minimo);
    EXPECT_EQ(stCurto.iSecao, D_ZAVORO_SECAO_EVENTO);
    EXPECT_NE(stCurto.szMotivo.find("fora do limite"), std::string::npos);

    EXPECT_FALSE(zavoro_DiagnosticarArquivoNavegacao((dir / "nao_existe.nvg").c_str(), &stDiag));
    EXPECT_NE(stDiag.szMotivo.find("abrir"), std::string::npos);
    EXPECT_FALSE(zavoro_DiagnosticarArquivoNavegacao(dir.caminho().c_str(), &stDiag));
}

// One kind of damage per row: the file must be rejected in the named section and entry, at the named
// byte, with a reason that names the damage.
struct CasoCorrupcao
{
    const char* pcNome;
    std::function<void(NvgBuilder&)> fnEstragar;
    int iSecao;
    long lEntrada;
    const char* pcMotivo;
    // Expected byte offset from the layout, or -1 to skip the check.
    std::function<long long(const Layout&)> fnPosicao = [](const Layout&) { return -1; };
};

TEST(Validacao, CadaCorrupcaoERejeitadaComMotivoELugar)
{
    auto campo = [](std::size_t base, std::size_t offset) { return static_cast<long long>(base + offset); };
    const CasoCorrupcao casos[] = {
        {"checksum do arquivo", [](NvgBuilder& b) { b.corrupcao.checksumErrado.push_back({Secao::Arquivo}); },
         D_ZAVORO_SECAO_ARQUIVO, 0, "soma de verificação do arquivo",
         [](const Layout& l) { return static_cast<long long>(l.posChecksumArquivo); }},
        {"checksum do talhão", [](NvgBuilder& b) { b.corrupcao.checksumErrado.push_back({Secao::Talhao}); },
         D_ZAVORO_SECAO_TALHAO, 0, "soma de verificação da seção",
         [](const Layout& l) { return static_cast<long long>(l.posTamanhoTalhao); }},
        {"checksum da guia 2", [](NvgBuilder& b) { b.corrupcao.checksumErrado.push_back({Secao::Guia, 1}); },
         D_ZAVORO_SECAO_GUIA, 2, "soma de verificação da seção",
         [](const Layout& l) { return static_cast<long long>(l.posGuias[1]); }},
        {"checksum do limite", [](NvgBuilder& b) { b.corrupcao.checksumErrado.push_back({Secao::Limite, 0}); },
         D_ZAVORO_SECAO_LIMITE, 1, "soma de verificação da seção"},
        {"checksum do evento", [](NvgBuilder& b) { b.corrupcao.checksumErrado.push_back({Secao::Evento}); },
         D_ZAVORO_SECAO_EVENTO, 0, "soma de verificação da seção",
         [](const Layout& l) { return static_cast<long long>(l.posTamanhoEvento); }},
        {"arquivo truncado", [](NvgBuilder& b) { b.corrupcao.truncarBytes = 30; }, D_ZAVORO_SECAO_ARQUIVO, 0,
         "soma de verificação do arquivo"},
        {"truncado com checksum refeito",
         [](NvgBuilder& b) {
             b.corrupcao.truncarBytes = 30;
             b.corrupcao.corrigirChecksumArquivo = true;
         },
         D_ZAVORO_SECAO_EVENTO, 0, "ultrapassa o fim do arquivo"},
        {"versão do contêiner", [](NvgBuilder& b) { b.corrupcao.versaoArquivo = 3; }, D_ZAVORO_SECAO_ARQUIVO, 0,
         "versão do arquivo de navegação desconhecida (3)"},
        {"versão do talhão", [](NvgBuilder& b) { b.usVersaoTalhao = 2; }, D_ZAVORO_SECAO_TALHAO, 0,
         "versão do talhão desconhecida (2)"},
        {"tamanho do talhão", [](NvgBuilder& b) { b.corrupcao.tamanhoTalhao = 74; }, D_ZAVORO_SECAO_TALHAO, 0,
         "tamanho da seção do talhão inválido (74"},
        {"nome do talhão sem terminação", [](NvgBuilder& b) { textoSemTerminador(b.stTalhao.szNomeTalhao); },
         D_ZAVORO_SECAO_TALHAO, 0, "nome do talhão sem terminação",
         [=](const Layout& l) { return campo(l.posTamanhoTalhao + 6, offsetof(ST_Talhao, szNomeTalhao)); }},
        {"data do talhão no piso", [](NvgBuilder& b) { b.stTalhao.ulDataHoraInicio = D_ZAVORO_DATA_HORA_MINIMA; },
         D_ZAVORO_SECAO_TALHAO, 0, "data e hora de criação do talhão inválida (315655199)"},
        {"data do talhão sem valor", [](NvgBuilder& b) { b.stTalhao.ulDataHoraInicio = 0xFFFFFFFFu; },
         D_ZAVORO_SECAO_TALHAO, 0, "data e hora de criação do talhão inválida"},
        {"tipo de guia do talhão", [](NvgBuilder& b) { b.stTalhao.ucTipoGuia = 4; }, D_ZAVORO_SECAO_TALHAO, 0,
         "tipo de guia do talhão inválido (4"},
        {"onze guias", [](NvgBuilder& b) { b.corrupcao.numeroGuias = 11; }, D_ZAVORO_SECAO_GUIA, 0,
         "número de guias fora do limite (11"},
        {"versão da guia 0", [](NvgBuilder& b) { b.guias[0].versaoGravada = 0; }, D_ZAVORO_SECAO_GUIA, 1,
         "versão da guia desconhecida (0)"},
        {"versão da guia 4", [](NvgBuilder& b) { b.guias[1].versaoGravada = 4; }, D_ZAVORO_SECAO_GUIA, 2,
         "versão da guia desconhecida (4)"},
        {"guia abaixo do mínimo", [](NvgBuilder& b) { b.guias[0].tamanhoGravado = 47; }, D_ZAVORO_SECAO_GUIA, 1,
         "tamanho da guia fora do limite (47"},
        {"guia acima do máximo", [](NvgBuilder& b) { b.guias[0].tamanhoGravado = 10485761; }, D_ZAVORO_SECAO_GUIA, 1,
         "tamanho da guia fora do limite (10485761"},
        {"guia além do fim do arquivo", [](NvgBuilder& b) { b.guias[1].tamanhoGravado = 10485760; },
         D_ZAVORO_SECAO_GUIA, 2, "ultrapassa o fim do arquivo"},
        {"pontos de curva demais", [](NvgBuilder& b) { b.guias[0].numeroPontosCurvaGravado = 50001; },
         D_ZAVORO_SECAO_GUIA, 1, "número de pontos da curva fora do limite (50001"},
        {"seis limites", [](NvgBuilder& b) { b.corrupcao.numeroLimites = 6; }, D_ZAVORO_SECAO_LIMITE, 0,
         "número de limites fora do limite (6"},
        {"versão do limite", [](NvgBuilder& b) { b.limites[0].usVersao = 2; }, D_ZAVORO_SECAO_LIMITE, 1,
         "versão do limite desconhecida (2)"},
        {"limite abaixo do mínimo", [](NvgBuilder& b) { b.limites[0].tamanhoGravado = 15; }, D_ZAVORO_SECAO_LIMITE,
         1, "tamanho do limite fora do limite (15"},
        {"pontos de limite demais", [](NvgBuilder& b) { b.limites[0].numeroPontosGravado = 50001; },
         D_ZAVORO_SECAO_LIMITE, 1, "número de pontos do limite fora do limite (50001"},
        {"versão do evento 0", [](NvgBuilder& b) { b.corrupcao.versaoEvento = 0; }, D_ZAVORO_SECAO_EVENTO, 0,
         "versão do evento desconhecida (0)"},
        {"versão do evento 10", [](NvgBuilder& b) { b.corrupcao.versaoEvento = 10; }, D_ZAVORO_SECAO_EVENTO, 0,
         "versão do evento desconhecida (10)"},
        {"início do evento no piso",
         [](NvgBuilder& b) { b.stCabecalho.ulDataHoraInicioEvento = D_ZAVORO_DATA_HORA_MINIMA; },
         D_ZAVORO_SECAO_EVENTO, 0, "data e hora de início do evento inválida",
         [=](const Layout& l) { return campo(l.posCabecalhoEvento, offsetof(ST_EventoCabecalho, ulDataHoraInicioEvento)); }},
        {"talhão do evento no piso", [](NvgBuilder& b) { b.stCabecalho.ulDataHoraInicioTalhao = 5; },
         D_ZAVORO_SECAO_EVENTO, 0, "data e hora do talhão no evento inválida (5)"},
        {"etapas demais", [](NvgBuilder& b) { b.corrupcao.numeroConfiguracoes = 1001; }, D_ZAVORO_SECAO_EVENTO, 0,
         "número de etapas fora do limite (1001"},
        {"nome do evento sem terminação", [](NvgBuilder& b) { textoSemTerminador(b.stCabecalho.szNomeEvento); },
         D_ZAVORO_SECAO_EVENTO, 0, "nome do evento sem terminação"},
        {"operador sem terminação",
         [](NvgBuilder& b) { b.etapas[1].campoBruto("szOperador", std::string(40, 'O')); }, D_ZAVORO_SECAO_ETAPA,
         2, "nome do operador sem terminação",
         [=](const Layout& l) { return campo(l.posEtapas[1], offsetof(ST_EventoConfig_v9, szOperador)); }},
        {"máquina sem terminação",
         [](NvgBuilder& b) { b.etapas[0].campoBruto("szMaquina", std::string(40, 'M')); }, D_ZAVORO_SECAO_ETAPA, 1,
         "nome da máquina sem terminação"},
        {"cultura sem terminação",
         [](NvgBuilder& b) { b.etapas[0].campoBruto("szCultura", std::string(40, 'C')); }, D_ZAVORO_SECAO_ETAPA, 1,
         "nome da cultura sem terminação"},
        {"pontos demais na etapa", [](NvgBuilder& b) { b.etapas[0].numeroPontosGravado = 1000001; },
         D_ZAVORO_SECAO_ETAPA, 1, "número de pontos fora do limite (1000001"},
        {"pontos além da seção", [](NvgBuilder& b) { b.etapas[1].numeroPontosGravado = 9; }, D_ZAVORO_SECAO_PONTO,
         2, "ultrapassam o fim da seção do evento",
         // 7 points were written; the 8th would start where the checksum byte is.
         [](const Layout& l) { return static_cast<long long>(l.posPontos[1] + 7 * sizeof(ST_PontoNVG_v2)); }},
        {"último ponto incompleto", [](NvgBuilder& b) { b.corrupcao.bytesFaltandoEvento = 10; },
         D_ZAVORO_SECAO_PONTO, 2, "ultrapassam o fim da seção do evento"},
        {"bloco de configuração além da seção", [](NvgBuilder& b) { b.corrupcao.numeroConfiguracoes = 3; },
         D_ZAVORO_SECAO_ETAPA, 3, "bloco de configuração ultrapassa o fim da seção"},
    };

    for (const CasoCorrupcao& caso : casos)
    {
        SCOPED_TRACE(caso.pcNome);
        NvgBuilder b = Completo();
        caso.fnEstragar(b);
        Layout stLayout;
        ST_DiagnosticoValidacao stDiag = Diagnosticar(b, &stLayout);
        EXPECT_FALSE(stDiag.bValido);
        EXPECT_EQ(stDiag.iSecao, caso.iSecao) << zavoro_DescreverDiagnostico(stDiag);
        EXPECT_EQ(stDiag.lEntrada, caso.lEntrada) << zavoro_DescreverDiagnostico(stDiag);
        EXPECT_NE(stDiag.szMotivo.find(caso.pcMotivo), std::string::npos) << stDiag.szMotivo;
        long long llPosicao = caso.fnPosicao(stLayout);
        if (llPosicao >= 0)
        {
            EXPECT_EQ(stDiag.llPosicao, llPosicao);
        }
    }
}

TEST(Validacao, ChecagensNoLimiteDoAceitavel)
{
    NvgBuilder b = Completo();
    b.stTalhao.ucTipoGuia = 3;
    b.stTalhao.ulDataHoraInicio = D_ZAVORO_DATA_HORA_MINIMA + 1;
    b.stCabecalho.ulDataHoraInicioEvento = D_ZAVORO_DATA_HORA_MINIMA + 1;
    b.stCabecalho.ulDataHoraFimEvento = 0; // the end time is not checked
    b.guias[0].numeroPontosCurvaGravado = 50000;
    b.guias[0].pontosCurva.assign(50000, ST_PontosCurva{1, 1});
    EXPECT_TRUE(Diagnosticar(b).bValido) << zavoro_DescreverDiagnostico(Diagnosticar(b));

    // A point count of exactly the limit passes the bound; here the points are then missing.
    NvgBuilder limite = Completo();
    limite.etapas[0].numeroPontosGravado = D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO;
    ST_DiagnosticoValidacao stDiag = Diagnosticar(limite);
    EXPECT_EQ(stDiag.iSecao, D_ZAVORO_SECAO_PONTO) << zavoro_DescreverDiagnostico(stDiag);

    // Slack inside the event after the last point, and bytes between the event and the file checksum,
    // are tolerated as stored files may carry them.
    NvgBuilder folga = Completo();
    folga.corrupcao.bytesExtrasEvento = {1, 2, 3};
    folga.corrupcao.bytesAposEvento = {9, 9};
    EXPECT_TRUE(Diagnosticar(folga).bValido) << zavoro_DescreverDiagnostico(Diagnosticar(folga));
}

TEST(Validacao, EntradasMenoresQueSeuRegistroSaoRejeitadas)
{
    // Entries whose lengths and checksums agree, but that are too short for the record their version
    // announces: reading the record would run past the entry.
    struct
    {
        std::uint16_t usVersao;
        std::size_t bytesRegistro;
        bool bValido;
    } const guias[] = {{1, 47, false}, {1, 48, true}, {2, 55, false}, {2, 56, true}, {3, 55, false}};
    for (const auto& g : guias)
    {
        SCOPED_TRACE("guia v" + std::to_string(g.usVersao) + " com registro de " + std::to_string(g.bytesRegistro));
        NvgBuilder b = Completo();
        b.guias = {Guia{}};
        b.guias[0].usVersao = g.usVersao;
        b.guias[0].bytesRegistroGravados = g.bytesRegistro;
        ST_DiagnosticoValidacao stDiag = Diagnosticar(b);
        EXPECT_EQ(stDiag.bValido, g.bValido) << zavoro_DescreverDiagnostico(stDiag);
        if (!g.bValido)
        {
            EXPECT_EQ(stDiag.iSecao, D_ZAVORO_SECAO_GUIA);
            EXPECT_NE(stDiag.szMotivo.find("menor que o seu registro"), std::string::npos) << stDiag.szMotivo;
        }
    }
    NvgBuilder limite = Completo();
    limite.limites[0].pontos.clear();
    limite.limites[0].bytesRegistroGravados = 15;
    ST_DiagnosticoValidacao stDiag = Diagnosticar(limite);
    EXPECT_EQ(stDiag.iSecao, D_ZAVORO_SECAO_LIMITE);
    EXPECT_NE(stDiag.szMotivo.find("menor que o seu registro"), std::string::npos) << stDiag.szMotivo;
}

TEST(Validacao, TextosDoTrabalhoSoContamNaAdubacaoAPartirDaVersao3)
{
    for (std::uint16_t v : {2, 3, 7, 9})
    {
        SCOPED_TRACE("versão " + std::to_string(v));
        NvgBuilder b = NvgBuilder::tipico(v, 3);
        b.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO);
        b.etapas[0].campoBruto("szMapaTrabalho", std::string(40, 'Z'));
        ST_DiagnosticoValidacao stDiag = Diagnosticar(b);
        if (v < 3)
        {
            EXPECT_TRUE(stDiag.bValido); // the field is not even in a version-2 block
        }
        else
        {
            EXPECT_EQ(stDiag.szMotivo, "nome do mapa de trabalho sem terminação");
        }

        NvgBuilder taxa = NvgBuilder::tipico(v, 3);
        taxa.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("ucTipoTaxa", 2);
        EXPECT_EQ(Diagnosticar(taxa).bValido, v < 3);

        // The same damage in a spraying stage is not looked at.
        NvgBuilder pulv = NvgBuilder::tipico(v, 3);
        pulv.etapas[0].operacao(D_ZAVORO_OPERACAO_PULVERIZACAO).campo("ucTipoTaxa", 2);
        pulv.etapas[0].campoBruto("szNomeTrabalho", std::string(40, 'Z'));
        EXPECT_TRUE(Diagnosticar(pulv).bValido);
    }
    // Stored operation 4 is fertilising only in the old numbering.
    NvgBuilder antiga = NvgBuilder::tipico(8, 3);
    antiga.etapas[0].campo("ucOperacao", 4).campo("ucTipoTaxa", 2);
    EXPECT_FALSE(Diagnosticar(antiga).bValido);
    NvgBuilder atual = NvgBuilder::tipico(9, 3);
    atual.etapas[0].campo("ucOperacao", 4).campo("ucTipoTaxa", 2);
    EXPECT_TRUE(Diagnosticar(atual).bValido);
}

TEST(Validacao, ValidadoresDeSecaoDeixamAPosicaoNaProximaParte)
{
    Layout stLayout;
    std::vector<std::uint8_t> vBytes = Completo().construir(&stLayout);
    std::FILE* pf = fmemopen(vBytes.data(), vBytes.size(), "rb");
    ASSERT_NE(pf, nullptr);
    std::fseek(pf, 4, SEEK_SET);
    EXPECT_TRUE(zavoro_ValidarArquivoNavegacaoTalhao(pf));
    EXPECT_EQ(std::ftell(pf), static_cast<long>(stLayout.posNumeroGuias));
    EXPECT_TRUE(zavoro_ValidarArquivoNavegacaoGuia(pf));
    EXPECT_EQ(std::ftell(pf), static_cast<long>(*stLayout.posNumeroLimites));
    EXPECT_TRUE(zavoro_ValidarArquivoNavegacaoLimite(pf));
    EXPECT_EQ(std::ftell(pf), static_cast<long>(stLayout.posTamanhoEvento));
    EXPECT_TRUE(zavoro_ValidarArquivoNavegacaoEvento(pf));
    std::fclose(pf);
    EXPECT_FALSE(zavoro_ValidarArquivoNavegacaoEvento(nullptr));
}

TEST(Validacao, DescricaoDoDiagnostico)
{
    ST_DiagnosticoValidacao stDiag;
    EXPECT_EQ(zavoro_DescreverDiagnostico(stDiag), "válido");
    stDiag.bValido = FALSE;
    stDiag.iSecao = D_ZAVORO_SECAO_GUIA;
    stDiag.lEntrada = 2;
    stDiag.llPosicao = 187;
    stDiag.szMotivo = "soma de verificação da seção incorreta";
    EXPECT_EQ(zavoro_DescreverDiagnostico(stDiag), "guia 2 (byte 187): soma de verificação da seção incorreta");
    stDiag.iSecao = D_ZAVORO_SECAO_PONTO;
    stDiag.lPonto = 8;
    stDiag.szMotivo = "x";
    EXPECT_EQ(zavoro_DescreverDiagnostico(stDiag), "etapa 2, ponto 8 (byte 187): x");
    stDiag.iSecao = D_ZAVORO_SECAO_ARQUIVO;
    stDiag.lEntrada = 0;
    EXPECT_EQ(zavoro_DescreverDiagnostico(stDiag), "arquivo (byte 187): x");
}
