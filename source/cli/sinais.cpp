// Interruption of the command: SIGINT, SIGTERM and SIGHUP end it with 128 + the signal's number after
// its temporary files are removed. A publication in progress is finished first, so an output set on
// disk is always wholly old or wholly new.
#include <csignal>
#include <cstdlib>
#include <thread>

#include "cli/comandos.h"
#include "zavoro/funcoesAuxiliares.h"

#if !defined(_WIN32)
#include <pthread.h>

void cli_TratarSinais()
{
    // Blocked here, before any worker starts, so that every thread inherits the mask and only the
    // waiting thread below receives them.
    sigset_t stSinais;
    sigemptyset(&stSinais);
    for (int iSinal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stSinais, iSinal);
    if (pthread_sigmask(SIG_BLOCK, &stSinais, nullptr) != 0)
        return;
    std::thread([stSinais] {
        int iSinal = 0;
        if (sigwait(&stSinais, &iSinal) != 0)
            return;
        funcAux_EncerrarSaidas();
        std::_Exit(128 + iSinal);
    }).detach();
}
#else
#include "funcoesAuxiliares/win32.h"

namespace
{
// Runs on a thread of its own, as the console starts one per event.
WINBOOL WINAPI TratarEventoConsole(DWORD dwEvento)
{
    const int iSinal = dwEvento == CTRL_C_EVENT ? SIGINT : dwEvento == CTRL_BREAK_EVENT ? SIGBREAK : SIGTERM;
    funcAux_EncerrarSaidas();
    std::_Exit(128 + iSinal);
}
} // namespace

void cli_TratarSinais()
{
    // Ctrl+C, Ctrl+Break, the console closed, the user logging off: the same end as a signal on Linux.
    SetConsoleCtrlHandler(TratarEventoConsole, TRUE);
}
#endif
