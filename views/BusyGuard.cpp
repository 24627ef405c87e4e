#include "views/BusyGuard.h"

#include <QGuiApplication>

#include "protocol/UserInterface.h"

namespace {

// Guards begun and not yet ended (user-interface thread only).
int g_nActiveGuards = 0;

// The widget that had the focus, or the window's first tab stop when that
// one only held the focus for the moment (a menu bar in keyboard mode) or
// none had it.
QWidget* FocusTarget(QWidget* window, QWidget* focus) {
    if (focus != nullptr && focus->focusPolicy() != Qt::NoFocus) {
        return focus;
    }
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) != 0) {
            return w;
        }
    }
    return nullptr;
}

}  // namespace

CBusyGuard::CBusyGuard(QWidget* window) {
    ++g_nActiveGuards;
    UserInterface().BeginWaitCursor();
    // A window an outer guard keeps disabled is that guard's to enable again.
    if (window != nullptr && window->isEnabled()) {
        m_pWindow = window;
        m_pFocus = window->focusWidget();
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
        // Arrow keys, paging and typing go where they went before the command.
        QWidget* target = FocusTarget(m_pWindow, m_pFocus);
        if (target != nullptr && target->window() == m_pWindow) {
            target->setFocus();
        }
    }
    UserInterface().EndWaitCursor();
    --g_nActiveGuards;
}

bool CBusyGuard::IsBusy() {
    return g_nActiveGuards > 0;
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
