// quibar-zavoro.exe: the desktop application on Windows.
#include "principalWin32/janelaWin32.h"

#include <objbase.h>

int WINAPI WinMain(HINSTANCE hInstancia, HINSTANCE, LPSTR, int iMostrar)
{
    // The folder browser is a shell dialog: COM in a single-threaded apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int iSaida = D_PRINCIPAL_SAIDA_ERRO_THREAD;
    {
        JanelaWin32 janela;
        if (janela.Criar(hInstancia, iMostrar))
            iSaida = janela.Executar();
        else
            MessageBoxW(nullptr, L"Não foi possível criar a janela do programa.", L"Erro", MB_OK | MB_ICONERROR);
    }
    CoUninitialize();
    return iSaida;
}
