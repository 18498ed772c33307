// zavoro exportar: the as-applied data of navigation files as GIS datasets (through GDAL).
#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <cstdio>
#include <set>
#include <thread>

#include "cli/comandos.h"
#include "zavoro/conversor.h"
#include "zavoro/exportacao.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

namespace
{
// Output base of each file (its path without extension, in PASTA when given), distinct across the
// batch: the report names of a batch never collide, and a folder shared by --saida numbers repeats.
std::vector<std::string> Bases(const std::vector<std::string>& vArquivos, const std::string& szPasta)
{
    std::vector<std::string> vBases;
    std::set<std::string> setUsadas;
    for (const std::string& szRelatorio : conversor_NomesSaidaLote(vArquivos, D_CONVERSOR_TIPO_CONVERSAO_RELATORIO))
    {
        std::string szBase = szRelatorio.substr(0, szRelatorio.size() - 4); // without ".txt"
        if (!szPasta.empty())
            szBase = funcAux_NaPasta(szPasta, szBase);
        std::string szCandidata = szBase;
        auto Chave = [](std::string sz) {
            std::transform(sz.begin(), sz.end(), sz.begin(), [](unsigned char c) { return std::tolower(c); });
            return sz;
        };
        for (int i = 2; !setUsadas.insert(Chave(szCandidata)).second; i++)
            szCandidata = szBase + "_" + std::to_string(i);
        vBases.push_back(szCandidata);
    }
    return vBases;
}

ST_ResultadoCli Exportar(const std::string& szArquivo, const std::string& szBase, int iFormato)
{
    ST_ResultadoCli st;
    st.szEntrada = szArquivo;
    ST_DiagnosticoValidacao stDiagnostico;
    if (!zavoro_DiagnosticarArquivoNavegacao(szArquivo.c_str(), &stDiagnostico))
    {
        st.szMotivo = "arquivo inválido: " + zavoro_DescreverDiagnostico(stDiagnostico);
        return st;
    }
    std::string szErro;
    st.bOk = exportacao_ExportarArquivo(szArquivo.c_str(), szBase, iFormato, &szErro) != FALSE;
    if (!st.bOk)
    {
        st.szMotivo = "erro: " + szErro;
        return st;
    }
    st.vSaidas = exportacao_NomesSaida(szBase, iFormato);
    st.szTexto = funcAux_EscaparControles(szArquivo) + ": exportado\n";
    for (const std::string& szSaida : st.vSaidas)
        st.szTexto += "  " + funcAux_EscaparControles(szSaida) + "\n";
    return st;
}

constexpr const char* kAjuda =
    "Uso: zavoro exportar [OPÇÕES] ALVO...\n"
    "\n"
    "Exporta os dados aplicados de cada arquivo de navegação para SIG: cobertura, rastro,\n"
    "etapas, eventos, guias e limites. ALVO é um arquivo ou uma pasta (buscada com as\n"
    "subpastas).\n"
    "\n"
    "Opções:\n"
    "  --formato F       gpkg (padrão, _Exportacao.gpkg), geojson, csv, kmz ou fgb;\n"
    "                    geojson, csv e fgb gravam um arquivo por camada\n"
    "  -j N              exporta N arquivos ao mesmo tempo (padrão: o número de núcleos)\n";
} // namespace

int cli_Exportar(const std::vector<std::string>& vArgumentos)
{
    int iFormato = D_EXPORTACAO_FORMATO_GPKG;
    ST_SaidaCli stSaida;
    int iTrabalhos = cli_TrabalhosPadrao();
    const ST_OpcaoCli vOpcoes[] = {
        {"--formato", "um formato (gpkg, geojson, csv, kmz, fgb)",
         [&](const std::string& szValor) {
             return exportacao_FormatoPorNome(szValor, &iFormato)
                        ? std::string()
                        : "formato desconhecido (use gpkg, geojson, csv, kmz ou fgb): " + szValor;
         }},
        cli_OpcaoTrabalhos(&iTrabalhos),
    };
    std::vector<std::string> vAlvos;
    if (const int iFim = cli_LerArgumentos(vArgumentos, kAjuda, vOpcoes, &vAlvos, &stSaida); iFim != D_CLI_CONTINUAR)
        return iFim;
    if (vAlvos.empty())
        return cli_ErroUso("exportar: informe ao menos um arquivo ou pasta");

    std::vector<std::string> vArquivos;
    const bool bBuscasOk = cli_ExpandirAlvos(vAlvos, vArquivos);
    const std::vector<std::string> vBases = Bases(vArquivos, stSaida.szPasta);
    std::vector<std::optional<ST_ResultadoCli>> vResultados(vArquivos.size());
    std::mutex mutex;
    std::condition_variable pronto;
    std::atomic<std::size_t> proximo{0};
    auto Trabalhar = [&] {
        for (std::size_t i; (i = proximo++) < vArquivos.size();)
        {
            ST_ResultadoCli st = Exportar(vArquivos[i], vBases[i], iFormato);
            {
                std::lock_guard<std::mutex> trava(mutex);
                vResultados[i] = std::move(st);
            }
            pronto.notify_all();
        }
    };
    // Results go out in file order as each is known, the progress line redrawn in between.
    bool bOk = bBuscasOk;
    ST_ProgressoCli stProgresso;
    cli_IniciarProgresso(&stProgresso, stSaida, vArquivos);
    cli_DesenharProgresso(&stProgresso);
    {
        std::vector<std::jthread> vThreads;
        const int iThreads = std::clamp<int>(iTrabalhos, 1, static_cast<int>(std::max<std::size_t>(vArquivos.size(), 1)));
        for (int i = 0; i < iThreads; i++)
            vThreads.emplace_back(Trabalhar);
        for (std::size_t i = 0; i < vArquivos.size(); i++)
        {
            ST_ResultadoCli st;
            {
                std::unique_lock<std::mutex> trava(mutex);
                cli_AguardarComProgresso(&stProgresso, trava, pronto, [&] { return vResultados[i].has_value(); });
                st = std::move(*vResultados[i]);
            }
            cli_MostrarResultadoLote(&stProgresso, stSaida, st);
            bOk = bOk && st.bOk;
        }
        cli_ApagarProgresso(&stProgresso);
    }
    return bOk ? D_CLI_SAIDA_OK : D_CLI_SAIDA_FALHA;
}
