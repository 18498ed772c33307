// Looks at the running desktop application from outside, as a user would: waits for its window, prints
// what its file boxes and status show (UTF-8), then closes it. Run under Wine beside quibar-zavoro.exe:
// sondaJanela.exe SEGUNDOS. Exit 1 when no window appeared in time.
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "funcoesAuxiliares/win32.h"
#include "rc/resource.h"

namespace
{
// A control's text, read across processes (WM_GETTEXT is copied between them by the system).
std::string Texto(HWND hJanela, int iId)
{
    HWND hControle = GetDlgItem(hJanela, iId);
    wchar_t szTexto[8192] = {};
    DWORD_PTR ulResultado = 0;
    if (hControle == nullptr || SendMessageTimeoutW(hControle, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(szTexto),
                                                    SMTO_ABORTIFHUNG, 5000, &ulResultado) == 0)
        return "(sem controle)";
    // Status texts begin with line breaks that place them in their box.
    std::string sz = funcAux_Utf8(szTexto);
    sz.erase(0, std::min(sz.size(), sz.find_first_not_of("\r\n")));
    sz.erase(sz.find_last_not_of(' ') + 1);
    return sz;
}
} // namespace

int main(int argc, char** argv)
{
    const int iSegundos = argc > 1 ? std::atoi(argv[1]) : 60;
    HWND hJanela = nullptr;
    for (int i = 0; i < iSegundos * 10 && hJanela == nullptr; i++)
    {
        hJanela = FindWindowW(L"QuibarZavoroJanela", nullptr);
        if (hJanela == nullptr)
            Sleep(100);
    }
    if (hJanela == nullptr)
    {
        std::printf("janela não apareceu em %d s\n", iSegundos);
        return 1;
    }
    // The files given on its command line are opened before the message loop, and a selection is then
    // looked into on a worker ("AGUARDE!!"): the boxes are read once that is over.
    auto Pronta = [&] {
        // The window exists a moment before its controls do.
        return GetDlgItem(hJanela, lblStatusConversao) != nullptr && !(Texto(hJanela, etArquivos).empty() && Texto(hJanela, etMapa1Shp).empty()) &&
               Texto(hJanela, lblStatusConversao).find("AGUARDE") == std::string::npos;
    };
    for (int i = 0; i < iSegundos * 10 && !Pronta(); i++)
        Sleep(100);
    std::printf("arquivos: %s\n", Texto(hJanela, etArquivos).c_str());
    std::printf("status: %s\n", Texto(hJanela, lblStatusConversao).c_str());
    std::printf("mapa1: %s\n", Texto(hJanela, etMapa1Shp).c_str());
    std::fflush(stdout);
    PostMessageW(hJanela, WM_CLOSE, 0, 0);
    return 0;
}
