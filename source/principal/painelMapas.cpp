// The map viewer panel: the recommendation map (map 1), the work done (map 2), their pane states,
// the map 2 conversion and the double click that opens a map enlarged.
#include <filesystem>
#include <system_error>

#include "principal/principal.h"

namespace
{
constexpr int kControlesPaineis[] = {btnMapa1Shp, etMapa1Shp, lbRecomendacaoMapa1, cBoxVisualizacaoMapaParam1,
                                     btnDesenharMapaShapefile1, btnMapa2Shp, etMapa2Shp, btnDesenharMapaShapefile2};

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
    if (std::filesystem::exists(szDbf, erro))
        return szDbf;
    std::string szMaiusculo = szDbf;
    szMaiusculo.replace(szMaiusculo.size() - 3, 3, "DBF");
    return std::filesystem::exists(szMaiusculo, erro) ? szMaiusculo : szDbf;
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
        pstJanela->gucNivelMenuVisualizacaoMapa2 = 4;
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
