// Reading of polygon shapefile sets and their dBASE tables for the map viewer: field list, the check
// before drawing, the polygon count, the recommendation legend and the value of each polygon.
//
// Both files come from the user and are hostile: every read is checked against the bytes that
// remain, records are read one at a time, and nothing held grows with the table.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "funcoesAuxiliares/leitorBinario.h"
#include "zavoro/funcoesAuxiliares.h"
#include "zavoro/shapeFile.h"

namespace
{

constexpr std::uint8_t D_DBF_FIM_DESCRITORES = 0x0D;
constexpr std::uint8_t D_DBF_FIM_ARQUIVO = 0x1A;
constexpr std::uint8_t D_DBF_REGISTRO_ATIVO = ' ';
constexpr std::size_t D_DBF_TAMANHO_CABECALHO = 32;
constexpr std::size_t D_DBF_TAMANHO_DESCRITOR = 32;
// Beyond this the number is far above any accepted value; saturating keeps the digit loop exact.
constexpr std::uint64_t D_DECIMOS_SATURADO = 1000000000000000ull;
constexpr std::uint64_t D_DECIMOS_MAXIMO = 100000000ull; // 10000000.0

// Header and descriptors, leaving the reader at the first record (the byte after the 0x0D; the
// header length is not trusted for positioning). Descriptors read before a failure stay in pv.
bool lerCabecalhoDbf(FuncAux_LeitorBinario& l, ST_ShpDadosDbf* pstDados, std::vector<ST_ShpSubrecords>* pv)
{
    pv->clear();
    std::uint8_t ucCabecalho[D_DBF_TAMANHO_CABECALHO];
    if (l.Tamanho() <= D_DBF_TAMANHO_CABECALHO || !l.Ler(ucCabecalho, sizeof ucCabecalho))
        return false;
    pstDados->ulNumRecords = funcAux_LerLe32(ucCabecalho + 4);
    pstDados->usPosPrimeiroRecord = funcAux_LerLe16(ucCabecalho + 8);
    pstDados->usTamanhoBytesRecord = funcAux_LerLe16(ucCabecalho + 10);

    std::uint32_t ulPosicao = 1; // after the deletion flag
    for (;;)
    {
        std::uint8_t ucDescritor[D_DBF_TAMANHO_DESCRITOR];
        if (!l.Ler(ucDescritor, 1))
            return false; // no terminator
        if (ucDescritor[0] == D_DBF_FIM_DESCRITORES)
            return true;
        // The rest of the descriptor and, after it, at least the terminator.
        if (l.Restantes() < D_DBF_TAMANHO_DESCRITOR || pv->size() >= D_SHPFILE_MAX_CAMPOS_DBF ||
            !l.Ler(ucDescritor + 1, D_DBF_TAMANHO_DESCRITOR - 1))
            return false;
        ST_ShpSubrecords st;
        std::memcpy(st.ucNomeSubrecord, ucDescritor, 10);
        st.ucTipo = ucDescritor[11];
        st.ucTamanhoCampo = ucDescritor[16];
        st.ucCasasDecimais = ucDescritor[17];
        // Saturated: a field starting this far out cannot fit any record and is refused when chosen.
        st.usPosicaoCampo = static_cast<std::uint16_t>(std::min<std::uint32_t>(ulPosicao, 0xFFFF));
        ulPosicao += st.ucTamanhoCampo;
        pv->push_back(st);
    }
}

// The chosen field exists, is numeric and lies inside a record.
bool campoNumericoValido(const ST_ShpDadosDbf& stDados, const std::vector<ST_ShpSubrecords>& v,
                         unsigned int ulParam)
{
    if (ulParam >= v.size() || v[ulParam].ucTipo != 'N' || stDados.usTamanhoBytesRecord == 0)
        return false;
    return static_cast<std::uint32_t>(v[ulParam].usPosicaoCampo) + v[ulParam].ucTamanhoCampo <=
           stDados.usTamanhoBytesRecord;
}

struct TabelaAberta
{
    ST_ShpDadosDbf stDados;
    std::vector<ST_ShpSubrecords> vCampos;
};

// Opens a table up to its first record with a drawable chosen field.
bool abrirTabelaNumerica(FuncAux_LeitorBinario& l, TabelaAberta* pst, unsigned int ulParam)
{
    return l.Aberto() && lerCabecalhoDbf(l, &pst->stDados, &pst->vCampos) &&
           campoNumericoValido(pst->stDados, pst->vCampos, ulParam);
}

std::string nomeCampo(const ST_ShpSubrecords& st)
{
    const char* pc = reinterpret_cast<const char*>(st.ucNomeSubrecord);
    return funcAux_Cp1252ParaUtf8(std::string_view(pc, strnlen(pc, 10)));
}

} // namespace

BOOL shpFile_LerNumeroTexto(const std::uint8_t* pucCampo, std::size_t tamanho, std::uint64_t* pulDecimos)
{
    std::uint64_t ulValor = 0;
    bool bSeparador = false;
    for (std::size_t i = 0; i < tamanho; i++)
    {
        const std::uint8_t c = pucCampo[i];
        if (c >= '0' && c <= '9')
        {
            ulValor = std::min(ulValor + (c - '0'), D_DECIMOS_SATURADO);
            if (bSeparador)
                break; // one decimal is kept
            ulValor = std::min(ulValor * 10, D_DECIMOS_SATURADO);
        }
        else if (c == ',' || c == '.')
            bSeparador = true;
        else if (c != ' ')
        {
            *pulDecimos = 0;
            return FALSE;
        }
    }
    *pulDecimos = ulValor;
    return TRUE;
}

std::string shpFile_CaminhoDbf(const std::string& szShp)
{
#ifdef _WIN32
    const std::size_t posNome = szShp.find_last_of("\\/");
#else
    const std::size_t posNome = szShp.rfind('/');
#endif
    const std::size_t inicioNome = posNome == std::string::npos ? 0 : posNome + 1;
    const std::size_t posPonto = szShp.rfind('.');
    if (posPonto == std::string::npos || posPonto < inicioNome)
        return szShp + ".dbf";
    return szShp.substr(0, posPonto) + ".dbf";
}

BOOL shpFile_ListarParametrosMapaEntrada(const ST_ShpMapa* pstMapa, std::vector<std::string>* pvNomes)
{
    FuncAux_LeitorBinario l(pstMapa->szNomeArqMapaDbf.c_str());
    if (!l.Aberto())
        return TRUE; // reported when the map is drawn
    pvNomes->clear();
    ST_ShpDadosDbf stDados;
    std::vector<ST_ShpSubrecords> vCampos;
    const bool bOk = lerCabecalhoDbf(l, &stDados, &vCampos);
    for (const ST_ShpSubrecords& st : vCampos)
        pvNomes->push_back(nomeCampo(st));
    return bOk ? TRUE : FALSE;
}

long shpFile_RetornarNumPoligonosShp(const ST_ShpMapa* pstMapa)
{
    FuncAux_LeitorBinario l(pstMapa->szNomeArqMapaShp.c_str());
    std::uint8_t ucCabecalho[D_SHPFILE_TAMANHO_CABECALHO_SHP];
    if (!l.Aberto() || !l.Ler(ucCabecalho, sizeof ucCabecalho))
        return 0;
    if (static_cast<std::uint64_t>(funcAux_LerBe32(ucCabecalho + 24)) * 2 != l.Tamanho() ||
        funcAux_LerBe32(ucCabecalho) != D_SHPFILE_CODIGO_ARQUIVO || funcAux_LerLe32(ucCabecalho + 28) != D_SHPFILE_VERSAO ||
        funcAux_LerLe32(ucCabecalho + 32) != D_SHPFILE_TIPO_POLIGONO)
        return 0;

    long lPoligonos = 0;
    std::uint8_t ucRegistro[12];
    while (l.Restantes() >= 8 && l.Ler(ucRegistro, 8))
    {
        const std::uint64_t ulConteudo = static_cast<std::uint64_t>(funcAux_LerBe32(ucRegistro + 4)) * 2;
        ST_LimitesLeitura stFora;
        if (ulConteudo < D_SHPFILE_TAMANHO_MIN_POLIGONO || ulConteudo > D_SHPFILE_TAMANHO_MAX_POLIGONO ||
            !l.Limitar(ulConteudo, &stFora) || !l.Ler(ucRegistro + 8, 4) || !l.SairLimite(stFora))
            break;
        if (funcAux_LerLe32(ucRegistro + 8) == D_SHPFILE_TIPO_POLIGONO)
            lPoligonos++;
    }
    return lPoligonos;
}

BOOL shpFile_AnalisarParametroMapaEntrada(const ST_ShpMapa* pstMapa)
{
    ST_ShpDadosDbf stDados;
    {
        FuncAux_LeitorBinario l(pstMapa->szNomeArqMapaDbf.c_str());
        if (!l.Aberto())
            return TRUE; // the drawing reports the missing table
        TabelaAberta stTabela;
        if (!abrirTabelaNumerica(l, &stTabela, pstMapa->uiParamSelecionado))
            return FALSE;
        stDados = stTabela.stDados;
        const ST_ShpSubrecords& stCampo = stTabela.vCampos[pstMapa->uiParamSelecionado];

        std::vector<std::uint8_t> vRegistro(stDados.usTamanhoBytesRecord);
        for (std::uint32_t i = 0; i < stDados.ulNumRecords && l.Restantes() > 0; i++)
        {
            if (l.Restantes() < vRegistro.size())
            {
                std::uint8_t ucFim = 0;
                if (l.Restantes() != 1 || !l.Ler(&ucFim, 1) || ucFim != D_DBF_FIM_ARQUIVO)
                    return FALSE;
                break;
            }
            if (!l.Ler(vRegistro.data(), vRegistro.size()))
                return FALSE;
            if (vRegistro[0] != D_DBF_REGISTRO_ATIVO)
                continue;
            std::uint64_t ulDecimos = 0;
            if (!shpFile_LerNumeroTexto(vRegistro.data() + stCampo.usPosicaoCampo, stCampo.ucTamanhoCampo, &ulDecimos) ||
                ulDecimos > D_DECIMOS_MAXIMO)
                return FALSE;
        }
    }
    return shpFile_RetornarNumPoligonosShp(pstMapa) == static_cast<long>(stDados.ulNumRecords) ? TRUE : FALSE;
}

BOOL shpFile_AbrirDbf(const ST_ShpMapa* pstMapa, ST_ShpDadosDbf* pstShpDadosDbf,
                      std::vector<ST_ShpSubrecords>* pvShpSubrecords, ShpArquivoDbf* ppfArquivoLeitura,
                      unsigned int ulParamSelecionado, const ST_ShpPlataforma* pstPlataforma)
{
    ppfArquivoLeitura->reset();
    FuncAux_LeitorBinario l(pstMapa->szNomeArqMapaDbf.c_str());
    if (!l.Aberto())
    {
        if (pstPlataforma != nullptr && pstPlataforma->pfMostrarMensagem != nullptr)
        {
            const std::string szNome = funcAux_TextoCaminho(funcAux_Caminho(pstMapa->szNomeArqMapaDbf).filename());
            const std::string szTexto = "Arquivo \"" + szNome +
                                        "\" não encontrado.          \nO arquivo deve estar na mesma pasta do "
                                        "arquivo escolhido acima";
            pstPlataforma->pfMostrarMensagem(pstPlataforma->pContexto, szTexto.c_str(), D_SHPFILE_TITULO_ERRO);
        }
        return FALSE;
    }
    if (!lerCabecalhoDbf(l, pstShpDadosDbf, pvShpSubrecords) ||
        !campoNumericoValido(*pstShpDadosDbf, *pvShpSubrecords, ulParamSelecionado))
        return FALSE;
    ppfArquivoLeitura->reset(l.Liberar());
    return TRUE;
}

BOOL shpFile_LerProxValorDbf(const ST_ShpDadosDbf* pstShpDadosDbf, const std::vector<ST_ShpSubrecords>& vShpSubrecords,
                             std::FILE* pfArquivoLeitura, unsigned int ulParamSelecionado, unsigned int* pulValor)
{
    *pulValor = 0;
    // The caller's records may not come from shpFile_AbrirDbf; never trust them to fit.
    if (pfArquivoLeitura == nullptr || !campoNumericoValido(*pstShpDadosDbf, vShpSubrecords, ulParamSelecionado))
        return FALSE;
    std::vector<std::uint8_t> vRegistro(pstShpDadosDbf->usTamanhoBytesRecord);
    if (std::fread(vRegistro.data(), 1, vRegistro.size(), pfArquivoLeitura) != vRegistro.size())
        return FALSE;
    if (vRegistro[0] != D_DBF_REGISTRO_ATIVO)
        return TRUE;
    const ST_ShpSubrecords& stCampo = vShpSubrecords[ulParamSelecionado];
    std::uint64_t ulDecimos = 0;
    if (!shpFile_LerNumeroTexto(vRegistro.data() + stCampo.usPosicaoCampo, stCampo.ucTamanhoCampo, &ulDecimos))
        return FALSE;
    *pulValor = static_cast<unsigned int>(std::min<std::uint64_t>(ulDecimos / 10, 0xFFFFFFFFu));
    return TRUE;
}

BOOL shpFile_LegendaMapaEntrada(const char* pcArquivoDbf, ST_ShpLegenda* pstShpLegenda, unsigned int ulParamSelecionado)
{
    *pstShpLegenda = ST_ShpLegenda{};
    std::uint64_t ulMaximoDecimos = 0;
    FuncAux_LeitorBinario l(pcArquivoDbf);
    TabelaAberta stTabela;
    if (abrirTabelaNumerica(l, &stTabela, ulParamSelecionado))
    {
        const ST_ShpSubrecords& stCampo = stTabela.vCampos[ulParamSelecionado];
        std::vector<std::uint8_t> vRegistro(stTabela.stDados.usTamanhoBytesRecord);
        // A bad value or a short record ends the reading; the rows come from what was read.
        for (std::uint32_t i = 0; i < stTabela.stDados.ulNumRecords && l.Ler(vRegistro.data(), vRegistro.size()); i++)
        {
            if (vRegistro[0] != D_DBF_REGISTRO_ATIVO)
                continue;
            std::uint64_t ulDecimos = 0;
            if (!shpFile_LerNumeroTexto(vRegistro.data() + stCampo.usPosicaoCampo, stCampo.ucTamanhoCampo, &ulDecimos) ||
                ulDecimos > D_DECIMOS_MAXIMO)
                break;
            if (ulDecimos / 10 == 0)
                pstShpLegenda->ucFlagPoligonoValorZero = 1;
            else
                ulMaximoDecimos = std::max(ulMaximoDecimos, ulDecimos);
        }
    }

    // The maximum falls in row 9; rows 10 to 12 lie above it.
    const float fMaximo = static_cast<float>(static_cast<double>(ulMaximoDecimos) / 10.0);
    const float fDelta = fMaximo / 9.5f;
    std::uint32_t ulInicio[D_SHPFILE_NUM_LINHAS_LEGENDA];
    for (std::uint32_t i = 0; i < D_SHPFILE_NUM_LINHAS_LEGENDA; i++)
        ulInicio[i] = static_cast<std::uint32_t>(static_cast<float>(i) * fDelta);
    for (std::uint32_t i = 0; i < D_SHPFILE_NUM_LINHAS_LEGENDA; i++)
    {
        pstShpLegenda->ulValorLegenda[i][0] = ulInicio[i];
        if (i + 1 == D_SHPFILE_NUM_LINHAS_LEGENDA)
            pstShpLegenda->ulValorLegenda[i][1] = D_SHPFILE_LIMITE_SUPERIOR_LEGENDA;
        else // a small maximum leaves rows empty; row 0 must not wrap round to hold every value
            pstShpLegenda->ulValorLegenda[i][1] = ulInicio[i + 1] == 0 ? 0 : ulInicio[i + 1] - 1;
    }
    pstShpLegenda->ucNumLinhasLegenda = static_cast<std::uint8_t>(D_SHPFILE_NUM_LINHAS_LEGENDA);
    return TRUE;
}
