// Walks the real window through its screens and saves a picture of each, as the screen shows it.
// Run under a display (scripts/capturas.sh starts Xvfb): zavoro_capturas SAMPLES_DIR OUTPUT_DIR
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "amostrasCapturas.h"
#include "principal/janelaQt.h"
#include "rc/recursos.h"
#include "support/ServicosFalsos.h"

namespace fs = std::filesystem;

namespace
{
bool Esperar(const std::function<bool()>& fnPronto, int iLimiteMs = 60000)
{
    for (int i = 0; i < iLimiteMs / 10; i++)
    {
        if (fnPronto())
            return true;
        QTest::qWait(10);
    }
    return fnPronto();
}

bool Capturar(QWidget* pJanela, const fs::path& arquivo)
{
    QTest::qWait(300); // let the window system show the last repaint
    const QRect area = pJanela->frameGeometry();
    const QPixmap imagem = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const bool bOk = imagem.save(QString::fromStdString(arquivo.string()), "PNG");
    std::printf("%s %s\n", bOk ? "gravada" : "FALHOU", arquivo.string().c_str());
    return bOk;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication aplicacao(argc, argv);
    principal_IniciarRecursos();
    if (argc != 3)
    {
        std::fprintf(stderr, "uso: zavoro_capturas PASTA_AMOSTRAS PASTA_SAIDA\n");
        return 2;
    }
    const fs::path amostras = argv[1], saida = argv[2];
    const fs::path trabalho = fs::temp_directory_path() / "zavoro_capturas";
    const std::string szPasta = capturas_PrepararAmostras(amostras, trabalho, saida);

    JanelaConversorZavoro janela(nullptr, principal_FormatosExportacao());
    const ST_ServicosPlataforma stQt = janela.Estado().stServicos; // the adapter's own, before the fakes
    zavoro_teste::ServicosFalsos servicos(&janela.Estado(), false);
    janela.Estado().unidadePausa = std::chrono::milliseconds(250);
    janela.adjustSize();
    janela.move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, janela.size(),
                                    QGuiApplication::primaryScreen()->availableGeometry())
                    .topLeft());
    janela.show();
    (void)QTest::qWaitForWindowExposed(&janela);
    ST_Janela& st = janela.Estado();
    auto Clicar = [&janela](int iId) { QTest::mouseClick(janela.Controle(iId), Qt::LeftButton); };
    bool bOk = true;

    bOk &= Capturar(&janela, saida / "01_inicio.png");
    servicos.filaArquivos.push_back({szPasta + "/pulverizacao_soja.nvg", szPasta + "/colheita.nvg"});
    Clicar(btnSelecioneArquivos);
    Esperar([&] { return janela.Controle(btnBotaoDireita)->isEnabled(); });
    bOk &= Capturar(&janela, saida / "02_selecionados.png");
    Clicar(btnBotaoDireita);
    bOk &= Capturar(&janela, saida / "03_opcoes_mapa.png");
    Clicar(btnBotaoDireita);
    bOk &= Capturar(&janela, saida / "04_faixas_legenda.png");
    Clicar(btnBotaoDireita);
    bOk &= Capturar(&janela, saida / "05_legenda_classes.png");
    Clicar(btnBotaoDireita);
    bOk &= Capturar(&janela, saida / "06_cobertura_inteira.png");
    Clicar(btnBotaoDireita);
    Esperar([&] { return principal_Texto(&st, lblStatusConversao).find("Gerando") != std::string::npos; });
    bOk &= Capturar(&janela, saida / "07_convertendo.png");
    Esperar([&] { return janela.Controle(btnSelecioneArquivos)->isEnabled(); });
    bOk &= Capturar(&janela, saida / "08_resultado.png");

    // The export: the format asked once (GeoPackage here), then the same worker and result list.
    servicos.filaArquivos.push_back({szPasta + "/pulverizacao_soja.nvg", szPasta + "/colheita.nvg"});
    Clicar(btnSelecioneArquivos);
    Esperar([&] { return janela.Controle(btnExportar)->isEnabled(); });
    servicos.filaItens.push_back(0);
    Clicar(btnExportar);
    Esperar([&] { return janela.Controle(btnSelecioneArquivos)->isEnabled(); });
    bOk &= Capturar(&janela, saida / "18_exportacao.png");

    // The speed map's boundaries, over the second path of the steps.
    servicos.filaArquivos.push_back({szPasta + "/pulverizacao_soja.nvg"});
    Clicar(btnSelecioneArquivos);
    Esperar([&] { return janela.Controle(btnBotaoDireita)->isEnabled(); });
    Clicar(btnBotaoDireita);
    Clicar(rdbtnOpcao2);
    Clicar(btnBotaoDireita);
    bOk &= Capturar(&janela, saida / "09_faixas_velocidade.png");
    Clicar(btnBotaoEsquerda);
    Clicar(btnBotaoEsquerda);

    {
        DialogoSobre sobre(&janela);
        sobre.show();
        (void)QTest::qWaitForWindowExposed(&sobre);
        bOk &= Capturar(&sobre, saida / "10_sobre.png");
    }

    // Variable-rate mode.
    Clicar(rdVisualizacaoMapas);
    bOk &= Capturar(&janela, saida / "11_mapas_vazio.png");
    servicos.filaArquivos.push_back({szPasta + "/recomendacao_pulverizacao.shp"});
    Clicar(btnMapa1Shp);
    Clicar(btnDesenharMapaShapefile1);
    bOk &= Capturar(&janela, saida / "12_mapa1.png");
    servicos.filaArquivos.push_back({szPasta + "/pulverizacao_soja.nvg"});
    Clicar(btnMapa2Shp);
    Clicar(btnDesenharMapaShapefile2);
    bOk &= Capturar(&janela, saida / "13_convertendo_mapa2.png");
    Esperar([&] { return st.gucNivelMenuVisualizacaoMapa2 == 4; });
    bOk &= Capturar(&janela, saida / "14_mapas_ambos.png");
    const ST_PontoTela stCanto = principal_ImprimirMapas(&st).stCanto[1];
    QTest::mouseDClick(janela.AreaCliente(), Qt::LeftButton, Qt::NoModifier, QPoint(stCanto.iX + 150, stCanto.iY + 150));
    QWidget* pAmpliada = nullptr;
    Esperar([&] {
        for (QWidget* p : QApplication::topLevelWidgets())
            if (p->objectName() == "frmVisualizacaoMapa" && p->isVisible())
                pAmpliada = p;
        return pAmpliada != nullptr;
    });
    if (pAmpliada != nullptr)
    {
        (void)QTest::qWaitForWindowExposed(pAmpliada);
        bOk &= Capturar(pAmpliada, saida / "15_mapa_ampliado.png");
        pAmpliada->close();
    }
    else
    {
        bOk = false;
    }

    // The comparison, once its worker is done: the button, then its window (as the button opens it).
    Esperar([&] { return st.stComparacao.iEstado != D_PRINCIPAL_COMPARACAO_EM_CURSO; });
    bOk &= Capturar(&janela, saida / "16_comparacao_pronta.png");
    QWidget* pComparacao = nullptr;
    if (stQt.pfMostrarComparacao != nullptr)
        stQt.pfMostrarComparacao(stQt.pContexto);
    Esperar([&] {
        for (QWidget* p : QApplication::topLevelWidgets())
            if (p->objectName() == "frmComparacao" && p->isVisible())
                pComparacao = p;
        return pComparacao != nullptr;
    });
    if (pComparacao != nullptr)
    {
        (void)QTest::qWaitForWindowExposed(pComparacao);
        bOk &= Capturar(pComparacao, saida / "17_comparacao.png");
    }
    else
    {
        bOk = false;
    }
    fs::remove_all(trabalho);
    return bOk ? 0 : 1;
}
