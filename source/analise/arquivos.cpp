// The comparison of two files: the recommendation set's zones, the navigation file's boundaries and
// the coverage walk, projected onto one equal-area plane and fed to the engine.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "funcoesAuxiliares/leitorBinario.h"
#include "funcoesAuxiliares/leituraArquivo.h"
#include "zavoro/analise.h"
#include "zavoro/cobertura.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

namespace
{
constexpr double kExcentricidade2 = 0.0066943799901413165; // WGS 84, e²
constexpr double kGrau = D_ZAVORO_PI / 180.0;
constexpr std::size_t kCabecalhoPoligono = 44; // type, box, part and point counts
constexpr std::uint8_t kRegistroAtivo = ' ';

std::string Nome(const std::string& sz)
{
    return funcAux_EscaparControles(sz);
}

} // namespace

BOOL analise_LerZonas(const ST_ShpMapa& stMapa, double dLon0, double dLat0, ST_ComparacaoPlano* pstComparacao,
                      std::vector<std::string>* pvAvisos, std::string* pszErro)
{
    std::error_code ec;
    if (!std::filesystem::exists(stMapa.szNomeArqMapaDbf, ec))
    {
        *pszErro = Nome(stMapa.szNomeArqMapaDbf) + ": tabela da recomendação não encontrada";
        return FALSE;
    }
    ST_ShpDadosDbf stDados;
    std::vector<ST_ShpSubrecords> vCampos;
    ShpArquivoDbf pfDbf;
    if (!shpFile_AbrirDbf(&stMapa, &stDados, &vCampos, &pfDbf, stMapa.uiParamSelecionado, nullptr))
    {
        *pszErro = Nome(stMapa.szNomeArqMapaDbf) + ": o campo escolhido não é numérico ou a tabela está danificada";
        return FALSE;
    }
    const ST_ShpSubrecords& stCampo = vCampos[stMapa.uiParamSelecionado];

    FuncAux_LeitorBinario l(stMapa.szNomeArqMapaShp.c_str());
    std::uint8_t ucCabecalho[D_SHPFILE_TAMANHO_CABECALHO_SHP];
    if (!l.Aberto() || !l.Ler(ucCabecalho, sizeof ucCabecalho) ||
        funcAux_LerBe32(ucCabecalho) != D_SHPFILE_CODIGO_ARQUIVO || funcAux_LerLe32(ucCabecalho + 32) != D_SHPFILE_TIPO_POLIGONO)
    {
        *pszErro = Nome(stMapa.szNomeArqMapaShp) + ": não é um shapefile de polígonos legível";
        return FALSE;
    }
    std::vector<std::uint8_t> vPartes, vCoordenadas, vRegistroDbf(stDados.usTamanhoBytesRecord);
    std::vector<AnelPlano> vAneis;
    int iSemValor = 0;
    for (std::uint32_t ulRegistro = 1; l.Restantes() > 0; ulRegistro++)
    {
        std::uint8_t ucRegistro[8];
        const auto Danificado = [&] {
            *pszErro = Nome(stMapa.szNomeArqMapaShp) + ": registro " + std::to_string(ulRegistro) + " danificado";
            return FALSE;
        };
        if (!l.Ler(ucRegistro, sizeof ucRegistro))
            return Danificado();
        const std::uint64_t ulConteudo = static_cast<std::uint64_t>(funcAux_LerBe32(ucRegistro + 4)) * 2;
        ST_LimitesLeitura stFora;
        if (ulConteudo < 4 || ulConteudo > D_SHPFILE_TAMANHO_MAX_POLIGONO || !l.Limitar(ulConteudo, &stFora))
            return Danificado();
        // One table row per record, in order.
        const bool bLinha = std::fread(vRegistroDbf.data(), 1, vRegistroDbf.size(), pfDbf.get()) == vRegistroDbf.size() &&
                            ulRegistro <= stDados.ulNumRecords;
        std::uint64_t ulDecimos = 0;
        const bool bAtiva = bLinha && vRegistroDbf[0] == kRegistroAtivo;
        const bool bValor = bAtiva && shpFile_LerNumeroTexto(vRegistroDbf.data() + stCampo.usPosicaoCampo,
                                                             stCampo.ucTamanhoCampo, &ulDecimos);
        std::uint8_t ucPoligono[kCabecalhoPoligono];
        if (ulConteudo < kCabecalhoPoligono || !l.Ler(ucPoligono, 4) || funcAux_LerLe32(ucPoligono) != D_SHPFILE_TIPO_POLIGONO)
        {
            // A null shape (or any other type) holds no zone.
            if (!l.SairLimite(stFora))
                return Danificado();
            pvAvisos->push_back("registro " + std::to_string(ulRegistro) + " da recomendação sem polígono: ignorado");
            continue;
        }
        if (!l.Ler(ucPoligono + 4, kCabecalhoPoligono - 4))
            return Danificado();
        const std::uint32_t ulNumPartes = funcAux_LerLe32(ucPoligono + 36);
        const std::uint32_t ulNumPontos = funcAux_LerLe32(ucPoligono + 40);
        if (!l.LerVetor(&vPartes, 4ull * ulNumPartes) || !l.LerVetor(&vCoordenadas, 16ull * ulNumPontos) ||
            !l.SairLimite(stFora))
            return Danificado();
        if (!bAtiva)
            continue; // a deleted row is no zone
        if (!bValor)
        {
            if (++iSemValor <= 10)
                pvAvisos->push_back("zona " + std::to_string(ulRegistro) + " da recomendação sem valor legível: ignorada");
            continue;
        }
        vAneis.clear();
        for (std::uint32_t p = 0; p < ulNumPartes; p++)
        {
            const std::uint64_t ulInicio = funcAux_LerLe32(vPartes.data() + 4ull * p);
            const std::uint64_t ulFim = p + 1 < ulNumPartes ? funcAux_LerLe32(vPartes.data() + 4ull * (p + 1)) : ulNumPontos;
            if (ulInicio >= ulFim || ulFim > ulNumPontos)
                continue; // part indices outside the record: no ring
            AnelPlano vAnel;
            for (std::uint64_t i = ulInicio; i < ulFim; i++)
            {
                const double dLon = funcAux_LerLeDouble(vCoordenadas.data() + 16 * i);
                const double dLat = funcAux_LerLeDouble(vCoordenadas.data() + 16 * i + 8);
                if (!std::isfinite(dLon) || !std::isfinite(dLat) || std::fabs(dLat) > 90.0 || std::fabs(dLon) > 360.0)
                {
                    vAnel.clear();
                    break;
                }
                vAnel.push_back(analise_Projetar(dLon, dLat, dLon0, dLat0));
            }
            // The shapefile repeats the first point at the end; the engine's rings do not.
            if (vAnel.size() >= 2 && vAnel.front().dX == vAnel.back().dX && vAnel.front().dY == vAnel.back().dY)
                vAnel.pop_back();
            vAneis.push_back(std::move(vAnel));
        }
        analise_AdicionarZona(pstComparacao, ulRegistro, vAneis, static_cast<double>(ulDecimos) / 10.0);
    }
    if (iSemValor > 10)
        pvAvisos->push_back("mais " + std::to_string(iSemValor - 10) + " zonas sem valor legível");
    return TRUE;
}

namespace
{
void LerLimites(std::FILE* pf, const ST_EstruturaNavegacao& stEstrutura, ST_ComparacaoPlano* pstComparacao)
{
    FuncAux_LeitorBinario l(pf);
    const ST_Talhao& stTalhao = stEstrutura.stTalhao;
    for (const ST_LimiteNavegacao& stLimite : stEstrutura.vLimites)
    {
        const ST_EntradaNavegacao& e = stLimite.stEntrada;
        const long long llFim = e.llInicio + 4 + e.iTamanho - 1;
        ST_LimitesLeitura stFora;
        if (!l.IrPara(static_cast<std::uint64_t>(e.llDados)) || !l.Limitar(static_cast<std::uint64_t>(llFim - e.llDados), &stFora))
            continue;
        std::vector<ST_PontosLimite> vPontos;
        const std::uint64_t ulNumero = std::min<std::uint64_t>(stLimite.stLimite.usNumeroPontosLimite, l.Cabem(sizeof(ST_PontosLimite)));
        if (!l.LerVetor(&vPontos, ulNumero) || !l.SairLimite(stFora))
            continue;
        AnelPlano vAnel;
        for (const ST_PontosLimite& p : vPontos)
        {
            if (!std::isfinite(p.fLatitudeRel) || !std::isfinite(p.fLongitudeRel))
                break;
            double dLat = 0.0, dLon = 0.0;
            conversor_TransformarCoordenadasAbsolutas(p.fLatitudeRel, p.fLongitudeRel, &dLat, &dLon, stTalhao.dZeroRelativoLat,
                                                      stTalhao.dZeroRelativoLon);
            vAnel.push_back(analise_Projetar(dLon, dLat, stTalhao.dZeroRelativoLon, stTalhao.dZeroRelativoLat));
        }
        analise_AdicionarLimite(pstComparacao, vAnel);
    }
}

struct ST_ReceptorAnalise
{
    ST_ComparacaoPlano* pst = nullptr;
    double dLon0 = 0.0, dLat0 = 0.0;
    AnelPlano vAnel; // reused
};

BOOL InserirAnel(void* pContexto, const ST_CoordenadaKml* pstVertices, int iNumVertices, int iValor)
{
    auto& st = *static_cast<ST_ReceptorAnalise*>(pContexto);
    st.vAnel.clear();
    for (int i = 0; i < iNumVertices; i++)
        st.vAnel.push_back(analise_Projetar(pstVertices[i].dLongitude, pstVertices[i].dLatitude, st.dLon0, st.dLat0));
    analise_AdicionarCobertura(st.pst, st.vAnel, iValor);
    return TRUE;
}
} // namespace

ST_PontoPlano analise_Projetar(double dLongitude, double dLatitude, double dLon0, double dLat0)
{
    // The sphere of the ellipsoid's Gaussian curvature at the centre: its areas match the ellipsoid's
    // to a few parts in a million across a farm.
    const double dSen0 = std::sin(dLat0 * kGrau);
    const double dW2 = 1.0 - kExcentricidade2 * dSen0 * dSen0;
    const double dRaio = D_ZAVORO_TERRA_RAIO_EQUADOR * std::sqrt(1.0 - kExcentricidade2) / dW2;
    const double dFi = dLatitude * kGrau, dFi0 = dLat0 * kGrau, dDeltaLambda = (dLongitude - dLon0) * kGrau;
    const double dCosC = std::sin(dFi0) * std::sin(dFi) + std::cos(dFi0) * std::cos(dFi) * std::cos(dDeltaLambda);
    // The antipode has no image; it never lies in one field.
    const double dK = std::sqrt(2.0 / std::max(1.0 + dCosC, 1e-12));
    return {dRaio * dK * std::cos(dFi) * std::sin(dDeltaLambda),
            dRaio * dK * (std::cos(dFi0) * std::sin(dFi) - std::sin(dFi0) * std::cos(dFi) * std::cos(dDeltaLambda))};
}

namespace
{
// The navigation file's boundaries and coverage into the engine (zones, if any, already in), on the
// plane centred on the field's origin (*pstEstrutura tells it).
bool LerTrabalho(const char* pcArquivoNvg, ST_ComparacaoPlano* pstComparacao, std::string* pszErro,
                 const std::function<bool(const ST_EstruturaNavegacao&)>& pfAntesDaCobertura)
{
    std::string szMotivo;
    FuncAux_ArquivoLeitura pf = funcAux_AbrirLeitura(pcArquivoNvg, &szMotivo);
    ST_EstruturaNavegacao stEstrutura;
    if (!pf || !zavoro_PercorrerEstrutura(pf.get(), &stEstrutura, &szMotivo))
    {
        *pszErro = Nome(pcArquivoNvg) + ": " + szMotivo;
        return false;
    }
    if (!pfAntesDaCobertura(stEstrutura))
        return false;
    const double dLon0 = stEstrutura.stTalhao.dZeroRelativoLon, dLat0 = stEstrutura.stTalhao.dZeroRelativoLat;
    LerLimites(pf.get(), stEstrutura, pstComparacao);
    ST_ReceptorAnalise stContexto;
    stContexto.pst = pstComparacao;
    stContexto.dLon0 = dLon0;
    stContexto.dLat0 = dLat0;
    ST_ReceptorCobertura stReceptor;
    stReceptor.pContexto = &stContexto;
    stReceptor.pfInserirAnel = InserirAnel;
    if (std::fseek(pf.get(), stEstrutura.lPrimeiraEtapa, SEEK_SET) != 0 ||
        !cobertura_PercorrerCobertura(pf.get(), stEstrutura.usVersaoArquivoEvento, stEstrutura.stCabecalho.ulNumConfiguracoes,
                                      D_CONVERSOR_TIPO_MAPA_COBERTURA, dLon0, dLat0, D_COBERTURA_CORTE_COMPRIMENTO, stReceptor))
    {
        *pszErro = Nome(pcArquivoNvg) + ": pontos do trajeto ilegíveis";
        return false;
    }
    return true;
}
} // namespace

bool analise_Disponivel()
{
    return true;
}

BOOL analise_CompararArquivos(const char* pcArquivoNvg, const ST_ShpMapa& stMapa, ST_ResultadoComparacao* pstResultado,
                              std::string* pszErro)
{
    ComparacaoPlano pComparacao = analise_CriarComparacao();
    std::vector<std::string> vAvisos;
    const auto LerZonas = [&](const ST_EstruturaNavegacao& stEstrutura) {
        return analise_LerZonas(stMapa, stEstrutura.stTalhao.dZeroRelativoLon, stEstrutura.stTalhao.dZeroRelativoLat,
                                pComparacao.get(), &vAvisos, pszErro) != FALSE;
    };
    if (!LerTrabalho(pcArquivoNvg, pComparacao.get(), pszErro, LerZonas))
        return FALSE;

    ST_ShpLegenda stLegenda;
    shpFile_LegendaMapaEntrada(stMapa.szNomeArqMapaDbf.c_str(), &stLegenda, stMapa.uiParamSelecionado);
    analise_ConcluirComparacao(pComparacao.get(), stLegenda, pstResultado);
    pstResultado->vAvisos.insert(pstResultado->vAvisos.begin(), vAvisos.begin(), vAvisos.end());

    const ST_TotaisComparacao& t = pstResultado->stTotais;
    if (pstResultado->vZonas.empty())
    {
        *pszErro = Nome(stMapa.szNomeArqMapaShp) + ": a recomendação não tem nenhuma zona com área";
        return FALSE;
    }
    if (t.lPoligonos == 0)
    {
        *pszErro = Nome(pcArquivoNvg) + ": o trabalho não tem área aplicada para comparar";
        return FALSE;
    }
    double dAplicadaZonas = 0.0;
    for (const ST_FigurasZona& f : pstResultado->vZonas)
        dAplicadaZonas += f.dAreaAplicada;
    if (dAplicadaZonas <= 0.0)
    {
        *pszErro = "o trabalho de " + Nome(pcArquivoNvg) + " não passa por nenhuma zona de " + Nome(stMapa.szNomeArqMapaShp) +
                   ": a recomendação é de outra área";
        return FALSE;
    }
    return TRUE;
}

BOOL analise_TotaisArquivo(const char* pcArquivoNvg, ST_TotaisComparacao* pstTotais, std::string* pszErro)
{
    ComparacaoPlano pComparacao = analise_CriarComparacao();
    if (!LerTrabalho(pcArquivoNvg, pComparacao.get(), pszErro, [](const ST_EstruturaNavegacao&) { return true; }))
        return FALSE;
    ST_ResultadoComparacao stResultado;
    analise_ConcluirComparacao(pComparacao.get(), ST_ShpLegenda{}, &stResultado);
    *pstTotais = stResultado.stTotais;
    return TRUE;
}
