// Validation of arbitrary bytes as a navigation file, and, for what passes, what every converter does
// with it: the container walk, the points of guides and boundaries, then each stage's block and points.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "funcoesAuxiliares/leitorBinario.h"
#include "zavoro/zavoro.h"

namespace
{
// The bytes as a read-only stream: in memory where the C library can, else through a temporary file.
std::FILE* AbrirBytes(const std::uint8_t* pucDados, std::size_t tamanho)
{
#if defined(_WIN32)
    std::FILE* pf = std::tmpfile();
    if (pf != nullptr && (std::fwrite(pucDados, 1, tamanho, pf) != tamanho || std::fseek(pf, 0, SEEK_SET) != 0))
    {
        std::fclose(pf);
        return nullptr;
    }
    return pf;
#else
    return fmemopen(const_cast<std::uint8_t*>(pucDados), tamanho, "rb");
#endif
}

// The points after an entry's record, read up to its checksum byte and never past it.
void LerPontosEntrada(FuncAux_LeitorBinario& stLeitor, const ST_EntradaNavegacao& stEntrada)
{
    const long long llFim = stEntrada.llInicio + 4 + stEntrada.iTamanho - 1;
    ST_LimitesLeitura stFora;
    if (stEntrada.llDados > llFim || !stLeitor.IrPara(static_cast<std::uint64_t>(stEntrada.llDados)) ||
        !stLeitor.Limitar(static_cast<std::uint64_t>(llFim - stEntrada.llDados), &stFora))
        __builtin_trap(); // the walk guaranteed the record and the checksum byte fit
    ST_PontosCurva stPonto;
    while (stLeitor.Ler(&stPonto))
    {
    }
    if (stLeitor.ErroLeitura() || !stLeitor.SairLimite(stFora))
        __builtin_trap();
}

// What the converters do with a file that passed: the container walk, the points of every guide and
// boundary, then each stage's block and points, all inside their parts.
void PercorrerValido(std::FILE* pf)
{
    ST_EstruturaNavegacao st;
    if (!zavoro_PercorrerEstrutura(pf, &st))
        __builtin_trap(); // validation accepts nothing the walk refuses
    FuncAux_LeitorBinario stLeitor(pf);
    for (const ST_GuiaNavegacao& stGuia : st.vGuias)
        LerPontosEntrada(stLeitor, stGuia.stEntrada);
    for (const ST_LimiteNavegacao& stLimite : st.vLimites)
        LerPontosEntrada(stLeitor, stLimite.stEntrada);

    const long long llSecao = st.lPrimeiraEtapa - static_cast<long long>(4 + 2 + sizeof(ST_EventoCabecalho));
    std::int32_t iTamanho = 0;
    if (!stLeitor.IrPara(static_cast<std::uint64_t>(llSecao)) || !stLeitor.Ler(&iTamanho) ||
        std::fseek(pf, st.lPrimeiraEtapa, SEEK_SET) != 0)
        __builtin_trap();
    const long lFimEvento = static_cast<long>(llSecao + 4 + iTamanho - 1);
    ST_EventoConfig_v9 stConfig;
    ST_PontoNVG_v2 stPonto{};
    for (std::uint32_t i = 0; i < st.stCabecalho.ulNumConfiguracoes; i++)
    {
        if (!zavoro_LerConfiguracaoEvento(pf, st.usVersaoArquivoEvento, &stConfig))
            __builtin_trap();
        std::uint8_t ucOperacao = zavoro_TraduzirOperacao(stConfig.ucOperacao, st.usVersaoArquivoEvento);
        for (std::uint32_t k = 0; k < stConfig.ulNumeroPontosRastro; k++)
        {
            int iLidos = 0;
            if (!zavoro_LerEstruturaLog(pf, &stPonto, st.usVersaoArquivoEvento, &iLidos))
                __builtin_trap();
            (void)zavoro_CalcularQuantidadeAplicada(&stPonto, ucOperacao);
        }
        if (std::ftell(pf) > lFimEvento)
            __builtin_trap(); // a validated event keeps its stages inside the section
    }
}

void Validar(const std::uint8_t* pucDados, std::size_t tamanho)
{
    std::FILE* pf = AbrirBytes(pucDados, tamanho);
    if (pf == nullptr)
        return;
    ST_DiagnosticoValidacao stDiag;
    if (zavoro_DiagnosticarArquivoNavegacaoAberto(pf, &stDiag))
        PercorrerValido(pf);
    else if (stDiag.szMotivo.empty())
        __builtin_trap(); // every rejection says why
    std::fclose(pf);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pucDados, std::size_t tamanho)
{
    if (tamanho == 0 || tamanho > (1u << 20))
        return 0;
    Validar(pucDados, tamanho);

    // Most mutations break the file checksum; mend it so the walk beyond it is explored too.
    std::vector<std::uint8_t> vCopia(pucDados, pucDados + tamanho);
    vCopia.back() = funcAux_CalcularXor(vCopia.data(), vCopia.size() - 1);
    Validar(vCopia.data(), vCopia.size());

    // Raw point reads of every format over the same bytes.
    std::FILE* pf = AbrirBytes(vCopia.data(), vCopia.size());
    if (pf != nullptr)
    {
        ST_PontoNVG_v2 stPonto{};
        int iLidos = 0;
        unsigned int uiVersao = pucDados[0] % 11;
        while (zavoro_LerEstruturaLog(pf, &stPonto, uiVersao, &iLidos))
        {
        }
        std::fclose(pf);
    }
    return 0;
}
