// The layers of an export, read with the core's readers: the coverage polygons from the coverage walk
// (the shapefile's length rules), the track points with their marks in one pass over the stages, the
// stages, then guides and boundaries from the entries the container walk found.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <cpl_error.h>

#include "exportacao/destino.h"
#include "funcoesAuxiliares/leituraArquivo.h"
#include "zavoro/cobertura.h"
#include "zavoro/conversor.h"
#include "zavoro/exportacao.h"
#include "zavoro/pontosRelevantes.h"
#include "zavoro/zavoro.h"

namespace
{
constexpr ST_CampoExportacao kCamposCobertura[] = {
    {"valor", OFTReal},      {"unidade", OFTString},   {"taxa_alvo", OFTReal},     {"etapa", OFTInteger},
    {"operacao", OFTString}, {"cultura", OFTString},   {"area_ha", OFTReal},       {"inicio", OFTDateTime},
    {"fim", OFTDateTime},    {"vel_kmh", OFTReal},     {"secoes_lig", OFTInteger}, {"secoes", OFTInteger},
};
constexpr ST_CampoExportacao kCamposRastro[] = {
    {"etapa", OFTInteger},   {"tempo", OFTDateTime},  {"vel_kmh", OFTReal},    {"rumo", OFTReal},
    {"valor", OFTReal},      {"unidade", OFTString},  {"secoes_lig", OFTInteger}, {"secoes", OFTInteger},
    {"area_ha", OFTReal},    {"pausa", OFTInteger},   {"parada", OFTInteger},  {"ret_energ", OFTInteger},
    {"temperat", OFTReal},
};
constexpr ST_CampoExportacao kCamposEtapas[] = {
    {"etapa", OFTInteger},    {"operador", OFTString},  {"maquina", OFTString},   {"cultura", OFTString},
    {"operacao", OFTString},  {"inicio", OFTDateTime},  {"fim", OFTDateTime},     {"pontos", OFTInteger},
    {"vel_media", OFTReal},   {"largura_m", OFTReal},   {"num_secoes", OFTInteger}, {"larg_secao", OFTString},
    {"taxa1", OFTReal},       {"taxa2", OFTReal},       {"unidade", OFTString},   {"num_bicos", OFTInteger},
    {"esp_bicos", OFTInteger}, {"vazao_bico", OFTReal},
};
constexpr ST_CampoExportacao kCamposEventos[] = {
    {"tipo", OFTString}, {"numero", OFTInteger}, {"etapa", OFTInteger}, {"tempo", OFTDateTime},
    {"duracao_s", OFTInteger}, {"temperat", OFTReal},
};
constexpr ST_CampoExportacao kCamposGuias[] = {{"guia", OFTInteger}, {"tipo", OFTString}, {"curva", OFTInteger}};
constexpr ST_CampoExportacao kCamposLimites[] = {{"limite", OFTInteger}, {"area_ha", OFTReal}};

// A field's position in its table. A layer keeps the table's order, after the driver's own fields
// where it has some (KML puts Name and Description first; exportacao_CriarCamada makes sure), so a
// field's index is the first one's plus its position: features are filled by index, since a lookup by
// name for every field of a million points costs more than a tenth of the export.
template <std::size_t N>
consteval int Campo(const ST_CampoExportacao (&vCampos)[N], std::string_view szNome)
{
    for (std::size_t i = 0; i < N; i++)
        if (szNome == vCampos[i].pcNome)
            return static_cast<int>(i);
    throw "campo inexistente";
}

template <std::size_t N>
int PrimeiroCampo(const OGRFeature& stFeicao, const ST_CampoExportacao (&vCampos)[N])
{
    return stFeicao.GetDefnRef()->GetFieldIndex(vCampos[0].pcNome);
}

template <std::size_t N>
OGRLayer* Camada(ST_DestinoExportacao* pstDestino, const char* pcNome, OGRwkbGeometryType eTipo,
                 const ST_CampoExportacao (&vCampos)[N])
{
    return exportacao_CriarCamada(pstDestino, pcNome, eTipo, vCampos, static_cast<int>(N));
}

std::string Operacao(std::uint8_t ucOperacao)
{
    char cTexto[D_ZAVORO_TAMANHO_STRING_CODIGO] = {};
    zavoro_RetornarStringTipoOperacao(ucOperacao, cTexto);
    return cTexto;
}

const char* Unidade(std::uint8_t ucOperacao)
{
    switch (ucOperacao)
    {
    case D_ZAVORO_OPERACAO_PULVERIZACAO: return "L/ha";
    case D_ZAVORO_OPERACAO_ADUBACAO: return "kg/ha";
    case D_ZAVORO_OPERACAO_COLHEITA: return "kg/ha";
    case D_ZAVORO_OPERACAO_PLANTIO: return "sementes/ha";
    case D_ZAVORO_OPERACAO_IRRIGACAO: return "mm";
    default: return "";
    }
}

// The value a point carries, as the coverage walk values it: fertiliser rates as stored, the others in
// tenths.
double ValorPonto(const ST_PontoNVG_v2& stPonto, std::uint8_t ucOperacao)
{
    return ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO ? stPonto.usTaxaLida[0] : stPonto.usTaxaLida[0] / 10;
}

// The stage's first target rate and its second; 0 when the operation keeps none.
void TaxasAlvo(const ST_EventoConfig_v9& stConfig, std::uint8_t ucOperacao, double* pdTaxa1, double* pdTaxa2)
{
    *pdTaxa1 = *pdTaxa2 = 0.0;
    if (ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO)
    {
        *pdTaxa1 = stConfig.usTaxaAplicacao1 / 10;
        *pdTaxa2 = stConfig.usTaxaAplicacao2 / 10;
    }
    else if (ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
    {
        *pdTaxa1 = stConfig.ulTaxaFixa1;
        *pdTaxa2 = stConfig.ulTaxaFixa2;
    }
}

// Console time stamps are taken as UTC, as the console's clock keeps them.
std::string TextoTempo(std::uint32_t ulDataHora);

void DefinirTempo(OGRFeature& stFeicao, int iCampo, std::uint32_t ulDataHora)
{
    if (ulDataHora == 0)
        return;
    // Formats without a date type of their own get the ISO 8601 text.
    if (stFeicao.GetFieldDefnRef(iCampo)->GetType() == OFTString)
    {
        stFeicao.SetField(iCampo, TextoTempo(ulDataHora).c_str());
        return;
    }
    long lDia, lMes, lAno, lHora, lMinuto, lSegundo;
    zavoro_CalcularDataHoraSegundos(ulDataHora, &lDia, &lMes, &lAno, &lHora, &lMinuto, &lSegundo);
    stFeicao.SetField(iCampo, static_cast<int>(lAno + 2000), static_cast<int>(lMes), static_cast<int>(lDia),
                      static_cast<int>(lHora), static_cast<int>(lMinuto), static_cast<float>(lSegundo), 100);
}

std::string TextoTempo(std::uint32_t ulDataHora)
{
    long lDia, lMes, lAno, lHora, lMinuto, lSegundo;
    zavoro_CalcularDataHoraSegundos(ulDataHora, &lDia, &lMes, &lAno, &lHora, &lMinuto, &lSegundo);
    char cTexto[96];
    std::snprintf(cTexto, sizeof cTexto, "%04ld-%02ld-%02ldT%02ld:%02ld:%02ldZ", lAno + 2000, lMes, lDia, lHora,
                  lMinuto, lSegundo);
    return cTexto;
}

OGRPoint PontoAbsoluto(float fLonRel, float fLatRel, const ST_Talhao& stTalhao)
{
    double dLat = 0.0, dLon = 0.0;
    conversor_TransformarCoordenadasAbsolutas(fLatRel, fLonRel, &dLat, &dLon, stTalhao.dZeroRelativoLat,
                                              stTalhao.dZeroRelativoLon);
    return OGRPoint(dLon, dLat);
}

bool Gravar(OGRLayer* pCamada, OGRFeature& stFeicao)
{
    return pCamada->CreateFeature(&stFeicao) == OGRERR_NONE;
}

// What a stage is, for the coverage and stage layers.
struct ST_EtapaExportacao
{
    ST_EventoConfig_v9 stConfig{};
    std::uint8_t ucOperacao = 0;
    std::uint32_t ulInicio = 0;
    std::uint32_t ulFim = 0;
    double dSomaVelocidade = 0.0;
    BOOL bTemPonto = FALSE;
    ST_PontoNVG_v2 stPrimeiro{};
};

// ---------------------------------------------------------------------------------------------------
// Track and marks
// ---------------------------------------------------------------------------------------------------

struct ST_Marcas
{
    OGRLayer* pCamada = nullptr;
    const ST_Talhao* pstTalhao = nullptr;
    int iTemperaturas = 0;
};

// One mark as a feature: its kind, number, stage, time, how long it lasted and the temperature.
bool GravarMarca(ST_Marcas& stMarcas, const ST_MarcaRelevante& stMarca, int iEtapa)
{
    static constexpr const char* kTipos[] = {"pausa", "retorno_pausa", "retorno_energia", "parada", "temperatura"};
    const ST_PontoNVG_v2& stPonto = *stMarca.pstPonto;
    OGRFeature stFeicao(stMarcas.pCamada->GetLayerDefn());
    const int iBase = PrimeiroCampo(stFeicao, kCamposEventos);
    const bool bTemperatura = stMarca.iTipo == D_CONVERSOR_MARCA_TEMPERATURA;
    stFeicao.SetField(iBase + Campo(kCamposEventos, "tipo"), bTemperatura && stMarca.bExcedida ? "temperatura_excedida" : kTipos[stMarca.iTipo]);
    stFeicao.SetField(iBase + Campo(kCamposEventos, "numero"), bTemperatura ? ++stMarcas.iTemperaturas : stMarca.iNumero);
    stFeicao.SetField(iBase + Campo(kCamposEventos, "etapa"), iEtapa + 1);
    DefinirTempo(stFeicao, iBase + Campo(kCamposEventos, "tempo"), stPonto.ulSegundosDataHora);
    // The pause's end lasted from its start; a power return and a stop carry their own seconds.
    std::int64_t llDuracao = stMarca.llSegundos;
    if (stMarca.iTipo == D_CONVERSOR_MARCA_PAUSA)
        llDuracao = 0;
    else if (stMarca.iTipo == D_CONVERSOR_MARCA_FIM_PAUSA)
        llDuracao = stMarca.llSegundos != 0 ? std::int64_t{stPonto.ulSegundosDataHora} - stMarca.llSegundos : 0;
    if (llDuracao > 0)
        stFeicao.SetField(iBase + Campo(kCamposEventos, "duracao_s"), static_cast<int>(llDuracao));
    if (stPonto.fTemperatura > 0.0f)
        stFeicao.SetField(iBase + Campo(kCamposEventos, "temperat"), stPonto.fTemperatura);
    OGRPoint stPosicao = PontoAbsoluto(stPonto.fLongitudeRelImp, stPonto.fLatitudeRelImp, *stMarcas.pstTalhao);
    stFeicao.SetGeometry(&stPosicao);
    return Gravar(stMarcas.pCamada, stFeicao);
}

// stFeicao is the track layer's, reused for every point; iBase the index of its first field.
bool GravarPontoRastro(OGRLayer* pCamada, OGRFeature& stFeicao, int iBase, const ST_PontoNVG_v2& stPonto, int iEtapa,
                       std::uint8_t ucOperacao, const ST_Talhao& stTalhao)
{
    stFeicao.SetFID(OGRNullFID);
    stFeicao.SetField(iBase + Campo(kCamposRastro, "etapa"), iEtapa + 1);
    DefinirTempo(stFeicao, iBase + Campo(kCamposRastro, "tempo"), stPonto.ulSegundosDataHora);
    stFeicao.SetField(iBase + Campo(kCamposRastro, "vel_kmh"), static_cast<double>(stPonto.ucVelocidade));
    stFeicao.SetField(iBase + Campo(kCamposRastro, "rumo"), stPonto.fAnguloNavegacao);
    stFeicao.SetField(iBase + Campo(kCamposRastro, "valor"), ValorPonto(stPonto, ucOperacao));
    stFeicao.SetField(iBase + Campo(kCamposRastro, "unidade"), Unidade(ucOperacao));
    const unsigned uiMascara = ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO ? stPonto.usSecoes & 0xFFu : stPonto.usSecoes;
    stFeicao.SetField(iBase + Campo(kCamposRastro, "secoes_lig"), std::popcount(uiMascara));
    stFeicao.SetField(iBase + Campo(kCamposRastro, "secoes"), static_cast<int>(uiMascara));
    stFeicao.SetField(iBase + Campo(kCamposRastro, "area_ha"), stPonto.fAreaCobertura);
    stFeicao.SetField(iBase + Campo(kCamposRastro, "pausa"), (stPonto.usTag & D_ZAVORO_TAG_PONTO_PAUSA) ? 1 : 0);
    stFeicao.SetField(iBase + Campo(kCamposRastro, "parada"), (stPonto.usTag & D_ZAVORO_TAG_PARADA) ? 1 : 0);
    stFeicao.SetField(iBase + Campo(kCamposRastro, "ret_energ"), (stPonto.usTag & D_ZAVORO_TAG_RETORNO_ENERGIA) ? 1 : 0);
    stFeicao.SetField(iBase + Campo(kCamposRastro, "temperat"), stPonto.fTemperatura);
    OGRPoint stPosicao = PontoAbsoluto(stPonto.fLongitudeRelImp, stPonto.fLatitudeRelImp, stTalhao);
    stFeicao.SetGeometry(&stPosicao);
    return Gravar(pCamada, stFeicao);
}

// One pass over the stages: every point into the track layer, the marks into theirs, and what the
// stage layer needs into vEtapas.
bool GravarRastroEventos(std::FILE* pf, const ST_EstruturaNavegacao& stEstrutura, ST_DestinoExportacao* pstDestino,
                         std::vector<ST_EtapaExportacao>* pvEtapas)
{
    OGRLayer* pRastro = Camada(pstDestino, "rastro", wkbPoint, kCamposRastro);
    OGRLayer* pEventos = pRastro != nullptr ? Camada(pstDestino, "eventos", wkbPoint, kCamposEventos) : nullptr;
    if (pEventos == nullptr || std::fseek(pf, stEstrutura.lPrimeiraEtapa, SEEK_SET) != 0)
        return false;
    const unsigned short usVersao = stEstrutura.usVersaoArquivoEvento;
    ST_Marcas stMarcas;
    stMarcas.pCamada = pEventos;
    stMarcas.pstTalhao = &stEstrutura.stTalhao;
    Conversor_MarcasRelevantes stDetector(usVersao, stEstrutura.stCabecalho.ulDataHoraInicioEvento);
    ST_MarcaRelevante vMarcas[D_CONVERSOR_MAXIMO_MARCAS_PONTO];
    OGRFeature stFeicao(pRastro->GetLayerDefn());
    const int iBase = PrimeiroCampo(stFeicao, kCamposRastro);
    for (std::uint32_t ulEtapa = 0; ulEtapa < stEstrutura.stCabecalho.ulNumConfiguracoes; ulEtapa++)
    {
        ST_EtapaExportacao& stEtapa = pvEtapas->emplace_back();
        if (!zavoro_LerConfiguracaoEvento(pf, usVersao, &stEtapa.stConfig) ||
            stEtapa.stConfig.ulNumeroPontosRastro > D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO)
            return false;
        stEtapa.ucOperacao = zavoro_TraduzirOperacao(stEtapa.stConfig.ucOperacao, usVersao);
        const int iEtapa = static_cast<int>(ulEtapa);
        stDetector.IniciarEtapa();
        for (std::uint32_t i = 0; i < stEtapa.stConfig.ulNumeroPontosRastro; i++)
        {
            ST_PontoNVG_v2 stPonto{};
            int iBytesLidos = 0;
            if (!zavoro_LerEstruturaLog(pf, &stPonto, usVersao, &iBytesLidos) ||
                !GravarPontoRastro(pRastro, stFeicao, iBase, stPonto, iEtapa, stEtapa.ucOperacao, stEstrutura.stTalhao))
                return false;
            const int n = stDetector.Ponto(stPonto, vMarcas);
            for (int k = 0; k < n; k++)
                if (!GravarMarca(stMarcas, vMarcas[k], iEtapa))
                    return false;
            if (!stEtapa.bTemPonto)
            {
                stEtapa.bTemPonto = TRUE;
                stEtapa.stPrimeiro = stPonto;
                stEtapa.ulInicio = stPonto.ulSegundosDataHora;
            }
            stEtapa.ulFim = std::max(stEtapa.ulFim, stPonto.ulSegundosDataHora);
            stEtapa.dSomaVelocidade += stPonto.ucVelocidade;
        }
        // A standing that lasted to the end of the stage.
        if (stDetector.FimEtapa(&vMarcas[0]) && !GravarMarca(stMarcas, vMarcas[0], iEtapa))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------------
// Stages
// ---------------------------------------------------------------------------------------------------

bool GravarEtapas(const std::vector<ST_EtapaExportacao>& vEtapas, const ST_EstruturaNavegacao& stEstrutura,
                  ST_DestinoExportacao* pstDestino)
{
    OGRLayer* pCamada = Camada(pstDestino, "etapas", wkbPoint, kCamposEtapas);
    if (pCamada == nullptr)
        return false;
    for (std::size_t i = 0; i < vEtapas.size(); i++)
    {
        const ST_EtapaExportacao& stEtapa = vEtapas[i];
        const ST_EventoConfig_v9& stConfig = stEtapa.stConfig;
        OGRFeature stFeicao(pCamada->GetLayerDefn());
        const int iBase = PrimeiroCampo(stFeicao, kCamposEtapas);
        stFeicao.SetField("etapa", static_cast<int>(i + 1));
        stFeicao.SetField("operador", zavoro_TextoCampo(stConfig.szOperador).c_str());
        stFeicao.SetField("maquina", zavoro_TextoCampo(stConfig.szMaquina).c_str());
        stFeicao.SetField("cultura", zavoro_TextoCampo(stConfig.szCultura).c_str());
        stFeicao.SetField("operacao", Operacao(stEtapa.ucOperacao).c_str());
        DefinirTempo(stFeicao, iBase + Campo(kCamposEtapas, "inicio"), stEtapa.ulInicio);
        DefinirTempo(stFeicao, iBase + Campo(kCamposEtapas, "fim"), stEtapa.ulFim);
        stFeicao.SetField("pontos", static_cast<int>(stConfig.ulNumeroPontosRastro));
        if (stConfig.ulNumeroPontosRastro > 0)
            stFeicao.SetField("vel_media", stEtapa.dSomaVelocidade / stConfig.ulNumeroPontosRastro);
        // Blocks of version 5 on keep the width in metres; older ones in centimetres.
        stFeicao.SetField("largura_m", stEstrutura.usVersaoArquivoEvento >= 5 ? stConfig.fLarguraImplemento
                                                                              : stConfig.usLarguraImplemento / 100.0);
        // Each operation keeps its sections in its own table.
        int iSecoes = std::min<int>(stConfig.ucNumeroSecoes, std::size(stConfig.usTamanhoSeccao));
        const std::uint16_t* pusLarguras = stConfig.usTamanhoSeccao;
        if (stEtapa.ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
        {
            iSecoes = std::min<int>(stConfig.ucNumeroSecoesAdub, std::size(stConfig.usTamanhoSecaoAdub));
            pusLarguras = stConfig.usTamanhoSecaoAdub;
        }
        else if (stEtapa.ucOperacao == D_ZAVORO_OPERACAO_PLANTIO)
        {
            iSecoes = std::min<int>(stConfig.ucNumeroSecoesPlantio, std::size(stConfig.usTamanhoSeccaoPlantio));
            pusLarguras = stConfig.usTamanhoSeccaoPlantio;
        }
        stFeicao.SetField("num_secoes", iSecoes);
        std::string szLarguras;
        for (int s = 0; s < iSecoes; s++)
            szLarguras += (s > 0 ? "," : "") + std::to_string(pusLarguras[s]);
        stFeicao.SetField("larg_secao", szLarguras.c_str());
        double dTaxa1 = 0.0, dTaxa2 = 0.0;
        TaxasAlvo(stConfig, stEtapa.ucOperacao, &dTaxa1, &dTaxa2);
        stFeicao.SetField("taxa1", dTaxa1);
        stFeicao.SetField("taxa2", dTaxa2);
        stFeicao.SetField("unidade", Unidade(stEtapa.ucOperacao));
        stFeicao.SetField("num_bicos", stConfig.usNumeroBicos);
        stFeicao.SetField("esp_bicos", stConfig.usEspacamentoBicos);
        stFeicao.SetField("vazao_bico", stConfig.usVazaoBico / 10.0);
        // The stage's flag stands at its first point, as on the KML map.
        if (stEtapa.bTemPonto)
        {
            OGRPoint stPosicao =
                PontoAbsoluto(stEtapa.stPrimeiro.fLongitudeRelImp, stEtapa.stPrimeiro.fLatitudeRelImp, stEstrutura.stTalhao);
            stFeicao.SetGeometry(&stPosicao);
        }
        if (!Gravar(pCamada, stFeicao))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------------
// Coverage
// ---------------------------------------------------------------------------------------------------

struct ST_ReceptorExportacao
{
    OGRLayer* pCamada = nullptr;
    const std::vector<ST_EtapaExportacao>* pvEtapas = nullptr;
    int iEtapa = -1;
    std::unique_ptr<OGRFeature> pFeicao;
    int iBase = 0; // index of its first field
    ST_DadosPoligono stDados; // of the polygon whose rings come next
};

void IniciarEtapa(void* pContexto, const ST_EtapaPoligonos&)
{
    static_cast<ST_ReceptorExportacao*>(pContexto)->iEtapa++;
}

void DadosPoligono(void* pContexto, const ST_DadosPoligono& stDados)
{
    static_cast<ST_ReceptorExportacao*>(pContexto)->stDados = stDados;
}

// Shoelace area of a ring in degrees, on a local plane at the ring's latitude.
double AreaHectares(const ST_CoordenadaKml* pstVertices, int iNumVertices)
{
    const double dMetrosGrau = D_ZAVORO_TERRA_RAIO_EQUADOR * D_ZAVORO_PI / 180.0;
    const double dCosLat = std::cos(pstVertices[0].dLatitude * D_ZAVORO_PI / 180.0);
    double dSoma = 0.0;
    for (int i = 0; i < iNumVertices; i++)
    {
        const ST_CoordenadaKml& a = pstVertices[i];
        const ST_CoordenadaKml& b = pstVertices[(i + 1) % iNumVertices];
        dSoma += a.dLongitude * b.dLatitude - b.dLongitude * a.dLatitude;
    }
    return std::abs(dSoma) / 2.0 * dMetrosGrau * dMetrosGrau * dCosLat / 10000.0;
}

// A strip that folds over itself (a turn within the implement's width) is no valid polygon for GIS
// readers (KML's writer refuses it): its area is kept as the union of its valid parts. False when
// nothing with an area is left.
bool Validar(const OGRPolygon& stPoligono, OGRMultiPolygon* pstValido)
{
    if (stPoligono.IsValid())
        return pstValido->addGeometry(&stPoligono) == OGRERR_NONE;
    std::unique_ptr<OGRGeometry> pValido(stPoligono.MakeValid());
    if (!pValido)
        return false;
    const auto Juntar = [&](const OGRGeometry* p) {
        if (wkbFlatten(p->getGeometryType()) == wkbPolygon)
            pstValido->addGeometry(p);
        else if (wkbFlatten(p->getGeometryType()) == wkbMultiPolygon)
            for (const OGRPolygon* pParte : *p->toMultiPolygon())
                pstValido->addGeometry(pParte);
    };
    if (wkbFlatten(pValido->getGeometryType()) == wkbGeometryCollection)
        for (const OGRGeometry* pParte : *pValido->toGeometryCollection())
            Juntar(pParte);
    else
        Juntar(pValido.get());
    return !pstValido->IsEmpty();
}

BOOL InserirAnel(void* pContexto, const ST_CoordenadaKml* pstVertices, int iNumVertices, int iValor)
{
    ST_ReceptorExportacao& stReceptor = *static_cast<ST_ReceptorExportacao*>(pContexto);
    if (iNumVertices < 3 || stReceptor.iEtapa < 0 || stReceptor.iEtapa >= static_cast<int>(stReceptor.pvEtapas->size()))
        return iNumVertices > 0 ? TRUE : FALSE; // a sliver has no area to carry a value
    const ST_EtapaExportacao& stEtapa = (*stReceptor.pvEtapas)[stReceptor.iEtapa];
    OGRFeature& stFeicao = *stReceptor.pFeicao;
    const int iBase = stReceptor.iBase;
    stFeicao.SetFID(OGRNullFID);
    stFeicao.SetField(iBase + Campo(kCamposCobertura, "valor"), static_cast<double>(iValor));
    stFeicao.SetField(iBase + Campo(kCamposCobertura, "unidade"), Unidade(stEtapa.ucOperacao));
    double dTaxa1 = 0.0, dTaxa2 = 0.0;
    TaxasAlvo(stEtapa.stConfig, stEtapa.ucOperacao, &dTaxa1, &dTaxa2);
    stFeicao.SetField(iBase + Campo(kCamposCobertura, "taxa_alvo"), dTaxa1);
    stFeicao.SetField(iBase + Campo(kCamposCobertura, "etapa"), stReceptor.iEtapa + 1);
    stFeicao.SetField(iBase + Campo(kCamposCobertura, "operacao"), Operacao(stEtapa.ucOperacao).c_str());
    stFeicao.SetField(iBase + Campo(kCamposCobertura, "cultura"), zavoro_TextoCampo(stEtapa.stConfig.szCultura).c_str());
    stFeicao.SetField(iBase + Campo(kCamposCobertura, "area_ha"), AreaHectares(pstVertices, iNumVertices));
    const ST_DadosPoligono& stDados = stReceptor.stDados;
    DefinirTempo(stFeicao, iBase + Campo(kCamposCobertura, "inicio"), stDados.ulInicio);
    DefinirTempo(stFeicao, iBase + Campo(kCamposCobertura, "fim"), stDados.ulFim);
    stFeicao.SetField(iBase + Campo(kCamposCobertura, "vel_kmh"), stDados.dVelocidadeMedia);
    stFeicao.SetField(iBase + Campo(kCamposCobertura, "secoes_lig"), std::popcount(static_cast<unsigned int>(stDados.usSecoes)));
    stFeicao.SetField(iBase + Campo(kCamposCobertura, "secoes"), static_cast<int>(stDados.usSecoes));
    auto pAnel = std::make_unique<OGRLinearRing>();
    pAnel->setNumPoints(iNumVertices + 1, FALSE);
    for (int i = 0; i <= iNumVertices; i++)
    {
        const ST_CoordenadaKml& st = pstVertices[i % iNumVertices];
        pAnel->setPoint(i, st.dLongitude, st.dLatitude);
    }
    OGRPolygon stPoligono;
    stPoligono.addRingDirectly(pAnel.release());
    OGRMultiPolygon stValido;
    if (!Validar(stPoligono, &stValido))
        return TRUE;
    stFeicao.SetGeometry(&stValido);
    return Gravar(stReceptor.pCamada, stFeicao) ? TRUE : FALSE;
}

bool GravarCobertura(std::FILE* pf, const ST_EstruturaNavegacao& stEstrutura,
                     const std::vector<ST_EtapaExportacao>& vEtapas, ST_DestinoExportacao* pstDestino)
{
    ST_ReceptorExportacao stContexto;
    stContexto.pCamada = Camada(pstDestino, "cobertura", wkbMultiPolygon, kCamposCobertura);
    if (stContexto.pCamada == nullptr || std::fseek(pf, stEstrutura.lPrimeiraEtapa, SEEK_SET) != 0)
        return false;
    stContexto.pvEtapas = &vEtapas;
    stContexto.pFeicao = std::make_unique<OGRFeature>(stContexto.pCamada->GetLayerDefn());
    stContexto.iBase = PrimeiroCampo(*stContexto.pFeicao, kCamposCobertura);
    ST_ReceptorCobertura stReceptor;
    stReceptor.pContexto = &stContexto;
    stReceptor.pfIniciarEtapa = IniciarEtapa;
    stReceptor.pfInserirAnel = InserirAnel;
    stReceptor.pfDadosPoligono = DadosPoligono;
    return cobertura_PercorrerCobertura(pf, stEstrutura.usVersaoArquivoEvento, stEstrutura.stCabecalho.ulNumConfiguracoes,
                                        D_CONVERSOR_TIPO_MAPA_COBERTURA, stEstrutura.stTalhao.dZeroRelativoLon,
                                        stEstrutura.stTalhao.dZeroRelativoLat, D_COBERTURA_CORTE_COMPRIMENTO,
                                        stReceptor) != FALSE;
}

// ---------------------------------------------------------------------------------------------------
// Guides and boundaries
// ---------------------------------------------------------------------------------------------------

OGRLineString Linha(const std::vector<ST_CoordenadaKml>& vPontos)
{
    OGRLineString stLinha;
    for (const ST_CoordenadaKml& st : vPontos)
        stLinha.addPoint(st.dLongitude, st.dLatitude);
    return stLinha;
}

bool GravarGuia(OGRLayer* pCamada, int iGuia, const char* pcTipo, int iCurva, OGRLineString& stLinha)
{
    if (stLinha.getNumPoints() < 2)
        return true;
    OGRFeature stFeicao(pCamada->GetLayerDefn());
    stFeicao.SetField("guia", iGuia);
    stFeicao.SetField("tipo", pcTipo);
    stFeicao.SetField("curva", iCurva);
    stFeicao.SetGeometry(&stLinha);
    return Gravar(pCamada, stFeicao);
}

bool GravarGuias(std::FILE* pf, const ST_EstruturaNavegacao& stEstrutura, ST_DestinoExportacao* pstDestino)
{
    OGRLayer* pCamada = Camada(pstDestino, "guias", wkbLineString, kCamposGuias);
    return pCamada != nullptr && cobertura_LerGuias(pf, stEstrutura, [&](const ST_LinhaNavegacao& stGuia) {
        OGRLineString stLinha = Linha(stGuia.vPontos);
        return GravarGuia(pCamada, stGuia.iNumero, stGuia.iCurva == 0 ? "reta" : "curva", stGuia.iCurva, stLinha);
    });
}

bool GravarLimites(std::FILE* pf, const ST_EstruturaNavegacao& stEstrutura, ST_DestinoExportacao* pstDestino)
{
    OGRLayer* pCamada = Camada(pstDestino, "limites", wkbMultiPolygon, kCamposLimites);
    return pCamada != nullptr && cobertura_LerLimites(pf, stEstrutura, [&](const ST_LinhaNavegacao& stLimite) {
        if (stLimite.vPontos.size() < 3)
            return true;
        auto pAnel = std::make_unique<OGRLinearRing>();
        for (const ST_CoordenadaKml& st : stLimite.vPontos)
            pAnel->addPoint(st.dLongitude, st.dLatitude);
        pAnel->closeRings();
        OGRPolygon stPoligono;
        stPoligono.addRingDirectly(pAnel.release());
        OGRMultiPolygon stValido;
        if (!Validar(stPoligono, &stValido))
            return true;
        OGRFeature stFeicao(pCamada->GetLayerDefn());
        stFeicao.SetField("limite", stLimite.iNumero);
        stFeicao.SetField("area_ha", stEstrutura.vLimites[static_cast<std::size_t>(stLimite.iNumero - 1)].stLimite.fAreaLimite);
        stFeicao.SetGeometry(&stValido);
        return Gravar(pCamada, stFeicao);
    });
}

// Field, event, times, console identity and the source file.
std::vector<std::pair<std::string, std::string>> Metadados(const char* pcArquivo, const ST_EstruturaNavegacao& stEstrutura,
                                                           const std::vector<ST_EtapaExportacao>& vEtapas)
{
    const ST_EventoCabecalho& stCabecalho = stEstrutura.stCabecalho;
    std::vector<std::pair<std::string, std::string>> v = {
        {"ARQUIVO", std::filesystem::path(pcArquivo).filename().string()},
        {"TALHAO", zavoro_TextoCampo(stEstrutura.stTalhao.szNomeTalhao)},
        {"EVENTO", zavoro_TextoCampo(stCabecalho.szNomeEvento)},
        {"INICIO_TALHAO", TextoTempo(stEstrutura.stTalhao.ulDataHoraInicio)},
        {"INICIO_EVENTO", TextoTempo(stCabecalho.ulDataHoraInicioEvento)},
        {"FIM_EVENTO", TextoTempo(stCabecalho.ulDataHoraFimEvento)},
        {"AREA_HA", std::to_string(stCabecalho.fAreaCobertura)},
        {"ETAPAS", std::to_string(stCabecalho.ulNumConfiguracoes)},
        {"VERSAO_ARQUIVO_EVENTO", std::to_string(stEstrutura.usVersaoArquivoEvento)},
    };
    if (!vEtapas.empty() && stEstrutura.usVersaoArquivoEvento >= 2)
    {
        const ST_EventoConfig_v9& stConfig = vEtapas.front().stConfig;
        v.insert(v.end(), {{"NUMERO_SERIAL", std::to_string(stConfig.ulNumeroSerial)},
                           {"VERSAO_APLICATIVO", std::to_string(stConfig.ulVersaoAplicativo)},
                           {"VERSAO_BOOTLOADER", std::to_string(stConfig.ulVersaoBootloader)},
                           {"VERSAO_APLIC_ATUALIZ", std::to_string(stConfig.ulVersaoAplicAtualiz)},
                           {"VERSAO_INTERFACE_DIR", std::to_string(stConfig.ulVersaoInterfaceDir)},
                           {"VERSAO_INTERFACE_ESQ", std::to_string(stConfig.ulVersaoInterfaceEsq)}});
    }
    return v;
}

// Keeps the first failure GDAL reports on this thread.
void GuardarErroGdal(CPLErr eClasse, CPLErrorNum, const char* pcMensagem)
{
    auto* pszErro = static_cast<std::string*>(CPLGetErrorHandlerUserData());
    if (eClasse >= CE_Failure && pszErro != nullptr && pszErro->empty())
        *pszErro = pcMensagem;
}
} // namespace

BOOL exportacao_ExportarArquivo(const char* pcArquivoLeitura, const std::string& szBase, int iFormato,
                                std::string* pszErro)
{
    std::string szMotivo;
    FuncAux_ArquivoLeitura pf = funcAux_AbrirLeitura(pcArquivoLeitura, &szMotivo);
    ST_EstruturaNavegacao stEstrutura;
    if (!pf || !zavoro_PercorrerEstrutura(pf.get(), &stEstrutura, &szMotivo))
    {
        if (pszErro != nullptr)
            *pszErro = szMotivo;
        return FALSE;
    }
    ST_DestinoExportacao stDestino;
    CPLPushErrorHandlerEx(GuardarErroGdal, &stDestino.szErro);
    bool bOk = exportacao_AbrirDestino(szBase, iFormato, &stDestino, pszErro) != FALSE;
    std::vector<ST_EtapaExportacao> vEtapas;
    const bool bLeitura = bOk && GravarRastroEventos(pf.get(), stEstrutura, &stDestino, &vEtapas) &&
                          GravarEtapas(vEtapas, stEstrutura, &stDestino) &&
                          GravarCobertura(pf.get(), stEstrutura, vEtapas, &stDestino) &&
                          GravarGuias(pf.get(), stEstrutura, &stDestino) && GravarLimites(pf.get(), stEstrutura, &stDestino);
    if (bOk && !bLeitura)
    {
        if (pszErro != nullptr)
            *pszErro = stDestino.szErro.empty() ? "pontos do trajeto ilegíveis: " + std::string(pcArquivoLeitura)
                                                : "erro de gravação de " + szBase + " (" + stDestino.szErro + ")";
        exportacao_DescartarDestino(&stDestino);
        bOk = false;
    }
    if (bOk)
    {
        exportacao_DefinirMetadados(&stDestino, Metadados(pcArquivoLeitura, stEstrutura, vEtapas));
        bOk = exportacao_ConcluirDestino(&stDestino, pszErro) != FALSE;
    }
    CPLPopErrorHandler();
    return bOk ? TRUE : FALSE;
}
