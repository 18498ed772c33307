// The TaskData export: for each navigation file a look at its stage blocks (which process data the
// time log needs), one walk over its track points straight into the zip as TLG records, then its
// document elements; the document last, and the zip published as one output.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "funcoesAuxiliares/leituraArquivo.h"
#include "isoxml/taskData.h"
#include "isoxml/zip.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/isoxml.h"

namespace
{
constexpr const char* kPasta = "TASKDATA/";
// Records are handed to the zip in pieces of about this size.
constexpr std::size_t kTamanhoBloco = 64 * 1024;
// Time between two working points that still counts as work, seconds: a longer gap was a pause.
constexpr std::uint32_t kMaximoIntervaloEfetivo = 60;
// Position status of a record: the console had no satellites, or a fix of unknown kind.
constexpr std::uint8_t kSemFix = 0;
constexpr std::uint8_t kFixGnss = 1;

// The rate and total process data of each operation, and how a point's values become theirs.
struct ST_Operacao
{
    std::uint8_t ucOperacao;
    unsigned uiTaxa;     // 0: the operation logs no rate
    unsigned uiTaxaAlvo; // 0: no target
    unsigned uiTotal;
    double dFatorTaxa;  // stored rate -> DDI units
    double dFatorTotal; // decoded quantity -> DDI units
    unsigned short usVersaoMinimaTaxa;
};

constexpr ST_Operacao kOperacoes[] = {
    // L/ha in tenths -> mm³/m² in hundredths: 0.1 L/ha = 10 mm³/m² = 1000.
    {D_ZAVORO_OPERACAO_PULVERIZACAO, D_ISOXML_DDI_TAXA_VOLUME, D_ISOXML_DDI_TAXA_VOLUME_ALVO,
     D_ISOXML_DDI_VOLUME_TOTAL, 1000.0, 1.0, 1},
    // kg/ha -> mg/m²; rates of older blocks are nothing to go by.
    {D_ZAVORO_OPERACAO_ADUBACAO, D_ISOXML_DDI_TAXA_MASSA, D_ISOXML_DDI_TAXA_MASSA_ALVO,
     D_ISOXML_DDI_MASSA_TOTAL, 100.0, 1.0, 3},
    // Thousands of seeds per hectare -> seeds per m² in thousandths; the quantity in thousands.
    {D_ZAVORO_OPERACAO_PLANTIO, D_ISOXML_DDI_TAXA_CONTAGEM, 0, D_ISOXML_DDI_CONTAGEM_TOTAL, 100.0, 1000.0, 1},
    // Yield kg/ha -> mg/m²; the harvested quantity in kg.
    {D_ZAVORO_OPERACAO_COLHEITA, D_ISOXML_DDI_PRODUTIVIDADE_MASSA, 0, D_ISOXML_DDI_COLHEITA_MASSA_TOTAL,
     100.0, 1.0, 1},
};

const ST_Operacao* Operacao(std::uint8_t ucOperacao)
{
    for (const ST_Operacao& st : kOperacoes)
        if (st.ucOperacao == ucOperacao)
            return &st;
    return nullptr;
}

constexpr unsigned kDdisComuns[] = {D_ISOXML_DDI_ESTADO_SECOES,     D_ISOXML_DDI_LARGURA_TRABALHO,
                                    D_ISOXML_DDI_VELOCIDADE,        D_ISOXML_DDI_AREA_TOTAL,
                                    D_ISOXML_DDI_DISTANCIA_EFETIVA, D_ISOXML_DDI_TEMPO_EFETIVO};

// A stage as the walk needs it.
struct ST_EtapaIsoxml
{
    ST_EventoConfig_v9 stConfig{};
    std::uint8_t ucOperacao = 0;
    ST_ImplementoIsoxml stImplemento;
};

bool FixaAlvo(const ST_EtapaIsoxml& st)
{
    return st.ucOperacao != D_ZAVORO_OPERACAO_ADUBACAO || st.stConfig.ucTipoTaxa == D_ZAVORO_TIPO_TAXA_FIXA;
}

double AlvoEtapa(const ST_EtapaIsoxml& st)
{
    if (st.ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO)
        return st.stConfig.usTaxaAplicacao1 * 1000.0;
    if (st.ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
        return st.stConfig.ulTaxaFixa1 * 100.0;
    return 0.0;
}

void AdicionarDdi(std::vector<unsigned>& v, unsigned uiDdi)
{
    if (uiDdi != 0 && std::find(v.begin(), v.end(), uiDdi) == v.end())
        v.push_back(uiDdi);
}

// First look: every stage block (the points skipped), what the time log and the document need.
bool Examinar(std::FILE* pf, ST_ArquivoIsoxml& stArquivo)
{
    const ST_EstruturaNavegacao& stEstrutura = stArquivo.stEstrutura;
    const unsigned short usVersao = stEstrutura.usVersaoArquivoEvento;
    if (std::fseek(pf, stEstrutura.lPrimeiraEtapa, SEEK_SET) != 0)
        return false;
    std::vector<unsigned> vDdis(std::begin(kDdisComuns), std::end(kDdisComuns));
    std::vector<unsigned> vTaxas, vAlvos, vTotais;
    bool bAlvosConhecidos = true;
    bool bImplementoComPontos = false;
    for (std::uint32_t e = 0; e < stEstrutura.stCabecalho.ulNumConfiguracoes; e++)
    {
        ST_EtapaIsoxml st;
        if (!zavoro_LerConfiguracaoEvento(pf, usVersao, &st.stConfig) ||
            st.stConfig.ulNumeroPontosRastro > D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO ||
            std::fseek(pf,
                       static_cast<long>(st.stConfig.ulNumeroPontosRastro) * zavoro_TamanhoPontoNVG(usVersao),
                       SEEK_CUR) != 0)
            return false;
        st.ucOperacao = zavoro_TraduzirOperacao(st.stConfig.ucOperacao, usVersao);
        // The device is the implement of the first stage that logged points (of the first stage when
        // none did); the time log takes each stage's own sections.
        if (e == 0 || (!bImplementoComPontos && st.stConfig.ulNumeroPontosRastro > 0))
        {
            bImplementoComPontos = st.stConfig.ulNumeroPontosRastro > 0;
            stArquivo.stConfig = st.stConfig;
            stArquivo.stImplemento = isoxml_Implemento(st.stConfig, st.ucOperacao, usVersao);
        }
        if (stArquivo.szCultura.empty())
            stArquivo.szCultura = zavoro_TextoCampo(st.stConfig.szCultura);
        if (st.ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO && usVersao >= 8)
            for (const ST_MemoriaProdutoPulv& stProduto : st.stConfig.stProdutoUtilizadoPulv)
            {
                std::string szNome = zavoro_TextoCampo(stProduto.ucNomeProduto);
                if (stProduto.ucFlagProdutoSelecionado != 0 && !szNome.empty() &&
                    std::find(stArquivo.vProdutos.begin(), stArquivo.vProdutos.end(), szNome) ==
                        stArquivo.vProdutos.end())
                    stArquivo.vProdutos.push_back(std::move(szNome));
            }
        const ST_Operacao* pstOp = Operacao(st.ucOperacao);
        if (pstOp == nullptr)
            continue;
        AdicionarDdi(vTotais, pstOp->uiTotal);
        if (usVersao < pstOp->usVersaoMinimaTaxa)
            continue;
        AdicionarDdi(vTaxas, pstOp->uiTaxa);
        if (pstOp->uiTaxaAlvo != 0)
        {
            bAlvosConhecidos = bAlvosConhecidos && FixaAlvo(st);
            AdicionarDdi(vAlvos, pstOp->uiTaxaAlvo);
        }
    }
    // A target is logged only when every stage that has one knows it (a variable-rate job does not).
    if (!bAlvosConhecidos)
        vAlvos.clear();
    for (const std::vector<unsigned>* pv : {&vTaxas, &vAlvos, &vTotais})
        for (unsigned uiDdi : *pv)
            AdicionarDdi(vDdis, uiDdi);
    stArquivo.stTarefa.vDdis = vDdis;
    stArquivo.vTotais.assign(vDdis.size(), 0.0);
    return true;
}

// The record layout: time (ms of the day, days since 1980), north and east (1e-7 degrees), position
// status, then the count of values and each value's index and value.
std::uint32_t TamanhoRegistro(std::size_t nDdis)
{
    return static_cast<std::uint32_t>(4 + 2 + 4 + 4 + 1 + 1 + nDdis * 5);
}

void Le16(std::string& sz, std::uint16_t us)
{
    sz += static_cast<char>(us & 0xFF);
    sz += static_cast<char>(us >> 8);
}

void Le32(std::string& sz, std::uint32_t ul)
{
    for (int i = 0; i < 4; i++)
        sz += static_cast<char>((ul >> (8 * i)) & 0xFF);
}

std::int32_t Int32(double d)
{
    if (!std::isfinite(d))
        return 0;
    return static_cast<std::int32_t>(
        std::clamp(std::llround(std::clamp(d, -3e9, 3e9)),
                   static_cast<long long>(std::numeric_limits<std::int32_t>::min()),
                   static_cast<long long>(std::numeric_limits<std::int32_t>::max())));
}

// Days since 1 January 1980 and milliseconds of the day of a console time.
void Tempo(std::uint32_t ulDataHora, std::uint16_t* pusDias, std::uint32_t* pulMs)
{
    long lDia, lMes, lAno, lHora, lMinuto, lSegundo;
    zavoro_CalcularDataHoraSegundos(ulDataHora, &lDia, &lMes, &lAno, &lHora, &lMinuto, &lSegundo);
    const std::chrono::year_month_day ymd{
        std::chrono::year(static_cast<int>(lAno + 2000)),
        std::chrono::month(static_cast<unsigned>(std::clamp(lMes, 1L, 12L))),
        std::chrono::day(static_cast<unsigned>(std::clamp(lDia, 1L, 31L)))};
    const std::chrono::sys_days dias{ymd};
    const long long llDias = (dias - std::chrono::sys_days{std::chrono::year(1980) / 1 / 1}).count();
    *pusDias = static_cast<std::uint16_t>(std::clamp(llDias, 0LL, 65535LL));
    *pulMs = static_cast<std::uint32_t>(
        std::clamp((lHora * 3600 + lMinuto * 60 + lSegundo) * 1000L, 0L, 86399999L));
}

// The 2-bit states of sections 1..16, section 1 lowest: on, off, or not there.
std::uint32_t EstadoSecoes(std::uint16_t usMascara, std::size_t nSecoes)
{
    std::uint32_t ul = 0;
    for (std::size_t s = 0; s < 16; s++)
    {
        const std::uint32_t ulEstado = s >= nSecoes ? 3u : ((usMascara >> s) & 1u);
        ul |= ulEstado << (2 * s);
    }
    return ul;
}

struct ST_Caminhada
{
    ST_ArquivoIsoxml* pstArquivo = nullptr;
    ST_ZipIsoxml* pstZip = nullptr;
    std::string szBloco;
    std::vector<double> vValores; // of the record being built, by DDI index
    bool bTemAnterior = false;
    ST_PontoNVG_v2 stAnterior{};
    double dDistanciaMm = 0.0;
    double dTempoS = 0.0;
};

std::size_t Indice(const ST_ArquivoIsoxml& stArquivo, unsigned uiDdi)
{
    const std::vector<unsigned>& v = stArquivo.stTarefa.vDdis;
    return static_cast<std::size_t>(std::find(v.begin(), v.end(), uiDdi) - v.begin());
}

void Definir(ST_Caminhada& stC, unsigned uiDdi, double dValor)
{
    const std::size_t i = Indice(*stC.pstArquivo, uiDdi);
    if (i < stC.vValores.size())
        stC.vValores[i] = dValor;
}

// The rate a point read: a twin-disc spreader logs one per section (the mean of the sections on,
// by width), everything else one.
double TaxaLida(const ST_PontoNVG_v2& stPonto, const ST_EtapaIsoxml& stEtapa, std::uint16_t usMascara)
{
    const std::vector<std::uint32_t>& vSecoes = stEtapa.stImplemento.vSecoesMm;
    if (stEtapa.ucOperacao != D_ZAVORO_OPERACAO_ADUBACAO || vSecoes.size() <= 1)
        return stPonto.usTaxaLida[0];
    double dSoma = 0.0, dLargura = 0.0;
    for (std::size_t s = 0; s < vSecoes.size() && s < std::size(stPonto.usTaxaLida); s++)
        if (usMascara & (1u << s))
        {
            dSoma += stPonto.usTaxaLida[s] * static_cast<double>(vSecoes[s]);
            dLargura += vSecoes[s];
        }
    return dLargura > 0.0 ? dSoma / dLargura : 0.0;
}

bool Registro(ST_Caminhada& stC, const ST_PontoNVG_v2& stPonto, const ST_EtapaIsoxml& stEtapa)
{
    ST_ArquivoIsoxml& stArquivo = *stC.pstArquivo;
    ST_TarefaIsoxml& stTarefa = stArquivo.stTarefa;
    const std::uint16_t usMascara = isoxml_MascaraSecoes(stPonto, stEtapa.ucOperacao);
    const std::vector<std::uint32_t>& vSecoes = stEtapa.stImplemento.vSecoesMm;

    // Work since the previous point counts when this one works.
    if (stC.bTemAnterior && usMascara != 0)
    {
        const float fDist =
            zavoro_CalcularDistancia2Pontos(stPonto.fLongitudeRelImp - stC.stAnterior.fLongitudeRelImp,
                                            stPonto.fLatitudeRelImp - stC.stAnterior.fLatitudeRelImp);
        const std::uint32_t ulDt = stPonto.ulSegundosDataHora - stC.stAnterior.ulSegundosDataHora;
        if (stPonto.ulSegundosDataHora >= stC.stAnterior.ulSegundosDataHora &&
            ulDt <= kMaximoIntervaloEfetivo)
        {
            if (std::isfinite(fDist))
                stC.dDistanciaMm += fDist * 1000.0;
            stC.dTempoS += ulDt;
        }
    }
    stC.bTemAnterior = true;
    stC.stAnterior = stPonto;

    double dLargura = 0.0;
    for (std::size_t s = 0; s < vSecoes.size() && s < 16; s++)
        if (usMascara & (1u << s))
            dLargura += vSecoes[s];
    // Logged as the 32 bits they are (a signed value in the record).
    Definir(stC, D_ISOXML_DDI_ESTADO_SECOES,
            static_cast<std::int32_t>(EstadoSecoes(usMascara, vSecoes.size())));
    Definir(stC, D_ISOXML_DDI_LARGURA_TRABALHO, dLargura);
    Definir(stC, D_ISOXML_DDI_VELOCIDADE, stPonto.ucVelocidade * (1000000.0 / 3600.0));
    Definir(stC, D_ISOXML_DDI_AREA_TOTAL, static_cast<double>(stPonto.fAreaCobertura) * 10000.0);
    Definir(stC, D_ISOXML_DDI_DISTANCIA_EFETIVA, stC.dDistanciaMm);
    Definir(stC, D_ISOXML_DDI_TEMPO_EFETIVO, stC.dTempoS);
    if (const ST_Operacao* pstOp = Operacao(stEtapa.ucOperacao))
    {
        Definir(stC, pstOp->uiTaxa, TaxaLida(stPonto, stEtapa, usMascara) * pstOp->dFatorTaxa);
        Definir(stC, pstOp->uiTaxaAlvo, AlvoEtapa(stEtapa));
        Definir(stC, pstOp->uiTotal,
                zavoro_CalcularQuantidadeAplicada(&stPonto, stEtapa.ucOperacao) * pstOp->dFatorTotal);
    }

    double dLat = 0.0, dLon = 0.0;
    const bool bPosicao = isoxml_PosicaoAbsoluta(stPonto.fLongitudeRelImp, stPonto.fLatitudeRelImp,
                                                 stArquivo.stEstrutura.stTalhao, &dLat, &dLon);
    std::uint16_t usDias = 0;
    std::uint32_t ulMs = 0;
    Tempo(stPonto.ulSegundosDataHora, &usDias, &ulMs);
    std::string& sz = stC.szBloco;
    Le32(sz, ulMs);
    Le16(sz, usDias);
    Le32(sz, static_cast<std::uint32_t>(bPosicao ? Int32(dLat * 1e7) : 0));
    Le32(sz, static_cast<std::uint32_t>(bPosicao ? Int32(dLon * 1e7) : 0));
    sz += static_cast<char>(!bPosicao || (stPonto.usTag & D_ZAVORO_TAG_SEM_SATELITES) ? kSemFix : kFixGnss);
    sz += static_cast<char>(stC.vValores.size());
    for (std::size_t i = 0; i < stC.vValores.size(); i++)
    {
        sz += static_cast<char>(i);
        const std::int32_t lValor = Int32(stC.vValores[i]);
        Le32(sz, static_cast<std::uint32_t>(lValor));
        stArquivo.vTotais[i] = lValor;
    }

    if (stTarefa.ulRegistros == 0)
    {
        stTarefa.ulInicio = stPonto.ulSegundosDataHora;
        stTarefa.dLatitudeInicial = bPosicao ? dLat : 0.0;
        stTarefa.dLongitudeInicial = bPosicao ? dLon : 0.0;
    }
    stTarefa.ulFim = stPonto.ulSegundosDataHora;
    stTarefa.dLatitudeFinal = bPosicao ? dLat : 0.0;
    stTarefa.dLongitudeFinal = bPosicao ? dLon : 0.0;
    stTarefa.ulRegistros++;
    if (sz.size() < kTamanhoBloco)
        return true;
    const bool bOk = isoxml_GravarEntrada(stC.pstZip, sz);
    sz.clear();
    return bOk;
}

// Second look: every point of every stage as one record of the open zip entry.
bool GravarTimeLog(std::FILE* pf, ST_ArquivoIsoxml& stArquivo, ST_ZipIsoxml* pstZip)
{
    const ST_EstruturaNavegacao& stEstrutura = stArquivo.stEstrutura;
    const unsigned short usVersao = stEstrutura.usVersaoArquivoEvento;
    if (std::fseek(pf, stEstrutura.lPrimeiraEtapa, SEEK_SET) != 0)
        return false;
    ST_Caminhada stC;
    stC.pstArquivo = &stArquivo;
    stC.pstZip = pstZip;
    stC.vValores.assign(stArquivo.stTarefa.vDdis.size(), 0.0);
    stC.szBloco.reserve(kTamanhoBloco + 1024);
    for (std::uint32_t e = 0; e < stEstrutura.stCabecalho.ulNumConfiguracoes; e++)
    {
        ST_EtapaIsoxml stEtapa;
        if (!zavoro_LerConfiguracaoEvento(pf, usVersao, &stEtapa.stConfig) ||
            stEtapa.stConfig.ulNumeroPontosRastro > D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO)
            return false;
        stEtapa.ucOperacao = zavoro_TraduzirOperacao(stEtapa.stConfig.ucOperacao, usVersao);
        stEtapa.stImplemento = isoxml_Implemento(stEtapa.stConfig, stEtapa.ucOperacao, usVersao);
        // Rates belong to their stage; totals carry on.
        for (const ST_Operacao& stOp : kOperacoes)
        {
            Definir(stC, stOp.uiTaxa, 0.0);
            Definir(stC, stOp.uiTaxaAlvo, 0.0);
        }
        ST_LeitorPontosNVG stLeitor;
        zavoro_IniciarLeitorPontos(&stLeitor, pf, usVersao, stEtapa.stConfig.ulNumeroPontosRastro);
        for (std::uint32_t i = 0; i < stEtapa.stConfig.ulNumeroPontosRastro; i++)
        {
            ST_PontoNVG_v2 stPonto{};
            if (!zavoro_LerProximoPonto(&stLeitor, &stPonto) || !Registro(stC, stPonto, stEtapa))
                return false;
        }
    }
    return stC.szBloco.empty() || isoxml_GravarEntrada(pstZip, stC.szBloco);
}

std::string NomeTimeLog(int iIndice)
{
    char c[16];
    std::snprintf(c, sizeof c, "TLG%05d", iIndice % 100000);
    return c;
}

void Motivo(ST_ResultadoIsoxml* pst, std::string sz)
{
    if (pst->szMotivo.empty())
        pst->szMotivo = std::move(sz);
}
} // namespace

std::string isoxml_NomeSaida(const std::string& szArquivoNavegacao)
{
    std::filesystem::path caminho(szArquivoNavegacao);
    caminho.replace_extension();
    return caminho.string() + D_ISOXML_SUFIXO;
}

BOOL isoxml_ExportarArquivos(const std::vector<std::string>& vArquivos, const std::string& szDestino,
                             const ST_OpcoesIsoxml& stOpcoes, ST_ResultadoIsoxml* pstResultado)
{
    return isoxml_ExportarSemValidar(vArquivos, szDestino, stOpcoes, pstResultado, true) ? TRUE : FALSE;
}

BOOL isoxml_ExportarArquivo(const std::string& szArquivo, const ST_OpcoesIsoxml& stOpcoes,
                            ST_ResultadoIsoxml* pstResultado, const std::string& szDestino)
{
    return isoxml_ExportarArquivos({szArquivo}, szDestino.empty() ? isoxml_NomeSaida(szArquivo) : szDestino,
                                   stOpcoes, pstResultado);
}

bool isoxml_ExportarSemValidar(const std::vector<std::string>& vArquivos, const std::string& szDestino,
                               const ST_OpcoesIsoxml& stOpcoes, ST_ResultadoIsoxml* pstResultado,
                               bool bValidar)
{
    ST_ResultadoIsoxml& stResultado = *pstResultado;
    stResultado = ST_ResultadoIsoxml{};
    const int iVersao = stOpcoes.iVersao == 3 ? 3 : 4;
    if (vArquivos.empty())
    {
        Motivo(&stResultado, "nenhum arquivo de navegação");
        return false;
    }
    // Every file is checked before the output is touched.
    if (bValidar)
        for (const std::string& szArquivo : vArquivos)
        {
            ST_DiagnosticoValidacao stDiagnostico;
            if (!zavoro_DiagnosticarArquivoNavegacao(szArquivo.c_str(), &stDiagnostico))
            {
                Motivo(&stResultado,
                       szArquivo + ": arquivo inválido: " + zavoro_DescreverDiagnostico(stDiagnostico));
                return false;
            }
        }

    ST_ArquivoSaida stSaida;
    std::string szErro;
    if (!funcAux_AbrirArquivoSaida(szDestino, &stSaida, &szErro))
    {
        Motivo(&stResultado, szErro);
        return false;
    }
    ST_ZipIsoxml stZip;
    std::vector<ST_XmlArquivoIsoxml> vXml;
    ST_NumeracaoIsoxml stIds;
    std::vector<char> vBuffer(D_FUNCAUX_TAMANHO_BUFFER_LEITURA);
    bool bOk = true;
    std::uint32_t ulDet = 1;
    for (std::size_t k = 0; bOk && k < vArquivos.size(); k++)
    {
        const std::string& szArquivo = vArquivos[k];
        std::string szMotivo;
        FuncAux_ArquivoLeitura pf = funcAux_AbrirLeitura(szArquivo.c_str(), &szMotivo, vBuffer);
        ST_ArquivoIsoxml stArquivo;
        stArquivo.iIndice = static_cast<int>(k + 1);
        if (!pf || !zavoro_PercorrerEstrutura(pf.get(), &stArquivo.stEstrutura, &szMotivo) ||
            !Examinar(pf.get(), stArquivo))
        {
            Motivo(&stResultado, szArquivo + ": " + (szMotivo.empty() ? "etapas ilegíveis" : szMotivo));
            bOk = false;
            break;
        }
        if (k == 0 && !isoxml_AbrirZip(stSaida.pfArquivo,
                                       stArquivo.stEstrutura.stCabecalho.ulDataHoraFimEvento, &stZip))
        {
            bOk = false;
            break;
        }
        stArquivo.ulDetDispositivo = ulDet;
        ulDet += 1 + static_cast<std::uint32_t>(stArquivo.stImplemento.vSecoesMm.size());
        ST_TarefaIsoxml& stTarefa = stArquivo.stTarefa;
        stTarefa.szArquivo = szArquivo;
        stTarefa.szTimeLog = NomeTimeLog(stArquivo.iIndice);
        stTarefa.ulTamanhoRegistro = TamanhoRegistro(stTarefa.vDdis.size());
        const std::string szTimeLog = kPasta + stTarefa.szTimeLog;
        bOk = isoxml_IniciarEntrada(&stZip, szTimeLog + ".BIN");
        if (bOk && !GravarTimeLog(pf.get(), stArquivo, &stZip))
        {
            Motivo(&stResultado, szArquivo + ": pontos do trajeto ilegíveis");
            bOk = false;
        }
        bOk = bOk && isoxml_ConcluirEntrada(&stZip) && isoxml_IniciarEntrada(&stZip, szTimeLog + ".XML") &&
              isoxml_GravarEntrada(&stZip, isoxml_XmlCabecalhoTimeLog(stArquivo, iVersao)) &&
              isoxml_ConcluirEntrada(&stZip);
        if (bOk && !isoxml_XmlArquivo(pf.get(), stArquivo, iVersao, stIds, &vXml.emplace_back()))
        {
            Motivo(&stResultado, szArquivo + ": guias ou limites ilegíveis");
            bOk = false;
        }
        stTarefa.dAreaTotal =
            stArquivo
                .vTotais[std::find(stTarefa.vDdis.begin(), stTarefa.vDdis.end(), D_ISOXML_DDI_AREA_TOTAL) -
                         stTarefa.vDdis.begin()];
        for (std::size_t i = 0; i < stTarefa.vDdis.size(); i++)
            for (const ST_Operacao& stOp : kOperacoes)
                if (stTarefa.vDdis[i] == stOp.uiTotal)
                    stTarefa.dQuantidadeTotal = stArquivo.vTotais[i] / stOp.dFatorTotal;
        stResultado.vTarefas.push_back(stTarefa);
    }
    bOk = bOk && isoxml_IniciarEntrada(&stZip, std::string(kPasta) + "TASKDATA.XML") &&
          isoxml_GravarEntrada(&stZip, isoxml_XmlDocumento(vXml, iVersao)) && isoxml_ConcluirEntrada(&stZip);
    if (stZip.pZip != nullptr)
        bOk = isoxml_FecharZip(&stZip, bOk);
    if (!stZip.szErro.empty())
        Motivo(&stResultado, szDestino + ": " + stZip.szErro);
    if (bOk && funcAux_ConcluirArquivoSaida(&stSaida, &szErro))
    {
        stResultado.szSaida = szDestino;
        return true;
    }
    Motivo(&stResultado, szErro.empty() ? szDestino + ": erro de gravação" : szErro);
    funcAux_DescartarArquivoSaida(&stSaida);
    stResultado.vTarefas.clear();
    return false;
}
