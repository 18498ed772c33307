#include "support/ServicosFalsos.h"

namespace zavoro_teste
{
namespace
{
ServicosFalsos* Eu(void* pContexto)
{
    return static_cast<ServicosFalsos*>(pContexto);
}

// The next scripted answer; FALSE when there is none or it is empty (a cancelled dialog).
template <typename T> bool Proxima(std::deque<T>* pFila, T* pResposta)
{
    if (pFila->empty())
        return false;
    *pResposta = std::move(pFila->front());
    pFila->pop_front();
    return !pResposta->empty();
}
} // namespace

ServicosFalsos::ServicosFalsos(ST_Janela* pstJanela, bool bFilaPropria)
    : m_stAnteriores(pstJanela->stServicos), m_bFilaPropria(bFilaPropria)
{
    ST_ServicosPlataforma& st = pstJanela->stServicos;
    st.pContexto = this;
    st.pfMensagem = [](void* p, const char* pcTexto, const char* pcTitulo, int iBotoes) {
        Eu(p)->vMensagens.push_back({pcTexto, pcTitulo, iBotoes});
        return D_PRINCIPAL_IDOK;
    };
    st.pfAbrirArquivos = [](void* p, const char* pcFiltro, const char*, const char*, bool bVarios,
                            std::vector<std::string>* pvArquivos) {
        Eu(p)->vDialogos.push_back(pcFiltro);
        const bool bOk = Proxima(&Eu(p)->filaArquivos, pvArquivos);
        if (!bVarios && pvArquivos->size() > 1)
            pvArquivos->resize(1);
        return bOk;
    };
    st.pfEscolherDiretorio = [](void* p, const char* pcTitulo, std::string* pszDiretorio) {
        Eu(p)->vDialogos.push_back(pcTitulo);
        return Proxima(&Eu(p)->filaDiretorios, pszDiretorio);
    };
    st.pfEscolherItem = [](void* p, const char* pcTitulo, const char*, const std::vector<std::string>& vItens,
                           int* piEscolha) {
        std::string szDialogo = pcTitulo;
        for (const std::string& szItem : vItens)
            szDialogo += "|" + szItem;
        Eu(p)->vDialogos.push_back(szDialogo);
        *piEscolha = Eu(p)->filaItens.empty() ? -1 : Eu(p)->filaItens.front();
        if (!Eu(p)->filaItens.empty())
            Eu(p)->filaItens.pop_front();
        return *piEscolha >= 0;
    };
    st.pfAbrirDocumento = [](void* p, const std::string& szCaminho) { Eu(p)->vDocumentos.push_back(szCaminho); };
    st.pfMostrarSobre = [](void* p) { Eu(p)->iSobre++; };
    st.pfEncerrarProcesso = [](void* p, int iCodigo) { Eu(p)->iCodigoEncerramento = iCodigo; };
    st.pfCriarThread = [](void* p, std::thread* pThread, unsigned int (*pfFuncao)(void*), void* pArg) {
        if (!Eu(p)->bFalharThread)
            *pThread = std::thread(pfFuncao, pArg);
        return !Eu(p)->bFalharThread;
    };
    st.pfPostar = [](void* p, std::function<void()> fn) {
        ServicosFalsos* pEu = Eu(p);
        if (!pEu->m_bFilaPropria)
            return pEu->m_stAnteriores.pfPostar(pEu->m_stAnteriores.pContexto, std::move(fn));
        std::lock_guard<std::mutex> trava(pEu->m_mutex);
        pEu->m_fila.push_back(std::move(fn));
        pEu->m_cv.notify_all();
    };
}

int ServicosFalsos::ExecutarPendentes()
{
    for (int iExecutados = 0;; iExecutados++)
    {
        std::unique_lock<std::mutex> trava(m_mutex);
        if (m_fila.empty())
            return iExecutados;
        std::function<void()> fn = std::move(m_fila.front());
        m_fila.pop_front();
        trava.unlock();
        fn();
    }
}

bool ServicosFalsos::EsperarAte(const std::function<bool()>& fnPronto, std::chrono::milliseconds limite)
{
    const auto fim = std::chrono::steady_clock::now() + limite;
    for (;;)
    {
        ExecutarPendentes();
        if (fnPronto())
            return true;
        std::unique_lock<std::mutex> trava(m_mutex);
        if (!m_cv.wait_until(trava, fim, [this] { return !m_fila.empty(); }))
            return fnPronto();
    }
}

} // namespace zavoro_teste
