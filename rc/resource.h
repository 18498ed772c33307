// Resource ids of the desktop application: dialogs, controls, menu items, icon and logo. Every
// control's Qt object name is its name here.
#pragma once

// Dialogs
inline constexpr int frmConversorZavoro = 1000;
inline constexpr int frmSobre = 2000;
inline constexpr int frmVisualizacaoMapa = 3000;

// Statics
inline constexpr int lblOU = 1101;
inline constexpr int lblStatusConversao = 1102;
inline constexpr int lbRecomendacaoMapa1 = 1103;

// Edits
inline constexpr int etArquivos = 1201;
inline constexpr int etDiretorio = 1202;
inline constexpr int etStatus = 1203;
inline constexpr int etValorAlvo1 = 1204;
inline constexpr int etValorAlvo2 = 1205;
inline constexpr int etValorAlvo3 = 1206;
inline constexpr int etValorAlvo4 = 1207;
inline constexpr int etValorAlvo5 = 1208;
inline constexpr int etMapa1Shp = 1209;
inline constexpr int etMapa2Shp = 1210;

// Push buttons
inline constexpr int btnSelecioneArquivos = 1301;
inline constexpr int btnSelecioneDiretorio = 1302;
inline constexpr int btnBotaoEsquerda = 1303;
inline constexpr int btnBotaoDireita = 1304;
inline constexpr int btnCancelarConversao = 1305;
inline constexpr int btnMapa1Shp = 1306;
inline constexpr int btnMapa2Shp = 1307;
inline constexpr int btnDesenharMapaShapefile1 = 1308;
inline constexpr int btnDesenharMapaShapefile2 = 1309;
inline constexpr int btnExportar = 1310;
inline constexpr int btnCompararMapas = 1311;

// Group boxes
inline constexpr int grpConversaoOpcoesMapa = 1401;
inline constexpr int grpStatus = 1402;
inline constexpr int grpBoxModoUtilizacao = 1403;
inline constexpr int grpBoxVisualizacaoMapa1 = 1404;
inline constexpr int grpBoxVisualizacaoMapa2 = 1405;

// Radio buttons
inline constexpr int rdbtnOpcao1 = 1501;
inline constexpr int rdbtnOpcao2 = 1502;
inline constexpr int rdConversorArquivos = 1503;
inline constexpr int rdVisualizacaoMapas = 1504;

// Menu
inline constexpr int mnZavoro = 1601;
inline constexpr int mnSair = 1603;
inline constexpr int mnComoUtilizar = 1604;
inline constexpr int mnSobre = 1605;

// Icon and bitmap
inline constexpr int icoQuibar = 1701;
inline constexpr int logoMorvel = 2701;

// Progress bars
inline constexpr int pgBarConvertendo = 1801;
inline constexpr int pgBarConvertendoMapaTxVar = 1802;

// Drop-down list
inline constexpr int cBoxVisualizacaoMapaParam1 = 2001;

// Picture placeholders
inline constexpr int rectMapa1 = 2101;
inline constexpr int rectMapa2 = 2102;
