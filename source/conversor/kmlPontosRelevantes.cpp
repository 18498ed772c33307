// The "Pontos Relevantes" folder of a KML map: a flag at the start of every stage with the stage's
// totals and settings, and the marks of pauses, stops, power returns and implement temperatures.
//
// One pass over the stages and their points, streamed: memory does not grow with the point count.
// Every placemark is composed in a string and written with one write; temperature marks, which a
// track may hold on every point, a batch of them at a time.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "conversor/kml.h"
#include "conversor/textoSaida.h"
#include "zavoro/cobertura.h"
#include "zavoro/pontosRelevantes.h"
#include "zavoro/zavoro.h"

namespace
{

constexpr std::string_view kAberturaMarca =
    "<Placemark><visibility>1</visibility><name></name><description>\n";

// Event totals at the edges of the stage being written; stage 0 resets them and each later stage
// starts where the previous one ended.
struct ST_TotaisEtapaKml
{
    float fAreaCoberturaParcialInicial = 0.0f;
    float fAreaCoberturaParcialFinal = 0.0f;
    std::uint32_t ulVolumeAplicadoParcialInicial = 0;
    std::uint32_t ulVolumeAplicadoParcialFinal = 0;
};

// A point's place in degrees, written at pc (room for D_CONVERSOR_TAMANHO_MAXIMO_COORDENADA_KML bytes).
char* EscreverCoordenada(char* pc, const ST_PontoNVG_v2* pstPontoNVG, double dZeroRelativoLat,
                         double dZeroRelativoLon)
{
    double dLatitude = 0.0;
    double dLongitude = 0.0;
    conversor_TransformarCoordenadasAbsolutas(pstPontoNVG->fLatitudeRelImp, pstPontoNVG->fLongitudeRelImp, &dLatitude,
                                              &dLongitude, dZeroRelativoLat, dZeroRelativoLon);
    return conversor_EscreverCoordenadaKml(pc, dLongitude, dLatitude);
}

void AnexarCoordenada(std::string& szTexto, const ST_PontoNVG_v2* pstPontoNVG, double dZeroRelativoLat,
                      double dZeroRelativoLon)
{
    char cBuf[D_CONVERSOR_TAMANHO_MAXIMO_COORDENADA_KML];
    szTexto.append(cBuf,
                   static_cast<std::size_t>(
                       EscreverCoordenada(cBuf, pstPontoNVG, dZeroRelativoLat, dZeroRelativoLon) - cBuf));
}

constexpr std::string_view kFimMarca = "\n</coordinates>\n</Point>\n</Placemark>\n";

// The end of a mark's description and its style, up to its coordinates.
void AnexarEtapaEstilo(std::string& szTexto, std::string_view szEstilo, int iConfig)
{
    szTexto += "Etapa de navegação: ";
    conversor_AnexarInteiro(szTexto, iConfig + 1);
    szTexto += "<br/>\n</description><styleUrl>";
    szTexto += szEstilo;
    szTexto += "\n</styleUrl><Point><coordinates>\n";
}

// Closes a mark's description, names its style and places it.
void AnexarFimMarca(std::string& szTexto, std::string_view szEstilo, const ST_PontoNVG_v2* pstPontoNVG,
                    int iConfig, double dZeroRelativoLat, double dZeroRelativoLon)
{
    AnexarEtapaEstilo(szTexto, szEstilo, iConfig);
    AnexarCoordenada(szTexto, pstPontoNVG, dZeroRelativoLat, dZeroRelativoLon);
    szTexto += kFimMarca;
}

// Temperature marks are written a batch (D_CONVERSOR_TAMANHO_LOTE) at a time. The batch's room is
// taken once, with space for the mark that fills it.
constexpr std::size_t kFolgaLote = 1 << 12;

// What the temperature marks reuse: a track may hold one on every point, and from one to the next
// mostly the place changes. The text before the coordinates is composed again only when one of its
// inputs changes: whole for a new kind, stage or minute (the date shows minutes), from the reading on
// for a new reading.
struct ST_MarcasTemperatura
{
    std::vector<char> vLote = std::vector<char>(D_CONVERSOR_TAMANHO_LOTE + kFolgaLote);
    std::size_t nLote = 0;         // bytes of marks not yet written, fewer than D_CONVERSOR_TAMANHO_LOTE
    std::string szInicio;          // the mark up to its coordinates
    std::size_t nAntesLeitura = 0; // where the reading starts in szInicio
    std::string szDepoisLeitura;   // what follows it there
    std::size_t nMaximoMarca = 0;  // the most bytes a mark with this start takes
    BOOL bExcedida = FALSE;
    std::uint32_t ulMinutoData = 0;
    std::uint32_t ulBitsTemperatura = 0;
    int iConfig = -1; // no start composed yet
};

// Writes the temperature marks kept, before anything else is written to the folder.
void GravarMarcasTemperatura(std::FILE* pfArquivoEscrita, ST_MarcasTemperatura& stMarcas)
{
    if (stMarcas.nLote == 0)
        return;
    conversor_GravarBytes(pfArquivoEscrita, std::string_view(stMarcas.vLote.data(), stMarcas.nLote));
    stMarcas.nLote = 0;
}

void ComporLeituraTemperatura(ST_MarcasTemperatura& stMarcas, float fTemperatura)
{
    stMarcas.szInicio.resize(stMarcas.nAntesLeitura);
    conversor_AnexarReal(stMarcas.szInicio, fTemperatura, 2, FALSE);
    stMarcas.szInicio += stMarcas.szDepoisLeitura;
    stMarcas.nMaximoMarca =
        stMarcas.szInicio.size() + D_CONVERSOR_TAMANHO_MAXIMO_COORDENADA_KML + kFimMarca.size();
    stMarcas.ulBitsTemperatura = std::bit_cast<std::uint32_t>(fTemperatura);
}

void ComporInicioTemperatura(ST_MarcasTemperatura& stMarcas, const ST_PontoNVG_v2* pstPontoNVG, int iConfig,
                             BOOL bExcedida)
{
    std::string& szTexto = stMarcas.szInicio;
    szTexto.clear();
    if (bExcedida)
    {
        szTexto += kAberturaMarca;
        szTexto += "<strong>Ponto de Temperatura Excedida</strong><br/>Início: \n";
    }
    else
    {
        // The plain temperature mark has no name element.
        szTexto += "<Placemark><visibility>1</visibility><description>\n";
        szTexto += "<strong>Ponto de Temperatura</strong><br/>Início: \n";
    }
    conversor_AnexarData(szTexto, pstPontoNVG->ulSegundosDataHora);
    szTexto += "<br/>\nTemperatura: ";
    stMarcas.nAntesLeitura = szTexto.size();
    stMarcas.szDepoisLeitura = "<br/>\n";
    AnexarEtapaEstilo(stMarcas.szDepoisLeitura, bExcedida ? "#BANDEIRA_VERMELHA" : "#GOTA_PARADA", iConfig);
    ComporLeituraTemperatura(stMarcas, pstPontoNVG->fTemperatura);
    stMarcas.bExcedida = bExcedida;
    stMarcas.ulMinutoData = pstPontoNVG->ulSegundosDataHora / 60;
    stMarcas.iConfig = iConfig;
}

void InserirMarcaTemperatura(std::FILE* pfArquivoEscrita, ST_MarcasTemperatura& stMarcas,
                             const ST_PontoNVG_v2* pstPontoNVG, int iConfig, BOOL bExcedida,
                             double dZeroRelativoLat, double dZeroRelativoLon)
{
    if (iConfig != stMarcas.iConfig || bExcedida != stMarcas.bExcedida ||
        pstPontoNVG->ulSegundosDataHora / 60 != stMarcas.ulMinutoData)
        ComporInicioTemperatura(stMarcas, pstPontoNVG, iConfig, bExcedida);
    else if (std::bit_cast<std::uint32_t>(pstPontoNVG->fTemperatura) != stMarcas.ulBitsTemperatura)
        ComporLeituraTemperatura(stMarcas, pstPontoNVG->fTemperatura);
    if (stMarcas.vLote.size() - stMarcas.nLote < stMarcas.nMaximoMarca)
        GravarMarcasTemperatura(pfArquivoEscrita, stMarcas);

    char* pc = stMarcas.vLote.data() + stMarcas.nLote;
    std::memcpy(pc, stMarcas.szInicio.data(), stMarcas.szInicio.size());
    pc = EscreverCoordenada(pc + stMarcas.szInicio.size(), pstPontoNVG, dZeroRelativoLat, dZeroRelativoLon);
    std::memcpy(pc, kFimMarca.data(), kFimMarca.size());
    stMarcas.nLote = static_cast<std::size_t>(pc + kFimMarca.size() - stMarcas.vLote.data());
    if (stMarcas.nLote >= D_CONVERSOR_TAMANHO_LOTE)
        GravarMarcasTemperatura(pfArquivoEscrita, stMarcas);
}

// Numbered rows of a stage's description table.
class TabelaEtapa
{
public:
    explicit TabelaEtapa(std::string& szTexto) : m_szTexto(szTexto) {}
    void Linha(std::string_view szRotulo, std::string_view szValor)
    {
        conversor_AnexarDadoKMLTabelaHTML(m_szTexto, szRotulo, szValor, ++m_iNumDado);
    }

private:
    std::string& m_szTexto;
    int m_iNumDado = 0;
};

std::string TextoData(std::uint32_t ulDataHora)
{
    std::string szValor;
    conversor_AnexarData(szValor, ulDataHora);
    return szValor;
}

std::string TextoCodigo(void (*pfTexto)(unsigned char, char*), unsigned char ucCodigo)
{
    std::string szValor;
    conversor_AnexarCodigo(szValor, pfTexto, ucCodigo);
    return szValor;
}

// "%d" of an unsigned count, as the console shows it, then the unit.
std::string TextoNatural(std::uint32_t ulValor, std::string_view szUnidade = {})
{
    std::string szValor;
    conversor_AnexarInteiro(szValor, static_cast<std::int32_t>(ulValor));
    szValor += szUnidade;
    return szValor;
}

// "%.Nf" with the decimal comma, then the unit.
std::string TextoReal(double dValor, int iCasas, std::string_view szUnidade = {})
{
    std::string szValor;
    conversor_AnexarReal(szValor, dValor, iCasas, TRUE);
    szValor += szUnidade;
    return szValor;
}

// Average rate of the stage: ERRO past the limits (a quantity that went down wraps past them), 0 for
// a stage that covered nothing.
std::string TextoTaxaMedia(std::uint32_t ulVolume, float fArea, std::uint32_t ulVolumeMaximo, double dAreaMaxima,
                           std::string_view szUnidade)
{
    if (ulVolume > ulVolumeMaximo || fArea > dAreaMaxima)
        return "ERRO";
    if (fArea > 0.0f)
        return TextoReal(static_cast<float>(ulVolume) / fArea, 1, szUnidade);
    return "0" + std::string(szUnidade);
}

void AnexarLinhasEtapa(TabelaEtapa& stTabela, unsigned short usVersao, const ST_EventoConfig_v9& stConfig,
                       std::uint32_t ulInicio, std::uint32_t ulFim, const ST_TotaisEtapaKml& stTotais)
{
    const BOOL bPulverizacao = stConfig.ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO;
    const BOOL bAdubacao = stConfig.ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO;
    const BOOL bVolumeValido = stTotais.ulVolumeAplicadoParcialFinal >= stTotais.ulVolumeAplicadoParcialInicial;
    const std::uint32_t ulVolume = stTotais.ulVolumeAplicadoParcialFinal - stTotais.ulVolumeAplicadoParcialInicial;
    const float fArea = stTotais.fAreaCoberturaParcialFinal - stTotais.fAreaCoberturaParcialInicial;

    if (usVersao > 1 && stConfig.ucModoDemonstracao != 0)
        stTabela.Linha("Modo Demonstração", "ATIVADO");
    stTabela.Linha("Início Etapa", TextoData(ulInicio));
    stTabela.Linha("Fim Etapa", TextoData(ulFim));
    if (usVersao > 1 && bPulverizacao)
        stTabela.Linha("Volume Aplicado Etapa", bVolumeValido ? TextoNatural(ulVolume, " L") : "ERRO");
    if (usVersao > 2 && bAdubacao)
        stTabela.Linha("Carga Distribuída Etapa", bVolumeValido ? TextoNatural(ulVolume, " kg") : "ERRO");
    stTabela.Linha("Área Aplicada Etapa",
                   stTotais.fAreaCoberturaParcialFinal >= stTotais.fAreaCoberturaParcialInicial
                       ? TextoReal(fArea, 3, " ha")
                       : "ERRO");
    if (usVersao > 1 && bPulverizacao)
        stTabela.Linha("Taxa Média Aplicada Etapa", TextoTaxaMedia(ulVolume, fArea, 9999999, 9999999.0, " L/ha"));
    if (usVersao > 2 && bAdubacao)
        stTabela.Linha("Taxa Média Aplicada Etapa",
                       TextoTaxaMedia(ulVolume, fArea, 999999999, 1000000000.0, " kg/ha"));

    stTabela.Linha("Operador", conversor_TextoCampoKml(stConfig.szOperador));
    stTabela.Linha("Máquina", conversor_TextoCampoKml(stConfig.szMaquina));
    stTabela.Linha("Cultura", conversor_TextoCampoKml(stConfig.szCultura));
    stTabela.Linha("Operação", TextoCodigo(zavoro_RetornarStringTipoOperacao, stConfig.ucOperacao));

    stTabela.Linha("Largura Implemento", TextoReal(stConfig.usLarguraImplemento / 100.0, 2, " m"));
    if (usVersao > 1)
    {
        stTabela.Linha("Sobreposição", usVersao > 5 ? TextoReal(stConfig.fSobreposicaoImplemento, 4, " m")
                                                    : TextoReal(stConfig.sSobreposicaoImplemento / 100.0, 2, " m"));
        const int iDistancia = stConfig.sDistImplemento;
        if (iDistancia > 0)
            stTabela.Linha("Distância Antena-Implemento", TextoReal(iDistancia / 10.0, 1, " m (p/ frente)"));
        else if (iDistancia < 0)
            stTabela.Linha("Distância Antena-Implemento", TextoReal(-iDistancia / 10.0, 1, " m (p/ trás)"));
        else
            stTabela.Linha("Distância Antena-Implemento", "0,0 m");
    }

    if (bPulverizacao)
    {
        stTabela.Linha("Número de Seções", TextoNatural(stConfig.ucNumeroSecoes));
        // The record holds nine sizes whatever the count claims.
        const int iSecoes = std::min<int>(stConfig.ucNumeroSecoes, D_ZAVORO_NUMERO_MAXIMO_SECOES);
        std::string szTamanhos = TextoReal(stConfig.usTamanhoSeccao[0] / 100.0, 2, "m ");
        for (int i = 1; i < iSecoes; i++)
            szTamanhos += "| " + TextoReal(stConfig.usTamanhoSeccao[i] / 100.0, 2, "m ");
        stTabela.Linha("Tamanho de cada seção", szTamanhos);
        if (usVersao > 1)
        {
            stTabela.Linha("Constante Fluxômetro", TextoNatural(stConfig.usConstanteFluxometro));
            stTabela.Linha("Número de Bicos", TextoNatural(stConfig.usNumeroBicos));
            stTabela.Linha("Espaçamento entre Bicos", TextoNatural(stConfig.usEspacamentoBicos, "  cm"));
            stTabela.Linha("Taxa de Aplicação 1", TextoNatural(stConfig.usTaxaAplicacao1 / 10u, " L/ha"));
            stTabela.Linha("Taxa de Aplicação 2", TextoNatural(stConfig.usTaxaAplicacao2 / 10u, " L/ha"));
            stTabela.Linha("Vazão Bico", TextoReal(stConfig.usVazaoBico / 10.0, 1, " L/min"));
            stTabela.Linha("Pressão Bico", TextoReal(stConfig.usPressaoBico / 10.0, 1, " bar"));
            stTabela.Linha("Válvula Geral", TextoCodigo(zavoro_RetornarStringTipoValvula, stConfig.ucValvulaGeral));
            stTabela.Linha("Válvula Seção", TextoCodigo(zavoro_RetornarStringTipoValvula, stConfig.ucValvulaSecao));
            stTabela.Linha("Válvula Proporcional",
                           TextoCodigo(zavoro_RetornarStringTipoValvula, stConfig.ucValvulaProporcional));
            stTabela.Linha("Tempo Abertura Válvula Seção",
                           TextoReal(stConfig.usTempoAberturaValvulaSecao / 10.0, 1, " s"));
            stTabela.Linha("Tempo Fechamento Valvula Seção",
                           TextoReal(stConfig.usTempoFechamentoValvulaSecao / 10.0, 1, " s"));
        }
    }

    if (bAdubacao && usVersao > 2)
    {
        if (stConfig.ucTipoTaxa == D_ZAVORO_TIPO_TAXA_FIXA)
        {
            stTabela.Linha("Tipo de Taxa", "Taxa Fixa");
            stTabela.Linha("Taxa Fixa - Dose 1", TextoNatural(stConfig.ulTaxaFixa1, " kg/ha"));
            stTabela.Linha("Taxa Fixa - Dose 2", TextoNatural(stConfig.ulTaxaFixa2, " kg/ha"));
        }
        else
        {
            stTabela.Linha("Tipo de Taxa", "Taxa Variável");
            stTabela.Linha("Mapa", conversor_TextoCampoKml(stConfig.szMapaTrabalho));
            stTabela.Linha("Parâmetro de Mapa:\t\t", conversor_TextoCampoKml(stConfig.szParametroMapa));
            stTabela.Linha("Área de Mapa", TextoReal(stConfig.fAreaMapa, 1, " ha\r\n\r\n"));
        }
        if (usVersao == 3)
            stTabela.Linha("Constante de Esteira", TextoReal(stConfig.fConstanteEsteira, 2, " pulsos/kg"));
        if (usVersao > 3)
        {
            const char* pcMaquina = "Desconhecida";
            if (stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_LANCO_1_ESTEIRA)
                pcMaquina = "A Lanço - 1 Esteira";
            else if (stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO)
                pcMaquina = "Dastra 1600";
            else if (stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_REBOCADO)
                pcMaquina = "Dastra 7000";
            stTabela.Linha("Tipo Máquina Adubação", pcMaquina);
            if (stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_LANCO_1_ESTEIRA)
                stTabela.Linha("Constante de Trabalho", TextoReal(stConfig.dConstanteTrabalhoAdub[0], 2, " pulsos/kg"));
            else if (stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO ||
                     stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_REBOCADO)
                stTabela.Linha("Constante de Trabalho", TextoReal(stConfig.dConstanteTrabalhoAdub[0], 2));
        }
    }

    if (usVersao > 1)
    {
        stTabela.Linha("Tipo Comando Piloto", TextoCodigo(zavoro_RetornarStringTipoComandoPiloto, stConfig.ucTipoComando));
        stTabela.Linha("Agressividade Piloto", TextoNatural(stConfig.ucAgressividade));
        stTabela.Linha("Fator Hidráulico Piloto",
                       TextoCodigo(zavoro_RetornarStringFatorHidraulico, stConfig.ucFatorHidraulico));
        stTabela.Linha("Entre-eixos", TextoReal(stConfig.ulEntreEixosX1000 / 1000.0, 3, " m"));
    }
}

// Start (bInicioFim FALSE) or end (TRUE) of pause number iNumPtoPausa that began at iDataHoraInicioPausa.
void InserirPontoPausa(std::FILE* pfArquivoEscrita, BOOL bInicioFim, const ST_PontoNVG_v2* pstPontoNVG,
                       int iConfig, int iDataHoraInicioPausa, int iNumPtoPausa, double dZeroRelativoLat,
                       double dZeroRelativoLon)
{
    std::string szTexto(kAberturaMarca);
    szTexto += bInicioFim ? "<strong>Retorno de Pausa " : "<strong>Ponto de Pausa ";
    conversor_AnexarInteiro(szTexto, iNumPtoPausa);
    szTexto += "</strong><br/>\n";
    conversor_AnexarData(szTexto, pstPontoNVG->ulSegundosDataHora);
    szTexto += "<br/>\n";
    const auto ulInicioPausa = static_cast<std::uint32_t>(iDataHoraInicioPausa);
    // An end logged without an open pause has no start to measure from.
    if (bInicioFim && ulInicioPausa != 0 && pstPontoNVG->ulSegundosDataHora > ulInicioPausa)
    {
        szTexto += "Tempo em pausa: ";
        conversor_AnexarDuracao(szTexto, pstPontoNVG->ulSegundosDataHora - ulInicioPausa);
        szTexto += "<br/>\n";
    }
    AnexarFimMarca(szTexto, bInicioFim ? "#GOTA_RETORNO_PAUSA" : "#GOTA_PAUSA", pstPontoNVG, iConfig,
                   dZeroRelativoLat, dZeroRelativoLon);
    conversor_GravarLinha(pfArquivoEscrita, szTexto);
}

// Stop number iNumPtoParado at the point where it began; iTempoParado -1 when the time is unknown.
void InserirPontoParado(std::FILE* pfArquivoEscrita, const ST_PontoNVG_v2* pstPontoNVG, int iConfig,
                        int iTempoParado, int iNumPtoParado, double dZeroRelativoLat, double dZeroRelativoLon)
{
    std::string szTexto(kAberturaMarca);
    szTexto += "<strong>Ponto de Parada ";
    conversor_AnexarInteiro(szTexto, iNumPtoParado);
    szTexto += "</strong><br/>Início: \n";
    conversor_AnexarData(szTexto, pstPontoNVG->ulSegundosDataHora);
    szTexto += "<br/>\nTempo parado: ";
    if (iTempoParado == -1)
        szTexto += "Desconhecido";
    else
        conversor_AnexarDuracao(szTexto, static_cast<std::uint32_t>(iTempoParado));
    szTexto += "<br/>\n";
    AnexarFimMarca(szTexto, "#GOTA_PARADA", pstPontoNVG, iConfig, dZeroRelativoLat, dZeroRelativoLon);
    conversor_GravarLinha(pfArquivoEscrita, szTexto);
}

// Power return number iNumPtoRetornoEnergia after iTempoSemEnergia seconds off (0: unknown, not shown).
void InserirPontoRetornoEnergia(std::FILE* pfArquivoEscrita, const ST_PontoNVG_v2* pstPontoNVG, int iConfig,
                                int iTempoSemEnergia, int iNumPtoRetornoEnergia, double dZeroRelativoLat,
                                double dZeroRelativoLon)
{
    std::string szTexto(kAberturaMarca);
    szTexto += "<strong>Retorno de Energia ";
    conversor_AnexarInteiro(szTexto, iNumPtoRetornoEnergia);
    szTexto += "</strong><br/>\n";
    conversor_AnexarData(szTexto, pstPontoNVG->ulSegundosDataHora);
    szTexto += "<br/>\n";
    if (iTempoSemEnergia > 0)
    {
        szTexto += "Tempo desligado: ";
        conversor_AnexarDuracao(szTexto, static_cast<std::uint32_t>(iTempoSemEnergia));
        szTexto += "<br/>\n";
    }
    AnexarFimMarca(szTexto, "#SETA_RETORNO_ENERGIA", pstPontoNVG, iConfig, dZeroRelativoLat, dZeroRelativoLon);
    conversor_GravarLinha(pfArquivoEscrita, szTexto);
}

// The file holds ulPontos points of this version from the current position on (the position is kept).
bool PontosNoArquivo(std::FILE* pf, std::uint32_t ulPontos, unsigned short usVersaoArquivoEvento)
{
    const long lAtual = std::ftell(pf);
    if (lAtual < 0 || std::fseek(pf, 0, SEEK_END) != 0)
        return false;
    const long lFim = std::ftell(pf);
    const bool bCabem = lFim >= lAtual && static_cast<std::uint64_t>(lFim - lAtual) >=
                                              std::uint64_t{ulPontos} *
                                                  static_cast<std::uint64_t>(zavoro_TamanhoPontoNVG(usVersaoArquivoEvento));
    return std::fseek(pf, lAtual, SEEK_SET) == 0 && bCabem;
}

// What a stage's end and totals take from a point: its time when at or after the stage's start, its
// area and quantity when not below the stage's initial ones. Only the items in uiProcurados
// (kFimHora | kFimArea | kFimQuantidade) are taken; returns those the point gave.
constexpr unsigned kFimHora = 1;
constexpr unsigned kFimArea = 2;
constexpr unsigned kFimQuantidade = 4;
unsigned TomarFimEtapa(const ST_PontoNVG_v2& stPonto, std::uint32_t ulInicio, std::uint8_t ucOperacao,
                       unsigned uiProcurados, std::uint32_t* pulFim, ST_TotaisEtapaKml* pstTotais)
{
    unsigned uiTomados = 0;
    if ((uiProcurados & kFimHora) != 0 && stPonto.ulSegundosDataHora >= ulInicio)
    {
        *pulFim = stPonto.ulSegundosDataHora;
        uiTomados |= kFimHora;
    }
    if ((uiProcurados & kFimArea) != 0 && stPonto.fAreaCobertura >= pstTotais->fAreaCoberturaParcialInicial)
    {
        pstTotais->fAreaCoberturaParcialFinal = stPonto.fAreaCobertura;
        uiTomados |= kFimArea;
    }
    if ((uiProcurados & kFimQuantidade) != 0)
    {
        const std::uint32_t ulVolume = zavoro_CalcularQuantidadeAplicada(&stPonto, ucOperacao);
        if (ulVolume >= pstTotais->ulVolumeAplicadoParcialInicial)
        {
            pstTotais->ulVolumeAplicadoParcialFinal = ulVolume;
            uiTomados |= kFimQuantidade;
        }
    }
    return uiTomados;
}
constexpr unsigned kFimTudo = kFimHora | kFimArea | kFimQuantidade;

// Points read at a time when a stage's end is sought from its last point back: it is nearly always
// the last one.
constexpr std::uint32_t kPontosPorBlocoFim = 1024;

// A stage's end and its event totals, as reading its points [ulDe, ulAte) in order after its first
// ulDe points would leave them: the last point at or after the start, and the last area and quantity
// that did not go below the stage's initial ones. Read from the last point back, a block at a time,
// until each was found; what is not found there stays as the first ulDe points left it. lPrimeiro is
// where the stage's points start; the input is left anywhere. False when a point cannot be read.
bool FimDaEtapaPeloFim(std::FILE* pf, long lPrimeiro, unsigned short usVersaoArquivoEvento,
                       std::uint32_t ulDe, std::uint32_t ulAte, std::uint32_t ulInicio,
                       std::uint8_t ucOperacao, std::uint32_t* pulFim, ST_TotaisEtapaKml* pstTotais)
{
    const auto lTamanho = static_cast<long>(zavoro_TamanhoPontoNVG(usVersaoArquivoEvento));
    unsigned uiAchados = 0;
    ST_LeitorPontosNVG stLeitor;
    while (ulAte > ulDe && uiAchados != kFimTudo)
    {
        const std::uint32_t ulBloco = std::min(ulAte - ulDe, kPontosPorBlocoFim);
        ulAte -= ulBloco;
        // The caller checked that the file holds every point, so the offset fits where the file's end did.
        if (std::fseek(pf, lPrimeiro + static_cast<long>(ulAte) * lTamanho, SEEK_SET) != 0)
            return false;
        zavoro_IniciarLeitorPontos(&stLeitor, pf, usVersaoArquivoEvento, ulBloco);
        // Within the block the last match wins; a later block's match stands over this block's.
        const unsigned uiProcurados = kFimTudo & ~uiAchados;
        for (std::uint32_t i = 0; i < ulBloco; i++)
        {
            ST_PontoNVG_v2 stPonto{};
            if (!zavoro_LerProximoPonto(&stLeitor, &stPonto))
                return false;
            uiAchados |= TomarFimEtapa(stPonto, ulInicio, ucOperacao, uiProcurados, pulFim, pstTotais);
        }
    }
    return true;
}

// The flag of stage iConfig (0-based), whose configuration (operation already in the current
// numbering) is pstConfig; the input stands at the stage's first point and is put back there.
// A stage without points, or whose start or end time cannot be told, gets no flag. FALSE only when a
// point cannot be read (nothing written, input left where the read stopped).
BOOL InserirInicioEtapa(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura, int iConfig,
                        unsigned short usVersaoArquivoEvento, const ST_EventoConfig_v9* pstConfig,
                        const ST_EventoCabecalho* pstCabecalho, double dZeroRelativoLat,
                        double dZeroRelativoLon, ST_TotaisEtapaKml* pstTotais)
{
    std::fpos_t stPosicao;
    if (std::fgetpos(pfArquivoLeitura, &stPosicao) != 0)
        return FALSE;

    std::uint32_t ulInicio = 0;
    std::uint32_t ulFim = 0;
    if (iConfig == 0)
    {
        ulInicio = pstCabecalho->ulDataHoraInicioEvento;
        *pstTotais = ST_TotaisEtapaKml{};
    }
    else
    {
        // Zero: the stage starts at its first point.
        pstTotais->fAreaCoberturaParcialInicial = pstTotais->fAreaCoberturaParcialFinal;
        pstTotais->ulVolumeAplicadoParcialInicial = pstTotais->ulVolumeAplicadoParcialFinal;
    }

    // The last stage ends where the event ends; the others where their points say.
    const BOOL bUltima = static_cast<std::uint32_t>(iConfig) + 1 == pstCabecalho->ulNumConfiguracoes;
    if (bUltima)
    {
        ulFim = pstCabecalho->ulDataHoraFimEvento;
        pstTotais->fAreaCoberturaParcialFinal = pstCabecalho->fAreaCobertura;
        pstTotais->ulVolumeAplicadoParcialFinal = pstCabecalho->ulVolumeAplicado;
    }
    else
    {
        pstTotais->fAreaCoberturaParcialFinal = 0.0f;
        pstTotais->ulVolumeAplicadoParcialFinal = 0;
    }

    ST_PontoNVG_v2 stPrimeiro{};
    const std::uint32_t ulNumeroPontos = pstConfig->ulNumeroPontosRastro;
    // When the file holds all of the stage's points, they are read whole only once, for the marks:
    // here only up to the start. The last stage takes its end and totals from the header; the others
    // from their last points, read back from the end (FimDaEtapaPeloFim).
    const long lPrimeiro = std::ftell(pfArquivoLeitura);
    const bool bInteira = PontosNoArquivo(pfArquivoLeitura, ulNumeroPontos, usVersaoArquivoEvento);
    ST_LeitorPontosNVG stLeitor;
    zavoro_IniciarLeitorPontos(&stLeitor, pfArquivoLeitura, usVersaoArquivoEvento, ulNumeroPontos);
    std::uint32_t i = 0;
    for (; i < ulNumeroPontos && !(bInteira && i > 0 && ulInicio != 0); i++)
    {
        ST_PontoNVG_v2 stPonto{};
        if (!zavoro_LerProximoPonto(&stLeitor, &stPonto))
            return FALSE;
        if (i == 0)
            stPrimeiro = stPonto;
        if (ulInicio == 0)
            ulInicio = stPonto.ulSegundosDataHora;
        if (!bUltima)
            TomarFimEtapa(stPonto, ulInicio, pstConfig->ucOperacao, kFimTudo, &ulFim, pstTotais);
    }
    if (!bUltima && i < ulNumeroPontos &&
        !FimDaEtapaPeloFim(pfArquivoLeitura, lPrimeiro, usVersaoArquivoEvento, i, ulNumeroPontos, ulInicio,
                           pstConfig->ucOperacao, &ulFim, pstTotais))
        return FALSE;

    // A stage without points has no place for its flag; its totals still carry on.
    if (ulNumeroPontos != 0 && ulInicio != 0 && ulFim != 0)
    {
        std::string szTexto = "<Placemark><visibility>1</visibility><name>Etapa ";
        conversor_AnexarInteiro(szTexto, iConfig + 1);
        szTexto += "</name><description>\nInício da Etapa ";
        conversor_AnexarInteiro(szTexto, iConfig + 1);
        szTexto += " - ";
        conversor_AnexarData(szTexto, stPrimeiro.ulSegundosDataHora);
        szTexto += "<br/><strong>Dados da Etapa<br/></strong><![CDATA[<html xmlns=\"";
        szTexto += D_CONVERSOR_XHTML_NAMESPACE;
        szTexto += "\">\n<body style=\"text-align: left\">\n<span style=\"font-size: 10pt; font-family: Arial\">\n"
                   "<table width=\"500\" border=\"0\">\n";
        TabelaEtapa stTabela(szTexto);
        AnexarLinhasEtapa(stTabela, usVersaoArquivoEvento, *pstConfig, ulInicio, ulFim, *pstTotais);
        szTexto += "</table>\n<br /></span></body></html>]]></description><styleUrl>#BANDEIRA_VERDE"
                   "</styleUrl><Point><coordinates>\n";
        AnexarCoordenada(szTexto, &stPrimeiro, dZeroRelativoLat, dZeroRelativoLon);
        szTexto += "\n</coordinates>\n</Point>\n</Placemark>\n";
        conversor_GravarLinha(pfArquivoEscrita, szTexto);
    }

    // The caller reads the same points again.
    return std::fsetpos(pfArquivoLeitura, &stPosicao) == 0;
}

} // namespace

BOOL conversor_InserirPtosRelevantesKML(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                        unsigned short usVersaoArquivoEvento,
                                        const ST_EventoCabecalho* pstCabecalho, double dZeroRelativoLon,
                                        double dZeroRelativoLat)
{
    std::fputs("\n<Folder>\n<name>Pontos Relevantes</name>\n", pfArquivoEscrita);

    ST_TotaisEtapaKml stTotais;
    Conversor_MarcasRelevantes stDetector(usVersaoArquivoEvento, pstCabecalho->ulDataHoraInicioEvento);
    ST_MarcasTemperatura stMarcas;
    auto Inserir = [&](const ST_MarcaRelevante& stMarca, int iConfig) {
        const ST_PontoNVG_v2* pst = stMarca.pstPonto;
        // The other marks are written as they come, after the temperature marks before them.
        if (stMarca.iTipo != D_CONVERSOR_MARCA_TEMPERATURA)
            GravarMarcasTemperatura(pfArquivoEscrita, stMarcas);
        const int iSegundos = static_cast<int>(stMarca.llSegundos);
        switch (stMarca.iTipo)
        {
        case D_CONVERSOR_MARCA_PAUSA:
        case D_CONVERSOR_MARCA_FIM_PAUSA:
            InserirPontoPausa(pfArquivoEscrita, stMarca.iTipo == D_CONVERSOR_MARCA_FIM_PAUSA, pst, iConfig, iSegundos,
                              stMarca.iNumero, dZeroRelativoLat, dZeroRelativoLon);
            break;
        case D_CONVERSOR_MARCA_RETORNO_ENERGIA:
            InserirPontoRetornoEnergia(pfArquivoEscrita, pst, iConfig, iSegundos, stMarca.iNumero, dZeroRelativoLat,
                                       dZeroRelativoLon);
            break;
        case D_CONVERSOR_MARCA_PARADA:
            InserirPontoParado(pfArquivoEscrita, pst, iConfig, iSegundos, stMarca.iNumero, dZeroRelativoLat,
                               dZeroRelativoLon);
            break;
        default:
            InserirMarcaTemperatura(pfArquivoEscrita, stMarcas, pst, iConfig, stMarca.bExcedida, dZeroRelativoLat,
                                    dZeroRelativoLon);
            break;
        }
    };

    const BOOL bOk = [&]() -> BOOL
    {
        for (std::uint32_t ulConfig = 0; ulConfig < pstCabecalho->ulNumConfiguracoes; ulConfig++)
        {
            const int iConfig = static_cast<int>(ulConfig);

            // A block cut short ends the folder here rather than feeding zeros to the loop.
            ST_EventoConfig_v9 stConfig;
            if (!zavoro_LerConfiguracaoEvento(pfArquivoLeitura, usVersaoArquivoEvento, &stConfig))
                return FALSE;
            if (stConfig.ulNumeroPontosRastro > D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO)
                return FALSE;
            stConfig.ucOperacao = zavoro_TraduzirOperacao(stConfig.ucOperacao, usVersaoArquivoEvento);

            GravarMarcasTemperatura(pfArquivoEscrita, stMarcas);
            if (!InserirInicioEtapa(pfArquivoEscrita, pfArquivoLeitura, iConfig, usVersaoArquivoEvento, &stConfig,
                                    pstCabecalho, dZeroRelativoLat, dZeroRelativoLon, &stTotais))
                return FALSE;

            stDetector.IniciarEtapa();
            ST_LeitorPontosNVG stLeitor;
            zavoro_IniciarLeitorPontos(&stLeitor, pfArquivoLeitura, usVersaoArquivoEvento, stConfig.ulNumeroPontosRastro);
            ST_MarcaRelevante vMarcas[D_CONVERSOR_MAXIMO_MARCAS_PONTO];
            for (std::uint32_t i = 0; i < stConfig.ulNumeroPontosRastro; i++)
            {
                ST_PontoNVG_v2 stPonto{};
                if (!zavoro_LerProximoPonto(&stLeitor, &stPonto))
                    return FALSE;
                const int n = stDetector.Ponto(stPonto, vMarcas);
                for (int k = 0; k < n; k++)
                    Inserir(vMarcas[k], iConfig);
            }
            // A standing that lasted to the end of the stage.
            if (stDetector.FimEtapa(&vMarcas[0]))
                Inserir(vMarcas[0], iConfig);
        }
        return TRUE;
    }();
    // What was found before a failure is written all the same; only a complete folder is closed.
    GravarMarcasTemperatura(pfArquivoEscrita, stMarcas);
    if (bOk)
        std::fputs("</Folder>\n", pfArquivoEscrita);
    return bOk;
}
