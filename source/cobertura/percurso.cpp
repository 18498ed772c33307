// The coverage walk: every stage, every pass of a stage (a per-section fertiliser rate map walks the
// points once per section), the track points buffered and cut into polygons by the class rules or
// the length rules, and each polygon's rings handed to the receiver. Several walks may share one read:
// each point is read once and handed to every walk in turn, each with its own cut and buffer.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <span>
#include <vector>

#include "cobertura/geometria.h"
#include "zavoro/cobertura.h"
#include "zavoro/legenda.h"
#include "zavoro/zavoro.h"

namespace
{

// Class cut: the most points a polygon chains (a longer run goes on in the next from the shared
// point), the point count past which the next point closes it, and the buffer of an open polygon.
constexpr int kMaximoPontosClasse = 10;
constexpr int kPontosFecharClasse = kMaximoPontosClasse - 2;
constexpr int kPontosBufferClasse = 15;
// Class of a polygon before any value set it.
constexpr int kClasseInicial = 4;

// Length cut: points one polygon chains, and the count past which it is closed so the next still fits.
constexpr int kPontosBufferComprimento = 1000;
constexpr int kPontosFecharComprimento = kPontosBufferComprimento - 2;
// Track length after which a polygon is cut, metres; irrigation pivots draw long arcs.
constexpr double kComprimentoPoligono = 40.0;
constexpr double kComprimentoPoligonoIrrigacao = 4000.0;
// A value differing from the previous one by more than 5 %, or by 50 units or more, starts a polygon.
constexpr double kRazaoSaltoSuperior = 1.05;
constexpr double kRazaoSaltoInferior = 0.95;
constexpr int kDiferencaSalto = 50;

// Position, heading and section mask of a point into buffer slot iIndiceVetor.
void InserirPontoPoligono(ST_PontoPoligono* pstPontoPoligono, const ST_PontoNVG_v2* pstPontoNVG,
                          int iIndiceVetor)
{
    ST_PontoPoligono& stPonto = pstPontoPoligono[iIndiceVetor];
    stPonto.dLongitude = pstPontoNVG->fLongitudeRelImp;
    stPonto.dLatitude = pstPontoNVG->fLatitudeRelImp;
    stPonto.iValor = 0;
    stPonto.fAnguloNaveg = pstPontoNVG->fAnguloNavegacao;
    stPonto.usSecoes = pstPontoNVG->usSecoes;
}

// TRUE when iIndiceVetor > 0 and the point lies less than 1.0 m from buffer slot iIndiceVetor - 1.
BOOL PontoProximoDoAnterior(const ST_PontoPoligono* pstPontoPoligono, const ST_PontoNVG_v2* pstPontoNVG,
                            int iIndiceVetor)
{
    if (iIndiceVetor <= 0)
        return FALSE;
    const ST_PontoPoligono& stAnterior = pstPontoPoligono[iIndiceVetor - 1];
    const float fDistancia = zavoro_CalcularDistancia2Pontos(
        static_cast<float>(pstPontoNVG->fLongitudeRelImp - stAnterior.dLongitude),
        static_cast<float>(pstPontoNVG->fLatitudeRelImp - stAnterior.dLatitude));
    return fDistancia < 1.0f;
}

// Reads the configuration block at the current position and prepares the stage: the walk record and
// the drawing fields of *pstDesenho (all but the point buffer; the section widths point into
// *pstConfig, which must outlive the drawing). The input is left at the stage's first point. FALSE
// when the block cannot be read or announces more than 1000000 points.
BOOL PrepararEtapa(std::FILE* pfArquivoLeitura, unsigned short usVersaoArquivoEvento, int iTipoMapa,
                   double dZeroRelativoLon, double dZeroRelativoLat, ST_EventoConfig_v9* pstConfig,
                   ST_EtapaPoligonos* pstEtapa, ST_DesenhoPoligono* pstDesenho)
{
    ST_EventoConfig_v9& stConfig = *pstConfig;
    if (!zavoro_LerConfiguracaoEvento(pfArquivoLeitura, usVersaoArquivoEvento, &stConfig))
        return FALSE;
    if (stConfig.ulNumeroPontosRastro > D_ZAVORO_NUMERO_MAXIMO_PONTOS_RASTRO)
        return FALSE;
    const std::uint8_t ucOperacao = zavoro_TraduzirOperacao(stConfig.ucOperacao, usVersaoArquivoEvento);

    ST_EtapaPoligonos stEtapa;
    stEtapa.iTipoMapa = iTipoMapa;
    stEtapa.ucOperacao = ucOperacao;
    stEtapa.ulNumeroPontos = stConfig.ulNumeroPontosRastro;
    stEtapa.usVersaoArquivoEvento = usVersaoArquivoEvento;
    stEtapa.ucTipoMaquinaAdub = stConfig.ucTipoMaquinaAdub;

    const BOOL bMapaCobertura = iTipoMapa != D_CONVERSOR_TIPO_MAPA_VELOCIDADE;
    if (!bMapaCobertura)
        stEtapa.bTemLegenda = TRUE;
    else if (ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO)
    {
        stEtapa.bTemLegenda = TRUE;
        stEtapa.bTaxaPulv = TRUE;
    }
    // Older blocks keep no fertiliser rate worth classing.
    else if (ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO && usVersaoArquivoEvento >= 3)
    {
        stEtapa.bTemLegenda = TRUE;
        stEtapa.bTaxaAdub = TRUE;
    }
    stEtapa.bMapaTaxaAdub = bMapaCobertura && ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO;

    // Sections and their widths; a count the table cannot hold is cut to the table.
    int iSecoes = 1;
    const std::uint16_t* pusLarguras = stConfig.usTamanhoSeccao;
    if (ucOperacao == D_ZAVORO_OPERACAO_PULVERIZACAO)
        iSecoes =
            std::min<int>(stConfig.ucNumeroSecoes, static_cast<int>(std::size(stConfig.usTamanhoSeccao)));
    else if (ucOperacao == D_ZAVORO_OPERACAO_ADUBACAO)
    {
        pusLarguras = stConfig.usTamanhoSecaoAdub;
        if (stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO ||
            stConfig.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_REBOCADO)
        {
            iSecoes = std::min<int>(stConfig.ucNumeroSecoesAdub,
                                    static_cast<int>(std::size(stConfig.usTamanhoSecaoAdub)));
            // Each section has its own rate: one pass per section on the rate map.
            if (bMapaCobertura)
                stEtapa.iPassagens = std::max(iSecoes, 1);
        }
        else
            stConfig.usTamanhoSecaoAdub[0] = stConfig.usLarguraImplemento;
    }
    else if (ucOperacao == D_ZAVORO_OPERACAO_PLANTIO)
    {
        pusLarguras = stConfig.usTamanhoSeccaoPlantio;
        iSecoes = std::min<int>(stConfig.ucNumeroSecoesPlantio,
                                static_cast<int>(std::size(stConfig.usTamanhoSeccaoPlantio)));
    }

    ST_DesenhoPoligono& stDesenho = *pstDesenho;
    stDesenho.dZeroRelativoLon = dZeroRelativoLon;
    stDesenho.dZeroRelativoLat = dZeroRelativoLat;
    stDesenho.usLarguraImplemento = stConfig.usLarguraImplemento;
    stDesenho.pusTamanhoSeccao = pusLarguras;
    stDesenho.ucOperacao = ucOperacao;
    stDesenho.ucNumeroSecoes = static_cast<std::uint8_t>(iSecoes);
    stDesenho.fLarguraImplemento = stConfig.fLarguraImplemento;
    stDesenho.usVersaoArquivoEvento = usVersaoArquivoEvento;
    *pstEtapa = stEtapa;
    return TRUE;
}

// Section mask of a point as pass iPassagem of the stage sees it.
std::uint16_t MascararSecoes(std::uint16_t usSecoes, const ST_EtapaPoligonos& stEtapa, int iPassagem)
{
    if (!stEtapa.bMapaTaxaAdub)
        return usSecoes;
    // A pass draws its own section; a single-belt spreader has one.
    if (stEtapa.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_LANCO_1_ESTEIRA)
        return static_cast<std::uint16_t>(usSecoes & 1u);
    if ((stEtapa.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_ACOPLADO ||
         stEtapa.ucTipoMaquinaAdub == D_ZAVORO_TIPO_MAQUINA_DASTRA_REBOCADO) &&
        stEtapa.iPassagens > 1)
        return static_cast<std::uint16_t>(usSecoes & (1u << iPassagem));
    return usSecoes;
}

// Value of a point of a valued stage: speed (km/h), the pass's fertiliser rate (kg/ha) or the
// spraying rate (L/ha, stored in tenths).
int ValorPonto(const ST_PontoNVG_v2& stPonto, const ST_EtapaPoligonos& stEtapa, int iPassagem)
{
    if (stEtapa.iTipoMapa == D_CONVERSOR_TIPO_MAPA_VELOCIDADE)
        return stPonto.ucVelocidade;
    if (stEtapa.bMapaTaxaAdub)
        return stPonto.usTaxaLida[iPassagem];
    // Spraying rates are stored in tenths of L/ha.
    return stPonto.usTaxaLida[0] / 10;
}

bool SaltoDeValor(int iValor, int iValorAnterior)
{
    if (iValorAnterior <= 0)
        return iValor > 0;
    const double dRazao = static_cast<double>(iValor) / static_cast<double>(iValorAnterior);
    if (dRazao > kRazaoSaltoSuperior || dRazao < kRazaoSaltoInferior)
        return true;
    return std::abs(iValor - iValorAnterior) >= kDiferencaSalto;
}

// Length cut: stages whose coverage has no value of its own are still drawn on the coverage maps, as
// value 0.
bool DesenhaPoligonosSemValor(const ST_EtapaPoligonos& stEtapa)
{
    if (stEtapa.iTipoMapa == D_CONVERSOR_TIPO_MAPA_VELOCIDADE)
        return false;
    return stEtapa.ucOperacao == D_ZAVORO_OPERACAO_COLHEITA ||
           stEtapa.ucOperacao == D_ZAVORO_OPERACAO_PLANTIO ||
           stEtapa.ucOperacao == D_ZAVORO_OPERACAO_IRRIGACAO ||
           stEtapa.ucOperacao == D_ZAVORO_OPERACAO_OUTROS;
}

int Classe(const ST_ReceptorCobertura& stReceptor, int iValor)
{
    return stReceptor.pfClasse != nullptr ? stReceptor.pfClasse(stReceptor.pContexto, iValor) : iValor;
}

// What a pass of either rule set works on, and the state of its open polygon.
struct ST_Passagem
{
    const ST_ReceptorCobertura* pstReceptor = nullptr;
    ST_PontoPoligono* pstBuffer = nullptr;
    ST_DesenhoPoligono* pstDesenho = nullptr;
    const ST_EtapaPoligonos* pstEtapa = nullptr;
    int iPassagem = 0;
    BOOL bPoligonoAberto = FALSE;
    int iPontosBuffer = 0;
    std::uint16_t usSecoesAnterior = 0;
};

// After the pass's last point: an open polygon of two points or more is drawn.
template <typename T>
BOOL ConcluirPassagem(T& stPassagem)
{
    if (stPassagem.bPoligonoAberto && stPassagem.iPontosBuffer > 1)
        return stPassagem.Desenhar();
    return TRUE;
}

// One pass over the stage's points by the class rules, a point at a time: the reading belongs to the
// driver, which may hand the same point to other walks.
struct ST_PassagemClasse : ST_Passagem
{
    int iFaixaAtual = kClasseInicial;
    ST_PontoNVG_v2 stUltimoPonto{};

    BOOL Desenhar()
    {
        pstDesenho->iPontosBuffer = iPontosBuffer;
        pstDesenho->iFaixaLegendaAtual = iFaixaAtual;
        iPontosBuffer = 0;
        return conversor_DesenharPoligono(pstDesenho, *pstReceptor);
    }

    BOOL Receber(ST_PontoNVG_v2 stPonto)
    {
        const ST_ReceptorCobertura& stReceptor = *pstReceptor;
        const ST_EtapaPoligonos& stEtapa = *pstEtapa;
        BOOL bAbrirNovo = FALSE;
        BOOL bFecharAtual = FALSE;
        BOOL bFecharAnterior = FALSE;
        int iValor = 0;
        if ((stPonto.usTag & D_ZAVORO_TAG_RASTRO) == 0)
            return TRUE;

        const std::uint16_t usSecoes = MascararSecoes(stPonto.usSecoes, stEtapa, iPassagem);
        stPonto.usSecoes = usSecoes;

        const BOOL bSecoesMudaram = usSecoes != usSecoesAnterior;
        if (!bPoligonoAberto && bSecoesMudaram)
            bAbrirNovo = TRUE;

        if (stEtapa.bTemLegenda)
        {
            if (bPoligonoAberto)
            {
                iValor = ValorPonto(stPonto, stEtapa, iPassagem);
                if (iPontosBuffer == 1)
                {
                    // The class follows the values until a second point is buffered.
                    if (iValor != 0)
                    {
                        iFaixaAtual = Classe(stReceptor, iValor);
                        if (bSecoesMudaram)
                            bFecharAtual = TRUE;
                    }
                    else
                    {
                        iPontosBuffer = 0;
                        bAbrirNovo = TRUE;
                    }
                }
                else if (iPontosBuffer > 1 && (iValor == 0 || Classe(stReceptor, iValor) != iFaixaAtual))
                    bFecharAnterior = TRUE;
            }
            else if (usSecoes != 0)
            {
                iValor = ValorPonto(stPonto, stEtapa, iPassagem);
                if (iValor != 0)
                    bAbrirNovo = TRUE;
            }
        }

        if (bSecoesMudaram && bPoligonoAberto)
            bFecharAtual = TRUE;
        if (iPontosBuffer > kPontosFecharClasse)
            bFecharAtual = TRUE;

        if (bAbrirNovo)
        {
            InserirPontoPoligono(pstBuffer, &stPonto, 0);
            iPontosBuffer = 1;
            bPoligonoAberto = TRUE;
            stUltimoPonto = stPonto;
            usSecoesAnterior = usSecoes;
            return TRUE;
        }

        if (bFecharAnterior)
        {
            if (!Desenhar())
                return FALSE;
            if (iValor > 0)
            {
                // The next class starts where the last one ended, so the strips join.
                ST_PontoNVG_v2 stInicio = stUltimoPonto;
                stInicio.usSecoes = usSecoesAnterior;
                InserirPontoPoligono(pstBuffer, &stInicio, 0);
                iFaixaAtual = Classe(stReceptor, iValor);
                iPontosBuffer = 1;
                bPoligonoAberto = TRUE;
            }
            else
                bPoligonoAberto = FALSE;
        }

        if (bPoligonoAberto)
        {
            // A closing point ends the strip it closes, with that strip's sections.
            if (bFecharAtual)
                stPonto.usSecoes = usSecoesAnterior;
            if (iPontosBuffer > 0 && iPontosBuffer < kPontosBufferClasse &&
                (bFecharAtual || !PontoProximoDoAnterior(pstBuffer, &stPonto, iPontosBuffer)))
            {
                InserirPontoPoligono(pstBuffer, &stPonto, iPontosBuffer);
                ++iPontosBuffer;
                stUltimoPonto = stPonto;
            }
            stPonto.usSecoes = usSecoes;
        }

        if (bFecharAtual)
        {
            if (!Desenhar())
                return FALSE;
            if (usSecoes != 0)
            {
                InserirPontoPoligono(pstBuffer, &stPonto, 0);
                iPontosBuffer = 1;
                bPoligonoAberto = TRUE;
                stUltimoPonto = stPonto;
            }
            else
                bPoligonoAberto = FALSE;
        }

        usSecoesAnterior = usSecoes;
        return TRUE;
    }
};

// One pass over the stage's points by the length rules, a point at a time. Length limit: raised for
// the rest of the file by the first irrigation point, so it lives in the walk, not in the pass.
struct ST_PassagemComprimento : ST_Passagem
{
    double* pdLimite = nullptr;
    BOOL bTemValor = FALSE;
    bool bSemValor = false;

    int iValorAnterior = 0;
    int iMedia = 0;
    int iContagemMedia = 0;
    double dComprimento = 0.0;
    float fLonAnterior = 0.0f;
    float fLatAnterior = 0.0f;
    ST_PontoNVG_v2 stPonto{}; // the point being taken

    // Times and speeds of the points since the polygon opened, its closing point included.
    ST_DadosPoligono stDados;
    double dSomaVelocidade = 0.0;
    int iPontosDados = 0;

    void Acompanhar()
    {
        stDados.ulFim = stPonto.ulSegundosDataHora;
        dSomaVelocidade += stPonto.ucVelocidade;
        ++iPontosDados;
    }

    BOOL Desenhar()
    {
        const ST_ReceptorCobertura& stReceptor = *pstReceptor;
        pstDesenho->iPontosBuffer = iPontosBuffer;
        pstDesenho->iFaixaLegendaAtual = iMedia;
        if (stReceptor.pfDadosPoligono != nullptr)
        {
            stDados.dVelocidadeMedia = iPontosDados > 0 ? dSomaVelocidade / iPontosDados : 0.0;
            stDados.usSecoes = pstBuffer[0].usSecoes;
            stReceptor.pfDadosPoligono(stReceptor.pContexto, stDados);
        }
        return conversor_DesenharPoligono(pstDesenho, stReceptor);
    }

    void Abrir(int iValor)
    {
        InserirPontoPoligono(pstBuffer, &stPonto, 0);
        stDados.ulInicio = stPonto.ulSegundosDataHora;
        dSomaVelocidade = 0.0;
        iPontosDados = 0;
        Acompanhar();
        iPontosBuffer = 1;
        bPoligonoAberto = TRUE;
        if (bTemValor)
        {
            iMedia = iValor;
            iContagemMedia = 1;
        }
        dComprimento = 0.0;
    }

    BOOL Receber(const ST_PontoNVG_v2& stLido)
    {
        const ST_EtapaPoligonos& stEtapa = *pstEtapa;
        stPonto = stLido;
        if ((stPonto.usTag & D_ZAVORO_TAG_RASTRO) == 0)
            return TRUE;
        if (stEtapa.ucOperacao == D_ZAVORO_OPERACAO_IRRIGACAO)
            *pdLimite = kComprimentoPoligonoIrrigacao;

        const std::uint16_t usSecoes = MascararSecoes(stPonto.usSecoes, stEtapa, iPassagem);
        stPonto.usSecoes = usSecoes;
        const bool bSecoesMudaram = usSecoes != usSecoesAnterior;
        bool bAbrirNovo = !bPoligonoAberto && bSecoesMudaram && !bTemValor;
        bool bFecharAtual = false;
        int iValor = 0;

        if (bTemValor)
        {
            iValor = ValorPonto(stPonto, stEtapa, iPassagem);
            if (bPoligonoAberto)
            {
                if (iValor == 0)
                    bFecharAtual = true;
                // The opening point's value gives way to the next one seen.
                if (iPontosBuffer == 1)
                    iMedia = iValor;
            }
            else if (usSecoes != 0 && iValor > 0)
                bAbrirNovo = true;
        }

        dComprimento += zavoro_CalcularDistancia2Pontos(std::fabs(stPonto.fLongitudeRelImp - fLonAnterior),
                                                        std::fabs(stPonto.fLatitudeRelImp - fLatAnterior));
        fLonAnterior = stPonto.fLongitudeRelImp;
        fLatAnterior = stPonto.fLatitudeRelImp;

        if (bSecoesMudaram && bPoligonoAberto)
            bFecharAtual = true;
        if (iPontosBuffer > kPontosFecharComprimento || (dComprimento >= *pdLimite && iPontosBuffer > 0) ||
            (SaltoDeValor(iValor, iValorAnterior) && iPontosBuffer > 0))
            bFecharAtual = true;

        if (bAbrirNovo)
            Abrir(iValor);
        else
        {
            if (bPoligonoAberto)
            {
                Acompanhar();
                // A closing point ends the strip it closes, with that strip's sections.
                if (bFecharAtual)
                    stPonto.usSecoes = usSecoesAnterior;
                if (iPontosBuffer > 0 && iPontosBuffer < kPontosBufferComprimento &&
                    (bFecharAtual || !PontoProximoDoAnterior(pstBuffer, &stPonto, iPontosBuffer)))
                {
                    InserirPontoPoligono(pstBuffer, &stPonto, iPontosBuffer);
                    ++iPontosBuffer;
                }
                stPonto.usSecoes = usSecoes;
                if (!bFecharAtual && bTemValor)
                {
                    iMedia = static_cast<int>(
                        std::floor(std::floor(iContagemMedia * static_cast<double>(iMedia) + iValor) /
                                   (iContagemMedia + 1)));
                    ++iContagemMedia;
                }
            }
            if (bFecharAtual)
            {
                if ((iMedia > 0 || bSemValor) && !Desenhar())
                    return FALSE;
                iPontosBuffer = 0;
                iMedia = 0;
                iContagemMedia = 0;
                if (usSecoes != 0)
                    Abrir(iValor);
                else
                    bPoligonoAberto = FALSE;
            }
        }
        usSecoesAnterior = usSecoes;
        iValorAnterior = iValor;
        return TRUE;
    }
};

// What one walk carries from stage to stage, and its pass under way.
struct ST_Percurso
{
    ST_PercursoCobertura* pstPercurso = nullptr; // its cut and receiver; bOk says it still runs
    bool bCorteClasse = false;
    std::vector<ST_PontoPoligono> vBuffer;
    ST_DesenhoPoligono stDesenho; // the stage's drawing over this walk's buffer
    double dLimite = kComprimentoPoligono;
    ST_PassagemClasse stClasse;
    ST_PassagemComprimento stComprimento;

    void IniciarPassagem(const ST_EtapaPoligonos& stEtapa, int iPassagem)
    {
        const ST_Passagem stPassagem{pstPercurso->pstReceptor, vBuffer.data(), &stDesenho, &stEtapa, iPassagem};
        if (bCorteClasse)
        {
            stClasse = ST_PassagemClasse{};
            static_cast<ST_Passagem&>(stClasse) = stPassagem;
            return;
        }
        stComprimento = ST_PassagemComprimento{};
        static_cast<ST_Passagem&>(stComprimento) = stPassagem;
        stComprimento.pdLimite = &dLimite;
        stComprimento.bTemValor = stEtapa.bTemLegenda;
        stComprimento.bSemValor = DesenhaPoligonosSemValor(stEtapa);
    }
    BOOL Receber(const ST_PontoNVG_v2& stPonto)
    {
        return bCorteClasse ? stClasse.Receber(stPonto) : stComprimento.Receber(stPonto);
    }
    BOOL Concluir() { return bCorteClasse ? ConcluirPassagem(stClasse) : ConcluirPassagem(stComprimento); }
};

} // namespace

BOOL cobertura_PercorrerCoberturas(std::FILE* pfArquivoLeitura, unsigned short usVersaoArquivoEvento,
                                   std::uint32_t ulNumConfiguracoes, int iTipoMapa, double dZeroRelativoLon,
                                   double dZeroRelativoLat, std::span<ST_PercursoCobertura> vPercursos)
{
    std::vector<ST_Percurso> vCaminhadas(vPercursos.size());
    for (std::size_t i = 0; i < vPercursos.size(); ++i)
    {
        ST_Percurso& stCaminhada = vCaminhadas[i];
        stCaminhada.pstPercurso = &vPercursos[i];
        stCaminhada.bCorteClasse = vPercursos[i].iCorte == D_COBERTURA_CORTE_CLASSE;
        stCaminhada.vBuffer.resize(stCaminhada.bCorteClasse ? kPontosBufferClasse : kPontosBufferComprimento);
        vPercursos[i].bOk = TRUE;
    }
    std::size_t nAtivos = vPercursos.size();
    // A walk whose receiver refused a ring stops; the others go on.
    auto Parar = [&](ST_Percurso& stCaminhada)
    {
        stCaminhada.pstPercurso->bOk = FALSE;
        --nAtivos;
    };
    // A read that fails stops every walk.
    auto PararTodos = [&]() -> BOOL
    {
        for (ST_PercursoCobertura& stPercurso : vPercursos)
            stPercurso.bOk = FALSE;
        return FALSE;
    };
    auto Ativo = [](const ST_Percurso& stCaminhada) { return stCaminhada.pstPercurso->bOk != FALSE; };

    ST_LeitorPontosNVG stLeitor;
    ST_PontoNVG_v2 stPonto{};
    for (std::uint32_t ulEtapa = 0; ulEtapa < ulNumConfiguracoes && nAtivos > 0; ++ulEtapa)
    {
        ST_EventoConfig_v9 stConfig;
        ST_EtapaPoligonos stEtapa;
        ST_DesenhoPoligono stDesenho;
        if (!PrepararEtapa(pfArquivoLeitura, usVersaoArquivoEvento, iTipoMapa, dZeroRelativoLon,
                           dZeroRelativoLat, &stConfig, &stEtapa, &stDesenho))
            return PararTodos();
        for (ST_Percurso& stCaminhada : vCaminhadas)
        {
            if (!Ativo(stCaminhada))
                continue;
            stCaminhada.stDesenho = stDesenho;
            stCaminhada.stDesenho.pstPontoPoligono = stCaminhada.vBuffer.data();
            const ST_ReceptorCobertura& stReceptor = *stCaminhada.pstPercurso->pstReceptor;
            if (stReceptor.pfIniciarEtapa != nullptr)
                stReceptor.pfIniciarEtapa(stReceptor.pContexto, stEtapa);
        }

        // Every pass reads the stage's points again.
        const long lPrimeiroPonto = std::ftell(pfArquivoLeitura);
        if (lPrimeiroPonto < 0)
            return PararTodos();
        for (int iPassagem = 0; iPassagem < stEtapa.iPassagens && nAtivos > 0; ++iPassagem)
        {
            if (iPassagem > 0 && std::fseek(pfArquivoLeitura, lPrimeiroPonto, SEEK_SET) != 0)
                return PararTodos();
            zavoro_IniciarLeitorPontos(&stLeitor, pfArquivoLeitura, usVersaoArquivoEvento, stEtapa.ulNumeroPontos);
            for (ST_Percurso& stCaminhada : vCaminhadas)
                if (Ativo(stCaminhada))
                    stCaminhada.IniciarPassagem(stEtapa, iPassagem);
            for (std::uint32_t ul = 0; ul < stEtapa.ulNumeroPontos && nAtivos > 0; ++ul)
            {
                if (!zavoro_LerProximoPonto(&stLeitor, &stPonto))
                    return PararTodos();
                for (ST_Percurso& stCaminhada : vCaminhadas)
                    if (Ativo(stCaminhada) && !stCaminhada.Receber(stPonto))
                        Parar(stCaminhada);
            }
            for (ST_Percurso& stCaminhada : vCaminhadas)
                if (Ativo(stCaminhada) && !stCaminhada.Concluir())
                    Parar(stCaminhada);
        }
    }
    return nAtivos == vPercursos.size() ? TRUE : FALSE;
}

BOOL cobertura_PercorrerCobertura(std::FILE* pfArquivoLeitura, unsigned short usVersaoArquivoEvento,
                                  std::uint32_t ulNumConfiguracoes, int iTipoMapa, double dZeroRelativoLon,
                                  double dZeroRelativoLat, int iCorte, const ST_ReceptorCobertura& stReceptor)
{
    ST_PercursoCobertura stPercurso;
    stPercurso.iCorte = iCorte;
    stPercurso.pstReceptor = &stReceptor;
    return cobertura_PercorrerCoberturas(pfArquivoLeitura, usVersaoArquivoEvento, ulNumConfiguracoes, iTipoMapa,
                                         dZeroRelativoLon, dZeroRelativoLat, std::span(&stPercurso, 1));
}
