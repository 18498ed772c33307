#include "support/NvgBuilder.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

#include "zavoro/funcoesAuxiliares.h"

namespace zavoro_teste
{

// Records are copied to the file as they lie in memory.
static_assert(std::endian::native == std::endian::little, "the builder writes host-order records");

// ---------------------------------------------------------------------------------------------------
// Operations and texts
// ---------------------------------------------------------------------------------------------------

std::uint8_t codificarOperacao(std::uint8_t ucOperacaoAtual, unsigned int uiVersaoEvento)
{
    if (uiVersaoEvento > D_ZAVORO_VERSAO_EVENTO_ULTIMA_OPERACAO_ANTIGA)
        return ucOperacaoAtual;
    // Inverse of the readers' translation 0->0, 1->2, 2->3, 3->5, 4->1, 5->4.
    static constexpr std::uint8_t aucAntiga[] = {0, 4, 1, 2, 5, 3};
    return ucOperacaoAtual < std::size(aucAntiga) ? aucAntiga[ucOperacaoAtual] : ucOperacaoAtual;
}

namespace
{

void gravarTexto(char* pcCampo, std::size_t tamanho, std::string_view szUtf8, std::string_view szNome)
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

} // namespace

void texto(char (&campo)[D_ZAVORO_TAMANHO_STRING], std::string_view szUtf8)
{
    gravarTexto(campo, sizeof campo, szUtf8, "campo de texto");
}

void textoSemTerminador(char (&campo)[D_ZAVORO_TAMANHO_STRING], char c)
{
    if (c == '\0')
        throw std::invalid_argument("o preenchimento de um texto sem terminador não pode ser zero");
    std::memset(campo, c, sizeof campo);
}

// ---------------------------------------------------------------------------------------------------
// Configuration fields by name
// ---------------------------------------------------------------------------------------------------

namespace
{

enum class Tipo
{
    U8,
    I8,
    U16,
    I16,
    U32,
    F32,
    F64,
    Texto,
    Produto
};

struct Descricao
{
    const char* pcNome;
    std::size_t offset;
    Tipo tipo;
    std::size_t tamanhoElemento;
    std::size_t d1; // 0 for a scalar
    std::size_t d2; // 0 unless two-dimensional
    bool bApelido = false; // another name for bytes that a canonical entry already covers
};

template <typename E> constexpr Tipo tipoDe()
{
    if constexpr (std::is_same_v<E, char>)
        return Tipo::Texto;
    else if constexpr (std::is_same_v<E, std::uint8_t>)
        return Tipo::U8;
    else if constexpr (std::is_same_v<E, std::int8_t>)
        return Tipo::I8;
    else if constexpr (std::is_same_v<E, std::uint16_t>)
        return Tipo::U16;
    else if constexpr (std::is_same_v<E, std::int16_t>)
        return Tipo::I16;
    else if constexpr (std::is_same_v<E, std::uint32_t>)
        return Tipo::U32;
    else if constexpr (std::is_same_v<E, float>)
        return Tipo::F32;
    else if constexpr (std::is_same_v<E, double>)
        return Tipo::F64;
    else if constexpr (std::is_same_v<E, ST_MemoriaProdutoPulv>)
        return Tipo::Produto;
    else
        static_assert(sizeof(E) == 0, "field type without a setter");
}

template <typename M> Descricao descrever(const char* pcNome, std::size_t offset)
{
    using E = std::remove_all_extents_t<M>;
    constexpr Tipo tipo = tipoDe<E>();
    if constexpr (tipo == Tipo::Texto)
    {
        // A char array is one text element; no char field has more than one dimension.
        static_assert(std::rank_v<M> == 1);
        return {pcNome, offset, tipo, sizeof(M), 0, 0};
    }
    else
    {
        static_assert(std::rank_v<M> <= 2);
        return {pcNome, offset, tipo, sizeof(E), std::extent_v<M, 0>, std::extent_v<M, 1>};
    }
}

#define ZC(membro) descrever<decltype(ST_EventoConfig_v9::membro)>(#membro, offsetof(ST_EventoConfig_v9, membro))
#define ZP(membro) descrever<decltype(ST_MemoriaProdutoPulv::membro)>(#membro, offsetof(ST_MemoriaProdutoPulv, membro))

const std::vector<Descricao>& tabelaConfiguracao()
{
    static const std::vector<Descricao> tabela = [] {
        std::vector<Descricao> t = {
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
        // Versions 2..4 declare the time zone byte signed.
        Descricao stFuso = descrever<std::int8_t>("cFusoHorario", offsetof(ST_EventoConfig_v9, ucFusoHorario));
        stFuso.bApelido = true;
        t.push_back(stFuso);
        return t;
    }();
    return tabela;
}

const std::vector<Descricao>& tabelaProduto()
{
    static const std::vector<Descricao> tabela = {
        ZP(ucNomeProduto),   ZP(ucFlagModoMedicao),        ZP(ucAlinhamento0),
        ZP(usDoseMinima),    ZP(usDoseMaxima),             ZP(usDoseAtual),
        ZP(ucFlagProdutoSelecionado), ZP(ucFlagAgitadorDesligado), ZP(ucAlinhamento),
        ZP(ucAlinhamentoFinal),
    };
    return tabela;
}

#undef ZC
#undef ZP

struct Elemento
{
    std::size_t offset;
    std::size_t tamanho;
    Tipo tipo;
};

[[noreturn]] void nomeInvalido(std::string_view szNome, const char* pcMotivo)
{
    throw std::invalid_argument("campo de configuração \"" + std::string(szNome) + "\": " + pcMotivo);
}

// Resolves "base[i][j]" or "base[i].sub" against a table, relative to offsetBase.
Elemento resolver(const std::vector<Descricao>& tabela, std::string_view szNome, std::string_view szCompleto,
                  std::size_t offsetBase)
{
    const std::size_t fimBase = std::min(szNome.find_first_of("[."), szNome.size());
    const std::string_view szBase = szNome.substr(0, fimBase);
    const auto it = std::find_if(tabela.begin(), tabela.end(),
                                 [&](const Descricao& d) { return szBase == d.pcNome; });
    if (it == tabela.end())
        nomeInvalido(szCompleto, "nome desconhecido");

    std::vector<std::size_t> indices;
    std::size_t p = fimBase;
    while (p < szNome.size() && szNome[p] == '[')
    {
        const std::size_t fecha = szNome.find(']', p);
        if (fecha == std::string_view::npos)
            nomeInvalido(szCompleto, "colchete sem fechamento");
        std::size_t indice = 0;
        const char* pcInicio = szNome.data() + p + 1;
        const char* pcFim = szNome.data() + fecha;
        const auto [pcParou, erro] = std::from_chars(pcInicio, pcFim, indice);
        if (erro != std::errc() || pcParou != pcFim || pcInicio == pcFim)
            nomeInvalido(szCompleto, "índice inválido");
        indices.push_back(indice);
        p = fecha + 1;
    }

    const Descricao& d = *it;
    const std::size_t dimensoes = (d.d1 != 0) + (d.d2 != 0);
    if (indices.size() != dimensoes)
        nomeInvalido(szCompleto, "número de índices diferente do número de dimensões");
    std::size_t linear = 0;
    if (dimensoes >= 1)
    {
        if (indices[0] >= d.d1)
            nomeInvalido(szCompleto, "índice fora do campo");
        linear = indices[0];
    }
    if (dimensoes == 2)
    {
        if (indices[1] >= d.d2)
            nomeInvalido(szCompleto, "índice fora do campo");
        linear = indices[0] * d.d2 + indices[1];
    }
    const std::size_t offset = offsetBase + d.offset + linear * d.tamanhoElemento;

    if (d.tipo == Tipo::Produto)
    {
        if (p >= szNome.size() || szNome[p] != '.')
            nomeInvalido(szCompleto, "falta o campo do produto");
        return resolver(tabelaProduto(), szNome.substr(p + 1), szCompleto, offset);
    }
    if (p != szNome.size())
        nomeInvalido(szCompleto, "sobra depois do nome");
    return {offset, d.tamanhoElemento, d.tipo};
}

Elemento resolver(std::string_view szNome)
{
    return resolver(tabelaConfiguracao(), szNome, szNome, 0);
}

void expandir(const std::vector<Descricao>& tabela, const std::string& szPrefixo, std::size_t offsetBase,
              std::vector<CampoConfiguracao>& campos)
{
    for (const Descricao& d : tabela)
    {
        if (d.bApelido)
            continue;
        const std::string szNome = szPrefixo + d.pcNome;
        auto adicionar = [&](const std::string& szElemento, std::size_t offset) {
            if (d.tipo == Tipo::Produto)
                expandir(tabelaProduto(), szElemento + ".", offset, campos);
            else
                campos.push_back({szElemento, offset, d.tamanhoElemento});
        };
        if (d.d1 == 0)
            adicionar(szNome, offsetBase + d.offset);
        else if (d.d2 == 0)
            for (std::size_t i = 0; i < d.d1; ++i)
                adicionar(szNome + "[" + std::to_string(i) + "]", offsetBase + d.offset + i * d.tamanhoElemento);
        else
            for (std::size_t i = 0; i < d.d1; ++i)
                for (std::size_t j = 0; j < d.d2; ++j)
                    adicionar(szNome + "[" + std::to_string(i) + "][" + std::to_string(j) + "]",
                              offsetBase + d.offset + (i * d.d2 + j) * d.tamanhoElemento);
    }
}

template <typename T> void gravarValor(ST_EventoConfig_v9& stConfig, std::size_t offset, T valor)
{
    std::memcpy(reinterpret_cast<unsigned char*>(&stConfig) + offset, &valor, sizeof valor);
}

// Integer value into an integer or floating field, checked against the field's range.
void gravarInteiro(ST_EventoConfig_v9& stConfig, const Elemento& e, long double ldValor, std::string_view szNome)
{
    auto faixa = [&](long double ldMin, long double ldMax) {
        if (ldValor < ldMin || ldValor > ldMax)
            nomeInvalido(szNome, "valor fora da faixa do tipo");
    };
    switch (e.tipo)
    {
    case Tipo::U8:
        faixa(0, 255);
        gravarValor(stConfig, e.offset, static_cast<std::uint8_t>(ldValor));
        break;
    case Tipo::I8:
        faixa(-128, 127);
        gravarValor(stConfig, e.offset, static_cast<std::int8_t>(ldValor));
        break;
    case Tipo::U16:
        faixa(0, 65535);
        gravarValor(stConfig, e.offset, static_cast<std::uint16_t>(ldValor));
        break;
    case Tipo::I16:
        faixa(-32768, 32767);
        gravarValor(stConfig, e.offset, static_cast<std::int16_t>(ldValor));
        break;
    case Tipo::U32:
        faixa(0, 4294967295.0L);
        gravarValor(stConfig, e.offset, static_cast<std::uint32_t>(ldValor));
        break;
    case Tipo::F32:
        gravarValor(stConfig, e.offset, static_cast<float>(ldValor));
        break;
    case Tipo::F64:
        gravarValor(stConfig, e.offset, static_cast<double>(ldValor));
        break;
    case Tipo::Texto:
    case Tipo::Produto:
        nomeInvalido(szNome, "um campo de texto recebe texto, não número");
    }
}

bool ehOperacao(const Elemento& e)
{
    return e.offset == offsetof(ST_EventoConfig_v9, ucOperacao);
}

} // namespace

const std::vector<CampoConfiguracao>& camposConfiguracao()
{
    static const std::vector<CampoConfiguracao> campos = [] {
        std::vector<CampoConfiguracao> v;
        expandir(tabelaConfiguracao(), "", 0, v);
        std::stable_sort(v.begin(), v.end(),
                         [](const CampoConfiguracao& a, const CampoConfiguracao& b) { return a.offset < b.offset; });
        return v;
    }();
    return campos;
}

Etapa& Etapa::campoInteiro(std::string_view szNome, long long llValor)
{
    const Elemento e = resolver(szNome);
    gravarInteiro(stConfig, e, static_cast<long double>(llValor), szNome);
    if (ehOperacao(e))
        ucOperacaoAtual.reset();
    return *this;
}

Etapa& Etapa::campoNatural(std::string_view szNome, unsigned long long ullValor)
{
    const Elemento e = resolver(szNome);
    gravarInteiro(stConfig, e, static_cast<long double>(ullValor), szNome);
    if (ehOperacao(e))
        ucOperacaoAtual.reset();
    return *this;
}

Etapa& Etapa::campoReal(std::string_view szNome, double dValor)
{
    const Elemento e = resolver(szNome);
    if (e.tipo == Tipo::F32)
        gravarValor(stConfig, e.offset, static_cast<float>(dValor));
    else if (e.tipo == Tipo::F64)
        gravarValor(stConfig, e.offset, dValor);
    else if (std::isfinite(dValor) && std::trunc(dValor) == dValor)
    {
        gravarInteiro(stConfig, e, static_cast<long double>(dValor), szNome);
        if (ehOperacao(e))
            ucOperacaoAtual.reset();
    }
    else
        nomeInvalido(szNome, "campo inteiro não recebe valor fracionário");
    return *this;
}

Etapa& Etapa::campoTexto(std::string_view szNome, std::string_view szUtf8)
{
    const Elemento e = resolver(szNome);
    if (e.tipo != Tipo::Texto)
        nomeInvalido(szNome, "campo numérico não recebe texto");
    gravarTexto(reinterpret_cast<char*>(&stConfig) + e.offset, e.tamanho, szUtf8, szNome);
    return *this;
}

Etapa& Etapa::campoBruto(std::string_view szNome, std::string_view bytes)
{
    const Elemento e = resolver(szNome);
    if (bytes.size() > e.tamanho)
        nomeInvalido(szNome, "bytes demais para o campo");
    unsigned char* pucCampo = reinterpret_cast<unsigned char*>(&stConfig) + e.offset;
    std::memset(pucCampo, 0, e.tamanho);
    std::memcpy(pucCampo, bytes.data(), bytes.size());
    if (ehOperacao(e))
        ucOperacaoAtual.reset();
    return *this;
}

// ---------------------------------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------------------------------

namespace
{

class Saida
{
public:
    virtual ~Saida() = default;
    virtual void escrever(const std::uint8_t* pucDados, std::size_t n) = 0;
};

class SaidaVetor final : public Saida
{
public:
    explicit SaidaVetor(std::vector<std::uint8_t>& destino) : m_destino(destino) {}
    void escrever(const std::uint8_t* pucDados, std::size_t n) override
    {
        m_destino.insert(m_destino.end(), pucDados, pucDados + n);
    }

private:
    std::vector<std::uint8_t>& m_destino;
};

class SaidaArquivo final : public Saida
{
public:
    explicit SaidaArquivo(const std::filesystem::path& caminho)
        : m_pfArquivo(std::fopen(caminho.c_str(), "wb"), &std::fclose), m_caminho(caminho)
    {
        if (!m_pfArquivo)
            throw std::runtime_error("não foi possível criar " + caminho.string());
        m_buffer.reserve(D_TAMANHO_BUFFER);
    }
    void escrever(const std::uint8_t* pucDados, std::size_t n) override
    {
        if (m_buffer.size() + n > D_TAMANHO_BUFFER)
            descarregar();
        if (n >= D_TAMANHO_BUFFER)
            gravar(pucDados, n);
        else
            m_buffer.insert(m_buffer.end(), pucDados, pucDados + n);
    }
    void fechar()
    {
        descarregar();
        if (std::fclose(m_pfArquivo.release()) != 0)
            throw std::runtime_error("falha ao gravar " + m_caminho.string());
    }

private:
    static constexpr std::size_t D_TAMANHO_BUFFER = 1u << 20;
    void descarregar()
    {
        gravar(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }
    void gravar(const std::uint8_t* pucDados, std::size_t n)
    {
        if (n != 0 && std::fwrite(pucDados, 1, n, m_pfArquivo.get()) != n)
            throw std::runtime_error("falha ao gravar " + m_caminho.string());
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_pfArquivo;
    std::filesystem::path m_caminho;
    std::vector<std::uint8_t> m_buffer;
};

std::size_t tamanhoGuiaRegistro(const Guia& g)
{
    return g.bytesRegistroGravados.value_or(g.usVersao == 1 ? static_cast<std::size_t>(D_ZAVORO_TAMANHO_GUIA_V1)
                                                            : sizeof(ST_Guia_v2));
}

std::size_t tamanhoLimiteRegistro(const Limite& l)
{
    return l.bytesRegistroGravados.value_or(sizeof(ST_Limite_v1));
}

void verificarGuia(const Guia& g)
{
    if (g.usVersao < D_ZAVORO_VERSAO_MINIMA_ARQUIVO_GUIA || g.usVersao > D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_GUIA)
        throw std::invalid_argument("versão de guia sem formato: use versaoGravada");
    if (g.usVersao == 3 ? !g.pontosCurva.empty() : !g.curvas.empty())
        throw std::invalid_argument("guia de versão 3 usa curvas; versões 1 e 2 usam pontosCurva");
}

// Bytes after the length field: version, record, curve data, checksum.
std::size_t conteudoGuia(const Guia& g)
{
    std::size_t n = 2 + tamanhoGuiaRegistro(g) + 1;
    if (g.usVersao == 3)
        for (const Curva& c : g.curvas)
            n += 2 + c.pontos.size() * sizeof(ST_PontosCurva);
    else
        n += g.pontosCurva.size() * sizeof(ST_PontosCurva);
    return n;
}

std::size_t conteudoLimite(const Limite& l)
{
    return 2 + tamanhoLimiteRegistro(l) + l.pontos.size() * sizeof(ST_PontosLimite) + 1;
}

std::size_t tamanhoBloco(std::uint16_t usVersao)
{
    return static_cast<std::size_t>(zavoro_TamanhoConfiguracaoEvento(usVersao));
}

std::size_t tamanhoPonto(std::uint16_t usVersao)
{
    return static_cast<std::size_t>(zavoro_TamanhoPontoNVG(usVersao));
}

// Bytes after the event length field, checksum included.
std::size_t conteudoEvento(const NvgBuilder& b)
{
    std::size_t n = 2 + sizeof(ST_EventoCabecalho);
    for (const Etapa& e : b.etapas)
        n += tamanhoBloco(b.usVersaoEvento) + std::size_t{e.numeroPontos()} * tamanhoPonto(b.usVersaoEvento);
    n += b.corrupcao.bytesExtrasEvento.size();
    if (b.corrupcao.bytesFaltandoEvento > n)
        throw std::invalid_argument("bytesFaltandoEvento maior que o conteúdo do evento");
    return n - b.corrupcao.bytesFaltandoEvento + 1;
}

std::size_t tamanhoCompleto(const NvgBuilder& b)
{
    std::size_t n = 4 + 4 + D_ZAVORO_TAMANHO_ARQUIVO_TALHAO + 4;
    for (const Guia& g : b.guias)
        n += 4 + conteudoGuia(g);
    if (b.uiVersaoArquivo == D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES)
    {
        n += 4;
        for (const Limite& l : b.limites)
            n += 4 + conteudoLimite(l);
    }
    return n + 4 + conteudoEvento(b) + b.corrupcao.bytesAposEvento.size() + 1;
}

bool checksumErrado(const NvgBuilder& b, Secao eSecao, std::size_t indice = 0)
{
    return std::any_of(b.corrupcao.checksumErrado.begin(), b.corrupcao.checksumErrado.end(),
                       [&](const ChecksumErrado& c) {
                           return c.eSecao == eSecao && (c.indice == indice || eSecao == Secao::Arquivo ||
                                                         eSecao == Secao::Talhao || eSecao == Secao::Evento);
                       });
}

std::size_t pontoEmBytes(const ST_PontoNVG_v2& p, std::uint16_t usVersao, std::uint8_t* pucDestino)
{
    if (usVersao <= 3)
    {
        ST_PontoNVG_v1 v1{};
        v1.fLongitudeRelImp = p.fLongitudeRelImp;
        v1.fLatitudeRelImp = p.fLatitudeRelImp;
        v1.fAnguloNavegacao = p.fAnguloNavegacao;
        v1.fAreaCobertura = p.fAreaCobertura;
        v1.ulSegundosDataHora = p.ulSegundosDataHora;
        v1.usTag = p.usTag;
        v1.usSecoes = p.usSecoes;
        v1.usTaxaLida = p.usTaxaLida[0];
        v1.usNivelTanque = p.usNivelTanque;
        v1.usVolumeAplicado = p.usVolumeAplicado;
        v1.ucVelocidade = p.ucVelocidade;
        v1.ucDesvio = p.ucDesvio;
        std::memcpy(pucDestino, &v1, sizeof v1);
        return sizeof v1;
    }
    // The 40-byte point is the head of the newest one.
    const std::size_t tamanho = usVersao <= 7 ? sizeof(ST_PontoNVG) : sizeof(ST_PontoNVG_v2);
    std::memcpy(pucDestino, &p, tamanho);
    return tamanho;
}

// Writes the file in order, keeping the running XOR of the current section and of the file. Bytes
// past the truncation limit are counted in the positions but never reach the output.
class Escritor
{
public:
    Escritor(Saida* pSaida, std::size_t limite) : m_pSaida(pSaida), m_limite(limite) {}

    void bytes(const void* pDados, std::size_t n)
    {
        const auto* puc = static_cast<const std::uint8_t*>(pDados);
        if (m_restanteSecao)
        {
            n = std::min(n, *m_restanteSecao);
            *m_restanteSecao -= n;
        }
        if (m_pSaida)
            for (std::size_t i = 0; i < n; ++i)
                m_ucXorSecao ^= puc[i];
        m_pos += n;
        const std::size_t aceitos = std::min(n, m_limite - std::min(m_limite, m_aceitos));
        if (aceitos != 0 && m_pSaida)
        {
            for (std::size_t i = 0; i < aceitos; ++i)
                m_ucXorArquivo ^= puc[i];
            m_pSaida->escrever(puc, aceitos);
        }
        m_aceitos += aceitos;
    }
    template <typename T> void valor(const T& v) { bytes(&v, sizeof v); }
    // The first n bytes of a record, zero-padded when n is larger than the record.
    template <typename T> void registro(const T& v, std::size_t n)
    {
        bytes(&v, std::min(n, sizeof v));
        static constexpr std::uint8_t aucZeros[64] = {};
        for (std::size_t resto = n > sizeof v ? n - sizeof v : 0; resto != 0;)
        {
            const std::size_t k = std::min(resto, sizeof aucZeros);
            bytes(aucZeros, k);
            resto -= k;
        }
    }

    void iniciarSecao() { m_ucXorSecao = 0; }
    // Content past this many bytes of the section is dropped (missing bytes in the event).
    void limitarSecao(std::size_t n) { m_restanteSecao = n; }
    void fecharSecao(bool bErrado)
    {
        m_restanteSecao.reset();
        const std::uint8_t uc = bErrado ? static_cast<std::uint8_t>(~m_ucXorSecao) : m_ucXorSecao;
        valor(uc);
    }
    // The checksum of the bytes that reached the output, appended past the limit when asked to.
    void fecharArquivo(bool bErrado, bool bForaDoLimite)
    {
        const std::uint8_t uc = bErrado ? static_cast<std::uint8_t>(~m_ucXorArquivo) : m_ucXorArquivo;
        if (bForaDoLimite)
        {
            if (m_pSaida)
                m_pSaida->escrever(&uc, 1);
            ++m_pos;
            ++m_aceitos;
        }
        else
            valor(uc);
    }
    std::size_t pos() const { return m_pos; }
    std::size_t aceitos() const { return m_aceitos; }
    bool descartando() const { return m_pSaida == nullptr; }

private:
    Saida* m_pSaida;
    std::size_t m_limite;
    std::size_t m_pos = 0;
    std::size_t m_aceitos = 0;
    std::uint8_t m_ucXorSecao = 0;
    std::uint8_t m_ucXorArquivo = 0;
    std::optional<std::size_t> m_restanteSecao;
};

std::int32_t comoI32(std::size_t n)
{
    if (n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::invalid_argument("seção grande demais para o campo de tamanho");
    return static_cast<std::int32_t>(n);
}

Layout serializar(const NvgBuilder& b, Saida* pSaida)
{
    if (b.uiVersaoArquivo != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_SEM_LIMITES &&
        b.uiVersaoArquivo != D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES)
        throw std::invalid_argument("versão de arquivo sem formato: use corrupcao.versaoArquivo");
    if (tamanhoBloco(b.usVersaoEvento) == 0 || tamanhoPonto(b.usVersaoEvento) == 0)
        throw std::invalid_argument("versão de evento sem formato: use corrupcao.versaoEvento");
    for (const Guia& g : b.guias)
        verificarGuia(g);

    const Corrupcao& c = b.corrupcao;
    const std::size_t completo = tamanhoCompleto(b);
    const std::size_t corte = std::min(c.truncarBytes, completo - 1);
    const bool bCorrigir = c.corrigirChecksumArquivo && c.truncarBytes != 0;
    const std::size_t limite = bCorrigir ? completo - 1 - corte : completo - corte;

    Layout L;
    Escritor w(pSaida, limite);
    const bool bComLimites = b.uiVersaoArquivo == D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES;

    w.valor(c.versaoArquivo.value_or(b.uiVersaoArquivo));

    // Field.
    L.posTamanhoTalhao = w.pos();
    w.valor(c.tamanhoTalhao.value_or(D_ZAVORO_TAMANHO_ARQUIVO_TALHAO));
    w.iniciarSecao();
    w.valor(b.usVersaoTalhao);
    w.valor(b.stTalhao);
    L.posChecksumTalhao = w.pos();
    w.fecharSecao(checksumErrado(b, Secao::Talhao));

    // Guides.
    L.posNumeroGuias = w.pos();
    w.valor(c.numeroGuias.value_or(static_cast<std::uint32_t>(b.guias.size())));
    for (std::size_t i = 0; i < b.guias.size(); ++i)
    {
        const Guia& g = b.guias[i];
        L.posGuias.push_back(w.pos());
        w.valor(g.tamanhoGravado.value_or(comoI32(conteudoGuia(g))));
        w.iniciarSecao();
        w.valor(g.versaoGravada.value_or(g.usVersao));
        ST_Guia_v2 stGuia = g.stGuia;
        stGuia.usNumeroPontosCurva = g.numeroPontosCurvaGravado.value_or(
            static_cast<std::uint16_t>(g.usVersao == 3 ? g.curvas.size() : g.pontosCurva.size()));
        w.registro(stGuia, tamanhoGuiaRegistro(g));
        if (g.usVersao == 3)
            for (const Curva& curva : g.curvas)
            {
                w.valor(curva.contagemGravada.value_or(static_cast<std::uint16_t>(curva.pontos.size())));
                w.bytes(curva.pontos.data(), curva.pontos.size() * sizeof(ST_PontosCurva));
            }
        else
            w.bytes(g.pontosCurva.data(), g.pontosCurva.size() * sizeof(ST_PontosCurva));
        L.posChecksumGuias.push_back(w.pos());
        w.fecharSecao(checksumErrado(b, Secao::Guia, i));
    }

    // Boundaries: container version 2 only.
    if (bComLimites)
    {
        L.posNumeroLimites = w.pos();
        w.valor(c.numeroLimites.value_or(static_cast<std::uint32_t>(b.limites.size())));
        for (std::size_t i = 0; i < b.limites.size(); ++i)
        {
            const Limite& l = b.limites[i];
            L.posLimites.push_back(w.pos());
            w.valor(l.tamanhoGravado.value_or(comoI32(conteudoLimite(l))));
            w.iniciarSecao();
            w.valor(l.usVersao);
            ST_Limite_v1 stLimite = l.stLimite;
            stLimite.usNumeroPontosLimite =
                l.numeroPontosGravado.value_or(static_cast<std::uint16_t>(l.pontos.size()));
            w.registro(stLimite, tamanhoLimiteRegistro(l));
            w.bytes(l.pontos.data(), l.pontos.size() * sizeof(ST_PontosLimite));
            L.posChecksumLimites.push_back(w.pos());
            w.fecharSecao(checksumErrado(b, Secao::Limite, i));
        }
    }

    // Event.
    const std::uint16_t usVersao = b.usVersaoEvento;
    const std::size_t conteudo = conteudoEvento(b);
    L.posTamanhoEvento = w.pos();
    w.valor(c.tamanhoEvento.value_or(comoI32(conteudo)));
    w.iniciarSecao();
    w.limitarSecao(conteudo - 1);
    w.valor(c.versaoEvento.value_or(usVersao));
    ST_EventoCabecalho stCabecalho = b.stCabecalho;
    stCabecalho.ulNumConfiguracoes = c.numeroConfiguracoes.value_or(static_cast<std::uint32_t>(b.etapas.size()));
    if (b.ucUltOperacaoAtual)
        stCabecalho.ucUltOperacao = codificarOperacao(*b.ucUltOperacaoAtual, usVersao);
    L.posCabecalhoEvento = w.pos();
    w.valor(stCabecalho);

    const std::size_t bloco = tamanhoBloco(usVersao);
    std::uint8_t aucPonto[sizeof(ST_PontoNVG_v2)];
    for (const Etapa& e : b.etapas)
    {
        if (e.gerador && !e.pontos.empty())
            throw std::invalid_argument("etapa com pontos e gerador ao mesmo tempo");
        ST_EventoConfig_v9 stConfig = e.stConfig;
        stConfig.ulNumeroPontosRastro = e.numeroPontosGravado.value_or(e.numeroPontos());
        if (e.ucOperacaoAtual)
            stConfig.ucOperacao = codificarOperacao(*e.ucOperacaoAtual, usVersao);
        L.posEtapas.push_back(w.pos());
        w.bytes(&stConfig, bloco);
        L.posPontos.push_back(w.pos());
        const std::uint32_t n = e.numeroPontos();
        for (std::uint32_t i = 0; i < n; ++i)
        {
            // Offsets alone need no point contents.
            const ST_PontoNVG_v2 stPonto = w.descartando() ? ST_PontoNVG_v2{}
                                           : e.gerador     ? e.gerador(i)
                                                           : e.pontos[i];
            w.bytes(aucPonto, pontoEmBytes(stPonto, usVersao, aucPonto));
        }
    }
    w.bytes(c.bytesExtrasEvento.data(), c.bytesExtrasEvento.size());
    L.posChecksumEvento = w.pos();
    w.fecharSecao(checksumErrado(b, Secao::Evento));

    w.bytes(c.bytesAposEvento.data(), c.bytesAposEvento.size());
    L.posChecksumArquivo = bCorrigir ? w.aceitos() : w.pos();
    w.fecharArquivo(checksumErrado(b, Secao::Arquivo), bCorrigir);
    L.tamanhoArquivo = w.aceitos();
    return L;
}

} // namespace

std::vector<std::uint8_t> NvgBuilder::construir(Layout* pstLayout) const
{
    std::vector<std::uint8_t> bytes;
    SaidaVetor saida(bytes);
    const Layout L = serializar(*this, &saida);
    if (pstLayout)
        *pstLayout = L;
    return bytes;
}

Layout NvgBuilder::gravar(const std::filesystem::path& caminho) const
{
    SaidaArquivo saida(caminho);
    const Layout L = serializar(*this, &saida);
    saida.fechar();
    return L;
}

Layout NvgBuilder::layout() const
{
    return serializar(*this, nullptr);
}

// ---------------------------------------------------------------------------------------------------
// Typical data
// ---------------------------------------------------------------------------------------------------

namespace
{
constexpr std::uint32_t D_TESTE_INICIO_TRABALHO = D_TESTE_DATA_HORA_2026 + (31 + 28 + 1) * 86400 + 8 * 3600;
constexpr float D_TESTE_PASSO_M = 15.0f / 3.6f;       // 15 km/h, one point a second
constexpr float D_TESTE_LARGURA_M = 27.0f;             // nine sections of 3 m
constexpr float D_TESTE_TAXA_L_HA = 150.0f;
constexpr std::uint16_t D_TESTE_ESCALA_TAXA = 10; // spraying rates are stored in tenths of L/ha
} // namespace

NvgBuilder::NvgBuilder()
{
    stTalhao.dZeroRelativoLon = -51.93;
    stTalhao.dZeroRelativoLat = -24.05;
    stTalhao.ulDataHoraInicio = D_TESTE_INICIO_TRABALHO - 3600;
    texto(stTalhao.szNomeTalhao, "Talhão Sede");
    stTalhao.ucTipoGuia = D_ZAVORO_TIPO_GUIA_RETA;

    stCabecalho.ulDataHoraInicioEvento = D_TESTE_INICIO_TRABALHO;
    stCabecalho.ulDataHoraInicioTalhao = stTalhao.ulDataHoraInicio;
    stCabecalho.ulDataHoraFimEvento = D_TESTE_INICIO_TRABALHO;
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
    p.fLongitudeRelImp = static_cast<float>(ulIndice) * D_TESTE_PASSO_M;
    p.fLatitudeRelImp = 0.0f;
    p.fAnguloNavegacao = 0.0f; // degrees counter-clockwise from east
    p.fAreaCobertura = p.fLongitudeRelImp * D_TESTE_LARGURA_M / 10000.0f;
    p.ulSegundosDataHora = D_TESTE_INICIO_TRABALHO + ulIndice;
    p.usTag = D_ZAVORO_TAG_RASTRO;
    p.usSecoes = 0x01FF;
    p.usTaxaLida[0] = static_cast<std::uint16_t>(D_TESTE_TAXA_L_HA) * D_TESTE_ESCALA_TAXA;
    const float fLitros = p.fAreaCobertura * D_TESTE_TAXA_L_HA;
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
    e.campo("usLarguraImplemento", 2700).campo("fLarguraImplemento", D_TESTE_LARGURA_M);
    e.campo("ucNumeroSecoes", D_ZAVORO_NUMERO_MAXIMO_SECOES);
    for (int i = 0; i < D_ZAVORO_NUMERO_MAXIMO_SECOES; ++i)
        e.campo("usTamanhoSeccao[" + std::to_string(i) + "]", 300);
    e.campo("usTaxaAplicacao1", D_TESTE_TAXA_L_HA * D_TESTE_ESCALA_TAXA).campo("usCapacidadeTanque", 3000).campo("usNumeroBicos", 54);
    e.campo("usEspacamentoBicos", 50).campo("ulEntreEixosX1000", 3500).campo("sDistImplemento", -35);
    e.campo("ucValvulaGeral", D_ZAVORO_VALVULA_2_VIAS).campo("ucValvulaSecao", D_ZAVORO_VALVULA_2_VIAS);
    e.operacao(D_ZAVORO_OPERACAO_PULVERIZACAO);
    e.pontos.reserve(ulNumeroPontos);
    for (std::uint32_t i = 0; i < ulNumeroPontos; ++i)
        e.pontos.push_back(pontoTipico(ulPrimeiroIndice + i));
    return e;
}

} // namespace zavoro_teste
