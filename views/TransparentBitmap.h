#pragma once

#include <QLabel>

class QPainter;

// A picture control that can leave out every pure white pixel of its picture,
// so that the background behind it (usually the dialog) shows through. The
// picture sits at the top left at its own size, never stretched. Without
// transparency it paints as an ordinary picture label.
class CTransparentBitmap : public QLabel {
    Q_OBJECT
public:
    explicit CTransparentBitmap(QWidget* parent = nullptr);

    // Takes effect at the next paint; does not repaint by itself.
    void SetTransparent(bool transparent);
    bool IsTransparent() const { return m_bTransparent; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Draws the picture with white left out, its top-left corner at (x, y).
    void DrawTransparent(QPainter& painter, int x, int y) const;

    bool m_bTransparent = false;
};
