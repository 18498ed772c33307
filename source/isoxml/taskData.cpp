// TASKDATA.XML and the time log headers. Element and attribute names are the format's short codes
// (PFD A = identifier, C = designator...); every text from a file goes through the XML escaping of
// attribute values; numbers are written without the process locale.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "isoxml/taskData.h"
#include "zavoro/cobertura.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/versao.h"

namespace
{
// Object numbers inside the device: the implement, its sections after it, process data and
// properties in ranges of their own.
constexpr int kObjetoImplemento = 1;
constexpr int kPrimeiroObjetoDpd = 100;
constexpr int kPrimeiroObjetoDpt = 200;
// Points of a curve guide that are neither its first nor its last.
constexpr const char* kPontoGuia = "9";

struct ST_DescricaoDdi
{
    unsigned uiDdi;
    const char* pcNome;
    bool bTotal; // a running total, logged as such
};

constexpr ST_DescricaoDdi kDdis[] = {
    {D_ISOXML_DDI_TAXA_VOLUME_ALVO, "Taxa alvo (volume)", false},
    {D_ISOXML_DDI_TAXA_VOLUME, "Taxa aplicada (volume)", false},
    {D_ISOXML_DDI_TAXA_MASSA_ALVO, "Taxa alvo (massa)", false},
    {D_ISOXML_DDI_TAXA_MASSA, "Taxa aplicada (massa)", false},
    {D_ISOXML_DDI_TAXA_CONTAGEM, "Taxa aplicada (sementes)", false},
    {D_ISOXML_DDI_LARGURA_TRABALHO, "Largura de trabalho", false},
    {D_ISOXML_DDI_VOLUME_TOTAL, "Volume aplicado", true},
    {D_ISOXML_DDI_MASSA_TOTAL, "Massa aplicada", true},
    {D_ISOXML_DDI_CONTAGEM_TOTAL, "Sementes aplicadas", true},
    {D_ISOXML_DDI_PRODUTIVIDADE_MASSA, "Produtividade", false},
    {D_ISOXML_DDI_COLHEITA_MASSA_TOTAL, "Massa colhida", true},
    {D_ISOXML_DDI_AREA_TOTAL, "Área total", true},
    {D_ISOXML_DDI_DISTANCIA_EFETIVA, "Distância efetiva", true},
    {D_ISOXML_DDI_TEMPO_EFETIVO, "Tempo efetivo", true},
    {D_ISOXML_DDI_ESTADO_SECOES, "Estado das seções", false},
    {D_ISOXML_DDI_VELOCIDADE, "Velocidade", false},
};

const ST_DescricaoDdi& Descricao(unsigned uiDdi)
{
    for (const ST_DescricaoDdi& st : kDdis)
        if (st.uiDdi == uiDdi)
            return st;
    return kDdis[0];
}

std::string Ddi(unsigned uiDdi)
{
    char c[8];
    std::snprintf(c, sizeof c, "%04X", uiDdi & 0xFFFFu);
    return c;
}

std::string Decimal(double d, int iCasas)
{
    char c[64];
    const auto r = std::to_chars(c, c + sizeof c, d, std::chars_format::fixed, iCasas);
    return std::string(c, r.ptr);
}

std::string Inteiro(long long ll)
{
    return std::to_string(ll);
}

std::string Id(const char* pcTag, long long llNumero)
{
    return std::string(pcTag) + "-" + Inteiro(llNumero);
}

// Builds one element: <TAG A="..." B="...">; attributes with an empty value are left out unless
// asked for (a time log header marks its logged fields with empty values).
class Elemento
{
public:
    Elemento(std::string& sz, const char* pcTag) : m_sz(sz), m_pcTag(pcTag)
    {
        m_sz += '<';
        m_sz += pcTag;
    }
    Elemento& A(const char* pcNome, std::string_view szValor, bool bVazio = false)
    {
        if (szValor.empty() && !bVazio)
            return *this;
        m_sz += ' ';
        m_sz += pcNome;
        m_sz += "=\"";
        m_sz += funcAux_EscaparXml(szValor, D_FUNCAUX_XML_ATRIBUTO);
        m_sz += '"';
        return *this;
    }
    // Ends the element here, with no children.
    void Vazio() { m_sz += "/>\n"; }
    // Opens it for children; Fechar() ends it.
    void Filhos() { m_sz += ">\n"; }
    void Fechar()
    {
        m_sz += "</";
        m_sz += m_pcTag;
        m_sz += ">\n";
    }

private:
    std::string& m_sz;
    const char* m_pcTag;
};

void Ponto(std::string& sz, const char* pcTipo, double dLat, double dLon)
{
    Elemento(sz, "PNT").A("A", pcTipo).A("C", Decimal(dLat, 9)).A("D", Decimal(dLon, 9)).Vazio();
}

// Every vertex a position the format can hold.
bool Valida(const std::vector<ST_CoordenadaKml>& v)
{
    return std::all_of(v.begin(), v.end(), [](const ST_CoordenadaKml& st) {
        return std::isfinite(st.dLatitude) && std::isfinite(st.dLongitude) && std::abs(st.dLatitude) <= 90.0 &&
               std::abs(st.dLongitude) <= 180.0;
    });
}

// Shoelace area in square metres on a local plane.
double AreaM2(const std::vector<ST_CoordenadaKml>& v)
{
    const double dMetrosGrau = D_ZAVORO_TERRA_RAIO_EQUADOR * D_ZAVORO_PI / 180.0;
    const double dCosLat = std::cos(v[0].dLatitude * D_ZAVORO_PI / 180.0);
    double dSoma = 0.0;
    for (std::size_t i = 0; i < v.size(); i++)
    {
        const ST_CoordenadaKml& a = v[i];
        const ST_CoordenadaKml& b = v[(i + 1) % v.size()];
        dSoma += a.dLongitude * b.dLatitude - b.dLongitude * a.dLatitude;
    }
    return std::abs(dSoma) / 2.0 * dMetrosGrau * dMetrosGrau * dCosLat;
}

std::uint32_t M2(double d)
{
    return std::isfinite(d) && d > 0.0 ? static_cast<std::uint32_t>(std::min(d, 4294967294.0)) : 0;
}

// Boundaries: one partfield boundary polygon each, closed, with their area.
bool Limites(std::FILE* pf, const ST_ArquivoIsoxml& stArquivo, int iVersao, ST_NumeracaoIsoxml& stIds, std::string& sz,
             double* pdArea)
{
    return cobertura_LerLimites(pf, stArquivo.stEstrutura, [&](const ST_LinhaNavegacao& stLinha) {
        const std::vector<ST_CoordenadaKml>& v = stLinha.vPontos;
        if (v.size() < 3 || !Valida(v))
            return true;
        const double dArea = AreaM2(v);
        *pdArea += dArea;
        Elemento pln(sz, "PLN");
        pln.A("A", "1").A("B", "Limite " + Inteiro(stLinha.iNumero)).A("C", Inteiro(M2(dArea)));
        if (iVersao >= 4)
            pln.A("E", Id("PLN", ++stIds.iPln));
        pln.Filhos();
        Elemento lsg(sz, "LSG");
        lsg.A("A", "1");
        if (iVersao >= 4)
            lsg.A("F", Id("LSG", ++stIds.iLsg));
        lsg.Filhos();
        for (const ST_CoordenadaKml& st : v)
            Ponto(sz, "2", st.dLatitude, st.dLongitude);
        Ponto(sz, "2", v.front().dLatitude, v.front().dLongitude);
        lsg.Fechar();
        pln.Fechar();
        return true;
    }) != FALSE;
}

// One guidance pattern: straight A-B (type 1) or curve (type 3), its line of reference points.
void Padrao(std::string& sz, ST_NumeracaoIsoxml& stIds, const std::string& szNome, bool bCurva,
            const std::vector<ST_CoordenadaKml>& v)
{
    Elemento gpn(sz, "GPN");
    gpn.A("A", Id("GPN", ++stIds.iGpn)).A("B", szNome).A("C", bCurva ? "3" : "1").Filhos();
    Elemento lsg(sz, "LSG");
    lsg.A("A", "5").Filhos();
    for (std::size_t i = 0; i < v.size(); i++)
        Ponto(sz, i == 0 ? "6" : i + 1 == v.size() ? "7" : kPontoGuia, v[i].dLatitude, v[i].dLongitude);
    lsg.Fechar();
    gpn.Fechar();
}

// Guides whose A and B were marked, as one guidance group each with its lines.
bool Guias(std::FILE* pf, const ST_ArquivoIsoxml& stArquivo, ST_NumeracaoIsoxml& stIds, std::string& sz)
{
    int iGuia = 0;
    std::string szPadroes;
    auto Grupo = [&] {
        if (szPadroes.empty())
            return;
        Elemento ggp(sz, "GGP");
        ggp.A("A", Id("GGP", ++stIds.iGgp)).A("B", "Guia " + Inteiro(iGuia)).Filhos();
        sz += szPadroes;
        ggp.Fechar();
        szPadroes.clear();
    };
    const BOOL bOk = cobertura_LerGuias(pf, stArquivo.stEstrutura, [&](const ST_LinhaNavegacao& stLinha) {
        if (stLinha.iNumero != iGuia)
        {
            Grupo();
            iGuia = stLinha.iNumero;
        }
        if (stLinha.vPontos.size() >= 2 && Valida(stLinha.vPontos))
            Padrao(szPadroes, stIds,
                   "Guia " + Inteiro(iGuia) +
                       (stLinha.iCurva == 0 ? std::string(" (A-B)") : " (curva " + Inteiro(stLinha.iCurva) + ")"),
                   stLinha.iCurva != 0, stLinha.vPontos);
        return true;
    });
    Grupo();
    return bOk != FALSE;
}

// A NAME for the device: self-configurable, agricultural, with the console's serial number as its
// identity, so that two consoles never share one.
std::string NomeCliente(const ST_ArquivoIsoxml& stArquivo)
{
    const std::uint64_t ullNome =
        (1ull << 63) | (2ull << 60) | (stArquivo.stConfig.ulNumeroSerial & 0x1FFFFFu);
    char c[20];
    std::snprintf(c, sizeof c, "%016llX", static_cast<unsigned long long>(ullNome));
    return c;
}

void Dispositivo(const ST_ArquivoIsoxml& stArquivo, std::string& sz)
{
    const ST_ImplementoIsoxml& stImpl = stArquivo.stImplemento;
    const std::vector<unsigned>& vDdis = stArquivo.stTarefa.vDdis;
    Elemento dvc(sz, "DVC");
    dvc.A("A", Id("DVC", stArquivo.iIndice))
        .A("B", stImpl.szMaquina.empty() ? std::string("Implemento") : stImpl.szMaquina)
        .A("C",
           stArquivo.stConfig.ulVersaoAplicativo != 0 ? Inteiro(stArquivo.stConfig.ulVersaoAplicativo) : "")
        .A("D", NomeCliente(stArquivo))
        .A("E", stArquivo.stConfig.ulNumeroSerial != 0 ? Inteiro(stArquivo.stConfig.ulNumeroSerial) : "")
        // Structure label: changes when the layout does (the section count); localization: Portuguese.
        .A("F", "5A56" + Ddi(static_cast<unsigned>(stImpl.vSecoesMm.size())) + "000000")
        .A("G", "7074000000FFFF")
        .Filhos();

    // The implement: its process data and its full width.
    Elemento det(sz, "DET");
    det.A("A", Id("DET", stArquivo.ulDetDispositivo))
        .A("B", Inteiro(kObjetoImplemento))
        .A("C", "1")
        .A("D", stImpl.szMaquina.empty() ? std::string("Implemento") : stImpl.szMaquina)
        .A("E", "0")
        .A("F", "0")
        .Filhos();
    for (std::size_t i = 0; i < vDdis.size(); i++)
        Elemento(sz, "DOR").A("A", Inteiro(kPrimeiroObjetoDpd + static_cast<long long>(i))).Vazio();
    Elemento(sz, "DOR").A("A", Inteiro(kPrimeiroObjetoDpt)).Vazio();
    det.Fechar();

    // Sections left to right: Y offset of each centre from the implement's centre (positive right).
    std::int64_t llEsquerda = -static_cast<std::int64_t>(stImpl.ulLarguraMm) / 2;
    for (std::size_t s = 0; s < stImpl.vSecoesMm.size(); s++)
    {
        const long long llObjeto = kObjetoImplemento + 1 + static_cast<long long>(s);
        Elemento sec(sz, "DET");
        sec.A("A", Id("DET", stArquivo.ulDetDispositivo + 1 + static_cast<std::uint32_t>(s)))
            .A("B", Inteiro(llObjeto))
            .A("C", "4")
            .A("D", "Seção " + Inteiro(static_cast<long long>(s + 1)))
            .A("E", Inteiro(static_cast<long long>(s + 1)))
            .A("F", Inteiro(kObjetoImplemento))
            .Filhos();
        for (int k = 0; k < 3; k++)
            Elemento(sz, "DOR")
                .A("A", Inteiro(kPrimeiroObjetoDpt + 1 + 3 * static_cast<long long>(s) + k))
                .Vazio();
        sec.Fechar();
    }

    for (std::size_t i = 0; i < vDdis.size(); i++)
    {
        const ST_DescricaoDdi& stDdi = Descricao(vDdis[i]);
        Elemento(sz, "DPD")
            .A("A", Inteiro(kPrimeiroObjetoDpd + static_cast<long long>(i)))
            .A("B", Ddi(vDdis[i]))
            .A("C", "1")                       // member of the default set
            .A("D", stDdi.bTotal ? "16" : "1") // totals, or logged in time
            .A("E", stDdi.pcNome)
            .Vazio();
    }
    Elemento(sz, "DPT")
        .A("A", Inteiro(kPrimeiroObjetoDpt))
        .A("B", Ddi(D_ISOXML_DDI_LARGURA_MAXIMA))
        .A("C", Inteiro(stImpl.ulLarguraMm))
        .A("D", "Largura do implemento")
        .Vazio();
    for (std::size_t s = 0; s < stImpl.vSecoesMm.size(); s++)
    {
        const long long llBase = kPrimeiroObjetoDpt + 1 + 3 * static_cast<long long>(s);
        const std::int64_t llCentro = llEsquerda + stImpl.vSecoesMm[s] / 2;
        llEsquerda += stImpl.vSecoesMm[s];
        Elemento(sz, "DPT")
            .A("A", Inteiro(llBase))
            .A("B", Ddi(D_ISOXML_DDI_DESLOCAMENTO_X))
            .A("C", "0")
            .A("D", "Deslocamento X")
            .Vazio();
        Elemento(sz, "DPT")
            .A("A", Inteiro(llBase + 1))
            .A("B", Ddi(D_ISOXML_DDI_DESLOCAMENTO_Y))
            .A("C", Inteiro(llCentro))
            .A("D", "Deslocamento Y")
            .Vazio();
        Elemento(sz, "DPT")
            .A("A", Inteiro(llBase + 2))
            .A("B", Ddi(D_ISOXML_DDI_LARGURA_TRABALHO))
            .A("C", Inteiro(stImpl.vSecoesMm[s]))
            .A("D", "Largura da seção")
            .Vazio();
    }
    dvc.Fechar();
}

void Tarefa(const ST_ArquivoIsoxml& stArquivo, std::string& sz)
{
    const ST_TarefaIsoxml& stTarefa = stArquivo.stTarefa;
    const ST_EventoCabecalho& stCabecalho = stArquivo.stEstrutura.stCabecalho;
    std::string szNome = zavoro_TextoCampo(stCabecalho.szNomeEvento);
    if (szNome.empty())
        szNome = "Evento " + Inteiro(stArquivo.iIndice);
    Elemento tsk(sz, "TSK");
    tsk.A("A", Id("TSK", stArquivo.iIndice))
        .A("B", szNome)
        .A("C", "CTR-1")
        .A("D", "FRM-1")
        .A("E", Id("PFD", stArquivo.iIndice))
        .A("G", "4")
        .Filhos();
    const std::uint32_t ulInicio =
        stTarefa.ulInicio != 0 ? stTarefa.ulInicio : stCabecalho.ulDataHoraInicioEvento;
    const std::uint32_t ulFim = std::max(stTarefa.ulFim, ulInicio);
    // The job's effective time with its totals as the last record has them.
    Elemento tim(sz, "TIM");
    tim.A("A", isoxml_TextoDataHora(ulInicio)).A("B", isoxml_TextoDataHora(ulFim)).A("D", "4").Filhos();
    for (std::size_t i = 0; i < stTarefa.vDdis.size(); i++)
        if (Descricao(stTarefa.vDdis[i]).bTotal)
            Elemento(sz, "DLV")
                .A("A", Ddi(stTarefa.vDdis[i]))
                .A("B", Inteiro(std::llround(stArquivo.vTotais[i])))
                .A("C", Id("DET", stArquivo.ulDetDispositivo))
                .Vazio();
    tim.Fechar();
    Elemento dan(sz, "DAN");
    dan.A("A", NomeCliente(stArquivo)).A("C", Id("DVC", stArquivo.iIndice)).Filhos();
    Elemento(sz, "ASP")
        .A("A", isoxml_TextoDataHora(ulInicio))
        .A("B", isoxml_TextoDataHora(ulFim))
        .A("D", "4")
        .Vazio();
    dan.Fechar();
    Elemento(sz, "TLG").A("A", stTarefa.szTimeLog).A("C", "1").Vazio();
    tsk.Fechar();
}
} // namespace

std::string isoxml_TextoDataHora(std::uint32_t ulDataHora)
{
    long lDia = 1, lMes = 1, lAno = 0, lHora = 0, lMinuto = 0, lSegundo = 0;
    if (ulDataHora != 0)
        zavoro_CalcularDataHoraSegundos(ulDataHora, &lDia, &lMes, &lAno, &lHora, &lMinuto, &lSegundo);
    char c[96];
    std::snprintf(c, sizeof c, "%04ld-%02ld-%02ldT%02ld:%02ld:%02ld", lAno + 2000, lMes, lDia, lHora, lMinuto,
                  lSegundo);
    return c;
}

bool isoxml_PosicaoAbsoluta(float fLonRel, float fLatRel, const ST_Talhao& stTalhao, double* pdLat,
                            double* pdLon)
{
    if (!std::isfinite(fLonRel) || !std::isfinite(fLatRel))
        return false;
    conversor_TransformarCoordenadasAbsolutas(fLatRel, fLonRel, pdLat, pdLon, stTalhao.dZeroRelativoLat,
                                              stTalhao.dZeroRelativoLon);
    return std::isfinite(*pdLat) && std::isfinite(*pdLon) && std::abs(*pdLat) <= 90.0 &&
           std::abs(*pdLon) <= 180.0;
}

ST_ImplementoIsoxml isoxml_Implemento(const ST_EventoConfig_v9& stConfig, std::uint8_t ucOperacao,
                                      unsigned short usVersaoArquivoEvento)
{
    ST_ImplementoIsoxml st;
    st.szMaquina = zavoro_TextoCampo(stConfig.szMaquina);
    // Blocks of version 5 on keep the width in metres; older ones in centimetres.
    const double dLargura = usVersaoArquivoEvento >= 5
                                ? static_cast<double>(stConfig.fLarguraImplemento) * 1000.0
                                : stConfig.usLarguraImplemento * 10.0;
    st.ulLarguraMm =
        std::isfinite(dLargura) && dLargura > 0.0 ? static_cast<std::uint32_t>(std::min(dLargura, 1e9)) : 0;
    int iSecoes = 0;
    const std::uint16_t* pusLarguras = stConfig.usTamanhoSeccao;
    if (ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO)
        iSecoes =
            std::min<int>(stConfig.ucNumeroSecoes, static_cast<int>(std::size(stConfig.usTamanhoSeccao)));
    else if (ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO &&
             (stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO ||
              stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_REBOCADO))
    {
        pusLarguras = stConfig.usTamanhoSecaoAdub;
        iSecoes = std::min<int>(stConfig.ucNumeroSecoesAdub,
                                static_cast<int>(std::size(stConfig.usTamanhoSecaoAdub)));
    }
    else if (ucOperacao == D_ZAVORO_OPERACAO_PLANTIO)
    {
        pusLarguras = stConfig.usTamanhoSeccaoPlantio;
        iSecoes = std::min<int>(stConfig.ucNumeroSecoesPlantio,
                                static_cast<int>(std::size(stConfig.usTamanhoSeccaoPlantio)));
    }
    std::uint32_t ulSoma = 0;
    for (int s = 0; s < iSecoes; s++)
    {
        st.vSecoesMm.push_back(pusLarguras[s] * 10u); // centimetres
        ulSoma += pusLarguras[s] * 10u;
    }
    // Without a section table the implement works as one section.
    if (st.vSecoesMm.empty())
        st.vSecoesMm.push_back(st.ulLarguraMm);
    else if (st.ulLarguraMm == 0)
        st.ulLarguraMm = ulSoma;
    return st;
}

std::uint16_t isoxml_MascaraSecoes(const ST_PontoNVG_v2& stPonto, std::uint8_t ucOperacao)
{
    return ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO ? static_cast<std::uint16_t>(stPonto.usSecoes & 0xFFu)
                                                    : stPonto.usSecoes;
}

std::string isoxml_XmlCabecalhoTimeLog(const ST_ArquivoIsoxml& stArquivo, int)
{
    std::string sz = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    Elemento tim(sz, "TIM");
    tim.A("A", "", true).A("D", "4").Filhos();
    Elemento(sz, "PTN").A("A", "", true).A("B", "", true).A("D", "", true).Vazio();
    for (unsigned uiDdi : stArquivo.stTarefa.vDdis)
        Elemento(sz, "DLV")
            .A("A", Ddi(uiDdi))
            .A("B", "", true)
            .A("C", Id("DET", stArquivo.ulDetDispositivo))
            .Vazio();
    tim.Fechar();
    return sz;
}

bool isoxml_XmlArquivo(std::FILE* pf, ST_ArquivoIsoxml& stArquivo, int iVersao, ST_NumeracaoIsoxml& stIds,
                       ST_XmlArquivoIsoxml* pstXml)
{
    if (!stArquivo.szCultura.empty())
        Elemento(pstXml->szCultura, "CTP")
            .A("A", Id("CTP", stArquivo.iIndice))
            .A("B", stArquivo.szCultura)
            .Vazio();
    for (std::size_t i = 0; i < stArquivo.vProdutos.size(); i++)
    {
        Elemento pdt(pstXml->szProdutos, "PDT");
        pdt.A("A", Id("PDT", ++stIds.iPdt)).A("B", stArquivo.vProdutos[i]);
        if (iVersao >= 4)
            pdt.A("F", "1"); // a single product
        pdt.Vazio();
    }
    Dispositivo(stArquivo, pstXml->szDispositivo);

    std::string szFilhos;
    double dArea = 0.0;
    if (!Limites(pf, stArquivo, iVersao, stIds, szFilhos, &dArea) ||
        (iVersao >= 4 && !Guias(pf, stArquivo, stIds, szFilhos)))
        return false;
    std::string szNome = zavoro_TextoCampo(stArquivo.stEstrutura.stTalhao.szNomeTalhao);
    if (szNome.empty())
        szNome = "Talhão " + Inteiro(stArquivo.iIndice);
    Elemento pfd(pstXml->szTalhao, "PFD");
    pfd.A("A", Id("PFD", stArquivo.iIndice))
        .A("C", szNome)
        .A("D", Inteiro(M2(dArea)))
        .A("E", "CTR-1")
        .A("F", "FRM-1");
    if (!stArquivo.szCultura.empty())
        pfd.A("G", Id("CTP", stArquivo.iIndice));
    if (szFilhos.empty())
        pfd.Vazio();
    else
    {
        pfd.Filhos();
        pstXml->szTalhao += szFilhos;
        pfd.Fechar();
    }
    Tarefa(stArquivo, pstXml->szTarefa);
    return true;
}

std::string isoxml_XmlDocumento(const std::vector<ST_XmlArquivoIsoxml>& vArquivos, int iVersao)
{
    std::string sz = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    Elemento raiz(sz, "ISO11783_TaskData");
    raiz.A("VersionMajor", Inteiro(iVersao))
        .A("VersionMinor", "3")
        .A("ManagementSoftwareManufacturer", "Quibar Zavoro")
        .A("ManagementSoftwareVersion", D_ZAVORO_VERSAO_EXIBIDA)
        .A("TaskControllerManufacturer", "Zavoro")
        .A("DataTransferOrigin", "2") // written from the machine's records
        .Filhos();
    for (const ST_XmlArquivoIsoxml& st : vArquivos)
        sz += st.szCultura;
    Elemento(sz, "CTR").A("A", "CTR-1").A("B", "Cliente").Vazio();
    for (const ST_XmlArquivoIsoxml& st : vArquivos)
        sz += st.szDispositivo;
    Elemento(sz, "FRM").A("A", "FRM-1").A("B", "Fazenda").A("I", "CTR-1").Vazio();
    for (const ST_XmlArquivoIsoxml& st : vArquivos)
        sz += st.szTalhao;
    for (const ST_XmlArquivoIsoxml& st : vArquivos)
        sz += st.szProdutos;
    for (const ST_XmlArquivoIsoxml& st : vArquivos)
        sz += st.szTarefa;
    raiz.Fechar();
    return sz;
}
