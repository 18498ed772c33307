// Drawing surfaces over GDI. GDI's own rules are the surface's: rectangles are filled edge by edge,
// lines leave their end point out, polygons fill alternately, text is placed by its top-left corner.
#include "desenhoGdi/superficieGdi.h"

#include <vector>

namespace
{
constexpr int kAlturaFonte = 12;

ST_SuperficieGdi* Superficie(void* pContexto)
{
    return static_cast<ST_SuperficieGdi*>(pContexto);
}

COLORREF Cor(std::uint32_t ulCor)
{
    return RGB((ulCor >> 16) & 0xFF, (ulCor >> 8) & 0xFF, ulCor & 0xFF);
}

void Preencher(HDC hdc, int iX0, int iY0, int iX1, int iY1, std::uint32_t ulCor)
{
    const RECT rc{iX0, iY0, iX1, iY1};
    HBRUSH hPincel = CreateSolidBrush(Cor(ulCor));
    FillRect(hdc, &rc, hPincel);
    DeleteObject(hPincel);
}

void Retangulo(void* pContexto, int iX0, int iY0, int iX1, int iY1, std::uint32_t ulCorBorda,
               std::uint32_t ulCorPreenchimento)
{
    if (iX1 <= iX0 || iY1 <= iY0)
        return;
    HDC hdc = Superficie(pContexto)->hdc;
    // The outline takes the outermost pixels of the rectangle, the fill what lies inside them.
    Preencher(hdc, iX0, iY0, iX1, iY1, ulCorBorda);
    if (iX1 - iX0 > 2 && iY1 - iY0 > 2)
        Preencher(hdc, iX0 + 1, iY0 + 1, iX1 - 1, iY1 - 1, ulCorPreenchimento);
}

void Linha(void* pContexto, int iX0, int iY0, int iX1, int iY1, std::uint32_t ulCor)
{
    if (iX0 == iX1 && iY0 == iY1)
        return;
    HDC hdc = Superficie(pContexto)->hdc;
    HPEN hCaneta = CreatePen(PS_SOLID, 1, Cor(ulCor));
    HGDIOBJ hAnterior = SelectObject(hdc, hCaneta);
    MoveToEx(hdc, iX0, iY0, nullptr);
    LineTo(hdc, iX1, iY1);
    SelectObject(hdc, hAnterior);
    DeleteObject(hCaneta);
}

void Poligono(void* pContexto, const ST_PontoTela* pstPontos, int iNumPontos, std::uint32_t ulCorCaneta,
              std::uint32_t ulCorPincel)
{
    if (pstPontos == nullptr || iNumPontos < 2)
        return;
    std::vector<POINT> vPontos(static_cast<std::size_t>(iNumPontos));
    for (int i = 0; i < iNumPontos; i++)
        vPontos[static_cast<std::size_t>(i)] = POINT{pstPontos[i].iX, pstPontos[i].iY};
    HDC hdc = Superficie(pContexto)->hdc;
    HPEN hCaneta = CreatePen(PS_SOLID, 1, Cor(ulCorCaneta));
    HBRUSH hPincel = CreateSolidBrush(Cor(ulCorPincel));
    HGDIOBJ hCanetaAnterior = SelectObject(hdc, hCaneta);
    HGDIOBJ hPincelAnterior = SelectObject(hdc, hPincel);
    SetPolyFillMode(hdc, ALTERNATE);
    Polygon(hdc, vPontos.data(), iNumPontos);
    SelectObject(hdc, hCanetaAnterior);
    SelectObject(hdc, hPincelAnterior);
    DeleteObject(hCaneta);
    DeleteObject(hPincel);
}

void Texto(void* pContexto, int iX, int iY, const char* pcTexto, std::uint32_t ulCor)
{
    if (pcTexto == nullptr || *pcTexto == '\0')
        return;
    HDC hdc = Superficie(pContexto)->hdc;
    const std::wstring szTexto = funcAux_Utf16(pcTexto);
    SetTextColor(hdc, Cor(ulCor));
    TextOutW(hdc, iX, iY, szTexto.c_str(), static_cast<int>(szTexto.size()));
}

void MedirTexto(void* pContexto, const char* pcTexto, int* piLargura, int* piAltura)
{
    HDC hdc = Superficie(pContexto)->hdc;
    const std::wstring szTexto = pcTexto == nullptr ? std::wstring() : funcAux_Utf16(pcTexto);
    SIZE stTamanho{};
    GetTextExtentPoint32W(hdc, szTexto.c_str(), static_cast<int>(szTexto.size()), &stTamanho);
    TEXTMETRICW stMetricas{};
    GetTextMetricsW(hdc, &stMetricas);
    if (piLargura != nullptr)
        *piLargura = stTamanho.cx;
    if (piAltura != nullptr)
        *piAltura = stMetricas.tmHeight;
}
} // namespace

ST_SuperficieGdi::~ST_SuperficieGdi()
{
    if (hdc != nullptr)
    {
        SelectObject(hdc, hBitmapAnterior);
        DeleteDC(hdc);
    }
    if (hBitmap != nullptr)
        DeleteObject(hBitmap);
    if (hFonte != nullptr)
        DeleteObject(hFonte);
}

BOOL desenhoGdi_CriarSuperficie(ST_SuperficieGdi* pstSuperficie, int iLargura, int iAltura)
{
    HDC hdcTela = GetDC(nullptr);
    pstSuperficie->hdc = CreateCompatibleDC(hdcTela);
    pstSuperficie->hBitmap = CreateCompatibleBitmap(hdcTela, iLargura, iAltura);
    ReleaseDC(nullptr, hdcTela);
    if (pstSuperficie->hdc == nullptr || pstSuperficie->hBitmap == nullptr)
        return FALSE;
    pstSuperficie->hBitmapAnterior = SelectObject(pstSuperficie->hdc, pstSuperficie->hBitmap);
    Preencher(pstSuperficie->hdc, 0, 0, iLargura, iAltura, 0xFFFFFF);

    // The viewer's font: 12 pixels, normal weight, the dialogs' sans face.
    pstSuperficie->hFonte = CreateFontW(-kAlturaFonte, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    SelectObject(pstSuperficie->hdc, pstSuperficie->hFonte);
    SetBkMode(pstSuperficie->hdc, TRANSPARENT);

    pstSuperficie->stSuperficie = ST_SuperficieDesenho{.pContexto = pstSuperficie,
                                                       .iLargura = iLargura,
                                                       .iAltura = iAltura,
                                                       .pfRetangulo = Retangulo,
                                                       .pfLinha = Linha,
                                                       .pfPoligono = Poligono,
                                                       .pfTexto = Texto,
                                                       .pfMedirTexto = MedirTexto};
    return TRUE;
}

BOOL desenhoGdi_CriarImagensMapas(ST_ImagensMapasGdi* pstImagens, ST_VisualizadorMapas* pstVisualizador)
{
    for (int i = 0; i < 2; i++)
    {
        if (!desenhoGdi_CriarSuperficie(&pstImagens->stMapa[i], D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA) ||
            !desenhoGdi_CriarSuperficie(&pstImagens->stMapaMax[i], D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX))
            return FALSE;
        pstVisualizador->stMapa[i] = pstImagens->stMapa[i].stSuperficie;
        pstVisualizador->stMapaMax[i] = pstImagens->stMapaMax[i].stSuperficie;
    }
    return TRUE;
}

void desenhoGdi_Copiar(const ST_SuperficieGdi& stSuperficie, HDC hdcDestino, int iX, int iY)
{
    BitBlt(hdcDestino, iX, iY, stSuperficie.stSuperficie.iLargura, stSuperficie.stSuperficie.iAltura, stSuperficie.hdc,
           0, 0, SRCCOPY);
}
