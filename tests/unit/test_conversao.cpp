// The conversion and classification workers as a window sees them: the order and content of their
// notices, the result hand-shake, cancellation, and what a failed file leaves behind.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/conversor.h"

using namespace zavoro_teste;

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
        pstThread->hHandleRetorno = ST_ReceptorAvisos{this, &ProcuraOk, &Convertendo, &ConversaoOk};
    }

    // Runs the worker and handles its notices until the last one; returns the log.
    Registro Executar(unsigned int (*pfWorker)(void*), const std::function<void(const ST_DetalhesConversao&)>& fnAoIniciar = {})
    {
        std::thread worker(pfWorker, m_pstThread);
        Registro registro;
        for (bool bFim = false; !bFim;)
        {
            Aviso aviso = Proximo();
            switch (aviso.iMensagem)
            {
            case WM_PROCURA_ARQUIVOS_OK:
                registro.push_back("procura:" + std::to_string(aviso.iStatus) + ":" + std::to_string(aviso.iTipos));
                bFim = true;
                break;
            case WM_CONVERTENDO_ARQUIVOS:
                if (aviso.stDetalhes.iStatus <= D_CONVERSOR_STATUS_CONVERSAO_GERANDO_MAPA)
                {
                    registro.push_back("inicio:" + std::to_string(aviso.stDetalhes.iNumArquivoAtual));
                    if (fnAoIniciar)
                        fnAoIniciar(aviso.stDetalhes);
                }
                else
                {
                    registro.push_back("resultado:" + std::to_string(aviso.stDetalhes.iNumArquivoAtual) + ":" +
                                       std::to_string(aviso.stDetalhes.iStatus));
                    detalhes.push_back(aviso.stDetalhes);
                    conversor_ConfirmarAviso(m_pstThread);
                }
                break;
            case WM_CONVERSAO_OK:
                registro.push_back("fim");
                bFim = true;
                break;
            }
        }
        worker.join();
        return registro;
    }

    std::vector<ST_DetalhesConversao> detalhes; // every result notice, in order

private:
    struct Aviso
    {
        int iMensagem;
        int iStatus = 0;
        int iTipos = 0;
        ST_DetalhesConversao stDetalhes;
    };

    static void ProcuraOk(void* p, int iStatus, int iTipos)
    {
        static_cast<JanelaFalsa*>(p)->Postar({WM_PROCURA_ARQUIVOS_OK, iStatus, iTipos, {}});
    }
    static void Convertendo(void* p, const ST_DetalhesConversao& st)
    {
        static_cast<JanelaFalsa*>(p)->Postar({WM_CONVERTENDO_ARQUIVOS, 0, 0, st});
    }
    static void ConversaoOk(void* p) { static_cast<JanelaFalsa*>(p)->Postar({WM_CONVERSAO_OK, 0, 0, {}}); }

    void Postar(Aviso aviso)
    {
        {
            std::lock_guard<std::mutex> trava(m_mutex);
            m_fila.push_back(std::move(aviso));
        }
        m_cv.notify_one();
    }
    Aviso Proximo()
    {
        std::unique_lock<std::mutex> trava(m_mutex);
        m_cv.wait(trava, [&] { return !m_fila.empty(); });
        Aviso aviso = std::move(m_fila.front());
        m_fila.pop_front();
        return aviso;
    }

    ST_EstruturaThread* m_pstThread;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<Aviso> m_fila;
};

// A selection in the open dialog's layout: the folder, then each name.
struct Selecao
{
    std::string szLista;
    int iNumArquivos = 0;

    static Selecao Arquivos(const std::filesystem::path& pasta, const std::vector<std::string>& vNomes)
    {
        Selecao s;
        if (vNomes.size() == 1)
            s.szLista = (pasta / vNomes[0]).string() + '\0';
        else
        {
            s.szLista = pasta.string() + '\0';
            for (const auto& n : vNomes)
                s.szLista += n + '\0';
        }
        s.szLista += '\0';
        s.iNumArquivos = static_cast<int>(vNomes.size());
        return s;
    }
};

Registro Converter(const Selecao& selecao, int iTipoSelecao, int iTipoConversao, JanelaFalsa** ppJanela = nullptr,
                   const std::function<void(ST_EstruturaThread&, const ST_DetalhesConversao&)>& fnAoIniciar = {})
{
    static ST_EstruturaThread stThread; // outlives the worker, as the window's record does
    static std::unique_ptr<JanelaFalsa> janela;
    ST_ConversaoArquivos stJob{iTipoSelecao, iTipoConversao, selecao.szLista.c_str(), selecao.iNumArquivos, {}};
    stThread.lpArgumento = &stJob;
    janela = std::make_unique<JanelaFalsa>(&stThread);
    if (ppJanela != nullptr)
        *ppJanela = janela.get();
    return janela->Executar(conversor_ThreadCriarRelatoriosMapasNavegacao,
                            [&](const ST_DetalhesConversao& st) {
                                if (fnAoIniciar)
                                    fnAoIniciar(stThread, st);
                            });
}

NvgBuilder Arquivo(std::uint8_t ucOperacao, const char* pcTalhao = "Talhão Norte")
{
    NvgBuilder b = NvgBuilder::tipico(9, 5);
    texto(b.stTalhao.szNomeTalhao, pcTalhao);
    b.etapas[0].operacao(ucOperacao);
    return b;
}
} // namespace

TEST(Conversao, UmArquivoEscolhidoNoDialogo)
{
    DiretorioTemporario dir;
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "a.nvg");
    JanelaFalsa* pJanela = nullptr;
    Registro r = Converter(Selecao::Arquivos(dir.caminho(), {"a.nvg"}), D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS,
                           D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, &pJanela);
    EXPECT_EQ(r, (Registro{"inicio:1", "resultado:1:4", "fim"}));
    ASSERT_EQ(pJanela->detalhes.size(), 1u);
    const ST_DetalhesConversao& st = pJanela->detalhes[0];
    EXPECT_EQ(st.iNumTotalArquivos, 1);
    EXPECT_EQ(st.cNomeArquivo, (dir / "a.nvg").string());
    EXPECT_EQ(st.cNomeTalhao, "Talhão Norte");
    EXPECT_TRUE(std::filesystem::exists(dir / "a.txt"));
}

TEST(Conversao, TresArquivosComOSegundoInvalido)
{
    DiretorioTemporario dir;
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "a.nvg");
    NvgBuilder ruim = Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO);
    ruim.corrupcao.checksumErrado.push_back({Secao::Evento});
    ruim.gravar(dir / "b.nvg");
    Arquivo(D_ZAVORO_OPERACAO_COLHEITA).gravar(dir / "c.nvg");

    JanelaFalsa* pJanela = nullptr;
    Registro r = Converter(Selecao::Arquivos(dir.caminho(), {"a.nvg", "b.nvg", "c.nvg"}),
                           D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, &pJanela);
    EXPECT_EQ(r, (Registro{"inicio:1", "resultado:1:4", "resultado:2:3", "inicio:3", "resultado:3:4", "fim"}));
    ASSERT_EQ(pJanela->detalhes.size(), 3u);
    EXPECT_EQ(pJanela->detalhes[1].iNumTotalArquivos, 3);
    EXPECT_NE(pJanela->detalhes[1].szMotivoErro.find("soma de verificação"), std::string::npos);
    EXPECT_TRUE(pJanela->detalhes[1].cNomeTalhao.empty()); // never opened past validation
    EXPECT_FALSE(std::filesystem::exists(dir / "b.txt"));
    EXPECT_TRUE(std::filesystem::exists(dir / "c.txt"));
}

TEST(Conversao, CancelarDuranteOPrimeiroDeTres)
{
    DiretorioTemporario dir;
    for (const char* n : {"a.nvg", "b.nvg", "c.nvg"})
        Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / n);
    Registro r = Converter(Selecao::Arquivos(dir.caminho(), {"a.nvg", "b.nvg", "c.nvg"}),
                           D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, nullptr,
                           [](ST_EstruturaThread& t, const ST_DetalhesConversao&) { t.ucCancelarConversao = 1; });
    EXPECT_EQ(r, (Registro{"inicio:1", "resultado:1:4", "fim"}));
    EXPECT_TRUE(std::filesystem::exists(dir / "a.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "b.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "c.txt"));
}

TEST(Conversao, PastaComUmArquivoPassaPeloLaco)
{
    DiretorioTemporario dir;
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "a.nvg");
    Selecao s;
    s.szLista = (dir / "a.nvg").string() + '\0';
    s.iNumArquivos = 1;
    JanelaFalsa* pJanela = nullptr;
    Registro r = Converter(s, D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_DIRETORIO, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, &pJanela);
    EXPECT_EQ(r, (Registro{"inicio:1", "resultado:1:4", "fim"}));
    EXPECT_EQ(pJanela->detalhes[0].iNumTotalArquivos, 1);
}

TEST(Conversao, MapasDeCoberturaEVelocidadeComONomeDoTipo)
{
    DiretorioTemporario dir;
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "a.nvg");
    JanelaFalsa* pJanela = nullptr;
    Registro r = Converter(Selecao::Arquivos(dir.caminho(), {"a.nvg"}), D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS,
                           D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA, &pJanela);
    EXPECT_EQ(r, (Registro{"inicio:1", "resultado:1:5", "fim"}));
    EXPECT_TRUE(std::filesystem::exists(dir / "a_Cobertura.kml"));
    r = Converter(Selecao::Arquivos(dir.caminho(), {"a.nvg"}), D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS,
                  D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE, &pJanela);
    EXPECT_EQ(r, (Registro{"inicio:1", "resultado:1:5", "fim"}));
    EXPECT_TRUE(std::filesystem::exists(dir / "a_Velocidade.kml"));
    EXPECT_EQ(pJanela->detalhes[0].iErroImpressaoGuia, 0);
}

TEST(Conversao, MapaComRecomendacaoEntregaOConjuntoAoVisualizador)
{
    DiretorioTemporario dir;
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "a.nvg");
    JanelaFalsa* pJanela = nullptr;
    Registro r = Converter(Selecao::Arquivos(dir.caminho(), {"a.nvg"}), D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS,
                           D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO, &pJanela);
    EXPECT_EQ(r, (Registro{"inicio:1", "resultado:1:5", "fim"}));
    EXPECT_EQ(pJanela->detalhes[0].szMapa2Shp, (dir / "a_Cobertura.shp").string());
    EXPECT_EQ(pJanela->detalhes[0].szMapa2Dbf, (dir / "a_Cobertura.dbf").string());
    EXPECT_EQ(pJanela->detalhes[0].uiMapa2ParamSelecionado, 1u);
    EXPECT_TRUE(std::filesystem::exists(dir / "a_Cobertura.shp"));
    // Other maps write their set too, but hand nothing to the viewer.
    Converter(Selecao::Arquivos(dir.caminho(), {"a.nvg"}), D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS,
              D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE, &pJanela);
    EXPECT_TRUE(pJanela->detalhes[0].szMapa2Shp.empty());
    EXPECT_EQ(pJanela->detalhes[0].uiMapa2ParamSelecionado, 0u);
    EXPECT_TRUE(std::filesystem::exists(dir / "a_Velocidade.shp"));
}

TEST(Conversao, FalhasNaoDeixamSaidaParcialNemApagamORelatorioAnterior)
{
    DiretorioTemporario dir;
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "bom.nvg");
    // A folder stands where the report would go.
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "pasta.nvg");
    std::filesystem::create_directory(dir / "pasta.txt");
    // An earlier good report, then the input goes bad.
    NvgBuilder estragado = Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO);
    estragado.gravar(dir / "antigo.nvg");
    std::vector<std::uint8_t> vAnterior = {'r', 'e', 'l', '\r', '\n'};
    dir.gravar("antigo.txt", vAnterior);
    estragado.corrupcao.checksumErrado.push_back({Secao::Arquivo});
    estragado.gravar(dir / "antigo.nvg");
    // An input that vanished after it was selected.
    JanelaFalsa* pJanela = nullptr;
    Registro r = Converter(Selecao::Arquivos(dir.caminho(), {"pasta.nvg", "antigo.nvg", "sumiu.nvg", "bom.nvg"}),
                           D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, &pJanela);
    EXPECT_EQ(r, (Registro{"inicio:1", "resultado:1:3", "resultado:2:3", "resultado:3:3", "inicio:4", "resultado:4:4",
                           "fim"}));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "pasta.txt"));
    EXPECT_EQ(lerArquivo(dir / "antigo.txt"), vAnterior);
    EXPECT_TRUE(std::filesystem::exists(dir / "bom.txt"));
    for (const auto& d : pJanela->detalhes)
    {
        if (d.iStatus == D_CONVERSOR_STATUS_CONVERSAO_ERRO)
        {
            EXPECT_FALSE(d.szMotivoErro.empty()) << d.cNomeArquivo;
        }
    }
    // Nothing half-written anywhere in the folder.
    for (const auto& e : std::filesystem::directory_iterator(dir.caminho()))
        EXPECT_EQ(e.path().extension() == ".tmp", false) << e.path();
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

    auto Tipos = [&](const std::vector<std::string>& vNomes) {
        ST_EstruturaThread stThread;
        auto pstSelecao = std::make_unique<ST_SelecaoArquivos>();
        Selecao s = Selecao::Arquivos(dir.caminho(), vNomes);
        std::memcpy(pstSelecao->szPathsArqNaveg, s.szLista.data(), s.szLista.size());
        pstSelecao->iNumArquivos = s.iNumArquivos;
        stThread.lpArgumento = pstSelecao.get();
        JanelaFalsa janela(&stThread);
        return janela.Executar(conversor_ThreadAnalisarTiposArquivosNavegacao);
    };
    EXPECT_EQ(Tipos({"pulv.nvg", "colh.nvg"}), Registro{"procura:0:5"});
    EXPECT_EQ(Tipos({"adub.nvg"}), Registro{"procura:0:2"});
    EXPECT_EQ(Tipos({"v1.nvg"}), Registro{"procura:0:4"});
    EXPECT_EQ(Tipos({"ruim.nvg", "colh.nvg"}), Registro{"procura:0:4"});
    EXPECT_EQ(Tipos({"ruim.nvg"}), Registro{"procura:0:0"});
    EXPECT_EQ(conversor_AnalisarTiposArqNavegacao((dir / "nada.nvg").c_str()), 0);

    // Stages of several operations in one file add up.
    NvgBuilder misto = NvgBuilder::tipico(9, 2);
    misto.etapas.push_back(etapaTipica(2, 2));
    misto.etapas[1].operacao(D_ZAVORO_OPERACAO_ADUBACAO);
    misto.gravar(dir / "misto.nvg");
    EXPECT_EQ(conversor_AnalisarTiposArqNavegacao((dir / "misto.nvg").c_str()),
              D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO | D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_ADUBACAO);
}

TEST(Conversao, ProcuraSegueComOQueOChamadorDer)
{
    // The window chains the classification to a folder search; without a follow-up the search still
    // ends with its notice, or the window would wait for ever.
    DiretorioTemporario dir;
    Arquivo(D_ZAVORO_OPERACAO_PULVERIZACAO).gravar(dir / "pulv.nvg");
    for (bool bClassificar : {true, false})
    {
        ST_EstruturaThread stThread;
        auto pstSelecao = std::make_unique<ST_SelecaoArquivos>();
        pstSelecao->iTipoSelecao = D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_DIRETORIO;
        const std::string szRaiz = dir.caminho().string();
        std::memcpy(pstSelecao->szPathsArqNavegTxtBox, szRaiz.c_str(), szRaiz.size() + 1);
        stThread.lpArgumento = pstSelecao.get();
        if (bClassificar)
            stThread.pfAposProcura = conversor_ThreadAnalisarTiposArquivosNavegacao;
        JanelaFalsa janela(&stThread);
        EXPECT_EQ(janela.Executar(arquivo_ThreadProcurarArquivosNavegacao),
                  Registro{bClassificar ? "procura:0:1" : "procura:0:0"});
        EXPECT_EQ(pstSelecao->iNumArquivos, 1);
    }
}

TEST(Conversao, NomesDeSaida)
{
    EXPECT_EQ(conversor_NomeArquivoSaida("/d/job.nvg", D_CONVERSOR_TIPO_CONVERSAO_RELATORIO), "/d/job.txt");
    EXPECT_EQ(conversor_NomeArquivoSaida("/d/job.nvg", D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE),
              "/d/job_Velocidade.kml");
    EXPECT_EQ(conversor_NomeArquivoSaida("/d/job.NVG", D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA), "/d/job_Cobertura.kml");
    EXPECT_EQ(conversor_NomeArquivoSaida("/d/a.b.nvg", D_CONVERSOR_TIPO_CONVERSAO_RELATORIO), "/d/a.b.txt");
    // A dot in a folder name is no extension.
    EXPECT_EQ(conversor_NomeArquivoSaida("/d.v2/job", D_CONVERSOR_TIPO_CONVERSAO_RELATORIO), "/d.v2/job.txt");
}

TEST(Conversao, BlocoDaListaDeResultados)
{
    ST_DetalhesConversao st;
    st.iTipoConversao = D_CONVERSOR_TIPO_CONVERSAO_RELATORIO;
    st.iStatus = D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_RELATORIO_GERADO;
    st.iNumArquivoAtual = 1;
    st.iNumTotalArquivos = 1;
    st.cNomeArquivo = "/x/a.nvg";
    st.cNomeTalhao = "Talhão";
    st.cNomeEvento = "Evento";
    const std::string szTraco(177, '-');
    EXPECT_EQ(conversor_MontarBlocoResultado(st), "Relatório 1 de 1: OK\r\nArquivo de Navegação: /x/a.nvg\r\n"
                                                  "Talhão: Talhão\r\nEvento: Evento\r\n" + szTraco + "\r\n");

    st.iTipoConversao = D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA;
    st.iStatus = D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO;
    st.iErroImpressaoGuia = 1;
    EXPECT_EQ(conversor_MontarBlocoResultado(st, "\n").rfind("Mapa de Cobertura 1 de 1: Mapa Gerado com erros na "
                                                               "impressão de guias\nArquivo",
                                                               0),
              0u);
    st.iErroImpressaoGuia = 2;
    EXPECT_NE(conversor_MontarBlocoResultado(st, "\n").find("ERRO - Tente Converter Novamente"), std::string::npos);

    // Failures list no field or event; long paths keep their last 65 characters.
    st.iTipoConversao = D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE;
    st.iStatus = D_CONVERSOR_STATUS_CONVERSAO_ERRO;
    st.iNumArquivoAtual = 2;
    st.iNumTotalArquivos = 3;
    st.cNomeArquivo = "/" + std::string(64, 'a');
    EXPECT_EQ(conversor_MontarBlocoResultado(st, "\n"), "Mapa de Velocidade 2 de 3: ERRO - Tente Converter Novamente\n"
                                                           "Arquivo de Navegação: /" + std::string(64, 'a') + "\n" +
                                                               szTraco + "\n");
    st.cNomeArquivo = "/ã" + std::string(64, 'a');
    EXPECT_NE(conversor_MontarBlocoResultado(st, "\n").find("Navegação: ...ã" + std::string(64, 'a') + "\n"),
              std::string::npos);
    st.cNomeArquivo = "/çã" + std::string(64, 'a');
    EXPECT_NE(conversor_MontarBlocoResultado(st, "\n").find("Navegação: ...ã" + std::string(64, 'a') + "\n"),
              std::string::npos);
}
