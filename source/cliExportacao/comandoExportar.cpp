// zavoro exportar: the as-applied data of navigation files as GIS datasets (through GDAL).
#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>
#include <thread>

#include "cli/comandos.h"
#include "zavoro/conversor.h"
#include "zavoro/exportacao.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

namespace fs = std::filesystem;

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
            szBase = (fs::path(szPasta) / fs::path(szBase).filename()).string();
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

struct ST_ResultadoCli
{
    bool bOk = false;
    std::string szTexto;
};

ST_ResultadoCli Exportar(const std::string& szArquivo, const std::string& szBase, int iFormato)
{
    ST_ResultadoCli st;
    const std::string szNome = funcAux_EscaparControles(szArquivo);
    ST_DiagnosticoValidacao stDiagnostico;
    if (!zavoro_DiagnosticarArquivoNavegacao(szArquivo.c_str(), &stDiagnostico))
    {
        st.szTexto = szNome + ": arquivo inválido: " + zavoro_DescreverDiagnostico(stDiagnostico) + "\n";
        return st;
    }
    std::string szErro;
    st.bOk = exportacao_ExportarArquivo(szArquivo.c_str(), szBase, iFormato, &szErro) != FALSE;
    if (!st.bOk)
    {
        st.szTexto = szNome + ": erro: " + funcAux_EscaparControles(szErro) + "\n";
        return st;
    }
    st.szTexto = szNome + ": exportado\n";
    for (const std::string& szSaida : exportacao_NomesSaida(szBase, iFormato))
        st.szTexto += "  " + funcAux_EscaparControles(szSaida) + "\n";
    return st;
}
} // namespace

int cli_Exportar(const std::vector<std::string>& vArgumentos)
{
    int iFormato = D_EXPORTACAO_FORMATO_GPKG;
    std::string szPasta;
    int iTrabalhos = cli_TrabalhosPadrao();
    const ST_OpcaoCli vOpcoes[] = {
        {"--formato", "um formato (gpkg, geojson, csv, kmz, fgb)",
         [&](const std::string& szValor) {
             return exportacao_FormatoPorNome(szValor, &iFormato)
                        ? std::string()
                        : "formato desconhecido (use gpkg, geojson, csv, kmz ou fgb): " + szValor;
         }},
        cli_OpcaoTexto("--saida", &szPasta),
        cli_OpcaoTrabalhos(&iTrabalhos),
    };
    std::vector<std::string> vAlvos;
    if (!cli_LerArgumentos(vArgumentos, vOpcoes, &vAlvos))
        return D_CLI_SAIDA_USO;
    if (vAlvos.empty())
        return cli_ErroUso("exportar: informe ao menos um arquivo ou pasta");
    std::error_code ec;
    if (!szPasta.empty() && !fs::is_directory(szPasta, ec))
    {
        std::fprintf(stderr, "zavoro: pasta de saída inexistente: %s\n", funcAux_EscaparControles(szPasta).c_str());
        return D_CLI_SAIDA_FALHA;
    }

    std::vector<std::string> vArquivos;
    const bool bBuscasOk = cli_ExpandirAlvos(vAlvos, vArquivos);
    const std::vector<std::string> vBases = Bases(vArquivos, szPasta);
    std::vector<ST_ResultadoCli> vResultados(vArquivos.size());
    std::atomic<std::size_t> proximo{0};
    auto Trabalhar = [&] {
        for (std::size_t i; (i = proximo++) < vArquivos.size();)
            vResultados[i] = Exportar(vArquivos[i], vBases[i], iFormato);
    };
    {
        std::vector<std::jthread> vThreads;
        const int iThreads = std::clamp<int>(iTrabalhos, 1, static_cast<int>(std::max<std::size_t>(vArquivos.size(), 1)));
        for (int i = 1; i < iThreads; i++)
            vThreads.emplace_back(Trabalhar);
        Trabalhar();
    }
    bool bOk = bBuscasOk;
    for (const ST_ResultadoCli& st : vResultados)
    {
        std::fputs(st.szTexto.c_str(), st.bOk ? stdout : stderr);
        bOk = bOk && st.bOk;
    }
    return bOk ? D_CLI_SAIDA_OK : D_CLI_SAIDA_FALHA;
}
