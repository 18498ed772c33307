#include "support/ShpBuilder.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <fstream>
#include <limits>
#include <stdexcept>

namespace zavoro_teste
{

namespace
{

static_assert(std::endian::native == std::endian::little, "values are laid out from host order");

// A value in little-endian order, or big-endian (the .shp header and record headers).
template <typename T> void Anexar(std::vector<std::uint8_t>& v, T valor, bool bBigEndian = false)
{
    std::uint8_t auc[sizeof valor];
    std::memcpy(auc, &valor, sizeof valor);
    if (bBigEndian)
        std::reverse(std::begin(auc), std::end(auc));
    v.insert(v.end(), std::begin(auc), std::end(auc));
}

// The box of every point as four doubles; all zero when there is none.
void AnexarCaixa(std::vector<std::uint8_t>& v, const std::vector<std::vector<AnelShp>>& poligonos)
{
    double d[4] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                   std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    for (const std::vector<AnelShp>& aneis : poligonos)
        for (const AnelShp& a : aneis)
            for (const PontoShp& p : a)
                d[0] = std::min(d[0], p.x), d[1] = std::min(d[1], p.y), d[2] = std::max(d[2], p.x),
                d[3] = std::max(d[3], p.y);
    for (double dValor : d)
        Anexar(v, d[0] > d[2] ? 0.0 : dValor);
}

std::vector<std::uint8_t> ConteudoPoligono(const std::vector<AnelShp>& aneis)
{
    std::vector<std::uint8_t> vInicios, vPontos; // where each ring starts, then every point
    std::uint32_t ulPontos = 0;
    for (const AnelShp& a : aneis)
    {
        Anexar(vInicios, ulPontos);
        ulPontos += static_cast<std::uint32_t>(a.size());
        for (const PontoShp& p : a)
            Anexar(vPontos, p.x), Anexar(vPontos, p.y);
    }
    std::vector<std::uint8_t> v;
    Anexar<std::uint32_t>(v, 5);
    AnexarCaixa(v, {aneis});
    Anexar(v, static_cast<std::uint32_t>(aneis.size()));
    Anexar(v, ulPontos);
    v.insert(v.end(), vInicios.begin(), vInicios.end());
    v.insert(v.end(), vPontos.begin(), vPontos.end());
    return v;
}

void CabecalhoShp(std::vector<std::uint8_t>& v, std::uint32_t ulCodigo, std::int32_t iPalavras, std::uint32_t ulVersao,
                  std::uint32_t ulTipo, const std::vector<std::vector<AnelShp>>& poligonos)
{
    Anexar(v, ulCodigo, true);
    for (int i = 0; i < 5; i++)
        Anexar<std::uint32_t>(v, 0);
    Anexar(v, iPalavras, true);
    Anexar(v, ulVersao);
    Anexar(v, ulTipo);
    AnexarCaixa(v, poligonos);
    for (int i = 0; i < 4; i++)
        Anexar(v, 0.0); // z and m ranges
}

void GravarArquivo(const std::filesystem::path& caminho, const std::vector<std::uint8_t>& v)
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
    std::vector<std::uint8_t> vRegistros;
    std::uint32_t ulNumero = 1;
    for (const std::vector<AnelShp>& aneis : poligonos)
    {
        const std::vector<std::uint8_t> vConteudo = ConteudoPoligono(aneis);
        Anexar(vRegistros, ulNumero++, true);
        Anexar(vRegistros, static_cast<std::uint32_t>(vConteudo.size() / 2), true);
        vRegistros.insert(vRegistros.end(), vConteudo.begin(), vConteudo.end());
    }
    std::vector<std::uint8_t> v;
    const auto iPalavras = static_cast<std::int32_t>((100 + vRegistros.size()) / 2);
    CabecalhoShp(v, corrupcao.codigoShp.value_or(9994), corrupcao.tamanhoArquivoShpPalavras.value_or(iPalavras),
                 corrupcao.versaoShp.value_or(1000), corrupcao.tipoShp.value_or(5), poligonos);
    v.insert(v.end(), vRegistros.begin(), vRegistros.end());
    v.resize(v.size() - std::min(corrupcao.truncarShp, v.size()));
    return v;
}

std::vector<std::uint8_t> ShpBuilder::construirShx() const
{
    std::vector<std::uint8_t> v;
    CabecalhoShp(v, 9994, static_cast<std::int32_t>((100 + 8 * poligonos.size()) / 2), 1000, 5, poligonos);
    std::uint32_t ulDeslocamento = 100;
    for (const std::vector<AnelShp>& aneis : poligonos)
    {
        const auto ulConteudo = static_cast<std::uint32_t>(ConteudoPoligono(aneis).size());
        Anexar(v, ulDeslocamento / 2, true);
        Anexar(v, ulConteudo / 2, true);
        ulDeslocamento += 8 + ulConteudo;
    }
    return v;
}

std::vector<std::uint8_t> ShpBuilder::construirDbf() const
{
    std::uint16_t usRegistro = 1;
    for (const CampoDbf& c : campos)
        usRegistro = static_cast<std::uint16_t>(usRegistro + c.ucTamanho);
    std::vector<std::uint8_t> v = {0x03, 126, 1, 12}; // 2026-01-12: a fixed date keeps the files reproducible
    Anexar(v, corrupcao.numRegistrosDbf.value_or(static_cast<std::uint32_t>(linhas.size())));
    Anexar(v, static_cast<std::uint16_t>(32 + 32 * campos.size() + 1));
    Anexar(v, corrupcao.tamanhoRegistroDbf.value_or(usRegistro));
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
    auto comExtensao = [&](const char* pcExtensao) { return std::filesystem::path(base) += pcExtensao; };
    GravarArquivo(comExtensao(".shp"), construirShp());
    GravarArquivo(comExtensao(".shx"), construirShx());
    GravarArquivo(comExtensao(".dbf"), construirDbf());
    if (!szPrj.empty())
        GravarArquivo(comExtensao(".prj"), std::vector<std::uint8_t>(szPrj.begin(), szPrj.end()));
}

} // namespace zavoro_teste
