// Guide and boundary folders of the KML map, from the entries the container walk found.
//
// Curve and boundary points are read only inside their entry, between its record and its checksum
// byte: a count that claims more points than the entry holds ends the list at the entry's end instead
// of reading the next entries as points.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "conversor/kml.h"
#include "conversor/textoSaida.h"
#include "funcoesAuxiliares/leitorBinario.h"
#include "zavoro/cobertura.h"
#include "zavoro/zavoro.h"

namespace
{
// Coordinate lists are handed to the stream in pieces of about this size, so that a long curve
// never sits in memory whole.
constexpr std::size_t kTamanhoBlocoEscrita = 65536;

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

// Bounds the reader to the points of an entry: what lies between its record and its checksum byte.
bool EntrarPontos(FuncAux_LeitorBinario& stLeitor, const ST_EntradaNavegacao& stEntrada, ST_LimitesLeitura* pstFora)
{
    const long long llFim = stEntrada.llInicio + 4 + stEntrada.iTamanho - 1;
    return stLeitor.IrPara(static_cast<std::uint64_t>(stEntrada.llDados)) &&
           stLeitor.Limitar(static_cast<std::uint64_t>(llFim - stEntrada.llDados), pstFora);
}

// Reads the points of one curve, at most ulNumeroPontos and never past the entry, appending those
// before the first unusable one to the placemark text (written out in pieces). *piErro is set to 1 when
// a point is not a number or the count runs past the entry. FALSE on a short read.
bool LerPontosCurva(std::FILE* pfArquivoEscrita, FuncAux_LeitorBinario& stLeitor, std::uint32_t ulNumeroPontos,
                    double dZeroRelativoLon, double dZeroRelativoLat, std::string& szTexto, int* piErro)
{
    const std::uint64_t ulCabem = stLeitor.Cabem(sizeof(ST_PontosCurva));
    if (ulNumeroPontos > ulCabem)
    {
        *piErro = 1;
        ulNumeroPontos = static_cast<std::uint32_t>(ulCabem);
    }
    bool bLinhaCortada = false;
    for (std::uint32_t i = 0; i < ulNumeroPontos; i++)
    {
        ST_PontosCurva stPonto;
        if (!stLeitor.Ler(&stPonto))
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
            conversor_GravarLinha(pfArquivoEscrita, szTexto);
    }
    return true;
}

// One curve placemark: name and description carry llNumero.
bool InserirCurvaKml(std::FILE* pfArquivoEscrita, FuncAux_LeitorBinario& stLeitor, long long llNumero,
                     std::uint32_t ulNumeroPontos, double dZeroRelativoLon, double dZeroRelativoLat, int* piErro)
{
    // Curve numbers stay below 65536.
    const auto iNumero = static_cast<std::int32_t>(llNumero);
    std::string szTexto = "<Placemark><visibility>1</visibility>\n<name>Curva ";
    conversor_AnexarInteiro(szTexto, iNumero);
    szTexto += "</name><styleUrl>#LINHA_GUIA</styleUrl><description>Curva ";
    conversor_AnexarInteiro(szTexto, iNumero);
    szTexto += "</description>\n<LineString><coordinates>\n";
    if (!LerPontosCurva(pfArquivoEscrita, stLeitor, ulNumeroPontos, dZeroRelativoLon, dZeroRelativoLat, szTexto,
                        piErro))
        return false;
    szTexto += "</coordinates></LineString></Placemark>";
    conversor_GravarLinha(pfArquivoEscrita, szTexto);
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
    conversor_GravarLinha(pfArquivoEscrita, szTexto);
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
    conversor_GravarLinha(pfArquivoEscrita, szTexto);
}
} // namespace

void conversor_InserirPontoABKml(std::FILE* pfArquivoEscrita, const ST_Guia_v2* pstGuia, int iNumGuia)
{
    InserirPontoKml(pfArquivoEscrita, 'A', pstGuia->dPontoALon, pstGuia->dPontoALat, iNumGuia);
    InserirPontoKml(pfArquivoEscrita, 'B', pstGuia->dPontoBLon, pstGuia->dPontoBLat, iNumGuia);
}

BOOL conversor_InserirGuiasKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                               const ST_EstruturaNavegacao* pstEstrutura, int* piErroImpressaoGuia)
{
    int iErroSemDestino = 0;
    int* piErro = piErroImpressaoGuia != nullptr ? piErroImpressaoGuia : &iErroSemDestino;
    *piErro = 0;
    const double dZeroRelativoLon = pstEstrutura->stTalhao.dZeroRelativoLon;
    const double dZeroRelativoLat = pstEstrutura->stTalhao.dZeroRelativoLat;
    FuncAux_LeitorBinario stLeitor(pfArquivoLeitura);
    int iGuiasUsadas = 0;
    std::string szTexto;

    for (const ST_GuiaNavegacao& stEntrada : pstEstrutura->vGuias)
    {
        const ST_Guia_v2& stGuia = stEntrada.stGuia;
        if (stGuia.ucFlagPontoAMarcado == 0 || stGuia.ucFlagPontoBMarcado == 0)
            continue;
        const int iNumGuia = ++iGuiasUsadas;
        if (iNumGuia == 1)
            szTexto = "\n<Folder>\n<name>Guias</name>\n";
        szTexto += "<Folder>\n<name>Guia ";
        conversor_AnexarInteiro(szTexto, iNumGuia);
        szTexto += "</name>\n";
        conversor_GravarLinha(pfArquivoEscrita, szTexto);
        conversor_InserirPontoABKml(pfArquivoEscrita, &stGuia, iNumGuia);

        if (stGuia.ucTipoGuia == D_ZAVORO_TIPO_GUIA_RETA)
        {
            InserirRetaKml(pfArquivoEscrita, stGuia, iNumGuia);
        }
        else
        {
            ST_LimitesLeitura stFora;
            if (!EntrarPontos(stLeitor, stEntrada.stEntrada, &stFora))
                return FALSE;
            if (stEntrada.stEntrada.usVersao != 3)
            {
                // The single curve of an older guide carries its guide's number, as a straight line does.
                if (!InserirCurvaKml(pfArquivoEscrita, stLeitor, iNumGuia, stGuia.usNumeroPontosCurva,
                                     dZeroRelativoLon, dZeroRelativoLat, piErro))
                    return FALSE;
            }
            else
            {
                for (long long k = 0; k < stGuia.usNumeroPontosCurva; k++)
                {
                    std::uint16_t usNumeroPontos = 0;
                    if (stLeitor.Cabem(sizeof usNumeroPontos) == 0)
                    {
                        *piErro = 1;
                        break;
                    }
                    if (!stLeitor.Ler(&usNumeroPontos) ||
                        !InserirCurvaKml(pfArquivoEscrita, stLeitor, k, usNumeroPontos, dZeroRelativoLon,
                                         dZeroRelativoLat, piErro))
                        return FALSE;
                }
            }
            if (!stLeitor.SairLimite(stFora))
                return FALSE;
        }
        szTexto = "</Folder>";
        conversor_GravarLinha(pfArquivoEscrita, szTexto);
    }

    if (iGuiasUsadas > 0)
    {
        szTexto = "</Folder>";
        conversor_GravarLinha(pfArquivoEscrita, szTexto);
    }
    return TRUE;
}

BOOL conversor_InserirLimiteKml(std::FILE* pfArquivoEscrita, std::FILE* pfArquivoLeitura,
                                const ST_EstruturaNavegacao* pstEstrutura)
{
    const std::vector<ST_LimiteNavegacao>& vLimites = pstEstrutura->vLimites;
    FuncAux_LeitorBinario stLeitor(pfArquivoLeitura);
    std::string szTexto;
    for (std::size_t n = 1; n <= vLimites.size(); n++)
    {
        const ST_LimiteNavegacao& stEntrada = vLimites[n - 1];
        if (n == 1)
            szTexto = "\n<Folder>\n<name>Limites</name>\n";
        szTexto += "<Folder>\n<name>Limite ";
        conversor_AnexarNatural(szTexto, n);
        szTexto += "</name>\n<Placemark><visibility>1</visibility>\n<name>Limite ";
        conversor_AnexarNatural(szTexto, n);
        szTexto += "</name><styleUrl>#LINHA_LIMITE</styleUrl><description>Limite ";
        conversor_AnexarNatural(szTexto, n);
        szTexto += ": ";
        conversor_AnexarReal(szTexto, stEntrada.stLimite.fAreaLimite, 3, FALSE);
        szTexto += " ha</description>\n<LineString><coordinates>\n";

        ST_LimitesLeitura stFora;
        if (!EntrarPontos(stLeitor, stEntrada.stEntrada, &stFora))
            return FALSE;
        const std::uint64_t ulPontos =
            std::min<std::uint64_t>(stEntrada.stLimite.usNumeroPontosLimite, stLeitor.Cabem(sizeof(ST_PontosLimite)));
        for (std::uint64_t i = 0; i < ulPontos; i++)
        {
            ST_PontosLimite stPonto;
            if (!stLeitor.Ler(&stPonto))
                return FALSE;
            // A point that is no position is left out; the ring still closes over its neighbours.
            if (!std::isfinite(stPonto.fLatitudeRel) || !std::isfinite(stPonto.fLongitudeRel))
                continue;
            AnexarPontoRelativo(szTexto, stPonto.fLongitudeRel, stPonto.fLatitudeRel,
                                pstEstrutura->stTalhao.dZeroRelativoLon, pstEstrutura->stTalhao.dZeroRelativoLat);
            if (szTexto.size() > kTamanhoBlocoEscrita)
                conversor_GravarLinha(pfArquivoEscrita, szTexto);
        }
        if (!stLeitor.SairLimite(stFora))
            return FALSE;
        szTexto += "</coordinates></LineString></Placemark></Folder>";
        conversor_GravarLinha(pfArquivoEscrita, szTexto);
    }

    if (!vLimites.empty())
    {
        szTexto = "</Folder>";
        conversor_GravarLinha(pfArquivoEscrita, szTexto);
    }
    return TRUE;
}
