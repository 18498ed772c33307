// Bounded sequential reading shared by the shapefile and dBASE readers and the map renderer: every
// count taken from a file is checked against the bytes that remain before anything is read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "funcoesAuxiliares/leituraArquivo.h"

namespace shpFile_interno
{

inline std::uint32_t lerLe32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::uint32_t lerBe32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[3]) | static_cast<std::uint32_t>(p[2]) << 8 |
           static_cast<std::uint32_t>(p[1]) << 16 | static_cast<std::uint32_t>(p[0]) << 24;
}

inline std::uint16_t lerLe16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// Sequential reads that know how many bytes are left, so no count from the file can push a read
// past its end.
class LeitorLimitado
{
public:
    explicit LeitorLimitado(const std::string& szArquivo) : m_pf(funcAux_AbrirLeitura(szArquivo.c_str()))
    {
        if (!m_pf)
            return;
        if (std::fseek(m_pf.get(), 0, SEEK_END) != 0)
        {
            m_pf.reset();
            return;
        }
        long lTamanho = std::ftell(m_pf.get());
        if (lTamanho < 0 || std::fseek(m_pf.get(), 0, SEEK_SET) != 0)
        {
            m_pf.reset();
            return;
        }
        m_ulTamanho = static_cast<std::uint64_t>(lTamanho);
    }

    bool aberto() const { return static_cast<bool>(m_pf); }
    std::uint64_t tamanho() const { return m_ulTamanho; }
    std::uint64_t restantes() const { return m_ulTamanho - m_ulPosicao; }

    bool ler(void* p, std::size_t n)
    {
        if (n > restantes())
            return false;
        if (std::fread(p, 1, n, m_pf.get()) != n)
        {
            m_ulPosicao = m_ulTamanho; // the file shrank under us: nothing more is trusted
            return false;
        }
        m_ulPosicao += n;
        return true;
    }

    bool pular(std::uint64_t n)
    {
        if (n > restantes() || std::fseek(m_pf.get(), static_cast<long>(n), SEEK_CUR) != 0)
            return false;
        m_ulPosicao += n;
        return true;
    }

    std::FILE* liberar() { return m_pf.release(); }

private:
    FuncAux_ArquivoLeitura m_pf;
    std::uint64_t m_ulTamanho = 0;
    std::uint64_t m_ulPosicao = 0;
};

} // namespace shpFile_interno
