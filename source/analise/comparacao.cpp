// The comparison engine over GEOS's reentrant C API.
//
// Zones sit in an STRtree. Each coverage polygon is weighed against the zones its box meets as it
// arrives (convex zones clip it directly, others go through GEOS's overlay) and is then cut into square
// cells, its pieces kept as plain rings (pecasCelulas.h: a bounded buffer that spills to a temporary
// file). At the end each cell's pieces are merged, in batches that grow with the union
// (ST_UniaoCelula), and the union weighed against the zones and the field it meets; only one cell's geometry exists at a time. Memory
// follows the zones and that buffer, never the number of polygons nor the ground covered.
#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <limits>
#include <string>
#include <span>
#include <vector>

#include "analise/pecasCelulas.h"
#include "zavoro/analise.h"
#include "zavoro/funcoesAuxiliares.h"

namespace
{
constexpr double kM2PorHa = 10000.0;
// Pieces of one cell waiting to be merged into its union: at least the first, at most the second.
constexpr std::size_t kLoteMinimo = 32;
constexpr std::size_t kLote = 4096;
// Width (metres) of the frame a cell's union starts with.
constexpr double kMoldura = 1.0;
// Pieces closer than this (metres) inside each other count as apart: a sliver that thin has no area to
// print, and shared edges computed twice differ by rounding.
constexpr double kFolga = 1e-6;
// Overlaps between zones smaller than this (m²) are drawing noise, not overlapping zones.
constexpr double kSobreposicaoZonasMinima = 1.0;
// Warnings of one kind listed one by one; the rest are counted.
constexpr int kAvisosPorTipo = 10;
// Grid size (metres) of the snapping retry when a floating overlay fails.
constexpr double kPrecisaoReserva = 0.001;

void GuardarMensagem(const char* pcTexto, void* pContexto)
{
    *static_cast<std::string*>(pContexto) = pcTexto;
}

struct ST_Zona
{
    std::uint32_t ulRegistro = 0;
    // The ring of a zone that is one convex polygon, anticlockwise: a coverage polygon's area inside it
    // is clipped directly, without building the intersection's topology (most prescriptions are grids
    // of such zones, and a job brings millions of such areas).
    AnelPlano vConvexo;
    double dPrescrito = 0.0;
    GEOSGeometry* pGeometria = nullptr;
    const GEOSPreparedGeometry* pPreparada = nullptr;
    double dArea = 0.0; // m²
    double dAreaAplicada = 0.0, dSomaValorArea = 0.0, dAreaEstreita = 0.0, dAreaLarga = 0.0;
    double dAreaCoberta = 0.0; // m² of the coverage's union inside the zone
};
} // namespace

struct ST_ComparacaoPlano
{
    GEOSContextHandle_t h = nullptr;
    std::string szErroGeos;
    std::vector<ST_Zona> vZonas;
    GEOSSTRtree* pArvore = nullptr; // built at the first coverage polygon
    bool bArvorePronta = false;
    std::vector<GEOSGeometry*> vLimites;
    ST_PecasCelulas stPecas;
    double dSomaCobertura = 0.0; // m²
    long lPoligonos = 0;
    std::vector<std::string> vAvisos;
    int iAvisosZona = 0, iAvisosCobertura = 0;
    AnelPlano vTrabalhoA, vTrabalhoB; // the convex clipping's rings, reused
    std::vector<AnelPlano> vAneisPeca; // a clipped piece's rings, reused
    AnelPlano vLimpo; // a coverage ring without its spikes, reused

    ST_ComparacaoPlano()
    {
        h = GEOS_init_r();
        GEOSContext_setErrorMessageHandler_r(h, GuardarMensagem, &szErroGeos);
    }
    ~ST_ComparacaoPlano()
    {
        for (ST_Zona& z : vZonas)
        {
            GEOSPreparedGeom_destroy_r(h, z.pPreparada);
            GEOSGeom_destroy_r(h, z.pGeometria);
        }
        if (pArvore != nullptr)
            GEOSSTRtree_destroy_r(h, pArvore);
        for (GEOSGeometry* p : vLimites)
            GEOSGeom_destroy_r(h, p);
        GEOS_finish_r(h);
    }
    ST_ComparacaoPlano(const ST_ComparacaoPlano&) = delete;
    ST_ComparacaoPlano& operator=(const ST_ComparacaoPlano&) = delete;
};

void ST_LiberarComparacao::operator()(ST_ComparacaoPlano* p) const
{
    delete p;
}

namespace
{
// Owns one geometry of a context.
struct ST_Geom
{
    GEOSContextHandle_t h;
    GEOSGeometry* p;
    ST_Geom(GEOSContextHandle_t hContexto, GEOSGeometry* pGeometria) : h(hContexto), p(pGeometria) {}
    ~ST_Geom()
    {
        if (p != nullptr)
            GEOSGeom_destroy_r(h, p);
    }
    ST_Geom(const ST_Geom&) = delete;
    ST_Geom& operator=(const ST_Geom&) = delete;
    GEOSGeometry* Soltar()
    {
        GEOSGeometry* pSolto = p;
        p = nullptr;
        return pSolto;
    }
};

void Avisar(ST_ComparacaoPlano& st, int* piContador, const std::string& szTexto)
{
    if (++*piContador <= kAvisosPorTipo)
        st.vAvisos.push_back(szTexto);
}

GEOSGeometry* Anel(GEOSContextHandle_t h, const AnelPlano& vAnel)
{
    if (vAnel.size() < 3)
        return nullptr;
    GEOSCoordSequence* pSeq = GEOSCoordSeq_create_r(h, static_cast<unsigned int>(vAnel.size() + 1), 2);
    if (pSeq == nullptr)
        return nullptr;
    for (std::size_t i = 0; i <= vAnel.size(); i++)
    {
        const ST_PontoPlano& p = vAnel[i % vAnel.size()];
        GEOSCoordSeq_setXY_r(h, pSeq, static_cast<unsigned int>(i), p.dX, p.dY);
    }
    return GEOSGeom_createLinearRing_r(h, pSeq); // takes the sequence, also on failure
}

GEOSGeometry* Poligono(GEOSContextHandle_t h, const AnelPlano& vAnel)
{
    GEOSGeometry* pAnel = Anel(h, vAnel);
    return pAnel != nullptr ? GEOSGeom_createPolygon_r(h, pAnel, nullptr, 0) : nullptr;
}

// The points of a GEOS ring into v, not closed; false when it has fewer than three.
bool PontosAnel(GEOSContextHandle_t h, const GEOSGeometry* pAnel, AnelPlano& v)
{
    const GEOSCoordSequence* pSeq = GEOSGeom_getCoordSeq_r(h, pAnel);
    unsigned int uiTamanho = 0;
    v.clear();
    if (pSeq == nullptr || GEOSCoordSeq_getSize_r(h, pSeq, &uiTamanho) == 0 || uiTamanho < 4)
        return false;
    v.resize(uiTamanho - 1);
    for (unsigned int i = 0; i + 1 < uiTamanho; i++)
        GEOSCoordSeq_getXY_r(h, pSeq, i, &v[i].dX, &v[i].dY);
    return true;
}

// A polygon from its outer ring and its holes.
GEOSGeometry* PoligonoComFuros(GEOSContextHandle_t h, std::span<const AnelPlano> vAneis)
{
    if (vAneis.size() == 1)
        return Poligono(h, vAneis[0]);
    std::vector<GEOSGeometry*> vFuros;
    for (std::size_t i = 1; i < vAneis.size(); i++)
        if (GEOSGeometry* p = Anel(h, vAneis[i]))
            vFuros.push_back(p);
    GEOSGeometry* pExterior = vAneis.empty() ? nullptr : Anel(h, vAneis[0]);
    if (pExterior == nullptr)
    {
        for (GEOSGeometry* p : vFuros)
            GEOSGeom_destroy_r(h, p);
        return nullptr;
    }
    // The polygon takes the rings.
    return GEOSGeom_createPolygon_r(h, pExterior, vFuros.data(), static_cast<unsigned int>(vFuros.size()));
}

// Only the polygonal parts of a repaired geometry, as one (multi)polygon; nullptr when none has an area.
GEOSGeometry* PartesPoligonais(GEOSContextHandle_t h, const GEOSGeometry* pg)
{
    std::vector<GEOSGeometry*> vPartes;
    const auto Juntar = [&](const GEOSGeometry* p, const auto& Proprio) -> void {
        const int iTipo = GEOSGeomTypeId_r(h, p);
        if (iTipo == GEOS_POLYGON)
        {
            if (GEOSisEmpty_r(h, p) == 0)
                vPartes.push_back(GEOSGeom_clone_r(h, p));
        }
        else if (iTipo == GEOS_MULTIPOLYGON || iTipo == GEOS_GEOMETRYCOLLECTION)
            for (int i = 0; i < GEOSGetNumGeometries_r(h, p); i++)
                Proprio(GEOSGetGeometryN_r(h, p, i), Proprio);
    };
    Juntar(pg, Juntar);
    if (vPartes.empty())
        return nullptr;
    if (vPartes.size() == 1)
        return vPartes[0];
    return GEOSGeom_createCollection_r(h, GEOS_MULTIPOLYGON, vPartes.data(), static_cast<unsigned int>(vPartes.size()));
}

// Rings to a polygonal geometry: a ring inside another is its hole, whatever the winding; the
// outer rings are merged by their symmetric difference, as even-odd filling draws them.
GEOSGeometry* GeometriaZona(GEOSContextHandle_t h, const std::vector<AnelPlano>& vAneis, bool* pbReparada)
{
    GEOSGeometry* pResultado = nullptr;
    for (const AnelPlano& vAnel : vAneis)
    {
        GEOSGeometry* pAnel = Poligono(h, vAnel);
        if (pAnel == nullptr)
            continue;
        if (GEOSisValid_r(h, pAnel) != 1)
        {
            *pbReparada = true;
            ST_Geom stValido(h, GEOSMakeValid_r(h, pAnel));
            GEOSGeom_destroy_r(h, pAnel);
            pAnel = stValido.p != nullptr ? PartesPoligonais(h, stValido.p) : nullptr;
            if (pAnel == nullptr)
                continue;
        }
        if (pResultado == nullptr)
        {
            pResultado = pAnel;
            continue;
        }
        GEOSGeometry* pNovo = GEOSSymDifference_r(h, pResultado, pAnel);
        if (pNovo == nullptr)
            pNovo = GEOSSymDifferencePrec_r(h, pResultado, pAnel, kPrecisaoReserva);
        GEOSGeom_destroy_r(h, pAnel);
        if (pNovo == nullptr)
            continue;
        GEOSGeom_destroy_r(h, pResultado);
        pResultado = pNovo;
    }
    return pResultado;
}

double Area(GEOSContextHandle_t h, const GEOSGeometry* p)
{
    double d = 0.0;
    return p != nullptr && GEOSArea_r(h, p, &d) == 1 ? d : 0.0;
}

GEOSGeometry* Intersecao(GEOSContextHandle_t h, const GEOSGeometry* a, const GEOSGeometry* b)
{
    GEOSGeometry* p = GEOSIntersection_r(h, a, b);
    return p != nullptr ? p : GEOSIntersectionPrec_r(h, a, b, kPrecisaoReserva);
}

double AreaIntersecao(GEOSContextHandle_t h, const GEOSGeometry* a, const GEOSGeometry* b)
{
    ST_Geom st(h, Intersecao(h, a, b));
    return Area(h, st.p);
}

// How polygon p lies in a zone that is no convex ring (those are clipped by hand): whole inside it,
// meeting it (also when the zone could not be prepared: the overlay decides), or apart.
constexpr int kForaDaZona = 0;
constexpr int kEncontraAZona = 1;
constexpr int kDentroDaZona = 2;
int PosicaoNaZona(GEOSContextHandle_t h, const ST_Zona& z, const GEOSGeometry* p)
{
    if (z.pPreparada == nullptr)
        return kEncontraAZona;
    if (GEOSPreparedContains_r(h, z.pPreparada, p) == 1)
        return kDentroDaZona;
    return GEOSPreparedIntersects_r(h, z.pPreparada, p) == 1 ? kEncontraAZona : kForaDaZona;
}

double AreaAssinada(const AnelPlano& v)
{
    double d = 0.0;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++)
        d += v[j].dX * v[i].dY - v[i].dX * v[j].dY;
    return d / 2.0;
}

double Cruzado(const ST_PontoPlano& o, const ST_PontoPlano& a, const ST_PontoPlano& b)
{
    return (a.dX - o.dX) * (b.dY - o.dY) - (a.dY - o.dY) * (b.dX - o.dX);
}

// The exterior ring of a polygon without holes when it is convex, anticlockwise; empty otherwise.
AnelPlano AnelConvexo(GEOSContextHandle_t h, const GEOSGeometry* p)
{
    if (GEOSGeomTypeId_r(h, p) != GEOS_POLYGON || GEOSGetNumInteriorRings_r(h, p) != 0)
        return {};
    AnelPlano v;
    if (!PontosAnel(h, GEOSGetExteriorRing_r(h, p), v))
        return {};
    if (AreaAssinada(v) < 0.0)
        std::reverse(v.begin(), v.end());
    for (std::size_t i = 0; i < v.size(); i++)
        if (Cruzado(v[i], v[(i + 1) % v.size()], v[(i + 2) % v.size()]) < 0.0)
            return {};
    return v;
}

// Area of a simple ring inside a convex anticlockwise one: the ring is cut by each edge's half-plane
// in turn (the cut ring may run along the edges twice, which adds no area).
double AreaRecorteConvexo(const AnelPlano& vSujeito, const AnelPlano& vConvexo, AnelPlano& vA, AnelPlano& vB)
{
    vA = vSujeito;
    const std::size_t nConvexo = vConvexo.size();
    for (std::size_t e = 0; e < nConvexo && !vA.empty(); e++)
    {
        const ST_PontoPlano& a = vConvexo[e];
        const ST_PontoPlano& b = vConvexo[e + 1 == nConvexo ? 0 : e + 1];
        vB.clear();
        // Each vertex's side of the edge taken once (the next vertex's is the one after it).
        const std::size_t n = vA.size();
        const double dPrimeiro = Cruzado(a, b, vA[0]);
        double dP = dPrimeiro;
        for (std::size_t i = 0; i < n; i++)
        {
            const bool bUltimo = i + 1 == n;
            const ST_PontoPlano& p = vA[i];
            const ST_PontoPlano& q = vA[bUltimo ? 0 : i + 1];
            const double dQ = bUltimo ? dPrimeiro : Cruzado(a, b, q);
            if (dP >= 0.0)
                vB.push_back(p);
            if ((dP >= 0.0) != (dQ >= 0.0))
            {
                const double t = dP / (dP - dQ);
                vB.push_back({p.dX + t * (q.dX - p.dX), p.dY + t * (q.dY - p.dY)});
            }
            dP = dQ;
        }
        std::swap(vA, vB);
    }
    return vA.size() < 3 ? 0.0 : std::fabs(AreaAssinada(vA));
}

struct ST_Caixa
{
    double dXmin = 0, dYmin = 0, dXmax = 0, dYmax = 0;
};

// +1 for a convex anticlockwise ring, -1 for a convex clockwise one, 0 for any other (a straight
// angle counts as convex).
int Convexidade(const AnelPlano& v)
{
    if (v.size() < 3)
        return 0;
    const double dArea = AreaAssinada(v);
    if (!(std::fabs(dArea) > 0.0))
        return 0;
    const int iSinal = dArea > 0.0 ? 1 : -1;
    for (std::size_t i = 0; i < v.size(); i++)
        if (iSinal * Cruzado(v[i], v[(i + 1) % v.size()], v[(i + 2) % v.size()]) < 0.0)
            return 0;
    return iSinal;
}

// Whether the line of an edge of ring a has all of a on one side and all of b on the other, points
// allowed up to kFolga across it: the two then share no area beyond a sliver that thin (any shape;
// for convex rings some edge always does when they are apart).
bool SeparadoPorAresta(const AnelPlano& a, const AnelPlano& b)
{
    for (std::size_t i = 0; i < a.size(); i++)
    {
        const ST_PontoPlano& p = a[i];
        const ST_PontoPlano& q = a[(i + 1) % a.size()];
        const double dFolga = kFolga * std::hypot(q.dX - p.dX, q.dY - p.dY);
        if (!(dFolga > 0.0))
            continue;
        const auto Lado = [&](const AnelPlano& v, double dSinal) {
            return std::all_of(v.begin(), v.end(), [&](const ST_PontoPlano& r) { return dSinal * Cruzado(p, q, r) >= -dFolga; });
        };
        if ((Lado(a, 1.0) && Lado(b, -1.0)) || (Lado(a, -1.0) && Lado(b, 1.0)))
            return true;
    }
    return false;
}

bool Iguais(const ST_PontoPlano& a, const ST_PontoPlano& b)
{
    return a.dX == b.dX && a.dY == b.dY;
}

// Cuts a convex ring by the box, one side after the other; the cut points lie exactly on the sides.
// The result (in vA) is convex too.
void RecortarCaixa(const AnelPlano& v, const ST_Caixa& c, AnelPlano& vA, AnelPlano& vB)
{
    vA = v;
    for (int iLado = 0; iLado < 4 && !vA.empty(); iLado++)
    {
        const bool bX = iLado < 2;
        const double dLimite = iLado == 0 ? c.dXmin : iLado == 1 ? c.dXmax : iLado == 2 ? c.dYmin : c.dYmax;
        const auto Dentro = [&](const ST_PontoPlano& p) {
            const double d = bX ? p.dX : p.dY;
            return iLado % 2 == 0 ? d >= dLimite : d <= dLimite;
        };
        vB.clear();
        for (std::size_t i = 0; i < vA.size(); i++)
        {
            const ST_PontoPlano& p = vA[i];
            const ST_PontoPlano& q = vA[(i + 1) % vA.size()];
            const bool bP = Dentro(p);
            if (bP)
                vB.push_back(p);
            if (bP == Dentro(q))
                continue;
            if (bX)
                vB.push_back({dLimite, p.dY + (dLimite - p.dX) / (q.dX - p.dX) * (q.dY - p.dY)});
            else
                vB.push_back({p.dX + (dLimite - p.dY) / (q.dY - p.dY) * (q.dX - p.dX), dLimite});
        }
        std::swap(vA, vB);
    }
    // A point on a side comes out twice; an edge of no length would stand for no direction.
    vA.erase(std::unique(vA.begin(), vA.end(), Iguais), vA.end());
    while (vA.size() > 1 && Iguais(vA.front(), vA.back()))
        vA.pop_back();
}

// Whether the ring goes from a to b and straight back towards c (b no further than kFolga from the
// line ac): b is the tip of a spike, which holds no area.
bool Espinho(const ST_PontoPlano& a, const ST_PontoPlano& b, const ST_PontoPlano& c)
{
    if (Iguais(a, c))
        return true;
    const double dAC = std::hypot(c.dX - a.dX, c.dY - a.dY);
    return std::fabs(Cruzado(a, c, b)) <= kFolga * dAC && (b.dX - a.dX) * (c.dX - b.dX) + (b.dY - a.dY) * (c.dY - b.dY) < 0.0;
}

// The ring without repeated points and spikes, into vLimpo.
void LimparAnel(const AnelPlano& v, AnelPlano& vLimpo)
{
    vLimpo.clear();
    const auto Aparar = [&] {
        while (vLimpo.size() >= 3 && Espinho(vLimpo[vLimpo.size() - 3], vLimpo[vLimpo.size() - 2], vLimpo.back()))
        {
            vLimpo.erase(vLimpo.end() - 2);
            if (Iguais(vLimpo[vLimpo.size() - 2], vLimpo.back()))
                vLimpo.pop_back();
        }
    };
    for (const ST_PontoPlano& p : v)
    {
        if (!vLimpo.empty() && Iguais(vLimpo.back(), p))
            continue;
        vLimpo.push_back(p);
        Aparar();
    }
    // Where the ring closes: its last point against its first ones.
    for (bool bMudou = true; bMudou && vLimpo.size() >= 3;)
    {
        bMudou = false;
        const std::size_t n = vLimpo.size();
        if (Iguais(vLimpo[n - 1], vLimpo[0]) || Espinho(vLimpo[n - 2], vLimpo[n - 1], vLimpo[0]))
        {
            vLimpo.pop_back();
            bMudou = true;
        }
        else if (Espinho(vLimpo[n - 1], vLimpo[0], vLimpo[1]))
        {
            vLimpo.erase(vLimpo.begin());
            bMudou = true;
        }
    }
}

// Whether the ring is convex and winds once round (a star turns the same way at every point too).
bool ConvexoSimples(const AnelPlano& v)
{
    if (Convexidade(v) == 0)
        return false;
    double dVolta = 0.0;
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; i++)
    {
        const ST_PontoPlano& a = v[i];
        const ST_PontoPlano& b = v[(i + 1) % n];
        const ST_PontoPlano& c = v[(i + 2) % n];
        const double dX1 = b.dX - a.dX, dY1 = b.dY - a.dY, dX2 = c.dX - b.dX, dY2 = c.dY - b.dY;
        dVolta += std::atan2(dX1 * dY2 - dY1 * dX2, dX1 * dX2 + dY1 * dY2);
    }
    return std::fabs(dVolta) < 3.0 * std::numbers::pi;
}

GEOSGeometry* Uniao(GEOSContextHandle_t h, std::vector<GEOSGeometry*>& vPartes)
{
    // The collection takes the parts.
    GEOSGeometry* pColecao = GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, vPartes.data(),
                                                         static_cast<unsigned int>(vPartes.size()));
    vPartes.clear();
    if (pColecao == nullptr)
        return nullptr;
    GEOSGeometry* p = GEOSUnaryUnion_r(h, pColecao);
    // The floating overlay may also hand back a broken union of valid parts (seen on many passes over
    // the same strip): then the snapping one, whose result is valid, does it again.
    if (p != nullptr && GEOSisValid_r(h, p) != 1)
    {
        GEOSGeom_destroy_r(h, p);
        p = nullptr;
    }
    if (p == nullptr)
        p = GEOSUnaryUnionPrec_r(h, pColecao, kPrecisaoReserva);
    GEOSGeom_destroy_r(h, pColecao);
    return p;
}

// The union of one cell, grown from its pieces in the order they came. The first kLoteMinimo pieces
// are kept as rings: a cell with no more than those, each pair split by an edge's line (as the
// stretches of a pass are), has their summed area as its union, without any overlay. Past them, a piece the union already holds
// (ground covered again) is dropped after one test against the prepared union; the others wait and
// are merged in batches that grow with the union (as many as it already took, at least kLoteMinimo,
// at most kLote), so a cell costs about n log n whatever its pieces. That union starts as a frame
// around the cell: a piece cut at the cell's edge then lies properly inside the union where the
// ground was covered, and the cheap test (no point on the boundary) drops it; the frame is cut off at
// the end.
struct ST_UniaoCelula
{
    std::vector<std::vector<AnelPlano>> vPrimeiras; // reused: the first ulPrimeiras are this cell's
    std::size_t ulPrimeiras = 0;
    bool bGeos = false; // the pieces went into GEOS
    GEOSGeometry* pUniao = nullptr;
    const GEOSPreparedGeometry* pPreparada = nullptr;
    std::vector<GEOSGeometry*> vPendentes;
    std::size_t ulFundidas = 0;
    bool bFalha = false;
};

void Fundir(GEOSContextHandle_t h, ST_UniaoCelula& st)
{
    if (st.vPendentes.empty())
        return;
    if (st.pPreparada != nullptr)
        GEOSPreparedGeom_destroy_r(h, st.pPreparada);
    st.pPreparada = nullptr;
    st.ulFundidas += st.vPendentes.size();
    if (st.pUniao != nullptr)
        st.vPendentes.push_back(st.pUniao);
    GEOSGeometry* p = Uniao(h, st.vPendentes);
    if (p == nullptr)
        st.bFalha = true; // the batch (and the union before it) is lost: said at the end
    st.pUniao = p;
}

void AdicionarPeca(GEOSContextHandle_t h, ST_UniaoCelula& st, GEOSGeometry* pPeca)
{
    if (pPeca == nullptr)
    {
        st.bFalha = true;
        return;
    }
    if (st.pUniao != nullptr)
    {
        if (st.pPreparada == nullptr)
            st.pPreparada = GEOSPrepare_r(h, st.pUniao);
        if (st.pPreparada != nullptr && GEOSPreparedContainsProperly_r(h, st.pPreparada, pPeca) == 1)
        {
            GEOSGeom_destroy_r(h, pPeca);
            return;
        }
    }
    st.vPendentes.push_back(pPeca);
    if (st.vPendentes.size() >= std::clamp(st.ulFundidas, kLoteMinimo, kLote))
        Fundir(h, st);
}

// The cell's union inside its box, taken from st (which is left empty).
GEOSGeometry* ConcluirUniao(GEOSContextHandle_t h, ST_UniaoCelula& st, double dX0, double dY0, double dX1, double dY1)
{
    Fundir(h, st);
    if (st.pPreparada != nullptr)
        GEOSPreparedGeom_destroy_r(h, st.pPreparada);
    GEOSGeometry* p = st.pUniao;
    st.pPreparada = nullptr;
    st.pUniao = nullptr;
    st.ulFundidas = 0;
    st.bGeos = false;
    if (p == nullptr)
        return nullptr;
    GEOSGeometry* pCelula = GEOSClipByRect_r(h, p, dX0, dY0, dX1, dY1);
    GEOSGeom_destroy_r(h, p);
    return pCelula;
}

std::int64_t ChaveCelula(std::int64_t iX, std::int64_t iY)
{
    return (iX << 32) ^ (iY & 0xFFFFFFFF);
}

ST_Caixa CaixaAnel(const AnelPlano& v)
{
    ST_Caixa st{v[0].dX, v[0].dY, v[0].dX, v[0].dY};
    for (const ST_PontoPlano& p : v)
    {
        st.dXmin = std::min(st.dXmin, p.dX);
        st.dXmax = std::max(st.dXmax, p.dX);
        st.dYmin = std::min(st.dYmin, p.dY);
        st.dYmax = std::max(st.dYmax, p.dY);
    }
    return st;
}

bool Cruzam(const ST_Caixa& a, const ST_Caixa& b)
{
    return a.dXmin <= b.dXmax && b.dXmin <= a.dXmax && a.dYmin <= b.dYmax && b.dYmin <= a.dYmax;
}

std::int64_t Celula(double d)
{
    return static_cast<std::int64_t>(std::floor(d / D_ANALISE_LADO_CELULA));
}

ST_Caixa CaixaCelula(std::int64_t llChave)
{
    const double dX0 = static_cast<double>(llChave >> 32) * D_ANALISE_LADO_CELULA;
    const double dY0 = static_cast<double>(static_cast<std::int32_t>(llChave & 0xFFFFFFFF)) * D_ANALISE_LADO_CELULA;
    return {dX0, dY0, dX0 + D_ANALISE_LADO_CELULA, dY0 + D_ANALISE_LADO_CELULA};
}

AnelPlano AnelCaixa(const ST_Caixa& st)
{
    return {{st.dXmin, st.dYmin}, {st.dXmin, st.dYmax}, {st.dXmax, st.dYmax}, {st.dXmax, st.dYmin}};
}

GEOSGeometry* Retangulo(GEOSContextHandle_t h, const ST_Caixa& st)
{
    return Poligono(h, AnelCaixa(st));
}

// A band of kMoldura around the cell, the cell its hole.
GEOSGeometry* Moldura(GEOSContextHandle_t h, const ST_Caixa& st)
{
    const AnelPlano vAneis[2] = {AnelCaixa({st.dXmin - kMoldura, st.dYmin - kMoldura, st.dXmax + kMoldura, st.dYmax + kMoldura}),
                                 AnelCaixa(st)};
    return PoligonoComFuros(h, vAneis);
}

// Calls pf(cell x, cell y, whether the box lies in that one cell) for every cell the box touches.
template <typename F>
void ParaCadaCelula(const ST_Caixa& st, F&& pf)
{
    const std::int64_t iX0 = Celula(st.dXmin), iX1 = Celula(st.dXmax);
    const std::int64_t iY0 = Celula(st.dYmin), iY1 = Celula(st.dYmax);
    const bool bUnica = iX0 == iX1 && iY0 == iY1;
    for (std::int64_t iX = iX0; iX <= iX1; iX++)
        for (std::int64_t iY = iY0; iY <= iY1; iY++)
            pf(iX, iY, bUnica);
}

void ConstruirArvore(ST_ComparacaoPlano& st)
{
    if (st.bArvorePronta)
        return;
    st.bArvorePronta = true;
    st.pArvore = GEOSSTRtree_create_r(st.h, 10);
    for (ST_Zona& z : st.vZonas)
        GEOSSTRtree_insert_r(st.h, st.pArvore, z.pGeometria, &z);

    // Zones that overlap each other are counted twice in the rows and the zone totals: say so.
    int iAvisos = 0;
    for (ST_Zona& z : st.vZonas)
    {
        std::vector<ST_Zona*> vCandidatas;
        GEOSSTRtree_query_r(
            st.h, st.pArvore, z.pGeometria,
            [](void* pItem, void* pLista) { static_cast<std::vector<ST_Zona*>*>(pLista)->push_back(static_cast<ST_Zona*>(pItem)); },
            &vCandidatas);
        for (ST_Zona* pOutra : vCandidatas)
        {
            if (pOutra <= &z)
                continue;
            double dArea = 0.0;
            if (!z.vConvexo.empty() && !pOutra->vConvexo.empty())
                dArea = AreaRecorteConvexo(pOutra->vConvexo, z.vConvexo, st.vTrabalhoA, st.vTrabalhoB);
            else
            {
                // Only a zone that is not convex has its geometry prepared.
                const bool bZ = z.vConvexo.empty();
                if (GEOSPreparedIntersects_r(st.h, (bZ ? z : *pOutra).pPreparada, (bZ ? *pOutra : z).pGeometria) != 1)
                    continue;
                dArea = AreaIntersecao(st.h, z.pGeometria, pOutra->pGeometria);
            }
            if (dArea >= kSobreposicaoZonasMinima)
                Avisar(st, &iAvisos,
                       "as zonas " + std::to_string(z.ulRegistro) + " e " + std::to_string(pOutra->ulRegistro) +
                           " da recomendação se sobrepõem (" + analise_Numero(dArea / kM2PorHa, 2, ',') +
                           " ha contados nas duas)");
        }
    }
    if (iAvisos > kAvisosPorTipo)
        st.vAvisos.push_back("mais " + std::to_string(iAvisos - kAvisosPorTipo) + " sobreposições entre zonas");
}

bool DentroDe(double dValor, double dPrescrito, double dTolerancia)
{
    return std::fabs(dValor - dPrescrito) <= dTolerancia * dPrescrito + 1e-9;
}

void Pesar(ST_Zona& z, double dArea, double dValor)
{
    if (dArea <= 0.0)
        return;
    z.dAreaAplicada += dArea;
    z.dSomaValorArea += dArea * dValor;
    if (DentroDe(dValor, z.dPrescrito, D_ANALISE_TOLERANCIA_ESTREITA))
        z.dAreaEstreita += dArea;
    if (DentroDe(dValor, z.dPrescrito, D_ANALISE_TOLERANCIA_LARGA))
        z.dAreaLarga += dArea;
}

double Nan()
{
    return std::numeric_limits<double>::quiet_NaN();
}

double Razao(double dParte, double dTodo)
{
    return dTodo > 0.0 ? dParte / dTodo : Nan();
}

void Somar(ST_FigurasZona& stTotal, const ST_FigurasZona& st)
{
    // The prescription of a row is weighted by zone area: dPrescrito holds the running sum until the end.
    stTotal.iZonas += st.iZonas;
    stTotal.dAreaZona += st.dAreaZona;
    stTotal.dAreaCoberta += st.dAreaCoberta;
    stTotal.dPrescrito += st.dPrescrito * st.dAreaZona;
    stTotal.dAreaAplicada += st.dAreaAplicada;
    stTotal.dSomaValorArea += st.dSomaValorArea;
    stTotal.dAreaEstreita += st.dAreaEstreita;
    stTotal.dAreaLarga += st.dAreaLarga;
}

// Row of a prescribed value in the legend, as the map draws it (its whole units); -1 for none.
int LinhaLegenda(const ST_ShpLegenda& stLegenda, double dPrescrito)
{
    if (!(dPrescrito >= 0.0) || dPrescrito >= 4294967296.0)
        return -1;
    const auto ulValor = static_cast<std::uint32_t>(dPrescrito);
    const int iLinhas = std::min<int>(stLegenda.ucNumLinhasLegenda, D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP);
    for (int i = 0; i < iLinhas; i++)
        if (stLegenda.ulValorLegenda[i][0] <= ulValor && ulValor <= stLegenda.ulValorLegenda[i][1])
            return i;
    return -1;
}
} // namespace

double analise_PercentualCoberto(const ST_FigurasZona& st)
{
    return 100.0 * Razao(st.dAreaCoberta, st.dAreaZona);
}

double analise_ValorAplicado(const ST_FigurasZona& st)
{
    return Razao(st.dSomaValorArea, st.dAreaAplicada);
}

double analise_DesvioPercentual(const ST_FigurasZona& st)
{
    return 100.0 * Razao(analise_ValorAplicado(st) - st.dPrescrito, st.dPrescrito);
}

double analise_PercentualEstreito(const ST_FigurasZona& st)
{
    return 100.0 * Razao(st.dAreaEstreita, st.dAreaAplicada);
}

double analise_PercentualLargo(const ST_FigurasZona& st)
{
    return 100.0 * Razao(st.dAreaLarga, st.dAreaAplicada);
}

double analise_PercentualSobreposicao(const ST_TotaisComparacao& st)
{
    return 100.0 * Razao(st.dAreaSobreposta, st.dSomaCobertura);
}

ComparacaoPlano analise_CriarComparacao()
{
    return ComparacaoPlano(new ST_ComparacaoPlano);
}

BOOL analise_AdicionarZona(ST_ComparacaoPlano* pst, std::uint32_t ulRegistro, const std::vector<AnelPlano>& vAneis,
                           double dPrescrito)
{
    if (pst->bArvorePronta)
        return FALSE;
    GEOSContextHandle_t h = pst->h;
    bool bReparada = false;
    ST_Zona z;
    z.ulRegistro = ulRegistro;
    z.dPrescrito = dPrescrito;
    z.pGeometria = GeometriaZona(h, vAneis, &bReparada);
    z.dArea = Area(h, z.pGeometria);
    if (z.pGeometria == nullptr || z.dArea <= 0.0)
    {
        if (z.pGeometria != nullptr)
            GEOSGeom_destroy_r(h, z.pGeometria);
        Avisar(*pst, &pst->iAvisosZona, "zona " + std::to_string(ulRegistro) + " da recomendação sem área: ignorada");
        return TRUE;
    }
    if (bReparada)
        Avisar(*pst, &pst->iAvisosZona,
               "zona " + std::to_string(ulRegistro) + " da recomendação com geometria inválida (anel que se cruza): corrigida");
    z.vConvexo = AnelConvexo(h, z.pGeometria);
    // A convex zone is clipped by hand; a prepared geometry (its indexes built at the first test)
    // would only hold memory, ten thousand zones' worth.
    if (z.vConvexo.empty())
        z.pPreparada = GEOSPrepare_r(h, z.pGeometria);
    pst->vZonas.push_back(std::move(z));
    return TRUE;
}

void analise_AdicionarLimite(ST_ComparacaoPlano* pst, const AnelPlano& vAnel)
{
    ST_Geom st(pst->h, Poligono(pst->h, vAnel));
    if (st.p == nullptr)
        return;
    if (GEOSisValid_r(pst->h, st.p) != 1)
    {
        ST_Geom stValido(pst->h, GEOSMakeValid_r(pst->h, st.p));
        GEOSGeometry* p = stValido.p != nullptr ? PartesPoligonais(pst->h, stValido.p) : nullptr;
        if (p != nullptr)
            pst->vLimites.push_back(p);
        return;
    }
    pst->vLimites.push_back(st.Soltar());
}

namespace
{
// Keeps the polygons of a piece clipped to a cell, each with an area, as rings.
void GuardarPartes(ST_ComparacaoPlano& st, std::int64_t llCelula, const GEOSGeometry* pPeca)
{
    GEOSContextHandle_t h = st.h;
    for (int i = 0; i < GEOSGetNumGeometries_r(h, pPeca); i++)
    {
        const GEOSGeometry* p = GEOSGetGeometryN_r(h, pPeca, i);
        if (GEOSGeomTypeId_r(h, p) != GEOS_POLYGON || GEOSisEmpty_r(h, p) == 1 || Area(h, p) <= 0.0)
            continue;
        const int iFuros = std::max(0, GEOSGetNumInteriorRings_r(h, p));
        if (st.vAneisPeca.size() < static_cast<std::size_t>(iFuros) + 1)
            st.vAneisPeca.resize(static_cast<std::size_t>(iFuros) + 1);
        PontosAnel(h, GEOSGetExteriorRing_r(h, p), st.vAneisPeca[0]);
        for (int k = 0; k < iFuros; k++)
            PontosAnel(h, GEOSGetInteriorRingN_r(h, p, k), st.vAneisPeca[static_cast<std::size_t>(k) + 1]);
        analise_GuardarPeca(&st.stPecas, llCelula, std::span(st.vAneisPeca.data(), static_cast<std::size_t>(iFuros) + 1));
    }
}
} // namespace

BOOL analise_AdicionarCobertura(ST_ComparacaoPlano* pst, const AnelPlano& vAnel, double dValor)
{
    ConstruirArvore(*pst);
    if (vAnel.size() < 3)
        return TRUE; // no area
    GEOSContextHandle_t h = pst->h;
    // Where a pass turns sharply the inner side can double back along itself: simple as written in
    // degrees, a needle no wider than a micrometre once projected. GEOS's overlay builds a wrong union
    // from such rings (half a field lost), so the needles go first.
    AnelPlano& vLimpo = pst->vLimpo;
    LimparAnel(vAnel, vLimpo);
    if (vLimpo.size() < 3)
        return TRUE;
    double dArea = std::fabs(AreaAssinada(vLimpo));
    if (!std::isfinite(dArea))
        return TRUE;
    // A convex ring that turns once is simple. Any other is checked by GEOS, and repaired when it
    // crosses itself: the overlay needs valid polygons.
    const bool bConvexo = ConvexoSimples(vLimpo);
    ST_Geom st(h, nullptr);
    bool bValido = true;
    if (!bConvexo || !pst->vZonas.empty())
        st.p = Poligono(h, vLimpo);
    if (!bConvexo && st.p != nullptr && GEOSisValid_r(h, st.p) != 1)
    {
        bValido = false;
        ST_Geom stValido(h, GEOSMakeValid_r(h, st.p));
        GEOSGeom_destroy_r(h, st.p);
        st.p = stValido.p != nullptr ? PartesPoligonais(h, stValido.p) : nullptr;
        if (st.p == nullptr)
            return TRUE; // nothing of it has an area
        dArea = Area(h, st.p); // both lobes of a ring that crosses itself, not their difference
    }
    if (!(dArea > 0.0))
        return TRUE;
    if ((!bConvexo || !pst->vZonas.empty()) && st.p == nullptr)
    {
        Avisar(*pst, &pst->iAvisosCobertura, "polígono de cobertura não construído: " + pst->szErroGeos);
        return FALSE;
    }
    pst->dSomaCobertura += dArea;
    pst->lPoligonos++;

    if (!pst->vZonas.empty())
    {
        struct ST_Consulta
        {
            ST_ComparacaoPlano* pst;
            const GEOSGeometry* pPoligono;
            const AnelPlano* pvAnel;
            bool bValido;
            double dArea;
            double dValor;
        } stConsulta{pst, st.p, &vLimpo, bValido, dArea, dValor};
        GEOSSTRtree_query_r(
            h, pst->pArvore, st.p,
            [](void* pItem, void* pContexto) {
                auto& c = *static_cast<ST_Consulta*>(pContexto);
                ST_Zona& z = *static_cast<ST_Zona*>(pItem);
                GEOSContextHandle_t hc = c.pst->h;
                if (!z.vConvexo.empty() && c.bValido)
                    Pesar(z, AreaRecorteConvexo(*c.pvAnel, z.vConvexo, c.pst->vTrabalhoA, c.pst->vTrabalhoB), c.dValor);
                else if (const int iPosicao = PosicaoNaZona(hc, z, c.pPoligono); iPosicao == kDentroDaZona)
                    Pesar(z, c.bValido ? c.dArea : Area(hc, c.pPoligono), c.dValor);
                else if (iPosicao == kEncontraAZona)
                    Pesar(z, AreaIntersecao(hc, z.pGeometria, c.pPoligono), c.dValor);
            },
            &stConsulta);
    }

    bool bOk = true;
    ParaCadaCelula(CaixaAnel(vLimpo), [&](std::int64_t iX, std::int64_t iY, bool bUnica) {
        const std::int64_t llChave = ChaveCelula(iX, iY);
        if (bUnica && bValido)
        {
            analise_GuardarPeca(&pst->stPecas, llChave, std::span(&vLimpo, 1));
            return;
        }
        if (bUnica)
        {
            GuardarPartes(*pst, llChave, st.p);
            return;
        }
        const ST_Caixa c = CaixaCelula(llChave);
        if (bConvexo)
        {
            // A convex polygon (most are: straight stretches of a pass) is cut by hand, no geometry built.
            AnelPlano& vPeca = pst->vTrabalhoA;
            RecortarCaixa(vLimpo, c, vPeca, pst->vTrabalhoB);
            if (vPeca.size() >= 3 && std::fabs(AreaAssinada(vPeca)) > 0.0)
                analise_GuardarPeca(&pst->stPecas, llChave, std::span(&vPeca, 1));
            return;
        }
        ST_Geom stPeca(h, GEOSClipByRect_r(h, st.p, c.dXmin, c.dYmin, c.dXmax, c.dYmax));
        if (stPeca.p == nullptr)
            bOk = false;
        else
            GuardarPartes(*pst, llChave, stPeca.p);
    });
    if (!bOk)
        Avisar(*pst, &pst->iAvisosCobertura, "polígono de cobertura não recortado: " + pst->szErroGeos);
    return bOk ? TRUE : FALSE;
}

namespace
{
// A ring of a cell's union: its points, box, and whether it is a hole.
struct ST_AnelUniao
{
    AnelPlano vPontos;
    ST_Caixa stCaixa;
    bool bFuro = false;
};

// The rings of a polygonal geometry, into vAneis (its vectors reused; the count used is returned).
std::size_t AneisDe(GEOSContextHandle_t h, const GEOSGeometry* p, std::vector<ST_AnelUniao>& vAneis)
{
    std::size_t n = 0;
    const auto Guardar = [&](const GEOSGeometry* pAnel, bool bFuro) {
        if (n == vAneis.size())
            vAneis.emplace_back();
        ST_AnelUniao& a = vAneis[n];
        if (!PontosAnel(h, pAnel, a.vPontos))
            return;
        a.bFuro = bFuro;
        a.stCaixa = CaixaAnel(a.vPontos);
        n++;
    };
    for (int i = 0; i < GEOSGetNumGeometries_r(h, p); i++)
    {
        const GEOSGeometry* pParte = GEOSGetGeometryN_r(h, p, i);
        if (GEOSGeomTypeId_r(h, pParte) != GEOS_POLYGON || GEOSisEmpty_r(h, pParte) == 1)
            continue;
        Guardar(GEOSGetExteriorRing_r(h, pParte), false);
        for (int k = 0; k < GEOSGetNumInteriorRings_r(h, pParte); k++)
            Guardar(GEOSGetInteriorRingN_r(h, pParte, k), true);
    }
    return n;
}

// What the end works out cell by cell: the union's area, each zone's covered ground and the field's.
struct ST_Fechamento
{
    ST_ComparacaoPlano* pst = nullptr;
    const GEOSGeometry* pCampo = nullptr;
    const GEOSPreparedGeometry* pCampoPreparado = nullptr;
    double dUniao = 0.0, dDentro = 0.0; // m²
    std::vector<ST_AnelUniao> vAneis;
    std::vector<ST_Zona*> vZonasCelula;
    std::vector<ST_Caixa> vCaixas; // the shortcut's work: the box of each first piece
    int iFalhas = 0;
};

// The union of a cell against the zones it meets (f.vZonasCelula).
void PesarUniaoNasZonas(ST_Fechamento& f, const GEOSGeometry* pUniao, double dArea)
{
    GEOSContextHandle_t h = f.pst->h;
    std::size_t nAneis = 0;
    bool bAneis = false;
    for (ST_Zona* pZona : f.vZonasCelula)
    {
        ST_Zona& z = *pZona;
        if (z.vConvexo.empty())
        {
            const int iPosicao = PosicaoNaZona(h, z, pUniao);
            if (iPosicao == kDentroDaZona)
                z.dAreaCoberta += dArea;
            else if (iPosicao == kEncontraAZona)
                z.dAreaCoberta += AreaIntersecao(h, z.pGeometria, pUniao);
            continue;
        }
        // A convex zone clips each ring of the union directly: the holes' parts come off the outer rings'.
        if (!bAneis)
        {
            nAneis = AneisDe(h, pUniao, f.vAneis);
            bAneis = true;
        }
        const ST_Caixa stZona = CaixaAnel(z.vConvexo);
        for (std::size_t i = 0; i < nAneis; i++)
        {
            const ST_AnelUniao& a = f.vAneis[i];
            if (!Cruzam(a.stCaixa, stZona))
                continue;
            const double d = AreaRecorteConvexo(a.vPontos, z.vConvexo, f.pst->vTrabalhoA, f.pst->vTrabalhoB);
            z.dAreaCoberta += a.bFuro ? -d : d;
        }
    }
}

// The first pieces go into GEOS: the cell has more than the shortcut takes.
void PassarParaGeos(GEOSContextHandle_t h, ST_UniaoCelula& st, const ST_Caixa& stCaixa)
{
    st.bGeos = true;
    st.pUniao = Moldura(h, stCaixa);
    for (std::size_t i = 0; i < st.ulPrimeiras; i++)
        AdicionarPeca(h, st, PoligonoComFuros(h, st.vPrimeiras[i]));
    st.ulPrimeiras = 0;
}

// Whether the first pieces of a cell lie apart, each pair split by the line of an edge of one of them
// (as the stretches of one pass are, cut where they meet): their areas then add up to the area of
// their union.
bool PrimeirasSeparadas(const ST_UniaoCelula& st, ST_Fechamento& f)
{
    f.vCaixas.clear();
    for (std::size_t i = 0; i < st.ulPrimeiras; i++)
    {
        if (st.vPrimeiras[i].size() != 1)
            return false; // a hole
        f.vCaixas.push_back(CaixaAnel(st.vPrimeiras[i][0]));
    }
    for (std::size_t i = 0; i < st.ulPrimeiras; i++)
        for (std::size_t j = i + 1; j < st.ulPrimeiras; j++)
        {
            const ST_Caixa& a = f.vCaixas[i];
            const ST_Caixa& b = f.vCaixas[j];
            if (a.dXmin + kFolga >= b.dXmax || b.dXmin + kFolga >= a.dXmax || a.dYmin + kFolga >= b.dYmax || b.dYmin + kFolga >= a.dYmax)
                continue;
            const AnelPlano& vA = st.vPrimeiras[i][0];
            const AnelPlano& vB = st.vPrimeiras[j][0];
            if (!SeparadoPorAresta(vA, vB) && !SeparadoPorAresta(vB, vA))
                return false;
        }
    return true;
}

// The union of the cell's pieces inside it (nullptr when GEOS failed), st left empty for the next.
GEOSGeometry* UniaoDaCelula(GEOSContextHandle_t h, ST_UniaoCelula& st, const ST_Caixa& c)
{
    if (st.bGeos)
        return ConcluirUniao(h, st, c.dXmin, c.dYmin, c.dXmax, c.dYmax);
    // Few pieces: their union in one go, no frame needed.
    std::vector<GEOSGeometry*> v;
    for (std::size_t i = 0; i < st.ulPrimeiras; i++)
        if (GEOSGeometry* p = PoligonoComFuros(h, st.vPrimeiras[i]))
            v.push_back(p);
        else
            st.bFalha = true;
    st.ulPrimeiras = 0;
    return v.empty() ? nullptr : Uniao(h, v);
}

void FecharCelula(ST_Fechamento& f, std::int64_t llChave, ST_UniaoCelula& stUniao)
{
    GEOSContextHandle_t h = f.pst->h;
    const ST_Caixa stCaixa = CaixaCelula(llChave);
    // The zones and the field the cell meets.
    ST_Geom stCelula(h, nullptr);
    f.vZonasCelula.clear();
    bool bCampoInteiro = false, bCampoParcial = false;
    if (!f.pst->vZonas.empty() || f.pCampo != nullptr)
    {
        stCelula.p = Retangulo(h, stCaixa);
        if (stCelula.p != nullptr && !f.pst->vZonas.empty())
            GEOSSTRtree_query_r(
                h, f.pst->pArvore, stCelula.p,
                [](void* pItem, void* pLista) { static_cast<std::vector<ST_Zona*>*>(pLista)->push_back(static_cast<ST_Zona*>(pItem)); },
                &f.vZonasCelula);
        if (stCelula.p != nullptr && f.pCampo != nullptr)
        {
            bCampoInteiro = GEOSPreparedContains_r(h, f.pCampoPreparado, stCelula.p) == 1;
            bCampoParcial = !bCampoInteiro && GEOSPreparedIntersects_r(h, f.pCampoPreparado, stCelula.p) == 1;
        }
    }

    double dArea = 0.0;
    if (!stUniao.bGeos && f.vZonasCelula.empty() && !bCampoParcial && PrimeirasSeparadas(stUniao, f))
    {
        for (std::size_t i = 0; i < stUniao.ulPrimeiras; i++)
            dArea += std::fabs(AreaAssinada(stUniao.vPrimeiras[i][0]));
        stUniao.ulPrimeiras = 0;
    }
    else
    {
        ST_Geom stGeom(h, UniaoDaCelula(h, stUniao, stCaixa));
        if (stUniao.bFalha || stGeom.p == nullptr)
            f.iFalhas++;
        stUniao.bFalha = false;
        if (stGeom.p == nullptr)
            return;
        const GEOSGeometry* pUniao = stGeom.p;
        dArea = Area(h, pUniao);
        PesarUniaoNasZonas(f, pUniao, dArea);
        if (bCampoParcial)
        {
            // Only the field's part in the cell meets the union.
            ST_Geom stParte(h, GEOSClipByRect_r(h, f.pCampo, stCaixa.dXmin, stCaixa.dYmin, stCaixa.dXmax, stCaixa.dYmax));
            f.dDentro += AreaIntersecao(h, stParte.p != nullptr ? stParte.p : f.pCampo, pUniao);
        }
    }
    f.dUniao += dArea;
    if (bCampoInteiro)
        f.dDentro += dArea;
}

} // namespace

void analise_ConcluirComparacao(ST_ComparacaoPlano* pst, const ST_ShpLegenda& stLegenda,
                                ST_ResultadoComparacao* pstResultado)
{
    ConstruirArvore(*pst);
    GEOSContextHandle_t h = pst->h;
    ST_ResultadoComparacao& r = *pstResultado;
    r = ST_ResultadoComparacao{};
    r.stLegenda = stLegenda;

    // The field: the file's boundaries, or the recommendation's zones when the file has none.
    ST_TotaisComparacao& t = r.stTotais;
    t.iFonteLimites = pst->vLimites.empty() ? D_ANALISE_LIMITES_RECOMENDACAO : D_ANALISE_LIMITES_ARQUIVO;
    std::vector<GEOSGeometry*> vZonas;
    if (pst->vLimites.empty())
        for (const ST_Zona& z : pst->vZonas)
            vZonas.push_back(GEOSGeom_clone_r(h, z.pGeometria));
    std::vector<GEOSGeometry*>& vCampo = pst->vLimites.empty() ? vZonas : pst->vLimites;
    ST_Geom stCampo(h, vCampo.empty() ? nullptr : Uniao(h, vCampo));
    ST_Fechamento f;
    f.pst = pst;
    if (stCampo.p != nullptr)
    {
        t.dAreaLimites = Area(h, stCampo.p) / kM2PorHa;
        f.pCampo = stCampo.p;
        f.pCampoPreparado = GEOSPrepare_r(h, stCampo.p);
    }

    // The cells one after the other, each union built from its pieces.
    ST_UniaoCelula stUniao;
    std::int64_t llCelula = 0;
    bool bCelula = false;
    analise_PercorrerPecas(&pst->stPecas, [&](std::int64_t llChave, std::span<const AnelPlano> vAneis) {
        if (bCelula && llChave != llCelula)
            FecharCelula(f, llCelula, stUniao);
        llCelula = llChave;
        bCelula = true;
        if (!stUniao.bGeos && stUniao.ulPrimeiras < kLoteMinimo)
        {
            if (stUniao.vPrimeiras.size() == stUniao.ulPrimeiras)
                stUniao.vPrimeiras.emplace_back();
            stUniao.vPrimeiras[stUniao.ulPrimeiras++].assign(vAneis.begin(), vAneis.end());
            return;
        }
        if (!stUniao.bGeos)
            PassarParaGeos(h, stUniao, CaixaCelula(llChave));
        AdicionarPeca(h, stUniao, PoligonoComFuros(h, vAneis));
    });
    if (bCelula)
        FecharCelula(f, llCelula, stUniao);
    if (f.pCampoPreparado != nullptr)
        GEOSPreparedGeom_destroy_r(h, f.pCampoPreparado);
    if (f.iFalhas > 0)
        pst->vAvisos.push_back("união da cobertura não calculada em " + std::to_string(f.iFalhas) +
                               " células de 200 m (área coberta subestimada): " + pst->szErroGeos);
    if (pst->stPecas.bFalhaLeitura)
        pst->vAvisos.push_back("arquivo temporário da cobertura ilegível: área coberta subestimada");

    for (const ST_Zona& z : pst->vZonas)
    {
        ST_FigurasZona fz;
        fz.ulRegistro = z.ulRegistro;
        fz.iZonas = 1;
        fz.dPrescrito = z.dPrescrito;
        fz.dAreaZona = z.dArea / kM2PorHa;
        fz.dAreaCoberta = std::clamp(z.dAreaCoberta, 0.0, z.dArea) / kM2PorHa;
        fz.dAreaAplicada = z.dAreaAplicada / kM2PorHa;
        fz.dSomaValorArea = z.dSomaValorArea / kM2PorHa;
        fz.dAreaEstreita = z.dAreaEstreita / kM2PorHa;
        fz.dAreaLarga = z.dAreaLarga / kM2PorHa;
        r.vZonas.push_back(fz);
        const int iLinha = LinhaLegenda(stLegenda, z.dPrescrito);
        if (iLinha >= 0)
            Somar(r.stLinhas[iLinha], fz);
        r.stTotais.dAreaZonas += fz.dAreaZona;
        r.stTotais.dAreaCobertaZonas += fz.dAreaCoberta;
    }
    for (ST_FigurasZona& fl : r.stLinhas)
        fl.dPrescrito = fl.dAreaZona > 0.0 ? fl.dPrescrito / fl.dAreaZona : 0.0;

    const double dUniao = f.dUniao, dDentro = f.dDentro;
    t.dSomaCobertura = pst->dSomaCobertura / kM2PorHa;
    t.dAreaCoberta = dUniao / kM2PorHa;
    t.dAreaSobreposta = std::max(0.0, pst->dSomaCobertura - dUniao) / kM2PorHa;
    t.dAreaFalhada = std::max(0.0, t.dAreaLimites - dDentro / kM2PorHa);
    t.dAreaForaLimites = std::max(0.0, dUniao - dDentro) / kM2PorHa;
    t.lPoligonos = pst->lPoligonos;

    r.vAvisos = pst->vAvisos;
    if (pst->iAvisosZona > kAvisosPorTipo)
        r.vAvisos.push_back("mais " + std::to_string(pst->iAvisosZona - kAvisosPorTipo) + " zonas com geometria corrigida ou vazia");
}
