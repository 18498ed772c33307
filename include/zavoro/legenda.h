// Map kinds and the classes of their values: the bands that the user's five targets make (legend
// type 1), the rows of a recommendation map (legend type 2), their colour tables, and the classing of
// a value. The map writers, the map drawing and the window all read these; nothing here reads them.
#pragma once

#include <cstdint>

#include "zavoro/tipos.h"

inline constexpr int D_CONVERSOR_TIPO_MAPA_COBERTURA = 1;
inline constexpr int D_CONVERSOR_TIPO_MAPA_VELOCIDADE = 2;
inline constexpr int D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO = 3;

inline constexpr int D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR = 1;
inline constexpr int D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO = 2;

inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_AZUL = 0;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_CIANO = 1;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_VERDE = 2;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_AMARELO = 3;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_LARANJA = 4;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_VERMELHO = 5;
inline constexpr int D_CONVERSOR_INDICE_BRUSH_COR_ROXO = 6;

inline constexpr int D_CONVERSOR_NUMERO_ALVOS = 5;
inline constexpr int D_CONVERSOR_NUMERO_FAIXAS_LEGENDA = 6;
inline constexpr int D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP = 13;
inline constexpr int D_CONVERSOR_VALOR_ALVO_VAZIO = 9999;
// Class of a value that has none (value 0): not drawn.
inline constexpr int D_CONVERSOR_FAIXA_SEM_VALOR = 99;
inline constexpr const char* D_CONVERSOR_TEXTO_ERRO_LEGENDA = "Ajuste os valores em ordem crescente.";

// One band of legend type 1 (the user's five targets).
struct ST_LegendaMapa
{
    int iValorInf = 0;
    int iValorSup = 0;
    int iCor = 0;
    int iIndiceVetor = 0;
};

// Rows of legend type 2 (the recommendation map's legend).
struct ST_ShpLegenda
{
    std::uint32_t ulValorLegenda[22][2] = {};
    std::uint8_t ucNumLinhasLegenda = 0;
    std::uint8_t ucTipoLegenda = 0;
    std::uint8_t ucFlagPoligonoValorZero = 0;
};

// Default targets of the window's five edits.
inline constexpr int D_CONVERSOR_TAXAS_ALVO_PADRAO[D_CONVERSOR_NUMERO_ALVOS] = {75, 125, 175, 225, 300};
inline constexpr int D_CONVERSOR_VELOCIDADES_ALVO_PADRAO[D_CONVERSOR_NUMERO_ALVOS] = {5, 10, 15, 20, 30};

// What a map job reads of the window's legend tables: copied into the job when it starts, so the
// window may edit its own tables while the job runs.
struct ST_ParametrosMapa
{
    ST_LegendaMapa gstLegendaMapa[D_CONVERSOR_NUMERO_FAIXAS_LEGENDA] = {};
    ST_ShpLegenda gstShpLegendaMapa;
};

// Colour tables in class order, low values blue and high values red: six colours for legend type 1
// (KML style URLs), thirteen for legend type 2 (KML style URLs, HTML colour texts that close the
// attribute they are written into, 0x00RRGGBB values for drawing).
inline constexpr const char* gulVetorNomesCoresLegendaQuibar[D_CONVERSOR_NUMERO_FAIXAS_LEGENDA] = {
    "#Azul", "#Ciano", "#Verde", "#Amarelo", "#Laranja", "#Vermelho"};
inline constexpr const char* gulVetorNomesCoresShp[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP] = {
    "#Azul_1",    "#Azul_2",    "#Ciano_1",    "#Ciano_2",    "#Verde_1",    "#Verde_2",   "#Amarelo_1",
    "#Amarelo_2", "#Laranja_1", "#Vermelho_1", "#Vermelho_2", "#Vermelho_3", "#Vermelho_4"};
inline constexpr const char* gulVetorHexCoresShp[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP] = {
    "#1E1EFF\"", "#1E96FF\"", "#1EF0F0\"", "#64E1C8\"", "#1EE11E\"", "#C8FF64\"", "#FFFF1E\"",
    "#FFC81E\"", "#FF7F1E\"", "#FF1E1E\"", "#D21E1E\"", "#A01E1E\"", "#641E1E\""};
inline constexpr std::uint32_t gulVetorCoresShp[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP] = {
    0x1E1EFF, 0x1E96FF, 0x1EF0F0, 0x64E1C8, 0x1EE11E, 0xC8FF64, 0xFFFF1E,
    0xFFC81E, 0xFF7F1E, 0xFF1E1E, 0xD21E1E, 0xA01E1E, 0x641E1E};

// Rebuilds the bands from five targets (9999 or 0: empty slot) for map type 1 or 2.
void conversor_SetarLegenda(const int* iValorAlvo, int iTipoMapa, ST_LegendaMapa* pstLegendaMapa);
// TRUE when the bands form a valid ascending legend.
BOOL conversor_AnalisarDadosLegenda(const ST_LegendaMapa* pstLegendaMapa);
// Band (type 1) or row (type 2) of a value; D_CONVERSOR_FAIXA_SEM_VALOR for 0.
int conversor_RetornarFaixaLegenda(int iValor, int iTipoLegenda, const ST_ParametrosMapa* pstParametros);
