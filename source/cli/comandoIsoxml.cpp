// zavoro isoxml: navigation files as ISOXML TaskData zips, one per file or, with --juntar, one task per
// file in a single TaskData.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <set>

#include "cli/comandos.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/isoxml.h"

#if defined(ZAVORO_COM_ISOXML)
namespace
{
constexpr const char* kAjuda =
    "Uso: zavoro isoxml [OPÇÕES] ALVO...\n"
    "\n"
    "Grava o trabalho de cada arquivo de navegação como ISOXML TaskData (campo_ISOXML.zip):\n"
    "o talhão com seus limites e guias, a cultura e os produtos, o implemento com suas\n"
    "seções e a tarefa com o registro (time log) de todos os pontos do trajeto.\n"
    "\n"
    "Opções:\n"
    "  --juntar          uma tarefa por arquivo num só TaskData, com o nome do primeiro\n"
    "  --versao 3|4      versão do formato (padrão: 4, ou seja 4.3; a 3 não tem guias)\n";

// The plain lines: the zip, then each task's time log.
std::string Relato(const ST_ResultadoIsoxml& st)
{
    std::string szTexto = funcAux_EscaparControles(st.szSaida) + "\n";
    for (const ST_TarefaIsoxml& stTarefa : st.vTarefas)
        szTexto += "  " + funcAux_EscaparControles(stTarefa.szArquivo) + ": " + stTarefa.szTimeLog + ", " +
                   std::to_string(stTarefa.ulRegistros) + " registros de " + std::to_string(stTarefa.ulTamanhoRegistro) +
                   " bytes\n";
    return szTexto;
}
} // namespace
#endif

int cli_Isoxml(const std::vector<std::string>& vArgumentos)
{
#if !defined(ZAVORO_COM_ISOXML)
    (void)vArgumentos;
    std::fputs("zavoro: isoxml: este zavoro foi construído sem a biblioteca zip (minizip)\n", stderr);
    return D_CLI_SAIDA_FALHA;
#else
    std::string szVersao;
    int iJuntar = 0;
    ST_SaidaCli stSaida;
    const ST_OpcaoCli vOpcoes[] = {
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
    if (const int iFim = cli_LerArgumentos(vArgumentos, kAjuda, vOpcoes, &vAlvos, &stSaida); iFim != D_CLI_CONTINUAR)
        return iFim;
    if (vAlvos.empty())
        return cli_ErroUso("isoxml: informe ao menos um arquivo ou pasta");
    const std::string& szPasta = stSaida.szPasta;
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
            szPasta.empty() ? szNome : funcAux_NaPasta(szPasta, szNome);
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
    // A joined job is one result: the progress line counts files only when each is its own.
    ST_SaidaCli stSaidaProgresso = stSaida;
    stSaidaProgresso.bProgresso = stSaida.bProgresso && iJuntar == 0;
    ST_ProgressoCli stProgresso;
    cli_IniciarProgresso(&stProgresso, stSaidaProgresso, vArquivos);
    for (const std::vector<std::string>& vGrupo : vGrupos)
    {
        cli_DesenharProgresso(&stProgresso);
        ST_ResultadoIsoxml stIsoxml;
        ST_ResultadoCli st;
        st.szEntrada = vGrupo.front();
        st.bOk = isoxml_ExportarArquivos(vGrupo, Destino(vGrupo.front()), stOpcoes, &stIsoxml) != FALSE;
        if (st.bOk)
        {
            st.vSaidas.push_back(stIsoxml.szSaida);
            st.szTexto = Relato(stIsoxml);
        }
        else
            st.szMotivo = stIsoxml.szMotivo;
        cli_MostrarResultadoLote(&stProgresso, stSaida, st);
        bOk = bOk && st.bOk;
    }
    cli_ApagarProgresso(&stProgresso);
    return bOk ? D_CLI_SAIDA_OK : D_CLI_SAIDA_FALHA;
#endif
}
