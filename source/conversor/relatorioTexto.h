// Composition of work-report lines in Windows-1252: labels spelled in UTF-8 and encoded, record names
// copied as stored. Numbers, dates and durations come from the shared set (textoSaida.h), which
// writes nothing the encoding would change.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "conversor/textoSaida.h"

void conversor_AnexarTexto(std::string& szBufRelatorio, std::string_view szUtf8);
// A fixed 40-byte name of a record, Windows-1252 already: copied up to its terminator, never past
// its field.
void conversor_AnexarCampo(std::string& szBufRelatorio, const char* pcCampo);
std::size_t conversor_TamanhoCampo(const char* pcCampo);
// The text of a code (conversor_AnexarCodigo) encoded.
void conversor_AnexarCodigoCp1252(std::string& szBufRelatorio, void (*pfTexto)(unsigned char, char*),
                                  unsigned char ucCodigo);
// Encodes and writes a text at once.
void conversor_GravarTexto(std::FILE* pfArquivoEscrita, std::string_view szUtf8);
