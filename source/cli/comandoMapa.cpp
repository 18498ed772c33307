// zavoro mapa: KML maps of the coverage, classed by rate or speed against five targets.
#include <cstdlib>
#include <sstream>

#include "cli/comandos.h"
#include "zavoro/conversor.h"
#include "zavoro/zavoro.h"

namespace
{
constexpr std::size_t kDigitosAlvo = 4;

constexpr const char* kAjuda =
    "Uso: zavoro mapa [OPÇÕES] ALVO...\n"
    "\n"
    "Gera o mapa KML de cada arquivo de navegação (campo_Cobertura.kml ou\n"
    "campo_Velocidade.kml) e, ao lado dele, o conjunto Shapefile da cobertura (.shp, .shx,\n"
    ".dbf, .prj). ALVO é um arquivo ou uma pasta (buscada com as subpastas).\n"
    "\n"
    "Opções:\n"
    "  --cobertura       mapa de cobertura, classificado pela taxa aplicada (padrão)\n"
    "  --velocidade      mapa de velocidade (não combina com --cobertura)\n"
    "  --alvos A,B,C,D,E os cinco valores alvo das classes, inteiros de até quatro\n"
    "                    dígitos; vazios permitidos (--alvos 100,,,200,)\n"
    "  -j N              converte N arquivos ao mesmo tempo (padrão: o número de núcleos)\n";

// Five slots as the window's five edits (an empty one is allowed), each of at most four digits.
// Returns why the text is refused, or "".
std::string LerAlvos(const std::string& szTexto, int* piAlvos)
{
    std::vector<std::string> vPartes;
    std::stringstream ss(szTexto);
    for (std::string sz; std::getline(ss, sz, ',');)
        vPartes.push_back(sz);
    if (!szTexto.empty() && szTexto.back() == ',')
        vPartes.emplace_back();
    if (vPartes.size() != D_CONVERSOR_NUMERO_ALVOS)
        return "--alvos exige cinco valores separados por vírgula (vazios permitidos): " + szTexto;
    for (int i = 0; i < D_CONVERSOR_NUMERO_ALVOS; i++)
    {
        const std::string& sz = vPartes[i];
        piAlvos[i] = D_CONVERSOR_VALOR_ALVO_VAZIO;
        if (sz.empty())
            continue;
        if (sz.find_first_not_of("0123456789") != std::string::npos)
            return "--alvos aceita só números inteiros sem sinal: " + sz;
        if (sz.size() > kDigitosAlvo)
            return "--alvos: valor grande demais (no máximo " + std::to_string(kDigitosAlvo) + " dígitos): " + sz;
        piAlvos[i] = std::atoi(sz.c_str());
    }
    return {};
}
} // namespace

int cli_Mapa(const std::vector<std::string>& vArgumentos)
{
    int iTipoMapa = D_CONVERSOR_TIPO_MAPA_COBERTURA;
    int iAlvos[D_CONVERSOR_NUMERO_ALVOS];
    bool bAlvosDados = false;
    int iTrabalhos = cli_TrabalhosPadrao();
    int iCobertura = 0, iVelocidade = 0;
    ST_SaidaCli stSaida;
    const ST_OpcaoCli vOpcoes[] = {
        cli_OpcaoChave("--cobertura", &iCobertura, 1),
        cli_OpcaoChave("--velocidade", &iVelocidade, 1),
        {"--alvos", "cinco valores separados por vírgula",
         [&](const std::string& szValor) {
             bAlvosDados = true;
             return LerAlvos(szValor, iAlvos);
         }},
        cli_OpcaoTrabalhos(&iTrabalhos),
    };
    std::vector<std::string> vAlvos;
    if (const int iFim = cli_LerArgumentos(vArgumentos, kAjuda, vOpcoes, &vAlvos, &stSaida); iFim != D_CLI_CONTINUAR)
        return iFim;
    if (iCobertura != 0 && iVelocidade != 0)
        return cli_ErroUso("mapa: use --cobertura ou --velocidade, não as duas");
    if (iVelocidade != 0)
        iTipoMapa = D_CONVERSOR_TIPO_MAPA_VELOCIDADE;
    if (vAlvos.empty())
        return cli_ErroUso("mapa: informe ao menos um arquivo ou pasta");
    if (!bAlvosDados)
        for (int i = 0; i < D_CONVERSOR_NUMERO_ALVOS; i++)
            iAlvos[i] = iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA ? D_CONVERSOR_TAXAS_ALVO_PADRAO[i]
                                                                     : D_CONVERSOR_VELOCIDADES_ALVO_PADRAO[i];

    std::vector<std::string> vArquivos;
    bool bBuscasOk = cli_ExpandirAlvos(vAlvos, vArquivos);

    // As in the window: a coverage map of files that are all of other operations has no rate to class,
    // so its targets are not asked for. Only targets that do not make a legend need the files' kinds
    // (each file validated, then classified: reads of the whole file the conversion does again).
    auto SemTaxas = [&vArquivos]
    {
        int iTipos = 0;
        for (const std::string& sz : vArquivos)
            if (zavoro_ValidarArquivoNavegacao(sz.c_str()))
                iTipos |= conversor_AnalisarTiposArqNavegacao(sz.c_str());
        return (iTipos & (D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_PULVERIZACAO |
                          D_CONVERSOR_TIPO_ARQUIVOS_CARREGADOS_ADUBACAO)) == 0;
    };

    ST_ParametrosMapa stParametros;
    conversor_SetarLegenda(iAlvos, iTipoMapa, stParametros.gstLegendaMapa);
    if (!conversor_AnalisarDadosLegenda(stParametros.gstLegendaMapa) &&
        !(iTipoMapa == D_CONVERSOR_TIPO_MAPA_COBERTURA && SemTaxas()))
        return cli_ErroUso(D_CONVERSOR_TEXTO_ERRO_LEGENDA);

    std::vector<ST_DetalhesConversao> vResultados;
    int iSaida = cli_ConverterArquivos(vArquivos,
                                       iTipoMapa == D_CONVERSOR_TIPO_MAPA_VELOCIDADE
                                           ? D_CONVERSOR_TIPO_CONVERSAO_MAPA_VELOCIDADE
                                           : D_CONVERSOR_TIPO_CONVERSAO_MAPA_COBERTURA,
                                       iTrabalhos, stSaida, &stParametros, &vResultados);
    // The overlap lines belong to the plain report: --json keeps stdout to its objects, -q to nothing.
    if (!stSaida.bJson && !stSaida.bSilencioso)
        cli_ImprimirSobreposicao(vArquivos, vResultados);
    return bBuscasOk ? iSaida : D_CLI_SAIDA_FALHA;
}
