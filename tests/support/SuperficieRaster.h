// A plain software picture behind ST_SuperficieDesenho, so tests can look at the pixels the map
// renderer draws without a window system.
//
//   - pixels are 0x00RRGGBB, (0, 0) top-left; everything is clipped to the picture;
//   - a rectangle fills [x0, x1) x [y0, y1) and then outlines its border pixels;
//   - a line sets every pixel from its start up to, not including, its end (Bresenham);
//   - a polygon fills every pixel whose centre (x + 0.5, y + 0.5) lies inside by the even-odd rule,
//     then outlines its closed edges as lines;
//   - text is not rasterised: it is recorded as (x, y, text, colour) and measures 6 px per character
//     (UTF-8 code point) by 12 px. A later rectangle that covers a text's whole box removes it.
//
// A real painter may place an edge one pixel either way, so tests sample pixels well inside or well
// outside a shape, never on its border.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zavoro/desenhoMapa.h"

namespace zavoro_teste
{

struct TextoDesenhado
{
    int iX = 0;
    int iY = 0;
    std::string szTexto;
    std::uint32_t ulCor = 0;
};

class SuperficieRaster
{
public:
    SuperficieRaster(int iLargura, int iAltura, std::uint32_t ulCorInicial = 0xFFFFFF);
    SuperficieRaster(const SuperficieRaster&) = delete;
    SuperficieRaster& operator=(const SuperficieRaster&) = delete;

    // Callbacks bound to this picture; valid while it lives.
    ST_SuperficieDesenho superficie();

    // Colour of a pixel; 0xFFFFFFFF outside the picture.
    std::uint32_t pixel(int iX, int iY) const;
    // Pixels of a colour inside [x0, x1) x [y0, y1).
    int contar(std::uint32_t ulCor, int iX0, int iY0, int iX1, int iY1) const;
    int largura() const { return m_iLargura; }
    const std::vector<TextoDesenhado>& textos() const { return m_vTextos; }
    // The visible text exactly equal to szTexto, or null.
    const TextoDesenhado* procurarTexto(const std::string& szTexto) const;

    void retangulo(int iX0, int iY0, int iX1, int iY1, std::uint32_t ulBorda, std::uint32_t ulPreenchimento);
    void linha(int iX0, int iY0, int iX1, int iY1, std::uint32_t ulCor);
    void poligono(const ST_PontoTela* pst, int iNum, std::uint32_t ulCaneta, std::uint32_t ulPincel);
    void texto(int iX, int iY, const char* pc, std::uint32_t ulCor);
    static void medir(const char* pc, int* piLargura, int* piAltura);

private:
    void pintar(int iX, int iY, std::uint32_t ulCor);

    int m_iLargura;
    int m_iAltura;
    std::vector<std::uint32_t> m_vPixels;
    std::vector<TextoDesenhado> m_vTextos;
};

} // namespace zavoro_teste
