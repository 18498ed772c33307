// Validation of a navigation file: every checksum, version, count, length and plausibility bound,
// walked in file order; the first failing check rejects the file and says why and where.
//
// The container is walked by the converters' own walk (estrutura.cpp) with validation's checks on;
// this file adds what the records must say and the event section. A valid file is read once: the
// walk folds every byte into the whole-file checksum, and the event section, which holds nearly all
// of a file, into its own checksum as well.
#include <cinttypes>
#include <cstring>
#include <vector>

#include "zavoro/arquivo.h"
#include "zavoro/estrutura.h"
#include "zavoro/funcoesAuxiliares.h"

namespace
{
bool DataHoraValida(std::uint32_t ulDataHora)
{
    return ulDataHora > D_ZAVORO_DATA_HORA_MINIMA;
}

bool TextoValido(const char* pcCampo)
{
    return funcAux_VerificarValidadeString(reinterpret_cast<const unsigned char*>(pcCampo),
                                           D_ZAVORO_TAMANHO_STRING);
}

// The event section: its length, then its content read through the section's checksum. The checksum
// comes before any check of the content: a damaged section reports as such, whatever its damaged
// bytes happen to say.
BOOL ValidarEvento(FuncAux_LeitorBinario& stLeitor, ST_DiagnosticoValidacao* pstDiag)
{
    constexpr int S = D_ZAVORO_SECAO_EVENTO;
    const long long p = static_cast<long long>(stLeitor.Posicao());
    std::int32_t iTamanho;
    if (!stLeitor.Ler(&iTamanho))
        return zavoro_Reprovar(pstDiag, S, 0, p, D_ZAVORO_MOTIVO_TRUNCADO);
    if (iTamanho < D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_EVENTO ||
        iTamanho > D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_EVENTO)
        return zavoro_Reprovar(pstDiag, S, 0, p,
                               zavoro_Formatar("tamanho da seção do evento fora do limite (%" PRId32
                                               " bytes; de %d a %d)",
                                               iTamanho, D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_EVENTO,
                                               D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_EVENTO));
    if (!zavoro_VerificarFimNoArquivo(stLeitor, S, 0, p, iTamanho, pstDiag))
        return FALSE;
    // Bounded to the content, checksum byte left out; every byte read or skipped is folded.
    ST_LimitesLeitura stFora;
    if (!stLeitor.Limitar(static_cast<std::uint64_t>(iTamanho) - 1, &stFora))
        return zavoro_Reprovar(pstDiag, S, 0, p, D_ZAVORO_MOTIVO_TRUNCADO);
    stLeitor.IniciarXor();

    int iChecksum = -1; // the answer is kept: asked again, it is not read again
    auto ChecksumConfere = [&]()
    {
        if (iChecksum < 0)
        {
            const bool bLido = stLeitor.Pular(stLeitor.Restantes());
            const unsigned char ucXor = stLeitor.TerminarXor();
            unsigned char ucChecksum = 0;
            iChecksum =
                bLido && stLeitor.SairLimite(stFora) && stLeitor.Ler(&ucChecksum) && ucChecksum == ucXor;
        }
        return iChecksum == 1;
    };
    auto Rejeitar = [&](int iSecao, long lEntrada, long long llPosicao, std::string szMotivo, long lPonto = 0)
    {
        if (!ChecksumConfere())
            return zavoro_Reprovar(pstDiag, S, 0, p,
                                   stLeitor.ErroLeitura() ? D_ZAVORO_MOTIVO_TRUNCADO
                                                          : D_ZAVORO_MOTIVO_CHECKSUM_SECAO);
        return zavoro_Reprovar(pstDiag, iSecao, lEntrada, llPosicao, std::move(szMotivo), lPonto);
    };

    std::uint16_t usVersao;
    ST_EventoCabecalho stCabecalho;
    ST_DiagnosticoValidacao stFalha;
    if (!zavoro_LerCabecalhoEvento(stLeitor, p, &usVersao, &stCabecalho, &stFalha))
        return Rejeitar(stFalha.iSecao, stFalha.lEntrada, stFalha.llPosicao, stFalha.szMotivo);
    const long long r = p + 6;
    if (!DataHoraValida(stCabecalho.ulDataHoraInicioEvento))
        return Rejeitar(S, 0, r + offsetof(ST_EventoCabecalho, ulDataHoraInicioEvento),
                        zavoro_Formatar("data e hora de início do evento inválida (%" PRIu32 ")",
                                        stCabecalho.ulDataHoraInicioEvento));
    if (!DataHoraValida(stCabecalho.ulDataHoraInicioTalhao))
        return Rejeitar(S, 0, r + offsetof(ST_EventoCabecalho, ulDataHoraInicioTalhao),
                        zavoro_Formatar("data e hora do talhão no evento inválida (%" PRIu32 ")",
                                        stCabecalho.ulDataHoraInicioTalhao));
    if (stCabecalho.ulNumConfiguracoes > D_ZAVORO_NUMERO_MAXIMO_CONFIGURACOES)
        return Rejeitar(S, 0, r + offsetof(ST_EventoCabecalho, ulNumConfiguracoes),
                        zavoro_Formatar("número de etapas fora do limite (%" PRIu32 "; máximo %" PRIu32 ")",
                                        stCabecalho.ulNumConfiguracoes,
                                        D_ZAVORO_NUMERO_MAXIMO_CONFIGURACOES));
    if (!TextoValido(stCabecalho.szNomeEvento))
        return Rejeitar(S, 0, r + offsetof(ST_EventoCabecalho, szNomeEvento),
                        "nome do evento sem terminação");

    const std::size_t tamanhoBloco = static_cast<std::size_t>(zavoro_TamanhoConfiguracaoEvento(usVersao));
    const std::size_t tamanhoPonto = static_cast<std::size_t>(zavoro_TamanhoPontoNVG(usVersao));
    constexpr int E = D_ZAVORO_SECAO_ETAPA;
    ST_EventoConfig_v9 stConfig;
    for (std::uint32_t i = 1; i <= stCabecalho.ulNumConfiguracoes; i++)
    {
        const long long b = static_cast<long long>(stLeitor.Posicao());
        std::memset(&stConfig, 0, sizeof stConfig);
        if (!stLeitor.Ler(&stConfig, tamanhoBloco))
            return Rejeitar(E, i, b,
                            stLeitor.ErroLeitura()
                                ? D_ZAVORO_MOTIVO_TRUNCADO
                                : "o bloco de configuração ultrapassa o fim da seção do evento");
        struct
        {
            const char* pcCampo;
            std::size_t offset;
            const char* pcMotivo;
        } const textos[] = {
            {stConfig.szOperador, offsetof(ST_EventoConfig_v9, szOperador),
             "nome do operador sem terminação"},
            {stConfig.szMaquina, offsetof(ST_EventoConfig_v9, szMaquina), "nome da máquina sem terminação"},
            {stConfig.szCultura, offsetof(ST_EventoConfig_v9, szCultura), "nome da cultura sem terminação"},
        };
        for (const auto& t : textos)
            if (!TextoValido(t.pcCampo))
                return Rejeitar(E, i, b + static_cast<long long>(t.offset), t.pcMotivo);
        if (stConfig.ulNumeroPontosRastro > D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO)
            return Rejeitar(
                E, i, b + offsetof(ST_EventoConfig_v9, ulNumeroPontosRastro),
                zavoro_Formatar("número de pontos fora do limite (%" PRIu32 "; máximo %" PRIu32 ")",
                                stConfig.ulNumeroPontosRastro, D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO));
        std::uint8_t ucOperacao = zavoro_TraduzirOperacao(stConfig.ucOperacao, usVersao);
        if (usVersao >= 3 && ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
        {
            const decltype(textos) trabalho = {
                {stConfig.szNomeTrabalho, offsetof(ST_EventoConfig_v9, szNomeTrabalho),
                 "nome do trabalho sem terminação"},
                {stConfig.szMapaTrabalho, offsetof(ST_EventoConfig_v9, szMapaTrabalho),
                 "nome do mapa de trabalho sem terminação"},
                {stConfig.szParametroMapa, offsetof(ST_EventoConfig_v9, szParametroMapa),
                 "parâmetro do mapa sem terminação"},
            };
            for (const auto& t : trabalho)
                if (!TextoValido(t.pcCampo))
                    return Rejeitar(E, i, b + static_cast<long long>(t.offset), t.pcMotivo);
            if (stConfig.ucTipoTaxa > D_ZAVORO_TIPO_TAXA_VARIAVEL)
                return Rejeitar(E, i, b + offsetof(ST_EventoConfig_v9, ucTipoTaxa),
                                zavoro_Formatar("tipo de taxa inválido (%u; máximo %u)", stConfig.ucTipoTaxa,
                                                D_ZAVORO_TIPO_TAXA_VARIAVEL));
        }

        // Points carry nothing validation checks beyond their presence inside the section.
        const std::uint64_t ulCabem = stLeitor.Cabem(tamanhoPonto);
        if (stConfig.ulNumeroPontosRastro > ulCabem)
        {
            const long lPrimeiroFaltante = static_cast<long>(ulCabem) + 1;
            return Rejeitar(D_ZAVORO_SECAO_PONTO, i,
                            static_cast<long long>(stLeitor.Posicao() + ulCabem * tamanhoPonto),
                            zavoro_Formatar("a etapa declara %" PRIu32
                                            " pontos, que ultrapassam o fim da seção do evento",
                                            stConfig.ulNumeroPontosRastro),
                            lPrimeiroFaltante);
        }
        if (!stLeitor.Pular(std::uint64_t{stConfig.ulNumeroPontosRastro} * tamanhoPonto))
            return Rejeitar(D_ZAVORO_SECAO_PONTO, i, static_cast<long long>(stLeitor.Posicao()),
                            D_ZAVORO_MOTIVO_TRUNCADO);
    }

    if (!ChecksumConfere())
        return zavoro_Reprovar(pstDiag, S, 0, p,
                               stLeitor.ErroLeitura() ? D_ZAVORO_MOTIVO_TRUNCADO
                                                      : D_ZAVORO_MOTIVO_CHECKSUM_SECAO);
    return TRUE;
}

// A section validator over a file the caller holds, from its current position.
template <typename T_FnSecao>
BOOL ValidarSecao(std::FILE* pf, int iSecao, ST_DiagnosticoValidacao* pstDiag, T_FnSecao fnSecao)
{
    if (pf == nullptr)
        return zavoro_Reprovar(pstDiag, iSecao, 0, 0, "arquivo não aberto");
    FuncAux_LeitorBinario stLeitor(pf);
    ST_EstruturaNavegacao stEstrutura;
    return fnSecao(stLeitor, &stEstrutura);
}
} // namespace

BOOL zavoro_ValidarRegistroTalhao(const ST_Talhao& stTalhao, long long r, ST_DiagnosticoValidacao* pstDiag)
{
    constexpr int S = D_ZAVORO_SECAO_TALHAO;
    if (!TextoValido(stTalhao.szNomeTalhao))
        return zavoro_Reprovar(pstDiag, S, 0, r + offsetof(ST_Talhao, szNomeTalhao),
                               "nome do talhão sem terminação");
    if (!DataHoraValida(stTalhao.ulDataHoraInicio) || stTalhao.ulDataHoraInicio == 0xFFFFFFFFu)
        return zavoro_Reprovar(pstDiag, S, 0, r + offsetof(ST_Talhao, ulDataHoraInicio),
                               zavoro_Formatar("data e hora de criação do talhão inválida (%" PRIu32 ")",
                                               stTalhao.ulDataHoraInicio));
    if (stTalhao.ucTipoGuia > D_ZAVORO_TIPO_GUIA_MAXIMO_TALHAO)
        return zavoro_Reprovar(pstDiag, S, 0, r + offsetof(ST_Talhao, ucTipoGuia),
                               zavoro_Formatar("tipo de guia do talhão inválido (%u; máximo %u)",
                                               stTalhao.ucTipoGuia, D_ZAVORO_TIPO_GUIA_MAXIMO_TALHAO));
    return TRUE;
}

BOOL zavoro_ValidarRegistroGuia(const ST_Guia_v2& stGuia, long lEntrada, long long r,
                                ST_DiagnosticoValidacao* pstDiag)
{
    if (stGuia.usNumeroPontosCurva > D_ZAVORO_NUMERO_MAXIMO_PONTOS_CURVA)
        return zavoro_Reprovar(
            pstDiag, D_ZAVORO_SECAO_GUIA, lEntrada, r + offsetof(ST_Guia_v2, usNumeroPontosCurva),
            zavoro_Formatar("número de pontos da curva fora do limite (%u; máximo %" PRIu32 ")",
                            stGuia.usNumeroPontosCurva, D_ZAVORO_NUMERO_MAXIMO_PONTOS_CURVA));
    return TRUE;
}

BOOL zavoro_ValidarRegistroLimite(const ST_Limite_v1& stLimite, long lEntrada, long long r,
                                  ST_DiagnosticoValidacao* pstDiag)
{
    if (stLimite.usNumeroPontosLimite > D_ZAVORO_NUMERO_MAXIMO_PONTOS_LIMITE)
        return zavoro_Reprovar(
            pstDiag, D_ZAVORO_SECAO_LIMITE, lEntrada, r + offsetof(ST_Limite_v1, usNumeroPontosLimite),
            zavoro_Formatar("número de pontos do limite fora do limite (%u; máximo %" PRIu32 ")",
                            stLimite.usNumeroPontosLimite, D_ZAVORO_NUMERO_MAXIMO_PONTOS_LIMITE));
    return TRUE;
}

BOOL zavoro_ValidarArquivoNavegacaoTalhao(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag)
{
    return ValidarSecao(pf, D_ZAVORO_SECAO_TALHAO, pstDiag,
                        [&](FuncAux_LeitorBinario& l, ST_EstruturaNavegacao* pst)
                        { return zavoro_PercorrerTalhao(l, pst, TRUE, pstDiag); });
}

BOOL zavoro_ValidarArquivoNavegacaoGuia(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag)
{
    return ValidarSecao(pf, D_ZAVORO_SECAO_GUIA, pstDiag,
                        [&](FuncAux_LeitorBinario& l, ST_EstruturaNavegacao* pst)
                        { return zavoro_PercorrerGuias(l, pst, TRUE, pstDiag); });
}

BOOL zavoro_ValidarArquivoNavegacaoLimite(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag)
{
    return ValidarSecao(pf, D_ZAVORO_SECAO_LIMITE, pstDiag,
                        [&](FuncAux_LeitorBinario& l, ST_EstruturaNavegacao* pst)
                        { return zavoro_PercorrerLimites(l, pst, TRUE, pstDiag); });
}

BOOL zavoro_ValidarArquivoNavegacaoEvento(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag)
{
    return ValidarSecao(pf, D_ZAVORO_SECAO_EVENTO, pstDiag,
                        [&](FuncAux_LeitorBinario& l, ST_EstruturaNavegacao*)
                        { return ValidarEvento(l, pstDiag); });
}

BOOL zavoro_DiagnosticarArquivoNavegacaoAberto(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag)
{
    ST_DiagnosticoValidacao stLocal;
    if (pstDiag == nullptr)
        pstDiag = &stLocal;
    *pstDiag = ST_DiagnosticoValidacao{};
    constexpr int S = D_ZAVORO_SECAO_ARQUIVO;
    if (pf == nullptr || std::fseek(pf, 0, SEEK_SET) != 0)
        return zavoro_Reprovar(pstDiag, S, 0, 0, "arquivo não aberto");

    FuncAux_LeitorBinario stLeitor(pf);
    const long long llTamanho = stLeitor.Aberto() ? static_cast<long long>(stLeitor.Tamanho()) : -1;
    if (llTamanho > D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_NAVEGACAO ||
        llTamanho < D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_NAVEGACAO)
        return zavoro_Reprovar(pstDiag, S, 0, 0,
                               zavoro_Formatar("tamanho do arquivo fora do limite (%lld bytes; de %ld a %ld)",
                                               llTamanho, D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_NAVEGACAO,
                                               D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_NAVEGACAO));
    // One read: the walk folds every byte into the file's checksum as it goes. The file's checksum is
    // still the first verdict: a walk that failed, or left bytes unread, is followed by a read of the
    // whole file for it.
    auto ChecksumArquivoConfere = [&]
    {
        std::clearerr(pf);
        return std::fseek(pf, 0, SEEK_SET) == 0 && arquivo_VerificarChecksum(pf, static_cast<int>(llTamanho));
    };
    const std::uint64_t ulUltimo = static_cast<std::uint64_t>(llTamanho) - 1;
    stLeitor.IniciarXorArquivo();
    ST_EstruturaNavegacao stEstrutura;
    const BOOL bPercorrido =
        zavoro_PercorrerEntradas(stLeitor, &stEstrutura, TRUE, pstDiag) && ValidarEvento(stLeitor, pstDiag);
    unsigned char ucXor = 0;
    unsigned char ucChecksum = 0;
    const bool bChecksum = bPercorrido && stLeitor.XorArquivo(ulUltimo, &ucXor) && stLeitor.IrPara(ulUltimo) &&
                                   stLeitor.Ler(&ucChecksum)
                               ? ucChecksum == ucXor
                               : ChecksumArquivoConfere();
    if (!bChecksum)
        return zavoro_Reprovar(pstDiag, S, 0, llTamanho - 1, "soma de verificação do arquivo incorreta");
    return bPercorrido;
}

BOOL zavoro_DiagnosticarArquivoNavegacao(const char* pcArquivo, ST_DiagnosticoValidacao* pstDiag)
{
    if (pcArquivo == nullptr)
        return zavoro_Reprovar(pstDiag, D_ZAVORO_SECAO_ARQUIVO, 0, 0, "não é um arquivo");
    std::string szMotivo;
    // The checksums read the whole file.
    std::vector<char> vBuffer(D_FUNCAUX_TAMANHO_BUFFER_LEITURA);
    FuncAux_ArquivoLeitura pf = funcAux_AbrirLeitura(pcArquivo, &szMotivo, vBuffer);
    if (!pf)
        return zavoro_Reprovar(pstDiag, D_ZAVORO_SECAO_ARQUIVO, 0, 0, "não foi possível abrir o arquivo: " + szMotivo);
    return zavoro_DiagnosticarArquivoNavegacaoAberto(pf.get(), pstDiag);
}

BOOL zavoro_ValidarArquivoNavegacao(const char* pcArquivo)
{
    return zavoro_DiagnosticarArquivoNavegacao(pcArquivo, nullptr);
}

std::string zavoro_DescreverDiagnostico(const ST_DiagnosticoValidacao& stDiag)
{
    if (stDiag.bValido)
        return "válido";
    static const char* const kNomes[] = {"arquivo", "talhão", "guia", "limite", "evento", "etapa", "etapa"};
    int iSecao =
        stDiag.iSecao >= 0 && stDiag.iSecao < static_cast<int>(std::size(kNomes)) ? stDiag.iSecao : 0;
    std::string szTexto = kNomes[iSecao];
    if (stDiag.lEntrada > 0)
        szTexto += " " + std::to_string(stDiag.lEntrada);
    if (stDiag.iSecao == D_ZAVORO_SECAO_PONTO && stDiag.lPonto > 0)
        szTexto += ", ponto " + std::to_string(stDiag.lPonto);
    szTexto += " (byte " + std::to_string(stDiag.llPosicao) + "): " + stDiag.szMotivo;
    return szTexto;
}
