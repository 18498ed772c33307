// Inside the navigation module: the steps of the container walk, which validation runs with its own
// checks switched on, and the diagnostic helpers the walk and validation share.
#pragma once

#include <cstdint>
#include <string>

#include "funcoesAuxiliares/leitorBinario.h"
#include "zavoro/zavoro.h"

inline constexpr const char* D_ZAVORO_MOTIVO_TRUNCADO = "o arquivo termina antes do fim da seção";
inline constexpr const char* D_ZAVORO_MOTIVO_CHECKSUM_SECAO = "soma de verificação da seção incorreta";

// Fills the diagnostic (when given) and answers FALSE.
BOOL zavoro_Reprovar(ST_DiagnosticoValidacao* pstDiag, int iSecao, long lEntrada, long long llPosicao,
                     std::string szMotivo, long lPonto = 0);
// Text from integers only: no locale-dependent conversion passes through here.
std::string zavoro_Formatar(const char* pcFormato, ...) __attribute__((format(printf, 1, 2)));

// The iTamanho bytes after the length field at llTamanho must end before the file's last byte, its
// checksum. The reader stands just after that length field.
BOOL zavoro_VerificarFimNoArquivo(const FuncAux_LeitorBinario& stLeitor, int iSecao, long lEntrada,
                                  long long llTamanho, std::int32_t iTamanho,
                                  ST_DiagnosticoValidacao* pstDiag);

// Steps of the walk, each from the reader's position at its part's length or count field; on success
// the reader stands at the next part. With bValidar each entry's checksum and the plausibility of its
// record are checked too, in file order, so that the first failing check is the one reported.
BOOL zavoro_PercorrerTalhao(FuncAux_LeitorBinario& stLeitor, ST_EstruturaNavegacao* pstEstrutura,
                            BOOL bValidar, ST_DiagnosticoValidacao* pstDiag);
BOOL zavoro_PercorrerGuias(FuncAux_LeitorBinario& stLeitor, ST_EstruturaNavegacao* pstEstrutura,
                           BOOL bValidar, ST_DiagnosticoValidacao* pstDiag);
BOOL zavoro_PercorrerLimites(FuncAux_LeitorBinario& stLeitor, ST_EstruturaNavegacao* pstEstrutura,
                             BOOL bValidar, ST_DiagnosticoValidacao* pstDiag);
// The container version and the steps above, from the first byte of the file up to the event section.
BOOL zavoro_PercorrerEntradas(FuncAux_LeitorBinario& stLeitor, ST_EstruturaNavegacao* pstEstrutura,
                              BOOL bValidar, ST_DiagnosticoValidacao* pstDiag);
// The event version and header, read from just after the section's length field at llTamanho.
BOOL zavoro_LerCabecalhoEvento(FuncAux_LeitorBinario& stLeitor, long long llTamanho, std::uint16_t* pusVersao,
                               ST_EventoCabecalho* pstCabecalho, ST_DiagnosticoValidacao* pstDiag);

// What validation requires of each record the walk reads (validacao.cpp); llRegistro is the record's
// offset in the file.
BOOL zavoro_ValidarRegistroTalhao(const ST_Talhao& stTalhao, long long llRegistro,
                                  ST_DiagnosticoValidacao* pstDiag);
BOOL zavoro_ValidarRegistroGuia(const ST_Guia_v2& stGuia, long lEntrada, long long llRegistro,
                                ST_DiagnosticoValidacao* pstDiag);
BOOL zavoro_ValidarRegistroLimite(const ST_Limite_v1& stLimite, long lEntrada, long long llRegistro,
                                  ST_DiagnosticoValidacao* pstDiag);
