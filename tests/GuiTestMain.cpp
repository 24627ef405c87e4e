#include <gtest/gtest.h>

#include <QApplication>

#include "shell/InterfaceDlgChoice.h"

// GUI tests run on the offscreen platform with one application object for
// the whole program, so that real widgets and modal dialogs can be driven.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The view asks for an interface through the shell's dialog, as in the program.
    CInterfaceDlgChoice interfaceChoice;
    SetInterfaceChoice(&interfaceChoice);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
