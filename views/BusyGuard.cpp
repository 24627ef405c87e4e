#include "views/BusyGuard.h"

#include <QGuiApplication>

#include "protocol/UserInterface.h"

CBusyGuard::CBusyGuard(QWidget* window) : m_pWindow(window) {
    UserInterface().BeginWaitCursor();
    if (m_pWindow != nullptr) {
        m_pWindow->setEnabled(false);
    }
}

CBusyGuard::~CBusyGuard() {
    End();
}

void CBusyGuard::End() {
    if (!m_bActive) {
        return;
    }
    m_bActive = false;
    if (m_pWindow != nullptr) {
        m_pWindow->setEnabled(true);
    }
    UserInterface().EndWaitCursor();
}

CBusyGuard::CNormalCursor::CNormalCursor()
    : m_bPushed(QGuiApplication::overrideCursor() != nullptr) {
    if (m_bPushed) {
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
}

CBusyGuard::CNormalCursor::~CNormalCursor() {
    if (m_bPushed) {
        QGuiApplication::restoreOverrideCursor();
    }
}
