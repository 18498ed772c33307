// Win32 adapter of the main dialog: controls created from the control table, user actions and worker
// notices routed to the window logic on the window thread, the model applied back to the controls,
// the panel pictures and map panes painted with GDI.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "desenhoGdi/superficieGdi.h"
#include "principal/principal.h"

class JanelaWin32
{
public:
    // Registers the window classes once; FALSE when the window cannot be made.
    JanelaWin32();
    ~JanelaWin32();
    JanelaWin32(const JanelaWin32&) = delete;
    JanelaWin32& operator=(const JanelaWin32&) = delete;

    bool Criar(HINSTANCE hInstancia, int iMostrar);
    HWND Janela() const { return m_hJanela; }
    HWND Controle(int iId) const;
    ST_Janela& Estado() { return *m_pstJanela; }
    const ST_ImagensMapasGdi& Imagens() const { return *m_pstImagens; }
    int CodigoSaida() const { return m_iCodigoSaida; }
    // The enlarged map window opened last (null when none is open).
    HWND JanelaAmpliada() const { return m_hAmpliada; }

    // Runs a handler of the logic and shows its outcome.
    void Executar(const std::function<void()>& fn);
    // Applies the model to the controls.
    void Sincronizar();
    // The message loop of the program, with the menu's accelerators; returns the exit code.
    int Executar();

private:
    static LRESULT CALLBACK ProcedimentoJanela(HWND hJanela, UINT uiMensagem, WPARAM wParam, LPARAM lParam);
    LRESULT Tratar(UINT uiMensagem, WPARAM wParam, LPARAM lParam);
    void CriarControles(HINSTANCE hInstancia);
    void PreencherServicos();
    void Comando(WPARAM wParam, LPARAM lParam);
    void Pintar(HDC hdc);
    void AbrirAmpliada(int iMapa);

    std::unique_ptr<ST_Janela> m_pstJanela;
    std::unique_ptr<ST_ImagensMapasGdi> m_pstImagens;
    HWND m_hJanela = nullptr;
    HWND m_hAmpliada = nullptr;
    HACCEL m_hAtalhos = nullptr;
    HFONT m_hFonte = nullptr;
    HBRUSH m_hBranco = nullptr;
    std::map<int, HWND> m_controles;
    std::map<int, std::string> m_textos; // texts as last applied, to spare the controls' repaint
    ST_PinturaPainel m_stPintura;
    int m_iCodigoSaida = 0;
    bool m_bSincronizando = false;
    bool m_bFechando = false;
};

// The About box (frmSobre), modal over its owner.
void principalWin32_MostrarSobre(HWND hDono);
