// The "Mapa" folder of a KML map: the coverage walk by the class rules, each ring a placemark in the
// colour of its class.
#include <string>

#include "conversor/kml.h"
#include "conversor/textoSaida.h"
#include "zavoro/cobertura.h"
#include "zavoro/zavoro.h"

namespace
{

// Colour of polygons whose points carry no value: orange in either table.
constexpr int kCorSemLegenda = 4;

// Placemarks are written a batch (D_CONVERSOR_TAMANHO_LOTE) at a time. The batch's room is taken once,
// with space for the placemark that fills it (a ring of this walk is a few KB).
constexpr std::size_t kFolgaLote = 1 << 16;

// Colour of a polygon of class iFaixa: legend type 1, an index of the six-colour table; legend type 2,
// a row of the thirteen-colour table. D_CONVERSOR_FAIXA_SEM_VALOR when it has none.
int CorPoligono(int iFaixa, const ST_PoligonosKml& stReceptor)
{
    if (iFaixa == D_CONVERSOR_FAIXA_SEM_VALOR)
        return D_CONVERSOR_FAIXA_SEM_VALOR;
    if (!stReceptor.bTemLegenda)
        return kCorSemLegenda;
    if (stReceptor.iTipoLegenda == D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO)
        return iFaixa;
    if (iFaixa < 0 || iFaixa >= D_CONVERSOR_NUMERO_FAIXAS_LEGENDA)
        return D_CONVERSOR_FAIXA_SEM_VALOR;
    return stReceptor.pstParametros->gstLegendaMapa[iFaixa].iCor;
}

// One polygon placemark in colour iIdCorPoligono, appended to szTexto, which is written when it holds a
// batch; a colour outside its table is not drawn.
void InserirPoligonoKml(std::FILE* pfArquivoEscrita, std::string& szTexto, const ST_CoordenadaKml* pstCoordenadaKml,
                        int iNumVertices, int iIdCorPoligono, int iTipoLegenda)
{
    const char* pcEstilo = nullptr;
    if (iTipoLegenda == D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO)
    {
        if (iIdCorPoligono >= 0 && iIdCorPoligono < D_CONVERSOR_NUMERO_LINHAS_LEGENDA_SHP)
            pcEstilo = gulVetorNomesCoresShp[iIdCorPoligono];
    }
    else if (iIdCorPoligono >= 0 && iIdCorPoligono < D_CONVERSOR_NUMERO_FAIXAS_LEGENDA)
        pcEstilo = gulVetorNomesCoresLegendaQuibar[iIdCorPoligono];
    if (pcEstilo == nullptr)
        return;

    szTexto += "<Placemark>\n<styleUrl>";
    szTexto += pcEstilo;
    szTexto += "</styleUrl>\n<Polygon>\n<extrude>1</extrude>\n"
               "<altitudeMode>clampToGround</altitudeMode>\n"
               "<outerBoundaryIs>\n<LinearRing>\n<coordinates>\n";
    // A KML LinearRing ends on its first vertex; readers warn about or refuse open rings.
    const bool bFechar = iNumVertices > 0 &&
                         (pstCoordenadaKml[0].dLongitude != pstCoordenadaKml[iNumVertices - 1].dLongitude ||
                          pstCoordenadaKml[0].dLatitude != pstCoordenadaKml[iNumVertices - 1].dLatitude);
    for (int i = 0; i < iNumVertices + (bFechar ? 1 : 0); ++i)
    {
        const ST_CoordenadaKml& stVertice = pstCoordenadaKml[i < iNumVertices ? i : 0];
        conversor_AnexarCoordenadaKml(szTexto, stVertice.dLongitude, stVertice.dLatitude,
                                      static_cast<int>(stVertice.fAltitude));
    }
    szTexto += "</coordinates>\n</LinearRing>\n</outerBoundaryIs>\n</Polygon>\n</Placemark>\n\n";
    if (szTexto.size() >= D_CONVERSOR_TAMANHO_LOTE)
        conversor_GravarLinha(pfArquivoEscrita, szTexto);
}

void IniciarEtapa(void* pContexto, const ST_EtapaPoligonos& stEtapa)
{
    auto* pstReceptor = static_cast<ST_PoligonosKml*>(pContexto);
    pstReceptor->bTemLegenda = stEtapa.bTemLegenda;
    pstReceptor->bTaxaPulv = stEtapa.bTaxaPulv;
    pstReceptor->bTaxaAdub = stEtapa.bTaxaAdub;
}

int Classe(void* pContexto, int iValor)
{
    const auto* pstReceptor = static_cast<const ST_PoligonosKml*>(pContexto);
    return conversor_RetornarFaixaLegenda(iValor, pstReceptor->iTipoLegenda, pstReceptor->pstParametros);
}

BOOL InserirAnel(void* pContexto, const ST_CoordenadaKml* pstVertices, int iNumVertices, int iFaixa)
{
    auto* pstReceptor = static_cast<ST_PoligonosKml*>(pContexto);
    InserirPoligonoKml(pstReceptor->pfArquivoEscrita, pstReceptor->szTexto, pstVertices, iNumVertices,
                       CorPoligono(iFaixa, *pstReceptor), pstReceptor->iTipoLegenda);
    return TRUE;
}

} // namespace

void conversor_AbrirPoligonosKML(ST_PoligonosKml* pstPoligonos, std::FILE* pfArquivoEscrita, int iTipoMapa,
                                 const ST_ParametrosMapa* pstParametros)
{
    *pstPoligonos = ST_PoligonosKml{};
    pstPoligonos->szTexto.reserve(D_CONVERSOR_TAMANHO_LOTE + kFolgaLote);
    pstPoligonos->pfArquivoEscrita = pfArquivoEscrita;
    pstPoligonos->pstParametros = pstParametros;
    pstPoligonos->iTipoLegenda = iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO
                                     ? D_CONVERSOR_TIPO_LEGENDA_SHP_RECOMENDACAO
                                     : D_CONVERSOR_TIPO_LEGENDA_MANUAL_QUIBAR;
}

ST_ReceptorCobertura conversor_ReceptorPoligonosKML(ST_PoligonosKml* pstPoligonos)
{
    ST_ReceptorCobertura stReceptor;
    stReceptor.pContexto = pstPoligonos;
    stReceptor.pfIniciarEtapa = IniciarEtapa;
    stReceptor.pfClasse = Classe;
    stReceptor.pfInserirAnel = InserirAnel;
    // Rings are checked on the grid the text rounds them to; KML keeps them as the track drew them.
    stReceptor.iCasasDecimais = D_CONVERSOR_CASAS_COORDENADA_KML;
    stReceptor.bSentidoHorario = FALSE;
    return stReceptor;
}

BOOL conversor_ConcluirPoligonosKML(ST_PoligonosKml* pstPoligonos, BOOL bPercursoOk, BOOL* pbTaxaPulv,
                                    BOOL* pbTaxaAdub)
{
    *pbTaxaPulv = pstPoligonos->bTaxaPulv;
    *pbTaxaAdub = pstPoligonos->bTaxaAdub;
    // The rings drawn before a failure are written all the same; only a complete folder is closed.
    conversor_GravarLinha(pstPoligonos->pfArquivoEscrita, pstPoligonos->szTexto);
    if (!bPercursoOk)
        return FALSE;
    std::fputs("\n</Folder>\n", pstPoligonos->pfArquivoEscrita);
    return TRUE;
}

BOOL conversor_GerarPoligonosKML(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                 unsigned short usVersaoArquivoEvento, const ST_EventoCabecalho* pstCabecalho,
                                 int iTipoMapa, double dZeroRelativoLon, double dZeroRelativoLat,
                                 const ST_ParametrosMapa* pstParametros, BOOL* pbTaxaPulv, BOOL* pbTaxaAdub)
{
    ST_PoligonosKml stPoligonos;
    conversor_AbrirPoligonosKML(&stPoligonos, pfArquivoEscrita, iTipoMapa, pstParametros);
    const ST_ReceptorCobertura stReceptor = conversor_ReceptorPoligonosKML(&stPoligonos);
    const BOOL bOk = cobertura_PercorrerCobertura(
        pfArquivoLeitura, usVersaoArquivoEvento, pstCabecalho->ulNumConfiguracoes, iTipoMapa,
        dZeroRelativoLon, dZeroRelativoLat, D_COBERTURA_CORTE_CLASSE, stReceptor);
    return conversor_ConcluirPoligonosKML(&stPoligonos, bOk, pbTaxaPulv, pbTaxaAdub);
}
