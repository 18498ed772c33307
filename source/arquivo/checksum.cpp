// The XOR checksum that closes every section of a navigation file and the file itself.
#include <cstring>
#include <vector>

#include "zavoro/arquivo.h"

namespace
{
constexpr std::size_t kTamanhoBuffer = 65536;
}

unsigned char arquivo_CalcularXor(const unsigned char* pucDados, std::size_t tamanho, unsigned char ucInicial)
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

BOOL arquivo_VerificarChecksum(std::FILE* pfArquivoLeitura, int iNumBytes)
{
    if (iNumBytes < 2 || pfArquivoLeitura == nullptr)
        return FALSE;

    std::vector<unsigned char> vBuffer(kTamanhoBuffer);
    std::size_t restante = static_cast<std::size_t>(iNumBytes);
    unsigned char ucXor = 0;
    while (restante != 1)
    {
        std::size_t bloco = restante > kTamanhoBuffer ? kTamanhoBuffer : restante - 1;
        if (std::fread(vBuffer.data(), 1, bloco, pfArquivoLeitura) != bloco)
            return FALSE;
        ucXor = arquivo_CalcularXor(vBuffer.data(), bloco, ucXor);
        restante -= bloco;
    }
    unsigned char ucChecksum;
    if (std::fread(&ucChecksum, 1, 1, pfArquivoLeitura) != 1)
        return FALSE;
    return ucChecksum == ucXor;
}
