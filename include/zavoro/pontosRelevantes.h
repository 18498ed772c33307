// The marks of the relevant points of a job, found point by point as the KML map's "Pontos Relevantes"
// folder shows them: pauses and their ends, power returns, stops (standing within 20 m for over five
// minutes, then moving 10 m away or the stage ending) and implement temperatures. The KML map writes
// them; the GIS export stores them.
#pragma once

#include <cstdint>

#include "zavoro/registrosNavegacao.h"
#include "zavoro/tipos.h"

inline constexpr int D_CONVERSOR_MARCA_PAUSA = 0;
inline constexpr int D_CONVERSOR_MARCA_FIM_PAUSA = 1;
inline constexpr int D_CONVERSOR_MARCA_RETORNO_ENERGIA = 2;
inline constexpr int D_CONVERSOR_MARCA_PARADA = 3;
inline constexpr int D_CONVERSOR_MARCA_TEMPERATURA = 4;
// A point gives at most one mark of each of its kinds: a pause or its end, a power return, a stop and
// a temperature.
inline constexpr int D_CONVERSOR_MAXIMO_MARCAS_PONTO = 4;

struct ST_MarcaRelevante
{
    int iTipo = D_CONVERSOR_MARCA_PAUSA;
    // Pauses, power returns and stops are numbered over the whole event (an end of pause takes the
    // number of its pause); temperatures are not numbered (0).
    int iNumero = 0;
    // Where the mark stands: the point, or for a stop the point where the standing began.
    const ST_PontoNVG_v2* pstPonto = nullptr;
    // Pause and its end: when the pause began (0 unknown). Power return: seconds without power (0
    // unknown). Stop: seconds standing (-1 unknown).
    std::int64_t llSegundos = 0;
    BOOL bExcedida = FALSE; // temperature at or over the limit
};

class Conversor_MarcasRelevantes
{
public:
    Conversor_MarcasRelevantes(unsigned short usVersaoArquivoEvento, std::uint32_t ulInicioEvento);
    // A stage begins: a standing does not carry over from the previous one.
    void IniciarEtapa();
    // The marks of the next point of the stage, in the order the map shows them; returns how many.
    // The marks point into this object or to stPonto: use them before the next call.
    int Ponto(const ST_PontoNVG_v2& stPonto, ST_MarcaRelevante (&vMarcas)[D_CONVERSOR_MAXIMO_MARCAS_PONTO]);
    // The stage's last point was given: a standing that lasted to its end is a stop (TRUE, *pstMarca).
    BOOL FimEtapa(ST_MarcaRelevante* pstMarca);

private:
    unsigned short m_usVersao;
    std::uint32_t m_ulInicioEvento;
    int m_iPausas = 0, m_iRetornos = 0, m_iParadas = 0;
    std::uint32_t m_ulInicioPausa = 0;
    // Before the first tracking point the anchor is a zeroed point; before the first point of the
    // event there is no previous point, so a power return there shows no time off.
    ST_PontoNVG_v2 m_stAncora{};
    ST_PontoNVG_v2 m_stAnterior{};
    ST_PontoNVG_v2 m_stParada{}; // where the stop last given began
    BOOL m_bTemAnterior = FALSE;
    BOOL m_bParado = FALSE;
    int m_iPontosRastreamento = 0;
    float m_fDistancia = 0.0f;
};
