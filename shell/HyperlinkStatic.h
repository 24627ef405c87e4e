#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QLabel>

#include <functional>
#include <optional>

// A text label that acts as a link: while links are on, a left click hands the
// label's text, as it stands, to the desktop (a web address opens in the
// browser, a "mailto:" address in the mail program). What the desktop does
// with it is not reported.
class CHyperlinkStatic : public QLabel {
    Q_OBJECT
public:
    // Receives the text of a clicked link. The default opens it with
    // QDesktopServices::openUrl; tests install their own.
    using Opener = std::function<void(const QString& text)>;

    explicit CHyperlinkStatic(QWidget* parent = nullptr);

    void SetLinkColor(const QColor& color);
    void SetLinkFont(const QFont& font);
    // Off: the label ignores the mouse, as a plain text does.
    void SetLink(bool on);
    // The cursor shown over the label; none means the parent's cursor.
    void SetLinkCursor(const std::optional<QCursor>& cursor);

    bool IsLink() const { return m_bLink; }
    QColor LinkColor() const { return m_crText; }

    // Replaces the process-wide opener; an empty one restores the default.
    // Returns the opener in use before.
    static Opener SetOpener(Opener opener);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor m_crText;
    QFont m_font;
    std::optional<QCursor> m_hLinkCursor;
    bool m_bLink = false;
};
