// The two halves of the work report: the general data (relatorio.cpp) and the stage blocks
// (relatorioConfiguracao.cpp). Texts are written as Windows-1252 with CR LF.
#pragma once

#include <cstdint>
#include <cstdio>

struct ST_Talhao;
struct ST_EventoCabecalho;
struct ST_Guia_v2;
struct ST_Limite_v1;

// Boxed title and general data of the job: field, event, totals, times, guides (ulNumeroGuias
// entries with their versions) and boundaries.
void conversor_EscreverDadosGeraisRelatorio(
    std::FILE* pfArquivoEscrita, const ST_Talhao* pstTalhao, const ST_EventoCabecalho* pstEvtCabecalho,
    unsigned int uiVersaoArquivoNavegacao, unsigned short usVersaoArquivoTalhao,
    unsigned short usVersaoArquivoEvento, std::uint32_t ulNumeroGuias, const ST_Guia_v2* pstGuia,
    const unsigned short* pusVersaoArquivoGuia, std::uint32_t uiNumeroLimites, const ST_Limite_v1* pstLimite,
    const unsigned short* pusVersaoArquivoLimite);

// One block per stage, read from pfArquivoLeitura positioned at the first configuration block. The
// last four values are the event header's start, end, covered area and applied total; stages
// without a start or end time are left out.
void conversor_EscreverConfiguracaoRelatorio(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                             std::uint32_t ulNumConfiguracoes,
                                             unsigned short usVersaoArquivoEvento,
                                             std::uint32_t ulDataHoraEventoInicio,
                                             std::uint32_t ulDataHoraEventoFim, float fAreaCoberturaFinal,
                                             std::uint32_t ulVolumeAplicadoFinal);
