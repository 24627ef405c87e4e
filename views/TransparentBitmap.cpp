#include "views/TransparentBitmap.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace {

// The one transparent colour: pure white. Near-white pixels stay opaque.
constexpr QRgb kTransparentRgb = 0xFFFFFF;

}  // namespace

CTransparentBitmap::CTransparentBitmap(QWidget* parent) : QLabel(parent) {
    // A picture control draws its picture at the top left, unscaled.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setScaledContents(false);
}

void CTransparentBitmap::SetTransparent(bool transparent) {
    m_bTransparent = transparent;
}

void CTransparentBitmap::paintEvent(QPaintEvent* event) {
    if (!m_bTransparent) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect client = contentsRect();
    DrawTransparent(painter, client.left(), client.top());
}

void CTransparentBitmap::DrawTransparent(QPainter& painter, int x, int y) const {
    const QPixmap picture = pixmap();
    if (picture.isNull()) {
        return;
    }
    // A fresh working copy on every paint: the picture may be replaced at any time.
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < image.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < image.width(); ++column) {
            if ((line[column] & 0x00FFFFFF) == kTransparentRgb) {
                line[column] = 0;
            }
        }
    }
    // The image keeps the picture's device pixel ratio, so it is drawn at the
    // picture's own logical size.
    painter.drawImage(QPoint(x, y), image);
}
