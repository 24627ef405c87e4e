#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <csignal>

#include "DialogTestSupport.h"
#include "views/EchoByteToView.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Every kind of byte a reader can send: control bytes, CR and LF alone and
// as a pair, NUL, and the upper half of the code page.
QByteArray AwkwardBytes() {
    QByteArray bytes("Record 0001 12.03.24 08:15\r\n");
    for (int b = 0; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    bytes += "\r\r\n\n\rEND\r\n";
    return bytes;
}

class DocTranscriptTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    COrvaneDoc m_doc;
    COrvaneView m_view{&m_doc};
};

TEST_F(DocTranscriptTest, OpeningAndSavingAgainGivesTheSameBytes) {
    const QByteArray bytes = AwkwardBytes();
    WriteFile(Path("in.txt"), bytes);
    ASSERT_TRUE(m_doc.OnOpenDocument(Path("in.txt")));
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_doc.GetTitle(), "in.txt");
    ASSERT_TRUE(m_doc.DoSave(Path("out.txt")));
    EXPECT_EQ(ReadFile(Path("out.txt")), bytes);
}

TEST_F(DocTranscriptTest, SavingWritesExactlyTheBytesReceived) {
    g_echoLength = 0;
    SetOutputView(&m_view);
    QByteArray received;
    for (int b = 0x20; b < 0x100; ++b) {
        received += static_cast<char>(b);
    }
    received += "\r\nA\rB\nC\r\n";
    for (const char c : received + "\x02\x03\r\n") {
        EchoByteToView(static_cast<uint8_t>(c));
    }
    QCoreApplication::sendPostedEvents(&m_view);
    ASSERT_TRUE(m_doc.DoSave(Path("t.txt")));
    // Control bytes other than CR and LF are in the file as the view shows them.
    EXPECT_EQ(ReadFile(Path("t.txt")), received + "<02><03>\r\n");
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(DocTranscriptTest, AFailedSaveKeepsTheOldFileAndTheModifiedFlag) {
    const QByteArray old("the previous transcript\r\n");
    WriteFile(Path("keep.txt"), old);
    m_view.SetTranscriptBytes(QByteArray(64 * 1024, 'n'));
    m_doc.SetModifiedFlag(true);

    // The disk refuses everything past 4 KB.
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    CModalScript script;
    script.Message(QMessageBox::Ok);
    script.Start();
    const bool saved_ok = m_doc.OnSaveDocument(Path("keep.txt"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(ReadFile(Path("keep.txt")), old);
    EXPECT_EQ(script.m_messages, QStringList({"Fehler beim Speichern des Dokuments."}));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList({"keep.txt"}));
}

TEST_F(DocTranscriptTest, SaveAsAsksForTheNameAndAddsTheExtension) {
    m_view.setPlainText("data");
    QSignalSpy used(&m_doc, &COrvaneDoc::PathUsed);
    CModalScript script;
    const QString base = Path("reading");
    script.On<QFileDialog>([base](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters(), QStringList({"Textdatei (*.txt)"}));
        // Typed into the name field, as the operator would.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(base);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    script.Start();
    ASSERT_TRUE(m_doc.DoFileSave());
    EXPECT_EQ(ReadFile(base + ".txt"), QByteArray("data"));
    EXPECT_EQ(m_doc.GetTitle(), "reading.txt");
    ASSERT_EQ(used.count(), 1);
    EXPECT_EQ(used.at(0).at(0).toString(), base + ".txt");

    // The next save goes to the same file without asking.
    m_view.appendPlainText("more");
    ASSERT_TRUE(m_doc.DoFileSave());
    EXPECT_EQ(ReadFile(base + ".txt"), QByteArray("data\r\nmore"));
}

TEST_F(DocTranscriptTest, SavePromptAnswers) {
    m_view.setPlainText("unsaved");
    ASSERT_TRUE(m_doc.IsModified());
    {
        CModalScript script;
        script.Message(QMessageBox::Cancel);
        script.Start();
        EXPECT_FALSE(m_doc.SaveModified());
        EXPECT_EQ(script.m_messages, QStringList({"Änderungen in Unbenannt speichern?"}));
    }
    {
        CModalScript script;
        script.Message(QMessageBox::No);
        script.Start();
        EXPECT_TRUE(m_doc.SaveModified());
    }
    // Yes saves; a cancelled file dialog counts as not saved.
    {
        CModalScript script;
        script.Message(QMessageBox::Yes);
        script.On<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        script.Start();
        EXPECT_FALSE(m_doc.SaveModified());
        EXPECT_TRUE(m_doc.IsModified());
    }
    m_doc.SetModifiedFlag(false);
    EXPECT_TRUE(m_doc.SaveModified());  // nothing to ask
}

TEST_F(DocTranscriptTest, FilesThatCannotBeShownAreRefusedAndTheTextStays) {
    m_view.setPlainText("current");
    m_doc.SetModifiedFlag(false);
    WriteFile(Path("huge.txt"), QByteArray(COrvaneView::kMaxLength + 1, 'h'));
    CModalScript script;
    script.Message(QMessageBox::Ok);
    script.Message(QMessageBox::Ok);
    script.Start();
    EXPECT_FALSE(m_doc.OnOpenDocument(Path("huge.txt")));
    EXPECT_FALSE(m_doc.OnOpenDocument(Path("missing.txt")));
    // The framework's message, then the file and why.
    EXPECT_EQ(script.m_messages,
              QStringList({"Fehler beim Öffnen des Dokuments.\n\n" + Path("huge.txt") +
                               "\nDie Datei ist größer als die " +
                               QLocale().toString(COrvaneView::kMaxLength) +
                               " Zeichen, die das Protokoll fasst.",
                           "Fehler beim Öffnen des Dokuments.\n\n" + Path("missing.txt") +
                               "\nDie Datei ist nicht vorhanden."}));
    EXPECT_EQ(m_view.toPlainText(), "current");
    EXPECT_EQ(m_doc.GetTitle(), "Unbenannt");

    // Exactly at the limit is fine.
    QByteArray full;
    while (full.size() < COrvaneView::kMaxLength) {
        full += QByteArray(78, 'f') + "\r\n";
    }
    full.truncate(COrvaneView::kMaxLength);
    WriteFile(Path("full.txt"), full);
    EXPECT_TRUE(m_doc.OnOpenDocument(Path("full.txt")));
    EXPECT_EQ(m_view.TranscriptLength(), COrvaneView::kMaxLength);
    EXPECT_EQ(m_view.TranscriptBytes(), full);
}

TEST_F(DocTranscriptTest, ANewDocumentIsEmptyUntitledAndUnmodified) {
    WriteFile(Path("a.txt"), "abc");
    ASSERT_TRUE(m_doc.OnOpenDocument(Path("a.txt")));
    m_view.appendPlainText("x");
    ASSERT_TRUE(m_doc.IsModified());
    QSignalSpy title(&m_doc, &COrvaneDoc::TitleChanged);
    EXPECT_TRUE(m_doc.OnNewDocument());
    EXPECT_EQ(m_view.toPlainText(), QString());
    EXPECT_EQ(m_doc.GetTitle(), "Unbenannt");
    EXPECT_EQ(m_doc.GetPathName(), QString());
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(title.count(), 1);
}

}  // namespace
