#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "common/Language.h"
#include "common/ProgramFiles.h"
#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "shell/Help.h"
#include "views/BusyGuard.h"

namespace {

using namespace std::chrono_literals;

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// Clicks OK in every message box that comes up while it lives and keeps the texts.
class MessageBoxWatcher {
public:
    MessageBoxWatcher() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr) {
                m_texts.append(box->text());
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            }
        });
        m_timer.start(10);
    }
    const QStringList& Texts() const { return m_texts; }

private:
    QTimer m_timer;
    QStringList m_texts;
};

// A folder standing for the executable's folder, and a stand-in xdg-open at
// the front of PATH that records the arguments of each run and exits with a
// chosen status.
class HelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_appDir.isValid());
        ASSERT_TRUE(m_toolDir.isValid());
        m_savedPath = qgetenv("PATH");
        qputenv("PATH", m_toolDir.path().toLocal8Bit() + ":" + m_savedPath);
    }
    void TearDown() override { qputenv("PATH", m_savedPath); }

    void StandInXdgOpen(const QString& body) {
        const QString path = m_toolDir.filePath("xdg-open");
        QFile script(path);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '%1'\n%2\n")
                         .arg(ArgsFile(), body)
                         .toLocal8Bit());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString ArgsFile() const { return m_toolDir.filePath("args"); }
    QString RecordedArgs() const {
        QFile file(ArgsFile());
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }
    QStringList OpenManual(std::chrono::milliseconds wait = kManualOpenWait) {
        MessageBoxWatcher watcher;
        OpenManualIn(m_appDir.path(), nullptr, wait);
        return watcher.Texts();
    }

    QTemporaryDir m_appDir;
    QTemporaryDir m_toolDir;
    QByteArray m_savedPath;
};

TEST(HelpFiles, FirstFileByNameWithTheExtensionIgnoringCase) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("0-folder.pdf"));
    Touch(dir.filePath("Beta.pdf"));
    Touch(dir.filePath("alpha.PDF"));
    Touch(dir.filePath("00-notes.txt"));
    Touch(dir.filePath("1-manual.pdf.txt"));
    EXPECT_EQ(FindFileByExtension(dir.path(), "pdf"), "alpha.PDF");
    EXPECT_EQ(FindFileByExtension(dir.path(), "txt"), "00-notes.txt");
    EXPECT_EQ(FindFileByExtension(dir.path(), "doc"), "");

    QTemporaryDir empty;
    EXPECT_EQ(FindFileByExtension(empty.path(), "pdf"), "");
    EXPECT_EQ(FindFileByExtension(empty.filePath("missing"), "pdf"), "");
}

// The manual and the catalogue of an installation lie in ../share/orvane from
// the program's folder; files beside the program come first.
TEST(HelpFiles, ProgramFilesBesideTheProgramComeBeforeTheInstalledDataFolder) {
    QTemporaryDir root;
    const QString bin = root.filePath("usr/bin");
    const QString data = root.filePath("usr/share/orvane");
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(data));
    const QStringList folders = CProgramFiles::Folders(bin + "/");
    EXPECT_EQ(folders, (QStringList{bin, data}));

    Touch(data + "/OrvaneEng.qm");
    Touch(data + "/Orvane-Handbuch.pdf");
    ASSERT_TRUE(QDir(bin).mkdir("A-Handbuch.pdf"));
    EXPECT_EQ(CProgramFiles::Find("*.pdf", folders), QStringList{data + "/Orvane-Handbuch.pdf"});
    EXPECT_EQ(CProgramFiles::Find("OrvaneEng.qm", folders), QStringList{data + "/OrvaneEng.qm"});
    Touch(bin + "/Zusatz.PDF");
    EXPECT_EQ(CProgramFiles::Find("*.pdf", folders),
              (QStringList{bin + "/Zusatz.PDF", data + "/Orvane-Handbuch.pdf"}));
    EXPECT_EQ(CProgramFiles::Folders(), CProgramFiles::Folders(GetAppDirectory()));
}

// Without its own manual, English opens the first PDF as German does.
TEST(HelpFiles, EnglishFallsBackToTheFirstPdf) {
    QTemporaryDir dir;
    Touch(dir.filePath("Orvane-Handbuch.pdf"));
    EXPECT_EQ(FindManual(true, {dir.path()}), dir.filePath("Orvane-Handbuch.pdf"));
}

TEST(HelpFiles, AppDirectoryIsTheExecutablesFolder) {
    const QString dir = GetAppDirectory();
    EXPECT_FALSE(dir.endsWith('/'));
    EXPECT_EQ(QFileInfo(QApplication::applicationFilePath()).absolutePath(), dir);
}

TEST_F(HelpTest, FirstPdfIsHandedOverByFullPathAndSuccessSaysNothing) {
    Touch(m_appDir.filePath("Zusatz.pdf"));
    Touch(m_appDir.filePath("-Handbuch.pdf"));
    StandInXdgOpen("exit 0");
    {
        CBusyGuard busy(nullptr);  // nothing opens while a reader command runs
        EXPECT_TRUE(OpenManual().isEmpty());
    }
    EXPECT_TRUE(OpenManual().isEmpty());
    EXPECT_EQ(RecordedArgs(), m_appDir.filePath("-Handbuch.pdf") + "\n");
}

// The build puts the manuals beside the programs, the German one first; help
// opens the one of the language in force.
TEST_F(HelpTest, HelpOpensTheManualOfTheLanguageBesideTheProgram) {
    const QDir programDir(GetAppDirectory());
    const QStringList pdfs = programDir.entryList({"*.pdf"}, QDir::Files, QDir::IgnoreCase);
    if (pdfs.isEmpty()) {
        GTEST_SKIP() << "the manual has not been built";
    }
    EXPECT_EQ(pdfs, QStringList({"Orvane-Handbuch.pdf", "Orvane-Manual.pdf"}));
    QFile manual(programDir.filePath("Orvane-Manual.pdf"));
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
    EXPECT_EQ(manual.read(5), "%PDF-");

    StandInXdgOpen("exit 0");
    MessageBoxWatcher watcher;
    ShowManual(nullptr);
    ASSERT_TRUE(CLanguage::LoadEnglish());
    ShowManual(nullptr);
    CLanguage::UnloadEnglish();
    EXPECT_TRUE(watcher.Texts().isEmpty());
    EXPECT_EQ(RecordedArgs(), programDir.filePath("Orvane-Handbuch.pdf") + "\n" +
                                  programDir.filePath("Orvane-Manual.pdf") + "\n");
}

TEST_F(HelpTest, NoProgramForPdfFilesNamesTheUsualViewersAndTheManualsPath) {
    Touch(m_appDir.filePath("Handbuch.pdf"));
    // xdg-open's own complaint must not reach the terminal.
    const QString channels = m_toolDir.filePath("channels");
    StandInXdgOpen(QStringLiteral("out=$(readlink /proc/$$/fd/1)\nerr=$(readlink /proc/$$/fd/2)\n"
                                  "printf '%s\\n' \"$out\" \"$err\" > '%1'\n"
                                  "echo 'xdg-open: no method available' >&2\nexit 3")
                       .arg(channels));
    EXPECT_EQ(OpenManual(),
              QStringList{"Zur Ausführung der Hilfe muss ein PDF-Betrachter installiert sein.\n"
                          "Übliche PDF-Betrachter sind zum Beispiel Evince oder Okular; Sie "
                          "können sie mit der Paketverwaltung Ihrer Distribution installieren.\n"
                          "Das Handbuch liegt unter\n" +
                          m_appDir.filePath("Handbuch.pdf") + "\n"});
    QFile file(channels);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "/dev/null\n/dev/null\n");
}

TEST_F(HelpTest, OtherFailuresReportTheirStatus) {
    Touch(m_appDir.filePath("Handbuch.pdf"));
    StandInXdgOpen("exit 4");
    EXPECT_EQ(OpenManual(), QStringList{"Unbekannter Fehler 4"});
    StandInXdgOpen("exit 1");
    EXPECT_EQ(OpenManual(), QStringList{"Unbekannter Fehler 1"});
    StandInXdgOpen("kill -9 $$");
    EXPECT_EQ(OpenManual(), QStringList{"Unbekannter Fehler 137"});
}

TEST_F(HelpTest, XdgOpenMissingMeansOutOfResources) {
    Touch(m_appDir.filePath("Handbuch.pdf"));
    qputenv("PATH", m_toolDir.path().toLocal8Bit());
    EXPECT_EQ(OpenManual(), QStringList{LoadString(Res::IDS_HELP_NO_RESOURCES)});
}

TEST_F(HelpTest, WithoutPdfNothingStartsAndNothingIsSaid) {
    Touch(m_appDir.filePath("Handbuch.txt"));
    StandInXdgOpen("exit 3");
    EXPECT_TRUE(OpenManual().isEmpty());
    EXPECT_FALSE(QFile::exists(ArgsFile()));
}

class HelpSlow : public HelpTest {};

// An xdg-open that takes longer than the wait is left running and not reported;
// while it runs, further requests start no second one.
TEST_F(HelpSlow, WaitForXdgOpenIsBounded) {
    Touch(m_appDir.filePath("Handbuch.pdf"));
    const QString done = m_toolDir.filePath("done");
    StandInXdgOpen(QStringLiteral("sleep 3\n: > '%1'\nexit 4").arg(done));
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(OpenManual(200ms).isEmpty());
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_TRUE(OpenManual(200ms).isEmpty());
    EXPECT_TRUE(OpenManual(200ms).isEmpty());
    EXPECT_EQ(RecordedArgs(), m_appDir.filePath("Handbuch.pdf") + "\n");
    // Its late failure is not reported either; let it end before the folders go.
    MessageBoxWatcher watcher;
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(done); }, 8000));
    QTest::qWait(100);
    EXPECT_TRUE(watcher.Texts().isEmpty());
}

TEST_F(HelpTest, AGarbageManualIsHandedOverAsItIsAndAFolderNamedLikeOneIsPassedBy) {
    ASSERT_TRUE(QDir(m_appDir.path()).mkdir("A-Handbuch.pdf"));
    QFile manual(m_appDir.filePath("Handbuch.pdf"));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.write(QByteArray("\x00\xff garbage", 10));
    manual.close();
    StandInXdgOpen("exit 0");
    EXPECT_TRUE(OpenManual().isEmpty());
    EXPECT_EQ(RecordedArgs(), m_appDir.filePath("Handbuch.pdf") + "\n");
}

TEST_F(HelpTest, OnlyAFolderNamedLikeAManualStartsNothingAndSaysNothing) {
    ASSERT_TRUE(QDir(m_appDir.path()).mkdir("Handbuch.pdf"));
    StandInXdgOpen("exit 0");
    EXPECT_TRUE(OpenManual().isEmpty());
    EXPECT_EQ(RecordedArgs(), QString());
}

}  // namespace
