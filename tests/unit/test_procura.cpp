// Search for navigation files beneath a folder, the search worker and the open dialog's display text.
#include "zavoro/arquivo.h"
#include "zavoro/conversor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/DiretorioTemporario.h"

namespace fs = std::filesystem;
using zavoro_teste::DiretorioTemporario;

namespace
{

constexpr int kOk = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK;
constexpr int kPathLongo = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_PATH_LONGO;
constexpr int kIndefinido = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_INDEFINIDO;
constexpr std::size_t kMaximoPath = D_ARQUIVO_TAMANHO_MAXIMO_PATH - 1;
constexpr std::size_t kBuffer = D_ARQUIVO_TAMANHO_BUFFER_LISTA_ARQUIVOS;
const std::string kSep(1, D_ARQUIVO_SEPARADOR);

struct ResultadoProcura
{
    int iCodigo = 0;
    int iNumArquivos = 0;
    ST_EstadoProcura stEstado;
    std::vector<std::string> vPaths; // as stored, in the order stored
    std::vector<char> vBuffer = std::vector<char>(kBuffer, 0);

    std::set<std::string> conjunto() const { return {vPaths.begin(), vPaths.end()}; }
    bool bufferLimpo() const { return std::all_of(vBuffer.begin(), vBuffer.end(), [](char c) { return c == '\0'; }); }
};

// Runs one search and reads the list back as the conversion will: iNumArquivos strings in a row.
ResultadoProcura Procurar(const std::string& szRaiz, ST_EstadoProcura stEstado = {})
{
    ResultadoProcura r;
    r.stEstado = stEstado;
    r.iCodigo = arquivo_ProcurarArquivosNavegacaoDiretorio(szRaiz.c_str(), r.vBuffer.data(), &r.iNumArquivos, &r.stEstado);
    std::size_t pos = static_cast<std::size_t>(stEstado.iIndBufferProcuraArquivosDir);
    for (int i = 0; i < r.iNumArquivos && pos < kBuffer; i++)
    {
        r.vPaths.emplace_back(r.vBuffer.data() + pos, strnlen(r.vBuffer.data() + pos, kBuffer - pos));
        pos += r.vPaths.back().size() + 1;
    }
    // The index stops right after the last path, and the list is closed by a second zero.
    EXPECT_EQ(pos, static_cast<std::size_t>(r.stEstado.iIndBufferProcuraArquivosDir));
    EXPECT_EQ(r.vBuffer[std::min(pos, kBuffer - 1)], '\0');
    EXPECT_EQ(r.vBuffer.back(), '\0');
    EXPECT_EQ(r.stEstado.iContRecursividadeProcuraDir, stEstado.iContRecursividadeProcuraDir) << "depth not restored";
    EXPECT_EQ(r.vPaths.size(), r.conjunto().size()) << "a path stored twice";
    return r;
}

void Tocar(const fs::path& caminho)
{
    fs::create_directories(caminho.parent_path());
    std::ofstream(caminho).put('x');
}

} // namespace

TEST(ProcuraArquivos, OnlyTheExactEndingIsFoundAtEveryLevel)
{
    DiretorioTemporario dir;
    const fs::path raiz = dir.caminho();
    for (const char* pcNome : {"z.Nvg", "w.nvg.bak", "nvg", "v.nvgx", "u.txt", "a/b/nada.NvG", "sem_nvg/relatorio.txt"})
        Tocar(raiz / fs::path(pcNome).make_preferred());
    // Found at every level; a folder named like a file is still a folder.
    std::set<std::string> esperado;
    for (const char* pcNome : {"x.nvg", "y.NVG", "pasta.nvg/a.nvg", "a/b/c/fundo.nvg", "a/meio.NVG"})
        esperado.insert((raiz / fs::path(pcNome).make_preferred()).string());
    for (const std::string& szCaminho : esperado)
        Tocar(szCaminho);

    const ResultadoProcura r = Procurar(raiz.string());
    EXPECT_EQ(r.iCodigo, kOk);
    EXPECT_EQ(r.iNumArquivos, 5);
    EXPECT_EQ(r.conjunto(), esperado);
    // A root given with its separator gets no second one.
    EXPECT_EQ(Procurar(raiz.string() + kSep).conjunto(), esperado);

    // Nothing found: zero, and the buffer untouched.
    const ResultadoProcura rVazio = Procurar((raiz / "sem_nvg").string());
    EXPECT_EQ(rVazio.iCodigo, kOk);
    EXPECT_EQ(rVazio.iNumArquivos, 0);
    EXPECT_TRUE(rVazio.bufferLimpo());
}

TEST(ProcuraArquivos, RootThatCannotBeListed)
{
    DiretorioTemporario dir;
    Tocar(dir / "arquivo.nvg");
    for (const std::string& szRaiz : {(dir / "nao_existe").string(), (dir / "arquivo.nvg").string(), std::string()})
    {
        SCOPED_TRACE(szRaiz);
        const ResultadoProcura r = Procurar(szRaiz);
        EXPECT_EQ(r.iCodigo, kIndefinido);
        EXPECT_EQ(r.iNumArquivos, 0);
    }
}

TEST(ProcuraArquivos, DepthLimit)
{
    // The depth count says how deep the caller already is, so the limit can be met without a deep tree.
    DiretorioTemporario dir;
    Tocar(dir / "aqui.nvg");
    for (int i = 0; i < 4; i++)
    {
        Tocar(dir.caminho() / ("irma" + std::to_string(i)) / "x.nvg");
        Tocar(dir / ("vizinho" + std::to_string(i) + ".nvg"));
    }
    // One below the limit every sub-folder lies beyond it: each is skipped, its -1 stays inside, and
    // the listing goes on with the files beside them.
    for (const auto& [iFalta, iCodigo, iNumArquivos] :
         {std::tuple{2, kOk, 9}, {1, kOk, 5}, {0, D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUSCA_LONGA, 0}})
    {
        SCOPED_TRACE(iFalta);
        ST_EstadoProcura stEstado;
        stEstado.iContRecursividadeProcuraDir = D_ARQUIVO_PROFUNDIDADE_MAXIMA_BUSCA - iFalta;
        const ResultadoProcura r = Procurar(dir.caminho().string(), stEstado);
        EXPECT_EQ(r.iCodigo, iCodigo);
        EXPECT_EQ(r.iNumArquivos, iNumArquivos);
    }
}

TEST(ProcuraArquivos, LastByteOfTheBufferIsTheBoundary)
{
    // Two folders down, so a full buffer must be passed back up through both searches.
    DiretorioTemporario dir;
    const fs::path arquivo = dir.caminho() / "a" / "b" / "x.nvg";
    Tocar(arquivo);
    // Path and terminator end exactly at the last byte but one: it fits; one byte later it does not.
    ST_EstadoProcura stEstado;
    stEstado.iIndBufferProcuraArquivosDir = static_cast<int>(kBuffer - 1 - arquivo.string().size() - 1);
    const ResultadoProcura rCabe = Procurar(dir.caminho().string(), stEstado);
    EXPECT_EQ(rCabe.iCodigo, kOk);
    EXPECT_EQ(rCabe.vPaths, std::vector<std::string>{arquivo.string()});

    stEstado.iIndBufferProcuraArquivosDir++;
    const ResultadoProcura rCheio = Procurar(dir.caminho().string(), stEstado);
    EXPECT_EQ(rCheio.iCodigo, D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUFFER_PATHS_CHEIO);
    EXPECT_EQ(rCheio.iNumArquivos, 0);
    EXPECT_TRUE(rCheio.bufferLimpo());
}

TEST(ProcuraArquivos, PathsLongerThanTheLimitAreSkippedNeverCut)
{
    // A name that makes a path of the given length beneath the root.
    auto nome = [](const DiretorioTemporario& d, std::size_t tamanhoPath, const char* pcFim) {
        return std::string(tamanhoPath - d.caminho().string().size() - 1 - std::strlen(pcFim), 'p') + pcFim;
    };
    {
        DiretorioTemporario d;
        if (d.caminho().string().size() + 1 + 255 < kMaximoPath + 1 || d.caminho().string().size() + 20 > kMaximoPath)
            GTEST_SKIP() << "temporary folder length does not allow the case: " << d.caminho().string();
        // A file exactly at the limit is found; one character more is skipped, whatever the order.
        Tocar(d / nome(d, kMaximoPath, "a.nvg"));
        Tocar(d / nome(d, kMaximoPath + 1, "b.nvg"));
        const ResultadoProcura r = Procurar(d.caminho().string());
        EXPECT_EQ(r.iCodigo, kPathLongo);
        EXPECT_EQ(r.vPaths, std::vector<std::string>{(d / nome(d, kMaximoPath, "a.nvg")).string()});
    }
    // A sub-folder whose listing pattern (separator and '*') would not fit is skipped with -2; one
    // character shorter it is searched, and what lies in it is too long there and stays there.
    for (const auto& [tamanho, iCodigo] : {std::pair{kMaximoPath - 1, kPathLongo}, std::pair{kMaximoPath - 2, kOk}})
    {
        SCOPED_TRACE(tamanho);
        DiretorioTemporario d;
        Tocar(d / nome(d, tamanho, "d") / "x.nvg");
        const ResultadoProcura r = Procurar(d.caminho().string());
        EXPECT_EQ(r.iCodigo, iCodigo);
        EXPECT_EQ(r.iNumArquivos, 0);
    }
    // The root itself: 257 characters leave room for the pattern and are listed (and do not exist);
    // 258 are not even tried.
    DiretorioTemporario d;
    EXPECT_EQ(Procurar(d.caminho().string() + kSep + nome(d, kMaximoPath - 2, "r")).iCodigo, kIndefinido);
    EXPECT_EQ(Procurar(d.caminho().string() + kSep + nome(d, kMaximoPath - 1, "r")).iCodigo, kPathLongo);
}

TEST(ProcuraArquivos, SymbolicLinksAreNotFollowed)
{
    DiretorioTemporario dir;
    const fs::path raiz = dir.caminho();
    Tocar(raiz / "a" / "x.nvg");
    std::error_code ec;
    fs::create_directory_symlink(raiz, raiz / "a" / "volta", ec); // a loop back to the root
    if (ec)
        GTEST_SKIP() << "no symbolic links here: " << ec.message();
    fs::create_directory_symlink(raiz / "a", raiz / "atalho");
    fs::create_symlink(raiz / "a" / "x.nvg", raiz / "ligacao.nvg");
    fs::create_symlink(raiz / "nao_existe.nvg", raiz / "quebrada.nvg");

    const ResultadoProcura r = Procurar(raiz.string());
    EXPECT_EQ(r.iCodigo, kOk);
    EXPECT_EQ(r.vPaths, std::vector<std::string>{(raiz / "a" / "x.nvg").string()});
}

// The search worker, run over what an earlier selection left behind, which must not survive.
TEST(ThreadProcura, FailureIsToldOverAnEarlierSelection)
{
    DiretorioTemporario dir;
    auto pstSelecao = std::make_unique<ST_SelecaoArquivos>();
    pstSelecao->iTipoSelecao = D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_DIRETORIO;
    std::snprintf(pstSelecao->szPathsArqNavegTxtBox, sizeof pstSelecao->szPathsArqNavegTxtBox, "%s",
                  (dir / "nao_existe").string().c_str());
    std::memset(pstSelecao->szPathsArqNaveg, 'L', sizeof pstSelecao->szPathsArqNaveg);
    pstSelecao->iNumArquivos = 42;
    std::vector<std::pair<int, int>> vAvisos; // status and file types of each notice
    ST_EstruturaThread stThread;
    stThread.lpArgumento = pstSelecao.get();
    stThread.hHandleRetorno.pContexto = &vAvisos;
    stThread.hHandleRetorno.pfProcuraArquivosOk = [](void* p, int iStatus, int iTipos) {
        static_cast<std::vector<std::pair<int, int>>*>(p)->emplace_back(iStatus, iTipos);
    };
    stThread.pfAposProcura = conversor_ThreadAnalisarTiposArquivosNavegacao;
    EXPECT_EQ(arquivo_ThreadProcurarArquivosNavegacao(&stThread), 0u);
    EXPECT_EQ(vAvisos, (std::vector<std::pair<int, int>>{{kIndefinido, 0}}));
    EXPECT_EQ(pstSelecao->iNumArquivos, 0);
    EXPECT_EQ(pstSelecao->szPathsArqNaveg[0], '\0');
    EXPECT_EQ(pstSelecao->szPathsArqNaveg[kBuffer - 1], '\0');
    // Found, with no worker to go on with: the search's own notice ends it, or the window waits for ever.
    Tocar(dir / "a.nvg");
    std::snprintf(pstSelecao->szPathsArqNavegTxtBox, sizeof pstSelecao->szPathsArqNavegTxtBox, "%s",
                  dir.caminho().string().c_str());
    stThread.pfAposProcura = nullptr;
    EXPECT_EQ(arquivo_ThreadProcurarArquivosNavegacao(&stThread), 0u);
    EXPECT_EQ(vAvisos, (std::vector<std::pair<int, int>>{{kIndefinido, 0}, {kOk, 0}}));
    EXPECT_EQ(pstSelecao->iNumArquivos, 1);
    // A missing receiver is skipped, not called.
    stThread.hHandleRetorno.pfProcuraArquivosOk = nullptr;
    EXPECT_EQ(arquivo_ThreadProcurarArquivosNavegacao(&stThread), 0u);
    EXPECT_EQ(vAvisos.size(), 2u);
}

TEST(TextoSelecao, WholeQuotedNamesWithinBothLimits)
{
    // Names from offset 2, after the folder. A name counts, and shows, only once its zero lies below
    // the list's limit; the text keeps whole names and stops at the first that does not fit, but every
    // name is counted. Exactly-sized copies and guard bytes, so a step past either limit is caught.
    // The dialog's result: names each closed by a zero, the list by a second one.
    const char acLista[] = "d\0aaa\0bbb\0ccc\0e\0";
    // Limit of the list, size of the text, names counted, the text.
    const std::tuple<std::size_t, std::size_t, int, const char*> casos[] = {
        {5, 64, 0, ""}, {6, 64, 1, "\"aaa\" "}, {9, 64, 1, "\"aaa\" "}, {10, 64, 2, "\"aaa\" \"bbb\" "},
        {17, 64, 4, "\"aaa\" \"bbb\" \"ccc\" \"e\" "},
        {17, 22, 4, "\"aaa\" \"bbb\" \"ccc\" "}, // 18 + terminator: a fourth name needs 4 more
        {17, 19, 4, "\"aaa\" \"bbb\" \"ccc\" "},
        {17, 18, 4, "\"aaa\" \"bbb\" "}, // "e" would fit, but nothing after a left-out name is shown
        {17, 7, 4, "\"aaa\" "}, {17, 6, 4, ""}, {17, 1, 4, ""},
        {17, 0, 4, nullptr}, // no room at all: not even a terminator is written
    };
    for (const auto& [limite, tamanho, iNum, pcTexto] : casos)
    {
        SCOPED_TRACE(std::to_string(limite) + "/" + std::to_string(tamanho));
        const std::vector<char> vOrigem(acLista, acLista + limite);
        std::vector<char> vDestino(tamanho + 8, '#');
        EXPECT_EQ(arquivo_SepararPathsArquivosSelecionados(2, vOrigem.data(), vDestino.data(), static_cast<int>(limite),
                                                           tamanho),
                  iNum);
        if (pcTexto != nullptr)
        {
            EXPECT_STREQ(vDestino.data(), pcTexto);
        }
        EXPECT_EQ(std::count(vDestino.begin() + static_cast<std::ptrdiff_t>(tamanho), vDestino.end(), '#'), 8);
    }
}
