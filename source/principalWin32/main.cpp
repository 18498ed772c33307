// quibar-zavoro.exe: the desktop application on Windows.
#include "principalWin32/janelaWin32.h"

#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace
{
// The paths given on the command line (a file manager opening .nvg files with the program), in UTF-8.
std::vector<std::string> ArgumentosLinhaComando()
{
    std::vector<std::string> vArquivos;
    int iArgumentos = 0;
    LPWSTR* ppszArgumentos = CommandLineToArgvW(GetCommandLineW(), &iArgumentos);
    if (ppszArgumentos == nullptr)
        return vArquivos;
    for (int i = 1; i < iArgumentos; i++)
        vArquivos.push_back(funcAux_Utf8(ppszArgumentos[i]));
    LocalFree(ppszArgumentos);
    return vArquivos;
}
} // namespace

int WINAPI WinMain(HINSTANCE hInstancia, HINSTANCE, LPSTR, int iMostrar)
{
    // The folder browser is a shell dialog: COM in a single-threaded apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int iSaida = D_PRINCIPAL_SAIDA_ERRO_THREAD;
    {
        JanelaWin32 janela;
        if (janela.Criar(hInstancia, iMostrar))
        {
            // Files given as arguments open as the dialogs would have opened them.
            if (const std::vector<std::string> vArquivos = ArgumentosLinhaComando(); !vArquivos.empty())
                janela.Executar([&] { principal_AbrirComArquivos(&janela.Estado(), vArquivos); });
            iSaida = janela.Executar();
        }
        else
            MessageBoxW(nullptr, L"Não foi possível criar a janela do programa.", L"Erro", MB_OK | MB_ICONERROR);
    }
    CoUninitialize();
    return iSaida;
}
