// The text of every output the converter writes: numbers, dates, durations and KML coordinates
// appended to a UTF-8 string, whatever the process locale (std::to_chars, never printf), and the
// write of a composed piece. All of it is plain ASCII, so the work report takes it as it is;
// relatorioTexto.h adds what the report encodes to Windows-1252.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "zavoro/tipos.h"

// "%d".
void conversor_AnexarInteiro(std::string& szTexto, std::int32_t iValor);
// "%u".
void conversor_AnexarNatural(std::string& szTexto, std::uint32_t ulValor);
// The digits of "%.Nf", with the decimal comma unless bVirgula is FALSE.
void conversor_AnexarReal(std::string& szTexto, double dValor, int iCasas, BOOL bVirgula = TRUE);
// "dd/mm/aaaa - hh:mm" of a console time stamp.
void conversor_AnexarData(std::string& szTexto, std::uint32_t ulDataHora);
// "hhhmmmsss", with a day count before it past one day.
void conversor_AnexarDuracao(std::string& szTexto, std::uint32_t ulSegundos);
// The text of a code through one of the zavoro_RetornarString* helpers (UTF-8).
void conversor_AnexarCodigo(std::string& szTexto, void (*pfTexto)(unsigned char, char*),
                            unsigned char ucCodigo);
// Decimals of a degree in a KML coordinate.
inline constexpr int D_CONVERSOR_CASAS_COORDENADA_KML = 6;
// One KML coordinate line, "%.06f,%.06f,%d\n": longitude, latitude, altitude.
void conversor_AnexarCoordenadaKml(std::string& szTexto, double dLongitude, double dLatitude,
                                   int iAltitude = 0);
// Most bytes of one coordinate line (either number may be any double).
inline constexpr std::size_t D_CONVERSOR_TAMANHO_MAXIMO_COORDENADA_KML = 1040;
// The same line written at pc, which has room for D_CONVERSOR_TAMANHO_MAXIMO_COORDENADA_KML bytes;
// returns its end. For writers that compose into a buffer of their own.
char* conversor_EscreverCoordenadaKml(char* pc, double dLongitude, double dLatitude, int iAltitude = 0);

// Writes the composed text and empties it, so the next piece starts from nothing. Write errors are
// left to the output file's end (funcAux_ConcluirArquivoSaida checks the stream).
void conversor_GravarLinha(std::FILE* pfArquivoEscrita, std::string& szTexto);
// The same for a piece composed elsewhere, as it stands.
void conversor_GravarBytes(std::FILE* pfArquivoEscrita, std::string_view szTexto);
// Writers of many placemarks write them a batch of this many bytes at a time: writes this large skip
// the stream's own buffer.
inline constexpr std::size_t D_CONVERSOR_TAMANHO_LOTE = 1 << 20;
