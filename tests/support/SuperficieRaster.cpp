#include "support/SuperficieRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zavoro_teste
{

namespace
{

constexpr int kLarguraCaractere = 6;
constexpr int kAlturaTexto = 12;

SuperficieRaster* Raster(void* p)
{
    return static_cast<SuperficieRaster*>(p);
}

int PontosCodigo(const char* pc)
{
    int n = 0;
    for (; *pc != '\0'; pc++)
        if ((static_cast<unsigned char>(*pc) & 0xC0) != 0x80)
            n++;
    return n;
}

} // namespace

SuperficieRaster::SuperficieRaster(int iLargura, int iAltura, std::uint32_t ulCorInicial)
    : m_iLargura(iLargura), m_iAltura(iAltura),
      m_vPixels(static_cast<std::size_t>(iLargura) * static_cast<std::size_t>(iAltura), ulCorInicial)
{
}

ST_SuperficieDesenho SuperficieRaster::superficie()
{
    ST_SuperficieDesenho st;
    st.pContexto = this;
    st.iLargura = m_iLargura;
    st.iAltura = m_iAltura;
    st.pfRetangulo = [](void* p, int x0, int y0, int x1, int y1, std::uint32_t b, std::uint32_t f) {
        Raster(p)->retangulo(x0, y0, x1, y1, b, f);
    };
    st.pfLinha = [](void* p, int x0, int y0, int x1, int y1, std::uint32_t c) { Raster(p)->linha(x0, y0, x1, y1, c); };
    st.pfPoligono = [](void* p, const ST_PontoTela* pst, int n, std::uint32_t c, std::uint32_t f) {
        Raster(p)->poligono(pst, n, c, f);
    };
    st.pfTexto = [](void* p, int x, int y, const char* pc, std::uint32_t c) { Raster(p)->texto(x, y, pc, c); };
    st.pfMedirTexto = [](void*, const char* pc, int* pl, int* pa) { medir(pc, pl, pa); };
    return st;
}

std::uint32_t SuperficieRaster::pixel(int iX, int iY) const
{
    if (iX < 0 || iY < 0 || iX >= m_iLargura || iY >= m_iAltura)
        return 0xFFFFFFFF;
    return m_vPixels[static_cast<std::size_t>(iY) * m_iLargura + iX];
}

int SuperficieRaster::contar(std::uint32_t ulCor, int iX0, int iY0, int iX1, int iY1) const
{
    int n = 0;
    for (int y = iY0; y < iY1; y++)
        for (int x = iX0; x < iX1; x++)
            n += pixel(x, y) == ulCor;
    return n;
}

const TextoDesenhado* SuperficieRaster::procurarTexto(const std::string& szTexto) const
{
    for (const TextoDesenhado& st : m_vTextos)
        if (st.szTexto == szTexto)
            return &st;
    return nullptr;
}

void SuperficieRaster::pintar(int iX, int iY, std::uint32_t ulCor)
{
    if (iX >= 0 && iY >= 0 && iX < m_iLargura && iY < m_iAltura)
        m_vPixels[static_cast<std::size_t>(iY) * m_iLargura + iX] = ulCor;
}

void SuperficieRaster::retangulo(int iX0, int iY0, int iX1, int iY1, std::uint32_t ulBorda, std::uint32_t ulPreenchimento)
{
    if (iX1 <= iX0 || iY1 <= iY0)
        return;
    for (int y = std::max(iY0, 0); y < std::min(iY1, m_iAltura); y++)
        for (int x = std::max(iX0, 0); x < std::min(iX1, m_iLargura); x++)
            pintar(x, y, (x == iX0 || x == iX1 - 1 || y == iY0 || y == iY1 - 1) ? ulBorda : ulPreenchimento);
    std::erase_if(m_vTextos, [&](const TextoDesenhado& st) {
        int iLargura = 0, iAltura = 0;
        medir(st.szTexto.c_str(), &iLargura, &iAltura);
        return st.iX >= iX0 && st.iY >= iY0 && st.iX + iLargura <= iX1 && st.iY + iAltura <= iY1;
    });
}

void SuperficieRaster::linha(int iX0, int iY0, int iX1, int iY1, std::uint32_t ulCor)
{
    // Lines wholly outside the picture are skipped, so far-off coordinates cost nothing.
    if (std::max(iX0, iX1) < 0 || std::max(iY0, iY1) < 0 || std::min(iX0, iX1) >= m_iLargura ||
        std::min(iY0, iY1) >= m_iAltura)
        return;
    const long long dx = std::llabs(static_cast<long long>(iX1) - iX0);
    const long long dy = -std::llabs(static_cast<long long>(iY1) - iY0);
    const int sx = iX0 < iX1 ? 1 : -1, sy = iY0 < iY1 ? 1 : -1;
    long long erro = dx + dy;
    int x = iX0, y = iY0;
    while (x != iX1 || y != iY1)
    {
        pintar(x, y, ulCor);
        const long long e2 = 2 * erro;
        if (e2 >= dy)
            erro += dy, x += sx;
        if (e2 <= dx)
            erro += dx, y += sy;
    }
}

void SuperficieRaster::poligono(const ST_PontoTela* pst, int iNum, std::uint32_t ulCaneta, std::uint32_t ulPincel)
{
    if (iNum < 2)
        return;
    auto PorY = [](const ST_PontoTela& a, const ST_PontoTela& b) { return a.iY < b.iY; };
    const auto [pMin, pMax] = std::minmax_element(pst, pst + iNum, PorY);
    std::vector<double> vCortes;
    for (int y = std::max(pMin->iY, 0); y < std::min(pMax->iY, m_iAltura); y++)
    {
        const double dY = y + 0.5;
        vCortes.clear();
        for (int i = 0; i < iNum; i++)
        {
            const ST_PontoTela& a = pst[i];
            const ST_PontoTela& b = pst[(i + 1) % iNum];
            // Half-open in y, so a vertex on the scan line is counted once.
            if ((a.iY <= dY) != (b.iY <= dY))
                vCortes.push_back(a.iX + (dY - a.iY) * (static_cast<double>(b.iX) - a.iX) / (static_cast<double>(b.iY) - a.iY));
        }
        std::sort(vCortes.begin(), vCortes.end());
        for (std::size_t k = 0; k + 1 < vCortes.size(); k += 2)
        {
            // Pixels whose centre x + 0.5 lies in [left, right).
            const double dInicio = std::ceil(std::max(vCortes[k] - 0.5, -1.0));
            const double dFim = std::ceil(std::min(vCortes[k + 1] - 0.5, static_cast<double>(m_iLargura)));
            for (int x = static_cast<int>(dInicio); x < static_cast<int>(dFim); x++)
                pintar(x, y, ulPincel);
        }
    }
    for (int i = 0; i < iNum; i++)
    {
        const ST_PontoTela& a = pst[i];
        const ST_PontoTela& b = pst[(i + 1) % iNum];
        linha(a.iX, a.iY, b.iX, b.iY, ulCaneta);
    }
}

void SuperficieRaster::texto(int iX, int iY, const char* pc, std::uint32_t ulCor)
{
    m_vTextos.push_back({iX, iY, pc, ulCor});
}

void SuperficieRaster::medir(const char* pc, int* piLargura, int* piAltura)
{
    *piLargura = kLarguraCaractere * PontosCodigo(pc);
    *piAltura = kAlturaTexto;
}

} // namespace zavoro_teste
