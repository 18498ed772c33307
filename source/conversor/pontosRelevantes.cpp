#include "zavoro/pontosRelevantes.h"

#include "zavoro/zavoro.h"

namespace
{
constexpr float kRaioParadaM = 20.0f;
constexpr std::int64_t kTempoParadaS = 300;
constexpr float kDistanciaMovimentoM = 10.0f;
constexpr float kDistanciaTemperaturaM = 1.0f;
constexpr float kTemperaturaLimite = 60.0f;
// Temperatures are logged from this event version on.
constexpr unsigned short kVersaoEventoTemperatura = 8;

float Distancia(const ST_PontoNVG_v2& stPonto, const ST_PontoNVG_v2& stAncora)
{
    return zavoro_CalcularDistancia2Pontos(stPonto.fLongitudeRelImp - stAncora.fLongitudeRelImp,
                                           stPonto.fLatitudeRelImp - stAncora.fLatitudeRelImp);
}

// Seconds from the anchor when they exceed the stop time, else -1 (unknown).
std::int64_t TempoParado(const ST_PontoNVG_v2& stPonto, const ST_PontoNVG_v2& stAncora)
{
    const std::int64_t ll = std::int64_t{stPonto.ulSegundosDataHora} - stAncora.ulSegundosDataHora;
    return ll > kTempoParadaS ? ll : -1;
}
} // namespace

Conversor_MarcasRelevantes::Conversor_MarcasRelevantes(unsigned short usVersaoArquivoEvento,
                                                       std::uint32_t ulInicioEvento)
    : m_usVersao(usVersaoArquivoEvento), m_ulInicioEvento(ulInicioEvento)
{
}

void Conversor_MarcasRelevantes::IniciarEtapa()
{
    m_bParado = FALSE;
    m_iPontosRastreamento = 0;
}

int Conversor_MarcasRelevantes::Ponto(const ST_PontoNVG_v2& stPonto,
                                      ST_MarcaRelevante (&vMarcas)[D_CONVERSOR_MAXIMO_MARCAS_PONTO])
{
    int n = 0;
    const std::uint32_t ulTempo = stPonto.ulSegundosDataHora;
    const std::uint16_t usTag = stPonto.usTag;

    if ((usTag & D_ZAVORO_TAG_PONTO_PAUSA) && (usTag & D_ZAVORO_TAG_INICIO))
    {
        m_ulInicioPausa = ulTempo;
        vMarcas[n++] = {D_CONVERSOR_MARCA_PAUSA, ++m_iPausas, &stPonto, m_ulInicioPausa, FALSE};
    }
    else if ((usTag & D_ZAVORO_TAG_PONTO_PAUSA) && (usTag & D_ZAVORO_TAG_FIM))
    {
        vMarcas[n++] = {D_CONVERSOR_MARCA_FIM_PAUSA, m_iPausas, &stPonto, m_ulInicioPausa, FALSE};
        m_ulInicioPausa = 0;
    }

    if (usTag & D_ZAVORO_TAG_RETORNO_ENERGIA)
    {
        const std::int64_t llSemEnergia =
            m_bTemAnterior && ulTempo > m_stAnterior.ulSegundosDataHora ? ulTempo - m_stAnterior.ulSegundosDataHora : 0;
        vMarcas[n++] = {D_CONVERSOR_MARCA_RETORNO_ENERGIA, ++m_iRetornos, &stPonto, llSemEnergia, FALSE};
        m_iPontosRastreamento = 0;
        m_bParado = FALSE;
    }

    if ((usTag & D_ZAVORO_TAG_PONTO_RASTREAMENTO) && !(usTag & D_ZAVORO_TAG_SEM_SATELITES))
    {
        if (m_ulInicioPausa != 0)
        {
            m_iPontosRastreamento = 0;
            m_bParado = FALSE;
        }
        else
        {
            if (m_iPontosRastreamento > 0)
            {
                m_fDistancia = Distancia(stPonto, m_stAncora);
                if (m_fDistancia < kRaioParadaM && TempoParado(stPonto, m_stAncora) > 0)
                    m_bParado = TRUE;
                if (m_fDistancia > kDistanciaMovimentoM && m_bParado)
                {
                    m_bParado = FALSE;
                    m_stParada = m_stAncora; // the anchor moves on below
                    vMarcas[n++] = {D_CONVERSOR_MARCA_PARADA, ++m_iParadas, &m_stParada,
                                    TempoParado(stPonto, m_stAncora), FALSE};
                }
            }
            if (m_iPontosRastreamento == 0 || m_fDistancia > kDistanciaMovimentoM)
                m_stAncora = stPonto;
            m_iPontosRastreamento++;
        }
    }

    // Temperatures are marked where the point lies over a metre from the last tracking anchor.
    if (ulTempo >= m_ulInicioEvento)
    {
        m_fDistancia = Distancia(stPonto, m_stAncora);
        if (m_fDistancia > kDistanciaTemperaturaM && ulTempo > m_stAncora.ulSegundosDataHora &&
            m_usVersao >= kVersaoEventoTemperatura && stPonto.fTemperatura > 0.0f)
            vMarcas[n++] = {D_CONVERSOR_MARCA_TEMPERATURA, 0, &stPonto, 0,
                            !(stPonto.fTemperatura < kTemperaturaLimite)};
    }

    m_stAnterior = stPonto;
    m_bTemAnterior = TRUE;
    return n;
}

BOOL Conversor_MarcasRelevantes::FimEtapa(ST_MarcaRelevante* pstMarca)
{
    if (!m_bParado)
        return FALSE;
    m_stParada = m_stAncora;
    *pstMarca = {D_CONVERSOR_MARCA_PARADA, ++m_iParadas, &m_stParada, TempoParado(m_stAnterior, m_stAncora), FALSE};
    return TRUE;
}
