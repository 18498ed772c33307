#include "support/ShpBuilder.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <fstream>
#include <limits>
#include <stdexcept>

namespace zavoro_teste
{

namespace
{

void be32(std::vector<std::uint8_t>& v, std::uint32_t ul)
{
    for (int i = 3; i >= 0; i--)
        v.push_back(static_cast<std::uint8_t>(ul >> (8 * i)));
}

void le32(std::vector<std::uint8_t>& v, std::uint32_t ul)
{
    for (int i = 0; i < 4; i++)
        v.push_back(static_cast<std::uint8_t>(ul >> (8 * i)));
}

void le16(std::vector<std::uint8_t>& v, std::uint16_t us)
{
    v.push_back(static_cast<std::uint8_t>(us));
    v.push_back(static_cast<std::uint8_t>(us >> 8));
}

void leDouble(std::vector<std::uint8_t>& v, double d)
{
    std::uint64_t ul = 0;
    std::memcpy(&ul, &d, sizeof d);
    for (int i = 0; i < 8; i++)
        v.push_back(static_cast<std::uint8_t>(ul >> (8 * i)));
}

struct Caixa
{
    double dXmin = std::numeric_limits<double>::max(), dYmin = std::numeric_limits<double>::max();
    double dXmax = std::numeric_limits<double>::lowest(), dYmax = std::numeric_limits<double>::lowest();

    void incluir(const PontoShp& p)
    {
        dXmin = std::min(dXmin, p.x);
        dYmin = std::min(dYmin, p.y);
        dXmax = std::max(dXmax, p.x);
        dYmax = std::max(dYmax, p.y);
    }
    void gravar(std::vector<std::uint8_t>& v) const
    {
        const bool bVazia = dXmin > dXmax;
        for (double d : {dXmin, dYmin, dXmax, dYmax})
            leDouble(v, bVazia ? 0.0 : d);
    }
};

std::vector<std::uint8_t> conteudoPoligono(const std::vector<AnelShp>& aneis)
{
    Caixa caixa;
    std::uint32_t ulPontos = 0;
    for (const AnelShp& a : aneis)
    {
        for (const PontoShp& p : a)
            caixa.incluir(p);
        ulPontos += static_cast<std::uint32_t>(a.size());
    }
    std::vector<std::uint8_t> v;
    le32(v, 5);
    caixa.gravar(v);
    le32(v, static_cast<std::uint32_t>(aneis.size()));
    le32(v, ulPontos);
    std::uint32_t ulInicio = 0;
    for (const AnelShp& a : aneis)
    {
        le32(v, ulInicio);
        ulInicio += static_cast<std::uint32_t>(a.size());
    }
    for (const AnelShp& a : aneis)
        for (const PontoShp& p : a)
        {
            leDouble(v, p.x);
            leDouble(v, p.y);
        }
    return v;
}

void cabecalhoShp(std::vector<std::uint8_t>& v, std::uint32_t ulCodigo, std::int32_t iPalavras, std::uint32_t ulVersao,
                  std::uint32_t ulTipo, const Caixa& caixa)
{
    be32(v, ulCodigo);
    for (int i = 0; i < 5; i++)
        be32(v, 0);
    be32(v, static_cast<std::uint32_t>(iPalavras));
    le32(v, ulVersao);
    le32(v, ulTipo);
    caixa.gravar(v);
    for (int i = 0; i < 4; i++)
        leDouble(v, 0.0); // z and m ranges
}

void gravarArquivo(const std::filesystem::path& caminho, const std::vector<std::uint8_t>& v)
{
    std::ofstream saida(caminho, std::ios::binary | std::ios::trunc);
    saida.write(reinterpret_cast<const char*>(v.data()), static_cast<std::streamsize>(v.size()));
    if (!saida)
        throw std::runtime_error("nao foi possivel gravar " + caminho.string());
}

} // namespace

std::string formatarNumeroDbf(double dValor, std::uint8_t ucTamanho, std::uint8_t ucDecimais)
{
    char sz[64];
    const auto r = std::to_chars(sz, sz + sizeof sz, dValor, std::chars_format::fixed, ucDecimais);
    std::string s(sz, r.ptr);
    if (s.size() > ucTamanho)
        throw std::invalid_argument("numero nao cabe no campo: " + s);
    return std::string(ucTamanho - s.size(), ' ') + s;
}

AnelShp ShpBuilder::retangulo(double dXmin, double dYmin, double dXmax, double dYmax)
{
    return {{dXmin, dYmin}, {dXmin, dYmax}, {dXmax, dYmax}, {dXmax, dYmin}, {dXmin, dYmin}};
}

ShpBuilder& ShpBuilder::adicionar(std::vector<AnelShp> aneis, std::vector<std::string> valores, bool bApagada)
{
    poligonos.push_back(std::move(aneis));
    linhas.push_back({std::move(valores), bApagada});
    return *this;
}

std::vector<std::uint8_t> ShpBuilder::construirShp() const
{
    Caixa caixa;
    std::vector<std::uint8_t> vRegistros;
    std::uint32_t ulNumero = 1;
    for (const std::vector<AnelShp>& aneis : poligonos)
    {
        for (const AnelShp& a : aneis)
            for (const PontoShp& p : a)
                caixa.incluir(p);
        const std::vector<std::uint8_t> vConteudo = conteudoPoligono(aneis);
        be32(vRegistros, ulNumero++);
        be32(vRegistros, static_cast<std::uint32_t>(vConteudo.size() / 2));
        vRegistros.insert(vRegistros.end(), vConteudo.begin(), vConteudo.end());
    }
    std::vector<std::uint8_t> v;
    const auto iPalavras = static_cast<std::int32_t>((100 + vRegistros.size()) / 2);
    cabecalhoShp(v, corrupcao.codigoShp.value_or(9994), corrupcao.tamanhoArquivoShpPalavras.value_or(iPalavras),
                 corrupcao.versaoShp.value_or(1000), corrupcao.tipoShp.value_or(5), caixa);
    v.insert(v.end(), vRegistros.begin(), vRegistros.end());
    v.resize(v.size() - std::min(corrupcao.truncarShp, v.size()));
    return v;
}

std::vector<std::uint8_t> ShpBuilder::construirShx() const
{
    Caixa caixa;
    for (const std::vector<AnelShp>& aneis : poligonos)
        for (const AnelShp& a : aneis)
            for (const PontoShp& p : a)
                caixa.incluir(p);
    std::vector<std::uint8_t> v;
    cabecalhoShp(v, 9994, static_cast<std::int32_t>((100 + 8 * poligonos.size()) / 2), 1000, 5, caixa);
    std::uint32_t ulDeslocamento = 100;
    for (const std::vector<AnelShp>& aneis : poligonos)
    {
        const auto ulConteudo = static_cast<std::uint32_t>(conteudoPoligono(aneis).size());
        be32(v, ulDeslocamento / 2);
        be32(v, ulConteudo / 2);
        ulDeslocamento += 8 + ulConteudo;
    }
    return v;
}

std::vector<std::uint8_t> ShpBuilder::construirDbf() const
{
    std::uint16_t usRegistro = 1;
    for (const CampoDbf& c : campos)
        usRegistro = static_cast<std::uint16_t>(usRegistro + c.ucTamanho);
    std::vector<std::uint8_t> v;
    v.push_back(0x03);
    v.push_back(126); // 2026-01-12: a fixed date keeps the files reproducible
    v.push_back(1);
    v.push_back(12);
    le32(v, corrupcao.numRegistrosDbf.value_or(static_cast<std::uint32_t>(linhas.size())));
    le16(v, corrupcao.tamanhoCabecalhoDbf.value_or(static_cast<std::uint16_t>(32 + 32 * campos.size() + 1)));
    le16(v, corrupcao.tamanhoRegistroDbf.value_or(usRegistro));
    v.resize(32, 0);
    for (const CampoDbf& c : campos)
    {
        if (c.nome.size() > 10)
            throw std::invalid_argument("nome de campo longo demais: " + c.nome);
        std::uint8_t ucDescritor[32] = {};
        std::memcpy(ucDescritor, c.nome.data(), c.nome.size());
        ucDescritor[11] = static_cast<std::uint8_t>(c.cTipo);
        ucDescritor[16] = c.ucTamanho;
        ucDescritor[17] = c.ucDecimais;
        v.insert(v.end(), ucDescritor, ucDescritor + 32);
    }
    if (!corrupcao.bSemTerminadorDescritores)
        v.push_back(0x0D);
    for (const LinhaDbf& l : linhas)
    {
        v.push_back(l.bApagada ? '*' : ' ');
        for (std::size_t i = 0; i < campos.size(); i++)
        {
            const std::string s = i < l.valores.size() ? l.valores[i] : std::string();
            if (s.size() > campos[i].ucTamanho)
                throw std::invalid_argument("valor nao cabe no campo " + campos[i].nome + ": " + s);
            const std::string sPreenchimento(campos[i].ucTamanho - s.size(), ' ');
            const std::string sCampo = campos[i].cTipo == 'N' ? sPreenchimento + s : s + sPreenchimento;
            v.insert(v.end(), sCampo.begin(), sCampo.end());
        }
    }
    if (bMarcadorFimDbf)
        v.push_back(0x1A);
    v.resize(v.size() - std::min(corrupcao.truncarDbf, v.size()));
    return v;
}

void ShpBuilder::gravar(const std::filesystem::path& base) const
{
    auto comExtensao = [&](const char* pcExtensao) {
        std::filesystem::path p = base;
        p += pcExtensao;
        return p;
    };
    gravarArquivo(comExtensao(".shp"), construirShp());
    gravarArquivo(comExtensao(".shx"), construirShx());
    gravarArquivo(comExtensao(".dbf"), construirDbf());
    if (!szPrj.empty())
        gravarArquivo(comExtensao(".prj"), std::vector<std::uint8_t>(szPrj.begin(), szPrj.end()));
}

} // namespace zavoro_teste
