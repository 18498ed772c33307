// The desktop application's tests run in one QApplication, headless unless a platform is named.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "rc/recursos.h"

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication aplicacao(argc, argv);
    // Tests close windows ("Sair") and go on with new ones.
    QApplication::setQuitOnLastWindowClosed(false);
    principal_IniciarRecursos();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
