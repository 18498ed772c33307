// Display text of the files picked in the open dialog.
#include "zavoro/arquivo.h"

int arquivo_SepararPathsArquivosSelecionados(int iOffset, const char* pcOrigem, char* pcDestino, int iLimite,
                                             std::size_t tamanhoDestino)
{
    if (pcDestino == nullptr)
        tamanhoDestino = 0;
    // Room for text; the last byte is kept for the terminator.
    const std::size_t capacidade = tamanhoDestino > 0 ? tamanhoDestino - 1 : 0;

    // Every name gains a quote on each side and a blank, so many short names outgrow a destination as
    // large as the source. Names are written whole or not at all, and once one is left out the rest
    // are too (a gap would hide which names are missing); all of them are still counted, since the
    // count is the number of files to convert.
    std::size_t pos = 0;
    std::size_t posInicioNome = 0;
    bool bInicioNome = true;
    bool bTextoCheio = false;
    int iNumNomes = 0;

    auto escrever = [&](char c) {
        if (bTextoCheio)
            return;
        if (pos < capacidade)
        {
            pcDestino[pos++] = c;
            return;
        }
        bTextoCheio = true;
        pos = posInicioNome;
    };

    if (pcOrigem != nullptr && iOffset >= 0)
    {
        for (int i = iOffset; i < iLimite; ++i)
        {
            const char c = pcOrigem[i];
            if (c == '\0')
            {
                if (bInicioNome)
                    break; // the list's closing zero
                escrever('"');
                escrever(' ');
                bInicioNome = true;
                ++iNumNomes;
                continue;
            }
            if (bInicioNome)
            {
                bInicioNome = false;
                posInicioNome = pos;
                escrever('"');
            }
            escrever(c);
        }
    }
    // A name cut by the limit has no end and is not counted: it is not shown either.
    if (!bInicioNome)
        pos = posInicioNome;
    if (tamanhoDestino > 0)
        pcDestino[pos] = '\0';
    return iNumNomes;
}
