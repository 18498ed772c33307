// The report and map writers on arbitrary bytes, without validation first: they trust a validated
// file's structure, but hostile bytes must still never make them read out of bounds, hang or crash.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "pastaFuzz.h"
#include "zavoro/conversor.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pucDados, std::size_t tamanho)
{
    std::string szEntrada;
    if (!fuzz_GravarNavegacao(pucDados, tamanho, &szEntrada))
        return 0;

    ST_ParametrosMapa stParametros;
    const int iAlvos[D_CONVERSOR_NUMERO_ALVOS] = {75, 125, 175, 225, 300};
    conversor_SetarLegenda(iAlvos, D_CONVERSOR_TIPO_MAPA_COBERTURA, stParametros.gstLegendaMapa);
    stParametros.gstShpLegendaMapa.ucNumLinhasLegenda = 13;
    for (int r = 0; r < 13; r++)
    {
        stParametros.gstShpLegendaMapa.ulValorLegenda[r][0] = static_cast<std::uint32_t>(r * 20 + 1);
        stParametros.gstShpLegendaMapa.ulValorLegenda[r][1] = static_cast<std::uint32_t>(r * 20 + 20);
    }

    (void)conversor_AnalisarTiposArqNavegacao(szEntrada.c_str());
    ST_DetalhesConversao stDetalhes;
    conversor_RetornarDetalhesConversao(szEntrada.c_str(), &stDetalhes);
    (void)conversor_CriarRelatoriosNavegacao(szEntrada.c_str(), (fuzz_Pasta() / "saida.txt").string().c_str());
    for (int iTipoMapa : {D_CONVERSOR_TIPO_MAPA_COBERTURA, D_CONVERSOR_TIPO_MAPA_VELOCIDADE,
                          D_CONVERSOR_TIPO_MAPA_COBERTURA_COM_RECOMENDACAO})
        (void)conversor_CriarMapaNavegacao(szEntrada.c_str(), (fuzz_Pasta() / "saida.kml").string().c_str(), iTipoMapa, &stParametros);
    return 0;
}
