// The one allocation that never returns null: a failed request is reported and ends the process.
#include "zavoro/funcoesAuxiliares.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace
{

void AvisoFalhaAlocacaoPadrao(const char* pcTexto, const char* /*pcTitulo*/)
{
    std::fputs(pcTexto, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

// Set once by the front end at start; atomic so a worker failing early still sees a whole pointer.
std::atomic<FuncAux_AvisoFalhaAlocacao> gpfAvisoFalhaAlocacao{&AvisoFalhaAlocacaoPadrao};

[[noreturn]] void EncerrarPorFalhaAlocacao()
{
    FuncAux_AvisoFalhaAlocacao pfAviso = gpfAvisoFalhaAlocacao.load();
    pfAviso(D_FUNCAUX_TEXTO_ERRO_ALOCACAO, D_FUNCAUX_TITULO_ERRO_ALOCACAO);
    std::exit(1);
}

} // namespace

void funcAux_DefinirAvisoFalhaAlocacao(FuncAux_AvisoFalhaAlocacao pfAviso)
{
    gpfAvisoFalhaAlocacao.store(pfAviso != nullptr ? pfAviso : &AvisoFalhaAlocacaoPadrao);
}

void* funcAux_MallocCustom(int n)
{
    // A negative size is a caller's arithmetic gone wrong; treat it like memory that cannot be had.
    if (n < 0)
    {
        EncerrarPorFalhaAlocacao();
    }
    // malloc(0) may legally return null; a one-byte block keeps the "never null" promise.
    void* pBloco = std::malloc(n == 0 ? 1u : static_cast<std::size_t>(n));
    if (pBloco == nullptr)
    {
        EncerrarPorFalhaAlocacao();
    }
    return pBloco;
}
