// Polygon shapefile sets (.shp, .shx, .dbf, optional .prj) for tests, the fuzz corpus and the sample
// generator: polygons from rings, a table from fields and rows of text, and the damage the readers
// have to survive.
//
//     zavoro_teste::ShpBuilder b;
//     b.campos = {{"DOSE", 'N', 9, 2}, {"ZONA", 'C', 10, 0}};
//     b.adicionar(zavoro_teste::ShpBuilder::retangulo(-51.93, -24.05, -51.92, -24.04), {"150.00", "A1"});
//     b.gravar(pasta / "rec");          // rec.shp, rec.shx, rec.dbf
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zavoro_teste
{

struct PontoShp
{
    double x; // longitude
    double y; // latitude
};
using AnelShp = std::vector<PontoShp>; // closed: the last point repeats the first

struct CampoDbf
{
    std::string nome;       // at most 10 bytes
    char cTipo = 'N';
    std::uint8_t ucTamanho = 10;
    std::uint8_t ucDecimais = 0;
};

struct LinhaDbf
{
    std::vector<std::string> valores; // one text per field: numbers right-aligned, others left-aligned
    bool bApagada = false;
};

// Text of a number as a dBASE numeric field holds it (C locale, right-aligned in its width).
std::string formatarNumeroDbf(double dValor, std::uint8_t ucTamanho, std::uint8_t ucDecimais);

class ShpBuilder
{
public:
    std::vector<std::vector<AnelShp>> poligonos; // rings of each polygon record
    std::vector<CampoDbf> campos;
    std::vector<LinhaDbf> linhas;
    bool bMarcadorFimDbf = true;                  // trailing 0x1A
    std::string szPrj;                            // written as .prj when not empty

    // Values a file may lie about; by default computed from the data.
    struct Corrupcao
    {
        std::optional<std::uint32_t> numRegistrosDbf;
        std::optional<std::uint16_t> tamanhoRegistroDbf;
        bool bSemTerminadorDescritores = false;
        std::size_t truncarDbf = 0; // bytes dropped from the end
        std::optional<std::uint32_t> codigoShp;
        std::optional<std::uint32_t> versaoShp;
        std::optional<std::uint32_t> tipoShp;
        std::optional<std::int32_t> tamanhoArquivoShpPalavras;
        std::size_t truncarShp = 0;
    } corrupcao;

    // A clockwise (outer) ring of the axis-aligned rectangle.
    static AnelShp retangulo(double dXmin, double dYmin, double dXmax, double dYmax);

    // One polygon and its row.
    ShpBuilder& adicionar(std::vector<AnelShp> aneis, std::vector<std::string> valores, bool bApagada = false);
    ShpBuilder& adicionar(AnelShp anel, std::vector<std::string> valores, bool bApagada = false)
    {
        return adicionar(std::vector<AnelShp>{std::move(anel)}, std::move(valores), bApagada);
    }

    std::vector<std::uint8_t> construirShp() const;
    std::vector<std::uint8_t> construirShx() const;
    std::vector<std::uint8_t> construirDbf() const;

    // Writes base.shp, base.shx, base.dbf (and base.prj); base carries no extension.
    void gravar(const std::filesystem::path& base) const;
};

} // namespace zavoro_teste
