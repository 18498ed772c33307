// The built-in pictures as the application loads them: names, sizes, transparency and the logo's format.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdint>

#include "rc/recursos.h"

namespace
{
class Recursos : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { principal_IniciarRecursos(); }
};

std::uint32_t LerLe(const QByteArray& dados, int iPosicao, int iBytes)
{
    std::uint32_t ulValor = 0;
    for (int i = iBytes - 1; i >= 0; --i)
        ulValor = (ulValor << 8) | static_cast<std::uint8_t>(dados[iPosicao + i]);
    return ulValor;
}

// The icon's parts: transparent corners, a green field and the orange arrow.
void ConferirIcone(const QImage& icone, int iTamanho)
{
    ASSERT_FALSE(icone.isNull());
    EXPECT_EQ(icone.width(), iTamanho);
    EXPECT_EQ(icone.height(), iTamanho);
    EXPECT_TRUE(icone.hasAlphaChannel());
    EXPECT_EQ(qAlpha(icone.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icone.pixel(iTamanho - 1, iTamanho - 1)), 0);

    int iVerdes = 0;
    int iLaranjas = 0;
    for (int y = 0; y < iTamanho; ++y)
        for (int x = 0; x < iTamanho; ++x)
        {
            const QColor cor = QColor::fromRgba(icone.pixel(x, y));
            if (cor.alpha() < 255)
                continue;
            if (cor.green() > cor.red() + 40 && cor.green() > cor.blue() + 40)
                ++iVerdes;
            if (cor.red() > 220 && cor.green() > 100 && cor.green() < 180 && cor.blue() < 90)
                ++iLaranjas;
        }
    const int iArea = iTamanho * iTamanho;
    EXPECT_GT(iVerdes, iArea / 3) << "fundo verde";
    EXPECT_GT(iLaranjas, iArea / 30) << "seta laranja";
}
} // namespace

TEST_F(Recursos, IconesNosQuatroTamanhos)
{
    for (int iTamanho : {16, 32, 48, 64})
    {
        SCOPED_TRACE(iTamanho);
        ConferirIcone(QImage(QStringLiteral(":/rc/icoQuibar_%1.png").arg(iTamanho)), iTamanho);
    }
}

TEST_F(Recursos, IconeGrandeDoInstalador)
{
    ConferirIcone(QImage(QStringLiteral(ZAVORO_RC_ICONE_256)), 256);
}

TEST_F(Recursos, LogoBmpDe72Por110Em24Bits)
{
    QFile arquivo(QStringLiteral(":/rc/logoMorvel.bmp"));
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    const QByteArray dados = arquivo.readAll();
    ASSERT_GE(dados.size(), 54);
    EXPECT_EQ(dados.left(2), QByteArray("BM"));
    EXPECT_EQ(LerLe(dados, 2, 4), static_cast<std::uint32_t>(dados.size())) << "tamanho no cabeçalho";
    EXPECT_EQ(LerLe(dados, 18, 4), 72u) << "largura";
    EXPECT_EQ(static_cast<std::int32_t>(LerLe(dados, 22, 4)), 110) << "altura (linhas de baixo para cima)";
    EXPECT_EQ(LerLe(dados, 28, 2), 24u) << "bits por pixel";
    EXPECT_EQ(LerLe(dados, 30, 4), 0u) << "sem compressão";

    const QImage logo = QImage::fromData(dados, "BMP");
    ASSERT_FALSE(logo.isNull());
    ASSERT_EQ(logo.size(), QSize(72, 110));
    EXPECT_FALSE(logo.hasAlphaChannel());
    // White background, with the drawing and the name in it.
    for (const QPoint canto : {QPoint(0, 0), QPoint(71, 0), QPoint(0, 109), QPoint(71, 109)})
        EXPECT_EQ(logo.pixel(canto), qRgb(255, 255, 255));
    int iEscuros = 0;
    for (int y = 84; y < 104; ++y) // the name's line
        for (int x = 0; x < 72; ++x)
            if (qGray(logo.pixel(x, y)) < 128)
                ++iEscuros;
    EXPECT_GT(iEscuros, 60) << "nome do fabricante";
}
