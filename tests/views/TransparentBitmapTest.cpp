#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "views/TransparentBitmap.h"

namespace {

const QColor kBackground(0, 128, 0);
const QColor kWhite(255, 255, 255);
const QColor kNearWhite(254, 255, 255);
const QColor kInk(200, 0, 0);

// A 40 by 30 picture: ink, with a pure white block at the top left and a
// near-white column at x = 20.
QImage TestPicture() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(kInk);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            image.setPixelColor(x, y, kWhite);
        }
    }
    for (int y = 0; y < 30; ++y) {
        image.setPixelColor(20, y, kNearWhite);
    }
    return image;
}

// The control sits at (10, 5) on a green host, larger than its picture.
class TransparentBitmapTest : public ::testing::Test {
protected:
    TransparentBitmapTest() : m_control(new CTransparentBitmap(&m_host)) {
        QPalette colours = m_host.palette();
        colours.setColor(QPalette::Window, kBackground);
        m_host.setPalette(colours);
        m_host.setAutoFillBackground(true);
        m_host.resize(120, 100);
        m_control->setGeometry(10, 5, 90, 80);
    }

    QColor At(int x, int y) { return m_host.grab().toImage().pixelColor(10 + x, 5 + y); }
    QImage Shot() { return m_host.grab().toImage(); }

    QWidget m_host;
    CTransparentBitmap* m_control;
};

TEST_F(TransparentBitmapTest, PureWhiteShowsTheBackgroundAndEverythingElseStays) {
    m_control->setPixmap(QPixmap::fromImage(TestPicture()));
    m_control->SetTransparent(true);
    const QImage shot = Shot();
    auto at = [&](int x, int y) { return shot.pixelColor(10 + x, 5 + y); };

    EXPECT_EQ(at(0, 0), kBackground);
    EXPECT_EQ(at(9, 9), kBackground);
    EXPECT_EQ(at(20, 0), kNearWhite);
    EXPECT_EQ(at(20, 29), kNearWhite);
    EXPECT_EQ(at(10, 0), kInk);
    EXPECT_EQ(at(39, 29), kInk);
}

TEST_F(TransparentBitmapTest, PictureSitsTopLeftAtItsOwnSize) {
    m_control->setPixmap(QPixmap::fromImage(TestPicture()));
    for (bool transparent : {true, false}) {
        m_control->SetTransparent(transparent);
        const QImage shot = Shot();
        auto at = [&](int x, int y) { return shot.pixelColor(10 + x, 5 + y); };
        // Right of and below the picture the control shows nothing of it.
        EXPECT_EQ(at(39, 29), kInk) << transparent;
        EXPECT_EQ(at(40, 29), kBackground) << transparent;
        EXPECT_EQ(at(39, 30), kBackground) << transparent;
        EXPECT_EQ(at(89, 79), kBackground) << transparent;
        // Left of and above the control nothing is drawn either.
        EXPECT_EQ(shot.pixelColor(9, 20), kBackground) << transparent;
        EXPECT_EQ(shot.pixelColor(30, 4), kBackground) << transparent;
    }
}

TEST_F(TransparentBitmapTest, HighResolutionPictureKeepsItsLogicalSize) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(kInk);
    image.setDevicePixelRatio(2.0);
    m_control->setPixmap(QPixmap::fromImage(image));
    m_control->SetTransparent(true);
    EXPECT_EQ(At(19, 14), kInk);
    EXPECT_EQ(At(20, 14), kBackground);
    EXPECT_EQ(At(19, 15), kBackground);
}

TEST_F(TransparentBitmapTest, WithoutTransparencyWhiteIsPaintedLikeAnyColour) {
    m_control->setPixmap(QPixmap::fromImage(TestPicture()));
    EXPECT_FALSE(m_control->IsTransparent());
    EXPECT_EQ(At(0, 0), kWhite);
    EXPECT_EQ(At(20, 0), kNearWhite);
    EXPECT_EQ(At(10, 0), kInk);

    // Switching transparency off again after it was on paints plainly.
    m_control->SetTransparent(true);
    EXPECT_EQ(At(0, 0), kBackground);
    m_control->SetTransparent(false);
    EXPECT_EQ(At(0, 0), kWhite);
}

TEST_F(TransparentBitmapTest, WithoutPictureNothingIsDrawn) {
    m_control->SetTransparent(true);
    const QImage shot = Shot();
    for (const QPoint& p : {QPoint(10, 5), QPoint(50, 40), QPoint(99, 84)}) {
        EXPECT_EQ(shot.pixelColor(p), kBackground) << p.x() << "," << p.y();
    }
}

TEST_F(TransparentBitmapTest, PictureWithAlphaChannelLeavesOutOnlyPureWhite) {
    QImage image(4, 1, QImage::Format_ARGB32);
    image.setPixelColor(0, 0, kWhite);
    image.setPixelColor(1, 0, kNearWhite);
    image.setPixelColor(2, 0, QColor(255, 255, 255, 0));
    image.setPixelColor(3, 0, kInk);
    m_control->setPixmap(QPixmap::fromImage(image));
    m_control->SetTransparent(true);
    const QImage shot = Shot();
    EXPECT_EQ(shot.pixelColor(10, 5), kBackground);
    EXPECT_EQ(shot.pixelColor(11, 5), kNearWhite);
    EXPECT_EQ(shot.pixelColor(12, 5), kBackground);
    EXPECT_EQ(shot.pixelColor(13, 5), kInk);
}

}  // namespace
