// zavoro isoxml: navigation files as ISOXML TaskData zips, one per file or, with --juntar, one task per
// file in a single TaskData.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

#include "cli/comandos.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/isoxml.h"

namespace fs = std::filesystem;

namespace
{
void Relatar(const ST_ResultadoIsoxml& st)
{
    std::printf("%s\n", funcAux_EscaparControles(st.szSaida).c_str());
    for (const ST_TarefaIsoxml& stTarefa : st.vTarefas)
        std::printf("  %s: %s, %u registros de %u bytes\n",
                    funcAux_EscaparControles(stTarefa.szArquivo).c_str(), stTarefa.szTimeLog.c_str(),
                    stTarefa.ulRegistros, stTarefa.ulTamanhoRegistro);
}
} // namespace

int cli_Isoxml(const std::vector<std::string>& vArgumentos)
{
#if !defined(ZAVORO_COM_ISOXML)
    (void)vArgumentos;
    std::fputs("zavoro: isoxml: este zavoro foi construído sem a biblioteca zip (minizip)\n", stderr);
    return D_CLI_SAIDA_FALHA;
#else
    std::string szPasta, szVersao;
    int iJuntar = 0;
    const ST_OpcaoCli vOpcoes[] = {
        cli_OpcaoTexto("--saida", &szPasta),
        cli_OpcaoChave("--juntar", &iJuntar, 1),
        {"--versao", "a versão (3 ou 4)",
         [&](const std::string& szValor)
         {
             szVersao = szValor;
             return szValor == "3" || szValor == "4" ? std::string()
                                                     : "versão desconhecida (use 3 ou 4): " + szValor;
         }},
    };
    std::vector<std::string> vAlvos;
    if (!cli_LerArgumentos(vArgumentos, vOpcoes, &vAlvos))
        return D_CLI_SAIDA_USO;
    if (vAlvos.empty())
        return cli_ErroUso("isoxml: informe ao menos um arquivo ou pasta");
    std::error_code ec;
    if (!szPasta.empty() && !fs::is_directory(szPasta, ec))
    {
        std::fprintf(stderr, "zavoro: pasta de saída inexistente: %s\n",
                     funcAux_EscaparControles(szPasta).c_str());
        return D_CLI_SAIDA_FALHA;
    }
    ST_OpcoesIsoxml stOpcoes;
    stOpcoes.iVersao = szVersao == "3" ? 3 : 4;
    std::vector<std::string> vArquivos;
    bool bOk = cli_ExpandirAlvos(vAlvos, vArquivos);
    if (vArquivos.empty())
        return D_CLI_SAIDA_FALHA;

    // Outputs beside their inputs, or in --saida, where two inputs of one name are numbered (as the
    // file system may ignore case, so does the count); a joined job is named after its first file.
    std::set<std::string> setUsados;
    auto Destino = [&](const std::string& szArquivo)
    {
        const std::string szNome = isoxml_NomeSaida(szArquivo);
        const std::string szBase =
            szPasta.empty() ? szNome : (fs::path(szPasta) / fs::path(szNome).filename()).string();
        const std::string szSemSufixo = szBase.substr(0, szBase.size() - std::strlen(D_ISOXML_SUFIXO));
        std::string szDestino = szBase;
        for (int i = 2;; i++)
        {
            std::string szChave = szDestino;
            std::transform(szChave.begin(), szChave.end(), szChave.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (setUsados.insert(szChave).second)
                return szDestino;
            szDestino = szSemSufixo + "_" + std::to_string(i) + D_ISOXML_SUFIXO;
        }
    };
    std::vector<std::vector<std::string>> vGrupos;
    if (iJuntar != 0)
        vGrupos.push_back(vArquivos);
    else
        for (const std::string& szArquivo : vArquivos)
            vGrupos.push_back({szArquivo});
    for (const std::vector<std::string>& vGrupo : vGrupos)
    {
        ST_ResultadoIsoxml stResultado;
        if (isoxml_ExportarArquivos(vGrupo, Destino(vGrupo.front()), stOpcoes, &stResultado))
            Relatar(stResultado);
        else
        {
            std::fprintf(stderr, "zavoro: %s\n", funcAux_EscaparControles(stResultado.szMotivo).c_str());
            bOk = false;
        }
    }
    return bOk ? D_CLI_SAIDA_OK : D_CLI_SAIDA_FALHA;
#endif
}
