// Pause between files, so the window can show each notice before the next one arrives.
#include "zavoro/funcoesAuxiliares.h"

#include <limits>
#include <thread>

void funcAux_Delay(int n, std::chrono::nanoseconds unidade)
{
    if (n <= 0 || unidade <= std::chrono::nanoseconds::zero())
    {
        return;
    }
    // Saturate instead of overflowing the tick count for absurd products.
    const auto llMaximo = std::numeric_limits<std::chrono::nanoseconds::rep>::max();
    std::chrono::nanoseconds duracao = (unidade.count() > llMaximo / n) ? std::chrono::nanoseconds(llMaximo)
                                                                          : unidade * n;
    std::this_thread::sleep_for(duracao);
}
