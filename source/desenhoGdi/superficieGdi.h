// Drawing surfaces over GDI memory bitmaps: the pictures of the map viewer in the Windows window.
#pragma once

#include "funcoesAuxiliares/win32.h"
#include "zavoro/desenhoMapa.h"

// One picture (a 24-bit bitmap selected into a memory DC) and the surface record the renderer draws
// through. The record points at its picture, so neither moves once made.
struct ST_SuperficieGdi
{
    HDC hdc = nullptr;
    HBITMAP hBitmap = nullptr;
    HGDIOBJ hBitmapAnterior = nullptr;
    HFONT hFonte = nullptr;
    ST_SuperficieDesenho stSuperficie;

    ST_SuperficieGdi() = default;
    ~ST_SuperficieGdi();
    ST_SuperficieGdi(const ST_SuperficieGdi&) = delete;
    ST_SuperficieGdi& operator=(const ST_SuperficieGdi&) = delete;
};

// The pictures of one viewer: a panel picture and an enlarged one per map.
struct ST_ImagensMapasGdi
{
    ST_SuperficieGdi stMapa[2];
    ST_SuperficieGdi stMapaMax[2];
};

// A white iLargura x iAltura picture with the viewer's font (12 px "MS Sans Serif"); FALSE when GDI
// has no room for it.
BOOL desenhoGdi_CriarSuperficie(ST_SuperficieGdi* pstSuperficie, int iLargura, int iAltura);
// Makes the four pictures and hands their surfaces to the viewer record.
BOOL desenhoGdi_CriarImagensMapas(ST_ImagensMapasGdi* pstImagens, ST_VisualizadorMapas* pstVisualizador);
// Copies the picture onto a device context at (x, y).
void desenhoGdi_Copiar(const ST_SuperficieGdi& stSuperficie, HDC hdcDestino, int iX, int iY);
