#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "shell/HyperlinkStatic.h"

namespace {

// Installs a recording opener for one test and restores the previous one.
class HyperlinkStaticTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous =
            CHyperlinkStatic::SetOpener([this](const QString& text) { m_opened.append(text); });
        m_link.setText(QStringLiteral("https://www.meridel-applikationen.example/service"));
        m_link.resize(m_link.sizeHint());
    }
    void TearDown() override { CHyperlinkStatic::SetOpener(m_previous); }

    CHyperlinkStatic m_link;
    QStringList m_opened;
    CHyperlinkStatic::Opener m_previous;
};

TEST_F(HyperlinkStaticTest, LeftClickHandsTheTextOverAsItStands) {
    m_link.SetLink(true);
    QTest::mouseClick(&m_link, Qt::LeftButton);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened.first(), "https://www.meridel-applikationen.example/service");

    // Markup is shown and handed over as plain text, not interpreted.
    m_link.setText(QStringLiteral("mailto:<b>a@b.example</b>"));
    QTest::mouseClick(&m_link, Qt::LeftButton);
    ASSERT_EQ(m_opened.size(), 2);
    EXPECT_EQ(m_opened.last(), "mailto:<b>a@b.example</b>");
    EXPECT_EQ(m_link.textFormat(), Qt::PlainText);
}

TEST_F(HyperlinkStaticTest, WithoutLinkOrWithOtherButtonsNothingOpens) {
    EXPECT_FALSE(m_link.IsLink());
    QTest::mouseClick(&m_link, Qt::LeftButton);
    EXPECT_TRUE(m_link.testAttribute(Qt::WA_TransparentForMouseEvents));

    m_link.SetLink(true);
    EXPECT_FALSE(m_link.testAttribute(Qt::WA_TransparentForMouseEvents));
    QTest::mouseClick(&m_link, Qt::RightButton);
    QTest::mouseClick(&m_link, Qt::MiddleButton);

    m_link.SetLink(false);
    QTest::mouseClick(&m_link, Qt::LeftButton);
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(HyperlinkStaticTest, ColourFontAndCursorApply) {
    QFont underlined = m_link.font();
    underlined.setUnderline(true);
    m_link.SetLinkFont(underlined);
    m_link.SetLinkColor(QColor(0, 0, 255));
    EXPECT_TRUE(m_link.font().underline());
    EXPECT_EQ(m_link.LinkColor(), QColor(0, 0, 255));

    const QImage shot = m_link.grab().toImage();
    bool blue = false;
    for (int y = 0; y < shot.height() && !blue; ++y) {
        for (int x = 0; x < shot.width() && !blue; ++x) {
            blue = shot.pixelColor(x, y) == QColor(0, 0, 255);
        }
    }
    EXPECT_TRUE(blue) << "the text is drawn in the link colour";

    EXPECT_EQ(m_link.cursor().shape(), Qt::ArrowCursor);
    m_link.SetLinkCursor(QCursor(Qt::PointingHandCursor));
    EXPECT_EQ(m_link.cursor().shape(), Qt::PointingHandCursor);
    m_link.SetLinkCursor(std::nullopt);
    EXPECT_EQ(m_link.cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
