// Walks the Windows window through the conversion and the map viewer with scripted dialog answers,
// checks what each step must show, and saves a picture of each screen as the display shows it.
// Run under Wine with a display: capturasWin32.exe SAMPLES_DIR OUTPUT_DIR (exit 1 when a step fails).
#include "principalWin32/janelaWin32.h"

#include <gdiplus.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "amostrasCapturas.h"
#include "support/ServicosFalsos.h"

namespace fs = std::filesystem;

namespace
{
fs::path caminhoSobre;
bool bSobreGravado = false;

void Processar(int iMs)
{
    const auto fim = std::chrono::steady_clock::now() + std::chrono::milliseconds(iMs);
    do
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < fim);
}

bool Esperar(const std::function<bool()>& fnPronto, int iLimiteMs = 120000)
{
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(iLimiteMs);
    while (!fnPronto() && std::chrono::steady_clock::now() < limite)
        Processar(10);
    return fnPronto();
}

bool Verificar(bool bCondicao, const char* pcPasso)
{
    std::printf("%s %s\n", bCondicao ? "ok" : "FALHOU", pcPasso);
    return bCondicao;
}

// The window as the screen shows it, frame and menu included, into a PNG file.
bool Capturar(HWND hJanela, const fs::path& arquivo)
{
    RedrawWindow(hJanela, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Processar(400); // let the window system show the last repaint
    RECT rc{};
    GetWindowRect(hJanela, &rc);
    const int iLargura = rc.right - rc.left, iAltura = rc.bottom - rc.top;
    HDC hdcTela = GetDC(nullptr);
    HDC hdcMemoria = CreateCompatibleDC(hdcTela);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcTela, iLargura, iAltura);
    HGDIOBJ hAnterior = SelectObject(hdcMemoria, hBitmap);
    BitBlt(hdcMemoria, 0, 0, iLargura, iAltura, hdcTela, rc.left, rc.top, SRCCOPY);
    SelectObject(hdcMemoria, hAnterior);
    DeleteDC(hdcMemoria);
    ReleaseDC(nullptr, hdcTela);

    // GDI+'s PNG encoder.
    CLSID clsidPng{};
    UINT uiNumero = 0, uiTamanho = 0;
    Gdiplus::GetImageEncodersSize(&uiNumero, &uiTamanho);
    std::vector<unsigned char> vCodificadores(uiTamanho);
    auto* pstCodificadores = reinterpret_cast<Gdiplus::ImageCodecInfo*>(vCodificadores.data());
    Gdiplus::GetImageEncoders(uiNumero, uiTamanho, pstCodificadores);
    for (UINT i = 0; i < uiNumero; i++)
        if (std::wstring(pstCodificadores[i].MimeType) == L"image/png")
            clsidPng = pstCodificadores[i].Clsid;
    bool bOk = false;
    {
        Gdiplus::Bitmap imagem(hBitmap, nullptr);
        bOk = imagem.Save(arquivo.wstring().c_str(), &clsidPng, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(hBitmap);
    std::printf("%s %s\n", bOk ? "gravada" : "FALHOU", arquivo.string().c_str());
    return bOk;
}

// Pixels of a picture that differ from its corner (the background).
int PixelsDesenhados(const ST_SuperficieGdi& stSuperficie)
{
    const COLORREF ulFundo = GetPixel(stSuperficie.hdc, 0, 0);
    int iDesenhados = 0;
    for (int iY = 0; iY < stSuperficie.stSuperficie.iAltura; iY += 3)
        for (int iX = 0; iX < stSuperficie.stSuperficie.iLargura; iX += 3)
            iDesenhados += GetPixel(stSuperficie.hdc, iX, iY) != ulFundo;
    return iDesenhados;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "uso: capturasWin32 PASTA_AMOSTRAS PASTA_SAIDA\n");
        return 2;
    }
    Gdiplus::GdiplusStartupInput stEntrada;
    ULONG_PTR ulToken = 0;
    Gdiplus::GdiplusStartup(&ulToken, &stEntrada, nullptr);

    const fs::path amostras = funcAux_Caminho(argv[1]), saida = funcAux_Caminho(argv[2]);
    const fs::path trabalho = fs::temp_directory_path() / "zavoro_capturas_win32";
    const std::string szPasta = capturas_PrepararAmostras(amostras, trabalho, saida);

    bool bOk = true;
    {
        JanelaWin32 janela;
        if (!janela.Criar(GetModuleHandleW(nullptr), SW_SHOW))
            return 1;
        zavoro_teste::ServicosFalsos servicos(&janela.Estado(), false);
        ST_Janela& st = janela.Estado();
        st.unidadePausa = std::chrono::milliseconds(250);
        // A click as the user makes it: the button tells its parent, the adapter routes it to the logic.
        auto Clicar = [&janela](int iId) { SendMessageW(janela.Controle(iId), BM_CLICK, 0, 0); };
        auto Habilitado = [&janela](int iId) { return IsWindowEnabled(janela.Controle(iId)) != FALSE; };
        Processar(500);

        bOk &= Capturar(janela.Janela(), saida / "01_inicio.png");
        servicos.filaArquivos.push_back({szPasta + "\\pulverizacao_soja.nvg", szPasta + "\\colheita.nvg"});
        Clicar(btnSelecioneArquivos);
        bOk &= Verificar(Esperar([&] { return Habilitado(btnBotaoDireita); }), "seleção habilita Gerar Mapa(s)");
        bOk &= Capturar(janela.Janela(), saida / "02_selecionados.png");
        // The map's steps: options, bands of the legend, classes, then the whole-coverage entry.
        for (const char* pcCaptura : {"03_opcoes_mapa.png", "04_faixas_legenda.png", "05_legenda_classes.png",
                                      "06_cobertura_inteira.png"})
        {
            Clicar(btnBotaoDireita);
            bOk &= Capturar(janela.Janela(), saida / pcCaptura);
        }
        Clicar(btnBotaoDireita);
        bOk &= Verificar(Esperar([&] { return principal_Texto(&st, lblStatusConversao).find("Gerando") != std::string::npos; }),
                         "a conversão começa");
        bOk &= Capturar(janela.Janela(), saida / "07_convertendo.png");
        bOk &= Verificar(Esperar([&] { return Habilitado(btnSelecioneArquivos); }), "a conversão termina");
        wchar_t szLista[4096] = {};
        GetWindowTextW(janela.Controle(etStatus), szLista, 4096);
        bOk &= Verificar(std::wstring(szLista).find(L"2 de 2: OK") != std::wstring::npos, "lista de resultados");
        bOk &= Verificar(fs::exists(trabalho / "safra_2026" / "colheita_Cobertura.kml"), "mapa gravado");
        bOk &= Capturar(janela.Janela(), saida / "08_resultado.png");

        // The speed map's bands, over the second path of the steps.
        servicos.filaArquivos.push_back({szPasta + "\\pulverizacao_soja.nvg"});
        Clicar(btnSelecioneArquivos);
        bOk &= Verificar(Esperar([&] { return Habilitado(btnBotaoDireita); }), "nova seleção");
        Clicar(btnBotaoDireita);
        Clicar(rdbtnOpcao2);
        Clicar(btnBotaoDireita);
        bOk &= Capturar(janela.Janela(), saida / "09_faixas_velocidade.png");
        Clicar(btnBotaoEsquerda);
        Clicar(btnBotaoEsquerda);

        // Variable-rate mode: map 1 drawn from the recommendation, map 2 converted and drawn.
        Clicar(rdVisualizacaoMapas);
        bOk &= Verificar(SendMessageW(janela.Controle(rdVisualizacaoMapas), BM_GETCHECK, 0, 0) == BST_CHECKED,
                         "modo de visualização marcado");
        bOk &= Capturar(janela.Janela(), saida / "11_mapas_vazio.png");
        servicos.filaArquivos.push_back({szPasta + "\\recomendacao_pulverizacao.shp"});
        Clicar(btnMapa1Shp);
        Clicar(btnDesenharMapaShapefile1);
        bOk &= Verificar(PixelsDesenhados(janela.Imagens().stMapa[0]) > 1000, "mapa 1 desenhado");
        bOk &= Capturar(janela.Janela(), saida / "12_mapa1.png");
        servicos.filaArquivos.push_back({szPasta + "\\pulverizacao_soja.nvg"});
        Clicar(btnMapa2Shp);
        Clicar(btnDesenharMapaShapefile2);
        bOk &= Capturar(janela.Janela(), saida / "13_convertendo_mapa2.png");
        bOk &= Verificar(Esperar([&] { return st.gucNivelMenuVisualizacaoMapa2 == 4; }), "mapa 2 convertido");
        bOk &= Verificar(PixelsDesenhados(janela.Imagens().stMapa[1]) > 1000, "mapa 2 desenhado");
        bOk &= Capturar(janela.Janela(), saida / "14_mapas_ambos.png");

        // A double click on map 2 opens its enlarged window.
        const ST_PontoTela stCanto = principal_ImprimirMapas(&st).stCanto[1];
        const LPARAM lPonto = MAKELPARAM(stCanto.iX + 150, stCanto.iY + 150);
        PostMessageW(janela.Janela(), WM_LBUTTONDBLCLK, MK_LBUTTON, lPonto);
        bOk &= Verificar(Esperar([&] { return janela.JanelaAmpliada() != nullptr; }, 5000), "mapa ampliado aberto");
        if (janela.JanelaAmpliada() != nullptr)
            bOk &= Capturar(janela.JanelaAmpliada(), saida / "15_mapa_ampliado.png");

        // The About box is modal: it runs its own loop, where a timer takes its picture and closes it.
        caminhoSobre = saida / "10_sobre.png";
        SetTimer(nullptr, 0, 800, [](HWND, UINT, UINT_PTR idEvento, DWORD) {
            KillTimer(nullptr, idEvento);
            HWND hSobre = FindWindowW(L"QuibarZavoroSobre", nullptr);
            bSobreGravado = hSobre != nullptr && Capturar(hSobre, caminhoSobre);
            if (hSobre != nullptr)
                PostMessageW(hSobre, WM_CLOSE, 0, 0);
        });
        principalWin32_MostrarSobre(janela.Janela());
        bOk &= Verificar(bSobreGravado, "caixa Sobre");
    }
    fs::remove_all(trabalho);
    Gdiplus::GdiplusShutdown(ulToken);
    return bOk ? 0 : 1;
}
