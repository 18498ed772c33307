// The ISOXML writer: XML escaping of attribute values, the implement's sections, the time log's bytes
// (read back from the zip record by record) and what a failed export leaves.
#include <gtest/gtest.h>

#include <unzip.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "isoxml/taskData.h"
#include "support/DiretorioTemporario.h"
#include "support/NvgBuilder.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/isoxml.h"

using namespace zavoro_teste;
namespace fs = std::filesystem;

namespace
{
// One entry of a zip, whole.
std::string Entrada(const fs::path& zip, const char* pcNome)
{
    unzFile p = unzOpen64(zip.string().c_str());
    EXPECT_NE(p, nullptr);
    std::string sz;
    if (p != nullptr && unzLocateFile(p, pcNome, 1) == UNZ_OK && unzOpenCurrentFile(p) == UNZ_OK)
    {
        char c[4096];
        for (int n; (n = unzReadCurrentFile(p, c, sizeof c)) > 0;)
            sz.append(c, static_cast<std::size_t>(n));
        unzCloseCurrentFile(p);
    }
    if (p != nullptr)
        unzClose(p);
    return sz;
}

std::int32_t Le32(const std::string& sz, std::size_t n)
{
    std::uint32_t ul = 0;
    for (int i = 3; i >= 0; i--)
        ul = ul << 8 | static_cast<unsigned char>(sz[n + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(ul);
}

// The value of DDI uiDdi in record iRegistro of a time log whose records are all alike.
std::int32_t Valor(const std::string& szBin, const ST_TarefaIsoxml& st, std::size_t iRegistro, unsigned uiDdi)
{
    const auto it = std::find(st.vDdis.begin(), st.vDdis.end(), uiDdi);
    EXPECT_NE(it, st.vDdis.end()) << uiDdi;
    const std::size_t nIndice = static_cast<std::size_t>(it - st.vDdis.begin());
    const std::size_t n = iRegistro * st.ulTamanhoRegistro + 16 + nIndice * 5;
    EXPECT_EQ(static_cast<unsigned char>(szBin[n]), nIndice);
    return Le32(szBin, n + 1);
}
} // namespace

TEST(IsoxmlEscapa, AtributosEscapamAspasEControlesSemMudarOTextoDoKml)
{
    const std::string szBruto = "a\"b<c>&d\te\nf\x01g ção";
    EXPECT_EQ(funcAux_EscaparXml(szBruto), "a\"b&lt;c&gt;&amp;d\te\nf\x01g ção");
    EXPECT_EQ(funcAux_EscaparXml(szBruto, D_FUNCAUX_XML_ATRIBUTO),
              "a&quot;b&lt;c&gt;&amp;d&#9;e&#10;f?g ção");
}

TEST(IsoxmlImplemento, SecoesDaTabelaDaOperacaoOuUmaDoTamanhoDoImplemento)
{
    ST_EventoConfig_v9 st{};
    st.ucNumeroSecoes = 3;
    st.usTamanhoSeccao[0] = 300;
    st.usTamanhoSeccao[1] = 250;
    st.usTamanhoSeccao[2] = 300;
    st.fLarguraImplemento = 8.5f;
    st.usLarguraImplemento = 1200;
    ST_ImplementoIsoxml stImpl = isoxml_Implemento(st, D_ZAVORO_OPERACAO_PULVERIZACAO, 9);
    EXPECT_EQ(stImpl.vSecoesMm, (std::vector<std::uint32_t>{3000, 2500, 3000}));
    EXPECT_EQ(stImpl.ulLarguraMm, 8500u);
    // Older blocks keep the width in centimetres.
    EXPECT_EQ(isoxml_Implemento(st, D_ZAVORO_OPERACAO_PULVERIZACAO, 4).ulLarguraMm, 12000u);
    // A single-belt spreader and a harvester are one section as wide as the implement.
    EXPECT_EQ(isoxml_Implemento(st, D_ZAVORO_OPERACAO_ADUBACAO, 9).vSecoesMm,
              std::vector<std::uint32_t>{8500});
    EXPECT_EQ(isoxml_Implemento(st, D_ZAVORO_OPERACAO_COLHEITA, 9).vSecoesMm,
              std::vector<std::uint32_t>{8500});
    st.ucNumeroSecoesPlantio = 2;
    st.usTamanhoSeccaoPlantio[0] = st.usTamanhoSeccaoPlantio[1] = 450;
    EXPECT_EQ(isoxml_Implemento(st, D_ZAVORO_OPERACAO_PLANTIO, 9).vSecoesMm,
              (std::vector<std::uint32_t>{4500, 4500}));
    // A count past the table is cut to it.
    st.ucNumeroSecoes = 200;
    EXPECT_EQ(isoxml_Implemento(st, D_ZAVORO_OPERACAO_PULVERIZACAO, 9).vSecoesMm.size(), 9u);
}

TEST(IsoxmlTimeLog, CadaPontoUmRegistroComTempoPosicaoSecoesETaxasNasUnidadesDoDicionario)
{
    DiretorioTemporario dir;
    NvgBuilder b = NvgBuilder::tipico(9, 20);
    b.stTalhao.dZeroRelativoLat = -24.05;
    b.stTalhao.dZeroRelativoLon = -51.93;
    b.etapas[0].pontos[5].usSecoes = 0x0005; // sections 1 and 3 of 9
    b.etapas[0].pontos[7].usTag |= D_ZAVORO_TAG_SEM_SATELITES;
    b.etapas[0].pontos[7].fLatitudeRelImp = std::numeric_limits<float>::quiet_NaN();
    b.etapas[0].campo("usTaxaAplicacao1", 1480);
    b.gravar(dir / "campo.nvg");
    ST_ResultadoIsoxml st;
    ASSERT_TRUE(isoxml_ExportarArquivo((dir / "campo.nvg").string(), {}, &st)) << st.szMotivo;
    ASSERT_EQ(st.szSaida, (dir / "campo_ISOXML.zip").string());
    ASSERT_EQ(st.vTarefas.size(), 1u);
    const ST_TarefaIsoxml& stTarefa = st.vTarefas[0];
    const std::string szBin = Entrada(st.szSaida, "TASKDATA/TLG00001.BIN");
    ASSERT_EQ(stTarefa.ulRegistros, 20u);
    ASSERT_EQ(szBin.size(), 20u * stTarefa.ulTamanhoRegistro);

    // Time: ms of the day and days since 1980 of the first point (02/03/2026 08:00:00).
    const ST_PontoNVG_v2 p0 = pontoTipico(0);
    long d, m, a, h, mi, s;
    zavoro_CalcularDataHoraSegundos(p0.ulSegundosDataHora, &d, &m, &a, &h, &mi, &s);
    EXPECT_EQ(Le32(szBin, 0), ((h * 60 + mi) * 60 + s) * 1000);
    const std::uint16_t usDias = static_cast<std::uint16_t>(static_cast<unsigned char>(szBin[4]) |
                                                            static_cast<unsigned char>(szBin[5]) << 8);
    EXPECT_EQ(usDias, 16862); // 2026-03-02
    // Position in 1e-7 degrees; a point without a position is 0, 0 with no fix.
    EXPECT_NEAR(Le32(szBin, 6) / 1e7, -24.05, 1e-6);
    EXPECT_NEAR(Le32(szBin, 10) / 1e7, -51.93, 1e-6);
    EXPECT_EQ(szBin[14], 1);
    const std::size_t n7 = 7 * stTarefa.ulTamanhoRegistro;
    EXPECT_EQ(Le32(szBin, n7 + 6), 0);
    EXPECT_EQ(szBin[n7 + 14], 0);
    EXPECT_EQ(static_cast<std::size_t>(szBin[15]), stTarefa.vDdis.size());

    // 150 L/ha read, 148 L/ha target (tenths stored): mm³/m² in hundredths.
    EXPECT_EQ(Valor(szBin, stTarefa, 0, D_ISOXML_DDI_TAXA_VOLUME), 1500000);
    EXPECT_EQ(Valor(szBin, stTarefa, 0, D_ISOXML_DDI_TAXA_VOLUME_ALVO), 1480000);
    EXPECT_EQ(Valor(szBin, stTarefa, 0, D_ISOXML_DDI_VELOCIDADE), 4167); // 15 km/h in mm/s
    // Nine sections on, seven more not there: 2 bits each, section 1 lowest.
    EXPECT_EQ(static_cast<std::uint32_t>(Valor(szBin, stTarefa, 0, D_ISOXML_DDI_ESTADO_SECOES)),
              0xFFFC0000u | 0x15555u);
    EXPECT_EQ(static_cast<std::uint32_t>(Valor(szBin, stTarefa, 5, D_ISOXML_DDI_ESTADO_SECOES)),
              0xFFFC0000u | 0x11u);
    EXPECT_EQ(Valor(szBin, stTarefa, 5, D_ISOXML_DDI_LARGURA_TRABALHO), 6000);
    EXPECT_EQ(Valor(szBin, stTarefa, 0, D_ISOXML_DDI_LARGURA_TRABALHO), 27000);
    // Totals: the last point's area and volume.
    const ST_PontoNVG_v2 p19 = pontoTipico(19);
    EXPECT_EQ(Valor(szBin, stTarefa, 19, D_ISOXML_DDI_AREA_TOTAL), std::lround(p19.fAreaCobertura * 10000.0));
    EXPECT_EQ(Valor(szBin, stTarefa, 19, D_ISOXML_DDI_VOLUME_TOTAL), p19.usVolumeAplicado);
    EXPECT_DOUBLE_EQ(stTarefa.dQuantidadeTotal, p19.usVolumeAplicado);
    // One second apart while working: the effective time counts the gaps.
    EXPECT_EQ(Valor(szBin, stTarefa, 19, D_ISOXML_DDI_TEMPO_EFETIVO), 19);

    // The header lists the same process data in the same order, tied to the implement.
    const std::string szCabecalho = Entrada(st.szSaida, "TASKDATA/TLG00001.XML");
    EXPECT_NE(szCabecalho.find("<PTN A=\"\" B=\"\" D=\"\"/>"), std::string::npos) << szCabecalho;
    EXPECT_NE(szCabecalho.find("<DLV A=\"0002\" B=\"\" C=\"DET-1\"/>"), std::string::npos) << szCabecalho;
}

TEST(IsoxmlTimeLog, AdubacaoATaxaVariavelNaoInventaAlvoEUsaMgPorM2)
{
    DiretorioTemporario dir;
    NvgBuilder b = NvgBuilder::tipico(9, 5);
    b.operacao(D_ZAVORO_OPERACAO_ADUBACAO);
    b.etapas[0].operacao(D_ZAVORO_OPERACAO_ADUBACAO).campo("ucTipoTaxa", D_ZAVORO_TIPO_TAXA_VARIAVEL);
    for (ST_PontoNVG_v2& p : b.etapas[0].pontos)
    {
        p.usTaxaLida[0] = 250; // kg/ha
        p.usSecoes = 0x0201;   // section 1 on; bits 16..23 of the quantity: 2
        p.usVolumeAplicado = 7;
    }
    b.gravar(dir / "adubo.nvg");
    ST_ResultadoIsoxml st;
    ASSERT_TRUE(isoxml_ExportarArquivo((dir / "adubo.nvg").string(), {}, &st)) << st.szMotivo;
    const ST_TarefaIsoxml& stTarefa = st.vTarefas[0];
    EXPECT_EQ(std::count(stTarefa.vDdis.begin(), stTarefa.vDdis.end(), D_ISOXML_DDI_TAXA_MASSA_ALVO), 0);
    const std::string szBin = Entrada(st.szSaida, "TASKDATA/TLG00001.BIN");
    EXPECT_EQ(Valor(szBin, stTarefa, 4, D_ISOXML_DDI_TAXA_MASSA), 25000);
    EXPECT_EQ(Valor(szBin, stTarefa, 4, D_ISOXML_DDI_MASSA_TOTAL), 2 * 65536 + 7);
    // A single-belt spreader has one section; the quantity's byte is no section.
    EXPECT_EQ(static_cast<std::uint32_t>(Valor(szBin, stTarefa, 4, D_ISOXML_DDI_ESTADO_SECOES)), 0xFFFFFFFDu);
}

TEST(IsoxmlSaida, ArquivoInvalidoNaoGravaNadaEMantemOAnterior)
{
    DiretorioTemporario dir;
    NvgBuilder b = NvgBuilder::tipico(9, 10);
    b.corrupcao.checksumErrado.push_back({Secao::Evento});
    b.gravar(dir / "ruim.nvg");
    {
        std::FILE* pf = std::fopen((dir / "ruim_ISOXML.zip").string().c_str(), "wb");
        std::fputs("anterior", pf);
        std::fclose(pf);
    }
    ST_ResultadoIsoxml st;
    EXPECT_FALSE(isoxml_ExportarArquivo((dir / "ruim.nvg").string(), {}, &st));
    EXPECT_NE(st.szMotivo.find("arquivo inválido"), std::string::npos) << st.szMotivo;
    EXPECT_TRUE(st.szSaida.empty());
    EXPECT_EQ(fs::file_size(dir / "ruim_ISOXML.zip"), 8u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.caminho()), fs::directory_iterator()), 2);

    // Unvalidated bytes that the walk cannot read: the writer gives up and leaves nothing either.
    ST_ResultadoIsoxml st2;
    EXPECT_FALSE(isoxml_ExportarSemValidar({(dir / "ruim.nvg").string() + "x"}, (dir / "x.zip").string(), {},
                                           &st2, false));
    EXPECT_FALSE(st2.szMotivo.empty());
    EXPECT_FALSE(fs::exists(dir / "x.zip"));
}
