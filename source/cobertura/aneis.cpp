#include "cobertura/aneis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "zavoro/zavoro.h"

namespace
{

// Twice the least area a ring must have, in square degrees: about 1 cm², so that a strip of sections
// of no width, whose edges differ only by rounding, is no polygon (nor one of a random direction).
constexpr long double kMetrosPorGrau = D_ZAVORO_TERRA_RAIO_EQUADOR * D_ZAVORO_RELACAO_PI_180;
constexpr long double kAreaDuplaMinima = 2.0e-4L / (kMetrosPorGrau * kMetrosPorGrau);

// A vertex as the writer writes it: in units of its last decimal kept (the KML's fixed decimals, exact
// on that grid), or the double itself. Orientation products are taken in T_Calculo: long double
// keeps those of grid units exact, and of degrees as they always were.
template <typename T_Valor, typename T_Calculo>
struct ST_Vertice
{
    using Valor = T_Valor;
    using Calculo = T_Calculo;
    T_Valor ldX = 0;
    T_Valor ldY = 0;
    bool operator==(const ST_Vertice&) const = default;
};
// Every double and every grid unit of a coordinate on Earth.
using ST_VerticeEscrito = ST_Vertice<double, long double>;
// Grid units that no double holds (a coordinate far off the Earth).
using ST_VerticeLongo = ST_Vertice<long double, long double>;
// Grid units relative to the ring's corner, for rings whose orientation products doubles hold exactly
// (grid units spanning less than 2^26: products below 2^52).
using ST_VerticeDuplo = ST_Vertice<double, double>;
constexpr long double kVaoExato = 67108864.0L; // 2^26
// Below this many vertices the area of such a ring sums exactly in 64-bit integers.
constexpr std::size_t kMaximoVerticesAreaInteira = 1024;

// A ring as written, repeated consecutive vertices merged as readers merge them. vbNovo marks the
// vertices whose edges are checked: all for a new ring, those a grown ring added.
struct ST_AnelEscrito
{
    std::vector<ST_VerticeEscrito> vVertices;
    std::vector<ST_VerticeLongo> vLongos; // instead of vVertices when bLongo
    std::vector<char> vbNovo;
    long double ldUnidadesPorGrau = 1.0L;
    bool bGrade = false; // whole units of a decimal grid
    bool bLongo = false;
    long double ldArea = 0.0L; // twice the signed area, once checked
};

double Escala(int iCasas)
{
    double dEscala = 1.0;
    for (int i = 0; i < iCasas; ++i)
        dEscala *= 10.0;
    return dEscala;
}

// Away from a half unit the scaled value rounds as the text does (its error is far below 1e-6 of a
// unit): into *pdUnidades. Near one, false: the digits the fixed notation writes decide.
bool UnidadesLonge(double dValor, double dEscala, double* pdUnidades)
{
    const double dUnidades = dValor * dEscala;
    if (!(std::fabs(dUnidades) < 1.0e15 && std::fabs(dUnidades - std::floor(dUnidades) - 0.5) > 1.0e-6))
        return false;
    *pdUnidades = std::round(dUnidades);
    return true;
}

// Grid units of a coordinate as its text reads, so the check sees the text's point.
long double UnidadesEscritas(double dValor, int iCasas)
{
    double dUnidades = 0.0;
    if (UnidadesLonge(dValor, Escala(iCasas), &dUnidades))
        return dUnidades;
    char cBuf[512];
    const char* pcFim =
        std::to_chars(cBuf, cBuf + sizeof cBuf, dValor, std::chars_format::fixed, iCasas).ptr;
    long double ldUnidades = 0.0L;
    for (const char* pc = cBuf; pc < pcFim; ++pc)
    {
        if (*pc >= '0' && *pc <= '9')
            ldUnidades = ldUnidades * 10.0L + (*pc - '0');
    }
    return cBuf[0] == '-' ? -ldUnidades : ldUnidades;
}

template <typename V> int Orientacao(const V& a, const V& b, const V& c)
{
    using C = typename V::Calculo;
    const C ld = (C(b.ldX) - C(a.ldX)) * (C(c.ldY) - C(a.ldY)) - (C(b.ldY) - C(a.ldY)) * (C(c.ldX) - C(a.ldX));
    return (ld > 0) - (ld < 0);
}
// c, on the line through a and b, lies on the segment.
template <typename V> bool NoSegmento(const V& a, const V& b, const V& c)
{
    return std::min(a.ldX, b.ldX) <= c.ldX && c.ldX <= std::max(a.ldX, b.ldX) && std::min(a.ldY, b.ldY) <= c.ldY &&
           c.ldY <= std::max(a.ldY, b.ldY);
}

// Segments ab and cd cross or touch.
template <typename V> bool SegmentosTocam(const V& a, const V& b, const V& c, const V& d)
{
    const int o1 = Orientacao(a, b, c);
    const int o2 = Orientacao(a, b, d);
    const int o3 = Orientacao(c, d, a);
    const int o4 = Orientacao(c, d, b);
    if (o1 != o2 && o3 != o4)
        return true;
    return (o1 == 0 && NoSegmento(a, b, c)) || (o2 == 0 && NoSegmento(a, b, d)) || (o3 == 0 && NoSegmento(c, d, a)) ||
           (o4 == 0 && NoSegmento(c, d, b));
}

// Edges a->b and b->c fold back over each other.
template <typename V> bool Dobra(const V& a, const V& b, const V& c)
{
    using C = typename V::Calculo;
    return Orientacao(a, b, c) == 0 &&
           (C(a.ldX) - C(b.ldX)) * (C(c.ldX) - C(b.ldX)) + (C(a.ldY) - C(b.ldY)) * (C(c.ldY) - C(b.ldY)) > 0;
}

// Twice the signed area; positive anticlockwise. Taken from the first vertex, so that the degrees
// of the position do not swamp the few digits of the shape.
template <typename V> long double AreaDupla(const std::vector<V>& v)
{
    long double ld = 0.0L;
    for (std::size_t i = 1; i + 1 < v.size(); ++i)
        ld += ((long double)v[i].ldX - v[0].ldX) * ((long double)v[i + 1].ldY - v[0].ldY) -
              ((long double)v[i + 1].ldX - v[0].ldX) * ((long double)v[i].ldY - v[0].ldY);
    return ld;
}

// The same of grid units relative to the ring's corner, in whole numbers: exact, as the long double sum
// is for such rings.
long double AreaInteira(const std::vector<ST_VerticeDuplo>& v)
{
    auto I = [](double d) { return static_cast<std::int64_t>(d); };
    std::int64_t i = 0;
    for (std::size_t k = 1; k + 1 < v.size(); ++k)
        i += (I(v[k].ldX) - I(v[0].ldX)) * (I(v[k + 1].ldY) - I(v[0].ldY)) -
             (I(v[k + 1].ldX) - I(v[0].ldX)) * (I(v[k].ldY) - I(v[0].ldY));
    return static_cast<long double>(i);
}

// A ring does not close on its first vertex: readers close it.
template <typename V> void Fechar(std::vector<V>& vVertices, std::vector<char>& vbNovo)
{
    while (vVertices.size() > 1 && vVertices.back() == vVertices.front())
    {
        vbNovo.front() |= vbNovo.back();
        vVertices.pop_back();
        vbNovo.pop_back();
    }
}

// The ring's n vertices as written (pfVertice(i)) into vVertices, repeated consecutive ones merged as
// readers merge them, with their marks (vbMarcas; all marked when empty) into vbNovo. The arrays are
// sized once a ring and written in place: a map writes hundreds of thousands of rings.
template <typename V, typename F>
void Juntar(std::vector<V>& vVertices, std::vector<char>& vbNovo, const std::vector<char>& vbMarcas, std::size_t n,
            F&& pfVertice)
{
    vVertices.resize(n);
    vbNovo.resize(n);
    V* const pstVertices = vVertices.data();
    char* const pbNovo = vbNovo.data();
    std::size_t m = 0;
    for (std::size_t i = 0; i < n; ++i)
    {
        const V stVertice = pfVertice(i);
        const char bNovo = vbMarcas.empty() || vbMarcas[i];
        if (m > 0 && pstVertices[m - 1] == stVertice)
            pbNovo[m - 1] |= bNovo;
        else
        {
            pstVertices[m] = stVertice;
            pbNovo[m] = bNovo;
            ++m;
        }
    }
    vVertices.resize(m);
    vbNovo.resize(m);
    Fechar(vVertices, vbNovo);
}

// vAnel as written into st; vbNovo (one per vertex) marks the vertices to check, or all when empty.
void Escrever(const std::vector<ST_CoordenadaKml>& vAnel, const std::vector<char>& vbNovo, int iCasas,
              ST_AnelEscrito& st)
{
    st.bGrade = iCasas >= 0;
    st.bLongo = false;
    st.ldUnidadesPorGrau = 1.0L;
    for (int i = 0; i < iCasas; ++i)
        st.ldUnidadesPorGrau *= 10.0L;
    const std::size_t n = vAnel.size();
    if (!st.bGrade)
    {
        Juntar(st.vVertices, st.vbNovo, vbNovo, n,
               [&](std::size_t i) { return ST_VerticeEscrito{vAnel[i].dLongitude, vAnel[i].dLatitude}; });
        return;
    }
    const double dEscala = Escala(iCasas);
    auto Unidades = [&](double dValor, double* pdUnidades)
    {
        if (UnidadesLonge(dValor, dEscala, pdUnidades))
            return true;
        const long double ldUnidades = UnidadesEscritas(dValor, iCasas);
        *pdUnidades = static_cast<double>(ldUnidades);
        return *pdUnidades == ldUnidades;
    };
    Juntar(st.vVertices, st.vbNovo, vbNovo, n,
           [&](std::size_t i)
           {
               ST_VerticeEscrito stVertice;
               if (!Unidades(vAnel[i].dLongitude, &stVertice.ldX) || !Unidades(vAnel[i].dLatitude, &stVertice.ldY))
                   st.bLongo = true;
               return stVertice;
           });
    if (st.bLongo)
    {
        st.vVertices.clear();
        Juntar(st.vLongos, st.vbNovo, vbNovo, n,
               [&](std::size_t i)
               {
                   return ST_VerticeLongo{UnidadesEscritas(vAnel[i].dLongitude, iCasas),
                                          UnidadesEscritas(vAnel[i].dLatitude, iCasas)};
               });
    }
}

// Box of an edge. Written coordinates are doubles or whole grid units, so doubles hold them exactly
// and the many edges far apart are told apart cheaply.
struct ST_Caixa
{
    double dMinX = 0.0, dMinY = 0.0, dMaxX = 0.0, dMaxY = 0.0;
};

template <typename V> ST_Caixa Caixa(const V& a, const V& b)
{
    return {static_cast<double>(std::min(a.ldX, b.ldX)), static_cast<double>(std::min(a.ldY, b.ldY)),
            static_cast<double>(std::max(a.ldX, b.ldX)), static_cast<double>(std::max(a.ldY, b.ldY))};
}

bool CaixasSeTocam(const ST_Caixa& a, const ST_Caixa& b)
{
    return a.dMinX <= b.dMaxX && b.dMinX <= a.dMaxX && a.dMinY <= b.dMaxY && b.dMinY <= a.dMaxY;
}

// Edges i and j (i != j) of v touch: neighbours when they fold back over each other, others when they
// cross or touch (their boxes first).
template <typename V>
bool ArestasTocam(const std::vector<V>& v, const std::vector<ST_Caixa>& vCaixas, std::size_t i, std::size_t j)
{
    const std::size_t n = v.size();
    const std::size_t iFim = i + 1 == n ? 0 : i + 1;
    const std::size_t jFim = j + 1 == n ? 0 : j + 1;
    if (j == iFim)
        return Dobra(v[i], v[iFim], v[jFim]);
    if (jFim == i)
        return Dobra(v[j], v[i], v[iFim]);
    return CaixasSeTocam(vCaixas[i], vCaixas[j]) && SegmentosTocam(v[i], v[iFim], v[j], v[jFim]);
}

// An edge's extent along the sweep axis.
struct ST_Intervalo
{
    double dMin = 0.0;
    double dMax = 0.0;
    std::size_t iAresta = 0;
};

// The edges of a ring by the start of their extent along one axis. A strip's ring rises along its
// axis on one side and falls on the other: its two runs are merged in one pass; any other ring is
// sorted.
void OrdenarIntervalos(const std::vector<ST_Caixa>& vCaixas, bool bEixoX, std::vector<ST_Intervalo>& vTodos,
                       std::vector<ST_Intervalo>& vOrdem)
{
    const std::size_t n = vCaixas.size();
    vOrdem.resize(n);
    auto Intervalo = [&](std::size_t i) -> ST_Intervalo
    {
        const ST_Caixa& st = vCaixas[i];
        return bEixoX ? ST_Intervalo{st.dMinX, st.dMaxX, i} : ST_Intervalo{st.dMinY, st.dMaxY, i};
    };
    vTodos.resize(n);
    std::size_t iPrimeiro = 0;
    double dMenor = 0.0;
    for (std::size_t i = 0; i < n; ++i)
    {
        vTodos[i] = Intervalo(i);
        // The least start kept in a register, not read back from the array just written.
        if (i == 0 || vTodos[i].dMin < dMenor)
        {
            dMenor = vTodos[i].dMin;
            iPrimeiro = i;
        }
    }
    // From the lowest edge on: starts that do not fall, then starts that do not rise, back to it.
    auto Inicio = [&](std::size_t k) { return vTodos[iPrimeiro + k < n ? iPrimeiro + k : iPrimeiro + k - n].dMin; };
    std::size_t k = 1;
    while (k < n && Inicio(k) >= Inicio(k - 1))
        ++k;
    const std::size_t iSubida = k;
    while (k < n && Inicio(k) <= Inicio(k - 1))
        ++k;
    if (k < n)
    {
        vOrdem = vTodos;
        std::sort(vOrdem.begin(), vOrdem.end(),
                  [](const ST_Intervalo& a, const ST_Intervalo& b) { return a.dMin < b.dMin; });
        return;
    }
    // Rising run forward, falling run backward: both ascending.
    auto Aresta = [&](std::size_t k) -> const ST_Intervalo& { return vTodos[iPrimeiro + k < n ? iPrimeiro + k : iPrimeiro + k - n]; };
    std::size_t a = 0, b = n;
    for (std::size_t o = 0; o < n; ++o)
    {
        const bool bDaSubida = b == iSubida || (a < iSubida && Inicio(a) <= Inicio(b - 1));
        vOrdem[o] = bDaSubida ? Aresta(a++) : Aresta(--b);
    }
}

// What the check of one ring works in, reused from ring to ring: a map checks hundreds of thousands.
struct ST_MemoriaAnel
{
    std::vector<ST_Caixa> vCaixas; // of each edge
    std::vector<ST_VerticeDuplo> vDuplos;
    std::vector<ST_Intervalo> vTodos, vOrdem;
};

// No marked edge of v touches another edge nor folds back over its neighbour (boxes: of each edge).
// Only edges whose extents along the ring's longer axis meet can touch: a sweep along that axis finds
// them, and every pair the sweep finds is judged as a check of every pair would judge it.
template <typename V>
bool SemToques(const std::vector<V>& v, const std::vector<char>& vbNovo, ST_MemoriaAnel& stMemoria, bool bEixoX)
{
    const std::size_t n = v.size();
    const std::vector<ST_Caixa>& vCaixas = stMemoria.vCaixas;
    std::vector<ST_Intervalo>& vOrdem = stMemoria.vOrdem;
    auto Marcada = [&](std::size_t i) { return vbNovo[i] || vbNovo[i + 1 == n ? 0 : i + 1]; };
    OrdenarIntervalos(vCaixas, bEixoX, stMemoria.vTodos, vOrdem);
    for (std::size_t s = 0; s < n; ++s)
    {
        const ST_Intervalo& stAtual = vOrdem[s];
        const bool bMarcada = Marcada(stAtual.iAresta);
        for (std::size_t t = s + 1; t < n && vOrdem[t].dMin <= stAtual.dMax; ++t)
            if ((bMarcada || Marcada(vOrdem[t].iAresta)) && ArestasTocam(v, vCaixas, stAtual.iAresta, vOrdem[t].iAresta))
                return false;
    }
    return true;
}

// No edge at a marked vertex touches another edge, nor folds back over its neighbour, and the ring
// has an area (*pldArea). Edges between unmarked vertices are taken as already checked.
template <typename V>
bool SimplesDe(const std::vector<V>& v, const std::vector<char>& vbNovo, bool bGrade, long double ldUnidadesPorGrau,
               long double* pldArea)
{
    const std::size_t n = v.size();
    if (n < 3)
        return false;
    thread_local ST_MemoriaAnel stMemoria;
    std::vector<ST_Caixa>& vCaixas = stMemoria.vCaixas;
    std::vector<ST_VerticeDuplo>& vDuplos = stMemoria.vDuplos;
    // Grid units within 2^26 of each other: doubles give the same signs, several times faster, and
    // whole numbers the same area.
    bool bVaoExato = false;
    if (bGrade)
    {
        const auto [itX0, itX1] = std::minmax_element(v.begin(), v.end(), [](auto& a, auto& b) { return a.ldX < b.ldX; });
        const auto [itY0, itY1] = std::minmax_element(v.begin(), v.end(), [](auto& a, auto& b) { return a.ldY < b.ldY; });
        bVaoExato = itX1->ldX - itX0->ldX < kVaoExato && itY1->ldY - itY0->ldY < kVaoExato;
        if (bVaoExato)
        {
            vDuplos.resize(n);
            for (std::size_t i = 0; i < n; ++i)
                vDuplos[i] = {static_cast<double>(v[i].ldX - itX0->ldX), static_cast<double>(v[i].ldY - itY0->ldY)};
        }
    }
    *pldArea = bVaoExato && n < kMaximoVerticesAreaInteira ? AreaInteira(vDuplos) : AreaDupla(v);
    if (!(std::fabs(*pldArea) > kAreaDuplaMinima * ldUnidadesPorGrau * ldUnidadesPorGrau))
        return false;
    vCaixas.resize(n);
    ST_Caixa stExtensao = Caixa(v[0], v[0]);
    for (std::size_t i = 0; i < n; ++i)
    {
        vCaixas[i] = Caixa(v[i], v[i + 1 == n ? 0 : i + 1]);
        stExtensao.dMinX = std::min(stExtensao.dMinX, vCaixas[i].dMinX);
        stExtensao.dMaxX = std::max(stExtensao.dMaxX, vCaixas[i].dMaxX);
        stExtensao.dMinY = std::min(stExtensao.dMinY, vCaixas[i].dMinY);
        stExtensao.dMaxY = std::max(stExtensao.dMaxY, vCaixas[i].dMaxY);
    }
    // The sweep runs along the strip: few edges share a stretch of it.
    const bool bEixoX = stExtensao.dMaxX - stExtensao.dMinX >= stExtensao.dMaxY - stExtensao.dMinY;
    return bVaoExato ? SemToques(vDuplos, vbNovo, stMemoria, bEixoX) : SemToques(v, vbNovo, stMemoria, bEixoX);
}

bool Simples(ST_AnelEscrito& stAnel)
{
    return stAnel.bLongo
               ? SimplesDe(stAnel.vLongos, stAnel.vbNovo, stAnel.bGrade, stAnel.ldUnidadesPorGrau, &stAnel.ldArea)
               : SimplesDe(stAnel.vVertices, stAnel.vbNovo, stAnel.bGrade, stAnel.ldUnidadesPorGrau, &stAnel.ldArea);
}

// Where segments ab and cd cross inside both, in degrees.
bool Cruzamento(const ST_CoordenadaKml& a, const ST_CoordenadaKml& b, const ST_CoordenadaKml& c,
                const ST_CoordenadaKml& d, ST_CoordenadaKml* pstCruzamento)
{
    const double dAbX = b.dLongitude - a.dLongitude, dAbY = b.dLatitude - a.dLatitude;
    const double dCdX = d.dLongitude - c.dLongitude, dCdY = d.dLatitude - c.dLatitude;
    const double dAcX = c.dLongitude - a.dLongitude, dAcY = c.dLatitude - a.dLatitude;
    const double dDenominador = dAbX * dCdY - dAbY * dCdX;
    if (dDenominador == 0.0)
        return false;
    const double t = (dAcX * dCdY - dAcY * dCdX) / dDenominador;
    const double u = (dAcX * dAbY - dAcY * dAbX) / dDenominador;
    if (!(t > 0.0 && t < 1.0 && u > 0.0 && u < 1.0))
        return false;
    *pstCruzamento = {a.dLongitude + t * dAbX, a.dLatitude + t * dAbY, 0.0f};
    return true;
}

// What the cutting of one strip needs.
struct ST_Faixa
{
    const ST_CoordenadaKml* pstEsquerda = nullptr;
    const ST_CoordenadaKml* pstDireita = nullptr;
    int iValor = 0;
    const ST_ReceptorCobertura* pstReceptor = nullptr;
};

// Cross-sections iPrimeiro..iUltimo: left edge forward, right edge back.
void MontarAnel(const ST_Faixa& stFaixa, int iPrimeiro, int iUltimo, std::vector<ST_CoordenadaKml>& vAnel)
{
    vAnel.assign(stFaixa.pstEsquerda + iPrimeiro, stFaixa.pstEsquerda + iUltimo + 1);
    for (int i = iUltimo; i >= iPrimeiro; --i)
        vAnel.push_back(stFaixa.pstDireita[i]);
}

// Hands over a ring known to be simple, clockwise when the receiver asks for it.
BOOL Entregar(const ST_Faixa& stFaixa, std::vector<ST_CoordenadaKml>& vAnel, const ST_AnelEscrito& stEscrito)
{
    const ST_ReceptorCobertura& stReceptor = *stFaixa.pstReceptor;
    if (stReceptor.pfInserirAnel == nullptr)
        return TRUE;
    if (stReceptor.bSentidoHorario && stEscrito.ldArea > 0.0L)
        std::reverse(vAnel.begin() + 1, vAnel.end());
    return stReceptor.pfInserirAnel(stReceptor.pContexto, vAnel.data(), static_cast<int>(vAnel.size()),
                                    stFaixa.iValor);
}

// A triangle, when it has an area as written.
BOOL EntregarTriangulo(const ST_Faixa& stFaixa, const ST_CoordenadaKml& a, const ST_CoordenadaKml& b,
                       const ST_CoordenadaKml& c)
{
    std::vector<ST_CoordenadaKml> vAnel{a, b, c};
    ST_AnelEscrito stEscrito;
    Escrever(vAnel, {}, stFaixa.pstReceptor->iCasasDecimais, stEscrito);
    return !Simples(stEscrito) || Entregar(stFaixa, vAnel, stEscrito);
}

// The step from point i to i + 1, when it is no simple ring: its two cross-sections crossing (the
// inner side going backwards in a sharp turn) leave the wedges on either side of the crossing; its left
// and right edges crossing (the heading flipping) leave the triangles before and after the crossing.
// Anything else sweeps no area.
BOOL EntregarPasso(const ST_Faixa& stFaixa, int i)
{
    const ST_CoordenadaKml& stEsq0 = stFaixa.pstEsquerda[i];
    const ST_CoordenadaKml& stEsq1 = stFaixa.pstEsquerda[i + 1];
    const ST_CoordenadaKml& stDir0 = stFaixa.pstDireita[i];
    const ST_CoordenadaKml& stDir1 = stFaixa.pstDireita[i + 1];
    ST_CoordenadaKml stCruzamento;
    if (Cruzamento(stEsq0, stDir0, stEsq1, stDir1, &stCruzamento))
        return EntregarTriangulo(stFaixa, stEsq0, stEsq1, stCruzamento) &&
               EntregarTriangulo(stFaixa, stCruzamento, stDir1, stDir0);
    if (Cruzamento(stEsq0, stEsq1, stDir0, stDir1, &stCruzamento))
        return EntregarTriangulo(stFaixa, stEsq0, stCruzamento, stDir0) &&
               EntregarTriangulo(stFaixa, stCruzamento, stEsq1, stDir1);
    return TRUE;
}

} // namespace

BOOL cobertura_EntregarFaixa(const ST_CoordenadaKml* pstEsquerda, const ST_CoordenadaKml* pstDireita, int iPontos,
                             int iValor, const ST_ReceptorCobertura& stReceptor)
{
    const ST_Faixa stFaixa{pstEsquerda, pstDireita, iValor, &stReceptor};
    const int iCasas = stReceptor.iCasasDecimais;
    if (iPontos < 2)
        return TRUE;
    // Kept from strip to strip: a map hands over hundreds of thousands of them.
    thread_local std::vector<ST_CoordenadaKml> vAnel, vMaior;
    thread_local ST_AnelEscrito stEscrito, stMaior;
    thread_local std::vector<char> vbNovo;
    const std::vector<char> vbTodos;
    MontarAnel(stFaixa, 0, iPontos - 1, vAnel);
    Escrever(vAnel, vbTodos, iCasas, stEscrito);
    if (Simples(stEscrito))
        return Entregar(stFaixa, vAnel, stEscrito);

    // Longest simple runs: a run grows by one cross-section while its ring stays simple; only the
    // edges at the two cross-sections it joins need checking, the rest was simple already.
    int iPrimeiro = 0;
    while (iPrimeiro < iPontos - 1)
    {
        MontarAnel(stFaixa, iPrimeiro, iPrimeiro + 1, vAnel);
        Escrever(vAnel, vbTodos, iCasas, stEscrito);
        if (!Simples(stEscrito))
        {
            if (!EntregarPasso(stFaixa, iPrimeiro))
                return FALSE;
            ++iPrimeiro;
            continue;
        }
        int iUltimo = iPrimeiro + 1;
        while (iUltimo + 1 < iPontos)
        {
            MontarAnel(stFaixa, iPrimeiro, iUltimo + 1, vMaior);
            const std::size_t nEsquerda = static_cast<std::size_t>(iUltimo - iPrimeiro);
            vbNovo.assign(vMaior.size(), 0);
            std::fill_n(vbNovo.begin() + static_cast<std::ptrdiff_t>(nEsquerda), 4, 1);
            Escrever(vMaior, vbNovo, iCasas, stMaior);
            if (!Simples(stMaior))
                break;
            std::swap(vAnel, vMaior);
            std::swap(stEscrito, stMaior);
            ++iUltimo;
        }
        if (!Entregar(stFaixa, vAnel, stEscrito))
            return FALSE;
        iPrimeiro = iUltimo;
    }
    return TRUE;
}
