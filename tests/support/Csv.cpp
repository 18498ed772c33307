#include "support/Csv.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zavoro_teste
{

namespace
{
std::vector<std::string> Celulas(const std::string& szLinha)
{
    std::vector<std::string> v(1);
    for (char c : szLinha)
        if (c == ',')
            v.emplace_back();
        else
            v.back().push_back(c);
    return v;
}
} // namespace

TabelaCsv lerCsv(const std::string& szTexto)
{
    TabelaCsv t;
    std::stringstream ss(szTexto);
    std::string szLinha;
    std::getline(ss, szLinha);
    t.vTitulos = Celulas(szLinha);
    while (std::getline(ss, szLinha))
    {
        const std::vector<std::string> v = Celulas(szLinha);
        EXPECT_EQ(v.size(), t.vTitulos.size()) << szLinha;
        auto& linha = t.vLinhas.emplace_back();
        for (std::size_t i = 0; i < v.size() && i < t.vTitulos.size(); i++)
            linha[t.vTitulos[i]] = v[i];
    }
    return t;
}

} // namespace zavoro_teste
