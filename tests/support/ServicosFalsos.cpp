#include "support/ServicosFalsos.h"

namespace zavoro_teste
{

ServicosFalsos::ServicosFalsos(ST_Janela* pstJanela, bool bFilaPropria)
    : m_stAnteriores(pstJanela->stServicos), m_bFilaPropria(bFilaPropria)
{
    ST_ServicosPlataforma& st = pstJanela->stServicos;
    st.pContexto = this;
    st.pfMensagem = [](void* p, const char* pcTexto, const char* pcTitulo, int iBotoes) {
        Eu(p)->vMensagens.push_back({pcTexto, pcTitulo, iBotoes});
        return Eu(p)->iRespostaMensagem;
    };
    st.pfAbrirArquivos = [](void* p, const char* pcFiltro, const char*, const char*, bool bVarios,
                            std::vector<std::string>* pvArquivos) {
        ServicosFalsos* pEu = Eu(p);
        pEu->vFiltrosPedidos.push_back(pcFiltro);
        if (pEu->filaArquivos.empty())
            return false;
        *pvArquivos = pEu->filaArquivos.front();
        pEu->filaArquivos.pop_front();
        if (!bVarios && pvArquivos->size() > 1)
            pvArquivos->resize(1);
        return !pvArquivos->empty();
    };
    st.pfEscolherDiretorio = [](void* p, const char* pcTitulo, std::string* pszDiretorio) {
        ServicosFalsos* pEu = Eu(p);
        pEu->vTitulosDiretorio.push_back(pcTitulo);
        if (pEu->filaDiretorios.empty())
            return false;
        *pszDiretorio = pEu->filaDiretorios.front();
        pEu->filaDiretorios.pop_front();
        return !pszDiretorio->empty();
    };
    st.pfAbrirDocumento = [](void* p, const std::string& szCaminho) { Eu(p)->vDocumentos.push_back(szCaminho); };
    st.pfMostrarSobre = [](void* p) { Eu(p)->iSobre++; };
    st.pfEncerrarProcesso = [](void* p, int iCodigo) { Eu(p)->iCodigoEncerramento = iCodigo; };
    st.pfCriarThread = [](void* p, std::thread* pThread, unsigned int (*pfFuncao)(void*), void* pArg) {
        if (Eu(p)->bFalharThread)
            return false;
        *pThread = std::thread(pfFuncao, pArg);
        return true;
    };
    st.pfPostar = [](void* p, std::function<void()> fn) {
        ServicosFalsos* pEu = Eu(p);
        if (!pEu->m_bFilaPropria)
        {
            pEu->m_stAnteriores.pfPostar(pEu->m_stAnteriores.pContexto, std::move(fn));
            return;
        }
        {
            std::lock_guard<std::mutex> trava(pEu->m_mutex);
            pEu->m_fila.push_back(std::move(fn));
        }
        pEu->m_cv.notify_all();
    };
}

int ServicosFalsos::ExecutarPendentes()
{
    int iExecutados = 0;
    for (;;)
    {
        std::function<void()> fn;
        {
            std::lock_guard<std::mutex> trava(m_mutex);
            if (m_fila.empty())
                return iExecutados;
            fn = std::move(m_fila.front());
            m_fila.pop_front();
        }
        fn();
        iExecutados++;
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
