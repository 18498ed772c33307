// Drawing surfaces over QImage: the pictures of the map viewer as the command and the desktop app
// draw them, and their PNG files.
#pragma once

#include <QFont>
#include <QImage>

#include <memory>
#include <string>

#include "zavoro/desenhoMapa.h"

class QGuiApplication;

// One picture and the surface record the renderer draws through. The record points at its picture,
// so neither moves once made.
struct ST_SuperficieQt
{
    QImage imagem;
    QFont fonte;
    ST_SuperficieDesenho stSuperficie;

    ST_SuperficieQt() = default;
    ST_SuperficieQt(const ST_SuperficieQt&) = delete;
    ST_SuperficieQt& operator=(const ST_SuperficieQt&) = delete;
};

// The pictures of one viewer: a panel picture and an enlarged one per map.
struct ST_ImagensMapasQt
{
    ST_SuperficieQt stMapa[2];
    ST_SuperficieQt stMapaMax[2];
};

// The dialogs' face "MS Sans Serif", or the nearest narrow sans face the platform has.
QString desenhoQt_FaceSemSerifa();
// Makes the four pictures and hands their surfaces to the viewer record.
void desenhoQt_CriarImagensMapas(ST_ImagensMapasQt* pstImagens, ST_VisualizadorMapas* pstVisualizador);
// Writes the picture as PNG, replacing szArquivo only with a complete file. pszErro receives the reason.
BOOL desenhoQt_SalvarPng(const ST_SuperficieQt& stSuperficie, const std::string& szArquivo,
                         std::string* pszErro = nullptr);

// A QGuiApplication for drawing without a window: the offscreen platform unless QT_QPA_PLATFORM
// names another. Keep it alive while drawing.
std::unique_ptr<QGuiApplication> desenhoQt_CriarAplicacaoSemJanela();
