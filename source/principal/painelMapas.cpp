// The map viewer panel: the recommendation map (map 1), the work done (map 2), their pane states,
// the map 2 conversion, the comparison of the two and the double click that opens a map enlarged.
#include <filesystem>
#include <memory>
#include <system_error>

#include "principal/principal.h"

namespace
{
constexpr int kControlesPaineis[] = {btnMapa1Shp, etMapa1Shp, lbRecomendacaoMapa1, cBoxVisualizacaoMapaParam1,
                                     btnDesenharMapaShapefile1, btnMapa2Shp, etMapa2Shp, btnDesenharMapaShapefile2,
                                     btnCompararMapas};
constexpr const char* kTextoComparar = "Comparação...";
constexpr const char* kTextoComparando = "Comparando...";

void LimparImagem(ST_Janela* pstJanela, int iNumMapa)
{
    const ST_SuperficieDesenho& stSuperficie = pstJanela->gstVisualizador.stMapa[iNumMapa];
    if (stSuperficie.pfRetangulo != nullptr)
        shpFile_LimparVisualizacaoMapa(&stSuperficie, 0, iNumMapa);
}

bool DesenharMapa(ST_Janela* pstJanela, int iNumMapa)
{
    if (pstJanela->gstVisualizador.stMapa[iNumMapa].pfRetangulo == nullptr)
        return false;
    return shpFile_DesenharMapa(&pstJanela->gstVisualizador, iNumMapa) == TRUE;
}

// The table beside a shapefile: its name with the extension replaced, whatever the extension's case
// (".shp" or ".SHP"), and written in lower or upper case, whichever exists.
std::string CaminhoDbfExistente(const std::string& szShp)
{
    const std::string szDbf = shpFile_CaminhoDbf(szShp);
    std::error_code erro;
    if (std::filesystem::exists(funcAux_Caminho(szDbf), erro))
        return szDbf;
    std::string szMaiusculo = szDbf;
    szMaiusculo.replace(szMaiusculo.size() - 3, 3, "DBF");
    return std::filesystem::exists(funcAux_Caminho(szMaiusculo), erro) ? szMaiusculo : szDbf;
}

// The map 2 pane after a failed conversion or drawing: what happened and what to do, in red.
void MostrarErroMapa2(ST_Janela* pstJanela)
{
    const ST_SuperficieDesenho& stSuperficie = pstJanela->gstVisualizador.stMapa[1];
    if (stSuperficie.pfRetangulo == nullptr)
        return;
    shpFile_LimparVisualizacaoMapa(&stSuperficie, 1, 1);
    constexpr const char* kLinhas[] = {"Erro na conversão ou no desenho do mapa 2.",
                                       "Escolha outro arquivo de navegação (.NVG)", "e tente novamente."};
    for (int i = 0; i < 3; i++)
        shpFile_EscreverTextoCentrado(&stSuperficie, 140 + 20 * i, kLinhas[i], D_SHPFILE_RGB_COR_TEXTO_ERRO);
}

// ---------------------------------------------------------------------------------------------------
// Comparison of map 1 with the work done
// ---------------------------------------------------------------------------------------------------

// What one comparison worker gets: copies of what it reads, so the window may change its own.
struct ST_TarefaComparacao
{
    ST_Janela* pstJanela = nullptr;
    ST_ServicosPlataforma stServicos; // posting only
    std::string szNvg;
    ST_ShpMapa stMapa1;
    unsigned int uiGeracao = 0;
    std::shared_ptr<std::atomic<bool>> pbTerminado;
};

struct ST_RespostaComparacao
{
    ST_ResultadoComparacao stResultado;
    std::string szErro;
    bool bOk = false;
};

void principal_MontarGroupboxVisualizacaoMapas(ST_Janela* pstJanela);

void ConcluirComparacao(ST_Janela* pstJanela, unsigned int uiGeracao, ST_RespostaComparacao& stResposta)
{
    ST_ComparacaoJanela& st = pstJanela->stComparacao;
    if (uiGeracao != st.uiGeracao || st.iEstado != D_PRINCIPAL_COMPARACAO_EM_CURSO)
        return; // overtaken
    st.stResultado = std::move(stResposta.stResultado);
    st.szErro = std::move(stResposta.szErro);
    st.iEstado = stResposta.bOk ? D_PRINCIPAL_COMPARACAO_PRONTA : D_PRINCIPAL_COMPARACAO_FALHOU;
    principal_MontarGroupboxVisualizacaoMapas(pstJanela);
}

unsigned int ThreadComparacao(void* pArgumento)
{
    std::unique_ptr<ST_TarefaComparacao> pstTarefa(static_cast<ST_TarefaComparacao*>(pArgumento));
    auto pstResposta = std::make_shared<ST_RespostaComparacao>();
    pstResposta->bOk = analise_CompararArquivos(pstTarefa->szNvg.c_str(), pstTarefa->stMapa1, &pstResposta->stResultado,
                                                &pstResposta->szErro) != FALSE;
    const ST_ServicosPlataforma& stServicos = pstTarefa->stServicos;
    if (stServicos.pfPostar != nullptr)
    {
        ST_Janela* pstJanela = pstTarefa->pstJanela;
        const unsigned int uiGeracao = pstTarefa->uiGeracao;
        stServicos.pfPostar(stServicos.pContexto,
                            [pstJanela, uiGeracao, pstResposta] { ConcluirComparacao(pstJanela, uiGeracao, *pstResposta); });
    }
    pstTarefa->pbTerminado->store(true);
    return 0;
}

// Joins the workers that have ended; with bTodos waits for the others too.
void RecolherWorkers(ST_ComparacaoJanela& st, bool bTodos)
{
    std::erase_if(st.vWorkers, [bTodos](ST_ComparacaoJanela::ST_Worker& w) {
        if (!bTodos && !w.pbTerminado->load())
            return false;
        if (w.thread.joinable())
            w.thread.join();
        return true;
    });
}

// Forgets the comparison shown; a worker still running finds its result unwanted.
void DescartarComparacao(ST_Janela* pstJanela)
{
    ST_ComparacaoJanela& st = pstJanela->stComparacao;
    st.uiGeracao++;
    st.iEstado = D_PRINCIPAL_COMPARACAO_NENHUMA;
    st.stResultado = ST_ResultadoComparacao{};
    st.szErro.clear();
}

void IniciarComparacao(ST_Janela* pstJanela)
{
    DescartarComparacao(pstJanela);
    ST_ComparacaoJanela& st = pstJanela->stComparacao;
    RecolherWorkers(st, false);
    auto pstTarefa = std::make_unique<ST_TarefaComparacao>();
    pstTarefa->pstJanela = pstJanela;
    pstTarefa->stServicos.pContexto = pstJanela->stServicos.pContexto;
    pstTarefa->stServicos.pfPostar = pstJanela->stServicos.pfPostar;
    pstTarefa->szNvg = principal_Texto(pstJanela, etMapa2Shp);
    pstTarefa->stMapa1 = pstJanela->gstVisualizador.gstMapa1;
    pstTarefa->uiGeracao = st.uiGeracao;
    pstTarefa->pbTerminado = std::make_shared<std::atomic<bool>>(false);

    ST_ComparacaoJanela::ST_Worker stWorker;
    stWorker.pbTerminado = pstTarefa->pbTerminado;
    const ST_ServicosPlataforma& stServicos = pstJanela->stServicos;
    ST_TarefaComparacao* pstArgumento = pstTarefa.release();
    bool bCriada = false;
    if (stServicos.pfCriarThread != nullptr)
        bCriada = stServicos.pfCriarThread(stServicos.pContexto, &stWorker.thread, ThreadComparacao, pstArgumento);
    else
    {
        try
        {
            stWorker.thread = std::thread(ThreadComparacao, pstArgumento);
            bCriada = true;
        }
        catch (const std::system_error&)
        {
        }
    }
    if (!bCriada)
    {
        delete pstArgumento;
        st.iEstado = D_PRINCIPAL_COMPARACAO_FALHOU;
        st.szErro = "não foi possível iniciar a comparação";
        return;
    }
    st.iEstado = D_PRINCIPAL_COMPARACAO_EM_CURSO;
    st.vWorkers.push_back(std::move(stWorker));
}

void MontarBotaoComparacao(ST_Janela* pstJanela)
{
    const int iEstado = pstJanela->stComparacao.iEstado;
    const bool bMapa2Desenhado = pstJanela->gucNivelMenuVisualizacaoMapa2 == 4 && !pstJanela->bMapa2EmConversao;
    // A build without the comparison offers no button for it.
    principal_MostrarControle(pstJanela, btnCompararMapas, analise_Disponivel());
    principal_SetarTexto(pstJanela, btnCompararMapas,
                         iEstado == D_PRINCIPAL_COMPARACAO_EM_CURSO ? kTextoComparando : kTextoComparar);
    principal_HabilitarControle(pstJanela, btnCompararMapas,
                                bMapa2Desenhado && (iEstado == D_PRINCIPAL_COMPARACAO_PRONTA ||
                                                    iEstado == D_PRINCIPAL_COMPARACAO_FALHOU));
}

void HabilitarPaineis(ST_Janela* pstJanela, bool bHabilitar)
{
    for (int iId : kControlesPaineis)
        principal_HabilitarControle(pstJanela, iId, bHabilitar);
}

void principal_MontarGroupboxVisualizacaoMapas(ST_Janela* pstJanela)
{
    principal_Repintar(pstJanela);
    principal_MarcarModoUtilizacao(pstJanela);
    for (int iId : {etMapa1Shp, etMapa2Shp, btnMapa1Shp, btnMapa2Shp, btnDesenharMapaShapefile1,
                    btnDesenharMapaShapefile2, cBoxVisualizacaoMapaParam1, lbRecomendacaoMapa1,
                    grpBoxVisualizacaoMapa1, grpBoxVisualizacaoMapa2})
        principal_MostrarControle(pstJanela, iId, true);

    switch (pstJanela->gucNivelMenuVisualizacaoMapa1)
    {
    case 0: {
        principal_SetarTexto(pstJanela, etMapa1Shp, "");
        principal_SetarTexto(pstJanela, btnMapa1Shp, "Mapa 1 - SHP..");
        principal_HabilitarControle(pstJanela, btnMapa1Shp, true);
        principal_HabilitarControle(pstJanela, etMapa1Shp, true);
        principal_HabilitarControle(pstJanela, lbRecomendacaoMapa1, false);
        ST_Controle& stLista = principal_Controle(pstJanela, cBoxVisualizacaoMapaParam1);
        stLista.vItens.clear();
        stLista.iSelecao = -1;
        stLista.bHabilitado = false;
        principal_HabilitarControle(pstJanela, btnDesenharMapaShapefile1, false);
        break;
    }
    case 2:
        principal_SetarTexto(pstJanela, btnMapa1Shp, D_PRINCIPAL_TEXTO_FECHAR);
        principal_HabilitarControle(pstJanela, lbRecomendacaoMapa1, true);
        principal_HabilitarControle(pstJanela, cBoxVisualizacaoMapaParam1, true);
        principal_HabilitarControle(pstJanela, btnDesenharMapaShapefile1, true);
        break;
    default:
        break;
    }
    if (pstJanela->gucNivelMenuVisualizacaoMapa1 < 3)
        LimparImagem(pstJanela, 0);

    const unsigned char ucMapa2 = pstJanela->gucNivelMenuVisualizacaoMapa2;
    if (ucMapa2 <= 1)
    {
        principal_SetarTexto(pstJanela, etMapa2Shp, "");
        principal_SetarTexto(pstJanela, btnMapa2Shp, "Mapa 2 - NVG..");
        principal_HabilitarControle(pstJanela, btnMapa2Shp, ucMapa2 == 1);
        principal_HabilitarControle(pstJanela, etMapa2Shp, ucMapa2 == 1);
        principal_HabilitarControle(pstJanela, btnDesenharMapaShapefile2, false);
    }
    else if (ucMapa2 == 2)
    {
        principal_SetarTexto(pstJanela, btnMapa2Shp, D_PRINCIPAL_TEXTO_FECHAR);
        principal_HabilitarControle(pstJanela, btnDesenharMapaShapefile2, true);
    }
    else if (!pstJanela->bMapa2EmConversao)
    {
        // Drawn, or failed: either way the panes are the user's again (a failure must not lock them).
        HabilitarPaineis(pstJanela, true);
    }
    if (ucMapa2 < 3)
        LimparImagem(pstJanela, 1);
    if (ucMapa2 != 4 && pstJanela->stComparacao.iEstado != D_PRINCIPAL_COMPARACAO_NENHUMA)
        DescartarComparacao(pstJanela);
    MontarBotaoComparacao(pstJanela);

    ST_Controle& stBarra = principal_Controle(pstJanela, pgBarConvertendoMapaTxVar);
    stBarra.bVisivel = pstJanela->bMapa2EmConversao;
    stBarra.bMarquee = pstJanela->bMapa2EmConversao;
    if (pstJanela->bMapa2EmConversao)
        HabilitarPaineis(pstJanela, false);
}

// Measured from the window's outer corner, then brought back to the client area.
ST_PontoTela PosicaoImagemMapa(ST_Janela* pstJanela, int iNumMapa)
{
    const ST_Controle& stLugar = principal_Controle(pstJanela, iNumMapa == 0 ? rectMapa1 : rectMapa2);
    int iX = stLugar.iX + D_PRINCIPAL_MOLDURA_X;
    if (stLugar.iLargura >= D_SHPFILE_LARGURA_MAPA + 1)
        iX += (stLugar.iLargura - D_SHPFILE_LARGURA_MAPA) / 2;
    iX -= 4;
    int iY = stLugar.iY + D_PRINCIPAL_MOLDURA_Y;
    if (stLugar.iAltura >= D_SHPFILE_ALTURA_MAPA + 1)
        iY += (stLugar.iAltura - D_SHPFILE_ALTURA_MAPA) / 2;
    iY -= 45;
    return {iX, iY};
}
} // namespace

void principal_IniciarPainelMapas(ST_Janela* pstJanela)
{
    // Both panes start below state 3, so building the panel draws their prompts.
    pstJanela->gucNivelMenuVisualizacaoMapa1 = 0;
    pstJanela->gucNivelMenuVisualizacaoMapa2 = 0;
    principal_MontarGroupboxVisualizacaoMapas(pstJanela);
}


void principal_OnClickBotaoSelecionarMapa(ST_Janela* pstJanela, int iNumMapa)
{
    char szPath[1000] = {};
    const bool bFechar = !principal_Texto(pstJanela, iNumMapa == 0 ? etMapa1Shp : etMapa2Shp).empty();
    ST_VisualizadorMapas& stVisualizador = pstJanela->gstVisualizador;
    if (bFechar)
    {
        if (iNumMapa == 0)
        {
            pstJanela->gucNivelMenuVisualizacaoMapa1 = 0;
            pstJanela->gucNivelMenuVisualizacaoMapa2 = 0;
        }
        else
        {
            pstJanela->gucNivelMenuVisualizacaoMapa2 = 1;
        }
    }
    else if (iNumMapa == 1)
    {
        if (arquivo_SelecionarArquivoNVG(pstJanela, szPath, sizeof(szPath)))
        {
            principal_SetarTexto(pstJanela, etMapa2Shp, szPath);
            pstJanela->gucNivelMenuVisualizacaoMapa2 = 2;
            stVisualizador.gstMapa2.szNomeArqMapaShp = szPath;
        }
    }
    else if (arquivo_SelecionarArquivoMapaShapefile(pstJanela, szPath, sizeof(szPath)))
    {
        principal_SetarTexto(pstJanela, etMapa1Shp, szPath);
        pstJanela->gucNivelMenuVisualizacaoMapa1 = 2;
        stVisualizador.gstMapa1.szNomeArqMapaShp = szPath;
        stVisualizador.gstMapa1.szNomeArqMapaDbf = CaminhoDbfExistente(szPath);
        ST_Controle& stLista = principal_Controle(pstJanela, cBoxVisualizacaoMapaParam1);
        stLista.vItens.clear();
        shpFile_ListarParametrosMapaEntrada(&stVisualizador.gstMapa1, &stLista.vItens);
        // The first attribute is the one drawn when none is chosen; show it as chosen.
        stLista.iSelecao = stLista.vItens.empty() ? -1 : 0;
        pstJanela->gucNivelMenuVisualizacaoMapa2 = 0;
    }
    principal_MontarGroupboxVisualizacaoMapas(pstJanela);
}

void principal_SelecionarParametroMapa(ST_Janela* pstJanela, int iNumMapa)
{
    ST_VisualizadorMapas& stVisualizador = pstJanela->gstVisualizador;
    if (iNumMapa == 0)
    {
        const int iSelecao = principal_Controle(pstJanela, cBoxVisualizacaoMapaParam1).iSelecao;
        stVisualizador.gstMapa1.uiParamSelecionado = iSelecao < 0 ? 0u : static_cast<unsigned int>(iSelecao);
    }
    else
    {
        stVisualizador.gstMapa2.uiParamSelecionado = 0;
    }
}

void principal_DesenharMapa1(ST_Janela* pstJanela)
{
    pstJanela->gucNivelMenuVisualizacaoMapa1 = 3;
    if (DesenharMapa(pstJanela, 0))
    {
        pstJanela->gucNivelMenuVisualizacaoMapa1 = 4;
        pstJanela->gucNivelMenuVisualizacaoMapa2 = 1;
    }
    principal_MontarGroupboxVisualizacaoMapas(pstJanela);
}

void principal_CriarDesenharMapaTaxa(ST_Janela* pstJanela)
{
    const std::string& szNvg = principal_Texto(pstJanela, etMapa2Shp);
    if (szNvg.empty() || pstJanela->bMapa2EmConversao)
        return;
    // One path in the open dialog's layout: the path and the list's two closing zeros.
    pstJanela->szListaMapa2 = szNvg;
    pstJanela->szListaMapa2.append(2, '\0');

    ST_ConversaoArquivos& stJob = pstJanela->stMapa2.gstConversaoArquivos;
    stJob.iTipoSelecao = D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS;
    stJob.pucVetorPaths = pstJanela->szListaMapa2.c_str();
    stJob.iNumArquivos = 1;
    stJob.iTipoConversao = D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO;
    stJob.stParametrosMapa = ST_ParametrosMapa{};
    stJob.stParametrosMapa.gstShpLegendaMapa = pstJanela->gstVisualizador.gstShpLegendaMapa;
    // Until the job reports the set it wrote, map 2 has nothing to draw.
    ST_ShpMapa& stMapa2 = pstJanela->gstVisualizador.gstMapa2;
    stMapa2.szNomeArqMapaShp.clear();
    stMapa2.szNomeArqMapaDbf.clear();
    stMapa2.uiParamSelecionado = 0;

    if (!principal_IniciarTrabalho(pstJanela, &pstJanela->stMapa2, conversor_ThreadCriarRelatoriosMapasNavegacao,
                                   &stJob, "Erro inesperado ao criar mapa."))
        return;
    pstJanela->bMapa2EmConversao = true;
    principal_MostrarBarraMarquee(pstJanela, pgBarConvertendoMapaTxVar);
    HabilitarPaineis(pstJanela, false);
}

void principal_GuardarResultadoMapa2(ST_Janela* pstJanela, const ST_DetalhesConversao& stDetalhes)
{
    if (stDetalhes.iStatus != D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO || stDetalhes.szMapa2Shp.empty())
        return;
    ST_ShpMapa& stMapa2 = pstJanela->gstVisualizador.gstMapa2;
    stMapa2.szNomeArqMapaShp = stDetalhes.szMapa2Shp;
    stMapa2.szNomeArqMapaDbf = stDetalhes.szMapa2Dbf;
    stMapa2.uiParamSelecionado = stDetalhes.uiMapa2ParamSelecionado;
}

void principal_FinalizarMapa2(ST_Janela* pstJanela)
{
    pstJanela->bMapa2EmConversao = false;
    pstJanela->gucNivelMenuVisualizacaoMapa2 = 3;
    const ST_ShpMapa& stMapa2 = pstJanela->gstVisualizador.gstMapa2;
    if (!stMapa2.szNomeArqMapaShp.empty() && DesenharMapa(pstJanela, 1))
    {
        pstJanela->gucNivelMenuVisualizacaoMapa2 = 4;
        if (analise_Disponivel())
            IniciarComparacao(pstJanela);
    }
    else
        MostrarErroMapa2(pstJanela);
    principal_MontarGroupboxVisualizacaoMapas(pstJanela);
}

ST_ImpressaoMapas principal_ImprimirMapas(ST_Janela* pstJanela)
{
    return {{PosicaoImagemMapa(pstJanela, 0), PosicaoImagemMapa(pstJanela, 1)}};
}

int principal_MapaDuploClique(ST_Janela* pstJanela, int iX, int iY)
{
    if (pstJanela->giModoUtilizacao != D_PRINCIPAL_MODO_UTILIZACAO_VISUALIZACAO_MAPAS)
        return -1;
    const unsigned char ucEstados[2] = {pstJanela->gucNivelMenuVisualizacaoMapa1, pstJanela->gucNivelMenuVisualizacaoMapa2};
    for (int iMapa = 0; iMapa < 2; iMapa++)
    {
        const ST_PontoTela stCanto = PosicaoImagemMapa(pstJanela, iMapa);
        const bool bDentro = iX >= stCanto.iX && iX < stCanto.iX + D_SHPFILE_LARGURA_MAPA && iY >= stCanto.iY &&
                             iY < stCanto.iY + D_SHPFILE_ALTURA_MAPA;
        if (bDentro)
        {
            if (ucEstados[iMapa] != 4)
                return -1;
            pstJanela->guiNumTelaMapaMaximizar = static_cast<unsigned int>(iMapa);
            return iMapa;
        }
    }
    return -1;
}

std::string principal_InitDialogVisualizacaoMapa(const ST_Janela* pstJanela)
{
    return pstJanela->guiNumTelaMapaMaximizar == 0 ? "Visualização de Mapa 1 - Shapefile"
                                                   : "Visualização de Mapa 2 - Shapefile";
}

void principal_OnClickBotaoComparacao(ST_Janela* pstJanela)
{
    const ST_ComparacaoJanela& st = pstJanela->stComparacao;
    if (st.iEstado == D_PRINCIPAL_COMPARACAO_FALHOU)
    {
        principal_Mensagem(pstJanela, ("Não foi possível comparar a recomendação com o trabalho:\r\n" + st.szErro).c_str(),
                           D_PRINCIPAL_TITULO_ERRO, D_PRINCIPAL_MB_OK);
        return;
    }
    if (st.iEstado == D_PRINCIPAL_COMPARACAO_PRONTA && pstJanela->stServicos.pfMostrarComparacao != nullptr)
        pstJanela->stServicos.pfMostrarComparacao(pstJanela->stServicos.pContexto);
}

std::string principal_TextoComparacao(ST_Janela* pstJanela)
{
    const ST_ComparacaoJanela& st = pstJanela->stComparacao;
    return st.iEstado == D_PRINCIPAL_COMPARACAO_PRONTA ? analise_TextoComparacao(st.stResultado) : std::string();
}

BOOL principal_DesenharMapaDiferenca(ST_Janela* pstJanela, const ST_SuperficieDesenho* pstPainel,
                                     const ST_SuperficieDesenho* pstAmpliado)
{
    const ST_ComparacaoJanela& st = pstJanela->stComparacao;
    if (st.iEstado != D_PRINCIPAL_COMPARACAO_PRONTA)
        return FALSE;
    return analise_DesenharMapaDiferenca(&pstJanela->gstVisualizador, pstJanela->gstVisualizador.gstMapa1.szNomeArqMapaShp,
                                         st.stResultado, pstPainel, pstAmpliado);
}

BOOL principal_SalvarCsvComparacao(ST_Janela* pstJanela, const std::string& szArquivo, std::string* pszErro)
{
    const ST_ComparacaoJanela& st = pstJanela->stComparacao;
    if (st.iEstado != D_PRINCIPAL_COMPARACAO_PRONTA)
    {
        *pszErro = "não há comparação concluída";
        return FALSE;
    }
    return analise_GravarCsvComparacao(szArquivo, st.stResultado, pszErro);
}

void principal_EncerrarComparacao(ST_Janela* pstJanela)
{
    RecolherWorkers(pstJanela->stComparacao, true);
}
