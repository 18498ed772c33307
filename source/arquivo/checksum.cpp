// The XOR checksum that closes every section of a navigation file and the file itself.
#include <cstring>
#include <vector>

#include "funcoesAuxiliares/leitorBinario.h"
#include "zavoro/arquivo.h"

namespace
{
constexpr std::size_t kTamanhoBuffer = 65536;
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
        ucXor = funcAux_CalcularXor(vBuffer.data(), bloco, ucXor);
        restante -= bloco;
    }
    unsigned char ucChecksum;
    if (std::fread(&ucChecksum, 1, 1, pfArquivoLeitura) != 1)
        return FALSE;
    return ucChecksum == ucXor;
}
