// Strip geometry of the coverage walk: the buffered track points of an open polygon and the rings
// that their active sections sweep, one ring per run of adjacent sections that are on.
#pragma once

#include <cstdint>

#include "zavoro/cobertura.h"

// One buffered track point of the open polygon, in relative metres.
struct ST_PontoPoligono
{
    double dLongitude = 0.0;
    double dLatitude = 0.0;
    int iValor = 0;
    float fAnguloNaveg = 0.0f;  // degrees, 0 = east
    std::uint16_t usSecoes = 0; // section mask of this point's strip
};

// The polygon to draw: its points, the stage's implement and the value handed with every ring.
struct ST_DesenhoPoligono
{
    const ST_PontoPoligono* pstPontoPoligono = nullptr;
    double dZeroRelativoLon = 0.0; // origin, degrees
    double dZeroRelativoLat = 0.0;
    int iPontosBuffer = 0;
    int iFaixaLegendaAtual = 0;            // class (class cut) or mean value (length cut) of the polygon
    std::uint16_t usLarguraImplemento = 0; // centimetres (event versions 1..4)
    const std::uint16_t* pusTamanhoSeccao = nullptr; // section widths in centimetres, left to right
    std::uint8_t ucOperacao = 0;                     // current numbering
    std::uint8_t ucNumeroSecoes = 0;                 // entries of pusTamanhoSeccao that may be read
    float fLarguraImplemento = 0.0f;                 // metres (event versions 5..9)
    std::uint16_t usVersaoArquivoEvento = 0;
};

// Draws the buffered points as one ring per run of active sections, left to right, each handed to the
// receiver in degrees. FALSE when the points do not all carry the first one's mask (nothing is
// drawn) or the receiver refused a ring. An empty buffer or a mask of 0 draws nothing.
BOOL conversor_DesenharPoligono(const ST_DesenhoPoligono* pstDesenhoPoligono,
                                const ST_ReceptorCobertura& stReceptor);
