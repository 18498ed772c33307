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
#include <utility>
#include <vector>

#include "support/DiretorioTemporario.h"

namespace fs = std::filesystem;
using zavoro_teste::DiretorioTemporario;

namespace
{

constexpr int kOk = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK;
constexpr int kBuscaLonga = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUSCA_LONGA;
constexpr int kPathLongo = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_PATH_LONGO;
constexpr int kBufferCheio = D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_ERRO_BUFFER_PATHS_CHEIO;
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

std::string Raiz(const DiretorioTemporario& dir)
{
    return dir.caminho().string();
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
    for (const char* pcNome : {"x.nvg", "y.NVG", "z.Nvg", "w.nvg.bak", "nvg", "v.nvgx", "u.txt"})
        Tocar(raiz / pcNome);
    Tocar(raiz / "pasta.nvg" / "a.nvg"); // a folder named like a file is still a folder
    Tocar(raiz / "a" / "b" / "c" / "fundo.nvg");
    Tocar(raiz / "a" / "meio.NVG");
    Tocar(raiz / "a" / "b" / "nada.NvG");
    fs::create_directories(raiz / "vazia");

    const ResultadoProcura r = Procurar(raiz.string());
    EXPECT_EQ(r.iCodigo, kOk);
    EXPECT_EQ(r.iNumArquivos, 5);
    const std::set<std::string> esperado = {(raiz / "x.nvg").string(), (raiz / "y.NVG").string(),
                                            (raiz / "pasta.nvg" / "a.nvg").string(),
                                            (raiz / "a" / "b" / "c" / "fundo.nvg").string(),
                                            (raiz / "a" / "meio.NVG").string()};
    EXPECT_EQ(r.conjunto(), esperado);
    // A root given with its separator gets no second one.
    EXPECT_EQ(Procurar(raiz.string() + kSep).conjunto(), esperado);

    // Nothing found: zero, and the buffer untouched.
    DiretorioTemporario semNada;
    Tocar(semNada.caminho() / "a" / "relatorio.txt");
    const ResultadoProcura rVazio = Procurar(Raiz(semNada));
    EXPECT_EQ(rVazio.iCodigo, kOk);
    EXPECT_EQ(rVazio.iNumArquivos, 0);
    EXPECT_TRUE(rVazio.bufferLimpo());
}

TEST(ProcuraArquivos, RootThatCannotBeListed)
{
    DiretorioTemporario dir;
    Tocar(dir / "arquivo.nvg");
    for (const std::string& szRaiz : {Raiz(dir) + kSep + "nao_existe", (dir / "arquivo.nvg").string(), std::string()})
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
    const struct
    {
        int iProfundidade;
        int iCodigo;
        int iNumArquivos;
    } casos[] = {
        {D_ARQUIVO_PROFUNDIDADE_MAXIMA_BUSCA - 2, kOk, 9},
        // Every sub-folder lies beyond the limit: each is skipped, its -1 stays inside, and the
        // listing goes on with the files beside them.
        {D_ARQUIVO_PROFUNDIDADE_MAXIMA_BUSCA - 1, kOk, 5},
        {D_ARQUIVO_PROFUNDIDADE_MAXIMA_BUSCA, kBuscaLonga, 0},
    };
    for (const auto& caso : casos)
    {
        SCOPED_TRACE(caso.iProfundidade);
        ST_EstadoProcura stEstado;
        stEstado.iContRecursividadeProcuraDir = caso.iProfundidade;
        const ResultadoProcura r = Procurar(Raiz(dir), stEstado);
        EXPECT_EQ(r.iCodigo, caso.iCodigo);
        EXPECT_EQ(r.iNumArquivos, caso.iNumArquivos);
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
    const ResultadoProcura rCabe = Procurar(Raiz(dir), stEstado);
    EXPECT_EQ(rCabe.iCodigo, kOk);
    EXPECT_EQ(rCabe.vPaths, std::vector<std::string>{arquivo.string()});

    stEstado.iIndBufferProcuraArquivosDir++;
    const ResultadoProcura rCheio = Procurar(Raiz(dir), stEstado);
    EXPECT_EQ(rCheio.iCodigo, kBufferCheio);
    EXPECT_EQ(rCheio.iNumArquivos, 0);
    EXPECT_TRUE(rCheio.bufferLimpo());
}

TEST(ProcuraArquivos, PathsLongerThanTheLimitAreSkippedNeverCut)
{
    // A name that makes a path of the given length beneath the root.
    auto nome = [](const DiretorioTemporario& d, std::size_t tamanhoPath, const char* pcFim) {
        return std::string(tamanhoPath - Raiz(d).size() - 1 - std::strlen(pcFim), 'p') + pcFim;
    };
    {
        DiretorioTemporario d;
        if (Raiz(d).size() + 1 + 255 < kMaximoPath + 1 || Raiz(d).size() + 20 > kMaximoPath)
            GTEST_SKIP() << "temporary folder length does not allow the case: " << Raiz(d);
        // A file exactly at the limit is found; one character more is skipped, whatever the order.
        Tocar(d / nome(d, kMaximoPath, "a.nvg"));
        Tocar(d / nome(d, kMaximoPath + 1, "b.nvg"));
        const ResultadoProcura r = Procurar(Raiz(d));
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
        const ResultadoProcura r = Procurar(Raiz(d));
        EXPECT_EQ(r.iCodigo, iCodigo);
        EXPECT_EQ(r.iNumArquivos, 0);
    }
    // The root itself: 257 characters leave room for the pattern and are listed (and do not exist);
    // 258 are not even tried.
    DiretorioTemporario d;
    EXPECT_EQ(Procurar(Raiz(d) + kSep + nome(d, kMaximoPath - 2, "r")).iCodigo, kIndefinido);
    EXPECT_EQ(Procurar(Raiz(d) + kSep + nome(d, kMaximoPath - 1, "r")).iCodigo, kPathLongo);
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
                  (Raiz(dir) + kSep + "nao_existe").c_str());
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
    // A missing receiver is skipped, not called.
    stThread.hHandleRetorno.pfProcuraArquivosOk = nullptr;
    EXPECT_EQ(arquivo_ThreadProcurarArquivosNavegacao(&stThread), 0u);
    EXPECT_EQ(vAvisos.size(), 1u);
}

// ---------------------------------------------------------------------------------------------------
// Display text of the open dialog's result
// ---------------------------------------------------------------------------------------------------

namespace
{

// The dialog's result as it lays it out: items each closed by a zero, the list by a second one.
std::vector<char> ResultadoDialogo(const std::vector<std::string>& vItens)
{
    std::vector<char> v;
    for (const std::string& szItem : vItens)
        v.insert(v.end(), szItem.c_str(), szItem.c_str() + szItem.size() + 1);
    v.push_back('\0');
    return v;
}

// Display text of a dialog result, names read from iInicio; the count goes to *piNum.
std::string Separar(const std::vector<char>& vLista, int iInicio, int* piNum)
{
    char szDestino[256];
    std::strcpy(szDestino, "antigo");
    *piNum = arquivo_SepararPathsArquivosSelecionados(iInicio, vLista.data(), szDestino, static_cast<int>(vLista.size()),
                                                      sizeof szDestino);
    return szDestino;
}

} // namespace

TEST(TextoSelecao, QuotedNamesFromTheOffset)
{
    // One file or a folder and its names: the window's selection tests show those; here the edges.
    // Exactly-sized copies, so a read past the limit is caught by the sanitizer run. A name counts,
    // and shows, only once its zero lies below the limit.
    const std::vector<char> vLista = ResultadoDialogo({"d", "a.nvg", "bb.nvg"});
    int iNum = -1;
    for (std::size_t limite = 2; limite <= vLista.size(); limite++)
    {
        SCOPED_TRACE(limite);
        const std::string szTexto = Separar(std::vector<char>(vLista.begin(), vLista.begin() + static_cast<std::ptrdiff_t>(limite)), 2, &iNum);
        EXPECT_EQ(iNum, limite >= 15 ? 2 : limite >= 8 ? 1 : 0);
        EXPECT_EQ(szTexto, limite >= 15 ? "\"a.nvg\" \"bb.nvg\" " : limite >= 8 ? "\"a.nvg\" " : "");
    }
}

TEST(TextoSelecao, SmallDestinationKeepsWholeNamesAndCountsThemAll)
{
    const std::vector<char> vLista = ResultadoDialogo({"d", "aaa", "bbb", "ccc", "e"});
    const int iLimite = static_cast<int>(vLista.size());
    const struct
    {
        std::size_t tamanho;
        const char* pcEsperado;
    } casos[] = {
        {22, "\"aaa\" \"bbb\" \"ccc\" "}, // 18 + terminator: a fourth name needs 4 more
        {19, "\"aaa\" \"bbb\" \"ccc\" "},
        {18, "\"aaa\" \"bbb\" "}, // "e" would fit, but nothing after a left-out name is shown
        {7, "\"aaa\" "},
        {6, ""},
        {1, ""},
    };
    for (const auto& caso : casos)
    {
        SCOPED_TRACE(caso.tamanho);
        std::vector<char> vDestino(caso.tamanho + 8, '#');
        EXPECT_EQ(arquivo_SepararPathsArquivosSelecionados(2, vLista.data(), vDestino.data(), iLimite, caso.tamanho), 4);
        EXPECT_STREQ(vDestino.data(), caso.pcEsperado);
        EXPECT_TRUE(std::all_of(vDestino.begin() + static_cast<std::ptrdiff_t>(caso.tamanho), vDestino.end(),
                                [](char c) { return c == '#'; }));
    }
    // No room at all: not even a terminator is written.
    char c = '#';
    EXPECT_EQ(arquivo_SepararPathsArquivosSelecionados(2, vLista.data(), &c, iLimite, 0), 4);
    EXPECT_EQ(c, '#');

    // A full dialog result of one-letter names: the text would be twice as long as the list.
    auto pstSelecao = std::make_unique<ST_SelecaoArquivos>();
    std::vector<std::string> vNomes{"d"};
    while ((vNomes.size() + 1) * 2 < kBuffer - 2)
        vNomes.emplace_back(1, static_cast<char>('a' + vNomes.size() % 26));
    const std::vector<char> vCheia = ResultadoDialogo(vNomes);
    ASSERT_LE(vCheia.size(), sizeof pstSelecao->szPathsArqNaveg);
    std::memcpy(pstSelecao->szPathsArqNaveg, vCheia.data(), vCheia.size());
    EXPECT_EQ(arquivo_SepararPathsArquivosSelecionados(2, pstSelecao->szPathsArqNaveg, pstSelecao->szPathsArqNavegTxtBox, kBuffer),
              static_cast<int>(vNomes.size()) - 1);
    const std::size_t tamanhoTexto = strnlen(pstSelecao->szPathsArqNavegTxtBox, kBuffer);
    EXPECT_LT(tamanhoTexto, kBuffer);
    EXPECT_EQ(tamanhoTexto % 4, 0u); // whole "\"x\" " items only
}

TEST(CodigoBusca, TextsForTheCommand)
{
    std::set<std::string> textos;
    for (int iCodigo : {kOk, kBuscaLonga, kPathLongo, kBufferCheio, kIndefinido, 7})
    {
        const char* pcTexto = arquivo_DescreverCodigoBusca(iCodigo);
        ASSERT_NE(pcTexto, nullptr);
        textos.insert(pcTexto);
    }
    EXPECT_EQ(textos.size(), 6u);
}
