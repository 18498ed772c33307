// The one option parser of the command: every subcommand hands it a table of its options.
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <thread>

#include "cli/comandos.h"

namespace
{
constexpr long kMaximoTrabalhos = 256;

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

bool cli_LerArgumentos(const std::vector<std::string>& vArgumentos, std::span<const ST_OpcaoCli> vOpcoes,
                       std::vector<std::string>* pvOperandos)
{
    for (std::size_t i = 0; i < vArgumentos.size(); i++)
    {
        const std::string& szArg = vArgumentos[i];
        if (szArg == "--")
        {
            pvOperandos->insert(pvOperandos->end(), vArgumentos.begin() + static_cast<long>(i) + 1,
                                vArgumentos.end());
            return true;
        }
        if (szArg.size() < 2 || szArg[0] != '-')
        {
            pvOperandos->push_back(szArg);
            continue;
        }

        std::optional<std::string> szValor;
        const ST_OpcaoCli* pstOpcao = AcharOpcao(szArg, vOpcoes, &szValor);
        if (pstOpcao == nullptr)
        {
            cli_ErroUso("opção desconhecida: " + szArg);
            return false;
        }
        if (pstOpcao->pcValor != nullptr)
        {
            if (!szValor.has_value() && i + 1 < vArgumentos.size())
                szValor = vArgumentos[++i];
            if (szValor.value_or("").empty())
            {
                cli_ErroUso("a opção " + std::string(pstOpcao->szNome) + " exige " + pstOpcao->pcValor);
                return false;
            }
        }
        const std::string szRecusa = pstOpcao->pfAplicar(szValor.value_or(""));
        if (!szRecusa.empty())
        {
            cli_ErroUso(szRecusa);
            return false;
        }
    }
    return true;
}
