#include "shell/QtUserInterface.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

void CQtUserInterface::PumpMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void CQtUserInterface::BeginWaitCursor() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void CQtUserInterface::RestoreWaitCursor() {
    // Something dispatched during the wait may have changed the cursor.
    if (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

void CQtUserInterface::EndWaitCursor() {
    if (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::restoreOverrideCursor();
    }
}
