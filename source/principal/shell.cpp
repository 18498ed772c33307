// The shell: start of the main dialog, command routing, the use modes, the three worker notices, help,
// the About box and exit.
#include <cstdio>
#include <filesystem>
#include <span>
#include <system_error>

#include "principal/principal.h"
#include "zavoro/versao.h"

namespace
{
constexpr const char* kTextoPastasDiferentes =
    "Os arquivos de navegação abertos juntos devem estar na mesma pasta.\r\nAbra-os de uma pasta de cada vez.";

// "03.02": the version as the caption and the About box show it.
std::string TextoVersao()
{
    return D_ZAVORO_VERSAO_EXIBIDA;
}

// The first of the current folder and the help folders that holds the help document; empty if none.
std::string LocalizarAjuda(const ST_Janela* pstJanela)
{
    std::error_code erro;
    std::filesystem::path local = std::filesystem::current_path(erro) / D_PRINCIPAL_NOME_AJUDA;
    if (!erro && std::filesystem::is_regular_file(local, erro))
        return funcAux_TextoCaminho(local);
    for (const std::string& szPasta : pstJanela->stServicos.vPastasAjuda)
    {
        std::filesystem::path caminho = funcAux_Caminho(szPasta) / D_PRINCIPAL_NOME_AJUDA;
        if (std::filesystem::is_regular_file(caminho, erro))
            return funcAux_TextoCaminho(caminho);
    }
    return {};
}

void AbrirAjuda(ST_Janela* pstJanela)
{
    // A missing document or viewer is not reported.
    const std::string szAjuda = LocalizarAjuda(pstJanela);
    const ST_ServicosPlataforma& stServicos = pstJanela->stServicos;
    if (!szAjuda.empty() && stServicos.pfAbrirDocumento != nullptr)
        stServicos.pfAbrirDocumento(stServicos.pContexto, szAjuda);
}

void TrocarModoUtilizacao(ST_Janela* pstJanela, unsigned int uiModo)
{
    // The panels keep their controls in the model while hidden, so nothing of a running search,
    // conversion or result list is lost by a look at the other mode.
    pstJanela->giModoUtilizacao = uiModo;
    principal_MarcarModoUtilizacao(pstJanela);
    principal_Repintar(pstJanela);
}

bool ControleDeOutroModo(const ST_Janela* pstJanela, int iId)
{
    static constexpr int kConversao[] = {grpConversaoOpcoesMapa, grpStatus, btnSelecioneArquivos, btnSelecioneDiretorio,
                                         btnBotaoEsquerda, btnBotaoDireita, btnExportar, btnCancelarConversao, etArquivos,
                                         etDiretorio, etStatus, etValorAlvo1, etValorAlvo2, etValorAlvo3,
                                         etValorAlvo4, etValorAlvo5, lblOU, lblStatusConversao, pgBarConvertendo,
                                         rdbtnOpcao1, rdbtnOpcao2};
    static constexpr int kMapas[] = {grpBoxVisualizacaoMapa1, grpBoxVisualizacaoMapa2, btnMapa1Shp, btnMapa2Shp,
                                     btnDesenharMapaShapefile1, btnDesenharMapaShapefile2, etMapa1Shp, etMapa2Shp,
                                     lbRecomendacaoMapa1, cBoxVisualizacaoMapaParam1, pgBarConvertendoMapaTxVar,
                                     rectMapa1, rectMapa2, btnCompararMapas};
    const bool bModoMapas = pstJanela->giModoUtilizacao == D_PRINCIPAL_MODO_UTILIZACAO_VISUALIZACAO_MAPAS;
    for (int iOutro : bModoMapas ? std::span<const int>(kConversao) : std::span<const int>(kMapas))
        if (iOutro == iId)
            return true;
    return false;
}
} // namespace

void principal_MarcarModoUtilizacao(ST_Janela* pstJanela)
{
    principal_MarcarRadio(pstJanela, pstJanela->giModoUtilizacao == D_PRINCIPAL_MODO_UTILIZACAO_VISUALIZACAO_MAPAS
                                         ? rdVisualizacaoMapas
                                         : rdConversorArquivos);
}

void principal_AbrirComArquivos(ST_Janela* pstJanela, const std::vector<std::string>& vCaminhos)
{
    if (vCaminhos.empty())
        return;
    // Dialogs give full paths; so do these, whatever folder the program was started in.
    std::vector<std::string> vCompletos;
    for (const std::string& sz : vCaminhos)
    {
        std::error_code ec;
        const std::filesystem::path completo = std::filesystem::absolute(funcAux_CaminhoUtf8(sz), ec);
        vCompletos.push_back(funcAux_TextoCaminho((ec ? funcAux_CaminhoUtf8(sz) : completo).lexically_normal()));
    }
    std::string szExtensao = funcAux_TextoCaminho(funcAux_CaminhoUtf8(vCompletos.front()).extension());
    for (char& c : szExtensao)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    std::error_code ec;
    int iBotao = btnSelecioneArquivos;
    if (szExtensao == ".shp")
    {
        principal_CommandHandler(pstJanela, rdVisualizacaoMapas);
        vCompletos.resize(1);
        iBotao = btnMapa1Shp;
    }
    else if (vCompletos.size() == 1 && std::filesystem::is_directory(funcAux_CaminhoUtf8(vCompletos.front()), ec))
        iBotao = btnSelecioneDiretorio;
    else
        for (const std::string& sz : vCompletos)
            if (funcAux_CaminhoUtf8(sz).parent_path() != funcAux_CaminhoUtf8(vCompletos.front()).parent_path())
            {
                principal_Mensagem(pstJanela, kTextoPastasDiferentes, "Quibar Zavoro", D_PRINCIPAL_MB_OK);
                return;
            }
    pstJanela->vRespostaDialogo = std::move(vCompletos);
    principal_CommandHandler(pstJanela, static_cast<unsigned int>(iBotao));
    // An answer no dialog took (a selection already open) is not kept for a later click.
    pstJanela->vRespostaDialogo.clear();
}

bool principal_ControleVisivel(ST_Janela* pstJanela, int iId)
{
    return principal_Controle(pstJanela, iId).bVisivel && !ControleDeOutroModo(pstJanela, iId);
}

ST_Sobre principal_InitDialogSobreHandler()
{
    constexpr int kX = 100, kPixels = 14;
    constexpr std::uint32_t kPreto = 0x000000, kAzul = 0x0000FF;
    return {"Sobre",
            {{kX, 20, "Quibar Zavoro", kPixels, true, kPreto},
             {kX, 50, "Versão:\t" + TextoVersao(), kPixels, false, kPreto},
             {kX, 70, std::string("Data:\t") + D_PRINCIPAL_DATA_ULTIMA_VERSAO, kPixels, false, kPreto},
             {kX, 90, "Morvel", kPixels, false, kPreto},
             {kX, 110, "www.morvel.com.br", kPixels, true, kAzul}}};
}

void principal_InitDialogHandler(ST_Janela* pstJanela)
{
    pstJanela->szTitulo = "Quibar Zavoro - v" + TextoVersao();
    pstJanela->gucNivelMenuConversaoOpcoesMapa = 0;
    principal_MontarGroupboxConversaoArquivos(pstJanela);
    principal_HabilitarControle(pstJanela, btnBotaoEsquerda, false);
    principal_HabilitarControle(pstJanela, btnBotaoDireita, false);
    principal_HabilitarControle(pstJanela, btnExportar, false);
    principal_SetarTexto(pstJanela, lblStatusConversao, D_PRINCIPAL_TEXTO_INICIAL);
    principal_EsvaziarSelecao(pstJanela);
    // The map panel is laid out now, while hidden, so switching modes only swaps panels.
    principal_IniciarPainelMapas(pstJanela);
}

void principal_CommandHandler(ST_Janela* pstJanela, unsigned int iComando)
{
    const int iId = static_cast<int>(iComando & 0xFFFF);
    const unsigned int uiNotificacao = (iComando >> 16) & 0xFFFF;
    // Auto radio buttons: the clicked one is checked before its command runs.
    if (!principal_GrupoRadio(iId).empty())
        principal_MarcarRadio(pstJanela, iId);
    switch (iId)
    {
    case btnSelecioneArquivos:
        principal_OnClickBotaoSelecionarArquivos(pstJanela);
        break;
    case btnSelecioneDiretorio:
        principal_OnClickBotaoSelecionarDiretorio(pstJanela);
        break;
    case btnBotaoEsquerda:
        principal_OnClickBotaoEsquerda(pstJanela);
        break;
    case btnBotaoDireita:
        principal_OnClickBotaoDireita(pstJanela);
        break;
    case btnCancelarConversao:
        principal_OnClickBotaoCancelar(pstJanela);
        break;
    case btnExportar:
        principal_OnClickBotaoExportar(pstJanela);
        break;
    case etValorAlvo1:
    case etValorAlvo2:
    case etValorAlvo3:
    case etValorAlvo4:
    case etValorAlvo5:
        if (uiNotificacao == D_PRINCIPAL_EN_CHANGE)
            principal_OnUpdateEditorTextoValorAlvo(pstJanela, iId, pstJanela->giTipoMapa);
        break;
    case rdbtnOpcao1:
        pstJanela->giTipoMapa = D_CONVERSOR_TIPO_MAPA_COBERTURA;
        principal_MontarGroupboxConversaoArquivos(pstJanela);
        break;
    case rdbtnOpcao2:
        pstJanela->giTipoMapa = D_CONVERSOR_TIPO_MAPA_VELOCIDADE;
        principal_MontarGroupboxConversaoArquivos(pstJanela);
        break;
    case rdConversorArquivos:
        TrocarModoUtilizacao(pstJanela, D_PRINCIPAL_MODO_UTILIZACAO_CONVERSAO_ARQUIVOS);
        break;
    case rdVisualizacaoMapas:
        TrocarModoUtilizacao(pstJanela, D_PRINCIPAL_MODO_UTILIZACAO_VISUALIZACAO_MAPAS);
        break;
    case btnMapa1Shp:
        principal_OnClickBotaoSelecionarMapa(pstJanela, 0);
        principal_SelecionarParametroMapa(pstJanela, 0);
        break;
    case btnMapa2Shp:
        principal_OnClickBotaoSelecionarMapa(pstJanela, 1);
        break;
    case btnDesenharMapaShapefile1:
        principal_DesenharMapa1(pstJanela);
        break;
    case btnDesenharMapaShapefile2:
        principal_CriarDesenharMapaTaxa(pstJanela);
        break;
    case btnCompararMapas:
        principal_OnClickBotaoComparacao(pstJanela);
        break;
    case cBoxVisualizacaoMapaParam1:
        principal_SelecionarParametroMapa(pstJanela, 0);
        break;
    case mnSair:
        pstJanela->gucFormulario = 0;
        break;
    case mnComoUtilizar:
        AbrirAjuda(pstJanela);
        break;
    case mnSobre:
        if (pstJanela->stServicos.pfMostrarSobre != nullptr)
            pstJanela->stServicos.pfMostrarSobre(pstJanela->stServicos.pContexto);
        break;
    default:
        break;
    }
}

void principal_ProcuraArquivosOKHandler(ST_Janela* pstJanela, int iStatus, int iTipos)
{
    ST_SelecaoArquivos& stSelecao = *pstJanela->gstSelecaoArquivos;
    const int iBotao = stSelecao.iTipoSelecao == D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS
                           ? btnSelecioneArquivos
                           : btnSelecioneDiretorio;
    principal_HabilitarControle(pstJanela, iBotao, true);
    principal_SetarTexto(pstJanela, iBotao, D_PRINCIPAL_TEXTO_FECHAR);
    principal_MostrarControle(pstJanela, pgBarConvertendo, false);

    std::string szMensagem;
    if (iStatus == D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUFFER_PATHS_CHEIO)
    {
        szMensagem = "\r\n\r\n\r\nMuitos arquivos de navegação foram encontrados.\r\n Selecione outro diretório com "
                     "menos arquivos.";
    }
    else if (stSelecao.iNumArquivos != 0)
    {
        principal_HabilitarControle(pstJanela, btnBotaoEsquerda, true);
        principal_HabilitarControle(pstJanela, btnBotaoDireita, true);
        principal_HabilitarControle(pstJanela, btnExportar, true);
        if (stSelecao.iNumArquivos < 2)
        {
            szMensagem = "\r\n\r\n\r\n\r\n1 arquivo selecionado. Gere seu relatório e mapa pressionando os botões acima.";
        }
        else
        {
            szMensagem = "\r\n\r\n\r\n\r\n" + std::to_string(stSelecao.iNumArquivos) +
                         " arquivos selecionados. Gere seus relatórios e mapas pressionando os botões acima.";
        }
        pstJanela->giTipoArquivosCarregados = iTipos != 0 ? iTipos : D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_OUTRAS_OPERACOES;
    }
    else
    {
        szMensagem = "\r\n\r\n\r\n\r\nNão há arquivos de navegação. Selecione outro diretório.";
    }
    principal_SetarTexto(pstJanela, lblStatusConversao, szMensagem);
}

void principal_ConvertendoArquivosHandler(ST_Janela* pstJanela, ST_Trabalho* pstTrabalho,
                                          const ST_DetalhesConversao& stDetalhes)
{
    ST_EstruturaThread* pstEstrutura = &pstTrabalho->gstEstruturaThread;
    const bool bResultado =
        stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_ERRO || conversor_StatusSucesso(stDetalhes.iStatus);
    if (stDetalhes.iTipoConversao == D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO)
    {
        // The viewer's conversion: only its result matters, kept for drawing map 2.
        if (bResultado)
            principal_GuardarResultadoMapa2(pstJanela, stDetalhes);
        conversor_ConfirmarAviso(pstEstrutura);
        return;
    }

    if (stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_GERANDO_RELATORIO ||
        stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_GERANDO_MAPA ||
        stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_GERANDO_EXPORTACAO)
    {
        if (pstEstrutura->ucCancelarConversao.load() != 0)
            return;
        const char* pcFormato = stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_GERANDO_RELATORIO
                                    ? "Gerando relatório %d de %d...AGUARDE!!"
                                : stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_GERANDO_MAPA
                                    ? "Gerando mapa %d de %d...AGUARDE!!"
                                    : "Exportando arquivo %d de %d...AGUARDE!!";
        char szInicio[300];
        std::snprintf(szInicio, sizeof(szInicio), pcFormato, stDetalhes.iNumArquivoAtual, stDetalhes.iNumTotalArquivos);
        principal_SetarTexto(pstJanela, lblStatusConversao,
                             std::string(szInicio) + "\r\n\r\nTalhão: " + stDetalhes.cNomeTalhao +
                                 "\r\nEvento: " + stDetalhes.cNomeEvento);
        return;
    }
    if (bResultado)
    {
        principal_SetarListaStatusConversao(pstJanela, stDetalhes);
        conversor_ConfirmarAviso(pstEstrutura);
    }
}

void principal_ConversaoOkHandler(ST_Janela* pstJanela, ST_Trabalho* pstTrabalho)
{
    if (pstTrabalho->gstEstruturaThread.iDesenharSegundoMapa.exchange(0) != 0)
    {
        principal_FinalizarMapa2(pstJanela);
        return;
    }

    for (int iId : {pgBarConvertendo, btnCancelarConversao, lblStatusConversao, rdbtnOpcao1, rdbtnOpcao2})
        principal_MostrarControle(pstJanela, iId, false);
    principal_Controle(pstJanela, pgBarConvertendo).bMarquee = false;
    principal_MostrarControle(pstJanela, etStatus, true);
    for (int iId : {lblOU, etArquivos, etDiretorio, btnSelecioneArquivos, btnSelecioneDiretorio, btnBotaoEsquerda,
                    btnBotaoDireita})
        principal_MostrarControle(pstJanela, iId, true);
    principal_MostrarControle(pstJanela, btnExportar, !pstJanela->vFormatosExportacao.empty());
    principal_SetarTexto(pstJanela, grpConversaoOpcoesMapa, "Conversão de Arquivo(s)");
    principal_SetarTexto(pstJanela, btnBotaoEsquerda, "Gerar Relatório(s)");
    principal_SetarTexto(pstJanela, btnBotaoDireita, "Gerar Mapa(s)");
    principal_SetarTexto(pstJanela, btnSelecioneArquivos, "Selecione Arquivo(s)...");
    principal_SetarTexto(pstJanela, btnSelecioneDiretorio, "Selecione Diretório...");
    principal_HabilitarControle(pstJanela, btnSelecioneArquivos, true);
    principal_HabilitarControle(pstJanela, btnSelecioneDiretorio, true);
    principal_HabilitarControle(pstJanela, btnBotaoEsquerda, false);
    principal_HabilitarControle(pstJanela, btnBotaoDireita, false);
    principal_HabilitarControle(pstJanela, btnExportar, false);
    principal_EsvaziarSelecao(pstJanela);
    principal_Repintar(pstJanela);
}

void principal_CloseHandler(ST_Janela* pstJanela)
{
    pstJanela->gucFormulario = 0;
    shpFile_LiberarMemoriaMapas(&pstJanela->gstVisualizador);
}
