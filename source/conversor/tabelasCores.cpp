// Colour tables of the legends, in class order: low values blue, high values red.
#include "zavoro/conversor.h"

const char* const gulVetorNomesCoresLegendaQuibar[D_CONVERSOR_NUMERO_FAIXAS_LEGENDA] = {
    "#Azul", "#Ciano", "#Verde", "#Amarelo", "#Laranja", "#Vermelho"};

const char* const gulVetorNomesCoresShp[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP] = {
    "#Azul_1",     "#Azul_2",    "#Ciano_1",    "#Ciano_2",    "#Verde_1",    "#Verde_2",   "#Amarelo_1",
    "#Amarelo_2",  "#Laranja_1", "#Vermelho_1", "#Vermelho_2", "#Vermelho_3", "#Vermelho_4"};

// HTML colour texts; each closes the attribute it is written into.
const char* const gulVetorHexCoresShp[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP] = {
    "#1E1EFF\"", "#1E96FF\"", "#1EF0F0\"", "#64E1C8\"", "#1EE11E\"", "#C8FF64\"", "#FFFF1E\"",
    "#FFC81E\"", "#FF7F1E\"", "#FF1E1E\"", "#D21E1E\"", "#A01E1E\"", "#641E1E\""};

const std::uint32_t gulVetorCoresShp[D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP] = {
    0x1E1EFF, 0x1E96FF, 0x1EF0F0, 0x64E1C8, 0x1EE11E, 0xC8FF64, 0xFFFF1E,
    0xFFC81E, 0xFF7F1E, 0xFF1E1E, 0xD21E1E, 0xA01E1E, 0x641E1E};
