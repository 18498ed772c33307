// Binary input: the byte order of stored fields, and the one reader through which every count,
// length and offset taken from a file is checked before anything is read, skipped or allocated.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <type_traits>
#include <vector>

#include "funcoesAuxiliares/leituraArquivo.h"

// ---------------------------------------------------------------------------------------------------
// Byte order over byte buffers: each field in the order its format stores it, whatever the host's.
// ---------------------------------------------------------------------------------------------------

inline std::uint16_t funcAux_LerLe16(const std::uint8_t* puc)
{
    return static_cast<std::uint16_t>(puc[0] | puc[1] << 8);
}

inline std::uint32_t funcAux_LerLe32(const std::uint8_t* puc)
{
    return static_cast<std::uint32_t>(puc[0]) | static_cast<std::uint32_t>(puc[1]) << 8 |
           static_cast<std::uint32_t>(puc[2]) << 16 | static_cast<std::uint32_t>(puc[3]) << 24;
}

inline std::uint32_t funcAux_LerBe32(const std::uint8_t* puc)
{
    return static_cast<std::uint32_t>(puc[3]) | static_cast<std::uint32_t>(puc[2]) << 8 |
           static_cast<std::uint32_t>(puc[1]) << 16 | static_cast<std::uint32_t>(puc[0]) << 24;
}

inline double funcAux_LerLeDouble(const std::uint8_t* puc)
{
    return std::bit_cast<double>(static_cast<std::uint64_t>(funcAux_LerLe32(puc)) |
                                 static_cast<std::uint64_t>(funcAux_LerLe32(puc + 4)) << 32);
}

inline void funcAux_GravarLe16(std::uint8_t* puc, std::uint16_t us)
{
    puc[0] = static_cast<std::uint8_t>(us);
    puc[1] = static_cast<std::uint8_t>(us >> 8);
}

inline void funcAux_GravarLe32(std::uint8_t* puc, std::uint32_t ul)
{
    for (int i = 0; i < 4; ++i)
        puc[i] = static_cast<std::uint8_t>(ul >> (8 * i));
}

inline void funcAux_GravarBe32(std::uint8_t* puc, std::uint32_t ul)
{
    for (int i = 0; i < 4; ++i)
        puc[i] = static_cast<std::uint8_t>(ul >> (24 - 8 * i));
}

inline void funcAux_GravarLeDouble(std::uint8_t* puc, double d)
{
    const std::uint64_t ull = std::bit_cast<std::uint64_t>(d);
    funcAux_GravarLe32(puc, static_cast<std::uint32_t>(ull));
    funcAux_GravarLe32(puc + 4, static_cast<std::uint32_t>(ull >> 32));
}

// XOR of a run of bytes folded into ucInicial: the checksum of every section of a navigation file.
unsigned char funcAux_CalcularXor(const unsigned char* pucDados, std::size_t tamanho, unsigned char ucInicial = 0);

// ---------------------------------------------------------------------------------------------------
// Bounded sequential reading
// ---------------------------------------------------------------------------------------------------

// The part of a file a reader may touch: [ulInicio, ulFim).
struct ST_LimitesLeitura
{
    std::uint64_t ulInicio = 0;
    std::uint64_t ulFim = 0;
};

// Reads a file forward inside bounds that start as the whole file and can be narrowed to one entry,
// so that no count or length from the file moves a read past the entry it belongs to. A read that
// does not fit is refused before a byte is read; a file that gives fewer bytes than its size
// promised (it shrank, or a device failed) sets ErroLeitura() and refuses everything after.
// The reader assumes nobody else moves the file's position while it is in use.
class FuncAux_LeitorBinario
{
public:
    // Opens the file for binary reading; Aberto() says whether that worked.
    explicit FuncAux_LeitorBinario(const char* pcArquivo);
    // Over a file the caller keeps open, from its current position.
    explicit FuncAux_LeitorBinario(std::FILE* pf);

    bool Aberto() const { return m_pf != nullptr; }
    bool ErroLeitura() const { return m_bErroLeitura; }
    std::uint64_t Tamanho() const { return m_ulTamanho; }
    std::uint64_t Posicao() const { return m_ulPosicao; }
    // Bytes left before the end of the current bounds.
    std::uint64_t Restantes() const { return m_stLimites.ulFim - m_ulPosicao; }
    // Whole items of this size left before the end of the current bounds.
    std::uint64_t Cabem(std::size_t tamanhoItem) const { return Restantes() / tamanhoItem; }

    bool Ler(void* pDestino, std::size_t tamanho);
    // One stored record, by memcpy (its layout is pinned by the caller).
    template <typename T>
    bool Ler(T* pValor)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        return Ler(static_cast<void*>(pValor), sizeof(T));
    }
    // A run of ulNumero records; the vector is sized only once the run is known to fit.
    template <typename T>
    bool LerVetor(std::vector<T>* pv, std::uint64_t ulNumero)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        if (ulNumero > Cabem(sizeof(T)))
            return false;
        pv->resize(static_cast<std::size_t>(ulNumero));
        return Ler(static_cast<void*>(pv->data()), static_cast<std::size_t>(ulNumero) * sizeof(T));
    }
    bool Pular(std::uint64_t ulBytes);
    // Moves to an absolute offset inside the current bounds (not folded into the XOR).
    bool IrPara(std::uint64_t ulPosicao);

    // Narrows the bounds to the next ulBytes; FALSE, with nothing changed, when they pass the current
    // end. *pstAnteriores receives the bounds that SairLimite gives back.
    bool Limitar(std::uint64_t ulBytes, ST_LimitesLeitura* pstAnteriores);
    // Leaves a narrowed part: moves to its end, whatever was read of it, and restores the outer bounds.
    bool SairLimite(const ST_LimitesLeitura& stAnteriores);

    // From IniciarXor on, every byte read or skipped is folded into an XOR until TerminarXor returns it.
    void IniciarXor();
    unsigned char TerminarXor();

    // From IniciarXorArquivo on, every byte of the file is folded once, the first time it is read, as
    // long as reads go on without leaving a stretch unread; XorArquivo then gives the XOR of
    // [0, ulFim) when that whole stretch was folded.
    void IniciarXorArquivo();
    bool XorArquivo(std::uint64_t ulFim, unsigned char* pucXor) const;

    // Hands an opened file over to the caller, at the reader's position.
    std::FILE* Liberar();

private:
    void Iniciar(std::FILE* pf);
    bool Falhar();
    bool Posicionar(std::uint64_t ulPosicao);

    FuncAux_ArquivoLeitura m_pfProprio; // set only when the reader opened the file
    std::FILE* m_pf = nullptr;
    std::uint64_t m_ulTamanho = 0;
    std::uint64_t m_ulPosicao = 0;
    ST_LimitesLeitura m_stLimites;
    bool m_bErroLeitura = false;
    bool m_bXor = false;
    unsigned char m_ucXor = 0;
    std::vector<unsigned char> m_vBuffer; // for skips that must be read through
    bool m_bXorArquivo = false;
    bool m_bLacuna = false;           // a stretch was skipped: the file's XOR is incomplete
    std::uint64_t m_ulXorArquivoAte = 0; // bytes [0, this) are folded
    unsigned char m_ucXorArquivo = 0;
};
