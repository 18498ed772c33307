// zavoro_recursos: writes the application's artwork and help PDF at build time.
//   zavoro_recursos imagens PASTA                  icons (16, 32, 48, 64, 256 px) and the maker's logo
//   zavoro_recursos ajuda ENTRADA.html SAIDA.pdf VERSAO    VERSAO as the title page shows it (03.02)
#include "artes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

namespace
{
int Falhar(const QString& szMensagem)
{
    std::fprintf(stderr, "zavoro_recursos: %s\n", qPrintable(szMensagem));
    return 1;
}

bool Gravar(const QImage& imagem, const QString& szCaminho, const char* pcFormato)
{
    QSaveFile arquivo(szCaminho);
    return arquivo.open(QIODevice::WriteOnly) && imagem.save(&arquivo, pcFormato) && arquivo.commit();
}

int GerarImagens(const QString& szPasta)
{
    if (!QDir().mkpath(szPasta))
        return Falhar(QStringLiteral("não foi possível criar a pasta %1").arg(szPasta));
    for (int iTamanho : {16, 32, 48, 64, 256})
    {
        const QString szCaminho = szPasta + QStringLiteral("/icoQuibar_%1.png").arg(iTamanho);
        if (!Gravar(rc_DesenharIcone(iTamanho), szCaminho, "PNG"))
            return Falhar(QStringLiteral("não foi possível gravar %1").arg(szCaminho));
    }
    const QString szLogo = szPasta + QStringLiteral("/logoMorvel.bmp");
    if (!Gravar(rc_DesenharLogo(), szLogo, "BMP"))
        return Falhar(QStringLiteral("não foi possível gravar %1").arg(szLogo));
    return 0;
}

int GerarAjuda(const QString& szHtml, const QString& szPdf, const QString& szVersao)
{
    QFile entrada(szHtml);
    if (!entrada.open(QIODevice::ReadOnly))
        return Falhar(QStringLiteral("não foi possível ler %1").arg(szHtml));
    const QString szTexto = QString::fromUtf8(entrada.readAll());
    const QString szErro = rc_GerarAjuda(szTexto, szPdf, szVersao);
    return szErro.isEmpty() ? 0 : Falhar(szErro);
}
} // namespace

int main(int argc, char** argv)
{
    // A build machine has no display; everything here draws off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacao(argc, argv);
    const QStringList argumentos = aplicacao.arguments();

    if (argumentos.size() == 3 && argumentos[1] == QLatin1String("imagens"))
        return GerarImagens(argumentos[2]);
    if (argumentos.size() == 5 && argumentos[1] == QLatin1String("ajuda"))
        return GerarAjuda(argumentos[2], argumentos[3], argumentos[4]);
    std::fputs("Uso: zavoro_recursos imagens PASTA\n"
               "     zavoro_recursos ajuda ENTRADA.html SAIDA.pdf VERSAO\n",
               stderr);
    return 2;
}
