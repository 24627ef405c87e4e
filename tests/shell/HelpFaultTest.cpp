#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "shell/Help.h"

namespace {

// A folder standing for the executable's folder, and a stand-in xdg-open at
// the front of PATH that records its argument and succeeds.
class HelpFault : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_appDir.isValid());
        ASSERT_TRUE(m_toolDir.isValid());
        m_savedPath = qgetenv("PATH");
        qputenv("PATH", m_toolDir.path().toLocal8Bit() + ":" + m_savedPath);
        QFile script(m_toolDir.filePath("xdg-open"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\n")
                         .arg(m_toolDir.filePath("args"))
                         .toLocal8Bit());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override { qputenv("PATH", m_savedPath); }

    QString RecordedArgs() const {
        QFile file(m_toolDir.filePath("args"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }
    // Opens the manual; the texts of the message boxes that came up.
    QStringList OpenManual() {
        QStringList texts;
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&texts] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        watcher.start(10);
        OpenManualIn(m_appDir.path(), nullptr, kManualOpenWait);
        return texts;
    }

    QTemporaryDir m_appDir;
    QTemporaryDir m_toolDir;
    QByteArray m_savedPath;
};

TEST_F(HelpFault, AGarbageManualIsHandedOverAsItIsAndFolderNamedLikeAManualIsPassedBy) {
    ASSERT_TRUE(QDir(m_appDir.path()).mkdir("A-Handbuch.pdf"));
    QFile manual(m_appDir.filePath("Handbuch.pdf"));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.write(QByteArray("\x00\xff garbage", 10));
    manual.close();
    EXPECT_TRUE(OpenManual().isEmpty());
    EXPECT_EQ(RecordedArgs(), m_appDir.filePath("Handbuch.pdf") + "\n");
}

TEST_F(HelpFault, OnlyAFolderNamedLikeAManualStartsNothingAndSaysNothing) {
    ASSERT_TRUE(QDir(m_appDir.path()).mkdir("Handbuch.pdf"));
    EXPECT_TRUE(OpenManual().isEmpty());
    EXPECT_EQ(RecordedArgs(), QString());
}

}  // namespace
