// The conversion panel: selection, the map option steps, the five targets, the legend pictures, the
// conversion start and cancel, and the result list.
#include <charconv>
#include <cstring>

#include "principal/principal.h"

namespace
{
// Colours of the bar (state 3) and of the preview (states 4 and 5) by colour index.
constexpr std::uint32_t kCoresBarraLegenda[D_CONVERSOR_NUMERO_FAIXAS_LEGENDA] = {
    0x1E1EFF, 0x1EFFFF, 0x1EFF05, 0xFFFF1E, 0xFF9E1E, 0xFF1E1E,
};
constexpr std::uint32_t kCoresPreviaLegenda[D_CONVERSOR_NUMERO_FAIXAS_LEGENDA] = {
    0x1E1EFF, 0x1EFFFF, 0x1EFF05, 0xFFFF1E, 0xFF8000, 0xFF1E1E,
};
constexpr int kEditsAlvo[D_CONVERSOR_NUMERO_ALVOS] = {etValorAlvo1, etValorAlvo2, etValorAlvo3, etValorAlvo4,
                                                      etValorAlvo5};
constexpr int kControlesSelecao[] = {btnSelecioneArquivos, btnSelecioneDiretorio, etArquivos, etDiretorio, lblOU};

int* VetorAlvos(ST_Janela* pstJanela, int iTipoMapa)
{
    return iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA ? pstJanela->iTaxaAlvoMapaCobertura
                                                        : pstJanela->iVelocidadeAlvoMapa;
}

void SetarLegendaAtual(ST_Janela* pstJanela, int iTipoMapa)
{
    conversor_SetarLegenda(VetorAlvos(pstJanela, iTipoMapa),
                           iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA ? D_CONVERSOR_TIPO_MAPA_COBERTURA
                                                                        : D_CONVERSOR_TIPO_MAPA_VELOCIDADE,
                           pstJanela->gstLegendaMapa);
}

// Controls of both ways to start: disabled while a worker runs.
void DesabilitarBotoesPainel(ST_Janela* pstJanela)
{
    for (int iId : {btnSelecioneArquivos, btnSelecioneDiretorio, btnBotaoEsquerda, btnBotaoDireita, btnExportar})
        principal_HabilitarControle(pstJanela, iId, false);
}

// The search or the classification starts: busy bar and a waiting message.
void MostrarAnalise(ST_Janela* pstJanela, const char* pcMensagem)
{
    DesabilitarBotoesPainel(pstJanela);
    principal_MostrarControle(pstJanela, etStatus, false);
    principal_MostrarControle(pstJanela, lblStatusConversao, true);
    principal_MostrarBarraMarquee(pstJanela, pgBarConvertendo);
    principal_SetarTexto(pstJanela, lblStatusConversao, pcMensagem);
}

void IniciarConversao(ST_Janela* pstJanela, int iTipoConversao, const char* pcErro,
                      const ST_FormatoExportacao* pstFormato = nullptr)
{
    DesabilitarBotoesPainel(pstJanela);
    principal_MostrarControle(pstJanela, etStatus, false);
    principal_SetarTexto(pstJanela, etStatus, "");
    principal_MostrarBarraMarquee(pstJanela, pgBarConvertendo);
    principal_MostrarControle(pstJanela, btnCancelarConversao, true);
    principal_HabilitarControle(pstJanela, btnCancelarConversao, true);

    ST_SelecaoArquivos& stSelecao = *pstJanela->gstSelecaoArquivos;
    ST_ConversaoArquivos& stJob = pstJanela->stConversao.gstConversaoArquivos;
    stJob.iTipoSelecao = stSelecao.iTipoSelecao;
    stJob.iNumArquivos = stSelecao.iNumArquivos;
    stJob.pucVetorPaths = stSelecao.szPathsArqNaveg;
    stJob.iTipoConversao = iTipoConversao;
    stJob.szNomeExportacao = pstFormato != nullptr ? pstFormato->szCurto : std::string();
    stJob.pfExportar = pstFormato != nullptr ? pstFormato->pfExportar : nullptr;
    // The job works on a copy of the legend: the edits stay free while it runs.
    stJob.stParametrosMapa = ST_ParametrosMapa{};
    if (iTipoConversao != D_CONVERSOR_TIPO_CONVERSAO_RELATORIO)
    {
        SetarLegendaAtual(pstJanela, pstJanela->giTipoMapa);
        std::memcpy(stJob.stParametrosMapa.gstLegendaMapa, pstJanela->gstLegendaMapa, sizeof(pstJanela->gstLegendaMapa));
    }
    principal_IniciarTrabalho(pstJanela, &pstJanela->stConversao, conversor_ThreadCriarRelatoriosMapasNavegacao,
                              &stJob, pcErro);
}

// "Fechar": the pressed selection button clears the selection.
void LimparSelecao(ST_Janela* pstJanela, int iBotao)
{
    principal_HabilitarControle(pstJanela, btnBotaoEsquerda, false);
    principal_HabilitarControle(pstJanela, btnBotaoDireita, false);
    principal_HabilitarControle(pstJanela, btnExportar, false);
    const bool bArquivos = iBotao == btnSelecioneArquivos;
    principal_HabilitarControle(pstJanela, bArquivos ? btnSelecioneDiretorio : btnSelecioneArquivos, true);
    principal_SetarTexto(pstJanela, iBotao, bArquivos ? "Selecione Arquivo(s)..." : "Selecione Diretório...");
    principal_SetarTexto(pstJanela, lblStatusConversao, D_PRINCIPAL_TEXTO_INICIAL);
    principal_EsvaziarSelecao(pstJanela);
}
} // namespace

void principal_EsvaziarSelecao(ST_Janela* pstJanela)
{
    principal_SetarTexto(pstJanela, etArquivos, "");
    principal_SetarTexto(pstJanela, etDiretorio, "");
    ST_SelecaoArquivos& stSelecao = *pstJanela->gstSelecaoArquivos;
    stSelecao.szPathsArqNaveg[0] = '\0';
    stSelecao.szPathsArqNavegTxtBox[0] = '\0';
    stSelecao.iNumArquivos = 0;
}

namespace
{
// The state after one step forward (iDirecao 1) or back (0) from ucNivel.
unsigned char ProximoNivelMenu(unsigned char ucNivel, int iDirecao, int iTipoMapa, int iTipoArquivos)
{
    const bool bCobertura = iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA;
    const bool bSoOutras = iTipoArquivos == D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_OUTRAS_OPERACOES;
    if (iDirecao == 1)
    {
        ucNivel++;
        if (ucNivel == 2)
            ucNivel = 3;
        if (ucNivel == 3 && bCobertura && bSoOutras)
            ucNivel = 5;
        if (ucNivel == 5 &&
            !(bCobertura && (bSoOutras || iTipoArquivos == D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_MISTO)))
            ucNivel = 6;
        return ucNivel;
    }
    if (ucNivel == 0)
        return 0;
    ucNivel--;
    if (ucNivel == 4 && bCobertura && bSoOutras)
        ucNivel = 2;
    if (ucNivel == 2)
        ucNivel = 1;
    return ucNivel;
}

// One step forward or back; FALSE when the targets are not ascending (state kept).
bool principal_MudarNivelMenuOpcoesMapa(ST_Janela* pstJanela, int iDirecao)
{
    unsigned char& ucNivel = pstJanela->gucNivelMenuConversaoOpcoesMapa;
    if (iDirecao == 1)
    {
        if (ucNivel == 1)
            pstJanela->giTipoMapa = principal_Controle(pstJanela, rdbtnOpcao1).bMarcado ? D_CONVERSOR_TIPO_MAPA_COBERTURA
                                                                                        : D_CONVERSOR_TIPO_MAPA_VELOCIDADE;
        if (ucNivel == 3 && !conversor_AnalisarDadosLegenda(pstJanela->gstLegendaMapa))
        {
            principal_Mensagem(pstJanela, D_CONVERSOR_TEXTO_ERRO_LEGENDA, D_PRINCIPAL_TITULO_ERRO, D_PRINCIPAL_MB_OK);
            return false;
        }
    }
    ucNivel = ProximoNivelMenu(ucNivel, iDirecao, pstJanela->giTipoMapa, pstJanela->giTipoArquivosCarregados);
    return true;
}
} // namespace

void principal_MontarGroupboxConversaoArquivos(ST_Janela* pstJanela)
{
    principal_Repintar(pstJanela);
    principal_MarcarModoUtilizacao(pstJanela);

    const unsigned char ucNivel = pstJanela->gucNivelMenuConversaoOpcoesMapa;
    const bool bSelecao = ucNivel == 0 || ucNivel == 6;
    principal_MostrarControle(pstJanela, grpConversaoOpcoesMapa, true);
    principal_MostrarControle(pstJanela, grpStatus, true);
    principal_MostrarControle(pstJanela, lblStatusConversao, true);
    principal_MostrarControle(pstJanela, btnBotaoEsquerda, true);
    principal_MostrarControle(pstJanela, btnBotaoDireita, true);
    for (int iId : kControlesSelecao)
        principal_MostrarControle(pstJanela, iId, bSelecao);
    principal_MostrarControle(pstJanela, btnExportar, bSelecao && !pstJanela->vFormatosExportacao.empty());
    principal_MostrarControle(pstJanela, rdbtnOpcao1, ucNivel == 1);
    principal_MostrarControle(pstJanela, rdbtnOpcao2, ucNivel == 1);
    for (int iId : kEditsAlvo)
        principal_MostrarControle(pstJanela, iId, ucNivel == 3);
    principal_MostrarControle(pstJanela, etStatus, ucNivel == 6);

    if (bSelecao)
    {
        principal_SetarTexto(pstJanela, grpConversaoOpcoesMapa, "Conversão de Arquivo(s)");
        principal_SetarTexto(pstJanela, btnBotaoEsquerda, "Gerar Relatório(s)");
        principal_SetarTexto(pstJanela, btnBotaoDireita, "Gerar Mapa(s)");
        principal_SetarTexto(pstJanela, lblStatusConversao, D_PRINCIPAL_TEXTO_INICIAL);
    }
    else if (ucNivel == 1)
    {
        principal_SetarTexto(pstJanela, grpConversaoOpcoesMapa, "Opções de Mapa");
        principal_SetarTexto(pstJanela, btnBotaoEsquerda, "<< Voltar");
        principal_SetarTexto(pstJanela, btnBotaoDireita, "Avançar >>");
        principal_SetarTexto(pstJanela, rdbtnOpcao1, "Mapa de cobertura");
        principal_SetarTexto(pstJanela, rdbtnOpcao2, "Mapa de velocidade");
        principal_MarcarRadio(pstJanela,
                              pstJanela->giTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA ? rdbtnOpcao1 : rdbtnOpcao2);
    }
    else if (ucNivel == 3)
    {
        const int* piVetor = VetorAlvos(pstJanela, pstJanela->giTipoMapa);
        for (int k = 0; k < D_CONVERSOR_NUMERO_ALVOS; k++)
            principal_SetarTexto(pstJanela, kEditsAlvo[k],
                                 piVetor[k] == D_CONVERSOR_VALOR_ALVO_VAZIO ? std::string() : std::to_string(piVetor[k]));
        SetarLegendaAtual(pstJanela, pstJanela->giTipoMapa);
    }
}

void principal_OnClickBotaoEsquerda(ST_Janela* pstJanela)
{
    if (pstJanela->gucNivelMenuConversaoOpcoesMapa != 0)
    {
        principal_MudarNivelMenuOpcoesMapa(pstJanela, 0);
        principal_MontarGroupboxConversaoArquivos(pstJanela);
        return;
    }
    IniciarConversao(pstJanela, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO, "Erro inesperado ao criar relatório.");
}

void principal_OnClickBotaoDireita(ST_Janela* pstJanela)
{
    principal_MudarNivelMenuOpcoesMapa(pstJanela, 1);
    principal_MontarGroupboxConversaoArquivos(pstJanela);
    if (pstJanela->gucNivelMenuConversaoOpcoesMapa != 6)
        return;
    IniciarConversao(pstJanela,
                     pstJanela->giTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA ? D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA
                                                                              : D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE,
                     "Erro inesperado ao criar mapa.");
    pstJanela->gucNivelMenuConversaoOpcoesMapa = 0;
}

void principal_OnClickBotaoExportar(ST_Janela* pstJanela)
{
    const std::vector<ST_FormatoExportacao>& vFormatos = pstJanela->vFormatosExportacao;
    if (pstJanela->gucNivelMenuConversaoOpcoesMapa != 0 || vFormatos.empty())
        return;
    std::vector<std::string> vNomes;
    for (const ST_FormatoExportacao& stFormato : vFormatos)
        vNomes.push_back(stFormato.szNome);
    const ST_ServicosPlataforma& stServicos = pstJanela->stServicos;
    int iEscolha = -1;
    if (stServicos.pfEscolherItem == nullptr ||
        !stServicos.pfEscolherItem(stServicos.pContexto, "Exportar", "Formato da exportação:", vNomes, &iEscolha) ||
        iEscolha < 0 || iEscolha >= static_cast<int>(vFormatos.size()))
        return;
    IniciarConversao(pstJanela, D_CONVERSOR_TIPO_CONVERSAO_EXPORTACAO, "Erro inesperado ao exportar.",
                     &vFormatos[static_cast<std::size_t>(iEscolha)]);
}

void principal_OnClickBotaoSelecionarArquivos(ST_Janela* pstJanela)
{
    ST_SelecaoArquivos& stSelecao = *pstJanela->gstSelecaoArquivos;
    if (stSelecao.szPathsArqNavegTxtBox[0] != '\0')
    {
        LimparSelecao(pstJanela, btnSelecioneArquivos);
        return;
    }
    arquivo_SelecionarArquivosNavegacao(pstJanela, &stSelecao);
    if (stSelecao.iNumArquivos <= 0)
        return;
    stSelecao.iTipoSelecao = D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS;
    principal_SetarTexto(pstJanela, etArquivos, stSelecao.szPathsArqNavegTxtBox);
    MostrarAnalise(pstJanela, "\r\n\r\n\r\nAnalisando arquivos de navegação...AGUARDE!!");
    principal_IniciarTrabalho(pstJanela, &pstJanela->stConversao, conversor_ThreadAnalisarTiposArquivosNavegacao,
                              &stSelecao, "Erro inesperado ao analisar arquivos.");
}

void principal_OnClickBotaoSelecionarDiretorio(ST_Janela* pstJanela)
{
    ST_SelecaoArquivos& stSelecao = *pstJanela->gstSelecaoArquivos;
    if (stSelecao.szPathsArqNavegTxtBox[0] != '\0')
    {
        LimparSelecao(pstJanela, btnSelecioneDiretorio);
        return;
    }
    stSelecao.szPathsArqNavegTxtBox[0] = '\0';
    if (!arquivo_SelecionarDiretorioComArquivosNavegacao(pstJanela, stSelecao.szPathsArqNavegTxtBox,
                                                         sizeof(stSelecao.szPathsArqNavegTxtBox)) ||
        stSelecao.szPathsArqNavegTxtBox[0] == '\0')
        return;
    stSelecao.iTipoSelecao = D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_DIRETORIO;
    std::memset(stSelecao.szPathsArqNaveg, 0, sizeof(stSelecao.szPathsArqNaveg));
    principal_SetarTexto(pstJanela, etDiretorio, stSelecao.szPathsArqNavegTxtBox);
    MostrarAnalise(pstJanela, "\r\n\r\n\r\nProcurando arquivos de navegação...AGUARDE!!");
    pstJanela->stConversao.gstEstruturaThread.pfAposProcura = conversor_ThreadAnalisarTiposArquivosNavegacao;
    principal_IniciarTrabalho(pstJanela, &pstJanela->stConversao, arquivo_ThreadProcurarArquivosNavegacao, &stSelecao,
                              "Erro inesperado ao procurar\r\narquivos em diretório.");
}

void principal_OnClickBotaoCancelar(ST_Janela* pstJanela)
{
    // Only asks: the worker stops after its current file, and the window never waits for it.
    pstJanela->stConversao.gstEstruturaThread.ucCancelarConversao.store(1);
    principal_MostrarControle(pstJanela, btnCancelarConversao, false);
    principal_SetarTexto(pstJanela, lblStatusConversao, "\r\n\r\nCancelando...");
}

void principal_OnUpdateEditorTextoValorAlvo(ST_Janela* pstJanela, int iId, int iTipoMapa)
{
    const int iIndice = iId - etValorAlvo1;
    if (iIndice < 0 || iIndice >= D_CONVERSOR_NUMERO_ALVOS)
        return;
    int* piVetor = VetorAlvos(pstJanela, iTipoMapa);
    const std::string szTexto = principal_Texto(pstJanela, iId).substr(0, 9);
    int iValor = D_CONVERSOR_VALOR_ALVO_VAZIO;
    if (!szTexto.empty() && szTexto != ".")
    {
        unsigned int uiValor = 0;
        auto [pFim, erro] = std::from_chars(szTexto.data(), szTexto.data() + szTexto.size(), uiValor);
        if (erro == std::errc() && pFim != szTexto.data())
            iValor = static_cast<int>(uiValor);
    }
    piVetor[iIndice] = iValor;
    SetarLegendaAtual(pstJanela, iTipoMapa);
    principal_Repintar(pstJanela);
}

void principal_SetarListaStatusConversao(ST_Janela* pstJanela, const ST_DetalhesConversao& stDetalhes)
{
    ST_Controle& stLista = principal_Controle(pstJanela, etStatus);
    stLista.szTexto += conversor_MontarBlocoResultado(stDetalhes, "\r\n");
}

// ---------------------------------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------------------------------

namespace
{
// The panel's pictures are laid out from the window's outer corner, as the platform measures it.
struct ST_Referencia
{
    int iLarguraJanela;
    int iTopoGrupo;
    int iAlturaGrupo;
};

ST_Referencia Referencia(ST_Janela* pstJanela)
{
    const ST_Controle& stGrupo = principal_Controle(pstJanela, grpConversaoOpcoesMapa);
    return {principal_UnidadesParaPixelsX(D_PRINCIPAL_LARGURA_DIALOGO) + 2 * D_PRINCIPAL_MOLDURA_X,
            stGrupo.iY + D_PRINCIPAL_MOLDURA_Y, stGrupo.iAltura};
}

ST_TextoPintura Texto(int iX, int iY, std::string szTexto, int iPixels, bool bSublinhado, bool bCentralizado)
{
    return {iX, iY, std::move(szTexto), iPixels, bSublinhado, bCentralizado};
}

// The boundary bar of state 3; also moves the five target edits above the box borders.
ST_PinturaPainel principal_MostrarAjusteLegenda(ST_Janela* pstJanela, int iTipoMapa)
{
    constexpr int kLargura = 80, kAltura = 20, kCaixas = 6;
    const ST_Referencia stRef = Referencia(pstJanela);
    const int iX0 = (stRef.iLarguraJanela - kCaixas * kLargura) / 2;
    const int iY0 = stRef.iAlturaGrupo / 2 + stRef.iTopoGrupo - 50;

    ST_PinturaPainel stPintura;
    for (int i = 0; i < kCaixas; i++)
    {
        int iClasse = D_CONVERSOR_NUMERO_FAIXAS_LEGENDA - 1;
        for (int j = 0; j < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA; j++)
            if (pstJanela->gstLegendaMapa[j].iIndiceVetor >= i)
            {
                iClasse = j;
                break;
            }
        const int iCor = pstJanela->gstLegendaMapa[iClasse].iCor;
        const std::uint32_t ulCor =
            iCor >= 0 && iCor < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA ? kCoresBarraLegenda[iCor] : kCoresBarraLegenda[5];
        const int iEsquerda = iX0 + kLargura * i;
        stPintura.vCaixas.push_back({iEsquerda, iY0, iEsquerda + kLargura, iY0 + kAltura, ulCor});
        const int iAlturaTraco = i == 0 ? 50 : 40;
        stPintura.vTracos.push_back({iEsquerda - 1, iY0 + 19 - iAlturaTraco, iEsquerda + 1, iY0 + 19, 0});
        if (i == kCaixas - 1)
        {
            const int iDireita = iEsquerda + kLargura;
            stPintura.vTracos.push_back({iDireita - 1, iY0 + 19 - 50, iDireita + 1, iY0 + 19, 0});
        }
    }
    for (int k = 1; k <= D_CONVERSOR_NUMERO_ALVOS; k++)
    {
        ST_Controle& stEdit = principal_Controle(pstJanela, kEditsAlvo[k - 1]);
        stEdit.iX = iX0 + kLargura * k - 20;
        stEdit.iY = iY0 - 40;
    }

    const bool bCobertura = iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA;
    stPintura.vTextos.push_back(
        Texto(stRef.iLarguraJanela / 2, stRef.iTopoGrupo - 25,
              bCobertura ? "Mapa de Cobertura - Arquivo KML (Google Earth) - Ajuste as Faixas da Legenda"
                         : "Mapa de Velocidade - Arquivo KML (Google Earth) - Ajuste as Faixas da Legenda (km/h)",
              14, true, true));
    stPintura.vTextos.push_back(Texto(iX0, iY0 - 50, "0", 14, false, true));
    stPintura.vTextos.push_back(Texto(iX0 + kCaixas * kLargura, iY0 - 50, bCobertura ? "8000" : "110", 14, false, true));
    return stPintura;
}

// The legend preview of states 4 (bClasses TRUE) and 5.
ST_PinturaPainel principal_MostrarLegenda(ST_Janela* pstJanela, int iTipoMapa, bool bClasses)
{
    constexpr int kLargura = 20, kAltura = 15, kPasso = kAltura + 7;
    const ST_Referencia stRef = Referencia(pstJanela);
    const int iY0 = stRef.iAlturaGrupo / 2 + stRef.iTopoGrupo - 100;
    const bool bCobertura = iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA;

    ST_PinturaPainel stPintura;
    stPintura.vTextos.push_back(Texto(stRef.iLarguraJanela / 2, stRef.iTopoGrupo - 25,
                                      bCobertura ? "Legenda Mapa de Cobertura - Arquivo KML (Google Earth)"
                                                 : "Legenda Mapa de Velocidade - Arquivo KML (Google Earth) - km/h",
                                      12, true, true));
    auto Linha = [&stPintura](int iX, int iY, std::uint32_t ulCor, std::string szTexto) {
        stPintura.vCaixas.push_back({iX, iY, iX + kLargura, iY + kAltura, ulCor});
        stPintura.vTextos.push_back(Texto(iX + kLargura + 10, iY, std::move(szTexto), 12, false, false));
    };

    if (bCobertura && !bClasses)
    {
        Linha(290, iY0 + kPasso, kCoresPreviaLegenda[D_CONVERSOR_INDICE_BRUSH_COR_LARANJA],
              "Cobertura inteira (sem controlador Zavoro)");
        return stPintura;
    }

    const ST_LegendaMapa* pstClasses = pstJanela->gstLegendaMapa;
    int n = 0;
    while (n < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA && pstClasses[n].iValorSup != D_CONVERSOR_VALOR_ALVO_VAZIO &&
           pstClasses[n].iValorSup != 0)
        n++;
    const int iCentro = stRef.iLarguraJanela / 2 - 40;
    for (int j = 0; j < n; j++)
    {
        int iX = iCentro, iLinha = j;
        if (n > 3)
        {
            iX = j < 3 ? iCentro - 85 : iCentro + 75;
            iLinha = j < 3 ? j : j - 3;
        }
        const ST_LegendaMapa& stClasse = pstClasses[j];
        std::string szRotulo;
        if (stClasse.iValorSup == stClasse.iValorInf)
            szRotulo = std::to_string(stClasse.iValorSup);
        else if (j == 0)
            szRotulo = "Abaixo de " + std::to_string(pstClasses[1].iValorInf);
        else if (j == n - 1)
            szRotulo = "Acima de " + std::to_string(pstClasses[j - 1].iValorSup);
        else
            szRotulo = std::to_string(stClasse.iValorInf) + " a " + std::to_string(stClasse.iValorSup);
        const int iCor = stClasse.iCor >= 0 && stClasse.iCor < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA ? stClasse.iCor : 5;
        Linha(iX, iY0 + kPasso * iLinha, kCoresPreviaLegenda[iCor], szRotulo);
    }
    return stPintura;
}
} // namespace

ST_PinturaPainel principal_PaintHandler(ST_Janela* pstJanela)
{
    if (pstJanela->giModoUtilizacao != D_PRINCIPAL_MODO_UTILIZACAO_CONVERSAO_ARQUIVOS)
        return {};
    switch (pstJanela->gucNivelMenuConversaoOpcoesMapa)
    {
    case 3:
        return principal_MostrarAjusteLegenda(pstJanela, pstJanela->giTipoMapa);
    case 4:
        return principal_MostrarLegenda(pstJanela, pstJanela->giTipoMapa, true);
    case 5:
        return principal_MostrarLegenda(pstJanela, pstJanela->giTipoMapa, false);
    default:
        return {};
    }
}
