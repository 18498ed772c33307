// Navigation files (".nvg") recorded by the Zavoro console: the on-disk records of every version,
// their limits, validation, point and configuration-block reading, and the date, duration and
// code-to-text helpers.
//
// Every record below is stored on disk exactly as laid out here (little-endian, natural alignment,
// padding bytes declared as fields). Sizes and offsets are pinned with static_assert so that a record
// can be filled by memcpy from the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "zavoro/tipos.h"

// ---------------------------------------------------------------------------------------------------
// Limits and sizes
// ---------------------------------------------------------------------------------------------------

inline constexpr std::uint32_t D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_SEM_LIMITES = 1;
inline constexpr std::uint32_t D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES = 2;
inline constexpr std::uint16_t D_ZAVORO_VERSAO_ARQUIVO_TALHAO = 1;
inline constexpr std::uint16_t D_ZAVORO_VERSAO_ARQUIVO_LIMITE = 1;
inline constexpr std::uint16_t D_ZAVORO_VERSAO_MINIMA_ARQUIVO_GUIA = 1;
inline constexpr std::uint16_t D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_GUIA = 3;
inline constexpr std::uint16_t D_ZAVORO_VERSAO_MINIMA_ARQUIVO_EVENTO = 1;
inline constexpr std::uint16_t D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO = 9;

inline constexpr long D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_NAVEGACAO = 72;
inline constexpr long D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_NAVEGACAO = 104857600; // 100 MiB
inline constexpr int D_ZAVORO_TAMANHO_ARQUIVO_TALHAO = 2 + 72 + 1;
inline constexpr int D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_GUIA = 48;
inline constexpr int D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_GUIA = 10485760;
inline constexpr int D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_LIMITE = 16;
inline constexpr int D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_LIMITE = 10485760;
inline constexpr int D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_EVENTO = 2 + 348 + 1;
inline constexpr int D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_EVENTO = 50 * 1024 * 1024;

inline constexpr std::uint32_t D_ZAVORO_NUMERO_MAXIMO_GUIAS = 10;
inline constexpr std::uint32_t D_ZAVORO_NUMERO_MAXIMO_LIMITES = 5;
inline constexpr std::uint32_t D_ZAVORO_NUMERO_MAXIMO_CONFIGURACOES = 1000;
inline constexpr std::uint32_t D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO = 1000000;
inline constexpr std::uint32_t D_ZAVORO_NUMERO_MAXIMO_PONTOS_CURVA = 50000;
inline constexpr std::uint32_t D_ZAVORO_NUMERO_MAXIMO_PONTOS_LIMITE = 50000;

// A time stamp below or at this count (31/12/2009 - 09:59) cannot come from a working console.
inline constexpr std::uint32_t D_ZAVORO_DATA_HORA_MINIMA = 315655199;
inline constexpr int D_ZAVORO_TAMANHO_STRING = 40;
inline constexpr int D_ZAVORO_NUMERO_MAXIMO_SECOES = 9;
inline constexpr int D_ZAVORO_NUMERO_TAXAS = 5;
inline constexpr int D_ZAVORO_NUMERO_PRODUTOS_PULV = 6;

// Buffer sizes for the text helpers (UTF-8 output, terminator included).
inline constexpr int D_ZAVORO_TAMANHO_STRING_DATA_HORA = 19;
inline constexpr int D_ZAVORO_TAMANHO_STRING_DURACAO = 32;
inline constexpr int D_ZAVORO_TAMANHO_STRING_CODIGO = 24;

// ---------------------------------------------------------------------------------------------------
// Enumerations stored in the records
// ---------------------------------------------------------------------------------------------------

inline constexpr std::uint8_t D_ZAVORO_TIPO_GUIA_RETA = 0;
inline constexpr std::uint8_t D_ZAVORO_TIPO_GUIA_CURVA = 1;
// Largest field guide type a valid file may carry.
inline constexpr std::uint8_t D_ZAVORO_TIPO_GUIA_MAXIMO_TALHAO = 3;

inline constexpr std::uint8_t D_ZAVORO_OPERACAO_PULVERIZACAO = 0;
inline constexpr std::uint8_t D_ZAVORO_OPERACAO_ADUBACAO = 1;
inline constexpr std::uint8_t D_ZAVORO_OPERACAO_COLHEITA = 2;
inline constexpr std::uint8_t D_ZAVORO_OPERACAO_PLANTIO = 3;
inline constexpr std::uint8_t D_ZAVORO_OPERACAO_IRRIGACAO = 4;
inline constexpr std::uint8_t D_ZAVORO_OPERACAO_OUTROS = 5;
// Event versions up to this one store the operation in the older numbering.
inline constexpr std::uint16_t D_ZAVORO_VERSAO_EVENTO_ULTIMA_OPERACAO_ANTIGA = 8;

inline constexpr std::uint8_t D_ZAVORO_FATOR_HIDRAULICO_FABRICA = 0;
inline constexpr std::uint8_t D_ZAVORO_FATOR_HIDRAULICO_100 = 1;
inline constexpr std::uint8_t D_ZAVORO_FATOR_HIDRAULICO_50 = 2;
inline constexpr std::uint8_t D_ZAVORO_FATOR_HIDRAULICO_25 = 3;

inline constexpr std::uint8_t D_ZAVORO_PILOTO_TIPO_COMANDO_CAVODA = 0;
inline constexpr std::uint8_t D_ZAVORO_PILOTO_TIPO_COMANDO_RUNDEL = 1;
inline constexpr std::uint8_t D_ZAVORO_PILOTO_TIPO_COMANDO_KVATO100PQTR = 2;
inline constexpr std::uint8_t D_ZAVORO_PILOTO_TIPO_COMANDO_KVATO160PQTR = 3;
inline constexpr std::uint8_t D_ZAVORO_PILOTO_TIPO_COMANDO_KVATO200PQTR = 4;
inline constexpr std::uint8_t D_ZAVORO_TIPO_COMANDO_ELETRICO_V1 = 5;
inline constexpr std::uint8_t D_ZAVORO_TIPO_COMANDO_HD = 6;
inline constexpr std::uint8_t D_ZAVORO_TIPO_COMANDO_ELETRICO_V2 = 7;

inline constexpr std::uint8_t D_ZAVORO_VALVULA_NAO_POSSUI = 0;
inline constexpr std::uint8_t D_ZAVORO_VALVULA_2_VIAS = 1;
inline constexpr std::uint8_t D_ZAVORO_VALVULA_3_VIAS = 2;

inline constexpr std::uint8_t D_ZAVORO_MODELO_VALVULA_CORRENTE_1300 = 0;
inline constexpr std::uint8_t D_ZAVORO_MODELO_VALVULA_CORRENTE_2000 = 1;

inline constexpr std::uint8_t D_ZAVORO_TIPO_TAXA_FIXA = 0;
inline constexpr std::uint8_t D_ZAVORO_TIPO_TAXA_VARIAVEL = 1;

inline constexpr std::uint8_t D_ZAVORO_TEMPO_CALIBRACAO_ADUBACAO_30_S = 0;
inline constexpr std::uint8_t D_ZAVORO_TEMPO_CALIBRACAO_ADUBACAO_1_MIN = 1;
inline constexpr std::uint8_t D_ZAVORO_TEMPO_CALIBRACAO_ADUBACAO_2_MIN = 2;
inline constexpr std::uint8_t D_ZAVORO_TEMPO_CALIBRACAO_ADUBACAO_5_MIN = 3;

inline constexpr std::uint8_t D_ZAVORO_TIPO_BALANCA_NENHUM = 0;
inline constexpr std::uint8_t D_ZAVORO_TIPO_BALANCA_QTN = 1;
inline constexpr std::uint8_t D_ZAVORO_TIPO_BALANCA_MORVEL = 2;

inline constexpr std::uint8_t D_ZAVORO_TIPO_MAQUINA_LANCO_1_ESTEIRA = 0;
inline constexpr std::uint8_t D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO = 1;
inline constexpr std::uint8_t D_ZAVORO_TIPO_MAQUINA_DASTRA_REBOCADO = 2;

inline constexpr std::uint8_t D_ZAVORO_TIPO_DISCOS_DASTRA_S2 = 0;
inline constexpr std::uint8_t D_ZAVORO_TIPO_DISCOS_DASTRA_S4 = 1;
inline constexpr std::uint8_t D_ZAVORO_TIPO_DISCOS_DASTRA_S6 = 2;
inline constexpr std::uint8_t D_ZAVORO_TIPO_DISCOS_DASTRA_S8 = 3;

inline constexpr std::uint8_t D_ZAVORO_TIPO_CONECTOR_SENSORES_TIPO_1_DUPLO = 0;
inline constexpr std::uint8_t D_ZAVORO_TIPO_CONECTOR_SENSORES_TIPO_2_CN2_AN_35 = 1;

inline constexpr std::uint8_t D_ZAVORO_TIPO_MODULO_ADUBACAO_MZTK = 0;
inline constexpr std::uint8_t D_ZAVORO_TIPO_MODULO_ADUBACAO_PLENVIK = 1;

inline constexpr std::uint8_t D_ZAVORO_TIPO_DADO_GPS_LONGITUDE = 0;
inline constexpr std::uint8_t D_ZAVORO_TIPO_DADO_GPS_LATITUDE = 1;

// Tag bits of a track point (usTag). Bits 13..15 are not defined.
inline constexpr std::uint16_t D_ZAVORO_TAG_INICIO = 1u << 0;
inline constexpr std::uint16_t D_ZAVORO_TAG_FIM = 1u << 1;
inline constexpr std::uint16_t D_ZAVORO_TAG_PONTO_RASTREAMENTO = 1u << 2;
inline constexpr std::uint16_t D_ZAVORO_TAG_CURVA_ZERO = 1u << 3;
inline constexpr std::uint16_t D_ZAVORO_TAG_PONTO_PAUSA = 1u << 4;
inline constexpr std::uint16_t D_ZAVORO_TAG_PARADA = 1u << 5;
inline constexpr std::uint16_t D_ZAVORO_TAG_SEM_SATELITES = 1u << 6;
inline constexpr std::uint16_t D_ZAVORO_TAG_VELOCIDADE_EXCEDIDA = 1u << 7;
inline constexpr std::uint16_t D_ZAVORO_TAG_RETORNO_ENERGIA = 1u << 8;
inline constexpr std::uint16_t D_ZAVORO_TAG_RASTRO = 1u << 9;
inline constexpr std::uint16_t D_ZAVORO_TAG_PILOTO_LIGADO = 1u << 10;
inline constexpr std::uint16_t D_ZAVORO_TAG_DESVIO_EXTENDIDO = 1u << 11;
inline constexpr std::uint16_t D_ZAVORO_TAG_DESVIO_VALIDO = 1u << 12;

inline constexpr double D_ZAVORO_RELACAO_PI_180 = 0.0174532925;
inline constexpr double D_ZAVORO_PI = 3.1415926535897932384626433832795;
inline constexpr double D_ZAVORO_TERRA_RAIO_EQUADOR = 6378137.0;

// ---------------------------------------------------------------------------------------------------
// Container records
// ---------------------------------------------------------------------------------------------------

struct ST_Talhao
{
    double dZeroRelativoLon;
    double dZeroRelativoLat;
    std::uint32_t ulDataHoraInicio;
    std::uint32_t ulIndicePrimeiroGuia;
    std::uint32_t ulIndicePrimeiroEvento;
    char szNomeTalhao[40];
    std::uint8_t ucNumeroGuias;
    std::uint8_t ucNumeroEventos;
    std::uint8_t ucTipoGuia;
    std::uint8_t ucNaoUtilizado[1];
};

// Guide record of versions 2 and 3; version 1 stores only the first 48 bytes.
struct ST_Guia_v2
{
    double dPontoALon;
    double dPontoALat;
    double dPontoBLon;
    double dPontoBLat;
    std::uint32_t ulDataHoraInicioGuia;
    std::uint32_t ulDataHoraInicioTalhao;
    float fDistanciaPercorridaAB;
    std::uint16_t usNumeroPontosCurva;
    std::uint8_t ucFlagPontoAMarcado;
    std::uint8_t ucFlagPontoBMarcado;
    std::uint8_t ucTipoGuia;
    std::uint8_t ucNaoUtilizado[7];
};
inline constexpr int D_ZAVORO_TAMANHO_GUIA_V1 = 48;

struct ST_Limite_v1
{
    float fAreaLimite;
    std::uint32_t ulDataHoraInicioLimite;
    std::uint32_t ulDataHoraInicioTalhao;
    std::uint16_t usNumeroPontosLimite;
    std::uint8_t ucSentidoLimite;
    std::uint8_t ucNaoUtilizado;
};

struct ST_PontosCurva
{
    float fLongitudeRel;
    float fLatitudeRel;
};

struct ST_PontosLimite
{
    float fLongitudeRel;
    float fLatitudeRel;
};

struct ST_EventoCabecalho
{
    std::uint32_t ulDataHoraInicioEvento;
    std::uint32_t ulDataHoraInicioTalhao;
    std::uint32_t ulDataHoraFimEvento;
    std::uint32_t ulNumConfiguracoes;
    std::uint32_t ulVolumeAplicado;
    std::uint32_t ulTempoTrabalho;
    std::uint32_t ulTempoTrabalhoEfetivo;
    float fDistanciaPercorridaEvento;
    float fAreaCobertura;
    char szNomeEvento[40];
    char szUltOperador[40];
    char szUltMaquina[40];
    char szUltCultura[40];
    std::uint8_t ucUltOperacao;
    std::uint8_t ucFlagDescarregado;
    std::uint8_t ucNaoUtilizado[2];
};

// ---------------------------------------------------------------------------------------------------
// Track points
// ---------------------------------------------------------------------------------------------------

struct ST_PontoNVG_v1
{
    float fLongitudeRelImp;
    float fLatitudeRelImp;
    float fAnguloNavegacao;
    float fAreaCobertura;
    std::uint32_t ulSegundosDataHora;
    std::uint16_t usTag;
    std::uint16_t usSecoes;
    std::uint16_t usTaxaLida;
    std::uint16_t usNivelTanque;
    std::uint16_t usVolumeAplicado;
    std::uint8_t ucVelocidade;
    std::uint8_t ucDesvio;
};

struct ST_PontoNVG
{
    float fLongitudeRelImp;
    float fLatitudeRelImp;
    float fAnguloNavegacao;
    float fAreaCobertura;
    std::uint32_t ulSegundosDataHora;
    std::uint16_t usTag;
    std::uint16_t usSecoes;
    std::uint16_t usTaxaLida[5];
    std::uint16_t usNivelTanque;
    std::uint16_t usVolumeAplicado;
    std::uint8_t ucVelocidade;
    std::uint8_t ucDesvio;
};

// Newest stored point and the in-memory point of every version.
struct ST_PontoNVG_v2
{
    float fLongitudeRelImp;
    float fLatitudeRelImp;
    float fAnguloNavegacao;
    float fAreaCobertura;
    std::uint32_t ulSegundosDataHora;
    std::uint16_t usTag;
    std::uint16_t usSecoes;
    std::uint16_t usTaxaLida[5];
    std::uint16_t usNivelTanque;
    std::uint16_t usVolumeAplicado;
    std::uint8_t ucVelocidade;
    std::uint8_t ucDesvio;
    float fPressao;
    float fTemperatura;
    std::uint8_t ucNaoUtilizado[4];
};

// ---------------------------------------------------------------------------------------------------
// Stage configuration blocks. Every version keeps the fields of the one before at the same offsets;
// the field lists are spelled once and shared by the versions that carry them.
// ---------------------------------------------------------------------------------------------------

struct ST_MemoriaProdutoPulv
{
    char ucNomeProduto[40];
    std::uint8_t ucFlagModoMedicao;
    std::uint8_t ucAlinhamento0;
    std::uint16_t usDoseMinima;
    std::uint16_t usDoseMaxima;
    std::uint16_t usDoseAtual;
    std::uint8_t ucFlagProdutoSelecionado;
    std::uint8_t ucFlagAgitadorDesligado;
    std::uint8_t ucAlinhamento[3];
    std::uint8_t ucAlinhamentoFinal;
};

// Offsets 0..145: present in every version.
#define ZAVORO_CAMPOS_CONFIG_BASICOS                                                                   \
    std::uint32_t ulNumeroPontosRastro;                                                                \
    std::uint16_t usLarguraImplemento;                                                                 \
    std::uint16_t usTamanhoSeccao[9];                                                                  \
    char szOperador[40];                                                                               \
    char szMaquina[40];                                                                                \
    char szCultura[40];                                                                                \
    std::uint8_t ucNumeroSecoes;                                                                       \
    std::uint8_t ucOperacao;                                                                           \
    std::uint8_t ucAlinhamento1[2];

// Offsets 148..208: console identity, sprayer, valves, autopilot (version 2 on).
#define ZAVORO_CAMPOS_CONFIG_CONSOLE                                                                   \
    std::uint32_t ulEntreEixosX1000;                                                                   \
    std::uint32_t ulNumeroSerial;                                                                      \
    std::uint32_t ulVersaoBootloader;                                                                  \
    std::uint32_t ulVersaoAplicAtualiz;                                                                \
    std::uint32_t ulVersaoAplicativo;                                                                  \
    std::uint32_t ulVersaoInterfaceDir;                                                                \
    std::uint32_t ulVersaoInterfaceEsq;                                                                \
    std::int16_t sSobreposicaoImplemento;                                                              \
    std::int16_t sDistImplemento;                                                                      \
    std::uint16_t usTaxaAplicacao1;                                                                    \
    std::uint16_t usTaxaAplicacao2;                                                                    \
    std::uint16_t usCapacidadeTanque;                                                                  \
    std::uint16_t usAlarmeTanque;                                                                      \
    std::uint16_t usConstanteFluxometro;                                                               \
    std::uint16_t usNumeroBicos;                                                                       \
    std::uint16_t usEspacamentoBicos;                                                                  \
    std::uint16_t usVazaoBico;                                                                         \
    std::uint16_t usPressaoBico;                                                                       \
    std::uint16_t usTempoValvulaProporcional;                                                          \
    std::uint16_t usTempoAberturaValvulaSecao;                                                         \
    std::uint16_t usTempoFechamentoValvulaSecao;                                                       \
    std::uint8_t ucValvulaGeral;                                                                       \
    std::uint8_t ucValvulaSecao;                                                                       \
    std::uint8_t ucValvulaProporcional;                                                                \
    std::uint8_t ucTipoComando;                                                                        \
    std::uint8_t ucAgressividade;

// Offsets 210..215, after the time zone byte.
#define ZAVORO_CAMPOS_CONFIG_CONSOLE_FIM                                                               \
    std::uint8_t ucReservado210;                                                                       \
    std::uint8_t ucReservado211;                                                                       \
    std::uint8_t ucModoDemonstracao;                                                                   \
    std::uint8_t ucFatorHidraulico;                                                                    \
    std::uint8_t ucAlinhamento2[2];

// Offsets 216..443: fertiliser spreader, rate type, job and map names (version 3 on).
#define ZAVORO_CAMPOS_CONFIG_ADUBACAO                                                                  \
    float fConstanteEsteira;                                                                           \
    float fDensidadeProduto;                                                                           \
    float fCtrlEsteiraCteP;                                                                            \
    float fCtrlEsteiraCteD;                                                                            \
    float fMaxRotacaoEsteira;                                                                          \
    float fMinRotacaoEsteira;                                                                          \
    float fCtrlDiscoCteP;                                                                              \
    float fCtrlDiscoCteD;                                                                              \
    float fMaxRotacaoDisco;                                                                            \
    float fRelacaoMotorEsteira;                                                                        \
    float fDiametroRoloEsteira;                                                                        \
    float fLarguraComporta;                                                                            \
    float fAlturaMaxComporta;                                                                          \
    float fVolumeAplicado;                                                                             \
    float fVolumeMapa;                                                                                 \
    float fAreaMapa;                                                                                   \
    float fCorrecaoBalanca;                                                                            \
    std::uint32_t ulCapacidadeTanque;                                                                  \
    std::uint32_t ulAlarmeNivelTanque;                                                                 \
    std::uint32_t ulRotacaoAlvoDisco;                                                                  \
    std::uint32_t ulTaxaFixa1;                                                                         \
    std::uint32_t ulTaxaFixa2;                                                                         \
    std::uint16_t usValorAdComportaAberta;                                                             \
    std::uint16_t usValorAdComportaFechada;                                                            \
    std::uint16_t usNumDentesEncoderDisco;                                                             \
    std::uint16_t usNumDentesEncoderEsteira;                                                           \
    char szNomeTrabalho[40];                                                                           \
    char szMapaTrabalho[40];                                                                           \
    char szParametroMapa[40];                                                                          \
    std::uint8_t ucControlarDisco;                                                                     \
    std::uint8_t ucControlarComporta;                                                                  \
    std::uint8_t ucSensorSobrepeso;                                                                    \
    std::uint8_t ucPosicaoEncoderEsteira;                                                              \
    std::uint8_t ucModeloValvula;                                                                      \
    std::uint8_t ucTipoTaxa;                                                                           \
    std::uint8_t ucTempoCalibracao;                                                                    \
    std::uint8_t ucUtilizarBalanca;                                                                    \
    std::uint8_t ucBalancaInstalada;                                                                   \
    std::uint8_t ucReservado441;                                                                       \
    std::uint8_t ucAlinhamento3[2];

// Offsets 444..740: per-motor fertiliser tables, machine, module, connector, disc set (version 4 on).
#define ZAVORO_CAMPOS_CONFIG_MOTORES_ADUBACAO                                                          \
    float fMaxRotacaoMotorAdub[6];                                                                     \
    float fMinRotacaoMotorAdub[6];                                                                     \
    std::uint16_t usMultFreqEncoder[6];                                                                \
    double dConstanteTrabalhoAdub[5];                                                                  \
    std::uint32_t ulADComportaDastra_1_Adub[2];                                                        \
    std::uint32_t ulADComportaDastra_0_Adub[2];                                                        \
    std::uint32_t ulADComportaDastra_580_Adub[2];                                                      \
    std::uint32_t ulRotacaoAlvoTurbinaAdub[2];                                                         \
    std::uint32_t ulAlarmeRotacaoTurbinaAdub[2];                                                       \
    std::uint32_t ulAlarmeRotacaoDiscoAdub;                                                            \
    std::uint16_t usMotorPwmCurvaAdub[6][5];                                                           \
    std::uint16_t usPercentualRotacaoMotorAdub[6][5];                                                  \
    std::uint16_t usNumPPREncoderMotorAdub[7];                                                         \
    std::uint16_t usTamanhoSecaoAdub[5];                                                               \
    std::uint16_t usEspacamentoLinhasAdub;                                                             \
    std::uint16_t usNumeroLinhasAdub;                                                                  \
    std::uint8_t ucNumeroSecoesAdub;                                                                   \
    std::uint8_t ucConectorEncodersAdub;                                                               \
    std::uint8_t ucTipoModuloAdub;                                                                     \
    std::uint8_t ucTipoMaquinaAdub;                                                                    \
    std::uint8_t ucTipoDiscosDastra;

// Offsets 741..747: drop point and implement width in metres (version 5 on).
#define ZAVORO_CAMPOS_CONFIG_DROP_POINT                                                                \
    std::uint8_t ucPosicaoDropPoint;                                                                   \
    std::uint8_t ucAlinhamento[2];                                                                     \
    float fLarguraImplemento;

// Offsets 752..783: planter settings (version 7 on).
#define ZAVORO_CAMPOS_CONFIG_PLANTIO                                                                   \
    std::uint16_t usTamanhoSeccaoPlantio[9];                                                           \
    std::uint16_t usNumeroLinhasPlantio;                                                               \
    std::uint16_t usEspacamentoLinhasPlantio;                                                          \
    std::uint16_t usTempoAberturaValvulaSecaoPlantio;                                                  \
    std::uint16_t usTempoFechamentoValvulaSecaoPlantio;                                                \
    std::int16_t sDistAduboSementePlantio;                                                             \
    std::uint8_t ucNumeroSecoesPlantio;                                                                \
    std::uint8_t ucSensorImplementoPlantio;                                                            \
    std::uint8_t ucAlinhamento5[2];

struct ST_EventoConfig_v1
{
    ZAVORO_CAMPOS_CONFIG_BASICOS
};

struct ST_EventoConfig_v2
{
    ZAVORO_CAMPOS_CONFIG_BASICOS
    ZAVORO_CAMPOS_CONFIG_CONSOLE
    std::int8_t cFusoHorario;
    ZAVORO_CAMPOS_CONFIG_CONSOLE_FIM
};

struct ST_EventoConfig_v3
{
    ZAVORO_CAMPOS_CONFIG_BASICOS
    ZAVORO_CAMPOS_CONFIG_CONSOLE
    std::int8_t cFusoHorario;
    ZAVORO_CAMPOS_CONFIG_CONSOLE_FIM
    ZAVORO_CAMPOS_CONFIG_ADUBACAO
};

struct ST_EventoConfig_v4
{
    ZAVORO_CAMPOS_CONFIG_BASICOS
    ZAVORO_CAMPOS_CONFIG_CONSOLE
    std::int8_t cFusoHorario;
    ZAVORO_CAMPOS_CONFIG_CONSOLE_FIM
    ZAVORO_CAMPOS_CONFIG_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_MOTORES_ADUBACAO
    std::uint8_t ucAlinhamento4[3];
};

struct ST_EventoConfig_v5
{
    ZAVORO_CAMPOS_CONFIG_BASICOS
    ZAVORO_CAMPOS_CONFIG_CONSOLE
    std::uint8_t ucFusoHorario;
    ZAVORO_CAMPOS_CONFIG_CONSOLE_FIM
    ZAVORO_CAMPOS_CONFIG_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_MOTORES_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_DROP_POINT
    std::uint8_t ucAlinhamento6[4];
};

struct ST_EventoConfig_v6
{
    ZAVORO_CAMPOS_CONFIG_BASICOS
    ZAVORO_CAMPOS_CONFIG_CONSOLE
    std::uint8_t ucFusoHorario;
    ZAVORO_CAMPOS_CONFIG_CONSOLE_FIM
    ZAVORO_CAMPOS_CONFIG_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_MOTORES_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_DROP_POINT
    float fSobreposicaoImplemento;
};

struct ST_EventoConfig_v7
{
    ZAVORO_CAMPOS_CONFIG_BASICOS
    ZAVORO_CAMPOS_CONFIG_CONSOLE
    std::uint8_t ucFusoHorario;
    ZAVORO_CAMPOS_CONFIG_CONSOLE_FIM
    ZAVORO_CAMPOS_CONFIG_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_MOTORES_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_DROP_POINT
    float fSobreposicaoImplemento;
    ZAVORO_CAMPOS_CONFIG_PLANTIO
};

struct ST_EventoConfig_v8
{
    ZAVORO_CAMPOS_CONFIG_BASICOS
    ZAVORO_CAMPOS_CONFIG_CONSOLE
    std::uint8_t ucFusoHorario;
    ZAVORO_CAMPOS_CONFIG_CONSOLE_FIM
    ZAVORO_CAMPOS_CONFIG_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_MOTORES_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_DROP_POINT
    float fSobreposicaoImplemento;
    ZAVORO_CAMPOS_CONFIG_PLANTIO
    ST_MemoriaProdutoPulv stProdutoUtilizadoPulv[6];
    std::uint8_t ucAlinhamento7[4];
};

// Version 9 has the layout of version 8; it only stores the operation in the current numbering.
struct ST_EventoConfig_v9
{
    ZAVORO_CAMPOS_CONFIG_BASICOS
    ZAVORO_CAMPOS_CONFIG_CONSOLE
    std::uint8_t ucFusoHorario;
    ZAVORO_CAMPOS_CONFIG_CONSOLE_FIM
    ZAVORO_CAMPOS_CONFIG_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_MOTORES_ADUBACAO
    ZAVORO_CAMPOS_CONFIG_DROP_POINT
    float fSobreposicaoImplemento;
    ZAVORO_CAMPOS_CONFIG_PLANTIO
    ST_MemoriaProdutoPulv stProdutoUtilizadoPulv[6];
    std::uint8_t ucAlinhamento7[4];
};

#undef ZAVORO_CAMPOS_CONFIG_BASICOS
#undef ZAVORO_CAMPOS_CONFIG_CONSOLE
#undef ZAVORO_CAMPOS_CONFIG_CONSOLE_FIM
#undef ZAVORO_CAMPOS_CONFIG_ADUBACAO
#undef ZAVORO_CAMPOS_CONFIG_MOTORES_ADUBACAO
#undef ZAVORO_CAMPOS_CONFIG_DROP_POINT
#undef ZAVORO_CAMPOS_CONFIG_PLANTIO

// Event header followed by the first configuration block, as the console lays them out.
template <typename T_Config> struct ST_EventoComConfig
{
    ST_EventoCabecalho stCabecalho;
    T_Config stConfig;
};
using ST_Evento_v1 = ST_EventoComConfig<ST_EventoConfig_v1>;
using ST_Evento_v2 = ST_EventoComConfig<ST_EventoConfig_v2>;
using ST_Evento_v3 = ST_EventoComConfig<ST_EventoConfig_v3>;
using ST_Evento_v4 = ST_EventoComConfig<ST_EventoConfig_v4>;
using ST_Evento_v5 = ST_EventoComConfig<ST_EventoConfig_v5>;
using ST_Evento_v6 = ST_EventoComConfig<ST_EventoConfig_v6>;
using ST_Evento_v7 = ST_EventoComConfig<ST_EventoConfig_v7>;
using ST_Evento_v8 = ST_EventoComConfig<ST_EventoConfig_v8>;
using ST_Evento_v9 = ST_EventoComConfig<ST_EventoConfig_v9>;

// ---------------------------------------------------------------------------------------------------
// Version tables and decoding
// ---------------------------------------------------------------------------------------------------

// Bytes of one configuration block of the event version; 0 for a version outside 1..9.
int zavoro_TamanhoConfiguracaoEvento(unsigned int uiVersaoArquivoEvento);
// Bytes of one stored track point of the event version; 0 for a version outside 1..9.
int zavoro_TamanhoPontoNVG(unsigned int uiVersaoArquivoEvento);
// Translates a stored operation code to the current numbering (events of version 8 or less).
std::uint8_t zavoro_TraduzirOperacao(std::uint8_t ucOperacaoArmazenada, unsigned int uiVersaoArquivoEvento);
// Applied quantity carried by a point, for a stage of the given (translated) operation.
std::uint32_t zavoro_CalcularQuantidadeAplicada(const ST_PontoNVG_v2* pstPontoNVG, std::uint8_t ucOperacao);

// ---------------------------------------------------------------------------------------------------
// Reading
// ---------------------------------------------------------------------------------------------------

// Reads one track point of the event version at the current position into the common in-memory
// point. *piBytesLidosLog receives the bytes actually read, also on a short read. Fields that the
// stored format lacks are left as they were (the rate channels 1..4 of the oldest format are zeroed).
BOOL zavoro_LerEstruturaLog(std::FILE* pfArquivoLeitura, ST_PontoNVG_v2* pstPontoNVG,
                            unsigned int uiVersaoArquivoEvento, int* piBytesLidosLog);

// Reads the configuration block of the event version at the current position into a cleared
// version-9 record: fields the version lacks read as zero. The operation is left as stored.
// *piBytesLidos (when given) receives the bytes read.
BOOL zavoro_LerConfiguracaoEvento(std::FILE* pfArquivoLeitura, unsigned int uiVersaoArquivoEvento,
                                  ST_EventoConfig_v9* pstConfig, int* piBytesLidos = nullptr);

// Text of a fixed 40-byte Windows-1252 field of a record, decoded to UTF-8 (up to its first zero
// byte, or the whole field when it holds none).
std::string zavoro_TextoCampo(const char* pcCampo, std::size_t tamanho = D_ZAVORO_TAMANHO_STRING);

// Where the parts of a navigation file start, found by one walk over the container that checks versions
// and counts only (checksums are validation's business): the field record, the guide and boundary
// entries (skipped by their lengths), the event header as stored, and the first stage.
struct ST_EstruturaNavegacao
{
    std::uint32_t uiVersaoArquivoNavegacao = 0;
    BOOL bTalhaoLido = FALSE; // stTalhao holds the field record (also when a later part failed)
    ST_Talhao stTalhao{};
    std::uint32_t ulNumeroGuias = 0;
    long lInicioGuias = 0;    // first guide entry
    std::uint32_t uiNumeroLimites = 0;
    long lInicioLimites = 0;  // first boundary entry (container version 2)
    std::uint16_t usVersaoArquivoEvento = 0;
    ST_EventoCabecalho stCabecalho{};
    long lPrimeiraEtapa = 0;  // first configuration block
};

// Walks from the start of the file; leaves it at the first stage. FALSE (with the reason in pszErro,
// when given) at the first part that cannot be read or has a version or count this system does not know.
BOOL zavoro_PercorrerEstrutura(std::FILE* pfArquivoLeitura, ST_EstruturaNavegacao* pstEstrutura,
                               std::string* pszErro = nullptr);

// ---------------------------------------------------------------------------------------------------
// Validation
// ---------------------------------------------------------------------------------------------------

// Where in the file a check failed.
inline constexpr int D_ZAVORO_SECAO_ARQUIVO = 0;
inline constexpr int D_ZAVORO_SECAO_TALHAO = 1;
inline constexpr int D_ZAVORO_SECAO_GUIA = 2;
inline constexpr int D_ZAVORO_SECAO_LIMITE = 3;
inline constexpr int D_ZAVORO_SECAO_EVENTO = 4;
inline constexpr int D_ZAVORO_SECAO_ETAPA = 5;
inline constexpr int D_ZAVORO_SECAO_PONTO = 6;

// Why and where a navigation file was rejected. Entries are numbered from 1 as users count them;
// 0 means the check concerns the section as a whole.
struct ST_DiagnosticoValidacao
{
    BOOL bValido = TRUE;
    int iSecao = D_ZAVORO_SECAO_ARQUIVO;
    long lEntrada = 0;     // guide, boundary or stage number
    long lPonto = 0;       // point number inside the stage, for D_ZAVORO_SECAO_PONTO
    long long llPosicao = 0; // byte offset of the failing item
    std::string szMotivo;  // Portuguese, UTF-8
};

// Full-file validation: TRUE when every checksum, version, count, length and plausibility bound holds.
BOOL zavoro_ValidarArquivoNavegacao(const char* pcArquivo);
// Same walk, saying why and where the file was rejected.
BOOL zavoro_DiagnosticarArquivoNavegacao(const char* pcArquivo, ST_DiagnosticoValidacao* pstDiagnostico);
// The same for a file already open for binary reading, from its first byte (the position is left
// anywhere).
BOOL zavoro_DiagnosticarArquivoNavegacaoAberto(std::FILE* pfArquivoLeitura, ST_DiagnosticoValidacao* pstDiagnostico);
// One Portuguese line for a rejected file: "guia 2 (byte 187): soma de verificação incorreta".
std::string zavoro_DescreverDiagnostico(const ST_DiagnosticoValidacao& stDiagnostico);

// Section validators: each starts at the section's length or count field. The first three leave the
// position at the start of the next part when they succeed. The diagnostic is optional.
BOOL zavoro_ValidarArquivoNavegacaoTalhao(std::FILE* pfArquivoLeitura,
                                          ST_DiagnosticoValidacao* pstDiagnostico = nullptr);
BOOL zavoro_ValidarArquivoNavegacaoGuia(std::FILE* pfArquivoLeitura,
                                        ST_DiagnosticoValidacao* pstDiagnostico = nullptr);
BOOL zavoro_ValidarArquivoNavegacaoLimite(std::FILE* pfArquivoLeitura,
                                          ST_DiagnosticoValidacao* pstDiagnostico = nullptr);
BOOL zavoro_ValidarArquivoNavegacaoEvento(std::FILE* pfArquivoLeitura,
                                          ST_DiagnosticoValidacao* pstDiagnostico = nullptr);

// ---------------------------------------------------------------------------------------------------
// Dates, durations, distances and code texts. The text functions write UTF-8 with a terminator into
// the caller's buffer (sizes D_ZAVORO_TAMANHO_STRING_*); callers append by passing the end of a text.
// ---------------------------------------------------------------------------------------------------

void zavoro_RetornarStringDataHora(unsigned int ulDataHora, char* cStringDataHora);
void zavoro_RetornarStringHoraMinutoSegundo(unsigned int ulHoraMinSeg, char* pcStringHoraMinSeg);
void zavoro_RetornarStringTipoValvula(unsigned char ucTipoValvula, char* pcString);
void zavoro_RetornarStringTipoOperacao(unsigned char ucTipoOperacao, char* pcString);
void zavoro_RetornarStringTipoComandoPiloto(unsigned char ucTipoComando, char* pcString);
void zavoro_RetornarStringFatorHidraulico(unsigned char ucFatorHidraulico, char* pcString);
void zavoro_RetornarStringTipoGuia(unsigned char ucTipoGuia, char* pcString);

// Calendar fields of a console time stamp; the year is counted from 2000 (0 = 2000).
void zavoro_CalcularDataHoraSegundos(unsigned int ulSegundosDataHora, long int* plDia, long int* plMes,
                                     long int* plAno, long int* plHora, long int* plMinuto,
                                     long int* plSegundo);
float zavoro_CalcularDistancia2Pontos(float fDeltaLon, float fDeltaLat);
