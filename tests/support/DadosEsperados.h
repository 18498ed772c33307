// Long expected outputs (whole reports and the like) live in files under tests/dados/, not in C++
// literals. Running the tests with ZAVORO_ATUALIZAR_DADOS=1 rewrites those files from what the code
// gives now, so an intended change of an output is one command and a reviewed diff.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace zavoro_teste
{

// Compares szObtido byte for byte with tests/dados/<szArquivoDados>; a mismatch names the first
// differing byte and shows that line of both, control and non-ASCII bytes escaped.
::testing::AssertionResult CompararComDados(const std::string& szArquivoDados, const std::string& szObtido);

} // namespace zavoro_teste
