// The "Pontos Relevantes" folder of a KML map: a flag at the start of every stage with the stage's
// totals and settings, and the marks of pauses, stops, power returns and implement temperatures.
//
// One pass over the stages and their points, streamed: memory does not grow with the point count.
// Every placemark is composed in a string and written with one write.
#pragma once

#include <cstdint>
#include <cstdio>

#include "zavoro/zavoro.h"

// Event totals at the edges of the stage being written; stage 0 resets them and each later stage
// starts where the previous one ended.
struct ST_TotaisEtapaKml
{
    float fAreaCoberturaParcialInicial = 0.0f;
    float fAreaCoberturaParcialFinal = 0.0f;
    std::uint32_t ulVolumeAplicadoParcialInicial = 0;
    std::uint32_t ulVolumeAplicadoParcialFinal = 0;
};

// The whole folder. The input must stand at the first stage's configuration block. iTipoMapa changes
// nothing here. FALSE when a stage claims too many points or a block or point cannot be read; the
// folder is then left open.
BOOL conversor_InserirPtosRelevantesKML(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                        unsigned short usVersaoArquivoEvento, const ST_EventoCabecalho* pstCabecalho,
                                        int iTipoMapa, double dZeroRelativoLon, double dZeroRelativoLat);

// The flag of stage iConfig (0-based), whose configuration (operation already in the current
// numbering) is pstConfig; the input stands at the stage's first point and is put back there.
// A stage without points, or whose start or end time cannot be told, gets no flag. FALSE only when a
// point cannot be read (nothing written, input left where the read stopped).
BOOL conversor_InserirInicioEtapaKML(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura, int iConfig,
                                     unsigned short usVersaoArquivoEvento, const ST_EventoConfig_v9* pstConfig,
                                     const ST_EventoCabecalho* pstCabecalho, double dZeroRelativoLat,
                                     double dZeroRelativoLon, ST_TotaisEtapaKml* pstTotais);

// Start (bInicioFim FALSE) or end (TRUE) of pause number iNumPtoPausa that began at iDataHoraInicioPausa.
void conversor_InserirPontoPausa(std::FILE* pfArquivoEscrita, BOOL bInicioFim, const ST_PontoNVG_v2* pstPontoNVG,
                                 int iConfig, int iDataHoraInicioPausa, int iNumPtoPausa, double dZeroRelativoLat,
                                 double dZeroRelativoLon);
// Stop number iNumPtoParado at the point where it began; iTempoParado -1 when the time is unknown.
void conversor_InserirPontoParado(std::FILE* pfArquivoEscrita, const ST_PontoNVG_v2* pstPontoNVG, int iConfig,
                                  int iTempoParado, int iNumPtoParado, double dZeroRelativoLat,
                                  double dZeroRelativoLon);
// Temperature marks; the time and number arguments are not used.
void conversor_InserirPontoTemperatura(std::FILE* pfArquivoEscrita, const ST_PontoNVG_v2* pstPontoNVG, int iConfig,
                                       int iTempoParado, int iNumPtoParado, double dZeroRelativoLat,
                                       double dZeroRelativoLon);
void conversor_InserirPontoTemperaturaExcedida(std::FILE* pfArquivoEscrita, const ST_PontoNVG_v2* pstPontoNVG,
                                               int iConfig, int iTempoParado, int iNumPtoParado,
                                               double dZeroRelativoLat, double dZeroRelativoLon);
// Power return number iNumPtoRetornoEnergia after iTempoSemEnergia seconds off (0: unknown, not shown).
void conversor_InserirPontoRetornoEnergia(std::FILE* pfArquivoEscrita, const ST_PontoNVG_v2* pstPontoNVG,
                                          int iConfig, int iTempoSemEnergia, int iNumPtoRetornoEnergia,
                                          double dZeroRelativoLat, double dZeroRelativoLon);
