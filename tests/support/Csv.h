// Comma-separated tables as the comparison writes them, read back by column title.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace zavoro_teste
{

struct TabelaCsv
{
    std::vector<std::string> vTitulos;
    std::vector<std::map<std::string, std::string>> vLinhas; // title -> cell
};

// A trailing comma ends in an empty cell; a row whose cell count differs from the titles' fails the test.
TabelaCsv lerCsv(const std::string& szTexto);

} // namespace zavoro_teste
