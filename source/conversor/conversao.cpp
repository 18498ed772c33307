// The classification and conversion workers: walk the selection, validate each file, tell the
// receiver where they are, call the writer, and hand each result over before touching the progress
// record again.
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

#include "funcoesAuxiliares/leituraArquivo.h"
#include "funcoesAuxiliares/sistema.h"
#include "zavoro/conversor.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/shapeFile.h"
#include "zavoro/zavoro.h"

namespace
{

void Pausar(const ST_EstruturaThread* pstThread, int iUnidades)
{
    funcAux_Delay(iUnidades, pstThread->unidadePausa);
}

// Result notice with the hand-shake: the record is not touched again until the receiver confirms.
void AvisarResultado(ST_EstruturaThread* pstThread, const ST_DetalhesConversao& stDetalhes)
{
    const ST_ReceptorAvisos& stReceptor = pstThread->hHandleRetorno;
    if (stReceptor.pfConvertendoArquivos == nullptr)
        return;
    pstThread->ucSemaforoStatusConversao.store(1);
    stReceptor.pfConvertendoArquivos(stReceptor.pContexto, stDetalhes);
    for (unsigned char uc = pstThread->ucSemaforoStatusConversao.load(); uc != 0;
         uc = pstThread->ucSemaforoStatusConversao.load())
        funcAux_EsperarMudanca(&pstThread->ucSemaforoStatusConversao, uc);
}

// The input path without its extension, or (bManterExtensao) with the extension's dot made a '_'.
// Only a dot inside the file name counts: a dot in a folder name is not an extension.
std::string BaseSaida(const std::string& szArquivoLeitura, bool bManterExtensao)
{
    std::size_t posNome = szArquivoLeitura.find_last_of(D_ARQUIVO_SEPARADORES);
    posNome = posNome == std::string::npos ? 0 : posNome + 1;
    const std::size_t posPonto = szArquivoLeitura.rfind('.');
    if (posPonto == std::string::npos || posPonto < posNome)
        return szArquivoLeitura;
    if (!bManterExtensao)
        return szArquivoLeitura.substr(0, posPonto);
    std::string szBase = szArquivoLeitura;
    szBase[posPonto] = '_';
    return szBase;
}

const char* SufixoSaida(int iTipoConversao)
{
    switch (iTipoConversao)
    {
    case D_CONVERSOR_TIPO_CONVERSAO_RELATORIO:
        return ".txt";
    case D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE:
        return "_Velocidade.kml";
    default:
        return "_Cobertura.kml";
    }
}

// Names compared as the file systems of Windows and memory cards do: without ASCII letter case, and
// "./a" as "a".
std::string ChaveNome(const std::string& szCaminho)
{
    std::string sz = funcAux_TextoCaminho(funcAux_Caminho(szCaminho).lexically_normal());
    for (char& c : sz)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return sz;
}

BOOL Converter(ST_DetalhesConversao& stDetalhes, const ST_ConversaoArquivos& stJob, const std::string& szSaida,
               std::string* pszErro)
{
    int iTipoMapa = 0;
    switch (stDetalhes.iTipoConversao)
    {
    case D_CONVERSOR_TIPO_CONVERSAO_RELATORIO:
        return conversor_CriarRelatoriosNavegacao(stDetalhes.cNomeArquivo.c_str(), szSaida.c_str(), pszErro);
    case D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE:
        iTipoMapa = D_CONVERSOR_TIPO_MAPA_VELOCIDADE;
        break;
    case D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA:
        iTipoMapa = D_CONVERSOR_TIPO_MAPA_COBERTURA;
        break;
    case D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO:
        iTipoMapa = D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO;
        break;
    default:
        *pszErro = "tipo de conversão desconhecido (" + std::to_string(stDetalhes.iTipoConversao) + ")";
        return FALSE;
    }
    ST_ArquivosShp stArquivosShp;
    if (!conversor_CriarMapaNavegacao(stDetalhes.cNomeArquivo.c_str(), szSaida.c_str(), iTipoMapa,
                                      &stJob.stParametrosMapa, &stDetalhes.iErroImpressaoGuia, pszErro, &stArquivosShp))
        return FALSE;
    // The viewer shows the set just written as its map 2, by its value field.
    if (iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO)
    {
        stDetalhes.szMapa2Shp = stArquivosShp.szShp;
        stDetalhes.szMapa2Dbf = stArquivosShp.szDbf;
        stDetalhes.uiMapa2ParamSelecionado = 1;
    }
    return TRUE;
}
// A name for the result block: the output's file name, or an export's base name (without ".txt").
std::string NomeSaida(const std::string& szSaida, bool bExportacao)
{
    const std::string szNome = funcAux_TextoCaminho(funcAux_Caminho(szSaida).filename());
    return bExportacao ? szNome.substr(0, szNome.size() - 4) : szNome;
}
} // namespace

void conversor_PercorrerListaPaths(int iTipoSelecao, const char* pucVetorPaths, int iNumArquivos,
                                   const std::function<bool(const std::string&)>& fn, std::size_t tamanhoBuffer)
{
    if (pucVetorPaths == nullptr || iNumArquivos <= 0)
        return;
    const char* pc = pucVetorPaths;
    const char* const pcFim = pucVetorPaths + tamanhoBuffer;
    auto Proximo = [&]() {
        std::size_t n = strnlen(pc, static_cast<std::size_t>(pcFim - pc));
        std::string sz(pc, n);
        pc += n + 1;
        return sz;
    };
    std::string szPrefixo;
    if (iTipoSelecao == D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS)
    {
        szPrefixo = Proximo();
        if (iNumArquivos == 1)
        {
            fn(szPrefixo);
            return;
        }
        szPrefixo += D_ARQUIVO_SEPARADOR;
    }
    for (int i = 0; i < iNumArquivos && pc < pcFim; i++)
    {
        std::string szNome = Proximo();
        if (!fn(iTipoSelecao == D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS ? szPrefixo + szNome : szNome))
            return;
    }
}

std::string conversor_NomeArquivoSaida(const std::string& szArquivoLeitura, int iTipoConversao)
{
    return BaseSaida(szArquivoLeitura, false) + SufixoSaida(iTipoConversao);
}

std::vector<std::string> conversor_NomesSaidaLote(const std::vector<std::string>& vArquivos, int iTipoConversao)
{
    std::set<std::string> setOcupados;
    for (const std::string& szArquivo : vArquivos)
        setOcupados.insert(ChaveNome(szArquivo));
    const bool bMapa = iTipoConversao != D_CONVERSOR_TIPO_CONVERSAO_RELATORIO;
    // Every file the job writes: the report, or the KML with its shapefile set.
    auto Nomes = [&](const std::string& szSaida) {
        std::vector<std::string> v{ChaveNome(szSaida)};
        if (bMapa)
            for (const char* pcExtensao : {"shp", "shx", "dbf", "prj"})
                v.push_back(v.front().substr(0, v.front().size() - 3) + pcExtensao);
        return v;
    };
    auto Livre = [&](const std::string& szSaida) {
        for (const std::string& szChave : Nomes(szSaida))
            if (setOcupados.count(szChave) != 0)
                return false;
        return true;
    };
    std::vector<std::string> vSaidas;
    for (const std::string& szArquivo : vArquivos)
    {
        std::string szSaida = conversor_NomeArquivoSaida(szArquivo, iTipoConversao);
        const std::string szBase = BaseSaida(szArquivo, true);
        for (int i = 2; !Livre(szSaida); i++)
            szSaida = (i == 2 ? szBase : szBase + "_" + std::to_string(i - 1)) + SufixoSaida(iTipoConversao);
        for (std::string& szChave : Nomes(szSaida))
            setOcupados.insert(std::move(szChave));
        vSaidas.push_back(std::move(szSaida));
    }
    return vSaidas;
}

int conversor_AnalisarTiposArqNavegacao(const char* pszPathArquivoLeitura)
{
    FuncAux_ArquivoLeitura pf = funcAux_AbrirLeitura(pszPathArquivoLeitura);
    if (!pf)
        return 0;
    ST_EstruturaNavegacao stEstrutura;
    if (!zavoro_PercorrerEstrutura(pf.get(), &stEstrutura))
        return 0;
    const unsigned int uiVersaoEvento = stEstrutura.usVersaoArquivoEvento;
    const ST_EventoCabecalho& stCabecalho = stEstrutura.stCabecalho;

    const long lTamanhoPonto = zavoro_TamanhoPontoNVG(uiVersaoEvento);
    int iTipos = 0;
    ST_EventoConfig_v9 stConfig;
    for (std::uint32_t i = 0; i < stCabecalho.ulNumConfiguracoes; i++)
    {
        if (!zavoro_LerConfiguracaoEvento(pf.get(), uiVersaoEvento, &stConfig))
            break;
        std::uint8_t ucOperacao = zavoro_TraduzirOperacao(stConfig.ucOperacao, uiVersaoEvento);
        if (ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO)
            iTipos |= D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO;
        else if (ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO && uiVersaoEvento >= 2)
            iTipos |= D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_ADUBACAO;
        else
            iTipos |= D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_OUTRAS_OPERACOES;
        // The points carry nothing the classification needs.
        if (std::fseek(pf.get(), static_cast<long>(stConfig.ulNumeroPontosRastro) * lTamanhoPonto, SEEK_CUR) != 0)
            break;
    }
    return iTipos;
}

void conversor_RetornarDetalhesConversao(const char* pcArquivo, ST_DetalhesConversao* pstDetalhesConversao)
{
    pstDetalhesConversao->cNomeTalhao.clear();
    pstDetalhesConversao->cNomeEvento.clear();
    FuncAux_ArquivoLeitura pf = funcAux_AbrirLeitura(pcArquivo);
    if (!pf)
        return;
    ST_EstruturaNavegacao stEstrutura;
    BOOL bOk = zavoro_PercorrerEstrutura(pf.get(), &stEstrutura);
    // What was read before a part failed is still shown.
    if (stEstrutura.bTalhaoLido)
        pstDetalhesConversao->cNomeTalhao = zavoro_TextoCampo(stEstrutura.stTalhao.szNomeTalhao);
    if (bOk)
        pstDetalhesConversao->cNomeEvento = zavoro_TextoCampo(stEstrutura.stCabecalho.szNomeEvento);
}

void conversor_ConfirmarAviso(ST_EstruturaThread* pstEstruturaThread)
{
    pstEstruturaThread->ucSemaforoStatusConversao.store(0);
    funcAux_AcordarEsperas(&pstEstruturaThread->ucSemaforoStatusConversao);
}

unsigned int conversor_ThreadAnalisarTiposArquivosNavegacao(void* lpArg)
{
    auto* pstThread = static_cast<ST_EstruturaThread*>(lpArg);
    const auto* pstSelecao = static_cast<const ST_SelecaoArquivos*>(pstThread->lpArgumento);
    int iTipos = 0;
    conversor_PercorrerListaPaths(pstSelecao->iTipoSelecao, pstSelecao->szPathsArqNaveg, pstSelecao->iNumArquivos,
                                  [&](const std::string& szArquivo) {
                                      if (zavoro_ValidarArquivoNavegacao(szArquivo.c_str()))
                                          iTipos |= conversor_AnalisarTiposArqNavegacao(szArquivo.c_str());
                                      return true;
                                  });
    Pausar(pstThread, D_CONVERSOR_PAUSA_ANALISE);
    const ST_ReceptorAvisos& stReceptor = pstThread->hHandleRetorno;
    if (stReceptor.pfProcuraArquivosOk != nullptr)
        stReceptor.pfProcuraArquivosOk(stReceptor.pContexto, D_ARQUIVO_BUSCA_ARQUIVOS_NAVEGACAO_OK, iTipos);
    return 0;
}

unsigned int conversor_ThreadCriarRelatoriosMapasNavegacao(void* lpArg)
{
    auto* pstThread = static_cast<ST_EstruturaThread*>(lpArg);
    const auto* pstJob = static_cast<const ST_ConversaoArquivos*>(pstThread->lpArgumento);
    const ST_ReceptorAvisos& stReceptor = pstThread->hHandleRetorno;
    pstThread->ucCancelarConversao.store(0);

    const bool bArquivoUnico =
        pstJob->iTipoSelecao == D_ARQUIVO_SELECAO_ARQUIVOS_TIPO_MULTI_ARQUIVOS && pstJob->iNumArquivos == 1;
    const bool bRelatorio = pstJob->iTipoConversao == D_CONVERSOR_TIPO_CONVERSAO_RELATORIO;
    const bool bExportacao = pstJob->iTipoConversao == D_CONVERSOR_TIPO_CONVERSAO_EXPORTACAO;
    // An export's outputs are named after its base, which is the report's name without ".txt".
    const int iTipoNomes = bExportacao ? D_CONVERSOR_TIPO_CONVERSAO_RELATORIO : pstJob->iTipoConversao;
    ST_DetalhesConversao stDetalhes;
    int iArquivo = 0;

    // Output names are settled for the whole list before the first file, so that no two files write
    // the same outputs.
    std::vector<std::string> vArquivos;
    conversor_PercorrerListaPaths(pstJob->iTipoSelecao, pstJob->pucVetorPaths, pstJob->iNumArquivos,
                                  [&](const std::string& szArquivo) {
                                      vArquivos.push_back(szArquivo);
                                      return true;
                                  });
    const std::vector<std::string> vSaidas = pstJob->vNomesSaida.size() == vArquivos.size()
                                                 ? pstJob->vNomesSaida
                                                 : conversor_NomesSaidaLote(vArquivos, iTipoNomes);

    for (std::size_t iIndice = 0; iIndice < vArquivos.size(); iIndice++)
    {
        const std::string& szArquivo = vArquivos[iIndice];
        const bool bContinuar = [&] {
            stDetalhes = ST_DetalhesConversao{};
            stDetalhes.iNumArquivoAtual = ++iArquivo;
            stDetalhes.iNumTotalArquivos = bArquivoUnico ? 1 : pstJob->iNumArquivos;
            stDetalhes.cNomeArquivo = szArquivo;
            stDetalhes.iTipoConversao = pstJob->iTipoConversao;
            stDetalhes.szNomeExportacao = pstJob->szNomeExportacao;

            BOOL bResultado = FALSE;
            ST_DiagnosticoValidacao stDiagnostico;
            if (!zavoro_DiagnosticarArquivoNavegacao(szArquivo.c_str(), &stDiagnostico))
            {
                stDetalhes.iStatus = D_CONVERSOR_STATUS_CONVERSAO_ERRO;
                stDetalhes.szMotivoErro = "arquivo inválido: " + zavoro_DescreverDiagnostico(stDiagnostico);
            }
            else
            {
                stDetalhes.iStatus = bRelatorio    ? D_CONVERSOR_STATUS_CONVERSAO_GERANDO_RELATORIO
                                     : bExportacao ? D_CONVERSOR_STATUS_CONVERSAO_GERANDO_EXPORTACAO
                                                   : D_CONVERSOR_STATUS_CONVERSAO_GERANDO_MAPA;
                conversor_RetornarDetalhesConversao(szArquivo.c_str(), &stDetalhes);
                if (stReceptor.pfConvertendoArquivos != nullptr)
                    stReceptor.pfConvertendoArquivos(stReceptor.pContexto, stDetalhes);

                std::string szErro;
                const std::string& szSaida = vSaidas[iIndice];
                const std::string szSaidaPadrao = conversor_NomeArquivoSaida(szArquivo, iTipoNomes);
                if (szSaida != szSaidaPadrao)
                    stDetalhes.szAvisoSaida = (bExportacao ? "Saídas gravadas com o nome " : "Saída gravada como ") +
                                              NomeSaida(szSaida, bExportacao) + ": outro arquivo do lote usa " +
                                              NomeSaida(szSaidaPadrao, bExportacao);
                if (bExportacao)
                    bResultado = pstJob->pfExportar ? pstJob->pfExportar(szArquivo, szSaida.substr(0, szSaida.size() - 4),
                                                                         &stDetalhes.vSaidas, &szErro)
                                                    : FALSE;
                else
                    bResultado = Converter(stDetalhes, *pstJob, szSaida, &szErro);
                if (bResultado)
                    stDetalhes.iStatus = bRelatorio    ? D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_RELATORIO_GERADO
                                         : bExportacao ? D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_EXPORTACAO
                                                       : D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO;
                else
                {
                    stDetalhes.iStatus = D_CONVERSOR_STATUS_CONVERSAO_ERRO;
                    stDetalhes.szMotivoErro = szErro;
                }
                if (!bArquivoUnico)
                    Pausar(pstThread, D_CONVERSOR_PAUSA_ARQUIVO_CONVERTIDO);
            }

            AvisarResultado(pstThread, stDetalhes);
            if (bArquivoUnico)
                return false;
            if (!bResultado)
                Pausar(pstThread, D_CONVERSOR_PAUSA_ARQUIVO_COM_ERRO);
            return pstThread->ucCancelarConversao.load() == 0;
        }();
        if (!bContinuar)
            break;
    }

    if (bArquivoUnico)
        Pausar(pstThread, D_CONVERSOR_PAUSA_ARQUIVO_CONVERTIDO);
    pstThread->iDesenharSegundoMapa.store(
        pstJob->iTipoConversao == D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA_COM_RECOMENDACAO ? 1 : 0);
    if (stReceptor.pfConversaoOk != nullptr)
        stReceptor.pfConversaoOk(stReceptor.pContexto);
    return 0;
}

std::string conversor_MontarBlocoResultado(const ST_DetalhesConversao& stDetalhes, const char* pcFimLinha)
{
    std::string szBloco;
    switch (stDetalhes.iTipoConversao)
    {
    case D_CONVERSOR_TIPO_CONVERSAO_RELATORIO:
        szBloco = "Relatório ";
        break;
    case D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE:
        szBloco = "Mapa de Velocidade ";
        break;
    case D_CONVERSOR_TIPO_CONVERSAO_EXPORTACAO:
        szBloco = "Exportação " + stDetalhes.szNomeExportacao + " ";
        break;
    default:
        szBloco = "Mapa de Cobertura ";
        break;
    }
    szBloco += std::to_string(stDetalhes.iNumArquivoAtual) + " de " + std::to_string(stDetalhes.iNumTotalArquivos) + ": ";

    constexpr const char* kErro = "ERRO - Tente Converter Novamente";
    const bool bSucesso = conversor_StatusSucesso(stDetalhes.iStatus);
    if (stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_RELATORIO_GERADO ||
        stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_EXPORTACAO)
        szBloco += "OK";
    else if (stDetalhes.iStatus == D_CONVERSOR_STATUS_CONVERSAO_SUCESSO_MAPA_GERADO)
        szBloco += stDetalhes.iErroImpressaoGuia == 0   ? "OK"
                   : stDetalhes.iErroImpressaoGuia == 1 ? "Mapa Gerado com erros na impressão de guias"
                                                        : kErro;
    else if (stDetalhes.iTipoConversao == D_CONVERSOR_TIPO_CONVERSAO_EXPORTACAO)
        szBloco += "ERRO - " + funcAux_EscaparControles(stDetalhes.szMotivoErro); // trying again seldom helps here
    else
        szBloco += kErro;
    szBloco += pcFimLinha;

    // Long paths keep their last 65 characters (counted as characters, not UTF-8 bytes).
    constexpr std::size_t kMaximoCaracteres = 65;
    const std::string szPath = funcAux_EscaparControles(stDetalhes.cNomeArquivo);
    std::size_t caracteres = 0;
    std::size_t posCorte = szPath.size();
    for (std::size_t i = szPath.size(); i > 0; i--)
    {
        if ((static_cast<unsigned char>(szPath[i - 1]) & 0xC0) == 0x80)
            continue; // continuation byte
        if (++caracteres > kMaximoCaracteres)
            break;
        posCorte = i - 1;
    }
    szBloco += "Arquivo de Navegação: ";
    szBloco += caracteres > kMaximoCaracteres ? "..." + szPath.substr(posCorte) : szPath;
    szBloco += pcFimLinha;
    if (!stDetalhes.szAvisoSaida.empty())
        szBloco += stDetalhes.szAvisoSaida + pcFimLinha;

    if (bSucesso)
    {
        szBloco += "Talhão: " + stDetalhes.cNomeTalhao + pcFimLinha;
        szBloco += "Evento: " + stDetalhes.cNomeEvento + pcFimLinha;
        for (const std::string& szSaida : stDetalhes.vSaidas)
            szBloco += "Gravado: " + funcAux_EscaparControles(szSaida) + pcFimLinha;
    }
    szBloco += std::string(177, '-') + pcFimLinha;
    return szBloco;
}
