#include <gtest/gtest.h>

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

#include "DialogTestSupport.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

namespace {

// The preview lays the transcript out in pages and remembers whether the
// operator looked at one page or two side by side.
TEST(ViewPrint, PreviewShowsThePagesAndKeepsThePageChoice) {
    COrvaneDoc doc;
    COrvaneView view(&doc);
    QByteArray lines;
    for (int i = 0; i < 300; ++i) {
        lines += "08.12.24 10:15:0" + QByteArray::number(i % 10) + ":0 01 001E2972 01\r\n";
    }
    view.SetTranscriptBytes(lines);

    int pages = 0;
    CModalScript script;
    script.On<QPrintPreviewDialog>([&pages](QPrintPreviewDialog* dialog) {
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(preview, nullptr);
        pages = preview->pageCount();
        preview->setViewMode(QPrintPreviewWidget::FacingPagesView);
        dialog->reject();
    });
    script.Start();
    view.OnFilePrintPreview();
    EXPECT_GT(pages, 1);
    EXPECT_EQ(view.m_nPreviewPages, 2);

    // The next preview opens with two pages again.
    QPrintPreviewWidget::ViewMode mode = QPrintPreviewWidget::SinglePageView;
    CModalScript again;
    again.On<QPrintPreviewDialog>([&mode](QPrintPreviewDialog* dialog) {
        mode = dialog->findChild<QPrintPreviewWidget*>()->viewMode();
        dialog->reject();
    });
    again.Start();
    view.OnFilePrintPreview();
    EXPECT_EQ(mode, QPrintPreviewWidget::FacingPagesView);
    // Printing does not change the transcript.
    EXPECT_EQ(view.TranscriptBytes(), lines);
}

}  // namespace
