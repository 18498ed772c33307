// The one walk over the container of a navigation file: container version, field, guide and boundary
// entries, event header. The converters walk it to find the parts; validation walks it with its
// checks switched on.
//
// Nothing read from the file is trusted: a length is checked against its limits and against the bytes
// left before the file's checksum byte before its entry is entered, and each record is read inside
// the bounds of its entry.
#include "zavoro/estrutura.h"

#include <cinttypes>
#include <cstdarg>

namespace
{
// What tells the guide list from the boundary list.
struct ST_TipoLista
{
    int iSecao;
    std::uint32_t ulMaximo;
    int iTamanhoMinimo;
    int iTamanhoMaximo;
    std::uint16_t usVersaoMinima;
    std::uint16_t usVersaoMaxima;
    const char* pcNome;   // "guia"
    const char* pcPlural; // "guias"
    const char* pcDe;     // "da guia"
    std::size_t (*pfTamanhoRegistro)(std::uint16_t usVersao);
};

constexpr ST_TipoLista kGuias = {D_ZAVORO_SECAO_GUIA,
                                 D_ZAVORO_NUMERO_MAXIMO_GUIAS,
                                 D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_GUIA,
                                 D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_GUIA,
                                 D_ZAVORO_VERSAO_MINIMA_ARQUIVO_GUIA,
                                 D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_GUIA,
                                 "guia",
                                 "guias",
                                 "da guia",
                                 [](std::uint16_t usVersao) -> std::size_t
                                 { return usVersao == 1 ? D_ZAVORO_TAMANHO_GUIA_V1 : sizeof(ST_Guia_v2); }};

constexpr ST_TipoLista kLimites = {D_ZAVORO_SECAO_LIMITE,
                                   D_ZAVORO_NUMERO_MAXIMO_LIMITES,
                                   D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_LIMITE,
                                   D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_LIMITE,
                                   D_ZAVORO_VERSAO_ARQUIVO_LIMITE,
                                   D_ZAVORO_VERSAO_ARQUIVO_LIMITE,
                                   "limite",
                                   "limites",
                                   "do limite",
                                   [](std::uint16_t) -> std::size_t { return sizeof(ST_Limite_v1); }};

// The entry's last byte is the XOR of the bytes before it.
bool ChecksumConfere(FuncAux_LeitorBinario& stLeitor, std::int32_t iTamanho)
{
    stLeitor.IniciarXor();
    const bool bLido = stLeitor.Pular(static_cast<std::uint64_t>(iTamanho) - 1);
    const unsigned char ucXor = stLeitor.TerminarXor();
    unsigned char ucChecksum = 0;
    return bLido && stLeitor.Ler(&ucChecksum) && ucChecksum == ucXor;
}

BOOL LerTamanho(FuncAux_LeitorBinario& stLeitor, int iSecao, long lEntrada, ST_EntradaNavegacao* pstEntrada,
                ST_DiagnosticoValidacao* pstDiag)
{
    pstEntrada->llInicio = static_cast<long long>(stLeitor.Posicao());
    if (!stLeitor.Ler(&pstEntrada->iTamanho))
        return zavoro_Reprovar(pstDiag, iSecao, lEntrada, pstEntrada->llInicio, D_ZAVORO_MOTIVO_TRUNCADO);
    return TRUE;
}

// Enters an entry whose length passed its limits: it must end before the file's checksum byte and,
// when validating, close with its own checksum. Leaves the reader bounded to the entry, after its
// length field; SairLimite(*pstFora) then leaves it at the entry's end.
BOOL EntrarEntrada(FuncAux_LeitorBinario& stLeitor, int iSecao, long lEntrada,
                   const ST_EntradaNavegacao& stEntrada, BOOL bValidar, ST_LimitesLeitura* pstFora,
                   ST_DiagnosticoValidacao* pstDiag)
{
    if (!zavoro_VerificarFimNoArquivo(stLeitor, iSecao, lEntrada, stEntrada.llInicio, stEntrada.iTamanho,
                                      pstDiag))
        return FALSE;
    if (bValidar && !ChecksumConfere(stLeitor, stEntrada.iTamanho))
        return zavoro_Reprovar(pstDiag, iSecao, lEntrada, stEntrada.llInicio, D_ZAVORO_MOTIVO_CHECKSUM_SECAO);
    if (!stLeitor.IrPara(static_cast<std::uint64_t>(stEntrada.llInicio) + 4) ||
        !stLeitor.Limitar(static_cast<std::uint64_t>(stEntrada.iTamanho), pstFora))
        return zavoro_Reprovar(pstDiag, iSecao, lEntrada, stEntrada.llInicio, D_ZAVORO_MOTIVO_TRUNCADO);
    return TRUE;
}

// One entry of a list up to its record: a length within the kind's limits, the entry's frame, a known
// version, and room for the record of that version and the checksum byte. Leaves the reader bounded to
// the entry, at the record.
BOOL EntrarEntradaLista(FuncAux_LeitorBinario& stLeitor, const ST_TipoLista& stTipo, long lEntrada,
                        BOOL bValidar, ST_EntradaNavegacao* pstEntrada, ST_LimitesLeitura* pstFora,
                        ST_DiagnosticoValidacao* pstDiag)
{
    const int S = stTipo.iSecao;
    if (!LerTamanho(stLeitor, S, lEntrada, pstEntrada, pstDiag))
        return FALSE;
    const long long p = pstEntrada->llInicio;
    const std::int32_t iTamanho = pstEntrada->iTamanho;
    if (iTamanho < stTipo.iTamanhoMinimo || iTamanho > stTipo.iTamanhoMaximo)
        return zavoro_Reprovar(pstDiag, S, lEntrada, p,
                               zavoro_Formatar("tamanho %s fora do limite (%" PRId32 " bytes; de %d a %d)",
                                               stTipo.pcDe, iTamanho, stTipo.iTamanhoMinimo,
                                               stTipo.iTamanhoMaximo));
    if (!EntrarEntrada(stLeitor, S, lEntrada, *pstEntrada, bValidar, pstFora, pstDiag))
        return FALSE;

    if (!stLeitor.Ler(&pstEntrada->usVersao))
        return zavoro_Reprovar(pstDiag, S, lEntrada, p + 4, D_ZAVORO_MOTIVO_TRUNCADO);
    const std::uint16_t usVersao = pstEntrada->usVersao;
    if (usVersao < stTipo.usVersaoMinima || usVersao > stTipo.usVersaoMaxima)
        return zavoro_Reprovar(pstDiag, S, lEntrada, p + 4,
                               zavoro_Formatar("versão %s desconhecida (%u)", stTipo.pcDe, usVersao));
    const std::size_t tamanhoRegistro = stTipo.pfTamanhoRegistro(usVersao);
    if (stLeitor.Restantes() < tamanhoRegistro + 1)
    {
        // Where a list holds several versions, the reason names the one that asked for the record.
        const std::string szEntrada = stTipo.usVersaoMinima == stTipo.usVersaoMaxima
                                          ? std::string(stTipo.pcNome)
                                          : zavoro_Formatar("%s de versão %u", stTipo.pcNome, usVersao);
        return zavoro_Reprovar(pstDiag, S, lEntrada, p,
                               zavoro_Formatar("%s menor que o seu registro (%" PRId32 " bytes; mínimo %d)",
                                               szEntrada.c_str(), iTamanho,
                                               static_cast<int>(2 + tamanhoRegistro + 1)));
    }
    return TRUE;
}

// A guide or boundary list: its count, then each entry, whose record fnRegistro reads (from the reader
// bounded to the entry) and checks. Entries read before a failure stay in *pv.
template <typename T_Entrada, typename T_FnRegistro>
BOOL PercorrerLista(FuncAux_LeitorBinario& stLeitor, const ST_TipoLista& stTipo, BOOL bValidar,
                    std::vector<T_Entrada>* pv, ST_DiagnosticoValidacao* pstDiag, T_FnRegistro fnRegistro)
{
    const long long p = static_cast<long long>(stLeitor.Posicao());
    std::uint32_t ulNumero = 0;
    if (!stLeitor.Ler(&ulNumero))
        return zavoro_Reprovar(pstDiag, stTipo.iSecao, 0, p, D_ZAVORO_MOTIVO_TRUNCADO);
    if (ulNumero > stTipo.ulMaximo)
        return zavoro_Reprovar(pstDiag, stTipo.iSecao, 0, p,
                               zavoro_Formatar("número de %s fora do limite (%" PRIu32 "; máximo %" PRIu32
                                               ")",
                                               stTipo.pcPlural, ulNumero, stTipo.ulMaximo));
    for (std::uint32_t i = 1; i <= ulNumero; i++)
    {
        const long lEntrada = static_cast<long>(i);
        T_Entrada st;
        ST_LimitesLeitura stFora;
        if (!EntrarEntradaLista(stLeitor, stTipo, lEntrada, bValidar, &st.stEntrada, &stFora, pstDiag) ||
            !fnRegistro(st, lEntrada))
            return FALSE;
        st.stEntrada.llDados = static_cast<long long>(stLeitor.Posicao());
        pv->push_back(st);
        if (!stLeitor.SairLimite(stFora))
            return zavoro_Reprovar(pstDiag, stTipo.iSecao, lEntrada, st.stEntrada.llInicio,
                                   D_ZAVORO_MOTIVO_TRUNCADO);
    }
    return TRUE;
}
} // namespace

BOOL zavoro_Reprovar(ST_DiagnosticoValidacao* pstDiag, int iSecao, long lEntrada, long long llPosicao,
                     std::string szMotivo, long lPonto)
{
    if (pstDiag != nullptr)
    {
        pstDiag->bValido = FALSE;
        pstDiag->iSecao = iSecao;
        pstDiag->lEntrada = lEntrada;
        pstDiag->lPonto = lPonto;
        pstDiag->llPosicao = llPosicao;
        pstDiag->szMotivo = std::move(szMotivo);
    }
    return FALSE;
}

std::string zavoro_Formatar(const char* pcFormato, ...)
{
    char szBuffer[256];
    va_list args;
    va_start(args, pcFormato);
    std::vsnprintf(szBuffer, sizeof szBuffer, pcFormato, args);
    va_end(args);
    return szBuffer;
}

BOOL zavoro_VerificarFimNoArquivo(const FuncAux_LeitorBinario& stLeitor, int iSecao, long lEntrada,
                                  long long llTamanho, std::int32_t iTamanho,
                                  ST_DiagnosticoValidacao* pstDiag)
{
    if (iTamanho < 0 || static_cast<std::uint64_t>(iTamanho) >= stLeitor.Restantes())
        return zavoro_Reprovar(
            pstDiag, iSecao, lEntrada, llTamanho,
            zavoro_Formatar("a seção declara %" PRId32 " bytes e ultrapassa o fim do arquivo", iTamanho));
    return TRUE;
}

BOOL zavoro_PercorrerTalhao(FuncAux_LeitorBinario& stLeitor, ST_EstruturaNavegacao* pst, BOOL bValidar,
                            ST_DiagnosticoValidacao* pstDiag)
{
    constexpr int S = D_ZAVORO_SECAO_TALHAO;
    ST_EntradaNavegacao stEntrada;
    if (!LerTamanho(stLeitor, S, 0, &stEntrada, pstDiag))
        return FALSE;
    const long long p = stEntrada.llInicio;
    if (stEntrada.iTamanho != D_ZAVORO_TAMANHO_ARQUIVO_TALHAO)
        return zavoro_Reprovar(pstDiag, S, 0, p,
                               zavoro_Formatar("tamanho da seção do talhão inválido (%" PRId32
                                               " bytes; esperado %d)",
                                               stEntrada.iTamanho, D_ZAVORO_TAMANHO_ARQUIVO_TALHAO));
    ST_LimitesLeitura stFora;
    if (!EntrarEntrada(stLeitor, S, 0, stEntrada, bValidar, &stFora, pstDiag))
        return FALSE;
    if (!stLeitor.Ler(&pst->usVersaoArquivoTalhao) || !stLeitor.Ler(&pst->stTalhao))
        return zavoro_Reprovar(pstDiag, S, 0, p + 4, D_ZAVORO_MOTIVO_TRUNCADO);
    if (pst->usVersaoArquivoTalhao != D_ZAVORO_VERSAO_ARQUIVO_TALHAO)
        return zavoro_Reprovar(
            pstDiag, S, 0, p + 4,
            zavoro_Formatar("versão do talhão desconhecida (%u)", pst->usVersaoArquivoTalhao));
    pst->bTalhaoLido = TRUE;
    if (bValidar && !zavoro_ValidarRegistroTalhao(pst->stTalhao, p + 6, pstDiag))
        return FALSE;
    if (!stLeitor.SairLimite(stFora))
        return zavoro_Reprovar(pstDiag, S, 0, p, D_ZAVORO_MOTIVO_TRUNCADO);
    return TRUE;
}

BOOL zavoro_PercorrerGuias(FuncAux_LeitorBinario& stLeitor, ST_EstruturaNavegacao* pst, BOOL bValidar,
                           ST_DiagnosticoValidacao* pstDiag)
{
    return PercorrerLista(stLeitor, kGuias, bValidar, &pst->vGuias, pstDiag,
                          [&](ST_GuiaNavegacao& st, long lEntrada)
                          {
                              const long long llRegistro = st.stEntrada.llInicio + 6;
                              if (!stLeitor.Ler(&st.stGuia, kGuias.pfTamanhoRegistro(st.stEntrada.usVersao)))
                                  return zavoro_Reprovar(pstDiag, kGuias.iSecao, lEntrada, llRegistro,
                                                         D_ZAVORO_MOTIVO_TRUNCADO);
                              if (bValidar &&
                                  !zavoro_ValidarRegistroGuia(st.stGuia, lEntrada, llRegistro, pstDiag))
                                  return FALSE;
                              if (st.stEntrada.usVersao == 1)
                                  st.stGuia.ucTipoGuia = pst->stTalhao.ucTipoGuia;
                              return TRUE;
                          });
}

BOOL zavoro_PercorrerLimites(FuncAux_LeitorBinario& stLeitor, ST_EstruturaNavegacao* pst, BOOL bValidar,
                             ST_DiagnosticoValidacao* pstDiag)
{
    return PercorrerLista(stLeitor, kLimites, bValidar, &pst->vLimites, pstDiag,
                          [&](ST_LimiteNavegacao& st, long lEntrada)
                          {
                              const long long llRegistro = st.stEntrada.llInicio + 6;
                              if (!stLeitor.Ler(&st.stLimite))
                                  return zavoro_Reprovar(pstDiag, kLimites.iSecao, lEntrada, llRegistro,
                                                         D_ZAVORO_MOTIVO_TRUNCADO);
                              return !bValidar ||
                                     zavoro_ValidarRegistroLimite(st.stLimite, lEntrada, llRegistro, pstDiag);
                          });
}

BOOL zavoro_PercorrerEntradas(FuncAux_LeitorBinario& stLeitor, ST_EstruturaNavegacao* pst, BOOL bValidar,
                              ST_DiagnosticoValidacao* pstDiag)
{
    const long long p = static_cast<long long>(stLeitor.Posicao());
    std::uint32_t& uiVersao = pst->uiVersaoArquivoNavegacao;
    if (!stLeitor.Ler(&uiVersao))
        return zavoro_Reprovar(pstDiag, D_ZAVORO_SECAO_ARQUIVO, 0, p, D_ZAVORO_MOTIVO_TRUNCADO);
    if (uiVersao != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_SEM_LIMITES &&
        uiVersao != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES)
        return zavoro_Reprovar(
            pstDiag, D_ZAVORO_SECAO_ARQUIVO, 0, p,
            zavoro_Formatar("versão do arquivo de navegação desconhecida (%" PRIu32 ")", uiVersao));
    return zavoro_PercorrerTalhao(stLeitor, pst, bValidar, pstDiag) &&
           zavoro_PercorrerGuias(stLeitor, pst, bValidar, pstDiag) &&
           (uiVersao != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES ||
            zavoro_PercorrerLimites(stLeitor, pst, bValidar, pstDiag));
}

BOOL zavoro_LerCabecalhoEvento(FuncAux_LeitorBinario& stLeitor, long long llTamanho, std::uint16_t* pusVersao,
                               ST_EventoCabecalho* pstCabecalho, ST_DiagnosticoValidacao* pstDiag)
{
    constexpr int S = D_ZAVORO_SECAO_EVENTO;
    if (!stLeitor.Ler(pusVersao) || !stLeitor.Ler(pstCabecalho))
        return zavoro_Reprovar(pstDiag, S, 0, llTamanho + 4, D_ZAVORO_MOTIVO_TRUNCADO);
    if (*pusVersao < D_ZAVORO_VERSAO_MINIMA_ARQUIVO_EVENTO ||
        *pusVersao > D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO)
        return zavoro_Reprovar(pstDiag, S, 0, llTamanho + 4,
                               zavoro_Formatar("versão do evento desconhecida (%u)", *pusVersao));
    return TRUE;
}

BOOL zavoro_PercorrerEstrutura(std::FILE* pf, ST_EstruturaNavegacao* pst, std::string* pszErro)
{
    *pst = ST_EstruturaNavegacao{};
    ST_DiagnosticoValidacao stDiag;
    BOOL bOk = FALSE;
    if (pf == nullptr || std::fseek(pf, 0, SEEK_SET) != 0)
        zavoro_Reprovar(&stDiag, D_ZAVORO_SECAO_ARQUIVO, 0, 0, "arquivo não aberto");
    else
    {
        // The event's length is validation's business; the converters need its version and header.
        FuncAux_LeitorBinario stLeitor(pf);
        std::int32_t iTamanhoEvento = 0;
        bOk = zavoro_PercorrerEntradas(stLeitor, pst, FALSE, &stDiag);
        const long long llEvento = static_cast<long long>(stLeitor.Posicao());
        if (bOk && !stLeitor.Ler(&iTamanhoEvento))
            bOk = zavoro_Reprovar(&stDiag, D_ZAVORO_SECAO_EVENTO, 0, llEvento, D_ZAVORO_MOTIVO_TRUNCADO);
        bOk = bOk && zavoro_LerCabecalhoEvento(stLeitor, llEvento, &pst->usVersaoArquivoEvento,
                                               &pst->stCabecalho, &stDiag);
        if (bOk)
            pst->lPrimeiraEtapa = static_cast<long>(stLeitor.Posicao());
    }
    if (!bOk && pszErro != nullptr)
        *pszErro = zavoro_DescreverDiagnostico(stDiag);
    return bOk;
}
