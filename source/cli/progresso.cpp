// The progress line of a batch on a terminal: which file, how much is done and how long is left. The
// share is counted in bytes of the files finished, so one large file among small ones weighs what it
// costs.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "cli/comandos.h"
#include "zavoro/funcoesAuxiliares.h"

namespace
{
constexpr std::size_t kColunasPadrao = 80;
// How often the line is redrawn while a file is in work (the clock moves on).
constexpr std::chrono::milliseconds kIntervalo{500};

std::string TextoDuracao(long long lSegundos)
{
    if (lSegundos < 60)
        return std::to_string(lSegundos) + " s";
    if (lSegundos < 3600)
        return std::to_string(lSegundos / 60) + " min " + std::to_string(lSegundos % 60) + " s";
    return std::to_string(lSegundos / 3600) + " h " + std::to_string(lSegundos % 3600 / 60) + " min";
}

// Characters of a UTF-8 text (continuation bytes not counted).
std::size_t Caracteres(const std::string& sz)
{
    std::size_t n = 0;
    for (const char c : sz)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// The terminal's width as the shell exports it; the usual 80 otherwise.
std::size_t Colunas()
{
    const char* pc = std::getenv("COLUMNS");
    const long l = pc != nullptr ? std::strtol(pc, nullptr, 10) : 0;
    return l >= 20 && l <= 1000 ? static_cast<std::size_t>(l) : kColunasPadrao;
}
} // namespace

void cli_IniciarProgresso(ST_ProgressoCli* pst, const ST_SaidaCli& stSaida, const std::vector<std::string>& vArquivos)
{
    *pst = ST_ProgressoCli{};
    pst->bAtivo = stSaida.bProgresso && !vArquivos.empty();
    pst->inicio = std::chrono::steady_clock::now();
    for (const std::string& sz : vArquivos)
    {
        std::error_code ec;
        const std::uintmax_t ul = std::filesystem::file_size(funcAux_Caminho(sz), ec);
        pst->vTamanhos.push_back(ec ? 0 : ul);
        pst->vNomes.push_back(funcAux_EscaparControles(funcAux_NomeArquivo(sz)));
        pst->ulTotal += pst->vTamanhos.back();
    }
}

void cli_AguardarComProgresso(ST_ProgressoCli* pst, std::unique_lock<std::mutex>& trava,
                              std::condition_variable& pronto, const std::function<bool()>& fnPronto)
{
    while (!pronto.wait_for(trava, kIntervalo, fnPronto))
        cli_DesenharProgresso(pst);
}

void cli_MostrarResultadoLote(ST_ProgressoCli* pst, const ST_SaidaCli& stSaida, const ST_ResultadoCli& stResultado)
{
    cli_ApagarProgresso(pst);
    cli_MostrarResultado(stSaida, stResultado);
    if (pst->iConcluidos < pst->vTamanhos.size())
        pst->ulFeito += pst->vTamanhos[pst->iConcluidos++];
    pst->decorridoUltimoConcluido = std::chrono::steady_clock::now() - pst->inicio;
    if (pst->iConcluidos < pst->vTamanhos.size())
        cli_DesenharProgresso(pst);
}

std::string cli_LinhaProgresso(const ST_ProgressoCli& st, std::chrono::steady_clock::duration decorrido,
                               std::size_t iColunas)
{
    const std::size_t iTotal = st.vNomes.size();
    // Files of zero bytes (or unreadable sizes) still move the share on by their count.
    const double dFracao = st.ulTotal > 0 ? static_cast<double>(st.ulFeito) / static_cast<double>(st.ulTotal)
                                          : static_cast<double>(st.iConcluidos) / static_cast<double>(iTotal);
    const int iPorcento = static_cast<int>(dFracao * 100.0);
    std::string szLinha = "[" + std::to_string(std::min(st.iConcluidos + 1, iTotal)) + "/" +
                          std::to_string(iTotal) + "] " + std::to_string(iPorcento) + "% ";
    std::string szFim;
    const double dSegundos = std::chrono::duration<double>(decorrido).count();
    // The pace up to the last file finished, less the time spent since on the next one; at least a
    // second while work remains.
    const double dUltimo = std::chrono::duration<double>(st.decorridoUltimoConcluido).count();
    if (dFracao > 0.0 && dFracao < 1.0)
        szFim = " - faltam cerca de " +
                TextoDuracao(std::max(1LL, static_cast<long long>(dUltimo * (1.0 - dFracao) / dFracao -
                                                                  (dSegundos - dUltimo) + 0.5)));
    else if (dFracao <= 0.0)
        szFim = " - calculando o tempo restante";

    // The file name gives way first: the line must stay on one terminal row to be rewritten.
    std::string szNome = st.vNomes[std::min(st.iConcluidos, iTotal - 1)];
    const std::size_t iFixo = Caracteres(szLinha) + Caracteres(szFim);
    const std::size_t iLivre = iColunas > iFixo + 1 ? iColunas - iFixo - 1 : 0;
    if (Caracteres(szNome) > iLivre)
    {
        std::string szCurto;
        std::size_t n = 0;
        for (const char c : szNome)
        {
            const bool bInicio = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            if (bInicio && ++n > (iLivre > 3 ? iLivre - 3 : 0))
                break;
            szCurto += c;
        }
        szNome = iLivre > 3 ? szCurto + "..." : std::string();
    }
    return szLinha + szNome + szFim;
}

void cli_DesenharProgresso(ST_ProgressoCli* pst)
{
    if (!pst->bAtivo)
        return;
    const std::string szLinha =
        cli_LinhaProgresso(*pst, std::chrono::steady_clock::now() - pst->inicio, Colunas());
    const std::size_t iLargura = Caracteres(szLinha);
    // Spaces cover what a longer earlier line left on the row.
    const std::size_t iSobra = pst->iLarguraDesenhada > iLargura ? pst->iLarguraDesenhada - iLargura : 0;
    std::fprintf(stderr, "\r%s%s", szLinha.c_str(), std::string(iSobra, ' ').c_str());
    std::fflush(stderr);
    pst->iLarguraDesenhada = iLargura;
}

void cli_ApagarProgresso(ST_ProgressoCli* pst)
{
    if (!pst->bAtivo || pst->iLarguraDesenhada == 0)
        return;
    std::fprintf(stderr, "\r%s\r", std::string(pst->iLarguraDesenhada, ' ').c_str());
    std::fflush(stderr);
    pst->iLarguraDesenhada = 0;
}
