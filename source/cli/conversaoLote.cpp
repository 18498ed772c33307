// Batch conversion for the command: targets expanded into files (folders are searched like the
// window's folder button), files converted N at a time by the same worker the window runs, and the
// result blocks printed in file order.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/comandos.h"
#include "zavoro/arquivo.h"
#include "zavoro/conversor.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/shapeFile.h"

namespace
{
// One file's job: a selection of one full path, and the result it reported.
struct ST_TrabalhoArquivo
{
    ST_EstruturaThread stThread;
    ST_ConversaoArquivos stJob;
    std::string szPath;
    std::optional<ST_DetalhesConversao> stResultado;
};

struct ST_Resultados
{
    std::mutex mutex;
    std::condition_variable pronto;
};

struct ST_ContextoAviso
{
    ST_TrabalhoArquivo* pstTrabalho;
    ST_Resultados* pstResultados;
};

void AoConverter(void* pContexto, const ST_DetalhesConversao& stDetalhes)
{
    auto* pstCtx = static_cast<ST_ContextoAviso*>(pContexto);
    if (stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_GERANDO_RELATORIO ||
        stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_GERANDO_MAPA)
        return; // start notices: the progress line follows the results, in file order
    {
        std::lock_guard<std::mutex> trava(pstCtx->pstResultados->mutex);
        pstCtx->pstTrabalho->stResultado = stDetalhes;
    }
    pstCtx->pstResultados->pronto.notify_all();
    conversor_ConfirmarAviso(&pstCtx->pstTrabalho->stThread);
}

// Output names of the batch. In an output folder the files are named as beside their inputs, and
// files of different folders that would meet there are told apart as in one folder.
std::vector<std::string> NomesSaida(const std::vector<std::string>& vArquivos, int iTipoConversao,
                                    const ST_SaidaCli& stSaida, std::vector<std::string>* pvAvisos)
{
    pvAvisos->assign(vArquivos.size(), std::string());
    if (stSaida.szPasta.empty())
        return conversor_NomesSaidaLote(vArquivos, iTipoConversao);
    std::vector<std::string> vNaPasta;
    for (const std::string& sz : vArquivos)
        vNaPasta.push_back(cli_CaminhoNaPasta(stSaida, sz));
    std::vector<std::string> vSaidas = conversor_NomesSaidaLote(vNaPasta, iTipoConversao);
    for (std::size_t i = 0; i < vSaidas.size(); i++)
    {
        const std::string szPadrao = conversor_NomeArquivoSaida(vNaPasta[i], iTipoConversao);
        if (vSaidas[i] != szPadrao)
            (*pvAvisos)[i] = "Saída gravada como " + funcAux_NomeArquivo(vSaidas[i]) + ": outro arquivo do lote usa " +
                             funcAux_NomeArquivo(szPadrao);
    }
    return vSaidas;
}

// The files a successful job wrote: the report, or the KML map with its shapefile set.
std::vector<std::string> ArquivosGravados(const std::string& szSaida, int iTipoConversao)
{
    std::vector<std::string> v{szSaida};
    ST_ArquivosShp stShp;
    if (iTipoConversao != D_CONVERSOR_TIPO_CONVERSAO_RELATORIO && shpFile_NomesArquivosShp(szSaida, &stShp))
        v.insert(v.end(), {stShp.szShp, stShp.szShx, stShp.szDbf, stShp.szPrj});
    return v;
}

// The window's result block with the paths written inserted before its closing rule.
std::string BlocoComSaidas(const ST_DetalhesConversao& stDetalhes, const std::vector<std::string>& vSaidas)
{
    std::string szBloco = conversor_MontarBlocoResultado(stDetalhes, "\n");
    const std::size_t posRegua = szBloco.rfind('\n', szBloco.size() - 2) + 1;
    std::string szLinhas;
    for (const std::string& sz : vSaidas)
        szLinhas += "Arquivo gravado: " + funcAux_EscaparControles(sz) + "\n";
    szBloco.insert(posRegua, szLinhas);
    return szBloco;
}
} // namespace

bool cli_ExpandirAlvos(const std::vector<std::string>& vAlvos, std::vector<std::string>& vArquivos)
{
    bool bOk = true;
    for (const std::string& szAlvo : vAlvos)
    {
        std::error_code ec;
        if (!std::filesystem::is_directory(funcAux_Caminho(szAlvo), ec))
        {
            vArquivos.push_back(szAlvo);
            continue;
        }
        auto pstSelecao = std::make_unique<ST_SelecaoArquivos>();
        ST_EstadoProcura stEstado;
        int iCodigo = arquivo_ProcurarArquivosNavegacaoDiretorio(szAlvo.c_str(), pstSelecao->szPathsArqNaveg,
                                                                 &pstSelecao->iNumArquivos, &stEstado);
        if (iCodigo != D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK)
        {
            std::fprintf(stderr, "zavoro: %s: %s\n", funcAux_EscaparControles(szAlvo).c_str(), arquivo_DescreverCodigoBusca(iCodigo));
            bOk = false;
        }
        if (pstSelecao->iNumArquivos == 0)
        {
            std::fprintf(stderr, "zavoro: %s: Não há arquivos de navegação.\n", funcAux_EscaparControles(szAlvo).c_str());
            bOk = false;
        }
        // A folder's files in path order, not in the order the directory happens to list them.
        const std::size_t inicio = vArquivos.size();
        conversor_PercorrerListaPaths(D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_DIRETORIO, pstSelecao->szPathsArqNaveg,
                                      pstSelecao->iNumArquivos, [&](const std::string& szPath) {
                                          vArquivos.push_back(szPath);
                                          return true;
                                      });
        std::sort(vArquivos.begin() + static_cast<std::ptrdiff_t>(inicio), vArquivos.end());
    }
    return bOk;
}

int cli_ConverterArquivos(const std::vector<std::string>& vArquivos, int iTipoConversao, int iTrabalhos,
                          const ST_SaidaCli& stSaida, const ST_ParametrosMapa* pstParametros,
                          std::vector<ST_DetalhesConversao>* pvResultados)
{
    const int iTotal = static_cast<int>(vArquivos.size());
    std::vector<std::string> vAvisos;
    const std::vector<std::string> vSaidas = NomesSaida(vArquivos, iTipoConversao, stSaida, &vAvisos);
    std::vector<std::unique_ptr<ST_TrabalhoArquivo>> vTrabalhos;
    for (std::size_t i = 0; i < vArquivos.size(); i++)
    {
        auto pst = std::make_unique<ST_TrabalhoArquivo>();
        pst->szPath = vArquivos[i] + '\0';
        pst->stJob.vNomesSaida = {vSaidas[i]};
        pst->stJob.iTipoSelecao = D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_DIRETORIO;
        pst->stJob.iTipoConversao = iTipoConversao;
        pst->stJob.pucVetorPaths = pst->szPath.c_str();
        pst->stJob.iNumArquivos = 1;
        if (pstParametros != nullptr)
            pst->stJob.stParametrosMapa = *pstParametros;
        pst->stThread.lpArgumento = &pst->stJob;
        vTrabalhos.push_back(std::move(pst));
    }

    ST_Resultados stResultados;
    std::atomic<int> iProximo{0};
    auto Trabalhador = [&]() {
        for (int i = iProximo++; i < iTotal; i = iProximo++)
        {
            ST_ContextoAviso stCtx{vTrabalhos[i].get(), &stResultados};
            vTrabalhos[i]->stThread.hHandleRetorno = ST_ReceptorAvisos{&stCtx, nullptr, AoConverter, nullptr};
            conversor_ThreadCriarRelatoriosMapasNavegacao(&vTrabalhos[i]->stThread);
        }
    };
    std::vector<std::thread> vThreads;
    for (int t = 0; t < std::min(iTrabalhos, iTotal); t++)
        vThreads.emplace_back(Trabalhador);

    ST_ProgressoCli stProgresso;
    cli_IniciarProgresso(&stProgresso, stSaida, vArquivos);
    cli_DesenharProgresso(&stProgresso);
    // Results go out in file order as soon as each is known; meanwhile the progress line is redrawn.
    int iSaida = D_CLI_SAIDA_OK;
    for (int i = 0; i < iTotal; i++)
    {
        ST_DetalhesConversao stDetalhes;
        {
            std::unique_lock<std::mutex> trava(stResultados.mutex);
            cli_AguardarComProgresso(&stProgresso, trava, stResultados.pronto,
                                     [&] { return vTrabalhos[i]->stResultado.has_value(); });
            stDetalhes = *vTrabalhos[i]->stResultado;
        }
        stDetalhes.iNumArquivoAtual = i + 1;
        stDetalhes.iNumTotalArquivos = iTotal;
        if (!stSaida.szPasta.empty())
            stDetalhes.szAvisoSaida = vAvisos[i];
        if (pvResultados != nullptr)
            pvResultados->push_back(stDetalhes);

        ST_ResultadoCli stResultado;
        stResultado.szEntrada = vArquivos[i];
        stResultado.bOk = stDetalhes.iStatus != D_CONVERSOR_STATUS_CONVERSAO_ERRO;
        if (stResultado.bOk)
            stResultado.vSaidas = ArquivosGravados(vSaidas[i], iTipoConversao);
        else
            iSaida = D_CLI_SAIDA_FALHA;
        stResultado.szMotivo = stDetalhes.szMotivoErro;
        if (!stResultado.bOk && stResultado.szMotivo.empty())
            stResultado.szMotivo = "a conversão falhou";
        stResultado.szTexto = BlocoComSaidas(stDetalhes, stResultado.vSaidas);
        cli_MostrarResultadoLote(&stProgresso, stSaida, stResultado);
    }
    cli_ApagarProgresso(&stProgresso);
    for (std::thread& t : vThreads)
        t.join();
    return iSaida;
}
