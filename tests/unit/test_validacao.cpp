// Validation of whole navigation files: what passes, what is rejected, and the reason and place the
// diagnostic gives for each kind of damage.
#include <gtest/gtest.h>

#include <functional>

#include "support/DadosEsperados.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/zavoro.h"

using namespace zavoro_teste;

namespace
{
ST_DiagnosticoValidacao Diagnosticar(const std::vector<std::uint8_t>& vBytes)
{
    DiretorioTemporario dir;
    std::filesystem::path caminho = dir.gravar("teste.nvg", vBytes);
    ST_DiagnosticoValidacao stDiag;
    BOOL bValido = zavoro_DiagnosticarArquivoNavegacao(caminho.string().c_str(), &stDiag);
    // The plain form must agree with the diagnostic form.
    EXPECT_EQ(bValido, zavoro_ValidarArquivoNavegacao(caminho.string().c_str()));
    EXPECT_EQ(bValido, stDiag.bValido);
    return stDiag;
}

ST_DiagnosticoValidacao Diagnosticar(const NvgBuilder& b)
{
    return Diagnosticar(b.construir());
}

// A file with something of every section: two guides of different versions, a boundary, two stages.
NvgBuilder Completo(std::uint16_t usVersaoEvento = 9)
{
    NvgBuilder b = NvgBuilder::tipico(usVersaoEvento, 5);
    b.etapas.push_back(etapaTipica(7, 5));
    Guia curva;
    curva.usVersao = 3;
    curva.stGuia.ucTipoGuia = D_ZAVORO_TIPO_GUIA_CURVA;
    curva.curvas = {Curva{{{0, 0}, {1, 1}, {2, 3}}, {}}, Curva{{{5, 5}}, {}}};
    b.guias = {Guia{}, curva};
    Limite limite;
    limite.pontos = {{0, 0}, {100, 0}, {100, 100}};
    b.limites = {limite};
    return b;
}

std::string Descrever(const NvgBuilder& b)
{
    return zavoro_DescreverDiagnostico(Diagnosticar(b));
}
} // namespace

TEST(Validacao, ArquivosBemFormadosDeTodasAsVersoesPassam)
{
    for (std::uint16_t v = 1; v <= 9; v++)
    {
        SCOPED_TRACE("versão do evento " + std::to_string(v));
        EXPECT_EQ(Descrever(Completo(v)), "válido");
        NvgBuilder semLimites = Completo(v);
        semLimites.uiVersaoArquivo = 1;
        EXPECT_EQ(Descrever(semLimites), "válido");
    }
    NvgBuilder guiaV1 = Completo();
    guiaV1.guias[0].usVersao = 1;
    guiaV1.guias[0].pontosCurva = {{1, 2}, {3, 4}};
    EXPECT_EQ(Descrever(guiaV1), "válido");
    NvgBuilder vazio;
    vazio.etapas.push_back(etapaTipica(0));
    EXPECT_EQ(Descrever(vazio), "válido");
    // The smallest event: version 1 with one empty stage, 351 bytes.
    EXPECT_EQ(Descrever(NvgBuilder::tipico(1, 0)), "válido");
}

TEST(Validacao, ArquivosPequenosOuAusentes)
{
    DiretorioTemporario dir;
    ST_DiagnosticoValidacao stDiag;
    // 71 bytes fail on size before anything else; 72 bytes get as far as the checksum.
    EXPECT_NE(Diagnosticar(std::vector<std::uint8_t>(71)).szMotivo.find("tamanho do arquivo"), std::string::npos);
    std::vector<std::uint8_t> v72(72, 0);
    v72[0] = v72[71] = 7;
    EXPECT_EQ(zavoro_DescreverDiagnostico(Diagnosticar(v72)),
              "arquivo (byte 0): versão do arquivo de navegação desconhecida (7)");
    v72[71] = 6;
    EXPECT_NE(Diagnosticar(v72).szMotivo.find("soma de verificação do arquivo"), std::string::npos);
    EXPECT_FALSE(zavoro_DiagnosticarArquivoNavegacao((dir / "nao_existe.nvg").string().c_str(), &stDiag));
    EXPECT_NE(stDiag.szMotivo.find("abrir"), std::string::npos);
    EXPECT_FALSE(zavoro_DiagnosticarArquivoNavegacao(dir.caminho().string().c_str(), &stDiag));
}

// One kind of damage per row: the file must be rejected, and the diagnostic's section, entry, byte and
// reason for each row are kept in the data file.
TEST(Validacao, CadaCorrupcaoERejeitadaComMotivoELugar)
{
    using B = NvgBuilder&;
    auto checksum = [](Secao s, std::size_t i = 0) {
        return [=](B b) { b.corrupcao.checksumErrado.push_back({s, i}); };
    };
    const std::string szSemFim(40, 'X');
    const std::pair<const char*, std::function<void(NvgBuilder&)>> casos[] = {
        {"checksum do arquivo", checksum(Secao::Arquivo)},
        {"checksum do talhão", checksum(Secao::Talhao)},
        {"checksum da guia 2", checksum(Secao::Guia, 1)},
        {"checksum do evento", checksum(Secao::Evento)},
        {"arquivo truncado", [](B b) { b.corrupcao.truncarBytes = 30; }},
        {"truncado, checksum refeito", [](B b) { b.corrupcao.truncarBytes = 30, b.corrupcao.corrigirChecksumArquivo = true; }},
        {"versão do contêiner", [](B b) { b.corrupcao.versaoArquivo = 3; }},
        {"versão do talhão", [](B b) { b.usVersaoTalhao = 2; }},
        {"tamanho do talhão", [](B b) { b.corrupcao.tamanhoTalhao = 74; }},
        {"nome do talhão", [](B b) { textoSemTerminador(b.stTalhao.szNomeTalhao); }},
        {"talhão no piso", [](B b) { b.stTalhao.ulDataHoraInicio = D_ZAVORO_DATA_HORA_MINIMA; }},
        {"talhão sem data", [](B b) { b.stTalhao.ulDataHoraInicio = 0xFFFFFFFFu; }},
        {"tipo de guia do talhão", [](B b) { b.stTalhao.ucTipoGuia = 4; }},
        {"onze guias", [](B b) { b.corrupcao.numeroGuias = 11; }},
        {"versão da guia 0", [](B b) { b.guias[0].versaoGravada = 0; }},
        {"versão da guia 4", [](B b) { b.guias[1].versaoGravada = 4; }},
        {"guia pequena", [](B b) { b.guias[0].tamanhoGravado = 47; }},
        {"guia grande", [](B b) { b.guias[0].tamanhoGravado = 10485761; }},
        {"guia além do arquivo", [](B b) { b.guias[1].tamanhoGravado = 10485760; }},
        // Lengths and checksums agree, but the entry cannot hold the record its version announces.
        {"registro v1 curto", [](B b) { b.guias[0].usVersao = 1, b.guias[0].bytesRegistroGravados = 47; }},
        {"registro v2 curto", [](B b) { b.guias[0].bytesRegistroGravados = 55; }},
        {"registro v3 curto", [](B b) { b.guias[0].usVersao = 3, b.guias[0].bytesRegistroGravados = 55; }},
        {"pontos de curva", [](B b) { b.guias[0].numeroPontosCurvaGravado = 50001; }},
        {"seis limites", [](B b) { b.corrupcao.numeroLimites = 6; }},
        {"versão do limite", [](B b) { b.limites[0].usVersao = 2; }},
        {"limite pequeno", [](B b) { b.limites[0].tamanhoGravado = 15; }},
        {"registro do limite curto", [](B b) { b.limites[0].pontos.clear(), b.limites[0].bytesRegistroGravados = 15; }},
        {"pontos de limite", [](B b) { b.limites[0].numeroPontosGravado = 50001; }},
        {"evento pequeno", [](B b) { b.corrupcao.tamanhoEvento = 350; }},
        {"versão do evento 0", [](B b) { b.corrupcao.versaoEvento = 0; }},
        {"versão do evento 10", [](B b) { b.corrupcao.versaoEvento = 10; }},
        {"início no piso", [](B b) { b.stCabecalho.ulDataHoraInicioEvento = D_ZAVORO_DATA_HORA_MINIMA; }},
        {"talhão do evento", [](B b) { b.stCabecalho.ulDataHoraInicioTalhao = 5; }},
        {"etapas demais", [](B b) { b.corrupcao.numeroConfiguracoes = 1001; }},
        {"nome do evento", [](B b) { textoSemTerminador(b.stCabecalho.szNomeEvento); }},
        {"operador", [&](B b) { b.etapas[1].campoBruto("szOperador", szSemFim); }},
        {"máquina", [&](B b) { b.etapas[0].campoBruto("szMaquina", szSemFim); }},
        {"cultura", [&](B b) { b.etapas[0].campoBruto("szCultura", szSemFim); }},
        {"pontos demais", [](B b) { b.etapas[0].numeroPontosGravado = 1000001; }},
        // 7 points were written; the 8th would start where the checksum byte is.
        {"pontos além da seção", [](B b) { b.etapas[1].numeroPontosGravado = 9; }},
        {"último ponto incompleto", [](B b) { b.corrupcao.bytesFaltandoEvento = 10; }},
        {"bloco além da seção", [](B b) { b.corrupcao.numeroConfiguracoes = 3; }},
        // A count of exactly the limit passes the bound and then finds the points missing.
        {"pontos no limite", [](B b) { b.etapas[0].numeroPontosGravado = D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO; }},
        // First failure in file order: a damaged entry reports its checksum, whatever its bytes say,
        // and the first guide's record is judged before the second guide is entered.
        {"guia 2 estragada", [](B b) { b.guias[1].versaoGravada = 4, b.corrupcao.checksumErrado.push_back({Secao::Guia, 1}); }},
        {"guia 1 antes da 2", [](B b) { b.guias[0].numeroPontosCurvaGravado = 50001, b.guias[1].tamanhoGravado = 47; }},
        {"evento estragado", [](B b) { b.corrupcao.versaoEvento = 10, b.corrupcao.checksumErrado.push_back({Secao::Evento}); }},
    };
    std::string szObtido;
    for (const auto& [pcNome, fnEstragar] : casos)
    {
        NvgBuilder b = Completo();
        fnEstragar(b);
        const ST_DiagnosticoValidacao stDiag = Diagnosticar(b);
        EXPECT_FALSE(stDiag.bValido) << pcNome;
        szObtido += std::string(pcNome) + ": " + zavoro_DescreverDiagnostico(stDiag) + "\n";
    }
    EXPECT_TRUE(CompararComDados("validacao/corrupcoes.txt", szObtido));
}

TEST(Validacao, SomaDoArquivoErradaVemAntesDeQualquerOutroDefeito)
{
    // The walk sums the file as it goes, but the file's checksum stays the first verdict: whatever
    // else is wrong, and wherever the walk stopped or left bytes unread, a wrong file checksum is what
    // the diagnostic names.
    using B = NvgBuilder&;
    const std::pair<const char*, std::function<void(NvgBuilder&)>> casos[] = {
        {"só a soma", [](B) {}},
        {"versão do evento", [](B b) { b.corrupcao.versaoEvento = 10; }},
        {"guia pequena", [](B b) { b.guias[0].tamanhoGravado = 47; }},
        {"pontos além da seção", [](B b) { b.etapas[1].numeroPontosGravado = 9; }},
        {"checksum do evento", [](B b) { b.corrupcao.checksumErrado.push_back({Secao::Evento}); }},
        {"bytes após o evento", [](B b) { b.corrupcao.bytesAposEvento = {9, 9}; }},
    };
    for (const auto& [pcNome, fnEstragar] : casos)
    {
        NvgBuilder b = Completo();
        fnEstragar(b);
        b.corrupcao.checksumErrado.push_back({Secao::Arquivo});
        const std::vector<std::uint8_t> vBytes = b.construir();
        const ST_DiagnosticoValidacao stDiag = Diagnosticar(vBytes);
        EXPECT_EQ(stDiag.szMotivo, "soma de verificação do arquivo incorreta") << pcNome;
        EXPECT_EQ(stDiag.llPosicao, static_cast<long long>(vBytes.size()) - 1) << pcNome;
        EXPECT_EQ(stDiag.iSecao, D_ZAVORO_SECAO_ARQUIVO) << pcNome;
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
    EXPECT_EQ(Descrever(b), "válido");

    // Slack inside the event after the last point, and bytes between the event and the file checksum,
    // are tolerated as stored files may carry them.
    NvgBuilder folga = Completo();
    folga.corrupcao.bytesExtrasEvento = {1, 2, 3};
    folga.corrupcao.bytesAposEvento = {9, 9};
    EXPECT_EQ(Descrever(folga), "válido");
}

TEST(Validacao, TextosDoTrabalhoSoContamNaAdubacaoAPartirDaVersao3)
{
    for (std::uint16_t v : {2, 3, 7, 9})
    {
        SCOPED_TRACE("versão " + std::to_string(v));
        NvgBuilder b = NvgBuilder::tipico(v, 3);
        b.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO).campoBruto("szMapaTrabalho", std::string(40, 'Z'));
        // The field is not even in a version-2 block.
        EXPECT_EQ(Diagnosticar(b).szMotivo, v < 3 ? "" : "nome do mapa de trabalho sem terminação");

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
    ArquivoTemporario arquivo = arquivoTemporario(vBytes, 4);
    std::FILE* pf = arquivo.get();
    EXPECT_TRUE(zavoro_ValidarArquivoNavegacaoTalhao(pf));
    EXPECT_EQ(std::ftell(pf), static_cast<long>(stLayout.posNumeroGuias));
    EXPECT_TRUE(zavoro_ValidarArquivoNavegacaoGuia(pf));
    EXPECT_EQ(std::ftell(pf), static_cast<long>(*stLayout.posNumeroLimites));
    EXPECT_TRUE(zavoro_ValidarArquivoNavegacaoLimite(pf));
    EXPECT_EQ(std::ftell(pf), static_cast<long>(stLayout.posTamanhoEvento));
    EXPECT_TRUE(zavoro_ValidarArquivoNavegacaoEvento(pf));
    EXPECT_FALSE(zavoro_ValidarArquivoNavegacaoEvento(nullptr));
}
