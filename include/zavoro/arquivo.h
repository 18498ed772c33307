// Files: the XOR checksum every section of a navigation file closes with; later the path lists and
// the folder search.
#pragma once

#include <cstddef>
#include <cstdio>

#include "zavoro/tipos.h"

// Reads iNumBytes bytes from the current position: the XOR of the first iNumBytes - 1 bytes must equal
// the last. Leaves the position just after the checksum byte. FALSE for fewer than 2 bytes, a closed
// file, a short read or a mismatch.
BOOL arquivo_VerificarChecksum(std::FILE* pfArquivoLeitura, int iNumBytes);

// XOR of a run of bytes, the same fold the checksum uses.
unsigned char arquivo_CalcularXor(const unsigned char* pucDados, std::size_t tamanho, unsigned char ucInicial = 0);
