// The conversion and classification workers as a window sees them: the order and content of their
// notices, the result hand-shake, cancellation, and what a failed file leaves behind.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>
#include <utility>

#include "support/DadosEsperados.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/conversor.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
// One notice as the window would log it: "inicio:1", "resultado:1:4", "fim", "procura:0:5".
using Registro = std::vector<std::string>;

// Plays the window: the worker runs on its own thread and its notices are queued to the test thread,
// which handles them in order and only then confirms results, as a real window does.
class JanelaFalsa
{
public:
    explicit JanelaFalsa(ST_EstruturaThread* pstThread) : m_pstThread(pstThread)
    {
        pstThread->hHandleRetorno = ST_ReceptorAvisos{
            this,
            [](void* p, int iStatus, int iTipos) {
                Eu(p).Postar({"procura:" + std::to_string(iStatus) + ":" + std::to_string(iTipos), {}});
            },
            [](void* p, const ST_DetalhesConversao& st) { Eu(p).Postar({"", st}); },
            [](void* p) { Eu(p).Postar({"fim", {}}); }};
    }

    // Runs the worker and handles its notices until the last one; fnAoIniciar runs at each file's start.
    Registro Executar(unsigned int (*pfWorker)(void*), const std::function<void()>& fnAoIniciar = {})
    {
        std::thread worker(pfWorker, m_pstThread);
        Registro registro;
        for (bool bFim = false; !bFim;)
        {
            std::unique_lock<std::mutex> trava(m_mutex);
            m_cv.wait(trava, [&] { return !m_fila.empty(); });
            const auto [szFim, st] = std::move(m_fila.front()); // szFim names a last notice
            m_fila.pop_front();
            trava.unlock();
            bFim = !szFim.empty();
            if (bFim)
                registro.push_back(szFim);
            else if (st.iStatus <= D_CONVERSOR_STATUS_CONVERSAO_GERANDO_MAPA)
            {
                registro.push_back("inicio:" + std::to_string(st.iNumArquivoAtual));
                if (fnAoIniciar)
                    fnAoIniciar();
            }
            else
            {
                registro.push_back("resultado:" + std::to_string(st.iNumArquivoAtual) + ":" + std::to_string(st.iStatus));
                detalhes.push_back(st);
                conversor_ConfirmarAviso(m_pstThread);
            }
        }
        worker.join();
        return registro;
    }

    std::vector<ST_DetalhesConversao> detalhes; // every result notice, in order

private:
    using Aviso = std::pair<std::string, ST_DetalhesConversao>;

    static JanelaFalsa& Eu(void* p) { return *static_cast<JanelaFalsa*>(p); }

    void Postar(Aviso aviso)
    {
        {
            std::lock_guard<std::mutex> trava(m_mutex);
            m_fila.push_back(std::move(aviso));
        }
        m_cv.notify_one();
    }

    ST_EstruturaThread* m_pstThread;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<Aviso> m_fila;
};

// A selection in the open dialog's layout: one file whole, or the folder and then each name.
std::string Lista(const fs::path& pasta, const std::vector<std::string>& vNomes)
{
    std::string sz = vNomes.size() == 1 ? (pasta / vNomes[0]).string() : pasta.string();
    sz += '\0';
    for (std::size_t i = 0; vNomes.size() > 1 && i < vNomes.size(); ++i)
        sz += vNomes[i] + '\0';
    return sz + '\0';
}

// One conversion job run to its end notice, the window's record outliving the worker.
struct Conversao
{
    ST_EstruturaThread stThread;
    JanelaFalsa janela{&stThread};
    Registro registro;

    Conversao(const std::string& szLista, int iNumArquivos, int iTipoConversao,
              int iTipoSelecao = D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS, bool bCancelarNoInicio = false)
    {
        ST_ConversaoArquivos stJob{iTipoSelecao, iTipoConversao, szLista.c_str(), iNumArquivos, {}, {}, {}, {}};
        stThread.lpArgumento = &stJob;
        registro = janela.Executar(conversor_ThreadCriarRelatoriosMapasNavegacao, [&] {
            if (bCancelarNoInicio)
                stThread.ucCancelarConversao = 1;
        });
    }
};

NvgBuilder Arquivo(std::uint8_t ucOperacao)
{
    NvgBuilder b = NvgBuilder::tipico(9, 5);
    texto(b.stTalhao.szNomeTalhao, "Talhão Norte");
    b.etapas[0].operacao(ucOperacao);
    return b;
}
} // namespace

TEST(Conversao, UmArquivoDeCadaTipoDeTrabalho)
{
    DiretorioTemporario dir;
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "a.nvg");
    const std::string szArquivo = (dir / "a.nvg").string();
    struct Caso
    {
        int iTipoSelecao, iTipoConversao, iStatus;
        const char* pcSaida;
    };
    const Caso vCasos[] = {
        {D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, 4, "a.txt"},
        // A folder's list goes through the loop even with one file.
        {D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_DIRETORIO, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, 4, "a.txt"},
        {D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS, D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA, 5, "a_Cobertura.kml"},
        {D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS, D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE, 5,
         "a_Velocidade.kml"},
        {D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS, D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO, 5,
         "a_Cobertura.kml"},
    };
    for (const Caso& c : vCasos)
    {
        SCOPED_TRACE(std::to_string(c.iTipoSelecao) + "/" + std::to_string(c.iTipoConversao));
        fs::path saida = dir / c.pcSaida;
        fs::remove(saida);
        Conversao t(szArquivo + '\0' + '\0', 1, c.iTipoConversao, c.iTipoSelecao);
        EXPECT_EQ(t.registro, (Registro{"inicio:1", "resultado:1:" + std::to_string(c.iStatus), "fim"}));
        ASSERT_EQ(t.janela.detalhes.size(), 1u);
        const ST_DetalhesConversao& st = t.janela.detalhes[0];
        EXPECT_EQ(st.iNumTotalArquivos, 1);
        EXPECT_EQ(st.cNomeArquivo, szArquivo);
        EXPECT_EQ(st.cNomeTalhao, "Talhão Norte");
        EXPECT_EQ(st.iErroImpressaoGuia, 0);
        EXPECT_TRUE(fs::exists(saida));
        EXPECT_EQ(fs::exists(saida.replace_extension(".shp")), c.iStatus == 5); // maps bring their set
        // Only the map with recommendation hands its set to the viewer as map 2.
        const bool bRecomendacao = c.iTipoConversao == D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO;
        EXPECT_EQ(st.szMapa2Shp, bRecomendacao ? (dir / "a_Cobertura.shp").string() : "");
        EXPECT_EQ(st.szMapa2Dbf, bRecomendacao ? (dir / "a_Cobertura.dbf").string() : "");
        EXPECT_EQ(st.uiMapa2ParamSelecionado, bRecomendacao ? 1u : 0u);
        EXPECT_EQ(t.stThread.iDesenharSegundoMapa.load(), bRecomendacao ? 1 : 0);
    }
}

TEST(Conversao, ArquivoInvalidoNaoIniciaEFalhaAoGravarDizOMotivo)
{
    DiretorioTemporario dir;
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "a.nvg");
    NvgBuilder ruim = Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO);
    ruim.corrupcao.checksumErrado.push_back({Secao::Evento});
    ruim.gravar(dir / "b.nvg");
    // Valid, but a folder stands where its report would go.
    Arquivo(D_ZAVORO_OPERACAO_COLHEITA).gravar(dir / "c.nvg");
    fs::create_directory(dir / "c.txt");

    Conversao t(Lista(dir.caminho(), {"a.nvg", "b.nvg", "c.nvg"}), 3, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO);
    EXPECT_EQ(t.registro, (Registro{"inicio:1", "resultado:1:4", "resultado:2:3", "inicio:3", "resultado:3:3", "fim"}));
    ASSERT_EQ(t.janela.detalhes.size(), 3u);
    EXPECT_EQ(t.janela.detalhes[1].iNumTotalArquivos, 3);
    EXPECT_NE(t.janela.detalhes[1].szMotivoErro.find("soma de verificação"), std::string::npos);
    EXPECT_TRUE(t.janela.detalhes[1].cNomeTalhao.empty()); // never opened past validation
    EXPECT_FALSE(t.janela.detalhes[2].szMotivoErro.empty());
    EXPECT_TRUE(fs::exists(dir / "a.txt"));
    EXPECT_FALSE(fs::exists(dir / "b.txt"));
    EXPECT_TRUE(fs::is_directory(dir / "c.txt"));
}

TEST(Conversao, CancelarDuranteOPrimeiroDeTres)
{
    DiretorioTemporario dir;
    for (const char* n : {"a.nvg", "b.nvg", "c.nvg"})
        Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / n);
    Conversao t(Lista(dir.caminho(), {"a.nvg", "b.nvg", "c.nvg"}), 3, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO,
                D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS, true);
    EXPECT_EQ(t.registro, (Registro{"inicio:1", "resultado:1:4", "fim"}));
    EXPECT_TRUE(fs::exists(dir / "a.txt"));
    EXPECT_FALSE(fs::exists(dir / "b.txt"));
}

TEST(Conversao, ClassificacaoDosArquivosSelecionados)
{
    DiretorioTemporario dir;
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "pulv.nvg");
    Arquivo(D_ZAVORO_OPERACAO_COLHEITA).gravar(dir / "colh.nvg");
    Arquivo(D_ZAVORO_OPERACAO_ADUBACAO).gravar(dir / "adub.nvg");
    NvgBuilder v1 = NvgBuilder::tipico(1, 3);
    v1.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO); // never fertilising in version 1
    v1.gravar(dir / "v1.nvg");
    NvgBuilder ruim = Arquivo(D_ZAVORO_OPERACAO_ADUBACAO);
    ruim.corrupcao.checksumErrado.push_back({Secao::Arquivo});
    ruim.gravar(dir / "ruim.nvg");

    const std::pair<std::vector<std::string>, const char*> vCasos[] = {
        {{"pulv.nvg", "colh.nvg"}, "procura:0:5"}, {{"adub.nvg"}, "procura:0:2"},
        {{"v1.nvg"}, "procura:0:4"}, {{"ruim.nvg", "colh.nvg"}, "procura:0:4"}, {{"ruim.nvg"}, "procura:0:0"}};
    for (const auto& [vNomes, pcEsperado] : vCasos)
    {
        ST_EstruturaThread stThread;
        auto pstSelecao = std::make_unique<ST_SelecaoArquivos>();
        const std::string szLista = Lista(dir.caminho(), vNomes);
        std::memcpy(pstSelecao->szPathsArqNaveg, szLista.data(), szLista.size());
        pstSelecao->iNumArquivos = static_cast<int>(vNomes.size());
        stThread.lpArgumento = pstSelecao.get();
        EXPECT_EQ(JanelaFalsa(&stThread).Executar(conversor_ThreadAnalisarTiposArquivosNavegacao), Registro{pcEsperado})
            << vNomes[0];
    }
    EXPECT_EQ(conversor_AnalisarTiposArqNavegacao((dir / "nada.nvg").string().c_str()), 0);

    // Stages of several operations in one file add up.
    NvgBuilder misto = NvgBuilder::tipico(9, 2);
    misto.etapas.push_back(etapaTipica(2, 2));
    misto.etapas[1].operacao(D_ZAVORO_OPERACAO_ADUBACAO);
    misto.gravar(dir / "misto.nvg");
    EXPECT_EQ(conversor_AnalisarTiposArqNavegacao((dir / "misto.nvg").string().c_str()),
              D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO | D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_ADUBACAO);
}

TEST(Conversao, NomesDeSaidaSoOlhamONomeDoArquivo)
{
    // The plain names come with every conversion above; here the dots that are not an extension.
    EXPECT_EQ(conversor_NomeArquivoSaida("/d/a.b.nvg", D_CONVERSOR_TIPO_CONVERSAO_RELATORIO), "/d/a.b.txt");
    EXPECT_EQ(conversor_NomeArquivoSaida("/d.v2/job", D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE),
              "/d.v2/job_Velocidade.kml");
}

TEST(Conversao, BlocoDaListaDeResultados)
{
    // The head line by job, status and guide errors, failures without field or event; then paths of
    // more than 65 characters (not bytes) keeping their last 65. All blocks in
    // tests/dados/conversao/blocos_de_resultado.txt, one after the other.
    ST_DetalhesConversao st;
    st.iNumArquivoAtual = 2;
    st.iNumTotalArquivos = 3;
    st.cNomeTalhao = "Talhão";
    st.cNomeEvento = "Evento";
    const std::tuple<int, int, int> vCabecas[] = {
        {D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_RELATORIO_GERADO, 0},
        {D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA, D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO, 1},
        {D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO, D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO, 2},
        {D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE, D_CONVERSOR_STATUS_CONVERSAO_ERRO, 0},
    };
    std::string szBlocos;
    for (const auto& [iTipo, iStatus, iErroGuia] : vCabecas)
    {
        st.iTipoConversao = iTipo;
        st.iStatus = iStatus;
        st.iErroImpressaoGuia = iErroGuia;
        szBlocos += conversor_MontarBlocoResultado(st, "\n");
    }
    const std::string szA(64, 'a');
    for (const std::string& szCaminho : {"/" + szA, "/ã" + szA, "/çã" + szA})
    {
        st.cNomeArquivo = szCaminho;
        szBlocos += conversor_MontarBlocoResultado(st, "\n");
    }
    EXPECT_TRUE(CompararComDados("conversao/blocos_de_resultado.txt", szBlocos));
}
