// The coverage's pieces per cell: a bounded buffer, sorted runs in a temporary file, and their merge.
#include "analise/pecasCelulas.h"

#include <algorithm>
#include <cstring>
#include <queue>
#include <utility>

namespace
{
// A record: cell (8 bytes), its whole length (4), ring count (4), each ring's point count (4 each),
// then the points (x and y, 8 bytes each), in this process's byte order.
constexpr std::size_t kCabecalho = 16;
// Bytes read from a run at a time.
constexpr std::size_t kLeitura = 64u << 10;

template <typename T>
T Ler(const std::uint8_t* puc)
{
    T v;
    std::memcpy(&v, puc, sizeof v);
    return v;
}

template <typename T>
void Anexar(std::vector<std::uint8_t>& v, T valor)
{
    const auto* puc = reinterpret_cast<const std::uint8_t*>(&valor);
    v.insert(v.end(), puc, puc + sizeof valor);
}

// By cell, each cell's pieces in the order they came.
void OrdenarPorCelula(std::vector<ST_PecasCelulas::ST_Entrada>& vEntradas)
{
    std::stable_sort(vEntradas.begin(), vEntradas.end(),
                     [](const auto& a, const auto& b) { return a.llCelula < b.llCelula; });
}

std::uint32_t Comprimento(const std::uint8_t* pucRegistro)
{
    return Ler<std::uint32_t>(pucRegistro + 8);
}

// The rings of a whole record into vAneis (its vectors reused); false when the record does not add up.
bool Decodificar(const std::uint8_t* puc, std::size_t ulTamanho, std::vector<AnelPlano>& vAneis)
{
    if (ulTamanho < kCabecalho)
        return false;
    const std::uint32_t ulAneis = Ler<std::uint32_t>(puc + 12);
    if (ulAneis > (ulTamanho - kCabecalho) / 4)
        return false;
    vAneis.resize(ulAneis);
    std::size_t ulPontos = kCabecalho + 4ull * ulAneis;
    for (std::uint32_t i = 0; i < ulAneis; i++)
    {
        const std::uint32_t ulN = Ler<std::uint32_t>(puc + kCabecalho + 4ull * i);
        if (ulN > (ulTamanho - ulPontos) / 16)
            return false;
        vAneis[i].resize(ulN);
        std::memcpy(vAneis[i].data(), puc + ulPontos, 16ull * ulN);
        ulPontos += 16ull * ulN;
    }
    return ulPontos == ulTamanho;
}

// Writes the buffer, sorted by cell, as one run; false when the disk refused it.
bool GravarTrecho(ST_PecasCelulas& st)
{
    if (!st.pfTemporario)
    {
        st.pfTemporario.reset(std::tmpfile());
        if (!st.pfTemporario)
            return false;
    }
    OrdenarPorCelula(st.vEntradas);
    std::FILE* pf = st.pfTemporario.get();
    ST_TrechoPecas stTrecho;
    stTrecho.ulInicio = st.vTrechos.empty() ? 0 : st.vTrechos.back().ulFim;
    if (std::fseek(pf, static_cast<long>(stTrecho.ulInicio), SEEK_SET) != 0)
        return false;
    for (const auto& e : st.vEntradas)
    {
        const std::uint8_t* puc = st.vDados.data() + e.ulPosicao;
        if (std::fwrite(puc, 1, Comprimento(puc), pf) != Comprimento(puc))
            return false;
    }
    if (std::fflush(pf) != 0)
        return false;
    stTrecho.ulFim = stTrecho.ulInicio + st.vDados.size();
    st.vTrechos.push_back(stTrecho);
    st.vDados.clear();
    st.vEntradas.clear();
    return true;
}

// One run read back record by record through its own buffer.
struct ST_LeitorTrecho
{
    std::FILE* pf = nullptr;
    std::uint64_t ulProximo = 0, ulFim = 0; // the file's bytes not yet in the buffer
    std::vector<std::uint8_t> vBuffer;
    std::size_t ulInicio = 0; // the current record in the buffer

    // Makes ulBytes from the current record on sit in the buffer; false at the run's end or on failure.
    bool Garantir(std::size_t ulBytes)
    {
        const std::size_t ulTem = vBuffer.size() - ulInicio;
        if (ulTem >= ulBytes)
            return true;
        if (ulProximo + (ulBytes - ulTem) > ulFim)
            return false;
        vBuffer.erase(vBuffer.begin(), vBuffer.begin() + static_cast<std::ptrdiff_t>(ulInicio));
        ulInicio = 0;
        const std::size_t ulLer = static_cast<std::size_t>(std::min<std::uint64_t>(std::max(kLeitura, ulBytes - ulTem), ulFim - ulProximo));
        vBuffer.resize(ulTem + ulLer);
        if (std::fseek(pf, static_cast<long>(ulProximo), SEEK_SET) != 0 || std::fread(vBuffer.data() + ulTem, 1, ulLer, pf) != ulLer)
        {
            vBuffer.resize(ulTem);
            return false;
        }
        ulProximo += ulLer;
        return ulTem + ulLer >= ulBytes;
    }
    // The current record, or nullptr at the run's end; *pbFalha when the run ends inside a record.
    const std::uint8_t* Atual(bool* pbFalha)
    {
        if (ulInicio == vBuffer.size() && ulProximo == ulFim)
            return nullptr;
        if (!Garantir(kCabecalho) || Comprimento(vBuffer.data() + ulInicio) < kCabecalho ||
            !Garantir(Comprimento(vBuffer.data() + ulInicio)))
        {
            *pbFalha = true;
            return nullptr;
        }
        return vBuffer.data() + ulInicio;
    }
    void Avancar() { ulInicio += Comprimento(vBuffer.data() + ulInicio); }
};
} // namespace

void analise_GuardarPeca(ST_PecasCelulas* pst, std::int64_t llCelula, std::span<const AnelPlano> vAneis)
{
    ST_PecasCelulas& st = *pst;
    std::size_t ulTamanho = kCabecalho + 4 * vAneis.size();
    for (const AnelPlano& v : vAneis)
        ulTamanho += 16 * v.size();
    // The buffer is taken at its full size at once (its pages are only touched as it fills; a doubling
    // vector would hold two copies for a moment) and written out before a piece would overflow it.
    if (st.vDados.capacity() < st.ulLimiteMemoria)
        st.vDados.reserve(st.ulLimiteMemoria);
    const std::size_t ulMemoria = st.vDados.size() + ulTamanho + (st.vEntradas.size() + 1) * sizeof(ST_PecasCelulas::ST_Entrada);
    if (ulMemoria > st.ulLimiteMemoria && !st.vEntradas.empty() && !st.bFalhaDisco && !GravarTrecho(st))
        st.bFalhaDisco = true; // keep the pieces in memory: right figures rather than none
    const std::size_t ulPosicao = st.vDados.size();
    Anexar(st.vDados, llCelula);
    Anexar(st.vDados, static_cast<std::uint32_t>(ulTamanho));
    Anexar(st.vDados, static_cast<std::uint32_t>(vAneis.size()));
    for (const AnelPlano& v : vAneis)
        Anexar(st.vDados, static_cast<std::uint32_t>(v.size()));
    for (const AnelPlano& v : vAneis)
    {
        const auto* puc = reinterpret_cast<const std::uint8_t*>(v.data());
        st.vDados.insert(st.vDados.end(), puc, puc + 16 * v.size());
    }
    st.vEntradas.push_back({llCelula, ulPosicao});
    st.ulPecas++;
}

void analise_PercorrerPecas(ST_PecasCelulas* pst,
                            const std::function<void(std::int64_t llCelula, std::span<const AnelPlano> vAneis)>& pfPeca)
{
    ST_PecasCelulas& st = *pst;
    std::vector<AnelPlano> vAneis;
    const auto Entregar = [&](const std::uint8_t* puc) {
        if (Decodificar(puc, Comprimento(puc), vAneis))
            pfPeca(Ler<std::int64_t>(puc), vAneis);
        else
            st.bFalhaLeitura = true;
    };
    OrdenarPorCelula(st.vEntradas);

    // The runs in the file and, last, the buffer: a heap on (cell, source) keeps each cell's pieces in
    // the order they came.
    std::vector<ST_LeitorTrecho> vLeitores(st.vTrechos.size());
    for (std::size_t i = 0; i < st.vTrechos.size(); i++)
    {
        vLeitores[i].pf = st.pfTemporario.get();
        vLeitores[i].ulProximo = st.vTrechos[i].ulInicio;
        vLeitores[i].ulFim = st.vTrechos[i].ulFim;
    }
    const std::size_t ulMemoria = vLeitores.size();
    std::size_t ulEntrada = 0;
    const auto Proximo = [&](std::size_t i) -> const std::uint8_t* {
        if (i == ulMemoria)
            return ulEntrada < st.vEntradas.size() ? st.vDados.data() + st.vEntradas[ulEntrada].ulPosicao : nullptr;
        return vLeitores[i].Atual(&st.bFalhaLeitura);
    };
    using Chave = std::pair<std::int64_t, std::size_t>;
    std::priority_queue<Chave, std::vector<Chave>, std::greater<>> fila;
    for (std::size_t i = 0; i <= ulMemoria; i++)
        if (const std::uint8_t* puc = Proximo(i))
            fila.push({Ler<std::int64_t>(puc), i});
    while (!fila.empty())
    {
        const std::size_t i = fila.top().second;
        fila.pop();
        Entregar(Proximo(i));
        if (i == ulMemoria)
            ulEntrada++;
        else
            vLeitores[i].Avancar();
        if (const std::uint8_t* puc = Proximo(i))
            fila.push({Ler<std::int64_t>(puc), i});
    }
    st.vDados = {};
    st.vEntradas = {};
    st.vTrechos.clear();
    st.pfTemporario.reset();
}
