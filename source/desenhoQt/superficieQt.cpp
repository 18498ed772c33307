// Drawing surfaces over QImage. Shapes are drawn aliased with 1-pixel cosmetic pens, so a shape lands
// on the same whole pixels on every platform; rectangles are filled edge by edge for the same reason.
#include "desenhoQt/superficieQt.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "zavoro/funcoesAuxiliares.h"

namespace
{
QColor Cor(std::uint32_t ulCor)
{
    return QColor::fromRgb(QRgb(0xFF000000u | (ulCor & 0x00FFFFFFu)));
}

ST_SuperficieQt* Superficie(void* pContexto)
{
    return static_cast<ST_SuperficieQt*>(pContexto);
}

// A painter on the picture as every shape wants it: aliased, solid cosmetic 1-pixel pen.
void PrepararPintor(QPainter& pintor, std::uint32_t ulCorCaneta)
{
    pintor.setRenderHint(QPainter::Antialiasing, false);
    QPen caneta(Cor(ulCorCaneta), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    caneta.setCosmetic(true);
    pintor.setPen(caneta);
}

void Retangulo(void* pContexto, int iX0, int iY0, int iX1, int iY1, std::uint32_t ulCorBorda,
               std::uint32_t ulCorPreenchimento)
{
    if (iX1 <= iX0 || iY1 <= iY0)
        return;
    QPainter pintor(&Superficie(pContexto)->imagem);
    // The outline takes the outermost pixels of the rectangle, the fill what lies inside them.
    pintor.fillRect(QRect(iX0, iY0, iX1 - iX0, iY1 - iY0), Cor(ulCorBorda));
    if (iX1 - iX0 > 2 && iY1 - iY0 > 2)
        pintor.fillRect(QRect(iX0 + 1, iY0 + 1, iX1 - iX0 - 2, iY1 - iY0 - 2), Cor(ulCorPreenchimento));
}

void Linha(void* pContexto, int iX0, int iY0, int iX1, int iY1, std::uint32_t ulCor)
{
    if (iX0 == iX1 && iY0 == iY1)
        return;
    QPainter pintor(&Superficie(pContexto)->imagem);
    PrepararPintor(pintor, ulCor);
    // A flat cap leaves the end point out, as the surface promises.
    pintor.drawLine(QPoint(iX0, iY0), QPoint(iX1, iY1));
}

void Poligono(void* pContexto, const ST_PontoTela* pstPontos, int iNumPontos, std::uint32_t ulCorCaneta,
              std::uint32_t ulCorPincel)
{
    if (pstPontos == nullptr || iNumPontos < 2)
        return;
    std::vector<QPoint> vPontos;
    vPontos.reserve(static_cast<std::size_t>(iNumPontos));
    for (int i = 0; i < iNumPontos; i++)
        vPontos.emplace_back(pstPontos[i].iX, pstPontos[i].iY);
    QPainter pintor(&Superficie(pContexto)->imagem);
    PrepararPintor(pintor, ulCorCaneta);
    pintor.setBrush(Cor(ulCorPincel));
    pintor.drawPolygon(vPontos.data(), iNumPontos, Qt::OddEvenFill);
}

void Texto(void* pContexto, int iX, int iY, const char* pcTexto, std::uint32_t ulCor)
{
    if (pcTexto == nullptr || *pcTexto == '\0')
        return;
    ST_SuperficieQt* pst = Superficie(pContexto);
    QPainter pintor(&pst->imagem);
    pintor.setFont(pst->fonte);
    pintor.setPen(Cor(ulCor));
    // (x, y) is the top-left corner of the text; Qt places text by its baseline.
    pintor.drawText(QPoint(iX, iY + QFontMetrics(pst->fonte).ascent()), QString::fromUtf8(pcTexto));
}

void MedirTexto(void* pContexto, const char* pcTexto, int* piLargura, int* piAltura)
{
    QFontMetrics metricas(Superficie(pContexto)->fonte);
    if (piLargura != nullptr)
        *piLargura = pcTexto == nullptr ? 0 : metricas.horizontalAdvance(QString::fromUtf8(pcTexto));
    if (piAltura != nullptr)
        *piAltura = metricas.height();
}

// A white iLargura x iAltura picture (RGB32) with the viewer's font, and its surface record. Fonts
// need a QGuiApplication.
void CriarSuperficie(ST_SuperficieQt* pstSuperficie, int iLargura, int iAltura)
{
    pstSuperficie->imagem = QImage(iLargura, iAltura, QImage::Format_RGB32);
    pstSuperficie->imagem.fill(Qt::white);

    // The viewer's font: 12 pixels, normal weight; where its face is missing, a sans face of its width.
    QFont fonte(desenhoQt_FaceSemSerifa());
    fonte.setStyleHint(QFont::SansSerif);
    fonte.setPixelSize(12);
    fonte.setWeight(QFont::Normal);
    fonte.setItalic(false);
    fonte.setUnderline(false);
    fonte.setStrikeOut(false);
    pstSuperficie->fonte = fonte;

    ST_SuperficieDesenho& st = pstSuperficie->stSuperficie;
    st.pContexto = pstSuperficie;
    st.iLargura = iLargura;
    st.iAltura = iAltura;
    st.pfRetangulo = Retangulo;
    st.pfLinha = Linha;
    st.pfPoligono = Poligono;
    st.pfTexto = Texto;
    st.pfMedirTexto = MedirTexto;
}
} // namespace

QString desenhoQt_FaceSemSerifa()
{
    for (const char* pcFace : {"MS Sans Serif", "Liberation Sans", "Arimo", "Arial"})
        if (QFontDatabase::hasFamily(QString::fromLatin1(pcFace)))
            return QString::fromLatin1(pcFace);
    return QStringLiteral("MS Sans Serif");
}

void desenhoQt_CriarImagensMapas(ST_ImagensMapasQt* pstImagens, ST_VisualizadorMapas* pstVisualizador)
{
    for (int i = 0; i < 2; i++)
    {
        CriarSuperficie(&pstImagens->stMapa[i], D_SHPFILE_LARGURA_MAPA, D_SHPFILE_ALTURA_MAPA);
        CriarSuperficie(&pstImagens->stMapaMax[i], D_SHPFILE_LADO_MAPA_MAX, D_SHPFILE_LADO_MAPA_MAX);
        pstVisualizador->stMapa[i] = pstImagens->stMapa[i].stSuperficie;
        pstVisualizador->stMapaMax[i] = pstImagens->stMapaMax[i].stSuperficie;
    }
}

BOOL desenhoQt_SalvarPng(const ST_SuperficieQt& stSuperficie, const std::string& szArquivo,
                         std::string* pszErro)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!stSuperficie.imagem.save(&buffer, "PNG"))
    {
        if (pszErro != nullptr)
            *pszErro = "não foi possível codificar a imagem PNG";
        return FALSE;
    }
    ST_ArquivoSaida stSaida;
    if (!funcAux_AbrirArquivoSaida(szArquivo, &stSaida, pszErro))
        return FALSE;
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stSaida.pfArquivo) !=
        static_cast<std::size_t>(bytes.size()))
    {
        funcAux_DescartarArquivoSaida(&stSaida);
        if (pszErro != nullptr)
            *pszErro = "falha ao gravar " + szArquivo;
        return FALSE;
    }
    return funcAux_ConcluirArquivoSaida(&stSaida, pszErro);
}

std::unique_ptr<QGuiApplication> desenhoQt_CriarAplicacaoSemJanela()
{
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    // Commands run on servers without a display: draw off screen unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int iArgc = 1;
    static char szNome[] = "zavoro";
    static char* pszArgv[] = {szNome, nullptr};
    return std::make_unique<QGuiApplication>(iArgc, pszArgv);
}
