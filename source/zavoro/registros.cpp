// Layout of the stored records, the per-version size tables and the decoding of stored codes.

#include "zavoro/zavoro.h"


namespace
{
constexpr int kTamanhosConfiguracao[] = {148, 216, 444, 744, 752, 752, 784, 1112, 1112};
static_assert(kTamanhosConfiguracao[0] == sizeof(ST_EventoConfig_v1));
static_assert(kTamanhosConfiguracao[3] == sizeof(ST_EventoConfig_v4));
static_assert(kTamanhosConfiguracao[6] == sizeof(ST_EventoConfig_v7));
static_assert(kTamanhosConfiguracao[8] == sizeof(ST_EventoConfig_v9));
static_assert(D_ZAVORO_TAMANHO_MINIMO_ARQUIVO_EVENTO == 2 + sizeof(ST_Evento_v1) + 1);
static_assert(D_ZAVORO_TAMANHO_ARQUIVO_TALHAO == 2 + sizeof(ST_Talhao) + 1);

bool VersaoEventoValida(unsigned int uiVersao)
{
    return uiVersao >= D_ZAVORO_VERSAO_MINIMA_ARQUIVO_EVENTO && uiVersao <= D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_EVENTO;
}
} // namespace

int zavoro_TamanhoConfiguracaoEvento(unsigned int uiVersaoArquivoEvento)
{
    return VersaoEventoValida(uiVersaoArquivoEvento) ? kTamanhosConfiguracao[uiVersaoArquivoEvento - 1] : 0;
}

int zavoro_TamanhoPontoNVG(unsigned int uiVersaoArquivoEvento)
{
    if (!VersaoEventoValida(uiVersaoArquivoEvento))
        return 0;
    if (uiVersaoArquivoEvento <= 3)
        return sizeof(ST_PontoNVG_v1);
    if (uiVersaoArquivoEvento <= 7)
        return sizeof(ST_PontoNVG);
    return sizeof(ST_PontoNVG_v2);
}

std::uint8_t zavoro_TraduzirOperacao(std::uint8_t ucOperacaoArmazenada, unsigned int uiVersaoArquivoEvento)
{
    if (uiVersaoArquivoEvento > D_ZAVORO_VERSAO_EVENTO_ULTIMA_OPERACAO_ANTIGA)
        return ucOperacaoArmazenada;
    // Older consoles numbered spraying, harvest, planting, other, fertilising, irrigation.
    constexpr std::uint8_t kAtual[] = {D_ZAVORO_OPERACAO_PULVERIZACAO, D_ZAVORO_OPERACAO_COLHEITA,
                                       D_ZAVORO_OPERACAO_PLANTIO,      D_ZAVORO_OPERACAO_OUTROS,
                                       D_ZAVORO_OPERACAO_ADUBACAO,     D_ZAVORO_OPERACAO_IRRIGACAO};
    return ucOperacaoArmazenada < std::size(kAtual) ? kAtual[ucOperacaoArmazenada] : ucOperacaoArmazenada;
}

std::uint32_t zavoro_CalcularQuantidadeAplicada(const ST_PontoNVG_v2* pstPontoNVG, std::uint8_t ucOperacao)
{
    const std::uint32_t ulVolume = pstPontoNVG->usVolumeAplicado;
    if (ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
        // The high byte of the section bits carries bits 16..23 of the quantity.
        return ulVolume + (static_cast<std::uint32_t>(pstPontoNVG->usSecoes & 0xFF00u) << 8);
    if (ulVolume & 0x8000u)
        return (ulVolume & 0x7FFFu) * 2u;
    return ulVolume;
}
