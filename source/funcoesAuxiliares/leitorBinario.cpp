// The bounded binary reader.
#include "funcoesAuxiliares/leitorBinario.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
constexpr std::size_t kTamanhoBufferPulo = 65536;
} // namespace

unsigned char funcAux_CalcularXor(const unsigned char* pucDados, std::size_t tamanho, unsigned char ucInicial)
{
    // XOR is order-free: fold 32 bytes a turn into four independent lanes (the compiler keeps them in
    // vector registers), then collapse the lanes and the tail.
    std::uint64_t a[4] = {0, 0, 0, 0};
    std::size_t i = 0;
    for (; i + 32 <= tamanho; i += 32)
        for (int k = 0; k < 4; k++)
        {
            std::uint64_t ullPalavra;
            std::memcpy(&ullPalavra, pucDados + i + 8 * k, 8);
            a[k] ^= ullPalavra;
        }
    std::uint64_t ullAcumulado = a[0] ^ a[1] ^ a[2] ^ a[3];
    for (; i + 8 <= tamanho; i += 8)
    {
        std::uint64_t ullPalavra;
        std::memcpy(&ullPalavra, pucDados + i, 8);
        ullAcumulado ^= ullPalavra;
    }
    unsigned char ucXor = ucInicial;
    for (int k = 0; k < 8; k++)
        ucXor ^= static_cast<unsigned char>(ullAcumulado >> (8 * k));
    for (; i < tamanho; i++)
        ucXor ^= pucDados[i];
    return ucXor;
}

FuncAux_LeitorBinario::FuncAux_LeitorBinario(const char* pcArquivo)
    : m_pfProprio(funcAux_AbrirLeitura(pcArquivo))
{
    Iniciar(m_pfProprio.get());
}

FuncAux_LeitorBinario::FuncAux_LeitorBinario(std::FILE* pf)
{
    Iniciar(pf);
}

void FuncAux_LeitorBinario::Iniciar(std::FILE* pf)
{
    if (pf == nullptr)
        return;
    const long lAtual = std::ftell(pf);
    if (lAtual < 0 || std::fseek(pf, 0, SEEK_END) != 0)
        return;
    const long lTamanho = std::ftell(pf);
    if (lTamanho < lAtual || std::fseek(pf, lAtual, SEEK_SET) != 0)
        return;
    m_pf = pf;
    m_ulTamanho = static_cast<std::uint64_t>(lTamanho);
    m_ulPosicao = static_cast<std::uint64_t>(lAtual);
    m_stLimites = {0, m_ulTamanho};
}

bool FuncAux_LeitorBinario::Falhar()
{
    m_bErroLeitura = true;
    return false;
}

bool FuncAux_LeitorBinario::Posicionar(std::uint64_t ulPosicao)
{
    if (ulPosicao > static_cast<std::uint64_t>(std::numeric_limits<long>::max()) ||
        std::fseek(m_pf, static_cast<long>(ulPosicao), SEEK_SET) != 0)
        return Falhar();
    m_ulPosicao = ulPosicao;
    return true;
}

bool FuncAux_LeitorBinario::Ler(void* pDestino, std::size_t tamanho)
{
    if (m_pf == nullptr || m_bErroLeitura || tamanho > Restantes())
        return false;
    if (std::fread(pDestino, 1, tamanho, m_pf) != tamanho)
        return Falhar();
    if (m_bXor)
        m_ucXor = funcAux_CalcularXor(static_cast<const unsigned char*>(pDestino), tamanho, m_ucXor);
    if (m_bXorArquivo)
    {
        // Only what lies past the folded stretch, and only when it continues it.
        if (m_ulPosicao > m_ulXorArquivoAte)
            m_bLacuna = true;
        else if (m_ulPosicao + tamanho > m_ulXorArquivoAte)
        {
            const std::size_t nJaDobrados = static_cast<std::size_t>(m_ulXorArquivoAte - m_ulPosicao);
            m_ucXorArquivo = funcAux_CalcularXor(static_cast<const unsigned char*>(pDestino) + nJaDobrados,
                                                 tamanho - nJaDobrados, m_ucXorArquivo);
            m_ulXorArquivoAte = m_ulPosicao + tamanho;
        }
    }
    m_ulPosicao += tamanho;
    return true;
}

bool FuncAux_LeitorBinario::Pular(std::uint64_t ulBytes)
{
    if (m_pf == nullptr || m_bErroLeitura || ulBytes > Restantes())
        return false;
    if (!m_bXor)
        return Posicionar(m_ulPosicao + ulBytes);
    // Skipped bytes count in the XOR too: read them through.
    m_vBuffer.resize(kTamanhoBufferPulo);
    while (ulBytes > 0)
    {
        const std::size_t bloco =
            static_cast<std::size_t>(std::min<std::uint64_t>(ulBytes, m_vBuffer.size()));
        if (!Ler(m_vBuffer.data(), bloco))
            return false;
        ulBytes -= bloco;
    }
    return true;
}

bool FuncAux_LeitorBinario::IrPara(std::uint64_t ulPosicao)
{
    if (m_pf == nullptr || m_bErroLeitura || ulPosicao < m_stLimites.ulInicio ||
        ulPosicao > m_stLimites.ulFim)
        return false;
    return Posicionar(ulPosicao);
}

bool FuncAux_LeitorBinario::Limitar(std::uint64_t ulBytes, ST_LimitesLeitura* pstAnteriores)
{
    if (m_pf == nullptr || m_bErroLeitura || ulBytes > Restantes())
        return false;
    *pstAnteriores = m_stLimites;
    m_stLimites = {m_ulPosicao, m_ulPosicao + ulBytes};
    return true;
}

bool FuncAux_LeitorBinario::SairLimite(const ST_LimitesLeitura& stAnteriores)
{
    const std::uint64_t ulFim = m_stLimites.ulFim;
    m_stLimites = stAnteriores;
    return m_pf != nullptr && !m_bErroLeitura && Posicionar(ulFim);
}

void FuncAux_LeitorBinario::IniciarXor()
{
    m_bXor = true;
    m_ucXor = 0;
}

unsigned char FuncAux_LeitorBinario::TerminarXor()
{
    m_bXor = false;
    return m_ucXor;
}

void FuncAux_LeitorBinario::IniciarXorArquivo()
{
    m_bXorArquivo = true;
    m_bLacuna = false;
    m_ulXorArquivoAte = 0;
    m_ucXorArquivo = 0;
}

bool FuncAux_LeitorBinario::XorArquivo(std::uint64_t ulFim, unsigned char* pucXor) const
{
    if (!m_bXorArquivo || m_bLacuna || m_bErroLeitura || m_ulXorArquivoAte != ulFim)
        return false;
    *pucXor = m_ucXorArquivo;
    return true;
}

std::FILE* FuncAux_LeitorBinario::Liberar()
{
    m_pf = nullptr;
    return m_pfProprio.release();
}
