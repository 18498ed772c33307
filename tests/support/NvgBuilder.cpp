#include "support/NvgBuilder.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "zavoro/funcoesAuxiliares.h"

namespace zavoro_teste
{

// Records are copied to the file as they lie in memory.
static_assert(std::endian::native == std::endian::little, "the builder writes host-order records");

namespace
{

// Byte stored for an operation of the current numbering by an event of the given version (versions
// up to 8 keep the older numbering). Codes above 5 are stored unchanged.
std::uint8_t CodificarOperacao(std::uint8_t ucOperacaoAtual, unsigned int uiVersaoEvento)
{
    if (uiVersaoEvento > D_ZAVORO_VERSAO_EVENTO_ULTIMA_OPERACAO_ANTIGA)
        return ucOperacaoAtual;
    // Inverse of the readers' translation 0->0, 1->2, 2->3, 3->5, 4->1, 5->4.
    static constexpr std::uint8_t aucAntiga[] = {0, 4, 1, 2, 5, 3};
    return ucOperacaoAtual < std::size(aucAntiga) ? aucAntiga[ucOperacaoAtual] : ucOperacaoAtual;
}

void GravarTexto(char* pcCampo, std::size_t tamanho, std::string_view szUtf8, std::string_view szNome)
{
    BOOL bPerda = FALSE;
    const std::string szCp1252 = funcAux_Utf8ParaCp1252(szUtf8, &bPerda);
    if (bPerda)
        throw std::invalid_argument("texto sem representação em Windows-1252 para " + std::string(szNome));
    if (szCp1252.size() >= tamanho)
        throw std::invalid_argument("texto longo demais para " + std::string(szNome));
    std::memset(pcCampo, 0, tamanho);
    std::memcpy(pcCampo, szCp1252.data(), szCp1252.size());
}

[[noreturn]] void NomeInvalido(std::string_view szNome, const char* pcMotivo)
{
    throw std::invalid_argument("campo de configuração \"" + std::string(szNome) + "\": " + pcMotivo);
}

// A number into a field of type T, checked against the range of an integer type.
template <typename T> void GravarNumero(unsigned char* pucCampo, long double ldValor, std::string_view szNome)
{
    if constexpr (std::is_integral_v<T>)
        if (ldValor < std::numeric_limits<T>::min() || ldValor > std::numeric_limits<T>::max())
            NomeInvalido(szNome, "valor fora da faixa do tipo");
    const T valor = static_cast<T>(ldValor);
    std::memcpy(pucCampo, &valor, sizeof valor);
}

struct Descricao
{
    const char* pcNome;
    std::size_t offset;
    std::size_t tamanhoElemento; // a text is one element of its whole array
    std::size_t d1, d2;          // extents; 0 for a scalar, d2 0 unless two-dimensional
    void (*pfNumero)(unsigned char*, long double, std::string_view); // null for texts and products
    bool bReal, bProduto;
};

template <typename M> Descricao Descrever(const char* pcNome, std::size_t offset)
{
    using E = std::remove_all_extents_t<M>;
    static_assert(std::rank_v<M> <= 2);
    if constexpr (std::is_same_v<E, char>)
        return {pcNome, offset, sizeof(M), 0, 0, nullptr, false, false};
    else if constexpr (std::is_same_v<E, ST_MemoriaProdutoPulv>)
        return {pcNome, offset, sizeof(E), std::extent_v<M, 0>, std::extent_v<M, 1>, nullptr, false, true};
    else
        return {pcNome, offset, sizeof(E), std::extent_v<M, 0>, std::extent_v<M, 1>, &GravarNumero<E>,
                std::is_floating_point_v<E>, false};
}

#define ZC(membro) Descrever<decltype(ST_EventoConfig_v9::membro)>(#membro, offsetof(ST_EventoConfig_v9, membro))
#define ZP(membro) Descrever<decltype(ST_MemoriaProdutoPulv::membro)>(#membro, offsetof(ST_MemoriaProdutoPulv, membro))

const std::vector<Descricao>& TabelaConfiguracao()
{
    static const std::vector<Descricao> tabela = {
        ZC(ulNumeroPontosRastro), ZC(usLarguraImplemento), ZC(usTamanhoSeccao), ZC(szOperador),
        ZC(szMaquina), ZC(szCultura), ZC(ucNumeroSecoes), ZC(ucOperacao), ZC(ucAlinhamento1),
        ZC(ulEntreEixosX1000), ZC(ulNumeroSerial), ZC(ulVersaoBootloader), ZC(ulVersaoAplicAtualiz),
        ZC(ulVersaoAplicativo), ZC(ulVersaoInterfaceDir), ZC(ulVersaoInterfaceEsq),
        ZC(sSobreposicaoImplemento), ZC(sDistImplemento), ZC(usTaxaAplicacao1), ZC(usTaxaAplicacao2),
        ZC(usCapacidadeTanque), ZC(usAlarmeTanque), ZC(usConstanteFluxometro), ZC(usNumeroBicos),
        ZC(usEspacamentoBicos), ZC(usVazaoBico), ZC(usPressaoBico), ZC(usTempoValvulaProporcional),
        ZC(usTempoAberturaValvulaSecao), ZC(usTempoFechamentoValvulaSecao), ZC(ucValvulaGeral),
        ZC(ucValvulaSecao), ZC(ucValvulaProporcional), ZC(ucTipoComando), ZC(ucAgressividade),
        ZC(ucFusoHorario), ZC(ucReservado210), ZC(ucReservado211), ZC(ucModoDemonstracao),
        ZC(ucFatorHidraulico), ZC(ucAlinhamento2), ZC(fConstanteEsteira), ZC(fDensidadeProduto),
        ZC(fCtrlEsteiraCteP), ZC(fCtrlEsteiraCteD), ZC(fMaxRotacaoEsteira), ZC(fMinRotacaoEsteira),
        ZC(fCtrlDiscoCteP), ZC(fCtrlDiscoCteD), ZC(fMaxRotacaoDisco), ZC(fRelacaoMotorEsteira),
        ZC(fDiametroRoloEsteira), ZC(fLarguraComporta), ZC(fAlturaMaxComporta), ZC(fVolumeAplicado),
        ZC(fVolumeMapa), ZC(fAreaMapa), ZC(fCorrecaoBalanca), ZC(ulCapacidadeTanque),
        ZC(ulAlarmeNivelTanque), ZC(ulRotacaoAlvoDisco), ZC(ulTaxaFixa1), ZC(ulTaxaFixa2),
        ZC(usValorAdComportaAberta), ZC(usValorAdComportaFechada), ZC(usNumDentesEncoderDisco),
        ZC(usNumDentesEncoderEsteira), ZC(szNomeTrabalho), ZC(szMapaTrabalho), ZC(szParametroMapa),
        ZC(ucControlarDisco), ZC(ucControlarComporta), ZC(ucSensorSobrepeso),
        ZC(ucPosicaoEncoderEsteira), ZC(ucModeloValvula), ZC(ucTipoTaxa), ZC(ucTempoCalibracao),
        ZC(ucUtilizarBalanca), ZC(ucBalancaInstalada), ZC(ucReservado441), ZC(ucAlinhamento3),
        ZC(fMaxRotacaoMotorAdub), ZC(fMinRotacaoMotorAdub), ZC(usMultFreqEncoder),
        ZC(dConstanteTrabalhoAdub), ZC(ulADComportaDastra_1_Adub), ZC(ulADComportaDastra_0_Adub),
        ZC(ulADComportaDastra_580_Adub), ZC(ulRotacaoAlvoTurbinaAdub), ZC(ulAlarmeRotacaoTurbinaAdub),
        ZC(ulAlarmeRotacaoDiscoAdub), ZC(usMotorPwmCurvaAdub), ZC(usPercentualRotacaoMotorAdub),
        ZC(usNumPPREncoderMotorAdub), ZC(usTamanhoSecaoAdub), ZC(usEspacamentoLinhasAdub),
        ZC(usNumeroLinhasAdub), ZC(ucNumeroSecoesAdub), ZC(ucConectorEncodersAdub),
        ZC(ucTipoModuloAdub), ZC(ucTipoMaquinaAdub), ZC(ucTipoDiscosDastra), ZC(ucPosicaoDropPoint),
        ZC(ucAlinhamento), ZC(fLarguraImplemento), ZC(fSobreposicaoImplemento),
        ZC(usTamanhoSeccaoPlantio), ZC(usNumeroLinhasPlantio), ZC(usEspacamentoLinhasPlantio),
        ZC(usTempoAberturaValvulaSecaoPlantio), ZC(usTempoFechamentoValvulaSecaoPlantio),
        ZC(sDistAduboSementePlantio), ZC(ucNumeroSecoesPlantio), ZC(ucSensorImplementoPlantio),
        ZC(ucAlinhamento5), ZC(stProdutoUtilizadoPulv), ZC(ucAlinhamento7),
    };
    return tabela;
}

const std::vector<Descricao>& TabelaProduto()
{
    static const std::vector<Descricao> tabela = {
        ZP(ucNomeProduto), ZP(ucFlagModoMedicao), ZP(ucAlinhamento0), ZP(usDoseMinima), ZP(usDoseMaxima),
        ZP(usDoseAtual), ZP(ucFlagProdutoSelecionado), ZP(ucFlagAgitadorDesligado), ZP(ucAlinhamento),
        ZP(ucAlinhamentoFinal),
    };
    return tabela;
}

#undef ZC
#undef ZP

// An element: its offset in the record and its field.
using Elemento = std::pair<std::size_t, const Descricao*>;

// Resolves "base[i][j]" or "base[i].sub" against a table, relative to offsetBase.
Elemento Resolver(const std::vector<Descricao>& tabela, std::string_view szNome, std::string_view szCompleto,
                  std::size_t offsetBase)
{
    std::size_t p = std::min(szNome.find_first_of("[."), szNome.size());
    const auto it = std::find_if(tabela.begin(), tabela.end(),
                                 [&](const Descricao& d) { return szNome.substr(0, p) == d.pcNome; });
    if (it == tabela.end())
        NomeInvalido(szCompleto, "nome desconhecido");
    const Descricao& d = *it;
    std::size_t linear = 0, dimensoes = 0;
    for (; p < szNome.size() && szNome[p] == '['; ++dimensoes)
    {
        const std::size_t fecha = std::min(szNome.find(']', p), szNome.size());
        const std::size_t extensao = dimensoes ? d.d2 : d.d1;
        std::size_t indice = 0;
        const auto [pcParou, erro] = std::from_chars(szNome.data() + p + 1, szNome.data() + fecha, indice);
        if (erro != std::errc() || pcParou != szNome.data() + fecha || indice >= extensao)
            NomeInvalido(szCompleto, "índice inválido ou fora do campo");
        linear = linear * extensao + indice;
        p = fecha + 1;
    }
    if (dimensoes != std::size_t{d.d1 != 0} + (d.d2 != 0))
        NomeInvalido(szCompleto, "número de índices diferente do número de dimensões");
    const std::size_t offset = offsetBase + d.offset + linear * d.tamanhoElemento;
    if (d.bProduto)
    {
        if (p >= szNome.size() || szNome[p] != '.')
            NomeInvalido(szCompleto, "falta o campo do produto");
        return Resolver(TabelaProduto(), szNome.substr(p + 1), szCompleto, offset);
    }
    if (p != szNome.size())
        NomeInvalido(szCompleto, "sobra depois do nome");
    return {offset, &d};
}

// Where the bytes go: a vector, or a file through a large stdio buffer.
using Saida = std::function<void(const std::uint8_t*, std::size_t)>;

bool ComChecksumErrado(const NvgBuilder& b, Secao eSecao, std::size_t indice = 0)
{
    const bool bUnica = eSecao == Secao::Arquivo || eSecao == Secao::Talhao || eSecao == Secao::Evento;
    return std::any_of(b.corrupcao.checksumErrado.begin(), b.corrupcao.checksumErrado.end(),
                       [&](const ChecksumErrado& c) { return c.eSecao == eSecao && (bUnica || c.indice == indice); });
}

std::size_t PontoEmBytes(const ST_PontoNVG_v2& p, std::uint16_t usVersao, std::uint8_t* pucDestino)
{
    const auto* puc = reinterpret_cast<const std::uint8_t*>(&p);
    if (usVersao <= 3)
    {
        // The 32-byte point keeps one rate: the newest one without the other four and what follows ucDesvio.
        constexpr std::size_t kAteTaxa = offsetof(ST_PontoNVG_v2, usTaxaLida) + sizeof p.usTaxaLida[0];
        constexpr std::size_t kCauda = offsetof(ST_PontoNVG_v2, fPressao) - offsetof(ST_PontoNVG_v2, usNivelTanque);
        std::memcpy(pucDestino, puc, kAteTaxa);
        std::memcpy(pucDestino + kAteTaxa, puc + offsetof(ST_PontoNVG_v2, usNivelTanque), kCauda);
        return kAteTaxa + kCauda;
    }
    // The 40-byte point is the head of the newest one.
    const std::size_t tamanho = usVersao <= 7 ? sizeof(ST_PontoNVG) : sizeof(ST_PontoNVG_v2);
    std::memcpy(pucDestino, puc, tamanho);
    return tamanho;
}

// Writes the file in order, keeping the running XOR of the current section and of the file. Bytes
// past the truncation limit are counted in the positions but never reach the output; without an
// output nothing is written at all, only positions are counted.
class Escritor
{
public:
    Escritor(const Saida* pSaida, std::size_t limite) : m_pSaida(pSaida), m_limite(limite) {}

    void bytes(const void* pDados, std::size_t n)
    {
        const auto* puc = static_cast<const std::uint8_t*>(pDados);
        n = std::min(n, m_restanteSecao);
        m_restanteSecao -= n;
        m_pos += n;
        const std::size_t aceitos = std::min(n, m_limite - std::min(m_limite, m_aceitos));
        m_aceitos += aceitos;
        if (!m_pSaida)
            return;
        for (std::size_t i = 0; i < n; ++i)
            m_ucXorSecao ^= puc[i];
        for (std::size_t i = 0; i < aceitos; ++i)
            m_ucXorArquivo ^= puc[i];
        (*m_pSaida)(puc, aceitos);
    }
    template <typename T> void valor(const T& v) { bytes(&v, sizeof v); }
    // The first n bytes of a record, zero-padded when n is larger than the record.
    template <typename T> void registro(const T& v, std::size_t n)
    {
        bytes(&v, std::min(n, sizeof v));
        const std::vector<std::uint8_t> vZeros(n > sizeof v ? n - sizeof v : 0);
        bytes(vZeros.data(), vZeros.size());
    }

    void iniciarSecao() { m_ucXorSecao = 0; }
    // Content past this many bytes of the section is dropped (missing bytes in the event).
    void limitarSecao(std::size_t n) { m_restanteSecao = n; }
    void fecharSecao(bool bErrado)
    {
        m_restanteSecao = kSemLimite;
        valor(static_cast<std::uint8_t>(bErrado ? ~m_ucXorSecao : m_ucXorSecao));
    }
    // The checksum of the bytes that reached the output, appended past the limit when asked to.
    void fecharArquivo(bool bErrado, bool bForaDoLimite)
    {
        const auto uc = static_cast<std::uint8_t>(bErrado ? ~m_ucXorArquivo : m_ucXorArquivo);
        if (!bForaDoLimite)
            return valor(uc);
        if (m_pSaida)
            (*m_pSaida)(&uc, 1);
        ++m_pos;
        ++m_aceitos;
    }
    std::size_t pos() const { return m_pos; }
    // Bytes within the truncation limit, whether or not there is an output.
    std::size_t aceitos() const { return m_aceitos; }

private:
    const Saida* m_pSaida;
    std::size_t m_limite;
    std::size_t m_pos = 0, m_aceitos = 0;
    std::uint8_t m_ucXorSecao = 0, m_ucXorArquivo = 0;
    static constexpr std::size_t kSemLimite = std::numeric_limits<std::size_t>::max();
    std::size_t m_restanteSecao = kSemLimite;
};

std::int32_t ComoI32(std::size_t n)
{
    if (n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::invalid_argument("seção grande demais para o campo de tamanho");
    return static_cast<std::int32_t>(n);
}

// Bytes after a length field up to its section's checksum, inclusive.
std::size_t Conteudo(std::size_t posTamanho, std::size_t posChecksum)
{
    return posChecksum + 1 - (posTamanho + 4);
}

// One pass over the file. Without pSeco it is the dry run: no output, no limits, lengths written as
// zero; otherwise the lengths and the size come from the dry run's offsets, so they always agree
// with what is written.
Layout Escrever(const NvgBuilder& b, const Saida* pSaida, const Layout* pSeco)
{
    const Corrupcao& c = b.corrupcao;
    std::size_t limite = std::numeric_limits<std::size_t>::max(), evento = 0;
    bool bCorrigir = false;
    if (pSeco)
    {
        evento = Conteudo(pSeco->posTamanhoEvento, pSeco->posChecksumEvento) - c.bytesFaltandoEvento;
        const std::size_t arquivo = pSeco->tamanhoArquivo - c.bytesFaltandoEvento;
        const std::size_t corte = std::min(c.truncarBytes, arquivo - 1);
        bCorrigir = c.corrigirChecksumArquivo && c.truncarBytes != 0;
        limite = bCorrigir ? arquivo - 1 - corte : arquivo - corte;
    }
    using Posicoes = std::vector<std::size_t> Layout::*;
    auto tamanho = [&](Posicoes pPos, Posicoes pChecksum, std::size_t i) {
        return pSeco ? ComoI32(Conteudo((pSeco->*pPos)[i], (pSeco->*pChecksum)[i])) : 0;
    };

    Layout L;
    Escritor w(pSaida, limite);
    w.valor(c.versaoArquivo.value_or(b.uiVersaoArquivo));

    w.valor(c.tamanhoTalhao.value_or(D_ZAVORO_TAMANHO_ARQUIVO_TALHAO));
    w.iniciarSecao();
    w.valor(b.usVersaoTalhao);
    w.valor(b.stTalhao);
    w.fecharSecao(ComChecksumErrado(b, Secao::Talhao));

    L.posNumeroGuias = w.pos();
    w.valor(c.numeroGuias.value_or(static_cast<std::uint32_t>(b.guias.size())));
    for (std::size_t i = 0; i < b.guias.size(); ++i)
    {
        const Guia& g = b.guias[i];
        L.posGuias.push_back(w.pos());
        w.valor(g.tamanhoGravado.value_or(tamanho(&Layout::posGuias, &Layout::posChecksumGuias, i)));
        w.iniciarSecao();
        w.valor(g.versaoGravada.value_or(g.usVersao));
        ST_Guia_v2 stGuia = g.stGuia;
        stGuia.usNumeroPontosCurva = g.numeroPontosCurvaGravado.value_or(
            static_cast<std::uint16_t>(g.usVersao == 3 ? g.curvas.size() : g.pontosCurva.size()));
        w.registro(stGuia, g.bytesRegistroGravados.value_or(
                               g.usVersao == 1 ? std::size_t{D_ZAVORO_TAMANHO_GUIA_V1} : sizeof(ST_Guia_v2)));
        if (g.usVersao == 3)
            for (const Curva& curva : g.curvas)
            {
                w.valor(curva.contagemGravada.value_or(static_cast<std::uint16_t>(curva.pontos.size())));
                w.bytes(curva.pontos.data(), curva.pontos.size() * sizeof(ST_PontosCurva));
            }
        else
            w.bytes(g.pontosCurva.data(), g.pontosCurva.size() * sizeof(ST_PontosCurva));
        L.posChecksumGuias.push_back(w.pos());
        w.fecharSecao(ComChecksumErrado(b, Secao::Guia, i));
    }

    // Boundaries: container version 2 only.
    if (b.uiVersaoArquivo == D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES)
    {
        L.posNumeroLimites = w.pos();
        w.valor(c.numeroLimites.value_or(static_cast<std::uint32_t>(b.limites.size())));
        for (std::size_t i = 0; i < b.limites.size(); ++i)
        {
            const Limite& l = b.limites[i];
            L.posLimites.push_back(w.pos());
            w.valor(l.tamanhoGravado.value_or(tamanho(&Layout::posLimites, &Layout::posChecksumLimites, i)));
            w.iniciarSecao();
            w.valor(l.usVersao);
            ST_Limite_v1 stLimite = l.stLimite;
            stLimite.usNumeroPontosLimite =
                l.numeroPontosGravado.value_or(static_cast<std::uint16_t>(l.pontos.size()));
            w.registro(stLimite, l.bytesRegistroGravados.value_or(sizeof(ST_Limite_v1)));
            w.bytes(l.pontos.data(), l.pontos.size() * sizeof(ST_PontosLimite));
            L.posChecksumLimites.push_back(w.pos());
            w.fecharSecao(ComChecksumErrado(b, Secao::Limite, i));
        }
    }

    const std::uint16_t usVersao = b.usVersaoEvento;
    L.posTamanhoEvento = w.pos();
    w.valor(c.tamanhoEvento.value_or(ComoI32(evento)));
    w.iniciarSecao();
    if (pSeco)
        w.limitarSecao(evento - 1);
    w.valor(c.versaoEvento.value_or(usVersao));
    ST_EventoCabecalho stCabecalho = b.stCabecalho;
    stCabecalho.ulNumConfiguracoes = c.numeroConfiguracoes.value_or(static_cast<std::uint32_t>(b.etapas.size()));
    if (b.ucUltOperacaoAtual)
        stCabecalho.ucUltOperacao = CodificarOperacao(*b.ucUltOperacaoAtual, usVersao);
    L.posCabecalhoEvento = w.pos();
    w.valor(stCabecalho);

    std::uint8_t aucPonto[sizeof(ST_PontoNVG_v2)];
    for (const Etapa& e : b.etapas)
    {
        if (e.gerador && !e.pontos.empty())
            throw std::invalid_argument("etapa com pontos e gerador ao mesmo tempo");
        ST_EventoConfig_v9 stConfig = e.stConfig;
        stConfig.ulNumeroPontosRastro = e.numeroPontosGravado.value_or(e.numeroPontos());
        if (e.ucOperacaoAtual)
            stConfig.ucOperacao = CodificarOperacao(*e.ucOperacaoAtual, usVersao);
        L.posEtapas.push_back(w.pos());
        w.bytes(&stConfig, static_cast<std::size_t>(zavoro_TamanhoConfiguracaoEvento(usVersao)));
        L.posPontos.push_back(w.pos());
        const std::uint32_t n = e.numeroPontos();
        if (!pSaida) // offsets alone need no point contents
            w.bytes(nullptr, std::size_t{n} * static_cast<std::size_t>(zavoro_TamanhoPontoNVG(usVersao)));
        else
            for (std::uint32_t i = 0; i < n; ++i)
                w.bytes(aucPonto, PontoEmBytes(e.gerador ? e.gerador(i) : e.pontos[i], usVersao, aucPonto));
    }
    w.bytes(c.bytesExtrasEvento.data(), c.bytesExtrasEvento.size());
    L.posChecksumEvento = w.pos();
    w.fecharSecao(ComChecksumErrado(b, Secao::Evento));

    w.bytes(c.bytesAposEvento.data(), c.bytesAposEvento.size());
    L.posChecksumArquivo = bCorrigir ? w.aceitos() : w.pos();
    w.fecharArquivo(ComChecksumErrado(b, Secao::Arquivo), bCorrigir);
    L.tamanhoArquivo = w.aceitos();
    return L;
}

Layout Serializar(const NvgBuilder& b, const Saida* pSaida)
{
    if (b.uiVersaoArquivo != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_SEM_LIMITES &&
        b.uiVersaoArquivo != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES)
        throw std::invalid_argument("versão de arquivo sem formato: use corrupcao.versaoArquivo");
    if (zavoro_TamanhoConfiguracaoEvento(b.usVersaoEvento) == 0 || zavoro_TamanhoPontoNVG(b.usVersaoEvento) == 0)
        throw std::invalid_argument("versão de evento sem formato: use corrupcao.versaoEvento");
    for (const Guia& g : b.guias)
    {
        if (g.usVersao < D_ZAVORO_VERSAO_MINIMA_ARQUIVO_GUIA || g.usVersao > D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_GUIA)
            throw std::invalid_argument("versão de guia sem formato: use versaoGravada");
        if (g.usVersao == 3 ? !g.pontosCurva.empty() : !g.curvas.empty())
            throw std::invalid_argument("guia de versão 3 usa curvas; versões 1 e 2 usam pontosCurva");
    }
    const Layout seco = Escrever(b, nullptr, nullptr);
    if (b.corrupcao.bytesFaltandoEvento >= Conteudo(seco.posTamanhoEvento, seco.posChecksumEvento))
        throw std::invalid_argument("bytesFaltandoEvento maior que o conteúdo do evento");
    return Escrever(b, pSaida, &seco);
}

// The typical pass.
constexpr std::uint32_t kInicioTrabalho = D_TESTE_DATA_HORA_2026 + (31 + 28 + 1) * 86400 + 8 * 3600;
constexpr float kPassoM = 15.0f / 3.6f;   // 15 km/h, one point a second
constexpr float kLarguraM = 27.0f;        // nine sections of 3 m
constexpr float kTaxaLHa = 150.0f;
constexpr std::uint16_t kEscalaTaxa = 10; // spraying rates are stored in tenths of L/ha
} // namespace

void texto(char (&campo)[D_ZAVORO_TAMANHO_STRING], std::string_view szUtf8)
{
    GravarTexto(campo, sizeof campo, szUtf8, "campo de texto");
}

Etapa& Etapa::campoNumero(std::string_view szNome, long double ldValor, bool bFracionario)
{
    const auto [offset, pd] = Resolver(TabelaConfiguracao(), szNome, szNome, 0);
    if (pd->pfNumero == nullptr)
        NomeInvalido(szNome, "um campo de texto recebe texto, não número");
    if (bFracionario && !pd->bReal && !(std::isfinite(ldValor) && std::trunc(ldValor) == ldValor))
        NomeInvalido(szNome, "campo inteiro não recebe valor fracionário");
    pd->pfNumero(reinterpret_cast<unsigned char*>(&stConfig) + offset, ldValor, szNome);
    if (offset == offsetof(ST_EventoConfig_v9, ucOperacao))
        ucOperacaoAtual.reset();
    return *this;
}

Etapa& Etapa::campoTexto(std::string_view szNome, std::string_view szUtf8)
{
    const auto [offset, pd] = Resolver(TabelaConfiguracao(), szNome, szNome, 0);
    if (pd->pfNumero != nullptr)
        NomeInvalido(szNome, "campo numérico não recebe texto");
    GravarTexto(reinterpret_cast<char*>(&stConfig) + offset, pd->tamanhoElemento, szUtf8, szNome);
    return *this;
}

Etapa& Etapa::campoBruto(std::string_view szNome, std::string_view bytes)
{
    const auto [offset, pd] = Resolver(TabelaConfiguracao(), szNome, szNome, 0);
    if (bytes.size() > pd->tamanhoElemento)
        NomeInvalido(szNome, "bytes demais para o campo");
    unsigned char* pucCampo = reinterpret_cast<unsigned char*>(&stConfig) + offset;
    std::memset(pucCampo, 0, pd->tamanhoElemento);
    std::memcpy(pucCampo, bytes.data(), bytes.size());
    if (offset == offsetof(ST_EventoConfig_v9, ucOperacao))
        ucOperacaoAtual.reset();
    return *this;
}

std::vector<std::uint8_t> NvgBuilder::construir(Layout* pstLayout) const
{
    std::vector<std::uint8_t> bytes;
    const Saida saida = [&](const std::uint8_t* puc, std::size_t n) { bytes.insert(bytes.end(), puc, puc + n); };
    const Layout L = Serializar(*this, &saida);
    if (pstLayout)
        *pstLayout = L;
    return bytes;
}

Layout NvgBuilder::gravar(const std::filesystem::path& caminho) const
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> pf(funcAux_AbrirArquivo(caminho, "wb"), &std::fclose);
    if (!pf)
        throw std::runtime_error("não foi possível criar " + caminho.string());
    std::setvbuf(pf.get(), nullptr, _IOFBF, 1u << 20);
    const Saida saida = [&](const std::uint8_t* puc, std::size_t n) {
        if (n != 0 && std::fwrite(puc, 1, n, pf.get()) != n)
            throw std::runtime_error("falha ao gravar " + caminho.string());
    };
    const Layout L = Serializar(*this, &saida);
    if (std::fclose(pf.release()) != 0)
        throw std::runtime_error("falha ao gravar " + caminho.string());
    return L;
}

Layout NvgBuilder::layout() const
{
    return Serializar(*this, nullptr);
}

NvgBuilder::NvgBuilder()
{
    stTalhao.dZeroRelativoLon = -51.93;
    stTalhao.dZeroRelativoLat = -24.05;
    stTalhao.ulDataHoraInicio = kInicioTrabalho - 3600;
    texto(stTalhao.szNomeTalhao, "Talhão Sede");
    stTalhao.ucTipoGuia = D_ZAVORO_TIPO_GUIA_RETA;

    stCabecalho.ulDataHoraInicioEvento = kInicioTrabalho;
    stCabecalho.ulDataHoraInicioTalhao = stTalhao.ulDataHoraInicio;
    stCabecalho.ulDataHoraFimEvento = kInicioTrabalho;
    texto(stCabecalho.szNomeEvento, "Aplicação Soja");
    texto(stCabecalho.szUltOperador, "João da Silva");
    texto(stCabecalho.szUltMaquina, "Pulverizador 3000");
    texto(stCabecalho.szUltCultura, "Soja");
    ucUltOperacaoAtual = D_ZAVORO_OPERACAO_PULVERIZACAO;
}

NvgBuilder NvgBuilder::tipico(std::uint16_t usVersaoEvento, std::uint32_t ulNumeroPontos)
{
    NvgBuilder b;
    b.usVersaoEvento = usVersaoEvento;
    b.etapas.push_back(etapaTipica(ulNumeroPontos));
    if (ulNumeroPontos != 0)
    {
        const ST_PontoNVG_v2& stUltimo = b.etapas.back().pontos.back();
        b.stCabecalho.ulDataHoraFimEvento = stUltimo.ulSegundosDataHora;
        b.stCabecalho.ulTempoTrabalho = ulNumeroPontos - 1;
        b.stCabecalho.ulTempoTrabalhoEfetivo = ulNumeroPontos - 1;
        b.stCabecalho.fDistanciaPercorridaEvento = stUltimo.fLongitudeRelImp;
        b.stCabecalho.fAreaCobertura = stUltimo.fAreaCobertura;
        b.stCabecalho.ulVolumeAplicado = stUltimo.usVolumeAplicado;
    }
    return b;
}

ST_PontoNVG_v2 pontoTipico(std::uint32_t ulIndice)
{
    ST_PontoNVG_v2 p{};
    p.fLongitudeRelImp = static_cast<float>(ulIndice) * kPassoM;
    p.fLatitudeRelImp = 0.0f;
    p.fAnguloNavegacao = 0.0f; // degrees counter-clockwise from east
    p.fAreaCobertura = p.fLongitudeRelImp * kLarguraM / 10000.0f;
    p.ulSegundosDataHora = kInicioTrabalho + ulIndice;
    p.usTag = D_ZAVORO_TAG_RASTRO;
    p.usSecoes = 0x01FF;
    p.usTaxaLida[0] = static_cast<std::uint16_t>(kTaxaLHa) * kEscalaTaxa;
    const float fLitros = p.fAreaCobertura * kTaxaLHa;
    p.usVolumeAplicado = static_cast<std::uint16_t>(std::min(fLitros, 32767.0f));
    p.usNivelTanque = static_cast<std::uint16_t>(std::max(0.0f, 3000.0f - fLitros));
    p.ucVelocidade = 15;
    p.fPressao = 3.0f;
    p.fTemperatura = 28.0f;
    return p;
}

Etapa etapaTipica(std::uint32_t ulNumeroPontos, std::uint32_t ulPrimeiroIndice)
{
    Etapa e;
    e.campo("szOperador", "João da Silva").campo("szMaquina", "Pulverizador 3000").campo("szCultura", "Soja");
    e.campo("usLarguraImplemento", 2700).campo("fLarguraImplemento", kLarguraM);
    e.campo("ucNumeroSecoes", D_ZAVORO_NUMERO_MAXIMO_SECOES);
    for (int i = 0; i < D_ZAVORO_NUMERO_MAXIMO_SECOES; ++i)
        e.campo("usTamanhoSeccao[" + std::to_string(i) + "]", 300);
    e.campo("usTaxaAplicacao1", kTaxaLHa * kEscalaTaxa).campo("usCapacidadeTanque", 3000).campo("usNumeroBicos", 54);
    e.campo("usEspacamentoBicos", 50).campo("ulEntreEixosX1000", 3500).campo("sDistImplemento", -35);
    e.campo("ucValvulaGeral", D_ZAVORO_VALVULA_2_VIAS).campo("ucValvulaSecao", D_ZAVORO_VALVULA_2_VIAS);
    e.operacao(D_ZAVORO_OPERACAO_PULVERIZACAO);
    e.pontos.reserve(ulNumeroPontos);
    for (std::uint32_t i = 0; i < ulNumeroPontos; ++i)
        e.pontos.push_back(pontoTipico(ulPrimeiroIndice + i));
    return e;
}

ST_PontoNVG_v2 pontoManobra(std::uint32_t ulIndice, std::uint32_t ulPontosPorManobra)
{
    constexpr float kPi = 3.14159265f;
    constexpr float kRaio = 6.0f; // headland turn: passes 12 m apart under a 27 m boom
    ST_PontoNVG_v2 p = pontoTipico(ulIndice);
    const std::uint32_t ulBloco = ulIndice / ulPontosPorManobra;
    const std::uint32_t k = ulIndice % ulPontosPorManobra;
    float fX = 0.0f, fY = 0.0f, fRumo = 0.0f; // metres, degrees from east
    switch (ulBloco % 6)
    {
    case 0: // 15 points a pass, 5 in the turn
    {
        const std::uint32_t q = k / 20, j = k % 20;
        const bool bLeste = q % 2 == 0;
        const float fPassY = 2.0f * kRaio * static_cast<float>(q);
        if (j < 15)
        {
            fX = bLeste ? 4.0f * static_cast<float>(j) : 56.0f - 4.0f * static_cast<float>(j);
            fY = fPassY;
            fRumo = bLeste ? 0.0f : 180.0f;
        }
        else
        {
            const float t = static_cast<float>(j - 14) * 30.0f;
            fX = (bLeste ? 56.0f : 0.0f) + (bLeste ? 1.0f : -1.0f) * kRaio * std::sin(t * kPi / 180.0f);
            fY = fPassY + kRaio - kRaio * std::cos(t * kPi / 180.0f);
            fRumo = bLeste ? t : 180.0f - t;
        }
        break;
    }
    case 1: // rows of 40 points, turning 100 degrees every 4
    {
        const std::uint32_t c = k % 40, f = c % 8;
        const float fSubida = static_cast<float>(f <= 4 ? f : 8 - f);
        fX = 4.0f * std::cos(50.0f * kPi / 180.0f) * static_cast<float>(c);
        fY = 30.0f * static_cast<float>(k / 40) + 4.0f * std::sin(50.0f * kPi / 180.0f) * fSubida;
        fRumo = f < 4 ? 50.0f : -50.0f;
        if (c == 0)
            p.usSecoes = 0;
        break;
    }
    case 2: // 20 degrees a point
    {
        const float a = 20.0f * static_cast<float>(k);
        fX = 5.0f * std::cos(a * kPi / 180.0f);
        fY = 5.0f * std::sin(a * kPi / 180.0f);
        fRumo = std::fmod(a + 90.0f, 360.0f);
        break;
    }
    case 3: // 10 points of 3 m forward, 10 back in reverse, facing east throughout
    {
        const std::uint32_t f = k % 20;
        fX = 3.0f * static_cast<float>(f < 10 ? f : 20 - f);
        break;
    }
    case 4:
        fX = 4.0f * static_cast<float>(k / 3);
        fRumo = 25.0f * static_cast<float>(k % 3) - 25.0f;
        break;
    default:
        fX = static_cast<float>(k);
        fY = 5.0f * std::sin(static_cast<float>(k) / 10.0f);
        fRumo = std::atan(0.5f * std::cos(static_cast<float>(k) / 10.0f)) * 180.0f / kPi;
        break;
    }
    // Blocks on a grid 300 m apart, each opening a new polygon.
    p.fLongitudeRelImp = fX + 300.0f * static_cast<float>(ulBloco % 20);
    p.fLatitudeRelImp = fY + 300.0f * static_cast<float>(ulBloco / 20);
    p.fAnguloNavegacao = fRumo < 0.0f ? fRumo + 360.0f : fRumo;
    if (k == 0)
        p.usSecoes = 0;
    p.ucVelocidade = static_cast<std::uint8_t>(6 + 2 * (k % 5));
    p.usTaxaLida[0] = static_cast<std::uint16_t>(p.usTaxaLida[0] + 100 * ((k / 7) % 3));
    return p;
}

Etapa etapaManobras(std::uint32_t ulNumeroPontos, std::uint32_t ulPontosPorManobra)
{
    Etapa e = etapaTipica(0);
    e.ulPontosGerados = ulNumeroPontos;
    e.gerador = [ulPontosPorManobra](std::uint32_t i) { return pontoManobra(i, ulPontosPorManobra); };
    return e;
}

ArquivoTemporario arquivoTemporario(const std::vector<std::uint8_t>& vBytes, std::size_t pos)
{
    ArquivoTemporario pf(std::tmpfile(), &std::fclose);
    // An empty run writes nothing (fwrite must not be handed the null data of an empty vector).
    if (!pf || (!vBytes.empty() && std::fwrite(vBytes.data(), 1, vBytes.size(), pf.get()) != vBytes.size()))
        throw std::runtime_error("não foi possível criar um arquivo temporário");
    std::fseek(pf.get(), static_cast<long>(pos), SEEK_SET);
    return pf;
}

std::string conteudo(std::FILE* pf)
{
    std::string sz(static_cast<std::size_t>(std::ftell(pf)), '\0');
    std::rewind(pf);
    sz.resize(std::fread(sz.data(), 1, sz.size(), pf));
    return sz;
}

EventoAberto abrirEvento(const NvgBuilder& b)
{
    Layout L;
    const std::vector<std::uint8_t> vBytes = b.construir(&L);
    EventoAberto e{arquivoTemporario(vBytes, L.posCabecalhoEvento + sizeof(ST_EventoCabecalho)), {}};
    std::memcpy(&e.stCabecalho, vBytes.data() + L.posCabecalhoEvento, sizeof e.stCabecalho);
    return e;
}

} // namespace zavoro_teste
