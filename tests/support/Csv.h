// Comma-separated tables as the comparison writes them, read back by column title.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <sstream>
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
inline TabelaCsv lerCsv(const std::string& szTexto)
{
    TabelaCsv t;
    std::stringstream ss(szTexto);
    for (std::string szLinha; std::getline(ss, szLinha);)
    {
        std::vector<std::string> v(1);
        for (char c : szLinha)
            if (c == ',')
                v.emplace_back();
            else
                v.back() += c;
        if (t.vTitulos.empty())
        {
            t.vTitulos = v;
            continue;
        }
        EXPECT_EQ(v.size(), t.vTitulos.size()) << szLinha;
        auto& linha = t.vLinhas.emplace_back();
        for (std::size_t i = 0; i < v.size() && i < t.vTitulos.size(); i++)
            linha[t.vTitulos[i]] = v[i];
    }
    return t;
}

} // namespace zavoro_teste
