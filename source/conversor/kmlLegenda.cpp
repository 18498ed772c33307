// The legend of a KML map: the event's totals and the colour key, as the last element of the document.
// Names from the file are decoded and escaped, so the CDATA section can never be closed early.
#include <cstdint>
#include <string>
#include <string_view>

#include "conversor/kml.h"
#include "conversor/textoSaida.h"
#include "zavoro/zavoro.h"

namespace
{
// Swatch colour of a rate or speed band, closing the attribute it is written into.
const char* CorFaixa(int iCor)
{
    static constexpr const char* pcCores[] = {"#0000ff\"", "#00ffff\"", "#00ff00\"",
                                              "#ffff00\"", "#ff8000\"", "#ff0000\""};
    return iCor >= 0 && iCor < static_cast<int>(std::size(pcCores)) ? pcCores[iCor] : "#A448A4\"";
}

void AnexarItem(std::string& szLegenda, const char* pcCor)
{
    szLegenda += "<span style=\"background-color: ";
    szLegenda += pcCor;
    szLegenda += ">&nbsp; &nbsp; &nbsp;</span>&nbsp;";
}

bool FaixaUsada(const ST_LegendaMapa& stFaixa)
{
    return stFaixa.iValorSup != 0 && stFaixa.iValorSup != D_CONVERSOR_VALOR_ALVO_VAZIO;
}

// Rate or speed bands: the first reads "below", the last "above", a one-value band its single value.
void AnexarLegendaFaixas(std::string& szLegenda, const ST_LegendaMapa* pstFaixas, std::string_view szUnidade)
{
    int iNumFaixas = 0;
    for (int i = 0; i < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA; i++)
        if (FaixaUsada(pstFaixas[i]))
            iNumFaixas++;

    auto anexarValor = [&](int iValor)
    {
        conversor_AnexarInteiro(szLegenda, iValor);
        szLegenda += ' ';
        szLegenda += szUnidade;
    };
    for (int i = 0; i < iNumFaixas && FaixaUsada(pstFaixas[i]); i++)
    {
        const ST_LegendaMapa& stFaixa = pstFaixas[i];
        AnexarItem(szLegenda, CorFaixa(stFaixa.iCor));
        if (stFaixa.iValorSup == stFaixa.iValorInf)
        {
            anexarValor(stFaixa.iValorSup);
        }
        else if (i == 0)
        {
            szLegenda += "Abaixo de ";
            anexarValor(pstFaixas[1].iValorInf);
        }
        else if (i != iNumFaixas - 1)
        {
            anexarValor(stFaixa.iValorInf);
            szLegenda += " - ";
            anexarValor(stFaixa.iValorSup);
        }
        else
        {
            szLegenda += "Acima de ";
            anexarValor(pstFaixas[iNumFaixas - 2].iValorSup);
        }
        szLegenda += "<br />\n";
    }
}

// The thirteen rows of the recommendation legend, whatever number of them the map uses.
void AnexarLegendaRecomendacao(std::string& szLegenda, const ST_ShpLegenda& stShpLegenda, BOOL bTaxaPulv,
                               BOOL bTaxaAdub)
{
    for (int r = 0; r < D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP; r++)
    {
        AnexarItem(szLegenda, gulVetorHexCoresShp[r]);
        const std::uint32_t ulInf = stShpLegenda.ulValorLegenda[r][0];
        const std::uint32_t ulSup = stShpLegenda.ulValorLegenda[r][1];
        const char* pcUnidade = bTaxaPulv ? " L/ha" : bTaxaAdub ? " kg/ha" : "";
        conversor_AnexarNatural(szLegenda, ulInf);
        szLegenda += pcUnidade;
        szLegenda += " - ";
        conversor_AnexarNatural(szLegenda, ulSup);
        szLegenda += pcUnidade;
        szLegenda += bTaxaAdub && !bTaxaPulv ? "<br />\n" : " <br />\n";
    }
}

std::string TextoDataHora(std::uint32_t ulDataHora)
{
    std::string szTexto;
    conversor_AnexarData(szTexto, ulDataHora);
    return szTexto;
}

std::string TextoDuracao(std::uint32_t ulSegundos)
{
    std::string szTexto;
    conversor_AnexarDuracao(szTexto, ulSegundos);
    return szTexto;
}

// Mean applied rate: the quantity over the covered area, in single precision as the console does.
std::string TextoTaxaMedia(const ST_EventoCabecalho& stEvt, std::uint32_t ulLimiteQuantidade,
                           float fLimiteArea, const char* pcUnidade)
{
    if (stEvt.ulVolumeAplicado > ulLimiteQuantidade || stEvt.fAreaCobertura > fLimiteArea)
        return "ERRO";
    std::string szValor;
    if (stEvt.fAreaCobertura > 0.0f)
        conversor_AnexarReal(szValor, static_cast<float>(stEvt.ulVolumeAplicado) / stEvt.fAreaCobertura, 1);
    else
        szValor = "0";
    szValor += pcUnidade;
    return szValor;
}

// The colour key: the rate or speed bands, the thirteen recommendation rows, or the single item of a
// plain coverage map.
std::string TextoLegenda(int iTipoMapa, BOOL bTaxaPulv, BOOL bTaxaAdub,
                         const ST_ParametrosMapa* pstParametros)
{
    std::string szLegenda;
    const bool bFaixas = iTipoMapa == D_CONVERSOR_TIPO_MAPA_VELOCIDADE ||
                         (iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA && (bTaxaPulv || bTaxaAdub));
    if (bFaixas)
    {
        const char* pcUnidade = iTipoMapa == D_CONVERSOR_TIPO_MAPA_VELOCIDADE ? "km/h"
                                : bTaxaPulv                                   ? "L/ha"
                                                                              : "kg/ha";
        AnexarLegendaFaixas(szLegenda, pstParametros->gstLegendaMapa, pcUnidade);
    }
    else if (iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO)
    {
        AnexarLegendaRecomendacao(szLegenda, pstParametros->gstShpLegendaMapa, bTaxaPulv, bTaxaAdub);
    }
    else
    {
        AnexarItem(szLegenda, "#ff8000\"");
        szLegenda += "Cobertura inteira (sem controlador Zavoro)<br/>\n";
    }
    return szLegenda;
}

} // namespace

void conversor_InserirLegendaKML(std::FILE* pfArquivoEscrita, const ST_Talhao* pstTalhao,
                                 const ST_EventoCabecalho* pstEvtCabecalho, int iTipoMapa, BOOL bTaxaPulv,
                                 BOOL bTaxaAdub, const ST_ParametrosMapa* pstParametros)
{
    const ST_EventoCabecalho& stEvt = *pstEvtCabecalho;
    const bool bPulverizacao = stEvt.ucUltOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO;
    const bool bAdubacao = stEvt.ucUltOperacao == D_ZAVORO_OPERACAO_ADUBACAO;

    std::string szTexto = "<description><![CDATA[\n<html xmlns=\"";
    szTexto += D_CONVERSOR_XHTML_NAMESPACE;
    szTexto += "\"><body style=\"text-align: left\">\n<span style=\"font-size: 8pt; font-family: Arial\">\n";
    szTexto += "Término: " + TextoDataHora(stEvt.ulDataHoraFimEvento);
    szTexto += "<br/><br/><span style=\"font-size: 10pt; font-family: Arial\">\n<table width=\"450\" "
               "border=\"0\">\n";

    int iNumDado = 0;
    auto anexarLinha = [&](std::string_view szRotulo, const std::string& szValor)
    { conversor_AnexarDadoKMLTabelaHTML(szTexto, szRotulo, szValor, ++iNumDado); };
    std::string szValor;

    anexarLinha("Talhão", conversor_TextoCampoKml(pstTalhao->szNomeTalhao));
    anexarLinha("Evento", conversor_TextoCampoKml(stEvt.szNomeEvento));
    anexarLinha("Início Evento", TextoDataHora(stEvt.ulDataHoraInicioEvento));
    anexarLinha("Fim Evento", TextoDataHora(stEvt.ulDataHoraFimEvento));

    if (bPulverizacao || bAdubacao)
    {
        const std::uint32_t ulLimite = bPulverizacao ? 9999999u : 999999999u;
        szValor.clear();
        if (stEvt.ulVolumeAplicado > ulLimite)
            szValor = "ERRO";
        else
        {
            conversor_AnexarNatural(szValor, stEvt.ulVolumeAplicado);
            szValor += bPulverizacao ? " L" : " kg";
        }
        anexarLinha(bPulverizacao ? "Volume Aplicado" : "Carga Distribuída", szValor);
    }

    szValor.clear();
    if (stEvt.fAreaCobertura > 999999.0f)
        szValor = "ERRO";
    else
    {
        conversor_AnexarReal(szValor, stEvt.fAreaCobertura, 3);
        szValor += " ha";
    }
    anexarLinha("Área Aplicada", szValor);

    if (bPulverizacao)
        anexarLinha("Taxa Média Aplicada (Calculada)", TextoTaxaMedia(stEvt, 9999999u, 999999.0f, " L/ha"));
    else if (bAdubacao)
        anexarLinha("Taxa Média Aplicada (Calculada)",
                    TextoTaxaMedia(stEvt, 999999999u, 1000000000.0f, " kg/ha"));

    szValor.clear();
    conversor_AnexarReal(szValor, stEvt.fDistanciaPercorridaEvento / 1000, 2);
    szValor += " km";
    anexarLinha("Distância Percorrida", szValor);

    anexarLinha("Tempo de Trabalho", TextoDuracao(stEvt.ulTempoTrabalho));
    anexarLinha("Tempo de Trabalho Efetivo", TextoDuracao(stEvt.ulTempoTrabalhoEfetivo));

    szValor.clear();
    if (stEvt.ulTempoTrabalhoEfetivo != 0)
    {
        conversor_AnexarReal(
            szValor, stEvt.fAreaCobertura / static_cast<float>(stEvt.ulTempoTrabalhoEfetivo) * 3600.0, 3);
        szValor += " ha/h";
    }
    else
        szValor = "0 ha/h";
    anexarLinha("Hectares por Hora", szValor);

    anexarLinha("Legenda", TextoLegenda(iTipoMapa, bTaxaPulv, bTaxaAdub, pstParametros));

    szTexto += "</table>\n<br /></span></body></html>\n]]></description>";
    conversor_GravarLinha(pfArquivoEscrita, szTexto);
}
