// Validation of arbitrary bytes as a navigation file, and, for what passes, the walk every converter
// makes over it: field, guides with their curves, boundaries, then each stage's block and points.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "zavoro/arquivo.h"
#include "zavoro/zavoro.h"

namespace
{
template <typename T> bool Ler(std::FILE* pf, T* p)
{
    return std::fread(p, sizeof(T), 1, pf) == 1;
}

// Walks entries by their lengths and reads the records inside, never past an entry's end.
void PercorrerValido(std::FILE* pf)
{
    std::uint32_t uiVersao = 0;
    std::int32_t iTamanho = 0;
    std::fseek(pf, 0, SEEK_SET);
    if (!Ler(pf, &uiVersao) || !Ler(pf, &iTamanho))
        __builtin_trap(); // validation guaranteed these
    std::fseek(pf, 4 + 4 + iTamanho, SEEK_SET);

    std::uint32_t ulListas = uiVersao == D_ZAVORO_VERSAO_ARQUIVO_NAVEGACAO_COM_LIMITES ? 2 : 1;
    for (std::uint32_t l = 0; l < ulListas; l++)
    {
        std::uint32_t ulNumero = 0;
        if (!Ler(pf, &ulNumero))
            __builtin_trap();
        for (std::uint32_t i = 0; i < ulNumero; i++)
        {
            long lInicio = std::ftell(pf);
            if (!Ler(pf, &iTamanho))
                __builtin_trap();
            long lFim = lInicio + 4 + iTamanho - 1; // checksum byte
            std::uint16_t usVersao = 0;
            Ler(pf, &usVersao);
            unsigned char ucRegistro[sizeof(ST_Guia_v2)];
            std::size_t tamanhoRegistro = l == 1 ? sizeof(ST_Limite_v1) : (usVersao == 1 ? 48 : 56);
            if (std::fread(ucRegistro, 1, tamanhoRegistro, pf) != tamanhoRegistro)
                __builtin_trap(); // validation guaranteed the record fits
            ST_PontosCurva stPonto;
            while (std::ftell(pf) + static_cast<long>(sizeof stPonto) <= lFim && Ler(pf, &stPonto))
            {
            }
            std::fseek(pf, lInicio + 4 + iTamanho, SEEK_SET);
        }
    }

    long lEvento = std::ftell(pf);
    std::uint16_t usVersaoEvento = 0;
    ST_EventoCabecalho stCabecalho;
    if (!Ler(pf, &iTamanho) || !Ler(pf, &usVersaoEvento) || !Ler(pf, &stCabecalho))
        __builtin_trap();
    long lFimEvento = lEvento + 4 + iTamanho - 1;
    ST_EventoConfig_v9 stConfig;
    ST_PontoNVG_v2 stPonto{};
    for (std::uint32_t i = 0; i < stCabecalho.ulNumConfiguracoes; i++)
    {
        if (!zavoro_LerConfiguracaoEvento(pf, usVersaoEvento, &stConfig))
            __builtin_trap();
        std::uint8_t ucOperacao = zavoro_TraduzirOperacao(stConfig.ucOperacao, usVersaoEvento);
        for (std::uint32_t k = 0; k < stConfig.ulNumeroPontosRastro; k++)
        {
            int iLidos = 0;
            if (!zavoro_LerEstruturaLog(pf, &stPonto, usVersaoEvento, &iLidos))
                __builtin_trap();
            (void)zavoro_CalcularQuantidadeAplicada(&stPonto, ucOperacao);
        }
        if (std::ftell(pf) > lFimEvento)
            __builtin_trap(); // a validated event keeps its stages inside the section
    }
}

void Validar(const std::uint8_t* pucDados, std::size_t tamanho)
{
    std::FILE* pf = fmemopen(const_cast<std::uint8_t*>(pucDados), tamanho, "rb");
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
    vCopia.back() = arquivo_CalcularXor(vCopia.data(), vCopia.size() - 1);
    Validar(vCopia.data(), vCopia.size());

    // Raw point reads of every format over the same bytes.
    std::FILE* pf = fmemopen(vCopia.data(), vCopia.size(), "rb");
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
