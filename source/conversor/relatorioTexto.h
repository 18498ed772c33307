// Composition of work-report lines: labels spelled in UTF-8 and written as Windows-1252, record
// names copied as stored, numbers formatted whatever the process locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "zavoro/tipos.h"

void conversor_AnexarTexto(std::string& szBufRelatorio, std::string_view szUtf8);
// A fixed 40-byte name of a record, Windows-1252 already: copied up to its terminator, never past
// its field.
void conversor_AnexarCampo(std::string& szBufRelatorio, const char* pcCampo);
std::size_t conversor_TamanhoCampo(const char* pcCampo);
// "%d" of the value as a signed 32-bit int.
void conversor_AnexarInteiro(std::string& szBufRelatorio, std::int32_t iValor);
// The digits of "%.Nf", with the decimal comma unless bVirgula is FALSE.
void conversor_AnexarReal(std::string& szBufRelatorio, double dValor, int iCasas, BOOL bVirgula = TRUE);
// Text of a code through one of the zavoro_RetornarString* helpers.
void conversor_AnexarCodigo(std::string& szBufRelatorio, void (*pfTexto)(unsigned char, char*), unsigned char ucCodigo);
void conversor_AnexarData(std::string& szBufRelatorio, std::uint32_t ulDataHora);
void conversor_AnexarDuracao(std::string& szBufRelatorio, std::uint32_t ulSegundos);
// Writes the composed line and empties the buffer.
void conversor_GravarLinha(std::FILE* pfArquivoEscrita, std::string& szBufRelatorio);
void conversor_GravarTexto(std::FILE* pfArquivoEscrita, std::string_view szUtf8);
