#include <QApplication>

#include "shell/OrvaneApp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    COrvaneApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1))) {
        return 1;
    }
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
