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
        return; // progress: the command shows only results
    {
        std::lock_guard<std::mutex> trava(pstCtx->pstResultados->mutex);
        pstCtx->pstTrabalho->stResultado = stDetalhes;
    }
    pstCtx->pstResultados->pronto.notify_all();
    conversor_ConfirmarAviso(&pstCtx->pstTrabalho->stThread);
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
                          const ST_ParametrosMapa* pstParametros,
                          std::vector<ST_DetalhesConversao>* pvResultados)
{
    const int iTotal = static_cast<int>(vArquivos.size());
    const std::vector<std::string> vSaidas = conversor_NomesSaidaLote(vArquivos, iTipoConversao);
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

    // Blocks go out in file order as soon as each is known.
    int iSaida = D_CLI_SAIDA_OK;
    for (int i = 0; i < iTotal; i++)
    {
        ST_DetalhesConversao stDetalhes;
        {
            std::unique_lock<std::mutex> trava(stResultados.mutex);
            stResultados.pronto.wait(trava, [&] { return vTrabalhos[i]->stResultado.has_value(); });
            stDetalhes = *vTrabalhos[i]->stResultado;
        }
        stDetalhes.iNumArquivoAtual = i + 1;
        stDetalhes.iNumTotalArquivos = iTotal;
        if (pvResultados != nullptr)
            pvResultados->push_back(stDetalhes);
        std::fputs(conversor_MontarBlocoResultado(stDetalhes, "\n").c_str(), stdout);
        std::fflush(stdout);
        if (stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_ERRO)
        {
            iSaida = D_CLI_SAIDA_FALHA;
            if (!stDetalhes.szMotivoErro.empty())
                std::fprintf(stderr, "zavoro: %s: %s\n", funcAux_EscaparControles(stDetalhes.cNomeArquivo).c_str(),
                             funcAux_EscaparControles(stDetalhes.szMotivoErro).c_str());
        }
    }
    for (std::thread& t : vThreads)
        t.join();
    return iSaida;
}
