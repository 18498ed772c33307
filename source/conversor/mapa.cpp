// The KML map driver: walks the container once to find the stages, guides and boundaries, then has
// each writer add its part of the document in order. The KML and its shapefile set replace their
// targets together, as one unit, and only when all of them were written.
#include <cerrno>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "conversor/kml.h"
#include "funcoesAuxiliares/leituraArquivo.h"
#include "zavoro/cobertura.h"
#include "zavoro/conversor.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/shapeFile.h"
#include "zavoro/zavoro.h"

namespace
{

BOOL Falhar(std::string* pszErro, std::string szMotivo)
{
    if (pszErro != nullptr)
        *pszErro = std::move(szMotivo);
    return FALSE;
}

// The set of a map being written is dropped on every path that does not finish it.
struct ST_ConjuntoPendente
{
    ST_ConjuntoShpSaida stConjunto;
    ~ST_ConjuntoPendente() { shpFile_DescartarConjuntoShp(&stConjunto); }
};
} // namespace

BOOL conversor_CriarMapaNavegacao(const char* pcArquivoLeitura, const char* pcArquivoEscrita, int iTipoMapa,
                                  const ST_ParametrosMapa* pstParametros, int* piErroImpressaoGuia, std::string* pszErro,
                                  ST_ArquivosShp* pstArquivosShp)
{
    if (pstArquivosShp != nullptr)
        *pstArquivosShp = ST_ArquivosShp{};
    int iErroGuiaLocal = 0;
    if (piErroImpressaoGuia == nullptr)
        piErroImpressaoGuia = &iErroGuiaLocal;
    *piErroImpressaoGuia = 0;

    std::string szMotivoAbertura;
    // The track is read twice over (polygons with the shapefile set, relevant points).
    std::vector<char> vBufferLeitura(D_FUNCAUX_TAMANHO_BUFFER_LEITURA);
    FuncAux_ArquivoLeitura pfLeitura = funcAux_AbrirLeitura(pcArquivoLeitura, &szMotivoAbertura, vBufferLeitura);
    if (!pfLeitura)
        return Falhar(pszErro, "não foi possível abrir " + std::string(pcArquivoLeitura ? pcArquivoLeitura : "") +
                                   " (" + szMotivoAbertura + ")");
    std::FILE* pf = pfLeitura.get();

    ST_EstruturaNavegacao st;
    if (!zavoro_PercorrerEstrutura(pf, &st, pszErro))
        return FALSE;
    // Every reader of the header uses the current operation numbering (the legend relies on it).
    if (st.stCabecalho.ucUltOperacao <= D_ZAVORO_OPERACAO_OUTROS)
        st.stCabecalho.ucUltOperacao = zavoro_TraduzirOperacao(st.stCabecalho.ucUltOperacao, st.usVersaoArquivoEvento);

    ST_ArquivoSaida stSaida;
    if (!funcAux_AbrirArquivoSaida(pcArquivoEscrita, &stSaida, pszErro))
        return FALSE;
    std::FILE* pfEscrita = stSaida.pfArquivo;

    conversor_EscreverCabecalhoKML(pfEscrita, st.stCabecalho.szNomeEvento, iTipoMapa);
    // The polygons of the "Mapa" folder and the shapefile set of the same coverage come from one read
    // of the track. The set replaces an earlier one only together with the map.
    ST_PoligonosKml stPoligonos;
    conversor_AbrirPoligonosKML(&stPoligonos, pfEscrita, iTipoMapa, pstParametros);
    ST_EscritaShp stEscritaShp;
    std::string szMotivoShp;
    const BOOL bShpAberto = shpFile_AbrirEscritaShp(pcArquivoEscrita, iTipoMapa, &stEscritaShp, &szMotivoShp);
    const ST_ReceptorCobertura stReceptorKml = conversor_ReceptorPoligonosKML(&stPoligonos);
    const ST_ReceptorCobertura stReceptorShp = shpFile_ReceptorShp(&stEscritaShp);
    ST_PercursoCobertura stPercursos[2];
    stPercursos[0].iCorte = D_COBERTURA_CORTE_CLASSE;
    stPercursos[0].pstReceptor = &stReceptorKml;
    stPercursos[1].iCorte = D_COBERTURA_CORTE_COMPRIMENTO;
    stPercursos[1].pstReceptor = &stReceptorShp;
    // A set that could not be opened is not walked; the map still tells first whether the track reads.
    cobertura_PercorrerCoberturas(pf, st.usVersaoArquivoEvento, st.stCabecalho.ulNumConfiguracoes, iTipoMapa,
                                  st.stTalhao.dZeroRelativoLon, st.stTalhao.dZeroRelativoLat,
                                  std::span(stPercursos, bShpAberto ? 2 : 1));

    BOOL bTaxaPulv = FALSE;
    BOOL bTaxaAdub = FALSE;
    std::string szMotivo;
    BOOL bOk = conversor_ConcluirPoligonosKML(&stPoligonos, stPercursos[0].bOk, &bTaxaPulv, &bTaxaAdub);
    if (!bOk)
        szMotivo = "pontos do trajeto ilegíveis";
    ST_ConjuntoPendente stShp;
    if (bOk)
    {
        bOk = bShpAberto &&
              shpFile_ConcluirEscritaShp(&stEscritaShp, stPercursos[1].bOk, &stShp.stConjunto, &szMotivoShp);
        if (!bOk)
            szMotivo = "conjunto shapefile não gravado: " + szMotivoShp;
    }
    if (bOk)
    {
        bOk = std::fseek(pf, st.lPrimeiraEtapa, SEEK_SET) == 0 &&
              conversor_InserirPtosRelevantesKML(pfEscrita, pf, st.usVersaoArquivoEvento, &st.stCabecalho,
                                                 st.stTalhao.dZeroRelativoLon, st.stTalhao.dZeroRelativoLat);
        if (!bOk)
            szMotivo = "pontos relevantes ilegíveis";
    }
    if (bOk && !st.vGuias.empty())
    {
        bOk = conversor_InserirGuiasKml(pfEscrita, pf, &st, piErroImpressaoGuia);
        if (!bOk)
            szMotivo = "guias ilegíveis";
    }
    if (bOk && !st.vLimites.empty())
    {
        bOk = conversor_InserirLimiteKml(pfEscrita, pf, &st);
        if (!bOk)
            szMotivo = "limites ilegíveis";
    }
    if (bOk)
    {
        conversor_InserirLegendaKML(pfEscrita, &st.stTalhao, &st.stCabecalho, iTipoMapa, bTaxaPulv, bTaxaAdub,
                                    pstParametros);
        conversor_EscreverFimKML(pfEscrita);
        ST_ConjuntoShpSaida& stConjunto = stShp.stConjunto;
        ST_ArquivoSaida* const pstArquivos[] = {&stConjunto.stShp, &stConjunto.stShx, &stConjunto.stDbf,
                                                &stConjunto.stPrj, &stSaida};
        if (!funcAux_PublicarArquivosSaida(pstArquivos, pszErro))
            return FALSE;
        if (pstArquivosShp != nullptr)
            shpFile_NomesArquivosShp(pcArquivoEscrita, pstArquivosShp);
        return TRUE;
    }
    // A step that failed because the map could not be written is not the input's fault.
    if (std::ferror(pfEscrita))
        szMotivo = "erro de gravação de " + std::string(pcArquivoEscrita) + " (" + funcAux_DescreverErro(errno) + ")";
    funcAux_DescartarArquivoSaida(&stSaida);
    return Falhar(pszErro, szMotivo);
}
