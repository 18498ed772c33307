// Simple rings out of a strip. A strip whose left and right edges cross (a sharp turn, a U-turn, a
// point that goes backwards, the track reversing on itself) would make a self-intersecting ring that
// GIS readers reject or misread; it is cut where its ring stops being simple.
#pragma once

#include "zavoro/cobertura.h"

// Hands the strip of iPontos cross-sections (pstEsquerda[i] and pstDireita[i]: its left and right edge
// at point i, in degrees) to the receiver as rings that are simple as the receiver writes them
// (stReceptor.iCasasDecimais), each with the value iValor. The whole strip is one ring, left edge
// forward and right edge back, when that ring is simple; otherwise the strip is cut into the longest
// simple runs, one after the other, sharing their cross-sections; a step between two points that is
// no simple ring on its own is split where its edges cross into two triangles. Rings of no area are
// dropped. Rings are turned clockwise when stReceptor.bSentidoHorario asks for it. FALSE when the
// receiver refused a ring.
BOOL cobertura_EntregarFaixa(const ST_CoordenadaKml* pstEsquerda, const ST_CoordenadaKml* pstDireita, int iPontos,
                             int iValor, const ST_ReceptorCobertura& stReceptor);
