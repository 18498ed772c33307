// Platform services of the window logic for tests: scripted dialog answers, recorded message boxes,
// dialogs, documents and exits, and (optionally) a notice queue that the test drains on its own thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "principal/principal.h"

namespace zavoro_teste
{

struct MensagemMostrada
{
    std::string szTexto, szTitulo;
    int iBotoes = 0;
};

class ServicosFalsos
{
public:
    // Installs itself in the window's services. With bFilaPropria the workers' notices wait in a
    // queue for ExecutarPendentes; otherwise they go to the services that were installed before.
    ServicosFalsos(ST_Janela* pstJanela, bool bFilaPropria);

    // Answers of the next open-file dialogs (an empty list: cancelled) and folder browsers ("" cancels).
    std::deque<std::vector<std::string>> filaArquivos;
    std::deque<std::string> filaDiretorios;
    std::deque<int> filaItens; // answers of the list dialogs: the index chosen, -1 cancels
    bool bFalharThread = false;

    std::vector<MensagemMostrada> vMensagens;
    // Filter text of every open dialog, title of every folder browser and list dialog (with its items).
    std::vector<std::string> vDialogos;
    std::vector<std::string> vDocumentos;
    int iCodigoEncerramento = -1, iSobre = 0;

    // Own queue: runs the notices posted so far on the calling thread; the number run.
    int ExecutarPendentes();
    // Own queue: runs notices as they come until fnPronto holds; FALSE on timeout.
    bool EsperarAte(const std::function<bool()>& fnPronto,
                    std::chrono::milliseconds limite = std::chrono::milliseconds(30000));

private:
    ST_ServicosPlataforma m_stAnteriores;
    bool m_bFilaPropria;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::function<void()>> m_fila;
};

} // namespace zavoro_teste
