// Guide and boundary folders of the KML map.
//
// Every entry is left by its length field, whatever was read of it, and its curve or boundary points
// are read only inside it: a count that claims more points than the entry holds ends the list at the
// entry's end instead of reading the next entries as points.
#include <cmath>
#include <cstdint>
#include <string>

#include "conversor/kml.h"
#include "conversor/textoSaida.h"
#include "zavoro/cobertura.h"
#include "zavoro/zavoro.h"

namespace
{
// Coordinate lists are handed to the stream in pieces of about this size, so that a long curve
// never sits in memory whole.
constexpr std::size_t kTamanhoBlocoEscrita = 65536;

template <typename T>
bool Ler(std::FILE* pf, T* pValor)
{
    return std::fread(pValor, sizeof(T), 1, pf) == 1;
}

void Gravar(std::FILE* pfArquivoEscrita, std::string& szTexto)
{
    std::fwrite(szTexto.data(), 1, szTexto.size(), pfArquivoEscrita);
    szTexto.clear();
}

// A relative point (metres from the field origin) as a coordinate line in degrees.
void AnexarPontoRelativo(std::string& szTexto, float fLongitudeRel, float fLatitudeRel,
                         double dZeroRelativoLon, double dZeroRelativoLat)
{
    double dLatitude = 0.0;
    double dLongitude = 0.0;
    conversor_TransformarCoordenadasAbsolutas(fLatitudeRel, fLongitudeRel, &dLatitude, &dLongitude,
                                              dZeroRelativoLat, dZeroRelativoLon);
    conversor_AnexarCoordenadaKml(szTexto, dLongitude, dLatitude);
}

// One entry of the guide or boundary list: where it ends, and how many bytes remain before its
// checksum byte.
struct ST_Entrada
{
    long long llFim = 0;

    long long BytesRestantes(std::FILE* pf) const
    {
        const long long llPos = std::ftell(pf);
        return llPos < 0 ? 0 : llFim - 1 - llPos;
    }
};

// Reads the length and version of an entry. A length that cannot even hold the version and the
// checksum byte, or that passes the largest entry a console writes, cannot be walked.
bool LerCabecalhoEntrada(std::FILE* pf, ST_Entrada* pstEntrada, std::uint16_t* pusVersao, int iTamanhoMaximo)
{
    const long long llInicio = std::ftell(pf);
    std::int32_t iTamanho = 0;
    if (llInicio < 0 || !Ler(pf, &iTamanho) || !Ler(pf, pusVersao))
        return false;
    if (iTamanho < 2 + 1 || iTamanho > iTamanhoMaximo)
        return false;
    pstEntrada->llFim = llInicio + 4 + iTamanho;
    return true;
}

bool IrParaFimEntrada(std::FILE* pf, const ST_Entrada& stEntrada)
{
    return std::fseek(pf, static_cast<long>(stEntrada.llFim), SEEK_SET) == 0;
}

// Reads the points of one curve, at most ulNumeroPontos and never past the entry, appending those
// before the first unusable one to the placemark text (written out in pieces). *piErro is set to 1 when
// a point is not a number or the count runs past the entry. FALSE on a short read.
bool LerPontosCurva(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura, const ST_Entrada& stEntrada,
                    std::uint32_t ulNumeroPontos, double dZeroRelativoLon, double dZeroRelativoLat,
                    std::string& szTexto, int* piErro)
{
    const long long llCabem =
        stEntrada.BytesRestantes(pfArquivoLeitura) / static_cast<long long>(sizeof(ST_PontosCurva));
    if (static_cast<long long>(ulNumeroPontos) > llCabem)
    {
        *piErro = 1;
        ulNumeroPontos = llCabem > 0 ? static_cast<std::uint32_t>(llCabem) : 0;
    }
    bool bLinhaCortada = false;
    for (std::uint32_t i = 0; i < ulNumeroPontos; i++)
    {
        ST_PontosCurva stPonto;
        if (!Ler(pfArquivoLeitura, &stPonto))
            return false;
        if (bLinhaCortada)
            continue; // read, not written: the next curve starts after this one's last point
        // An infinite value is no more a position than a NaN is.
        if (!std::isfinite(stPonto.fLatitudeRel) || !std::isfinite(stPonto.fLongitudeRel))
        {
            *piErro = 1;
            bLinhaCortada = true;
            continue;
        }
        AnexarPontoRelativo(szTexto, stPonto.fLongitudeRel, stPonto.fLatitudeRel, dZeroRelativoLon,
                            dZeroRelativoLat);
        if (szTexto.size() > kTamanhoBlocoEscrita)
            Gravar(pfArquivoEscrita, szTexto);
    }
    return true;
}

// One curve placemark: name and description carry llNumero.
bool InserirCurvaKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura, const ST_Entrada& stEntrada,
                     long long llNumero, std::uint32_t ulNumeroPontos, double dZeroRelativoLon,
                     double dZeroRelativoLat, int* piErro)
{
    // Curve numbers stay below 65536.
    const auto iNumero = static_cast<std::int32_t>(llNumero);
    std::string szTexto = "<Placemark><visibility>1</visibility>\n<name>Curva ";
    conversor_AnexarInteiro(szTexto, iNumero);
    szTexto += "</name><styleUrl>#LINHA_GUIA</styleUrl><description>Curva ";
    conversor_AnexarInteiro(szTexto, iNumero);
    szTexto += "</description>\n<LineString><coordinates>\n";
    if (!LerPontosCurva(pfArquivoEscrita, pfArquivoLeitura, stEntrada, ulNumeroPontos, dZeroRelativoLon,
                        dZeroRelativoLat, szTexto, piErro))
        return false;
    szTexto += "</coordinates></LineString></Placemark>";
    Gravar(pfArquivoEscrita, szTexto);
    return true;
}

void InserirRetaKml(std::FILE* pfArquivoEscrita, const ST_Guia_v2& stGuia, int iNumGuia)
{
    std::string szTexto = "<Placemark><visibility>1</visibility>\n<name>Reta ";
    conversor_AnexarInteiro(szTexto, iNumGuia);
    szTexto += "</name><styleUrl>#LINHA_GUIA</styleUrl><description>Reta ";
    conversor_AnexarInteiro(szTexto, iNumGuia);
    szTexto += ": ";
    conversor_AnexarReal(szTexto, stGuia.fDistanciaPercorridaAB, 1, FALSE);
    szTexto += " m</description>\n<LineString><coordinates>\n";
    conversor_AnexarCoordenadaKml(szTexto, stGuia.dPontoALon, stGuia.dPontoALat);
    conversor_AnexarCoordenadaKml(szTexto, stGuia.dPontoBLon, stGuia.dPontoBLat);
    szTexto += "</coordinates></LineString></Placemark>";
    Gravar(pfArquivoEscrita, szTexto);
}

void InserirPontoKml(std::FILE* pfArquivoEscrita, char cPonto, double dLongitude, double dLatitude,
                     int iNumGuia)
{
    std::string szTexto =
        "\n<Placemark>\n<visibility>1</visibility>\n<name></name><description>\n<strong>Ponto ";
    szTexto += cPonto;
    szTexto += " - Guia ";
    conversor_AnexarInteiro(szTexto, iNumGuia);
    szTexto += "</strong>\n</description><styleUrl>#GOTA_PONTO_";
    szTexto += cPonto;
    szTexto += "\n</styleUrl><Point><coordinates>\n";
    conversor_AnexarCoordenadaKml(szTexto, dLongitude, dLatitude);
    szTexto += "</coordinates>\n</Point>\n</Placemark>\n";
    Gravar(pfArquivoEscrita, szTexto);
}
} // namespace

void conversor_InserirPontoABKml(std::FILE* pfArquivoEscrita, const ST_Guia_v2* pstGuia, int iNumGuia)
{
    InserirPontoKml(pfArquivoEscrita, 'A', pstGuia->dPontoALon, pstGuia->dPontoALat, iNumGuia);
    InserirPontoKml(pfArquivoEscrita, 'B', pstGuia->dPontoBLon, pstGuia->dPontoBLat, iNumGuia);
}

BOOL conversor_InserirGuiasKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                               unsigned char ucTipoGuia, int iNumeroGuias, double dZeroRelativoLon,
                               double dZeroRelativoLat, int* piErroImpressaoGuia)
{
    int iErroSemDestino = 0;
    int* piErro = piErroImpressaoGuia != nullptr ? piErroImpressaoGuia : &iErroSemDestino;
    *piErro = 0;
    int iGuiasUsadas = 0;
    std::string szTexto;

    for (int i = 0; i < iNumeroGuias; i++)
    {
        ST_Entrada stEntrada;
        std::uint16_t usVersao = 0;
        if (!LerCabecalhoEntrada(pfArquivoLeitura, &stEntrada, &usVersao,
                                 D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_GUIA))
            return FALSE;
        if (usVersao < D_ZAVORO_VERSAO_MINIMA_ARQUIVO_GUIA || usVersao > D_ZAVORO_VERSAO_MAXIMA_ARQUIVO_GUIA)
            return FALSE;

        const std::size_t tamanhoRegistro = usVersao == 1 ? D_ZAVORO_TAMANHO_GUIA_V1 : sizeof(ST_Guia_v2);
        if (stEntrada.BytesRestantes(pfArquivoLeitura) < static_cast<long long>(tamanhoRegistro))
            return FALSE;
        ST_Guia_v2 stGuia{};
        if (std::fread(&stGuia, 1, tamanhoRegistro, pfArquivoLeitura) != tamanhoRegistro)
            return FALSE;
        if (usVersao == 1)
            stGuia.ucTipoGuia = ucTipoGuia;

        if (stGuia.ucFlagPontoAMarcado != 0 && stGuia.ucFlagPontoBMarcado != 0)
        {
            const int iNumGuia = ++iGuiasUsadas;
            if (iNumGuia == 1)
                szTexto = "\n<Folder>\n<name>Guias</name>\n";
            szTexto += "<Folder>\n<name>Guia ";
            conversor_AnexarInteiro(szTexto, iNumGuia);
            szTexto += "</name>\n";
            Gravar(pfArquivoEscrita, szTexto);
            conversor_InserirPontoABKml(pfArquivoEscrita, &stGuia, iNumGuia);

            if (stGuia.ucTipoGuia == D_ZAVORO_TIPO_GUIA_RETA)
            {
                InserirRetaKml(pfArquivoEscrita, stGuia, iNumGuia);
            }
            else if (usVersao != 3)
            {
                // The single curve of an older guide carries its guide's number, as a straight line does.
                if (!InserirCurvaKml(pfArquivoEscrita, pfArquivoLeitura, stEntrada, iNumGuia,
                                     stGuia.usNumeroPontosCurva, dZeroRelativoLon, dZeroRelativoLat, piErro))
                    return FALSE;
            }
            else
            {
                for (long long k = 0; k < stGuia.usNumeroPontosCurva; k++)
                {
                    std::uint16_t usNumeroPontos = 0;
                    if (stEntrada.BytesRestantes(pfArquivoLeitura) <
                        static_cast<long long>(sizeof usNumeroPontos))
                    {
                        *piErro = 1;
                        break;
                    }
                    if (!Ler(pfArquivoLeitura, &usNumeroPontos))
                        return FALSE;
                    if (!InserirCurvaKml(pfArquivoEscrita, pfArquivoLeitura, stEntrada, k, usNumeroPontos,
                                         dZeroRelativoLon, dZeroRelativoLat, piErro))
                        return FALSE;
                }
            }
            szTexto = "</Folder>";
            Gravar(pfArquivoEscrita, szTexto);
        }

        if (!IrParaFimEntrada(pfArquivoLeitura, stEntrada))
            return FALSE;
    }

    if (iGuiasUsadas > 0)
    {
        szTexto = "</Folder>";
        Gravar(pfArquivoEscrita, szTexto);
    }
    return TRUE;
}

BOOL conversor_InserirLimiteKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                unsigned int uiNumeroLimites, double dZeroRelativoLon,
                                double dZeroRelativoLat)
{
    std::string szTexto;
    for (unsigned int n = 1; n <= uiNumeroLimites; n++)
    {
        ST_Entrada stEntrada;
        std::uint16_t usVersao = 0;
        if (!LerCabecalhoEntrada(pfArquivoLeitura, &stEntrada, &usVersao,
                                 D_ZAVORO_TAMANHO_MAXIMO_ARQUIVO_LIMITE))
            return FALSE;
        if (usVersao != D_ZAVORO_VERSAO_ARQUIVO_LIMITE)
            return FALSE;
        ST_Limite_v1 stLimite;
        if (stEntrada.BytesRestantes(pfArquivoLeitura) < static_cast<long long>(sizeof stLimite) ||
            !Ler(pfArquivoLeitura, &stLimite))
            return FALSE;

        if (n == 1)
            szTexto = "\n<Folder>\n<name>Limites</name>\n";
        szTexto += "<Folder>\n<name>Limite ";
        conversor_AnexarNatural(szTexto, n);
        szTexto += "</name>\n<Placemark><visibility>1</visibility>\n<name>Limite ";
        conversor_AnexarNatural(szTexto, n);
        szTexto += "</name><styleUrl>#LINHA_LIMITE</styleUrl><description>Limite ";
        conversor_AnexarNatural(szTexto, n);
        szTexto += ": ";
        conversor_AnexarReal(szTexto, stLimite.fAreaLimite, 3, FALSE);
        szTexto += " ha</description>\n<LineString><coordinates>\n";

        long long llPontos = stLimite.usNumeroPontosLimite;
        const long long llCabem =
            stEntrada.BytesRestantes(pfArquivoLeitura) / static_cast<long long>(sizeof(ST_PontosLimite));
        if (llPontos > llCabem)
            llPontos = llCabem > 0 ? llCabem : 0;
        for (long long i = 0; i < llPontos; i++)
        {
            ST_PontosLimite stPonto;
            if (!Ler(pfArquivoLeitura, &stPonto))
                return FALSE;
            // A point that is no position is left out; the ring still closes over its neighbours.
            if (!std::isfinite(stPonto.fLatitudeRel) || !std::isfinite(stPonto.fLongitudeRel))
                continue;
            AnexarPontoRelativo(szTexto, stPonto.fLongitudeRel, stPonto.fLatitudeRel, dZeroRelativoLon,
                                dZeroRelativoLat);
            if (szTexto.size() > kTamanhoBlocoEscrita)
                Gravar(pfArquivoEscrita, szTexto);
        }
        szTexto += "</coordinates></LineString></Placemark></Folder>";
        Gravar(pfArquivoEscrita, szTexto);

        if (!IrParaFimEntrada(pfArquivoLeitura, stEntrada))
            return FALSE;
    }

    if (uiNumeroLimites > 0)
    {
        szTexto = "</Folder>";
        Gravar(pfArquivoEscrita, szTexto);
    }
    return TRUE;
}
