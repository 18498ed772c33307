// Output files written beside their target and renamed over it only when complete.
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "zavoro/funcoesAuxiliares.h"

namespace
{
constexpr std::size_t kTamanhoBuffer = 65536;

void Erro(std::string* pszErro, std::string szMotivo)
{
    if (pszErro != nullptr)
        *pszErro = std::move(szMotivo);
}
} // namespace

BOOL funcAux_AbrirArquivoSaida(const std::string& szDestino, ST_ArquivoSaida* pstSaida, std::string* pszErro)
{
    static std::atomic<unsigned> contador{0};
    *pstSaida = ST_ArquivoSaida{};
    std::filesystem::path destino(szDestino);
    const std::string szThread = std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id()) % 100000);
    for (int tentativa = 0; tentativa < 100; tentativa++)
    {
        std::filesystem::path temporario = destino.parent_path() /
                                           ("." + destino.filename().string() + "." + szThread + "." +
                                            std::to_string(contador++) + ".tmp");
        // "x": never reuse a file that is already there.
        std::FILE* pf = std::fopen(temporario.c_str(), "wbx");
        if (pf != nullptr)
        {
            std::setvbuf(pf, nullptr, _IOFBF, kTamanhoBuffer);
            pstSaida->pfArquivo = pf;
            pstSaida->szTemporario = temporario.string();
            pstSaida->szDestino = szDestino;
            return TRUE;
        }
        if (errno != EEXIST)
            break;
    }
    Erro(pszErro, "não foi possível criar o arquivo de saída ao lado de " + szDestino + " (" + std::strerror(errno) + ")");
    return FALSE;
}

BOOL funcAux_ConcluirArquivoSaida(ST_ArquivoSaida* pstSaida, std::string* pszErro)
{
    if (pstSaida->pfArquivo == nullptr)
    {
        Erro(pszErro, "arquivo de saída não aberto");
        return FALSE;
    }
    bool bOk = std::fflush(pstSaida->pfArquivo) == 0 && !std::ferror(pstSaida->pfArquivo);
    bOk = std::fclose(pstSaida->pfArquivo) == 0 && bOk;
    pstSaida->pfArquivo = nullptr;
    if (!bOk)
    {
        Erro(pszErro, "erro de gravação em " + pstSaida->szDestino);
        funcAux_DescartarArquivoSaida(pstSaida);
        return FALSE;
    }
    if (std::rename(pstSaida->szTemporario.c_str(), pstSaida->szDestino.c_str()) != 0)
    {
        Erro(pszErro, "não foi possível gravar " + pstSaida->szDestino + " (" + std::strerror(errno) + ")");
        funcAux_DescartarArquivoSaida(pstSaida);
        return FALSE;
    }
    pstSaida->szTemporario.clear();
    return TRUE;
}

void funcAux_DescartarArquivoSaida(ST_ArquivoSaida* pstSaida)
{
    if (pstSaida->pfArquivo != nullptr)
    {
        std::fclose(pstSaida->pfArquivo);
        pstSaida->pfArquivo = nullptr;
    }
    if (!pstSaida->szTemporario.empty())
    {
        std::remove(pstSaida->szTemporario.c_str());
        pstSaida->szTemporario.clear();
    }
}
