// Output files: written under a short temporary name beside their target and renamed over it only when
// complete. The files of one set (a map's KML with its shapefile set) are published as one unit: the
// old files are kept as backups and a journal lists the renames before the first one happens, so a
// failed rename puts the old set back, and a publication cut short by a killed process is finished by
// the next run that writes into the same folder.
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <vector>

#include "funcoesAuxiliares/sistema.h"
#include "zavoro/funcoesAuxiliares.h"

namespace fs = std::filesystem;

namespace
{
constexpr std::string_view kPrefixo = ".zvr";
constexpr std::string_view kTemporario = ".tmp";
constexpr std::string_view kCopia = ".bak";
constexpr std::string_view kDiario = ".pub";
constexpr std::size_t kDigitosId = 8;
constexpr std::size_t kDigitosContador = 6;
constexpr std::size_t kTamanhoNome = kPrefixo.size() + kDigitosId + kDigitosContador + kTemporario.size();
constexpr std::string_view kCabecalhoDiario = "ZVR-PUBLICACAO 1\n";
constexpr std::string_view kFimDiario = "FIM";

// Files of this process's own name pattern that are older than it and whose owner has ended are
// leftovers of an interrupted run.
const fs::file_time_type kInicioProcesso = fs::file_time_type::clock::now();
#if defined(_WIN32)
// MinGW's C runtime gives file times in whole seconds: a file of the process's first second may be newer.
constexpr std::chrono::seconds kResolucaoHora{1};
#else
constexpr std::chrono::seconds kResolucaoHora{0};
#endif

struct ST_EstadoSaidas
{
    // Held while a temporary is registered or dropped and during a whole publication, so that a
    // process ending on a signal never cuts a publication short.
    std::mutex mutex;
    std::set<std::string> temporarios;
    std::set<std::string> pastasVerificadas;
    std::atomic<std::uint32_t> contador{0};
};

ST_EstadoSaidas& Estado()
{
    static ST_EstadoSaidas estado;
    return estado;
}

void Erro(std::string* pszErro, std::string szMotivo)
{
    if (pszErro != nullptr)
        *pszErro = std::move(szMotivo);
}

std::string Hex(std::uint32_t ul, std::size_t digitos)
{
    static constexpr char kDigitos[] = "0123456789abcdef";
    std::string sz(digitos, '0');
    for (std::size_t i = digitos; i-- > 0; ul >>= 4)
        sz[i] = kDigitos[ul & 0xF];
    return sz;
}

std::string NovoNome(std::string_view szSufixo)
{
    const std::uint32_t ulContador = Estado().contador++ & 0xFFFFFF;
    return std::string(kPrefixo) + Hex(funcAux_IdProcesso(), kDigitosId) + Hex(ulContador, kDigitosContador) +
           std::string(szSufixo);
}

// The owner's process id when szNome follows the pattern with one of the three suffixes.
bool NomeDoSistema(const std::string& szNome, std::uint32_t* pulId, std::string_view* pszSufixo)
{
    if (szNome.size() != kTamanhoNome || szNome.compare(0, kPrefixo.size(), kPrefixo) != 0)
        return false;
    const std::string_view szFim = std::string_view(szNome).substr(kTamanhoNome - kTemporario.size());
    if (szFim != kTemporario && szFim != kCopia && szFim != kDiario)
        return false;
    std::uint32_t ulId = 0;
    for (std::size_t i = kPrefixo.size(); i < kTamanhoNome - szFim.size(); i++)
    {
        const char c = szNome[i];
        const int iDigito = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (iDigito < 0)
            return false;
        if (i < kPrefixo.size() + kDigitosId)
            ulId = ulId << 4 | static_cast<std::uint32_t>(iDigito);
    }
    *pulId = ulId;
    // The constant itself, not a view into szNome, which the caller may not keep.
    *pszSufixo = szFim == kTemporario ? kTemporario : szFim == kCopia ? kCopia : kDiario;
    return true;
}

bool Remover(const fs::path& caminho)
{
    std::error_code ec;
    return fs::remove(caminho, ec);
}

// A temporary of this system, also one that a writer working by name made into a folder of its files.
bool RemoverTemporario(const fs::path& caminho)
{
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(caminho, ec)))
        return fs::remove_all(caminho, ec) > 0 && !ec;
    return Remover(caminho);
}

struct ST_Troca
{
    std::string szTemporario; // names inside the set's folder
    std::string szDestino;
    std::string szCopia; // empty when the target did not exist
};

// The journal's entries; bCompleto when it was wholly written (the renames may have begun).
std::vector<ST_Troca> LerDiario(const fs::path& caminho, bool* pbCompleto)
{
    *pbCompleto = false;
    std::vector<ST_Troca> vTrocas;
    std::FILE* pf = funcAux_AbrirArquivo(caminho, "rb");
    if (pf == nullptr)
        return vTrocas;
    std::string szConteudo;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pf)) > 0 && szConteudo.size() < (1u << 20);)
        szConteudo.append(buffer, n);
    std::fclose(pf);
    if (szConteudo.compare(0, kCabecalhoDiario.size(), kCabecalhoDiario) != 0)
        return vTrocas;
    std::size_t pos = kCabecalhoDiario.size();
    auto Proximo = [&](std::string* psz) {
        const std::size_t fim = szConteudo.find('\0', pos);
        if (fim == std::string::npos)
            return false;
        *psz = szConteudo.substr(pos, fim - pos);
        pos = fim + 1;
        return true;
    };
    for (;;)
    {
        if (std::string_view(szConteudo).substr(pos) == kFimDiario)
        {
            *pbCompleto = true;
            return vTrocas;
        }
        ST_Troca st;
        if (!Proximo(&st.szTemporario) || !Proximo(&st.szDestino) || !Proximo(&st.szCopia))
            return vTrocas;
        // Only names inside the folder, and only this system's own temporaries and backups are moved.
        std::uint32_t ulId = 0;
        std::string_view szSufixo;
        if (!NomeDoSistema(st.szTemporario, &ulId, &szSufixo) || szSufixo != kTemporario ||
            (!st.szCopia.empty() && (!NomeDoSistema(st.szCopia, &ulId, &szSufixo) || szSufixo != kCopia)) ||
            st.szDestino.empty() || st.szDestino == "." || st.szDestino == ".." ||
            st.szDestino.find_first_of("/\\") != std::string::npos)
            return vTrocas;
        vTrocas.push_back(std::move(st));
    }
}

// Finishes (complete journal) or drops (incomplete one) a publication whose process has ended.
void ConcluirDiario(const fs::path& pasta, const fs::path& caminho)
{
    bool bCompleto = false;
    const std::vector<ST_Troca> vTrocas = LerDiario(caminho, &bCompleto);
    for (const ST_Troca& st : vTrocas)
    {
        std::error_code ec;
        if (bCompleto && fs::exists(pasta / funcAux_Caminho(st.szTemporario), ec))
            fs::rename(pasta / funcAux_Caminho(st.szTemporario), pasta / funcAux_Caminho(st.szDestino), ec);
        Remover(pasta / funcAux_Caminho(st.szTemporario));
    }
    Remover(caminho);
    for (const ST_Troca& st : vTrocas)
        if (!st.szCopia.empty())
            Remover(pasta / funcAux_Caminho(st.szCopia));
}

// Once per folder and process: leftovers of ended runs of this system (journals first, then
// temporaries and backups).
void VerificarPasta(const fs::path& pasta)
{
    ST_EstadoSaidas& estado = Estado();
    if (!estado.pastasVerificadas.insert(funcAux_TextoCaminho(pasta)).second)
        return;
    std::error_code ec;
    std::vector<fs::path> vDiarios, vRestos;
    for (fs::directory_iterator it(pasta.empty() ? fs::path(".") : pasta, ec), fim; !ec && it != fim; it.increment(ec))
    {
        std::uint32_t ulId = 0;
        std::string_view szSufixo;
        const std::string szNome = funcAux_TextoCaminho(it->path().filename());
        if (!NomeDoSistema(szNome, &ulId, &szSufixo))
            continue;
        std::error_code ecHora;
        const fs::file_time_type hora = fs::last_write_time(it->path(), ecHora);
        if (ecHora || hora + kResolucaoHora >= kInicioProcesso || ulId == funcAux_IdProcesso() || funcAux_ProcessoAtivo(ulId) ||
            !(it->is_regular_file(ecHora) || (szSufixo == kTemporario && it->is_directory(ecHora))))
            continue;
        (szSufixo == kDiario ? vDiarios : vRestos).push_back(it->path());
    }
    for (const fs::path& caminho : vDiarios)
        ConcluirDiario(pasta, caminho);
    for (const fs::path& caminho : vRestos)
        RemoverTemporario(caminho);
}

// Closes the stream; false (with the system's reason) when anything written did not reach the file.
bool Fechar(ST_ArquivoSaida* pstSaida, std::string* pszErro)
{
    if (pstSaida->pfArquivo == nullptr && pstSaida->bGravadoPorOutro)
        return true;
    if (pstSaida->pfArquivo == nullptr)
    {
        Erro(pszErro, "arquivo de saída não aberto: " + pstSaida->szDestino);
        return false;
    }
    errno = 0;
    bool bOk = std::fflush(pstSaida->pfArquivo) == 0 && !std::ferror(pstSaida->pfArquivo);
    int iErro = errno;
    if (std::fclose(pstSaida->pfArquivo) != 0 && bOk)
    {
        bOk = false;
        iErro = errno;
    }
    pstSaida->pfArquivo = nullptr;
    pstSaida->pBuffer.reset();
    if (!bOk)
        Erro(pszErro, "erro de gravação de " + pstSaida->szDestino +
                          (iErro != 0 ? " (" + funcAux_DescreverErro(iErro) + ")" : std::string()));
    return bOk;
}

// Without the lock: the caller holds it.
void Descartar(ST_ArquivoSaida* pstSaida)
{
    if (pstSaida->pfArquivo != nullptr)
    {
        std::fclose(pstSaida->pfArquivo);
        pstSaida->pfArquivo = nullptr;
    }
    pstSaida->pBuffer.reset();
    if (!pstSaida->szTemporario.empty())
    {
        RemoverTemporario(funcAux_Caminho(pstSaida->szTemporario));
        Estado().temporarios.erase(pstSaida->szTemporario);
        pstSaida->szTemporario.clear();
    }
}

bool Renomear(const fs::path& de, const fs::path& para, std::string* pszErro)
{
    std::error_code ec;
    fs::rename(de, para, ec);
    if (ec)
        Erro(pszErro, "não foi possível gravar " + funcAux_TextoCaminho(para) + " (" + funcAux_DescreverErro(ec) + ")");
    return !ec;
}

// Keeps the file at szDestino under a backup name (a second link, or a copy where the file system
// has no links). Empty when there is nothing to keep.
bool GuardarAnterior(const fs::path& pasta, const std::string& szDestino, std::string* pszCopia, std::string* pszErro)
{
    pszCopia->clear();
    std::error_code ec;
    const fs::path destino = pasta / funcAux_Caminho(szDestino);
    const fs::file_status status = fs::symlink_status(destino, ec);
    if (!fs::exists(status) || fs::is_directory(status))
        return true; // a folder in the way makes its rename fail, and the set is rolled back then
    const std::string szCopia = NovoNome(kCopia);
    fs::create_hard_link(destino, pasta / funcAux_Caminho(szCopia), ec);
    if (ec)
    {
        ec.clear();
        fs::copy_file(destino, pasta / funcAux_Caminho(szCopia), ec);
    }
    if (ec)
    {
        Remover(pasta / funcAux_Caminho(szCopia));
        Erro(pszErro, "não foi possível preservar " + funcAux_TextoCaminho(destino) + " (" + funcAux_DescreverErro(ec) + ")");
        return false;
    }
    *pszCopia = szCopia;
    return true;
}

bool GravarDiario(const fs::path& caminho, const std::vector<ST_Troca>& vTrocas, std::string* pszErro)
{
    std::string szConteudo(kCabecalhoDiario);
    for (const ST_Troca& st : vTrocas)
        for (const std::string* psz : {&st.szTemporario, &st.szDestino, &st.szCopia})
            szConteudo.append(*psz).push_back('\0');
    szConteudo += kFimDiario;
    std::FILE* pf = funcAux_AbrirArquivo(caminho, "wbx");
    bool bOk = pf != nullptr && std::fwrite(szConteudo.data(), 1, szConteudo.size(), pf) == szConteudo.size();
    const int iErro = errno;
    if (pf != nullptr)
        bOk = std::fclose(pf) == 0 && bOk;
    if (!bOk)
    {
        Remover(caminho);
        Erro(pszErro, "não foi possível gravar o diário de publicação em " + funcAux_TextoCaminho(caminho.parent_path()) + " (" +
                          funcAux_DescreverErro(iErro) + ")");
    }
    return bOk;
}

bool PublicarConjunto(std::span<ST_ArquivoSaida* const> vSaidas, std::string* pszErro)
{
    const fs::path pasta = funcAux_Caminho(vSaidas.front()->szDestino).parent_path();
    std::vector<ST_Troca> vTrocas;
    for (ST_ArquivoSaida* pst : vSaidas)
    {
        const fs::path destino = funcAux_Caminho(pst->szDestino);
        if (destino.parent_path() != pasta)
        {
            Erro(pszErro, "arquivos de um conjunto em pastas diferentes: " + pst->szDestino);
            return false;
        }
        vTrocas.push_back({funcAux_TextoCaminho(funcAux_Caminho(pst->szTemporario).filename()),
                           funcAux_TextoCaminho(destino.filename()), {}});
    }
    auto RemoverCopias = [&] {
        for (const ST_Troca& st : vTrocas)
            if (!st.szCopia.empty())
                Remover(pasta / funcAux_Caminho(st.szCopia));
    };
    for (ST_Troca& st : vTrocas)
        if (!GuardarAnterior(pasta, st.szDestino, &st.szCopia, pszErro))
        {
            RemoverCopias();
            return false;
        }
    const fs::path diario = pasta / NovoNome(kDiario);
    if (!GravarDiario(diario, vTrocas, pszErro))
    {
        RemoverCopias();
        return false;
    }
    for (std::size_t i = 0; i < vTrocas.size(); i++)
    {
        if (Renomear(pasta / funcAux_Caminho(vTrocas[i].szTemporario), pasta / funcAux_Caminho(vTrocas[i].szDestino), pszErro))
            continue;
        // The set as it was: the targets renamed so far get their old file back, or go.
        for (std::size_t j = 0; j < i; j++)
        {
            std::error_code ec;
            if (vTrocas[j].szCopia.empty())
                Remover(pasta / funcAux_Caminho(vTrocas[j].szDestino));
            else
                fs::rename(pasta / funcAux_Caminho(vTrocas[j].szCopia), pasta / funcAux_Caminho(vTrocas[j].szDestino), ec);
            if (ec)
            {
                // The earlier file stays under its backup name rather than being lost.
                if (pszErro != nullptr)
                    *pszErro += "; o arquivo anterior ficou em " + funcAux_TextoCaminho(pasta / funcAux_Caminho(vTrocas[j].szCopia));
                vTrocas[j].szCopia.clear();
            }
        }
        Remover(diario);
        RemoverCopias();
        return false;
    }
    Remover(diario);
    RemoverCopias();
    return true;
}
} // namespace

BOOL funcAux_AbrirArquivoSaida(const std::string& szDestino, ST_ArquivoSaida* pstSaida, std::string* pszErro)
{
    *pstSaida = ST_ArquivoSaida{};
#if defined(_WIN32)
    const std::string szNomeProibido = funcAux_MotivoNomeProibidoWindows(szDestino);
    if (!szNomeProibido.empty())
    {
        Erro(pszErro, "não foi possível gravar " + szDestino + " (" + szNomeProibido + ")");
        return FALSE;
    }
#endif
    const fs::path destino = funcAux_Caminho(szDestino);
    // Renaming over a device, FIFO or socket would replace it with a plain file (as root, even
    // /dev/null): such a target is refused before anything is written.
    std::error_code ecTipo;
    const fs::file_status status = fs::symlink_status(destino, ecTipo);
    if (!ecTipo && fs::exists(status) && !fs::is_regular_file(status) && !fs::is_symlink(status) &&
        !fs::is_directory(status))
    {
        Erro(pszErro, "não foi possível gravar " + szDestino + " (não é um arquivo comum)");
        return FALSE;
    }
    ST_EstadoSaidas& estado = Estado();
    std::lock_guard<std::mutex> trava(estado.mutex);
    VerificarPasta(destino.parent_path());
    int iErro = 0;
    for (int tentativa = 0; tentativa < 100; tentativa++)
    {
        const std::string szTemporario = funcAux_TextoCaminho(destino.parent_path() / NovoNome(kTemporario));
        // "x": never reuse a file that is already there.
        std::FILE* pf = funcAux_AbrirArquivo(funcAux_Caminho(szTemporario), "wbx");
        if (pf != nullptr)
        {
            pstSaida->pBuffer = std::make_unique_for_overwrite<char[]>(D_FUNCAUX_TAMANHO_BUFFER_SAIDA);
            std::setvbuf(pf, pstSaida->pBuffer.get(), _IOFBF, D_FUNCAUX_TAMANHO_BUFFER_SAIDA);
            pstSaida->pfArquivo = pf;
            pstSaida->szTemporario = szTemporario;
            pstSaida->szDestino = szDestino;
            estado.temporarios.insert(szTemporario);
            return TRUE;
        }
        iErro = errno;
        if (iErro != EEXIST)
            break;
    }
    Erro(pszErro, "não foi possível criar o arquivo de saída ao lado de " + szDestino + " (" + funcAux_DescreverErro(iErro) + ")");
    return FALSE;
}

BOOL funcAux_PublicarArquivosSaida(std::span<ST_ArquivoSaida* const> vSaidas, std::string* pszErro)
{
    if (vSaidas.empty())
        return TRUE;
    std::lock_guard<std::mutex> trava(Estado().mutex);
    bool bOk = true;
    for (ST_ArquivoSaida* pst : vSaidas)
        if (!Fechar(pst, bOk ? pszErro : nullptr))
            bOk = false;
    if (bOk && vSaidas.size() == 1)
        bOk = Renomear(funcAux_Caminho(vSaidas.front()->szTemporario), funcAux_Caminho(vSaidas.front()->szDestino),
                       pszErro);
    else if (bOk)
        bOk = PublicarConjunto(vSaidas, pszErro);
    for (ST_ArquivoSaida* pst : vSaidas)
    {
        // Renamed temporaries are gone; what is left of a failed set is removed.
        if (bOk)
        {
            Estado().temporarios.erase(pst->szTemporario);
            pst->szTemporario.clear();
        }
        else
            Descartar(pst);
    }
    return bOk ? TRUE : FALSE;
}

BOOL funcAux_LiberarArquivoSaida(ST_ArquivoSaida* pstSaida, std::string* pszErro)
{
    std::lock_guard<std::mutex> trava(Estado().mutex);
    if (!Fechar(pstSaida, pszErro))
        return FALSE;
    pstSaida->bGravadoPorOutro = true;
    return TRUE;
}

BOOL funcAux_ConcluirArquivoSaida(ST_ArquivoSaida* pstSaida, std::string* pszErro)
{
    ST_ArquivoSaida* const vSaidas[] = {pstSaida};
    return funcAux_PublicarArquivosSaida(vSaidas, pszErro);
}

void funcAux_DescartarArquivoSaida(ST_ArquivoSaida* pstSaida)
{
    std::lock_guard<std::mutex> trava(Estado().mutex);
    Descartar(pstSaida);
}

void funcAux_EncerrarSaidas()
{
    ST_EstadoSaidas& estado = Estado();
    // Never released: the process ends right after, and no output may start or be published meanwhile.
    estado.mutex.lock();
    for (const std::string& szTemporario : estado.temporarios)
        RemoverTemporario(funcAux_Caminho(szTemporario));
    estado.temporarios.clear();
}
