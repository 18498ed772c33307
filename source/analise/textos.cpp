// The comparison's tables as console text (decimal comma, aligned) and as CSV (dot decimals).
#include <charconv>
#include <cstdio>
#include <cmath>
#include <string>
#include <vector>

#include "zavoro/analise.h"
#include "zavoro/funcoesAuxiliares.h"

namespace
{
// One figure of a table: how it is read from a row and written.
struct ST_Coluna
{
    const char* pcTitulo; // console
    const char* pcCsv;    // CSV header, with its unit
    int iCasas;
    double (*pfValor)(const ST_FigurasZona&);
};

const ST_Coluna kColunas[] = {
    {"Área (ha)", "area_zona_ha", 2, [](const ST_FigurasZona& f) { return f.dAreaZona; }},
    {"Coberta (ha)", "area_coberta_ha", 2, [](const ST_FigurasZona& f) { return f.dAreaCoberta; }},
    {"Coberta (%)", "coberta_pct", 1, analise_PercentualCoberto},
    {"Prescrito", "prescrito_por_ha", 1, [](const ST_FigurasZona& f) { return f.iZonas > 0 ? f.dPrescrito : NAN; }},
    {"Aplicado", "aplicado_por_ha", 1, analise_ValorAplicado},
    {"Desvio (%)", "desvio_pct", 1, analise_DesvioPercentual},
    {"±10 % (%)", "dentro_10pct_pct", 1, analise_PercentualEstreito},
    {"±20 % (%)", "dentro_20pct_pct", 1, analise_PercentualLargo},
};

// Display width of a UTF-8 text: its code points.
std::size_t Largura(const std::string& sz)
{
    std::size_t n = 0;
    for (unsigned char c : sz)
        n += (c & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

std::string Alinhar(const std::string& sz, std::size_t iLargura)
{
    const std::size_t n = Largura(sz);
    return n >= iLargura ? sz : std::string(iLargura - n, ' ') + sz;
}

std::string Faixa(const ST_ShpLegenda& stLegenda, int i)
{
    return std::to_string(stLegenda.ulValorLegenda[i][0]) + "-" + std::to_string(stLegenda.ulValorLegenda[i][1]);
}

// A table: its first columns (names), then the figures, each column as wide as its widest cell.
std::string Tabela(const std::vector<std::string>& vTitulosIniciais, const std::vector<std::vector<std::string>>& vLinhas)
{
    std::vector<std::string> vTitulos = vTitulosIniciais;
    for (const ST_Coluna& c : kColunas)
        vTitulos.push_back(c.pcTitulo);
    std::vector<std::size_t> vLarguras;
    for (const std::string& sz : vTitulos)
        vLarguras.push_back(Largura(sz));
    for (const auto& vLinha : vLinhas)
        for (std::size_t i = 0; i < vLinha.size(); i++)
            vLarguras[i] = std::max(vLarguras[i], Largura(vLinha[i]));
    std::string szTexto;
    const auto Escrever = [&](const std::vector<std::string>& vCelulas) {
        for (std::size_t i = 0; i < vCelulas.size(); i++)
            szTexto += (i == 0 ? "" : "  ") + Alinhar(vCelulas[i], vLarguras[i]);
        szTexto += '\n';
    };
    Escrever(vTitulos);
    for (const auto& vLinha : vLinhas)
        Escrever(vLinha);
    return szTexto;
}

std::vector<std::string> Figuras(std::vector<std::string> vCelulas, const ST_FigurasZona& f, char cSeparador)
{
    // The CSV keeps two more decimals and leaves a figure without a base empty.
    const bool bCsv = cSeparador == '.';
    for (const ST_Coluna& c : kColunas)
    {
        const double d = c.pfValor(f);
        vCelulas.push_back(bCsv && !std::isfinite(d) ? "" : analise_Numero(d, c.iCasas + (bCsv ? 2 : 0), cSeparador));
    }
    return vCelulas;
}

// Every zone summed, for the field's line.
ST_FigurasZona Todas(const ST_ResultadoComparacao& st)
{
    ST_FigurasZona stTotal;
    double dPrescritoArea = 0.0;
    for (const ST_FigurasZona& f : st.vZonas)
    {
        stTotal.iZonas += f.iZonas;
        stTotal.dAreaZona += f.dAreaZona;
        stTotal.dAreaCoberta += f.dAreaCoberta;
        dPrescritoArea += f.dPrescrito * f.dAreaZona;
        stTotal.dAreaAplicada += f.dAreaAplicada;
        stTotal.dSomaValorArea += f.dSomaValorArea;
        stTotal.dAreaEstreita += f.dAreaEstreita;
        stTotal.dAreaLarga += f.dAreaLarga;
    }
    stTotal.dPrescrito = stTotal.dAreaZona > 0.0 ? dPrescritoArea / stTotal.dAreaZona : 0.0;
    return stTotal;
}

std::string Linha(const char* pcRotulo, const std::string& szValor)
{
    const std::size_t n = Largura(pcRotulo);
    return pcRotulo + std::string(n < 34 ? 34 - n : 1, ' ') + szValor + "\n";
}
} // namespace

std::string analise_Numero(double d, int iCasas, char cSeparador)
{
    if (!std::isfinite(d))
        return "-";
    if (d == 0.0 || std::fabs(d) < 0.5 * std::pow(10.0, -iCasas))
        d = 0.0; // no "-0,0"
    char c[64];
    const auto r = std::to_chars(c, c + sizeof c, d, std::chars_format::fixed, iCasas);
    std::string sz(c, r.ptr);
    for (char& ch : sz)
        if (ch == '.')
            ch = cSeparador;
    return sz;
}

std::string analise_TextoComparacao(const ST_ResultadoComparacao& st)
{
    std::string szTexto = "Zonas da recomendação\n";
    std::vector<std::vector<std::string>> vLinhas;
    for (const ST_FigurasZona& f : st.vZonas)
        vLinhas.push_back(Figuras({std::to_string(f.ulRegistro)}, f, ','));
    vLinhas.push_back(Figuras({"Todas"}, Todas(st), ','));
    szTexto += Tabela({"Zona"}, vLinhas);

    szTexto += "\nLinhas da legenda\n";
    vLinhas.clear();
    // Rows without zones are left to the CSV, which keeps all thirteen.
    for (int i = 0; i < st.stLegenda.ucNumLinhasLegenda && i < D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP; i++)
        if (st.stLinhas[i].iZonas > 0)
            vLinhas.push_back(Figuras({std::to_string(i + 1), Faixa(st.stLegenda, i), std::to_string(st.stLinhas[i].iZonas)},
                                  st.stLinhas[i], ','));
    szTexto += Tabela({"Linha", "Faixa", "Zonas"}, vLinhas);

    const ST_TotaisComparacao& t = st.stTotais;
    const auto Ha = [](double d) { return analise_Numero(d, 2, ',') + " ha"; };
    szTexto += "\nTotais do talhão\n";
    szTexto += Linha("Polígonos de cobertura:", std::to_string(t.lPoligonos));
    szTexto += Linha("Área aplicada (soma):", Ha(t.dSomaCobertura));
    szTexto += Linha("Área coberta (união):", Ha(t.dAreaCoberta));
    szTexto += Linha("Área sobreposta:", Ha(t.dAreaSobreposta) + " (" + analise_Numero(analise_PercentualSobreposicao(t), 1, ',') +
                                             " % da área aplicada)");
    szTexto += Linha(t.iFonteLimites == D_ANALISE_LIMITES_ARQUIVO ? "Área dos limites do arquivo:" : "Área das zonas (sem limites):",
                     Ha(t.dAreaLimites));
    szTexto += Linha("Área falhada dentro dos limites:", Ha(t.dAreaFalhada));
    szTexto += Linha("Área coberta fora dos limites:", Ha(t.dAreaForaLimites));
    for (const std::string& sz : st.vAvisos)
        szTexto += "Aviso: " + sz + "\n";
    return szTexto;
}

std::string analise_CsvComparacao(const ST_ResultadoComparacao& st)
{
    std::string szCsv = "tipo,id,faixa,zonas";
    for (const ST_Coluna& c : kColunas)
        szCsv += std::string(",") + c.pcCsv;
    szCsv += ",soma_cobertura_ha,sobreposta_ha,sobreposta_pct,area_limites_ha,falhada_ha,fora_limites_ha\n";
    const auto Escrever = [&](const std::vector<std::string>& vCelulas) {
        for (std::size_t i = 0; i < vCelulas.size(); i++)
            szCsv += (i == 0 ? "" : ",") + vCelulas[i];
        szCsv += std::string(vCelulas.size() < 18 ? 18 - vCelulas.size() : 0, ',') + "\n";
    };
    for (const ST_FigurasZona& f : st.vZonas)
        Escrever(Figuras({"zona", std::to_string(f.ulRegistro), "", "1"}, f, '.'));
    for (int i = 0; i < st.stLegenda.ucNumLinhasLegenda && i < D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP; i++)
        Escrever(Figuras({"linha", std::to_string(i + 1), Faixa(st.stLegenda, i), std::to_string(st.stLinhas[i].iZonas)},
                         st.stLinhas[i], '.'));
    const ST_TotaisComparacao& t = st.stTotais;
    std::vector<std::string> vTalhao = Figuras({"talhao", "", "", std::to_string(st.vZonas.size())}, Todas(st), '.');
    for (double d : {t.dSomaCobertura, t.dAreaSobreposta})
        vTalhao.push_back(analise_Numero(d, 4, '.'));
    vTalhao.push_back(analise_Numero(analise_PercentualSobreposicao(t), 2, '.'));
    for (double d : {t.dAreaLimites, t.dAreaFalhada, t.dAreaForaLimites})
        vTalhao.push_back(analise_Numero(d, 4, '.'));
    Escrever(vTalhao);
    return szCsv;
}

BOOL analise_GravarCsvComparacao(const std::string& szArquivo, const ST_ResultadoComparacao& st, std::string* pszErro)
{
    const std::string szCsv = analise_CsvComparacao(st);
    ST_ArquivoSaida stSaida;
    if (!funcAux_AbrirArquivoSaida(szArquivo, &stSaida, pszErro))
        return FALSE;
    if (std::fwrite(szCsv.data(), 1, szCsv.size(), stSaida.pfArquivo) != szCsv.size())
    {
        funcAux_DescartarArquivoSaida(&stSaida);
        *pszErro = "erro de gravação";
        return FALSE;
    }
    return funcAux_ConcluirArquivoSaida(&stSaida, pszErro);
}
