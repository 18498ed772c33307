// Help document: the hand-written HTML laid out by QTextDocument on A4 pages of a QPdfWriter, after a
// title page painted here. Header and footer are painted per page so they stay out of the text flow.
#include "artes.h"

#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextTable>
#include <QTextCursor>
#include <QTextDocument>

namespace
{
// The rich-text layout takes margins, paddings and borders as device pixels at the screen's 96 dpi
// whatever the device, so the PDF is laid out at 96 dpi too; text and artwork stay vector.
constexpr int kResolucao = 96;
const QString kTitulo = QStringLiteral("Quibar Zavoro - Ajuda");
const QColor kVerdeEscuro(0x1C, 0x6B, 0x2A);
const QColor kCinza(0x55, 0x55, 0x55);
// Device pixels between a page's edge and where its paragraphs are looked for.
constexpr double kFolga = 0.5;

QFont Fonte(double dPontos, bool bNegrito = false)
{
    QFont fonte(QStringLiteral("DejaVu Sans"));
    fonte.setStyleHint(QFont::SansSerif);
    fonte.setPointSizeF(dPontos);
    fonte.setBold(bNegrito);
    return fonte;
}

// Device pixels of a length in millimetres at the writer's resolution.
double Mm(double dMilimetros)
{
    return dMilimetros * kResolucao / 25.4;
}

void PintarCapa(QPainter& pintor, const QRectF& area, const QString& szVersao)
{
    const double dLadoIcone = Mm(50);
    pintor.save();
    pintor.translate(area.center().x() - dLadoIcone / 2, area.top() + Mm(45));
    pintor.scale(dLadoIcone / 64.0, dLadoIcone / 64.0);
    rc_PintarIcone(pintor, false);
    pintor.restore();

    double dY = area.top() + Mm(45) + dLadoIcone + Mm(18);
    auto linha = [&](const QString& szTexto, const QFont& fonte, const QColor& cor, double dEspaco)
    {
        pintor.setFont(fonte);
        pintor.setPen(cor);
        const double dAltura = QFontMetricsF(fonte, pintor.device()).height();
        pintor.drawText(QRectF(area.left(), dY, area.width(), dAltura), Qt::AlignHCenter | Qt::AlignVCenter,
                        szTexto);
        dY += dAltura + dEspaco;
    };
    linha(kTitulo, Fonte(28, true), kVerdeEscuro, Mm(6));
    linha(QStringLiteral("Guia do usuário"), Fonte(16), Qt::black, Mm(4));
    linha(QStringLiteral("Versão ") + szVersao, Fonte(13), kCinza, Mm(14));
    linha(QStringLiteral("Relatórios, mapas KML e arquivos Shapefile"), Fonte(12), kCinza, Mm(2));
    linha(QStringLiteral("a partir dos arquivos de navegação (.nvg) do console Zavoro"), Fonte(12), kCinza,
          0);

    const double dAlturaLogo = Mm(30);
    const double dEscala = dAlturaLogo / D_RC_ALTURA_LOGO;
    pintor.save();
    pintor.translate(area.center().x() - D_RC_LARGURA_LOGO * dEscala / 2, area.bottom() - dAlturaLogo);
    pintor.scale(dEscala, dEscala);
    rc_PintarLogo(pintor);
    pintor.restore();
}

void PintarMoldura(QPainter& pintor, const QRectF& area, double dCabecalho, double dRodape, int iPagina,
                   int iTotal, const QString& szVersao)
{
    const QFont fonte = Fonte(8);
    pintor.setFont(fonte);
    pintor.setPen(kCinza);
    const double dAltura = QFontMetricsF(fonte, pintor.device()).height();

    pintor.drawText(QRectF(area.left(), area.top(), area.width(), dAltura), Qt::AlignLeft | Qt::AlignVCenter,
                    kTitulo);
    pintor.drawText(QRectF(area.left(), area.top(), area.width(), dAltura), Qt::AlignRight | Qt::AlignVCenter,
                    QStringLiteral("Versão ") + szVersao);
    pintor.setPen(QPen(kVerdeEscuro, Mm(0.3)));
    pintor.drawLine(QPointF(area.left(), area.top() + dCabecalho - Mm(3)),
                    QPointF(area.right(), area.top() + dCabecalho - Mm(3)));

    const double dYRodape = area.bottom() - dRodape;
    pintor.setPen(QPen(QColor(0xBB, 0xBB, 0xBB), Mm(0.2)));
    pintor.drawLine(QPointF(area.left(), dYRodape + Mm(2)), QPointF(area.right(), dYRodape + Mm(2)));
    pintor.setPen(kCinza);
    pintor.drawText(QRectF(area.left(), area.bottom() - dAltura, area.width(), dAltura),
                    Qt::AlignRight | Qt::AlignVCenter,
                    QStringLiteral("Página %1 de %2").arg(iPagina).arg(iTotal));
}
// A paragraph that touches a page is drawn there with every line, and the PDF's text layer keeps the
// lines the clip hides: a paragraph split by a page break would be found twice by search and copy.
// Each paragraph the layout splits starts a page instead, and so does a heading left at the foot of a
// page, one at a time, as each move shifts the rest (paragraphs inside table cells move with their row).
void ManterParagrafosNaPagina(QTextDocument& documento, double dAlturaPagina)
{
    QAbstractTextDocumentLayout* pLayoutDocumento = documento.documentLayout();
    auto Pagina = [&](double dY) { return static_cast<int>(std::floor(dY / dAlturaPagina)); };
    // Top and bottom of a block's lines on the whole document's scale (cells included).
    auto Linhas = [&](const QTextBlock& bloco, double* pdTopo, double* pdFim) {
        const QTextLayout* pLayout = bloco.layout();
        if (pLayout == nullptr || pLayout->lineCount() < 1)
            return false;
        const QTextLine primeira = pLayout->lineAt(0), ultima = pLayout->lineAt(pLayout->lineCount() - 1);
        *pdTopo = pLayoutDocumento->blockBoundingRect(bloco).top() - pLayout->boundingRect().top() + primeira.y();
        *pdFim = *pdTopo - primeira.y() + ultima.y() + ultima.height();
        return true;
    };
    auto Mover = [](QTextBlock bloco) {
        QTextBlockFormat formato = bloco.blockFormat();
        if (formato.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            return false; // moved once already: left as it is
        formato.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(bloco).setBlockFormat(formato);
        return true;
    };
    for (bool bMudou = true; bMudou;)
    {
        bMudou = false;
        documento.pageCount(); // lays the document out again after a move
        for (QTextBlock bloco = documento.begin(); bloco.isValid() && !bMudou; bloco = bloco.next())
        {
            double dTopo = 0, dFim = 0, dTopoSeguinte = 0, dFimSeguinte = 0;
            if (!Linhas(bloco, &dTopo, &dFim))
                continue;
            QTextTable* pTabela = QTextCursor(bloco).currentTable();
            // A heading goes with the first line after it.
            const QTextBlock seguinte = bloco.next();
            if (pTabela == nullptr && bloco.blockFormat().headingLevel() > 0 && seguinte.isValid() &&
                Linhas(seguinte, &dTopoSeguinte, &dFimSeguinte))
                dFim = dTopoSeguinte + (seguinte.layout()->lineAt(0).height());
            if (Pagina(dTopo) == Pagina(dFim - kFolga) || dFim - dTopo >= dAlturaPagina)
                continue;
            if (pTabela != nullptr)
            {
                // A split row: the table starts a page, when it fits in one.
                QTextTableFormat formato = pTabela->format();
                if ((formato.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) ||
                    pLayoutDocumento->frameBoundingRect(pTabela).height() >= dAlturaPagina)
                    continue;
                formato.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                pTabela->setFormat(formato);
                bMudou = true;
                continue;
            }
            // A paragraph right after its heading takes the heading along.
            const QTextBlock anterior = bloco.previous();
            const bool bComTitulo = anterior.isValid() && anterior.blockFormat().headingLevel() > 0 &&
                                    QTextCursor(anterior).currentTable() == nullptr;
            bMudou = Mover(bComTitulo ? anterior : bloco);
        }
    }
}
} // namespace

QString rc_GerarAjuda(const QString& szHtml, const QString& szCaminhoPdf, const QString& szVersao)
{
    // Written beside the target and renamed on success: a failed run never leaves a truncated PDF.
    QSaveFile arquivo(szCaminhoPdf);
    if (!arquivo.open(QIODevice::WriteOnly))
        return QStringLiteral("não foi possível criar %1: %2").arg(szCaminhoPdf, arquivo.errorString());

    {
        QPdfWriter pdf(&arquivo);
        pdf.setResolution(kResolucao);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(20, 15, 20, 15), QPageLayout::Millimeter));
        pdf.setTitle(kTitulo);
        pdf.setCreator(QStringLiteral("Quibar Zavoro ") + szVersao);

        QRectF area = pdf.pageLayout().paintRectPixels(kResolucao);
        area.moveTopLeft(QPointF(0, 0));
        const double dCabecalho = Mm(10);
        const double dRodape = Mm(10);
        const double dAlturaTexto = area.height() - dCabecalho - dRodape;

        QTextDocument documento;
        // Fonts in points must be measured on the PDF, with unhinted advances, not on the screen.
        documento.documentLayout()->setPaintDevice(&pdf);
        documento.setUseDesignMetrics(true);
        documento.setDefaultFont(Fonte(10));
        documento.setDocumentMargin(0);
        documento.setHtml(QString(szHtml).replace(QStringLiteral("@VERSAO@"), szVersao));
        if (documento.isEmpty())
            return QStringLiteral("o texto da ajuda está vazio");
        documento.setPageSize(QSizeF(area.width(), dAlturaTexto));
        ManterParagrafosNaPagina(documento, dAlturaTexto);
        const int iPaginasTexto = documento.pageCount();
        const int iTotal = iPaginasTexto + 1;

        QPainter pintor;
        if (!pintor.begin(&pdf))
            return QStringLiteral("não foi possível desenhar em %1").arg(szCaminhoPdf);
        pintor.setRenderHint(QPainter::Antialiasing, true);
        PintarCapa(pintor, area, szVersao);
        for (int i = 0; i < iPaginasTexto; ++i)
        {
            if (!pdf.newPage())
                return QStringLiteral("não foi possível abrir a página %1").arg(i + 2);
            PintarMoldura(pintor, area, dCabecalho, dRodape, i + 2, iTotal, szVersao);
            pintor.save();
            pintor.translate(0, dCabecalho - i * dAlturaTexto);
            // drawContents paints whole lines that touch the rectangle; the clip keeps the next page's
            // first line off this one.
            // A hair inside the page, so that a paragraph ending exactly at the break is not drawn on
            // the next page too.
            const QRectF pagina(0, i * dAlturaTexto + kFolga, area.width(), dAlturaTexto - 2 * kFolga);
            pintor.setClipRect(pagina);
            documento.drawContents(&pintor, pagina);
            pintor.restore();
        }
        pintor.end();
    }

    if (!arquivo.commit())
        return QStringLiteral("não foi possível gravar %1: %2").arg(szCaminhoPdf, arquivo.errorString());
    return {};
}
