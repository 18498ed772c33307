// Win32 adapter of the main dialog, the enlarged map window and the About box.
#include "principalWin32/janelaWin32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace
{
// A handler of the logic posted from a worker thread (lParam: a heap std::function).
constexpr UINT kMensagemExecutar = WM_APP + 1;
constexpr wchar_t kClassePrincipal[] = L"QuibarZavoroJanela";
constexpr wchar_t kClasseMapa[] = L"QuibarZavoroMapaAmpliado";
constexpr wchar_t kClasseSobre[] = L"QuibarZavoroSobre";
constexpr int kTabulacaoSobre = 60;
constexpr std::size_t kTamanhoListaDialogo = 0x10000;
constexpr int kMargemRadio = 20; // the radio's circle and the gap before its text

JanelaWin32* Adaptador(void* pContexto)
{
    return static_cast<JanelaWin32*>(pContexto);
}

COLORREF Cor(std::uint32_t ulCor)
{
    return RGB((ulCor >> 16) & 0xFF, (ulCor >> 8) & 0xFF, ulCor & 0xFF);
}

// A font of the dialogs' face, iPixels high.
HFONT CriarFonte(int iPixels, bool bNegrito = false, bool bSublinhado = false)
{
    return CreateFontW(-iPixels, 0, 0, 0, bNegrito ? FW_BOLD : FW_NORMAL, FALSE, bSublinhado, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       L"MS Sans Serif");
}

// The outer size of a window whose client area is iLargura x iAltura.
SIZE TamanhoJanela(int iLargura, int iAltura, DWORD dwEstilo, bool bMenu)
{
    RECT rc{0, 0, iLargura, iAltura};
    AdjustWindowRectEx(&rc, dwEstilo, bMenu, 0);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

std::string TextoJanela(HWND hJanela)
{
    std::wstring sz(static_cast<std::size_t>(GetWindowTextLengthW(hJanela)) + 1, L'\0');
    sz.resize(static_cast<std::size_t>(GetWindowTextW(hJanela, sz.data(), static_cast<int>(sz.size()))));
    return funcAux_Utf8(sz);
}

// Width of a text in a control's font.
int LarguraTexto(HWND hControle, const std::string& szTexto)
{
    HDC hdc = GetDC(hControle);
    HGDIOBJ hAnterior = SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageW(hControle, WM_GETFONT, 0, 0)));
    const std::wstring sz = funcAux_Utf16(szTexto);
    SIZE stTamanho{};
    GetTextExtentPoint32W(hdc, sz.c_str(), static_cast<int>(sz.size()), &stTamanho);
    SelectObject(hdc, hAnterior);
    ReleaseDC(hControle, hdc);
    return stTamanho.cx;
}

void TextoCentralizado(HDC hdc, const ST_TextoPintura& stTexto)
{
    HFONT hFonte = CriarFonte(stTexto.iPixels, false, stTexto.bSublinhado);
    HGDIOBJ hAnterior = SelectObject(hdc, hFonte);
    const std::wstring sz = funcAux_Utf16(stTexto.szTexto);
    SIZE stTamanho{};
    GetTextExtentPoint32W(hdc, sz.c_str(), static_cast<int>(sz.size()), &stTamanho);
    const int iX = stTexto.bCentralizado ? stTexto.iX - stTamanho.cx / 2 : stTexto.iX;
    TextOutW(hdc, iX, stTexto.iY, sz.c_str(), static_cast<int>(sz.size()));
    SelectObject(hdc, hAnterior);
    DeleteObject(hFonte);
}

void Preencher(HDC hdc, const ST_CaixaPintura& stCaixa, std::uint32_t ulCor, int iRecuo)
{
    const RECT rc{stCaixa.iX0 + iRecuo, stCaixa.iY0 + iRecuo, stCaixa.iX1 - iRecuo, stCaixa.iY1 - iRecuo};
    HBRUSH hPincel = CreateSolidBrush(Cor(ulCor));
    FillRect(hdc, &rc, hPincel);
    DeleteObject(hPincel);
}

// ---------------------------------------------------------------------------------------------------
// Platform services over Win32
// ---------------------------------------------------------------------------------------------------

int MensagemWin32(void* pContexto, const char* pcTexto, const char* pcTitulo, int iBotoes)
{
    const UINT uiTipo = iBotoes == D_PRINCIPAL_MB_OKCANCEL ? MB_OKCANCEL : MB_OK;
    const int iResposta = MessageBoxW(Adaptador(pContexto)->Janela(), funcAux_Utf16(pcTexto).c_str(),
                                      funcAux_Utf16(pcTitulo).c_str(), uiTipo);
    return iResposta == IDOK ? D_PRINCIPAL_IDOK : D_PRINCIPAL_IDCANCEL;
}

bool AbrirArquivosWin32(void* pContexto, const char* pcFiltroTexto, const char* pcFiltroPadrao,
                        const char* pcExtensao, bool bVarios, std::vector<std::string>* pvArquivos)
{
    std::wstring szFiltro = funcAux_Utf16(pcFiltroTexto);
    szFiltro.push_back(L'\0');
    szFiltro += funcAux_Utf16(pcFiltroPadrao);
    szFiltro.push_back(L'\0');
    const std::wstring szExtensao = funcAux_Utf16(pcExtensao);
    std::vector<wchar_t> vBuffer(kTamanhoListaDialogo, L'\0');
    OPENFILENAMEW stDialogo{};
    stDialogo.lStructSize = sizeof stDialogo;
    stDialogo.hwndOwner = Adaptador(pContexto)->Janela();
    stDialogo.lpstrFilter = szFiltro.c_str();
    stDialogo.lpstrFile = vBuffer.data();
    stDialogo.nMaxFile = static_cast<DWORD>(vBuffer.size());
    stDialogo.lpstrDefExt = szExtensao.c_str();
    stDialogo.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                      (bVarios ? OFN_ALLOWMULTISELECT : 0);
    if (!GetOpenFileNameW(&stDialogo))
        return false;
    // One file: its path. Several: the folder, then each name, each ending with a zero.
    std::vector<std::wstring> vItens;
    for (const wchar_t* pc = vBuffer.data(); *pc != L'\0'; pc += vItens.back().size() + 1)
        vItens.emplace_back(pc);
    if (vItens.size() == 1)
        pvArquivos->push_back(funcAux_Utf8(vItens.front()));
    for (std::size_t i = 1; i < vItens.size(); i++)
        pvArquivos->push_back(funcAux_Utf8(vItens.front() + L"\\" + vItens[i]));
    return !pvArquivos->empty();
}

bool EscolherDiretorioWin32(void* pContexto, const char* pcTitulo, std::string* pszDiretorio)
{
    const std::wstring szTitulo = funcAux_Utf16(pcTitulo);
    BROWSEINFOW stDialogo{};
    stDialogo.hwndOwner = Adaptador(pContexto)->Janela();
    stDialogo.lpszTitle = szTitulo.c_str();
    stDialogo.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&stDialogo);
    if (pidl == nullptr)
        return false;
    std::vector<wchar_t> vCaminho(32768, L'\0');
    const bool bOk = SHGetPathFromIDListEx(pidl, vCaminho.data(), static_cast<DWORD>(vCaminho.size()), GPFIDL_DEFAULT);
    CoTaskMemFree(pidl);
    if (bOk)
        *pszDiretorio = funcAux_Utf8(vCaminho.data());
    return bOk;
}

void AbrirDocumentoWin32(void* pContexto, const std::string& szCaminho)
{
    ShellExecuteW(Adaptador(pContexto)->Janela(), L"open", funcAux_Utf16(szCaminho).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

void PostarWin32(void* pContexto, std::function<void()> fn)
{
    // Dropped (and freed) when the window is gone by then.
    auto* pfn = new std::function<void()>(std::move(fn));
    if (!PostMessageW(Adaptador(pContexto)->Janela(), kMensagemExecutar, 0, reinterpret_cast<LPARAM>(pfn)))
        delete pfn;
}

// ---------------------------------------------------------------------------------------------------
// Enlarged map and About box
// ---------------------------------------------------------------------------------------------------

LRESULT CALLBACK ProcedimentoMapa(HWND hJanela, UINT uiMensagem, WPARAM wParam, LPARAM lParam)
{
    auto* pstImagem = reinterpret_cast<ST_SuperficieGdi*>(GetWindowLongPtrW(hJanela, GWLP_USERDATA));
    switch (uiMensagem)
    {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hJanela, &ps);
        if (pstImagem != nullptr)
            desenhoGdi_Copiar(*pstImagem, hdc, 6, 7);
        EndPaint(hJanela, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        delete pstImagem;
        SetWindowLongPtrW(hJanela, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(hJanela, uiMensagem, wParam, lParam);
}

LRESULT CALLBACK ProcedimentoSobre(HWND hJanela, UINT uiMensagem, WPARAM wParam, LPARAM lParam)
{
    switch (uiMensagem)
    {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hJanela, &ps);
        SetBkMode(hdc, TRANSPARENT);
        const INT iTab = kTabulacaoSobre;
        for (const ST_LinhaSobre& stLinha : principal_InitDialogSobreHandler().vLinhas)
        {
            HFONT hFonte = CriarFonte(stLinha.iPixels, stLinha.bDestaque, stLinha.bDestaque);
            HGDIOBJ hAnterior = SelectObject(hdc, hFonte);
            SetTextColor(hdc, Cor(stLinha.ulCor));
            const std::wstring sz = funcAux_Utf16(stLinha.szTexto);
            TabbedTextOutW(hdc, stLinha.iX, stLinha.iY, sz.c_str(), static_cast<int>(sz.size()), 1, &iTab, stLinha.iX);
            SelectObject(hdc, hAnterior);
            DeleteObject(hFonte);
        }
        HBITMAP hLogo = static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(logoMorvel), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        if (hLogo != nullptr)
        {
            BITMAP stBitmap{};
            GetObjectW(hLogo, sizeof stBitmap, &stBitmap);
            HDC hdcLogo = CreateCompatibleDC(hdc);
            HGDIOBJ hAnterior = SelectObject(hdcLogo, hLogo);
            SetStretchBltMode(hdc, HALFTONE);
            StretchBlt(hdc, 10, 10, 72, 110, hdcLogo, 0, 0, stBitmap.bmWidth, stBitmap.bmHeight, SRCCOPY);
            SelectObject(hdcLogo, hAnterior);
            DeleteDC(hdcLogo);
            DeleteObject(hLogo);
        }
        EndPaint(hJanela, &ps);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE || wParam == VK_RETURN)
            DestroyWindow(hJanela);
        return 0;
    }
    return DefWindowProcW(hJanela, uiMensagem, wParam, lParam);
}

void RegistrarClasse(HINSTANCE hInstancia, const wchar_t* pcNome, WNDPROC pfProcedimento, UINT uiEstilo)
{
    WNDCLASSEXW stClasse{};
    stClasse.cbSize = sizeof stClasse;
    stClasse.style = uiEstilo;
    stClasse.lpfnWndProc = pfProcedimento;
    stClasse.hInstance = hInstancia;
    stClasse.hIcon = LoadIconW(hInstancia, MAKEINTRESOURCEW(icoQuibar));
    stClasse.hIconSm = static_cast<HICON>(LoadImageW(hInstancia, MAKEINTRESOURCEW(icoQuibar), IMAGE_ICON, 16, 16, 0));
    stClasse.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    stClasse.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    stClasse.lpszClassName = pcNome;
    RegisterClassExW(&stClasse);
}
} // namespace

void principalWin32_MostrarSobre(HWND hDono)
{
    constexpr DWORD dwEstilo = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const SIZE stTamanho = TamanhoJanela(principal_UnidadesParaPixelsX(D_PRINCIPAL_LARGURA_SOBRE),
                                         principal_UnidadesParaPixelsY(D_PRINCIPAL_ALTURA_SOBRE), dwEstilo, false);
    RECT rcDono{};
    GetWindowRect(hDono, &rcDono);
    HWND hSobre = CreateWindowExW(WS_EX_DLGMODALFRAME, kClasseSobre,
                                  funcAux_Utf16(principal_InitDialogSobreHandler().szTitulo).c_str(), dwEstilo,
                                  (rcDono.left + rcDono.right - stTamanho.cx) / 2,
                                  (rcDono.top + rcDono.bottom - stTamanho.cy) / 2, stTamanho.cx, stTamanho.cy, hDono,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hSobre == nullptr)
        return;
    // Modal: the owner takes no input until the box is closed.
    EnableWindow(hDono, FALSE);
    ShowWindow(hSobre, SW_SHOW);
    MSG msg;
    while (IsWindow(hSobre) && GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EnableWindow(hDono, TRUE);
    SetActiveWindow(hDono);
    if (msg.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(msg.wParam));
}

// ---------------------------------------------------------------------------------------------------
// Main dialog
// ---------------------------------------------------------------------------------------------------

JanelaWin32::JanelaWin32()
    : m_pstJanela(std::make_unique<ST_Janela>()), m_pstImagens(std::make_unique<ST_ImagensMapasGdi>())
{
}

JanelaWin32::~JanelaWin32()
{
    // Workers first: they may still be converting and posting to this window.
    principal_EncerrarTrabalhos(m_pstJanela.get());
    if (m_hJanela != nullptr)
        DestroyWindow(m_hJanela);
    if (m_hAtalhos != nullptr)
        DestroyAcceleratorTable(m_hAtalhos);
    if (m_hFonte != nullptr)
        DeleteObject(m_hFonte);
    if (m_hBranco != nullptr)
        DeleteObject(m_hBranco);
}

bool JanelaWin32::Criar(HINSTANCE hInstancia, int iMostrar)
{
    INITCOMMONCONTROLSEX stControles{sizeof stControles, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&stControles);
    RegistrarClasse(hInstancia, kClassePrincipal, ProcedimentoJanela, CS_DBLCLKS);
    RegistrarClasse(hInstancia, kClasseMapa, ProcedimentoMapa, 0);
    RegistrarClasse(hInstancia, kClasseSobre, ProcedimentoSobre, 0);
    m_hFonte = CriarFonte(11);
    m_hBranco = CreateSolidBrush(RGB(255, 255, 255));
    if (!desenhoGdi_CriarImagensMapas(m_pstImagens.get(), &m_pstJanela->gstVisualizador))
        return false;

    HMENU hMenu = CreateMenu();
    HMENU hArquivo = CreatePopupMenu();
    AppendMenuW(hArquivo, MF_STRING, mnSair, L"&Sair");
    HMENU hAjuda = CreatePopupMenu();
    AppendMenuW(hAjuda, MF_STRING, mnComoUtilizar, L"&Como &utilizar\tF1");
    AppendMenuW(hAjuda, MF_STRING, mnSobre, L"&Sobre Quibar - Zavoro");
    AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hArquivo), L"&Arquivo");
    AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hAjuda), L"A&juda");
    ACCEL stAtalho{FVIRTKEY, VK_F1, static_cast<WORD>(mnComoUtilizar)};
    m_hAtalhos = CreateAcceleratorTableW(&stAtalho, 1);

    // Not resizable: the controls sit at fixed positions. Centred on the screen's work area.
    constexpr DWORD dwEstilo = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const SIZE stTamanho = TamanhoJanela(principal_UnidadesParaPixelsX(D_PRINCIPAL_LARGURA_DIALOGO),
                                         principal_UnidadesParaPixelsY(D_PRINCIPAL_ALTURA_CLIENTE), dwEstilo, true);
    RECT rcTrabalho{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcTrabalho, 0);
    m_hJanela = CreateWindowExW(0, kClassePrincipal, L"Quibar Zavoro", dwEstilo,
                                std::max(0L, (rcTrabalho.left + rcTrabalho.right - stTamanho.cx) / 2),
                                std::max(0L, (rcTrabalho.top + rcTrabalho.bottom - stTamanho.cy) / 2), stTamanho.cx,
                                stTamanho.cy, nullptr, hMenu, hInstancia, this);
    if (m_hJanela == nullptr)
        return false;
    CriarControles(hInstancia);
    PreencherServicos();
    Executar([this] { principal_InitDialogHandler(m_pstJanela.get()); });
    ShowWindow(m_hJanela, iMostrar);
    UpdateWindow(m_hJanela);
    return true;
}

void JanelaWin32::PreencherServicos()
{
    ST_ServicosPlataforma& stServicos = m_pstJanela->stServicos;
    stServicos.pContexto = this;
    stServicos.pfMensagem = MensagemWin32;
    stServicos.pfAbrirArquivos = AbrirArquivosWin32;
    stServicos.pfEscolherDiretorio = EscolherDiretorioWin32;
    stServicos.pfAbrirDocumento = AbrirDocumentoWin32;
    stServicos.pfMostrarSobre = [](void* pContexto) { principalWin32_MostrarSobre(Adaptador(pContexto)->Janela()); };
    stServicos.pfPostar = PostarWin32;
    stServicos.pfEncerrarProcesso = [](void* pContexto, int iCodigo) {
        JanelaWin32* pJanela = Adaptador(pContexto);
        pJanela->m_iCodigoSaida = iCodigo;
        PostQuitMessage(iCodigo);
    };
    // The help ships beside the executable.
    std::wstring szExecutavel(32768, L'\0');
    szExecutavel.resize(GetModuleFileNameW(nullptr, szExecutavel.data(), static_cast<DWORD>(szExecutavel.size())));
    const std::string szPasta = funcAux_Utf8(szExecutavel.substr(0, szExecutavel.find_last_of(L"\\/")));
    stServicos.vPastasAjuda = {szPasta};
}

void JanelaWin32::CriarControles(HINSTANCE hInstancia)
{
    for (const ST_Controle& stControle : m_pstJanela->vControles)
    {
        const ST_DefinicaoControle& stDef = *stControle.pstDefinicao;
        const unsigned int uiProp = stDef.uiPropriedades;
        const wchar_t* pcClasse = WC_BUTTONW;
        // No WS_CLIPSIBLINGS: the group boxes come first, above the controls they frame, and would hide them.
        DWORD dwEstilo = WS_CHILD;
        DWORD dwEstiloEx = 0;
        switch (stDef.eClasse)
        {
        case E_ClasseControle::GrupoBox:
            dwEstilo |= BS_GROUPBOX;
            break;
        case E_ClasseControle::Radio:
            // The logic decides which one is checked.
            dwEstilo |= BS_RADIOBUTTON | WS_TABSTOP;
            break;
        case E_ClasseControle::Botao:
            dwEstilo |= BS_PUSHBUTTON | WS_TABSTOP | ((uiProp & D_PRINCIPAL_CONTROLE_PLANO) ? BS_FLAT : 0);
            break;
        case E_ClasseControle::Edicao:
            pcClasse = WC_EDITW;
            dwEstilo |= WS_TABSTOP;
            if (uiProp & D_PRINCIPAL_CONTROLE_MULTILINHA)
                dwEstilo |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
            else
                dwEstilo |= ES_AUTOHSCROLL;
            if (uiProp & D_PRINCIPAL_CONTROLE_SOMENTE_LEITURA)
                dwEstilo |= ES_READONLY;
            if (uiProp & D_PRINCIPAL_CONTROLE_CENTRALIZADO)
                dwEstilo |= ES_CENTER;
            if (uiProp & D_PRINCIPAL_CONTROLE_SO_DIGITOS)
                dwEstilo |= ES_NUMBER;
            if (uiProp & D_PRINCIPAL_CONTROLE_BORDA)
                dwEstiloEx |= WS_EX_CLIENTEDGE;
            break;
        case E_ClasseControle::Rotulo:
            pcClasse = WC_STATICW;
            dwEstilo |= (uiProp & D_PRINCIPAL_CONTROLE_CENTRALIZADO) ? SS_CENTER : SS_LEFT;
            break;
        case E_ClasseControle::BarraProgresso:
            pcClasse = PROGRESS_CLASSW;
            dwEstilo |= PBS_MARQUEE;
            break;
        case E_ClasseControle::ListaSuspensa:
            pcClasse = WC_COMBOBOXW;
            dwEstilo |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
            break;
        case E_ClasseControle::Retangulo:
            pcClasse = WC_STATICW;
            dwEstilo |= SS_WHITERECT;
            break;
        }
        // The template's height of a drop-down list is its dropped list's, as Win32 takes it.
        HWND hControle = CreateWindowExW(dwEstiloEx, pcClasse, L"", dwEstilo, stControle.iX, stControle.iY,
                                         stControle.iLargura, stControle.iAltura, m_hJanela,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(stDef.iId)), hInstancia, nullptr);
        SendMessageW(hControle, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFonte), FALSE);
        m_controles[stDef.iId] = hControle;
    }
}

HWND JanelaWin32::Controle(int iId) const
{
    auto it = m_controles.find(iId);
    return it == m_controles.end() ? nullptr : it->second;
}

void JanelaWin32::Executar(const std::function<void()>& fn)
{
    fn();
    Sincronizar();
    if (m_pstJanela->gucFormulario == 0 && !m_bFechando)
    {
        m_bFechando = true;
        DestroyWindow(m_hJanela);
    }
}

int JanelaWin32::Executar()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        if (m_hJanela != nullptr && TranslateAcceleratorW(m_hJanela, m_hAtalhos, &msg))
            continue;
        if (m_hJanela != nullptr && IsDialogMessageW(m_hJanela, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return m_iCodigoSaida != 0 ? m_iCodigoSaida : static_cast<int>(msg.wParam);
}

void JanelaWin32::Sincronizar()
{
    if (m_hJanela == nullptr)
        return;
    ST_Janela* pstJanela = m_pstJanela.get();
    m_bSincronizando = true;
    if (!pstJanela->szTitulo.empty() && pstJanela->szTitulo != TextoJanela(m_hJanela))
        SetWindowTextW(m_hJanela, funcAux_Utf16(pstJanela->szTitulo).c_str());
    // Painting may move the target edits, so it is laid out before the controls are placed; it
    // changes only when the logic asked for a repaint.
    if (pstJanela->bRepintar)
        m_stPintura = principal_PaintHandler(pstJanela);

    for (const ST_Controle& stControle : pstJanela->vControles)
    {
        const ST_DefinicaoControle& stDef = *stControle.pstDefinicao;
        HWND hControle = Controle(stDef.iId);
        std::string szEstado = stControle.szTexto;
        if (stDef.eClasse == E_ClasseControle::ListaSuspensa)
        {
            // The items stand for the text of a drop-down list.
            szEstado.clear();
            for (const std::string& szItem : stControle.vItens)
                szEstado += szItem + '\n';
        }
        auto itTexto = m_textos.find(stDef.iId);
        const bool bMudou = itTexto == m_textos.end() || itTexto->second != szEstado;
        switch (stDef.eClasse)
        {
        case E_ClasseControle::ListaSuspensa:
            if (bMudou)
            {
                SendMessageW(hControle, CB_RESETCONTENT, 0, 0);
                for (const std::string& szItem : stControle.vItens)
                    SendMessageW(hControle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(funcAux_Utf16(szItem).c_str()));
            }
            if (SendMessageW(hControle, CB_GETCURSEL, 0, 0) != stControle.iSelecao)
                SendMessageW(hControle, CB_SETCURSEL, static_cast<WPARAM>(stControle.iSelecao), 0);
            break;
        case E_ClasseControle::BarraProgresso:
            SendMessageW(hControle, PBM_SETMARQUEE, stControle.bMarquee, 30);
            break;
        case E_ClasseControle::Retangulo:
            break;
        default:
            if (bMudou)
            {
                SetWindowTextW(hControle, funcAux_Utf16(stControle.szTexto).c_str());
                // The result list grows with every file: the newest block is the one to read.
                if (stDef.uiPropriedades & D_PRINCIPAL_CONTROLE_MULTILINHA)
                {
                    const int iFim = GetWindowTextLengthW(hControle);
                    SendMessageW(hControle, EM_SETSEL, static_cast<WPARAM>(iFim), iFim);
                    SendMessageW(hControle, EM_SCROLLCARET, 0, 0);
                }
            }
            if (stDef.eClasse == E_ClasseControle::Radio &&
                (SendMessageW(hControle, BM_GETCHECK, 0, 0) == BST_CHECKED) != stControle.bMarcado)
                SendMessageW(hControle, BM_SETCHECK, stControle.bMarcado ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        }
        m_textos[stDef.iId] = std::move(szEstado);

        // A substitute face may be wider than the dialog's own: a radio button's text runs on into the
        // free space on its right instead of being cut.
        int iLargura = stControle.iLargura;
        if (stDef.eClasse == E_ClasseControle::Radio)
            iLargura = std::max(iLargura, LarguraTexto(hControle, stControle.szTexto) + kMargemRadio);
        RECT rc{};
        GetWindowRect(hControle, &rc);
        MapWindowPoints(HWND_DESKTOP, m_hJanela, reinterpret_cast<POINT*>(&rc), 2);
        const bool bLista = stDef.eClasse == E_ClasseControle::ListaSuspensa;
        if (rc.left != stControle.iX || rc.top != stControle.iY || rc.right - rc.left != iLargura ||
            (!bLista && rc.bottom - rc.top != stControle.iAltura))
            MoveWindow(hControle, stControle.iX, stControle.iY, iLargura, stControle.iAltura, TRUE);
        if ((IsWindowEnabled(hControle) != FALSE) != stControle.bHabilitado)
            EnableWindow(hControle, stControle.bHabilitado);
        const bool bVisivel = principal_ControleVisivel(pstJanela, stDef.iId);
        if ((IsWindowVisible(hControle) != FALSE) != bVisivel)
            ShowWindow(hControle, bVisivel ? SW_SHOWNA : SW_HIDE);
    }
    if (pstJanela->bRepintar)
        InvalidateRect(m_hJanela, nullptr, TRUE);
    pstJanela->bRepintar = false;
    m_bSincronizando = false;
}

void JanelaWin32::Comando(WPARAM wParam, LPARAM lParam)
{
    const int iId = LOWORD(wParam);
    const unsigned int uiNotificacao = HIWORD(wParam);
    ST_Janela* pstJanela = m_pstJanela.get();
    if (lParam == 0)
    {
        // Menu item or accelerator.
        Executar([&] { principal_CommandHandler(pstJanela, static_cast<unsigned int>(iId)); });
        return;
    }
    if (m_bSincronizando || m_controles.count(iId) == 0)
        return;
    switch (principal_Controle(pstJanela, iId).pstDefinicao->eClasse)
    {
    case E_ClasseControle::Radio:
    case E_ClasseControle::Botao:
        if (uiNotificacao == BN_CLICKED)
            Executar([&] { principal_CommandHandler(pstJanela, static_cast<unsigned int>(iId)); });
        break;
    case E_ClasseControle::Edicao:
        if (uiNotificacao == EN_CHANGE)
        {
            const std::string szTexto = TextoJanela(reinterpret_cast<HWND>(lParam));
            m_textos[iId] = szTexto;
            Executar([&] {
                principal_SetarTexto(pstJanela, iId, szTexto);
                principal_CommandHandler(pstJanela, static_cast<unsigned int>(iId) | (D_PRINCIPAL_EN_CHANGE << 16));
            });
        }
        break;
    case E_ClasseControle::ListaSuspensa:
        if (uiNotificacao == CBN_SELCHANGE)
            Executar([&] {
                principal_Controle(pstJanela, iId).iSelecao =
                    static_cast<int>(SendMessageW(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0));
                principal_CommandHandler(pstJanela, static_cast<unsigned int>(iId));
            });
        break;
    default:
        break;
    }
}

void JanelaWin32::Pintar(HDC hdc)
{
    ST_Janela* pstJanela = m_pstJanela.get();
    if (pstJanela->giModoUtilizacao == D_PRINCIPAL_MODO_UTILIZACAO_VISUALIZACAO_MAPAS)
    {
        const ST_ImpressaoMapas stMapas = principal_ImprimirMapas(pstJanela);
        for (int iMapa = 0; iMapa < 2; iMapa++)
            desenhoGdi_Copiar(m_pstImagens->stMapa[iMapa], hdc, stMapas.stCanto[iMapa].iX, stMapas.stCanto[iMapa].iY);
        return;
    }
    for (const ST_CaixaPintura& stCaixa : m_stPintura.vCaixas)
    {
        Preencher(hdc, stCaixa, 0x000000, 0);
        Preencher(hdc, stCaixa, stCaixa.ulCor, 1);
    }
    for (const ST_CaixaPintura& stTraco : m_stPintura.vTracos)
        Preencher(hdc, stTraco, stTraco.ulCor, 0);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(0, 0, 0));
    for (const ST_TextoPintura& stTexto : m_stPintura.vTextos)
        TextoCentralizado(hdc, stTexto);
}

void JanelaWin32::AbrirAmpliada(int iMapa)
{
    // The window keeps its own copy of the picture it was opened with.
    auto* pstCopia = new ST_SuperficieGdi;
    if (!desenhoGdi_CriarSuperficie(pstCopia, D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX))
    {
        delete pstCopia;
        return;
    }
    desenhoGdi_Copiar(m_pstImagens->stMapaMax[iMapa], pstCopia->hdc, 0, 0);
    constexpr DWORD dwEstilo = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    const SIZE stTamanho = TamanhoJanela(principal_UnidadesParaPixelsX(D_PRINCIPAL_LARGURA_MAPA_MAX),
                                         principal_UnidadesParaPixelsY(D_PRINCIPAL_ALTURA_MAPA_MAX), dwEstilo, false);
    m_hAmpliada = CreateWindowExW(0, kClasseMapa,
                                  funcAux_Utf16(principal_InitDialogVisualizacaoMapa(m_pstJanela.get())).c_str(),
                                  dwEstilo, CW_USEDEFAULT, CW_USEDEFAULT, stTamanho.cx, stTamanho.cy, m_hJanela,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_hAmpliada == nullptr)
    {
        delete pstCopia;
        return;
    }
    SetWindowLongPtrW(m_hAmpliada, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pstCopia));
    ShowWindow(m_hAmpliada, SW_SHOW);
}

LRESULT CALLBACK JanelaWin32::ProcedimentoJanela(HWND hJanela, UINT uiMensagem, WPARAM wParam, LPARAM lParam)
{
    if (uiMensagem == WM_NCCREATE)
    {
        auto* pJanela = static_cast<JanelaWin32*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        pJanela->m_hJanela = hJanela;
        SetWindowLongPtrW(hJanela, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pJanela));
    }
    auto* pJanela = reinterpret_cast<JanelaWin32*>(GetWindowLongPtrW(hJanela, GWLP_USERDATA));
    if (pJanela == nullptr)
        return DefWindowProcW(hJanela, uiMensagem, wParam, lParam);
    return pJanela->Tratar(uiMensagem, wParam, lParam);
}

LRESULT JanelaWin32::Tratar(UINT uiMensagem, WPARAM wParam, LPARAM lParam)
{
    switch (uiMensagem)
    {
    case WM_COMMAND:
        Comando(wParam, lParam);
        return 0;
    case kMensagemExecutar: {
        std::unique_ptr<std::function<void()>> pfn(reinterpret_cast<std::function<void()>*>(lParam));
        Executar(*pfn);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(m_hJanela, &ps);
        Pintar(hdc);
        EndPaint(m_hJanela, &ps);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Every window of the program is white behind its controls.
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(m_hBranco);
    case WM_LBUTTONDBLCLK: {
        const int iMapa = principal_MapaDuploClique(m_pstJanela.get(), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (iMapa >= 0)
            AbrirAmpliada(iMapa);
        return 0;
    }
    case WM_CLOSE:
        principal_CloseHandler(m_pstJanela.get());
        // Running workers are asked to stop and waited for when the window is destroyed.
        if (!m_bFechando)
        {
            m_bFechando = true;
            DestroyWindow(m_hJanela);
        }
        return 0;
    case WM_DESTROY:
        principal_EncerrarTrabalhos(m_pstJanela.get());
        PostQuitMessage(m_iCodigoSaida);
        return 0;
    case WM_NCDESTROY:
        m_hJanela = nullptr;
        break;
    }
    return DefWindowProcW(m_hJanela, uiMensagem, wParam, lParam);
}
