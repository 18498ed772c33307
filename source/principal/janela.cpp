// The main dialog's template, the control model and the window's workers.
#include "principal/principal.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace
{
using E = E_ClasseControle;
constexpr unsigned int OCULTO = D_PRINCIPAL_CONTROLE_OCULTO;
constexpr unsigned int DESABILITADO = D_PRINCIPAL_CONTROLE_DESABILITADO;
constexpr unsigned int LEITURA = D_PRINCIPAL_CONTROLE_SOMENTE_LEITURA | D_PRINCIPAL_CONTROLE_BORDA;
constexpr unsigned int CENTRO = D_PRINCIPAL_CONTROLE_CENTRALIZADO;
} // namespace

// In creation order, which is also the tab order.
const ST_DefinicaoControle gstControlesConversorZavoro[] = {
    {grpBoxModoUtilizacao, "grpBoxModoUtilizacao", E::GrupoBox, "Modo de Utilização", 3, 3, 504, 30, 0},
    {rdConversorArquivos, "rdConversorArquivos", E::Radio, "Conversor de Arquivo(s) - Padrão", 76, 14, 116, 9, 0},
    {rdVisualizacaoMapas, "rdVisualizacaoMapas", E::Radio,
     "Conversor de Arquivo de Taxa Variável (Com Mapa de Recomendação)", 232, 14, 240, 9, 0},
    {grpConversaoOpcoesMapa, "grpConversaoOpcoesMapa", E::GrupoBox, "Conversão de Arquivo(s)", 3, 38, 504, 139, 0},
    {btnSelecioneArquivos, "btnSelecioneArquivos", E::Botao, "Selecione Arquivo(s)...", 51, 69, 84, 15, 0},
    {etArquivos, "etArquivos", E::Edicao, "", 150, 69, 273, 15, LEITURA},
    {lblOU, "lblOU", E::Rotulo, "OU", 84, 89, 12, 9, 0},
    {btnSelecioneDiretorio, "btnSelecioneDiretorio", E::Botao, "Selecione Diretório...", 51, 103, 84, 15, 0},
    {etDiretorio, "etDiretorio", E::Edicao, "", 150, 102, 273, 15, LEITURA},
    {btnBotaoEsquerda, "btnBotaoEsquerda", E::Botao, "Gerar Relatório(s)", 156, 135, 93, 18, DESABILITADO},
    {btnBotaoDireita, "btnBotaoDireita", E::Botao, "Gerar Mapa(s)", 261, 135, 93, 18,
     DESABILITADO | D_PRINCIPAL_CONTROLE_PLANO},
    // Shown only when the application was built with an export module.
    {btnExportar, "btnExportar", E::Botao, "Exportar...", 366, 135, 93, 18, DESABILITADO | OCULTO},
    {rdbtnOpcao1, "rdbtnOpcao1", E::Radio, "Mapa de cobertura", 210, 72, 123, 12, OCULTO},
    {rdbtnOpcao2, "rdbtnOpcao2", E::Radio, "Mapa de velocidade", 210, 93, 143, 15, OCULTO},
    {etValorAlvo1, "etValorAlvo1", E::Edicao, "", 168, 45, 27, 12, OCULTO | CENTRO | D_PRINCIPAL_CONTROLE_SO_DIGITOS | D_PRINCIPAL_CONTROLE_BORDA},
    {etValorAlvo2, "etValorAlvo2", E::Edicao, "", 207, 45, 27, 12, OCULTO | CENTRO | D_PRINCIPAL_CONTROLE_SO_DIGITOS | D_PRINCIPAL_CONTROLE_BORDA},
    {etValorAlvo3, "etValorAlvo3", E::Edicao, "", 243, 45, 27, 12, OCULTO | CENTRO | D_PRINCIPAL_CONTROLE_SO_DIGITOS | D_PRINCIPAL_CONTROLE_BORDA},
    {etValorAlvo4, "etValorAlvo4", E::Edicao, "", 279, 45, 27, 12, OCULTO | CENTRO | D_PRINCIPAL_CONTROLE_SO_DIGITOS | D_PRINCIPAL_CONTROLE_BORDA},
    {etValorAlvo5, "etValorAlvo5", E::Edicao, "", 315, 45, 27, 12, OCULTO | CENTRO | D_PRINCIPAL_CONTROLE_SO_DIGITOS | D_PRINCIPAL_CONTROLE_BORDA},
    {grpStatus, "grpStatus", E::GrupoBox, "Status", 3, 183, 504, 162, 0},
    {etStatus, "etStatus", E::Edicao, "", 12, 198, 486, 138,
     OCULTO | D_PRINCIPAL_CONTROLE_MULTILINHA | D_PRINCIPAL_CONTROLE_SOMENTE_LEITURA | D_PRINCIPAL_CONTROLE_BORDA},
    {lblStatusConversao, "lblStatusConversao", E::Rotulo, "", 96, 225, 330, 42, CENTRO},
    {pgBarConvertendo, "pgBarConvertendo", E::BarraProgresso, "", 168, 267, 186, 9, OCULTO},
    {btnCancelarConversao, "btnCancelarConversao", E::Botao, "Cancelar", 226, 290, 63, 15, OCULTO},
    {grpBoxVisualizacaoMapa1, "grpBoxVisualizacaoMapa1", E::GrupoBox, "Mapa 1 (Arquivo Shapefile - Recomendação)", 3,
     39, 249, 306, OCULTO},
    {btnMapa1Shp, "btnMapa1Shp", E::Botao, "Mapa 1 - SHP..", 9, 54, 57, 15, OCULTO},
    {etMapa1Shp, "etMapa1Shp", E::Edicao, "", 78, 54, 159, 15, LEITURA},
    {lbRecomendacaoMapa1, "lbRecomendacaoMapa1", E::Rotulo, "Recomendação:", 11, 72, 54, 9, 0},
    {cBoxVisualizacaoMapaParam1, "cBoxVisualizacaoMapaParam1", E::ListaSuspensa, "", 78, 70, 159, 33, 0},
    {btnDesenharMapaShapefile1, "btnDesenharMapaShapefile1", E::Botao, "Desenhar Mapa", 114, 88, 87, 18, 0},
    {rectMapa1, "rectMapa1", E::Retangulo, "", 9, 112, 237, 207, OCULTO},
    {grpBoxVisualizacaoMapa2, "grpBoxVisualizacaoMapa2", E::GrupoBox, "Mapa 2 (Arquivo \".NVG\" - Trabalho Realizado)",
     258, 39, 249, 306, OCULTO},
    {btnMapa2Shp, "btnMapa2Shp", E::Botao, "Mapa 2 - NVG..", 264, 54, 57, 15, OCULTO},
    {etMapa2Shp, "etMapa2Shp", E::Edicao, "", 330, 54, 159, 15, LEITURA},
    {btnDesenharMapaShapefile2, "btnDesenharMapaShapefile2", E::Botao, "Converter e Desenhar Mapa", 358, 74, 104, 19, 0},
    {pgBarConvertendoMapaTxVar, "pgBarConvertendoMapaTxVar", E::BarraProgresso, "", 374, 99, 70, 9, OCULTO},
    {btnCompararMapas, "btnCompararMapas", E::Botao, "Comparação...", 264, 76, 57, 15, OCULTO | DESABILITADO},
    {rectMapa2, "rectMapa2", E::Retangulo, "", 264, 112, 237, 207, OCULTO},
};
const int giNumControlesConversorZavoro =
    static_cast<int>(sizeof(gstControlesConversorZavoro) / sizeof(gstControlesConversorZavoro[0]));

// Rounded to nearest, halves away from zero, as the dialog manager scales.
int principal_UnidadesParaPixelsX(int iUnidades)
{
    return (iUnidades * D_PRINCIPAL_BASE_X + 2) / 4;
}

int principal_UnidadesParaPixelsY(int iUnidades)
{
    return (iUnidades * D_PRINCIPAL_BASE_Y + 4) / 8;
}

ST_Janela::ST_Janela() : gstSelecaoArquivos(std::make_unique<ST_SelecaoArquivos>())
{
    for (int i = 0; i < D_CONVERSOR_NUMERO_ALVOS; i++)
    {
        iTaxaAlvoMapaCobertura[i] = D_CONVERSOR_TAXAS_ALVO_PADRAO[i];
        iVelocidadeAlvoMapa[i] = D_CONVERSOR_VELOCIDADES_ALVO_PADRAO[i];
    }
    conversor_SetarLegenda(iTaxaAlvoMapaCobertura, D_CONVERSOR_TIPO_MAPA_COBERTURA, gstLegendaMapa);
    // The viewer's messages (a missing table) are the window's message boxes.
    gstVisualizador.stPlataforma.pContexto = this;
    gstVisualizador.stPlataforma.pfMostrarMensagem = [](void* pContexto, const char* pcTexto, const char* pcTitulo) {
        principal_Mensagem(static_cast<ST_Janela*>(pContexto), pcTexto, pcTitulo, D_PRINCIPAL_MB_OK);
    };
    stConversao.pstJanela = this;
    stMapa2.pstJanela = this;
    vControles.reserve(giNumControlesConversorZavoro);
    for (int i = 0; i < giNumControlesConversorZavoro; i++)
    {
        const ST_DefinicaoControle& stDef = gstControlesConversorZavoro[i];
        ST_Controle stControle;
        stControle.pstDefinicao = &stDef;
        stControle.bVisivel = (stDef.uiPropriedades & D_PRINCIPAL_CONTROLE_OCULTO) == 0;
        stControle.bHabilitado = (stDef.uiPropriedades & D_PRINCIPAL_CONTROLE_DESABILITADO) == 0;
        stControle.szTexto = stDef.szTexto;
        stControle.iX = principal_UnidadesParaPixelsX(stDef.iX);
        stControle.iY = principal_UnidadesParaPixelsY(stDef.iY);
        stControle.iLargura = principal_UnidadesParaPixelsX(stDef.iLargura);
        stControle.iAltura = principal_UnidadesParaPixelsY(stDef.iAltura);
        vControles.push_back(std::move(stControle));
    }
}

ST_Janela::~ST_Janela()
{
    principal_EncerrarTrabalhos(this);
}

ST_Controle& principal_Controle(ST_Janela* pstJanela, int iId)
{
    for (ST_Controle& stControle : pstJanela->vControles)
        if (stControle.pstDefinicao->iId == iId)
            return stControle;
    std::fprintf(stderr, "quibar-zavoro: controle %d inexistente\n", iId);
    std::abort();
}

void principal_MostrarControle(ST_Janela* pstJanela, int iId, bool bMostrar)
{
    principal_Controle(pstJanela, iId).bVisivel = bMostrar;
}

void principal_HabilitarControle(ST_Janela* pstJanela, int iId, bool bHabilitar)
{
    principal_Controle(pstJanela, iId).bHabilitado = bHabilitar;
}

void principal_SetarTexto(ST_Janela* pstJanela, int iId, const std::string& szTexto)
{
    principal_Controle(pstJanela, iId).szTexto = szTexto;
}

const std::string& principal_Texto(ST_Janela* pstJanela, int iId)
{
    return principal_Controle(pstJanela, iId).szTexto;
}

namespace
{
// Auto radio buttons: a click checks one and unchecks the rest of its group.
constexpr int kGruposRadio[][2] = {{rdConversorArquivos, rdVisualizacaoMapas}, {rdbtnOpcao1, rdbtnOpcao2}};
} // namespace

std::span<const int> principal_GrupoRadio(int iId)
{
    for (const auto& iGrupo : kGruposRadio)
        for (int iRadio : iGrupo)
            if (iRadio == iId)
                return iGrupo;
    return {};
}

void principal_MarcarRadio(ST_Janela* pstJanela, int iId)
{
    for (int iRadio : principal_GrupoRadio(iId))
        principal_Controle(pstJanela, iRadio).bMarcado = iRadio == iId;
}

void principal_Repintar(ST_Janela* pstJanela)
{
    pstJanela->bRepintar = true;
}

void principal_MostrarBarraMarquee(ST_Janela* pstJanela, int iId)
{
    ST_Controle& stBarra = principal_Controle(pstJanela, iId);
    stBarra.bVisivel = true;
    stBarra.bMarquee = true;
}

int principal_Mensagem(ST_Janela* pstJanela, const char* pcTexto, const char* pcTitulo, int iBotoes)
{
    const ST_ServicosPlataforma& stServicos = pstJanela->stServicos;
    if (stServicos.pfMensagem == nullptr)
        return D_PRINCIPAL_IDOK;
    return stServicos.pfMensagem(stServicos.pContexto, pcTexto, pcTitulo, iBotoes);
}

namespace
{
ST_Trabalho* Trabalho(void* pContexto)
{
    return static_cast<ST_Trabalho*>(pContexto);
}

// The notice sink of a window's worker: each notice becomes a call on the window thread. Result
// notices keep the worker waiting until the window has used them; while the window goes away they
// are acknowledged at once, so the worker can finish.
void PostarNaJanela(ST_Trabalho* pstTrabalho, std::function<void()> fn)
{
    ST_ServicosPlataforma& stServicos = pstTrabalho->pstJanela->stServicos;
    if (pstTrabalho->bEncerrando.load() || stServicos.pfPostar == nullptr)
    {
        conversor_ConfirmarAviso(&pstTrabalho->gstEstruturaThread);
        return;
    }
    stServicos.pfPostar(stServicos.pContexto, std::move(fn));
}

void AvisoProcuraArquivosOk(void* pContexto, int iStatus, int iTipos)
{
    ST_Trabalho* pstTrabalho = Trabalho(pContexto);
    PostarNaJanela(pstTrabalho, [pstTrabalho, iStatus, iTipos] {
        principal_ProcuraArquivosOKHandler(pstTrabalho->pstJanela, iStatus, iTipos);
    });
}

void AvisoConvertendoArquivos(void* pContexto, const ST_DetalhesConversao& stDetalhes)
{
    ST_Trabalho* pstTrabalho = Trabalho(pContexto);
    PostarNaJanela(pstTrabalho, [pstTrabalho, stDetalhes] {
        principal_ConvertendoArquivosHandler(pstTrabalho->pstJanela, pstTrabalho, stDetalhes);
    });
}

void AvisoConversaoOk(void* pContexto)
{
    ST_Trabalho* pstTrabalho = Trabalho(pContexto);
    PostarNaJanela(pstTrabalho,
                   [pstTrabalho] { principal_ConversaoOkHandler(pstTrabalho->pstJanela, pstTrabalho); });
}

bool CriarThreadPadrao(std::thread* pThread, unsigned int (*pfFuncao)(void*), void* pArg)
{
    try
    {
        *pThread = std::thread(pfFuncao, pArg);
        return true;
    }
    catch (const std::system_error&)
    {
        return false;
    }
}
} // namespace

bool principal_IniciarTrabalho(ST_Janela* pstJanela, ST_Trabalho* pstTrabalho, unsigned int (*pfFuncao)(void*),
                               void* pArgumento, const char* pcErro)
{
    // The previous job of this record has posted its last notice; its thread is ending or ended.
    if (pstTrabalho->thread.joinable())
        pstTrabalho->thread.join();

    ST_EstruturaThread& stEstrutura = pstTrabalho->gstEstruturaThread;
    stEstrutura.hHandleRetorno.pContexto = pstTrabalho;
    stEstrutura.hHandleRetorno.pfProcuraArquivosOk = AvisoProcuraArquivosOk;
    stEstrutura.hHandleRetorno.pfConvertendoArquivos = AvisoConvertendoArquivos;
    stEstrutura.hHandleRetorno.pfConversaoOk = AvisoConversaoOk;
    stEstrutura.lpArgumento = pArgumento;
    stEstrutura.unidadePausa = pstJanela->unidadePausa;
    stEstrutura.ucSemaforoStatusConversao.store(0);
    stEstrutura.iDesenharSegundoMapa.store(0);

    const ST_ServicosPlataforma& stServicos = pstJanela->stServicos;
    bool bCriada = stServicos.pfCriarThread != nullptr
                       ? stServicos.pfCriarThread(stServicos.pContexto, &pstTrabalho->thread, pfFuncao, &stEstrutura)
                       : CriarThreadPadrao(&pstTrabalho->thread, pfFuncao, &stEstrutura);
    if (bCriada)
        return true;

    // Nothing can go on without the worker; the program ends, and says so in its exit code.
    principal_Mensagem(pstJanela, pcErro, D_PRINCIPAL_TITULO_ERRO, D_PRINCIPAL_MB_OKCANCEL);
    pstJanela->gucFormulario = 0;
    if (stServicos.pfEncerrarProcesso != nullptr)
        stServicos.pfEncerrarProcesso(stServicos.pContexto, D_PRINCIPAL_SAIDA_ERRO_THREAD);
    return false;
}

void principal_EncerrarTrabalhos(ST_Janela* pstJanela)
{
    principal_EncerrarComparacao(pstJanela);
    for (ST_Trabalho* pstTrabalho : {&pstJanela->stConversao, &pstJanela->stMapa2})
    {
        if (!pstTrabalho->thread.joinable())
            continue;
        pstTrabalho->bEncerrando.store(true);
        pstTrabalho->gstEstruturaThread.ucCancelarConversao.store(1);
        // A result notice may be waiting for a window that will never handle it.
        conversor_ConfirmarAviso(&pstTrabalho->gstEstruturaThread);
        pstTrabalho->thread.join();
    }
}
