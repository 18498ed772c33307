// The one option parser of the command: every subcommand hands it a table of its options.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "cli/comandos.h"
#include "funcoesAuxiliares/sistema.h"
#include "zavoro/funcoesAuxiliares.h"

namespace
{
constexpr long kMaximoTrabalhos = 256;

constexpr const char* kAjudaSaida =
    "  --saida PASTA     grava as saídas em PASTA, com os mesmos nomes, em vez de ao lado\n"
    "                    de cada arquivo\n";
constexpr const char* kAjudaJson =
    "  --json            uma linha JSON por arquivo na saída padrão (entrada, status,\n"
    "                    saidas, motivo), para scripts\n"
    "  -q, --quiet       nada na saída padrão; os erros continuam na saída de erros\n";
constexpr const char* kAjudaFinal =
    "  -h, --help        mostra esta ajuda\n"
    "\n"
    "Saída: 0 tudo correu bem, 1 algum arquivo falhou, 2 linha de comando incorreta.\n";

void AcrescentarOpcoesSaida(ST_SaidaCli* pstSaida, std::vector<ST_OpcaoCli>* pvOpcoes)
{
    if (pstSaida->bGrava)
        pvOpcoes->push_back(cli_OpcaoTexto("--saida", &pstSaida->szPasta));
    pvOpcoes->push_back({"--json", nullptr, [pstSaida](const std::string&) {
                             pstSaida->bJson = true;
                             return std::string();
                         }});
    for (std::string_view szNome : {"-q", "--quiet"})
        pvOpcoes->push_back({szNome, nullptr, [pstSaida](const std::string&) {
                                 pstSaida->bSilencioso = true;
                                 return std::string();
                             }});
}

// The shared output options once the line is read: --json and -q do not mix, and the output folder
// must be one. Returns D_CLI_CONTINUAR or the exit status after the message.
int ConferirSaida(ST_SaidaCli* pstSaida)
{
    if (pstSaida->bJson && pstSaida->bSilencioso)
        return cli_ErroUso("use --json ou -q, não os dois");
    if (!pstSaida->szPasta.empty())
    {
        std::error_code ec;
        const auto stEstado = std::filesystem::status(funcAux_Caminho(pstSaida->szPasta), ec);
        const std::string szPasta = funcAux_EscaparControles(pstSaida->szPasta);
        if (stEstado.type() == std::filesystem::file_type::not_found)
        {
            std::fprintf(stderr, "zavoro: pasta de saída inexistente: %s\n", szPasta.c_str());
            return D_CLI_SAIDA_FALHA;
        }
        if (ec)
        {
            std::fprintf(stderr, "zavoro: pasta de saída inacessível: %s (%s)\n", szPasta.c_str(),
                         funcAux_DescreverErro(ec).c_str());
            return D_CLI_SAIDA_FALHA;
        }
        if (stEstado.type() != std::filesystem::file_type::directory)
        {
            std::fprintf(stderr, "zavoro: a saída não é uma pasta: %s\n", szPasta.c_str());
            return D_CLI_SAIDA_FALHA;
        }
    }
    pstSaida->bProgresso = !pstSaida->bJson && !pstSaida->bSilencioso && funcAux_SaidaErrosTerminal();
    return D_CLI_CONTINUAR;
}

// The option that szArg names. A value written into the argument ("--png=a.png", "-j4") goes to
// *pszValor.
const ST_OpcaoCli* AcharOpcao(std::string_view szArg, std::span<const ST_OpcaoCli> vOpcoes,
                              std::optional<std::string>* pszValor)
{
    for (const ST_OpcaoCli& stOpcao : vOpcoes)
    {
        if (szArg == stOpcao.szNome)
            return &stOpcao;
        if (stOpcao.pcValor == nullptr || !szArg.starts_with(stOpcao.szNome))
            continue;
        std::string_view szResto = szArg.substr(stOpcao.szNome.size());
        if (szResto.front() == '=')
            szResto.remove_prefix(1);
        else if (stOpcao.szNome.size() != 2)
            continue; // "--pngx" is not "--png"; only "-j" glues its value on
        *pszValor = std::string(szResto);
        return &stOpcao;
    }
    return nullptr;
}
} // namespace

ST_OpcaoCli cli_OpcaoTexto(std::string_view szNome, std::string* pszDestino)
{
    return {szNome, "um valor", [pszDestino](const std::string& szValor) {
                *pszDestino = szValor;
                return std::string();
            }};
}

ST_OpcaoCli cli_OpcaoChave(std::string_view szNome, int* piDestino, int iValor)
{
    return {szNome, nullptr, [piDestino, iValor](const std::string&) {
                *piDestino = iValor;
                return std::string();
            }};
}

int cli_TrabalhosPadrao()
{
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

ST_OpcaoCli cli_OpcaoTrabalhos(int* piTrabalhos)
{
    return {"-j", "um número", [piTrabalhos](const std::string& szValor) {
                char* pcFim = nullptr;
                const long lValor = std::strtol(szValor.c_str(), &pcFim, 10);
                if (*pcFim != '\0' || lValor < 1 || lValor > kMaximoTrabalhos)
                    return "número de conversões simultâneas inválido: " + szValor;
                *piTrabalhos = static_cast<int>(lValor);
                return std::string();
            }};
}

std::string cli_CaminhoNaPasta(const ST_SaidaCli& stSaida, const std::string& szCaminho)
{
    if (stSaida.szPasta.empty())
        return szCaminho;
    return funcAux_NaPasta(stSaida.szPasta, szCaminho);
}

int cli_LerArgumentos(const std::vector<std::string>& vArgumentos, std::string_view szAjuda,
                      std::span<const ST_OpcaoCli> vOpcoes, std::vector<std::string>* pvOperandos,
                      ST_SaidaCli* pstSaida)
{
    bool bAjuda = false;
    std::vector<ST_OpcaoCli> vTodas(vOpcoes.begin(), vOpcoes.end());
    for (std::string_view szNome : {"--help", "-h"})
        vTodas.push_back({szNome, nullptr, [&bAjuda](const std::string&) {
                              bAjuda = true;
                              return std::string();
                          }});
    if (pstSaida != nullptr)
        AcrescentarOpcoesSaida(pstSaida, &vTodas);

    for (std::size_t i = 0; i < vArgumentos.size() && !bAjuda; i++)
    {
        const std::string& szArg = vArgumentos[i];
        if (szArg == "--")
        {
            pvOperandos->insert(pvOperandos->end(), vArgumentos.begin() + static_cast<long>(i) + 1,
                                vArgumentos.end());
            break;
        }
        if (szArg.size() < 2 || szArg[0] != '-')
        {
            pvOperandos->push_back(szArg);
            continue;
        }

        std::optional<std::string> szValor;
        const ST_OpcaoCli* pstOpcao = AcharOpcao(szArg, vTodas, &szValor);
        if (pstOpcao == nullptr)
            return cli_ErroUso("opção desconhecida: " + szArg);
        if (pstOpcao->pcValor != nullptr)
        {
            if (!szValor.has_value() && i + 1 < vArgumentos.size())
                szValor = vArgumentos[++i];
            if (szValor.value_or("").empty())
                return cli_ErroUso("a opção " + std::string(pstOpcao->szNome) + " exige " + pstOpcao->pcValor);
        }
        const std::string szRecusa = pstOpcao->pfAplicar(szValor.value_or(""));
        if (!szRecusa.empty())
            return cli_ErroUso(szRecusa);
    }
    // Help wins over everything else on the line, errors in the options after it included.
    if (bAjuda)
    {
        std::fwrite(szAjuda.data(), 1, szAjuda.size(), stdout);
        if (pstSaida != nullptr)
            std::fprintf(stdout, "%s%s", pstSaida->bGrava ? kAjudaSaida : "", kAjudaJson);
        std::fputs(kAjudaFinal, stdout);
        return D_CLI_SAIDA_OK;
    }
    return pstSaida != nullptr ? ConferirSaida(pstSaida) : D_CLI_CONTINUAR;
}
