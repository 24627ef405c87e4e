#include "shell/HyperlinkStatic.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace {

void OpenWithDesktop(const QString& text) {
    QDesktopServices::openUrl(QUrl(text));
}

CHyperlinkStatic::Opener& CurrentOpener() {
    static CHyperlinkStatic::Opener opener = OpenWithDesktop;
    return opener;
}

}  // namespace

CHyperlinkStatic::CHyperlinkStatic(QWidget* parent)
    : QLabel(parent), m_crText(palette().color(QPalette::WindowText)), m_font(font()) {
    // The text is an address, shown and handed over exactly as written.
    setTextFormat(Qt::PlainText);
    SetLink(false);
}

void CHyperlinkStatic::SetLinkColor(const QColor& color) {
    m_crText = color;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, m_crText);
    setPalette(colours);
    repaint();
}

void CHyperlinkStatic::SetLinkFont(const QFont& font) {
    m_font = font;
    setFont(m_font);
    repaint();
}

void CHyperlinkStatic::SetLink(bool on) {
    m_bLink = on;
    // Like a plain text without click notification, the mouse then goes to
    // whatever lies below, cursor included.
    setAttribute(Qt::WA_TransparentForMouseEvents, !on);
}

void CHyperlinkStatic::SetLinkCursor(const std::optional<QCursor>& cursor) {
    m_hLinkCursor = cursor;
    if (m_hLinkCursor) {
        setCursor(*m_hLinkCursor);
    } else {
        unsetCursor();
    }
}

CHyperlinkStatic::Opener CHyperlinkStatic::SetOpener(Opener opener) {
    Opener previous = CurrentOpener();
    CurrentOpener() = opener ? std::move(opener) : Opener(OpenWithDesktop);
    return previous;
}

void CHyperlinkStatic::mousePressEvent(QMouseEvent* event) {
    if (m_bLink && event->button() == Qt::LeftButton) {
        CurrentOpener()(text());
    }
    QLabel::mousePressEvent(event);
}
