// zavoro desenhar and zavoro recomendacao: the map viewer's pictures without a window. The pictures
// are drawn by the same renderer the desktop app uses, over QImage, and written as PNG.
#include <QGuiApplication>
#include <QtGlobal>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/comandos.h"
#include "cliDesenho/visualizadorCli.h"
#include "desenhoQt/superficieQt.h"
#include "zavoro/conversor.h"
#include "zavoro/desenhoMapa.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/shapeFile.h"

namespace
{
// What the drawing's error picture says, on one line.
constexpr const char* kErroDesenho =
    "Erro em desenho de mapa. Selecione os arquivos SHP, DBF e a recomendação do mapa desejado e tente "
    "novamente. Os arquivos SHP e DBF devem ser do mesmo mapa.";

// The readers' messages (a missing table) go to stderr on one line.
void MostrarMensagem(void*, const char* pcTexto, const char* pcTitulo)
{
    std::string szLinha;
    bool bEspaco = false;
    for (const char* pc = pcTexto; *pc != '\0'; pc++)
    {
        const bool bBranco = *pc == ' ' || *pc == '\n' || *pc == '\r' || *pc == '\t';
        if (bBranco && !szLinha.empty())
            bEspaco = true;
        else if (!bBranco)
        {
            if (bEspaco)
                szLinha += ' ';
            bEspaco = false;
            szLinha += *pc;
        }
    }
    std::fprintf(stderr, "zavoro: %s: %s\n", pcTitulo, szLinha.c_str());
}

// Qt's notes about the session (no runtime folder, say) mean nothing to a command that only draws
// off screen; real problems still reach stderr.
void FiltrarMensagensQt(QtMsgType tipo, const QMessageLogContext&, const QString& szMensagem)
{
    if (tipo == QtDebugMsg || tipo == QtInfoMsg || szMensagem.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::fprintf(stderr, "zavoro: Qt: %s\n", szMensagem.toLocal8Bit().constData());
}

} // namespace

std::unique_ptr<ST_VisualizadorCli> cliDesenho_CriarVisualizador()
{
    qInstallMessageHandler(FiltrarMensagensQt);
    auto pst = std::make_unique<ST_VisualizadorCli>();
    pst->pAplicacao = desenhoQt_CriarAplicacaoSemJanela();
    desenhoQt_CriarImagensMapas(&pst->stImagens, &pst->stVisualizador);
    pst->stVisualizador.stPlataforma.pfMostrarMensagem = MostrarMensagem;
    shpFile_InicializarVisualizacaoMapas(&pst->stVisualizador);
    return pst;
}

// Map 1 from the recommendation set: the named field, or (no name) the first numeric one. False (told
// on stderr) when the name is not a field of the table.
bool cliDesenho_PrepararMapa1(const std::string& szShp, const std::string& szCampo, ST_ShpMapa* pstMapa)
{
    pstMapa->szNomeArqMapaShp = szShp;
    pstMapa->szNomeArqMapaDbf = shpFile_CaminhoDbf(szShp);
    pstMapa->uiParamSelecionado = 0;
    std::vector<std::string> vCampos;
    shpFile_ListarParametrosMapaEntrada(pstMapa, &vCampos);
    if (!szCampo.empty())
    {
        for (std::size_t i = 0; i < vCampos.size(); i++)
            if (vCampos[i] == szCampo)
            {
                pstMapa->uiParamSelecionado = static_cast<std::uint32_t>(i);
                return true;
            }
        std::string szLista;
        for (const std::string& sz : vCampos)
            szLista += (szLista.empty() ? "" : ", ") + sz;
        std::fprintf(stderr, "zavoro: %s: o campo \"%s\" não existe em %s (campos: %s)\n", funcAux_EscaparControles(szShp).c_str(),
                     funcAux_EscaparControles(szCampo).c_str(), funcAux_EscaparControles(pstMapa->szNomeArqMapaDbf).c_str(),
                     szLista.empty() ? "nenhum" : szLista.c_str());
        return false;
    }
    // The table opens for drawing only on a numeric field.
    for (std::size_t i = 0; i < vCampos.size(); i++)
    {
        ST_ShpDadosDbf stDados;
        std::vector<ST_ShpSubrecords> vSub;
        ShpArquivoDbf pf;
        if (shpFile_AbrirDbf(pstMapa, &stDados, &vSub, &pf, static_cast<unsigned int>(i), nullptr))
        {
            pstMapa->uiParamSelecionado = static_cast<std::uint32_t>(i);
            break;
        }
    }
    return true;
}

bool cliDesenho_DesenharMapa(ST_VisualizadorMapas* pstVisualizador, int iNumMapa, const std::string& szShp)
{
    if (shpFile_DesenharMapa(pstVisualizador, iNumMapa))
        return true;
    std::fprintf(stderr, "zavoro: %s: %s\n", funcAux_EscaparControles(szShp).c_str(), kErroDesenho);
    return false;
}

namespace
{
// "saida.png" gives "saida_ampliado.png".
std::string NomeAmpliado(const std::string& szPng)
{
    std::filesystem::path caminho(szPng);
    std::filesystem::path nome = caminho.stem();
    nome += "_ampliado";
    nome += caminho.extension();
    return (caminho.parent_path() / nome).string();
}

// Writes one picture; its path goes into *pstResultado (and its line to stdout in the plain mode).
bool Salvar(const ST_SuperficieQt& stImagem, const std::string& szArquivo, const ST_SaidaCli& stSaida,
            ST_ResultadoCli* pstResultado)
{
    std::string szErro;
    if (desenhoQt_SalvarPng(stImagem, szArquivo, &szErro))
    {
        if (!stSaida.bJson && !stSaida.bSilencioso)
            std::printf("Imagem gravada: %s\n", funcAux_EscaparControles(szArquivo).c_str());
        pstResultado->vSaidas.push_back(szArquivo);
        return true;
    }
    pstResultado->szMotivo = szErro;
    std::fprintf(stderr, "zavoro: %s: %s\n", funcAux_EscaparControles(szArquivo).c_str(), funcAux_EscaparControles(szErro).c_str());
    return false;
}

} // namespace

// A picture is never written where a folder stands; checked for every picture before the first is
// drawn, so a refused run writes nothing.
bool cliDesenho_DestinosLivres(const std::vector<std::string>& vPngs)
{
    for (const std::string& szPng : vPngs)
        for (const std::string& szArquivo : {szPng, NomeAmpliado(szPng)})
        {
            std::error_code ec;
            if (std::filesystem::is_directory(szArquivo, ec))
            {
                std::fprintf(stderr, "zavoro: %s: é uma pasta; informe o nome da imagem a gravar\n",
                             funcAux_EscaparControles(szArquivo).c_str());
                return false;
            }
        }
    return true;
}

// Panel and enlarged pictures of one map.
bool cliDesenho_SalvarMapa(const ST_ImagensMapasQt& stImagens, int iNumMapa, const std::string& szPng,
                           const ST_SaidaCli& stSaida, ST_ResultadoCli* pstResultado)
{
    bool bOk = Salvar(stImagens.stMapa[iNumMapa], szPng, stSaida, pstResultado);
    bOk = Salvar(stImagens.stMapaMax[iNumMapa], NomeAmpliado(szPng), stSaida, pstResultado) && bOk;
    return bOk;
}

namespace
{
// The pictures' line for scripts (--json); the plain mode printed them as they were written and the
// failures are already on stderr.
int Concluir(const ST_SaidaCli& stSaida, ST_ResultadoCli* pstResultado, bool bOk)
{
    pstResultado->bOk = bOk;
    if (stSaida.bJson)
        std::printf("%s\n", cli_ResultadoJson(*pstResultado).c_str());
    return bOk ? D_CLI_SAIDA_OK : D_CLI_SAIDA_FALHA;
}

constexpr const char* kAjudaDesenhar =
    "Uso: zavoro desenhar REC.shp [--campo NOME] --png SAIDA.png [OPÇÕES]\n"
    "\n"
    "Desenha o mapa de recomendação REC.shp (com REC.dbf) em SAIDA.png (355 x 335) e\n"
    "SAIDA_ampliado.png (550 x 550); .png é acrescentado quando falta.\n"
    "\n"
    "Opções:\n"
    "  --campo NOME      campo da tabela a desenhar (padrão: o primeiro numérico)\n"
    "  --png SAIDA.png   a imagem a gravar (obrigatória)\n";

constexpr const char* kAjudaRecomendacao =
    "Uso: zavoro recomendacao --mapa REC.shp [--campo NOME] [--png PREFIXO] [OPÇÕES] ARQ.nvg\n"
    "\n"
    "Desenha o mapa de recomendação REC.shp (mapa 1, treze faixas do campo), gera o mapa\n"
    "de cobertura com recomendação de ARQ.nvg (_Cobertura.kml e Shapefile) e desenha o\n"
    "trabalho realizado (mapa 2) na mesma área.\n"
    "\n"
    "Opções:\n"
    "  --mapa REC.shp    o mapa de recomendação (obrigatório)\n"
    "  --campo NOME      campo da tabela (padrão: o primeiro numérico)\n"
    "  --png PREFIXO     grava PREFIXO_mapa1.png, PREFIXO_mapa2.png e suas versões\n"
    "                    _ampliado\n";
} // namespace

int cli_Desenhar(const std::vector<std::string>& vArgumentos)
{
    std::string szCampo, szPng;
    ST_SaidaCli stSaida;
    const ST_OpcaoCli vOpcoes[] = {cli_OpcaoTexto("--campo", &szCampo), cli_OpcaoTexto("--png", &szPng)};
    std::vector<std::string> vOperandos;
    if (const int iFim = cli_LerArgumentos(vArgumentos, kAjudaDesenhar, vOpcoes, &vOperandos, &stSaida);
        iFim != D_CLI_CONTINUAR)
        return iFim;
    if (vOperandos.size() != 1)
        return cli_ErroUso("desenhar: informe um arquivo .shp de recomendação");
    if (szPng.empty())
        return cli_ErroUso("desenhar: informe a imagem de saída com --png SAIDA.png");
    // A name without the extension gets it, as a picture viewer expects it.
    std::string szExtensao = std::filesystem::path(szPng).extension().string();
    for (char& c : szExtensao)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (szExtensao != ".png")
        szPng += ".png";
    szPng = cli_CaminhoNaPasta(stSaida, szPng);
    if (!cliDesenho_DestinosLivres({szPng}))
        return D_CLI_SAIDA_FALHA;

    auto pstCli = cliDesenho_CriarVisualizador();
    ST_VisualizadorMapas& stVisualizador = pstCli->stVisualizador;
    const std::string& szShp = vOperandos[0];
    ST_ResultadoCli stResultado;
    stResultado.szEntrada = szShp;
    if (!cliDesenho_PrepararMapa1(szShp, szCampo, &stVisualizador.gstMapa1) || !cliDesenho_DesenharMapa(&stVisualizador, 0, szShp))
    {
        stResultado.szMotivo = kErroDesenho;
        return Concluir(stSaida, &stResultado, false);
    }
    return Concluir(stSaida, &stResultado, cliDesenho_SalvarMapa(pstCli->stImagens, 0, szPng, stSaida, &stResultado));
}

int cli_Recomendacao(const std::vector<std::string>& vArgumentos)
{
    std::string szMapa, szCampo, szPng;
    ST_SaidaCli stSaida;
    const ST_OpcaoCli vOpcoes[] = {cli_OpcaoTexto("--mapa", &szMapa), cli_OpcaoTexto("--campo", &szCampo),
                                   cli_OpcaoTexto("--png", &szPng)};
    std::vector<std::string> vOperandos;
    if (const int iFim = cli_LerArgumentos(vArgumentos, kAjudaRecomendacao, vOpcoes, &vOperandos, &stSaida);
        iFim != D_CLI_CONTINUAR)
        return iFim;
    if (szMapa.empty())
        return cli_ErroUso("recomendacao: informe o mapa de recomendação com --mapa REC.shp");
    if (vOperandos.size() != 1)
        return cli_ErroUso("recomendacao: informe um arquivo de navegação (.nvg)");
    if (!szPng.empty())
        szPng = cli_CaminhoNaPasta(stSaida, szPng);
    if (!szPng.empty() && !cliDesenho_DestinosLivres({szPng + "_mapa1.png", szPng + "_mapa2.png"}))
        return D_CLI_SAIDA_FALHA;

    // Map 1 first: its legend classes the coverage.
    auto pstCli = cliDesenho_CriarVisualizador();
    ST_VisualizadorMapas& stVisualizador = pstCli->stVisualizador;
    if (!cliDesenho_PrepararMapa1(szMapa, szCampo, &stVisualizador.gstMapa1) ||
        !cliDesenho_DesenharMapa(&stVisualizador, 0, szMapa))
        return D_CLI_SAIDA_FALHA;

    ST_ParametrosMapa stParametros;
    stParametros.gstShpLegendaMapa = stVisualizador.gstShpLegendaMapa;
    std::vector<ST_DetalhesConversao> vResultados;
    int iSaida = cli_ConverterArquivos(vOperandos, D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO,
                                       1, stSaida, &stParametros, &vResultados);
    if (iSaida != D_CLI_SAIDA_OK || vResultados.size() != 1 || szPng.empty())
        return iSaida;

    // Map 2 is the set the job wrote, drawn over map 1's ground with map 1's legend.
    const ST_DetalhesConversao& stConversao = vResultados[0];
    stVisualizador.gstMapa2.szNomeArqMapaShp = stConversao.szMapa2Shp;
    stVisualizador.gstMapa2.szNomeArqMapaDbf = stConversao.szMapa2Dbf;
    stVisualizador.gstMapa2.uiParamSelecionado = stConversao.uiMapa2ParamSelecionado;
    ST_ResultadoCli stResultado;
    stResultado.szEntrada = szMapa;
    if (!cliDesenho_DesenharMapa(&stVisualizador, 1, stConversao.szMapa2Shp))
    {
        stResultado.szMotivo = kErroDesenho;
        return Concluir(stSaida, &stResultado, false);
    }

    bool bOk = cliDesenho_SalvarMapa(pstCli->stImagens, 0, szPng + "_mapa1.png", stSaida, &stResultado);
    bOk = cliDesenho_SalvarMapa(pstCli->stImagens, 1, szPng + "_mapa2.png", stSaida, &stResultado) && bOk;
    return Concluir(stSaida, &stResultado, bOk);
}
