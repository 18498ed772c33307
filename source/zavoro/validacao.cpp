// Validation of a navigation file: every checksum, version, count, length and plausibility bound,
// walked in file order; the first failing check rejects the file and says why and where.
//
// Nothing read from the file is trusted: every length is checked against the bytes that remain
// before a single byte of its entry is read, and no read crosses the end of the entry it belongs to.
// The file is read at most twice (the whole-file checksum, then the walk); the event section, which
// holds nearly all of a file, is checksummed while it is walked.
#include <cinttypes>
#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "funcoesAuxiliares/leituraArquivo.h"
#include "zavoro/arquivo.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/zavoro.h"

namespace
{
constexpr std::size_t kTamanhoBuffer = 65536;


std::string Formatar(const char* pcFormato, ...) __attribute__((format(printf, 1, 2)));
std::string Formatar(const char* pcFormato, ...)
{
    // Integers only: no locale-dependent conversions pass through here.
    char szBuffer[256];
    va_list args;
    va_start(args, pcFormato);
    std::vsnprintf(szBuffer, sizeof szBuffer, pcFormato, args);
    va_end(args);
    return szBuffer;
}

BOOL Falhar(ST_DiagnosticoValidacao* pstDiag, int iSecao, long lEntrada, long long llPosicao, std::string szMotivo,
            long lPonto = 0)
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


long long TamanhoArquivo(std::FILE* pf)
{
    long lAtual = std::ftell(pf);
    if (lAtual < 0 || std::fseek(pf, 0, SEEK_END) != 0)
        return -1;
    long lTamanho = std::ftell(pf);
    std::fseek(pf, lAtual, SEEK_SET);
    return lTamanho;
}

bool DataHoraValida(std::uint32_t ulDataHora)
{
    return ulDataHora > D_ZAVORO_DATA_HORA_MINIMA;
}

bool TextoValido(const char* pcCampo)
{
    return funcAux_VerificarValidadeString(reinterpret_cast<const unsigned char*>(pcCampo), D_ZAVORO_TAMANHO_STRING);
}

const std::string kMotivoTruncado = "o arquivo termina antes do fim da seção";
const std::string kMotivoChecksumSecao = "soma de verificação da seção incorreta";

// Common frame of a length-prefixed entry (field, guide, boundary): the entry must fit in the file
// before its last byte (the file checksum), and its own checksum must hold. Leaves the position at the
// first byte after the length field.
BOOL VerificarEntrada(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag, int iSecao, long lEntrada,
                      long long llPosTamanho, std::int32_t iTamanho)
{
    long long llTamanhoArquivo = TamanhoArquivo(pf);
    long long llInicio = llPosTamanho + 4;
    if (llTamanhoArquivo < 0 || llInicio + iTamanho > llTamanhoArquivo - 1)
        return Falhar(pstDiag, iSecao, lEntrada, llPosTamanho,
                      Formatar("a seção declara %" PRId32 " bytes e ultrapassa o fim do arquivo", iTamanho));
    if (!arquivo_VerificarChecksum(pf, iTamanho))
        return Falhar(pstDiag, iSecao, lEntrada, llPosTamanho, kMotivoChecksumSecao);
    if (std::fseek(pf, static_cast<long>(llInicio), SEEK_SET) != 0)
        return Falhar(pstDiag, iSecao, lEntrada, llPosTamanho, kMotivoTruncado);
    return TRUE;
}

// Bounded reader over the content of the event section that folds every byte it hands out into the
// section's checksum. A read that would cross the end of the section is refused.
class LeitorSecaoEvento
{
  public:
    LeitorSecaoEvento(std::FILE* pf, long long llInicio, long long llTamanhoConteudo)
        : m_pf(pf), m_llPosicao(llInicio), m_llRestante(llTamanhoConteudo)
    {
    }

    long long Posicao() const { return m_llPosicao; }
    long long Restante() const { return m_llRestante; }
    bool ErroLeitura() const { return m_bErroLeitura; }

    bool funcAux_Ler(void* pDestino, std::size_t tamanho)
    {
        if (static_cast<long long>(tamanho) > m_llRestante)
            return false;
        if (std::fread(pDestino, 1, tamanho, m_pf) != tamanho)
        {
            m_bErroLeitura = true;
            return false;
        }
        m_ucXor = arquivo_CalcularXor(static_cast<const unsigned char*>(pDestino), tamanho, m_ucXor);
        Avancar(static_cast<long long>(tamanho));
        return true;
    }

    bool Pular(long long llTamanho)
    {
        if (llTamanho > m_llRestante)
            return false;
        while (llTamanho > 0)
        {
            std::size_t bloco = static_cast<std::size_t>(std::min<long long>(llTamanho, kTamanhoBuffer));
            if (!funcAux_Ler(m_vBuffer.data(), bloco))
                return false;
            llTamanho -= static_cast<long long>(bloco);
        }
        return true;
    }

    // Folds what is left of the content (bytes after the last point are allowed) and compares the
    // result with the checksum byte. The answer is kept: later calls return it without reading.
    bool ChecksumConfere()
    {
        if (m_iChecksum < 0)
        {
            unsigned char ucChecksum = 0;
            bool bOk = Pular(m_llRestante) && std::fread(&ucChecksum, 1, 1, m_pf) == 1;
            if (!bOk)
                m_bErroLeitura = true;
            m_iChecksum = bOk && ucChecksum == m_ucXor ? 1 : 0;
        }
        return m_iChecksum == 1;
    }

  private:
    void Avancar(long long n)
    {
        m_llPosicao += n;
        m_llRestante -= n;
    }

    std::FILE* m_pf;
    long long m_llPosicao;
    long long m_llRestante;
    unsigned char m_ucXor = 0;
    int m_iChecksum = -1;
    bool m_bErroLeitura = false;
    std::vector<unsigned char> m_vBuffer = std::vector<unsigned char>(kTamanhoBuffer);
};

} // namespace

BOOL zavoro_ValidarArquivoNavegacaoTalhao(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag)
{
    constexpr int S = D_ZAVORO_SECAO_TALHAO;
    if (pf == nullptr)
        return Falhar(pstDiag, S, 0, 0, "arquivo não aberto");
    long long p = std::ftell(pf);
    std::int32_t iTamanho;
    if (!funcAux_Ler(pf, &iTamanho))
        return Falhar(pstDiag, S, 0, p, kMotivoTruncado);
    if (iTamanho != D_ZAVORO_TAMANHO_ARQUIVO_TALHAO)
        return Falhar(pstDiag, S, 0, p,
                      Formatar("tamanho da seção do talhão inválido (%" PRId32 " bytes; esperado %d)", iTamanho,
                               D_ZAVORO_TAMANHO_ARQUIVO_TALHAO));
    if (!VerificarEntrada(pf, pstDiag, S, 0, p, iTamanho))
        return FALSE;

    std::uint16_t usVersao;
    ST_Talhao stTalhao;
    if (!funcAux_Ler(pf, &usVersao) || !funcAux_Ler(pf, &stTalhao))
        return Falhar(pstDiag, S, 0, p + 4, kMotivoTruncado);
    long long r = p + 6; // start of the record
    if (usVersao != D_ZAVORO_VERSAO_ARQUIVO_TALHAO)
        return Falhar(pstDiag, S, 0, p + 4, Formatar("versão do talhão desconhecida (%u)", usVersao));
    if (!TextoValido(stTalhao.szNomeTalhao))
        return Falhar(pstDiag, S, 0, r + offsetof(ST_Talhao, szNomeTalhao), "nome do talhão sem terminação");
    if (!DataHoraValida(stTalhao.ulDataHoraInicio) || stTalhao.ulDataHoraInicio == 0xFFFFFFFFu)
        return Falhar(pstDiag, S, 0, r + offsetof(ST_Talhao, ulDataHoraInicio),
                      Formatar("data e hora de criação do talhão inválida (%" PRIu32 ")", stTalhao.ulDataHoraInicio));
    if (stTalhao.ucTipoGuia > D_ZAVORO_TIPO_GUIA_MAXIMO_TALHAO)
        return Falhar(pstDiag, S, 0, r + offsetof(ST_Talhao, ucTipoGuia),
                      Formatar("tipo de guia do talhão inválido (%u; máximo %u)", stTalhao.ucTipoGuia,
                               D_ZAVORO_TIPO_GUIA_MAXIMO_TALHAO));
    std::fseek(pf, static_cast<long>(p + 4 + iTamanho), SEEK_SET);
    return TRUE;
}

BOOL zavoro_ValidarArquivoNavegacaoGuia(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag)
{
    constexpr int S = D_ZAVORO_SECAO_GUIA;
    if (pf == nullptr)
        return Falhar(pstDiag, S, 0, 0, "arquivo não aberto");
    long long p = std::ftell(pf);
    std::uint32_t ulNumeroGuias;
    if (!funcAux_Ler(pf, &ulNumeroGuias))
        return Falhar(pstDiag, S, 0, p, kMotivoTruncado);
    if (ulNumeroGuias > D_ZAVORO_NUMERO_MAXIMO_GUIAS)
        return Falhar(pstDiag, S, 0, p,
                      Formatar("número de guias fora do limite (%" PRIu32 "; máximo %" PRIu32 ")", ulNumeroGuias,
                               D_ZAVORO_NUMERO_MAXIMO_GUIAS));

    for (std::uint32_t i = 1; i <= ulNumeroGuias; i++)
    {
        long long llPos = std::ftell(pf);
        std::int32_t iTamanho;
        if (!funcAux_Ler(pf, &iTamanho))
            return Falhar(pstDiag, S, i, llPos, kMotivoTruncado);
        if (iTamanho < D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_GUIA || iTamanho > D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_GUIA)
            return Falhar(pstDiag, S, i, llPos,
                          Formatar("tamanho da guia fora do limite (%" PRId32 " bytes; de %d a %d)", iTamanho,
                                   D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_GUIA, D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_GUIA));
        if (!VerificarEntrada(pf, pstDiag, S, i, llPos, iTamanho))
            return FALSE;

        std::uint16_t usVersao;
        if (!funcAux_Ler(pf, &usVersao))
            return Falhar(pstDiag, S, i, llPos + 4, kMotivoTruncado);
        if (usVersao < D_ZAVORO_VERSAO_MINIMA_ARQUIVO_GUIA || usVersao > D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_GUIA)
            return Falhar(pstDiag, S, i, llPos + 4, Formatar("versão da guia desconhecida (%u)", usVersao));
        // The entry must hold at least the version, the record of its version and the checksum byte.
        int iRegistro = usVersao == 1 ? D_ZAVORO_TAMANHO_GUIA_V1 : static_cast<int>(sizeof(ST_Guia_v2));
        if (iTamanho < 2 + iRegistro + 1)
            return Falhar(pstDiag, S, i, llPos,
                          Formatar("guia de versão %u menor que o seu registro (%" PRId32 " bytes; mínimo %d)",
                                   usVersao, iTamanho, 2 + iRegistro + 1));
        ST_Guia_v2 stGuia{};
        if (std::fread(&stGuia, 1, static_cast<std::size_t>(iRegistro), pf) != static_cast<std::size_t>(iRegistro))
            return Falhar(pstDiag, S, i, llPos + 6, kMotivoTruncado);
        if (stGuia.usNumeroPontosCurva > D_ZAVORO_NUMERO_MAXIMO_PONTOS_CURVA)
            return Falhar(pstDiag, S, i, llPos + 6 + offsetof(ST_Guia_v2, usNumeroPontosCurva),
                          Formatar("número de pontos da curva fora do limite (%u; máximo %" PRIu32 ")",
                                   stGuia.usNumeroPontosCurva, D_ZAVORO_NUMERO_MAXIMO_PONTOS_CURVA));
        std::fseek(pf, static_cast<long>(llPos + 4 + iTamanho), SEEK_SET);
    }
    return TRUE;
}

BOOL zavoro_ValidarArquivoNavegacaoLimite(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag)
{
    constexpr int S = D_ZAVORO_SECAO_LIMITE;
    if (pf == nullptr)
        return Falhar(pstDiag, S, 0, 0, "arquivo não aberto");
    long long p = std::ftell(pf);
    std::uint32_t ulNumeroLimites;
    if (!funcAux_Ler(pf, &ulNumeroLimites))
        return Falhar(pstDiag, S, 0, p, kMotivoTruncado);
    if (ulNumeroLimites > D_ZAVORO_NUMERO_MAXIMO_LIMITES)
        return Falhar(pstDiag, S, 0, p,
                      Formatar("número de limites fora do limite (%" PRIu32 "; máximo %" PRIu32 ")",
                               ulNumeroLimites, D_ZAVORO_NUMERO_MAXIMO_LIMITES));

    for (std::uint32_t i = 1; i <= ulNumeroLimites; i++)
    {
        long long llPos = std::ftell(pf);
        std::int32_t iTamanho;
        if (!funcAux_Ler(pf, &iTamanho))
            return Falhar(pstDiag, S, i, llPos, kMotivoTruncado);
        if (iTamanho < D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_LIMITE || iTamanho > D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_LIMITE)
            return Falhar(pstDiag, S, i, llPos,
                          Formatar("tamanho do limite fora do limite (%" PRId32 " bytes; de %d a %d)", iTamanho,
                                   D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_LIMITE, D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_LIMITE));
        if (!VerificarEntrada(pf, pstDiag, S, i, llPos, iTamanho))
            return FALSE;

        std::uint16_t usVersao;
        if (!funcAux_Ler(pf, &usVersao))
            return Falhar(pstDiag, S, i, llPos + 4, kMotivoTruncado);
        if (usVersao != D_ZAVORO_VERSAO_ARQUIVO_LIMITE)
            return Falhar(pstDiag, S, i, llPos + 4, Formatar("versão do limite desconhecida (%u)", usVersao));
        constexpr int iMinimo = 2 + static_cast<int>(sizeof(ST_Limite_v1)) + 1;
        if (iTamanho < iMinimo)
            return Falhar(pstDiag, S, i, llPos,
                          Formatar("limite menor que o seu registro (%" PRId32 " bytes; mínimo %d)", iTamanho,
                                   iMinimo));
        ST_Limite_v1 stLimite;
        if (!funcAux_Ler(pf, &stLimite))
            return Falhar(pstDiag, S, i, llPos + 6, kMotivoTruncado);
        if (stLimite.usNumeroPontosLimite > D_ZAVORO_NUMERO_MAXIMO_PONTOS_LIMITE)
            return Falhar(pstDiag, S, i, llPos + 6 + offsetof(ST_Limite_v1, usNumeroPontosLimite),
                          Formatar("número de pontos do limite fora do limite (%u; máximo %" PRIu32 ")",
                                   stLimite.usNumeroPontosLimite, D_ZAVORO_NUMERO_MAXIMO_PONTOS_LIMITE));
        std::fseek(pf, static_cast<long>(llPos + 4 + iTamanho), SEEK_SET);
    }
    return TRUE;
}

BOOL zavoro_ValidarArquivoNavegacaoEvento(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag)
{
    constexpr int S = D_ZAVORO_SECAO_EVENTO;
    if (pf == nullptr)
        return Falhar(pstDiag, S, 0, 0, "arquivo não aberto");
    long long p = std::ftell(pf);
    std::int32_t iTamanho;
    if (!funcAux_Ler(pf, &iTamanho))
        return Falhar(pstDiag, S, 0, p, kMotivoTruncado);
    if (iTamanho < D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_EVENTO || iTamanho > D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_EVENTO)
        return Falhar(pstDiag, S, 0, p,
                      Formatar("tamanho da seção do evento fora do limite (%" PRId32 " bytes; de %d a %d)", iTamanho,
                               D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_EVENTO, D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_EVENTO));
    long long llTamanhoArquivo = TamanhoArquivo(pf);
    if (llTamanhoArquivo < 0 || p + 4 + iTamanho > llTamanhoArquivo - 1)
        return Falhar(pstDiag, S, 0, p,
                      Formatar("a seção declara %" PRId32 " bytes e ultrapassa o fim do arquivo", iTamanho));

    LeitorSecaoEvento stLeitor(pf, p + 4, iTamanho - 1);
    // The section's checksum comes before any check of its content: a damaged section reports as
    // such, whatever its damaged bytes happen to say.
    auto Rejeitar = [&](int iSecao, long lEntrada, long long llPosicao, std::string szMotivo, long lPonto = 0) {
        if (!stLeitor.ChecksumConfere())
            return Falhar(pstDiag, S, 0, p, stLeitor.ErroLeitura() ? kMotivoTruncado : kMotivoChecksumSecao);
        return Falhar(pstDiag, iSecao, lEntrada, llPosicao, std::move(szMotivo), lPonto);
    };

    std::uint16_t usVersao;
    ST_EventoCabecalho stCabecalho;
    if (!stLeitor.funcAux_Ler(&usVersao, sizeof usVersao) || !stLeitor.funcAux_Ler(&stCabecalho, sizeof stCabecalho))
        return Rejeitar(S, 0, p + 4, kMotivoTruncado);
    if (usVersao < D_ZAVORO_VERSAO_MINIMA_ARQUIVO_EVENTO || usVersao > D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO)
        return Rejeitar(S, 0, p + 4, Formatar("versão do evento desconhecida (%u)", usVersao));
    long long r = p + 6;
    if (!DataHoraValida(stCabecalho.ulDataHoraInicioEvento))
        return Rejeitar(S, 0, r + offsetof(ST_EventoCabecalho, ulDataHoraInicioEvento),
                        Formatar("data e hora de início do evento inválida (%" PRIu32 ")",
                                 stCabecalho.ulDataHoraInicioEvento));
    if (!DataHoraValida(stCabecalho.ulDataHoraInicioTalhao))
        return Rejeitar(S, 0, r + offsetof(ST_EventoCabecalho, ulDataHoraInicioTalhao),
                        Formatar("data e hora do talhão no evento inválida (%" PRIu32 ")",
                                 stCabecalho.ulDataHoraInicioTalhao));
    if (stCabecalho.ulNumConfiguracoes > D_ZAVORO_NUMERO_MAXIMO_CONFIGURACOES)
        return Rejeitar(S, 0, r + offsetof(ST_EventoCabecalho, ulNumConfiguracoes),
                        Formatar("número de etapas fora do limite (%" PRIu32 "; máximo %" PRIu32 ")",
                                 stCabecalho.ulNumConfiguracoes, D_ZAVORO_NUMERO_MAXIMO_CONFIGURACOES));
    if (!TextoValido(stCabecalho.szNomeEvento))
        return Rejeitar(S, 0, r + offsetof(ST_EventoCabecalho, szNomeEvento), "nome do evento sem terminação");

    const std::size_t tamanhoBloco = static_cast<std::size_t>(zavoro_TamanhoConfiguracaoEvento(usVersao));
    const long long llTamanhoPonto = zavoro_TamanhoPontoNVG(usVersao);
    constexpr int E = D_ZAVORO_SECAO_ETAPA;
    ST_EventoConfig_v9 stConfig;
    for (std::uint32_t i = 1; i <= stCabecalho.ulNumConfiguracoes; i++)
    {
        long long b = stLeitor.Posicao();
        std::memset(&stConfig, 0, sizeof stConfig);
        if (!stLeitor.funcAux_Ler(&stConfig, tamanhoBloco))
            return Rejeitar(E, i, b,
                            stLeitor.ErroLeitura()
                                ? kMotivoTruncado
                                : "o bloco de configuração ultrapassa o fim da seção do evento");
        struct
        {
            const char* pcCampo;
            std::size_t offset;
            const char* pcMotivo;
        } const textos[] = {
            {stConfig.szOperador, offsetof(ST_EventoConfig_v9, szOperador), "nome do operador sem terminação"},
            {stConfig.szMaquina, offsetof(ST_EventoConfig_v9, szMaquina), "nome da máquina sem terminação"},
            {stConfig.szCultura, offsetof(ST_EventoConfig_v9, szCultura), "nome da cultura sem terminação"},
        };
        for (const auto& t : textos)
            if (!TextoValido(t.pcCampo))
                return Rejeitar(E, i, b + static_cast<long long>(t.offset), t.pcMotivo);
        if (stConfig.ulNumeroPontosRastro > D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO)
            return Rejeitar(E, i, b + offsetof(ST_EventoConfig_v9, ulNumeroPontosRastro),
                            Formatar("número de pontos fora do limite (%" PRIu32 "; máximo %" PRIu32 ")",
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
                                Formatar("tipo de taxa inválido (%u; máximo %u)", stConfig.ucTipoTaxa,
                                         D_ZAVORO_TIPO_TAXA_VARIAVEL));
        }

        // Points carry nothing validation checks beyond their presence inside the section.
        long long llBytesPontos = static_cast<long long>(stConfig.ulNumeroPontosRastro) * llTamanhoPonto;
        if (llBytesPontos > stLeitor.Restante())
        {
            long lPrimeiroFaltante = static_cast<long>(stLeitor.Restante() / llTamanhoPonto) + 1;
            return Rejeitar(D_ZAVORO_SECAO_PONTO, i, stLeitor.Posicao() + (lPrimeiroFaltante - 1) * llTamanhoPonto,
                            Formatar("a etapa declara %" PRIu32 " pontos, que ultrapassam o fim da seção do evento",
                                     stConfig.ulNumeroPontosRastro),
                            lPrimeiroFaltante);
        }
        if (!stLeitor.Pular(llBytesPontos))
            return Rejeitar(D_ZAVORO_SECAO_PONTO, i, stLeitor.Posicao(), kMotivoTruncado);
    }

    if (!stLeitor.ChecksumConfere())
        return Falhar(pstDiag, S, 0, p, stLeitor.ErroLeitura() ? kMotivoTruncado : kMotivoChecksumSecao);
    std::fseek(pf, static_cast<long>(p + 4 + iTamanho), SEEK_SET);
    return TRUE;
}

BOOL zavoro_DiagnosticarArquivoNavegacaoAberto(std::FILE* pf, ST_DiagnosticoValidacao* pstDiag)
{
    ST_DiagnosticoValidacao stLocal;
    if (pstDiag == nullptr)
        pstDiag = &stLocal;
    *pstDiag = ST_DiagnosticoValidacao{};
    constexpr int S = D_ZAVORO_SECAO_ARQUIVO;
    if (pf == nullptr || std::fseek(pf, 0, SEEK_SET) != 0)
        return Falhar(pstDiag, S, 0, 0, "arquivo não aberto");

    long long llTamanho = TamanhoArquivo(pf);
    if (llTamanho > D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_NAVEGACAO || llTamanho < D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_NAVEGACAO)
        return Falhar(pstDiag, S, 0, 0,
                      Formatar("tamanho do arquivo fora do limite (%lld bytes; de %ld a %ld)", llTamanho,
                               D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_NAVEGACAO, D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_NAVEGACAO));
    if (!arquivo_VerificarChecksum(pf, static_cast<int>(llTamanho)))
        return Falhar(pstDiag, S, 0, llTamanho - 1, "soma de verificação do arquivo incorreta");

    std::fseek(pf, 0, SEEK_SET);
    std::uint32_t uiVersao;
    if (!funcAux_Ler(pf, &uiVersao))
        return Falhar(pstDiag, S, 0, 0, kMotivoTruncado);
    if (uiVersao != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_SEM_LIMITES &&
        uiVersao != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES)
        return Falhar(pstDiag, S, 0, 0,
                      Formatar("versão do arquivo de navegação desconhecida (%" PRIu32 ")", uiVersao));

    if (!zavoro_ValidarArquivoNavegacaoTalhao(pf, pstDiag) || !zavoro_ValidarArquivoNavegacaoGuia(pf, pstDiag))
        return FALSE;
    if (uiVersao == D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES && !zavoro_ValidarArquivoNavegacaoLimite(pf, pstDiag))
        return FALSE;
    return zavoro_ValidarArquivoNavegacaoEvento(pf, pstDiag);
}

BOOL zavoro_DiagnosticarArquivoNavegacao(const char* pcArquivo, ST_DiagnosticoValidacao* pstDiag)
{
    std::error_code ec;
    if (pcArquivo == nullptr || std::filesystem::is_directory(pcArquivo, ec))
        return Falhar(pstDiag, D_ZAVORO_SECAO_ARQUIVO, 0, 0, "não é um arquivo");
    FuncAux_ArquivoLeitura pf = funcAux_AbrirLeitura(pcArquivo);
    if (!pf)
        return Falhar(pstDiag, D_ZAVORO_SECAO_ARQUIVO, 0, 0, "não foi possível abrir o arquivo");
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
    int iSecao = stDiag.iSecao >= 0 && stDiag.iSecao < static_cast<int>(std::size(kNomes)) ? stDiag.iSecao : 0;
    std::string szTexto = kNomes[iSecao];
    if (stDiag.lEntrada > 0)
        szTexto += " " + std::to_string(stDiag.lEntrada);
    if (stDiag.iSecao == D_ZAVORO_SECAO_PONTO && stDiag.lPonto > 0)
        szTexto += ", ponto " + std::to_string(stDiag.lPonto);
    szTexto += " (byte " + std::to_string(stDiag.llPosicao) + "): " + stDiag.szMotivo;
    return szTexto;
}
