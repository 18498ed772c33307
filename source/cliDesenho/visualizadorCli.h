// What the drawing subcommands share: the viewer of one run (its Qt application, pictures and
// renderer state), map 1 from a recommendation set, and the pictures' files.
#pragma once

#include <QGuiApplication>

#include <memory>
#include <string>
#include <vector>

#include "cli/comandos.h"
#include "desenhoQt/superficieQt.h"
#include "zavoro/desenhoMapa.h"

// The viewer of one command run: its pictures, the Qt application they need, and the record the
// renderer keeps its state in.
struct ST_VisualizadorCli
{
    std::unique_ptr<QGuiApplication> pAplicacao;
    ST_ImagensMapasQt stImagens;
    ST_VisualizadorMapas stVisualizador;

    ST_VisualizadorCli() = default;
    ST_VisualizadorCli(const ST_VisualizadorCli&) = delete;
    ST_VisualizadorCli& operator=(const ST_VisualizadorCli&) = delete;
    ~ST_VisualizadorCli() { shpFile_LiberarMemoriaMapas(&stVisualizador); }
};

std::unique_ptr<ST_VisualizadorCli> cliDesenho_CriarVisualizador();
// Map 1 from the recommendation set: the named field, or (no name) the first numeric one. False (told
// on stderr) when the name is not a field of the table.
bool cliDesenho_PrepararMapa1(const std::string& szShp, const std::string& szCampo, ST_ShpMapa* pstMapa);
// Draws map iNumMapa; false (told on stderr) when it cannot be drawn.
bool cliDesenho_DesenharMapa(ST_VisualizadorMapas* pstVisualizador, int iNumMapa, const std::string& szShp);
// False (told on stderr) when a picture or its enlarged twin would land on a folder.
bool cliDesenho_DestinosLivres(const std::vector<std::string>& vPngs);
// Writes the panel and enlarged pictures of one map (its enlarged twin as NOME_ampliado.png): each path
// into pstResultado's outputs and, in the plain mode, on stdout; a failure's reason into pstResultado.
bool cliDesenho_SalvarMapa(const ST_ImagensMapasQt& stImagens, int iNumMapa, const std::string& szPng,
                           const ST_SaidaCli& stSaida, ST_ResultadoCli* pstResultado);
