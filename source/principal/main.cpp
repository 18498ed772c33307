// quibar-zavoro: the desktop application.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "principal/janelaQt.h"
#include "rc/recursos.h"
#include "zavoro/versao.h"

namespace
{
constexpr const char* kUso =
    "Uso: quibar-zavoro [OPÇÕES] [ARQUIVO...]\n"
    "\n"
    "Abre a janela do Quibar Zavoro. Com arquivos de navegação (.nvg), ou uma pasta,\n"
    "abre no modo de conversão com eles selecionados; com um mapa de recomendação\n"
    "(.shp), abre no modo de visualização de mapas com ele como mapa 1.\n"
    "\n"
    "Opções:\n"
    "  -h, --help        mostra esta ajuda\n"
    "  --version         mostra a versão\n"
    "\n"
    "Sem tela (um servidor, uma sessão SSH), use o comando zavoro, ou rode a janela\n"
    "fora da tela com QT_QPA_PLATFORM=offscreen.\n";

constexpr const char* kSemTela =
    "quibar-zavoro: não há tela disponível para abrir a janela (%s).\n"
    "Para converter arquivos sem tela use o comando zavoro; para rodar a janela fora da\n"
    "tela defina QT_QPA_PLATFORM=offscreen.\n";

// Qt ends the process with abort() when it cannot reach the display; the user gets a sentence in
// Portuguese and exit status 1 instead.
void AoMensagemQt(QtMsgType tipo, const QMessageLogContext&, const QString& szMensagem)
{
    if (tipo != QtFatalMsg)
    {
        if (tipo != QtDebugMsg && tipo != QtInfoMsg)
            std::fprintf(stderr, "quibar-zavoro: Qt: %s\n", szMensagem.toLocal8Bit().constData());
        return;
    }
    // Qt's own text (plug-in lists, reinstall advice) would not help here.
    const char* pcTela = std::getenv("DISPLAY");
    const std::string szMotivo = pcTela != nullptr && *pcTela != '\0'
                                     ? "a tela " + std::string(pcTela) + " não respondeu"
                                     : std::string("nenhuma extensão de plataforma do Qt pôde iniciar");
    std::fprintf(stderr, kSemTela, szMotivo.c_str());
    std::_Exit(1);
}

// True when no display is known to Qt's platform plug-ins (Linux): nothing to try, no abort to catch.
bool SemTela()
{
#if defined(__linux__)
    auto Vazia = [](const char* pcNome) {
        const char* pc = std::getenv(pcNome);
        return pc == nullptr || *pc == '\0';
    };
    return Vazia("QT_QPA_PLATFORM") && Vazia("DISPLAY") && Vazia("WAYLAND_DISPLAY");
#else
    return false;
#endif
}
} // namespace

int main(int argc, char** argv)
{
    // The command line is read before Qt, which would need a display for --help.
    std::vector<std::string> vArquivos;
    bool bOpcoes = true;
    for (int i = 1; i < argc; i++)
    {
        const std::string_view szArg = argv[i];
        if (bOpcoes && szArg == "--")
            bOpcoes = false;
        else if (bOpcoes && (szArg == "--help" || szArg == "-h"))
        {
            std::fputs(kUso, stdout);
            return 0;
        }
        else if (bOpcoes && szArg == "--version")
        {
            std::printf("quibar-zavoro %s\n", D_ZAVORO_VERSAO);
            return 0;
        }
        else if (bOpcoes && szArg.size() > 1 && szArg[0] == '-')
        {
            std::fprintf(stderr, "quibar-zavoro: opção desconhecida: %s\nUse \"quibar-zavoro --help\" para ver o uso.\n",
                         argv[i]);
            return 2;
        }
        else
            vArquivos.emplace_back(szArg);
    }
    if (SemTela())
    {
        std::fprintf(stderr, kSemTela, "DISPLAY e WAYLAND_DISPLAY não definidas");
        return 1;
    }
    qInstallMessageHandler(AoMensagemQt);

    QApplication aplicacao(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quibar Zavoro"));
    QApplication::setApplicationVersion(QString::fromLatin1(D_ZAVORO_VERSAO));
    QGuiApplication::setDesktopFileName(QStringLiteral("quibar-zavoro"));
    principal_IniciarRecursos();
    QApplication::setWindowIcon(principal_IconeQuibar());

    JanelaConversorZavoro janela(nullptr, principal_FormatosExportacao());
    janela.adjustSize();
    // Centred on the screen, as the dialog was designed to open.
    if (QScreen* pTela = QGuiApplication::primaryScreen())
        janela.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, janela.size(), pTela->availableGeometry()));
    janela.show();
    if (!vArquivos.empty())
        janela.Executar([&] { principal_AbrirComArquivos(&janela.Estado(), vArquivos); });
    const int iSaida = aplicacao.exec();
    return janela.CodigoSaida() != 0 ? janela.CodigoSaida() : iSaida;
}
