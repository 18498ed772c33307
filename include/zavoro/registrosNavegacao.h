// The stored form of a navigation file (".nvg"): versions, sizes and limits of its parts, the
// enumerations its records carry, and the records of every version.
//
// Every record below is stored on disk exactly as laid out here (little-endian, natural alignment,
// padding bytes declared as fields). Sizes and offsets are pinned with static_assert at the end of
// this header, so that a record can be filled by memcpy from the file.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

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
// Layout pins
// ---------------------------------------------------------------------------------------------------

static_assert(std::endian::native == std::endian::little,
              "records are filled by memcpy from little-endian files");

#define ZAVORO_PINO(T, campo, offset) static_assert(offsetof(T, campo) == (offset), #T "::" #campo)

static_assert(sizeof(ST_Talhao) == 72);
ZAVORO_PINO(ST_Talhao, dZeroRelativoLon, 0);
ZAVORO_PINO(ST_Talhao, dZeroRelativoLat, 8);
ZAVORO_PINO(ST_Talhao, ulDataHoraInicio, 16);
ZAVORO_PINO(ST_Talhao, ulIndicePrimeiroGuia, 20);
ZAVORO_PINO(ST_Talhao, ulIndicePrimeiroEvento, 24);
ZAVORO_PINO(ST_Talhao, szNomeTalhao, 28);
ZAVORO_PINO(ST_Talhao, ucNumeroGuias, 68);
ZAVORO_PINO(ST_Talhao, ucNumeroEventos, 69);
ZAVORO_PINO(ST_Talhao, ucTipoGuia, 70);
ZAVORO_PINO(ST_Talhao, ucNaoUtilizado, 71);

static_assert(sizeof(ST_Guia_v2) == 56);
ZAVORO_PINO(ST_Guia_v2, dPontoALon, 0);
ZAVORO_PINO(ST_Guia_v2, dPontoALat, 8);
ZAVORO_PINO(ST_Guia_v2, dPontoBLon, 16);
ZAVORO_PINO(ST_Guia_v2, dPontoBLat, 24);
ZAVORO_PINO(ST_Guia_v2, ulDataHoraInicioGuia, 32);
ZAVORO_PINO(ST_Guia_v2, ulDataHoraInicioTalhao, 36);
ZAVORO_PINO(ST_Guia_v2, fDistanciaPercorridaAB, 40);
ZAVORO_PINO(ST_Guia_v2, usNumeroPontosCurva, 44);
ZAVORO_PINO(ST_Guia_v2, ucFlagPontoAMarcado, 46);
ZAVORO_PINO(ST_Guia_v2, ucFlagPontoBMarcado, 47);
ZAVORO_PINO(ST_Guia_v2, ucTipoGuia, 48);
ZAVORO_PINO(ST_Guia_v2, ucNaoUtilizado, 49);
static_assert(offsetof(ST_Guia_v2, ucTipoGuia) == D_ZAVORO_TAMANHO_GUIA_V1);

static_assert(sizeof(ST_Limite_v1) == 16);
ZAVORO_PINO(ST_Limite_v1, fAreaLimite, 0);
ZAVORO_PINO(ST_Limite_v1, ulDataHoraInicioLimite, 4);
ZAVORO_PINO(ST_Limite_v1, ulDataHoraInicioTalhao, 8);
ZAVORO_PINO(ST_Limite_v1, usNumeroPontosLimite, 12);
ZAVORO_PINO(ST_Limite_v1, ucSentidoLimite, 14);
ZAVORO_PINO(ST_Limite_v1, ucNaoUtilizado, 15);

static_assert(sizeof(ST_PontosCurva) == 8 && sizeof(ST_PontosLimite) == 8);
ZAVORO_PINO(ST_PontosCurva, fLatitudeRel, 4);
ZAVORO_PINO(ST_PontosLimite, fLatitudeRel, 4);

static_assert(sizeof(ST_EventoCabecalho) == 200);
ZAVORO_PINO(ST_EventoCabecalho, ulDataHoraInicioEvento, 0);
ZAVORO_PINO(ST_EventoCabecalho, ulDataHoraInicioTalhao, 4);
ZAVORO_PINO(ST_EventoCabecalho, ulDataHoraFimEvento, 8);
ZAVORO_PINO(ST_EventoCabecalho, ulNumConfiguracoes, 12);
ZAVORO_PINO(ST_EventoCabecalho, ulVolumeAplicado, 16);
ZAVORO_PINO(ST_EventoCabecalho, ulTempoTrabalho, 20);
ZAVORO_PINO(ST_EventoCabecalho, ulTempoTrabalhoEfetivo, 24);
ZAVORO_PINO(ST_EventoCabecalho, fDistanciaPercorridaEvento, 28);
ZAVORO_PINO(ST_EventoCabecalho, fAreaCobertura, 32);
ZAVORO_PINO(ST_EventoCabecalho, szNomeEvento, 36);
ZAVORO_PINO(ST_EventoCabecalho, szUltOperador, 76);
ZAVORO_PINO(ST_EventoCabecalho, szUltMaquina, 116);
ZAVORO_PINO(ST_EventoCabecalho, szUltCultura, 156);
ZAVORO_PINO(ST_EventoCabecalho, ucUltOperacao, 196);
ZAVORO_PINO(ST_EventoCabecalho, ucFlagDescarregado, 197);
ZAVORO_PINO(ST_EventoCabecalho, ucNaoUtilizado, 198);

static_assert(sizeof(ST_PontoNVG_v1) == 32);
ZAVORO_PINO(ST_PontoNVG_v1, fLongitudeRelImp, 0);
ZAVORO_PINO(ST_PontoNVG_v1, fLatitudeRelImp, 4);
ZAVORO_PINO(ST_PontoNVG_v1, fAnguloNavegacao, 8);
ZAVORO_PINO(ST_PontoNVG_v1, fAreaCobertura, 12);
ZAVORO_PINO(ST_PontoNVG_v1, ulSegundosDataHora, 16);
ZAVORO_PINO(ST_PontoNVG_v1, usTag, 20);
ZAVORO_PINO(ST_PontoNVG_v1, usSecoes, 22);
ZAVORO_PINO(ST_PontoNVG_v1, usTaxaLida, 24);
ZAVORO_PINO(ST_PontoNVG_v1, usNivelTanque, 26);
ZAVORO_PINO(ST_PontoNVG_v1, usVolumeAplicado, 28);
ZAVORO_PINO(ST_PontoNVG_v1, ucVelocidade, 30);
ZAVORO_PINO(ST_PontoNVG_v1, ucDesvio, 31);

static_assert(sizeof(ST_PontoNVG) == 40);
static_assert(sizeof(ST_PontoNVG_v2) == 52);
#define ZAVORO_PINO_PONTO(campo, offset)                                                                      \
    ZAVORO_PINO(ST_PontoNVG, campo, offset);                                                                  \
    ZAVORO_PINO(ST_PontoNVG_v2, campo, offset)
ZAVORO_PINO_PONTO(fLongitudeRelImp, 0);
ZAVORO_PINO_PONTO(fLatitudeRelImp, 4);
ZAVORO_PINO_PONTO(fAnguloNavegacao, 8);
ZAVORO_PINO_PONTO(fAreaCobertura, 12);
ZAVORO_PINO_PONTO(ulSegundosDataHora, 16);
ZAVORO_PINO_PONTO(usTag, 20);
ZAVORO_PINO_PONTO(usSecoes, 22);
ZAVORO_PINO_PONTO(usTaxaLida, 24);
ZAVORO_PINO_PONTO(usNivelTanque, 34);
ZAVORO_PINO_PONTO(usVolumeAplicado, 36);
ZAVORO_PINO_PONTO(ucVelocidade, 38);
ZAVORO_PINO_PONTO(ucDesvio, 39);
ZAVORO_PINO(ST_PontoNVG_v2, fPressao, 40);
ZAVORO_PINO(ST_PontoNVG_v2, fTemperatura, 44);
ZAVORO_PINO(ST_PontoNVG_v2, ucNaoUtilizado, 48);

static_assert(sizeof(ST_MemoriaProdutoPulv) == 54);
ZAVORO_PINO(ST_MemoriaProdutoPulv, ucNomeProduto, 0);
ZAVORO_PINO(ST_MemoriaProdutoPulv, ucFlagModoMedicao, 40);
ZAVORO_PINO(ST_MemoriaProdutoPulv, ucAlinhamento0, 41);
ZAVORO_PINO(ST_MemoriaProdutoPulv, usDoseMinima, 42);
ZAVORO_PINO(ST_MemoriaProdutoPulv, usDoseMaxima, 44);
ZAVORO_PINO(ST_MemoriaProdutoPulv, usDoseAtual, 46);
ZAVORO_PINO(ST_MemoriaProdutoPulv, ucFlagProdutoSelecionado, 48);
ZAVORO_PINO(ST_MemoriaProdutoPulv, ucFlagAgitadorDesligado, 49);
ZAVORO_PINO(ST_MemoriaProdutoPulv, ucAlinhamento, 50);
ZAVORO_PINO(ST_MemoriaProdutoPulv, ucAlinhamentoFinal, 53);

static_assert(sizeof(ST_EventoConfig_v1) == 148);
static_assert(sizeof(ST_EventoConfig_v2) == 216);
static_assert(sizeof(ST_EventoConfig_v3) == 444);
static_assert(sizeof(ST_EventoConfig_v4) == 744);
static_assert(sizeof(ST_EventoConfig_v5) == 752);
static_assert(sizeof(ST_EventoConfig_v6) == 752);
static_assert(sizeof(ST_EventoConfig_v7) == 784);
static_assert(sizeof(ST_EventoConfig_v8) == 1112);
static_assert(sizeof(ST_EventoConfig_v9) == 1112);

static_assert(sizeof(ST_Evento_v1) == 348 && sizeof(ST_Evento_v2) == 416 && sizeof(ST_Evento_v3) == 644);
static_assert(sizeof(ST_Evento_v4) == 944 && sizeof(ST_Evento_v5) == 952 && sizeof(ST_Evento_v6) == 952);
static_assert(sizeof(ST_Evento_v7) == 984 && sizeof(ST_Evento_v8) == 1312 && sizeof(ST_Evento_v9) == 1312);

// Every field of the newest block, at the offset it keeps in all versions that carry it.
ZAVORO_PINO(ST_EventoConfig_v9, ulNumeroPontosRastro, 0);
ZAVORO_PINO(ST_EventoConfig_v9, usLarguraImplemento, 4);
ZAVORO_PINO(ST_EventoConfig_v9, usTamanhoSeccao, 6);
ZAVORO_PINO(ST_EventoConfig_v9, szOperador, 24);
ZAVORO_PINO(ST_EventoConfig_v9, szMaquina, 64);
ZAVORO_PINO(ST_EventoConfig_v9, szCultura, 104);
ZAVORO_PINO(ST_EventoConfig_v9, ucNumeroSecoes, 144);
ZAVORO_PINO(ST_EventoConfig_v9, ucOperacao, 145);
ZAVORO_PINO(ST_EventoConfig_v9, ucAlinhamento1, 146);
ZAVORO_PINO(ST_EventoConfig_v9, ulEntreEixosX1000, 148);
ZAVORO_PINO(ST_EventoConfig_v9, ulNumeroSerial, 152);
ZAVORO_PINO(ST_EventoConfig_v9, ulVersaoBootloader, 156);
ZAVORO_PINO(ST_EventoConfig_v9, ulVersaoAplicAtualiz, 160);
ZAVORO_PINO(ST_EventoConfig_v9, ulVersaoAplicativo, 164);
ZAVORO_PINO(ST_EventoConfig_v9, ulVersaoInterfaceDir, 168);
ZAVORO_PINO(ST_EventoConfig_v9, ulVersaoInterfaceEsq, 172);
ZAVORO_PINO(ST_EventoConfig_v9, sSobreposicaoImplemento, 176);
ZAVORO_PINO(ST_EventoConfig_v9, sDistImplemento, 178);
ZAVORO_PINO(ST_EventoConfig_v9, usTaxaAplicacao1, 180);
ZAVORO_PINO(ST_EventoConfig_v9, usTaxaAplicacao2, 182);
ZAVORO_PINO(ST_EventoConfig_v9, usCapacidadeTanque, 184);
ZAVORO_PINO(ST_EventoConfig_v9, usAlarmeTanque, 186);
ZAVORO_PINO(ST_EventoConfig_v9, usConstanteFluxometro, 188);
ZAVORO_PINO(ST_EventoConfig_v9, usNumeroBicos, 190);
ZAVORO_PINO(ST_EventoConfig_v9, usEspacamentoBicos, 192);
ZAVORO_PINO(ST_EventoConfig_v9, usVazaoBico, 194);
ZAVORO_PINO(ST_EventoConfig_v9, usPressaoBico, 196);
ZAVORO_PINO(ST_EventoConfig_v9, usTempoValvulaProporcional, 198);
ZAVORO_PINO(ST_EventoConfig_v9, usTempoAberturaValvulaSecao, 200);
ZAVORO_PINO(ST_EventoConfig_v9, usTempoFechamentoValvulaSecao, 202);
ZAVORO_PINO(ST_EventoConfig_v9, ucValvulaGeral, 204);
ZAVORO_PINO(ST_EventoConfig_v9, ucValvulaSecao, 205);
ZAVORO_PINO(ST_EventoConfig_v9, ucValvulaProporcional, 206);
ZAVORO_PINO(ST_EventoConfig_v9, ucTipoComando, 207);
ZAVORO_PINO(ST_EventoConfig_v9, ucAgressividade, 208);
ZAVORO_PINO(ST_EventoConfig_v9, ucFusoHorario, 209);
ZAVORO_PINO(ST_EventoConfig_v9, ucReservado210, 210);
ZAVORO_PINO(ST_EventoConfig_v9, ucReservado211, 211);
ZAVORO_PINO(ST_EventoConfig_v9, ucModoDemonstracao, 212);
ZAVORO_PINO(ST_EventoConfig_v9, ucFatorHidraulico, 213);
ZAVORO_PINO(ST_EventoConfig_v9, ucAlinhamento2, 214);
ZAVORO_PINO(ST_EventoConfig_v9, fConstanteEsteira, 216);
ZAVORO_PINO(ST_EventoConfig_v9, fDensidadeProduto, 220);
ZAVORO_PINO(ST_EventoConfig_v9, fCtrlEsteiraCteP, 224);
ZAVORO_PINO(ST_EventoConfig_v9, fCtrlEsteiraCteD, 228);
ZAVORO_PINO(ST_EventoConfig_v9, fMaxRotacaoEsteira, 232);
ZAVORO_PINO(ST_EventoConfig_v9, fMinRotacaoEsteira, 236);
ZAVORO_PINO(ST_EventoConfig_v9, fCtrlDiscoCteP, 240);
ZAVORO_PINO(ST_EventoConfig_v9, fCtrlDiscoCteD, 244);
ZAVORO_PINO(ST_EventoConfig_v9, fMaxRotacaoDisco, 248);
ZAVORO_PINO(ST_EventoConfig_v9, fRelacaoMotorEsteira, 252);
ZAVORO_PINO(ST_EventoConfig_v9, fDiametroRoloEsteira, 256);
ZAVORO_PINO(ST_EventoConfig_v9, fLarguraComporta, 260);
ZAVORO_PINO(ST_EventoConfig_v9, fAlturaMaxComporta, 264);
ZAVORO_PINO(ST_EventoConfig_v9, fVolumeAplicado, 268);
ZAVORO_PINO(ST_EventoConfig_v9, fVolumeMapa, 272);
ZAVORO_PINO(ST_EventoConfig_v9, fAreaMapa, 276);
ZAVORO_PINO(ST_EventoConfig_v9, fCorrecaoBalanca, 280);
ZAVORO_PINO(ST_EventoConfig_v9, ulCapacidadeTanque, 284);
ZAVORO_PINO(ST_EventoConfig_v9, ulAlarmeNivelTanque, 288);
ZAVORO_PINO(ST_EventoConfig_v9, ulRotacaoAlvoDisco, 292);
ZAVORO_PINO(ST_EventoConfig_v9, ulTaxaFixa1, 296);
ZAVORO_PINO(ST_EventoConfig_v9, ulTaxaFixa2, 300);
ZAVORO_PINO(ST_EventoConfig_v9, usValorAdComportaAberta, 304);
ZAVORO_PINO(ST_EventoConfig_v9, usValorAdComportaFechada, 306);
ZAVORO_PINO(ST_EventoConfig_v9, usNumDentesEncoderDisco, 308);
ZAVORO_PINO(ST_EventoConfig_v9, usNumDentesEncoderEsteira, 310);
ZAVORO_PINO(ST_EventoConfig_v9, szNomeTrabalho, 312);
ZAVORO_PINO(ST_EventoConfig_v9, szMapaTrabalho, 352);
ZAVORO_PINO(ST_EventoConfig_v9, szParametroMapa, 392);
ZAVORO_PINO(ST_EventoConfig_v9, ucControlarDisco, 432);
ZAVORO_PINO(ST_EventoConfig_v9, ucControlarComporta, 433);
ZAVORO_PINO(ST_EventoConfig_v9, ucSensorSobrepeso, 434);
ZAVORO_PINO(ST_EventoConfig_v9, ucPosicaoEncoderEsteira, 435);
ZAVORO_PINO(ST_EventoConfig_v9, ucModeloValvula, 436);
ZAVORO_PINO(ST_EventoConfig_v9, ucTipoTaxa, 437);
ZAVORO_PINO(ST_EventoConfig_v9, ucTempoCalibracao, 438);
ZAVORO_PINO(ST_EventoConfig_v9, ucUtilizarBalanca, 439);
ZAVORO_PINO(ST_EventoConfig_v9, ucBalancaInstalada, 440);
ZAVORO_PINO(ST_EventoConfig_v9, ucReservado441, 441);
ZAVORO_PINO(ST_EventoConfig_v9, ucAlinhamento3, 442);
ZAVORO_PINO(ST_EventoConfig_v9, fMaxRotacaoMotorAdub, 444);
ZAVORO_PINO(ST_EventoConfig_v9, fMinRotacaoMotorAdub, 468);
ZAVORO_PINO(ST_EventoConfig_v9, usMultFreqEncoder, 492);
ZAVORO_PINO(ST_EventoConfig_v9, dConstanteTrabalhoAdub, 504);
ZAVORO_PINO(ST_EventoConfig_v9, ulADComportaDastra_1_Adub, 544);
ZAVORO_PINO(ST_EventoConfig_v9, ulADComportaDastra_0_Adub, 552);
ZAVORO_PINO(ST_EventoConfig_v9, ulADComportaDastra_580_Adub, 560);
ZAVORO_PINO(ST_EventoConfig_v9, ulRotacaoAlvoTurbinaAdub, 568);
ZAVORO_PINO(ST_EventoConfig_v9, ulAlarmeRotacaoTurbinaAdub, 576);
ZAVORO_PINO(ST_EventoConfig_v9, ulAlarmeRotacaoDiscoAdub, 584);
ZAVORO_PINO(ST_EventoConfig_v9, usMotorPwmCurvaAdub, 588);
ZAVORO_PINO(ST_EventoConfig_v9, usPercentualRotacaoMotorAdub, 648);
ZAVORO_PINO(ST_EventoConfig_v9, usNumPPREncoderMotorAdub, 708);
ZAVORO_PINO(ST_EventoConfig_v9, usTamanhoSecaoAdub, 722);
ZAVORO_PINO(ST_EventoConfig_v9, usEspacamentoLinhasAdub, 732);
ZAVORO_PINO(ST_EventoConfig_v9, usNumeroLinhasAdub, 734);
ZAVORO_PINO(ST_EventoConfig_v9, ucNumeroSecoesAdub, 736);
ZAVORO_PINO(ST_EventoConfig_v9, ucConectorEncodersAdub, 737);
ZAVORO_PINO(ST_EventoConfig_v9, ucTipoModuloAdub, 738);
ZAVORO_PINO(ST_EventoConfig_v9, ucTipoMaquinaAdub, 739);
ZAVORO_PINO(ST_EventoConfig_v9, ucTipoDiscosDastra, 740);
ZAVORO_PINO(ST_EventoConfig_v9, ucPosicaoDropPoint, 741);
ZAVORO_PINO(ST_EventoConfig_v9, ucAlinhamento, 742);
ZAVORO_PINO(ST_EventoConfig_v9, fLarguraImplemento, 744);
ZAVORO_PINO(ST_EventoConfig_v9, fSobreposicaoImplemento, 748);
ZAVORO_PINO(ST_EventoConfig_v9, usTamanhoSeccaoPlantio, 752);
ZAVORO_PINO(ST_EventoConfig_v9, usNumeroLinhasPlantio, 770);
ZAVORO_PINO(ST_EventoConfig_v9, usEspacamentoLinhasPlantio, 772);
ZAVORO_PINO(ST_EventoConfig_v9, usTempoAberturaValvulaSecaoPlantio, 774);
ZAVORO_PINO(ST_EventoConfig_v9, usTempoFechamentoValvulaSecaoPlantio, 776);
ZAVORO_PINO(ST_EventoConfig_v9, sDistAduboSementePlantio, 778);
ZAVORO_PINO(ST_EventoConfig_v9, ucNumeroSecoesPlantio, 780);
ZAVORO_PINO(ST_EventoConfig_v9, ucSensorImplementoPlantio, 781);
ZAVORO_PINO(ST_EventoConfig_v9, ucAlinhamento5, 782);
ZAVORO_PINO(ST_EventoConfig_v9, stProdutoUtilizadoPulv, 784);
ZAVORO_PINO(ST_EventoConfig_v9, ucAlinhamento7, 1108);

// The fields where the versions differ.
ZAVORO_PINO(ST_EventoConfig_v2, cFusoHorario, 209);
ZAVORO_PINO(ST_EventoConfig_v4, cFusoHorario, 209);
ZAVORO_PINO(ST_EventoConfig_v4, ucTipoDiscosDastra, 740);
ZAVORO_PINO(ST_EventoConfig_v4, ucAlinhamento4, 741);
ZAVORO_PINO(ST_EventoConfig_v5, ucFusoHorario, 209);
ZAVORO_PINO(ST_EventoConfig_v5, ucPosicaoDropPoint, 741);
ZAVORO_PINO(ST_EventoConfig_v5, fLarguraImplemento, 744);
ZAVORO_PINO(ST_EventoConfig_v5, ucAlinhamento6, 748);
ZAVORO_PINO(ST_EventoConfig_v6, fSobreposicaoImplemento, 748);
ZAVORO_PINO(ST_EventoConfig_v7, sDistAduboSementePlantio, 778);
ZAVORO_PINO(ST_EventoConfig_v8, stProdutoUtilizadoPulv, 784);
ZAVORO_PINO(ST_EventoConfig_v8, ucAlinhamento7, 1108);

#undef ZAVORO_PINO_PONTO
#undef ZAVORO_PINO
