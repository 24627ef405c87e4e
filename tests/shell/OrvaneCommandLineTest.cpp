#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "common/Language.h"
#include "shell/OrvaneCommandLine.h"

namespace {

using Action = COrvaneCommandLine::Action;

struct CommandLineCase {
    QStringList arguments;  // after the program name
    Action action;
    int status;
    QStringList files;
    QString output;  // expected in standard output
    QString error;   // expected in standard error
};

TEST(OrvaneCommandLine, OpensOneFileAnswersHelpAndVersionAndRefusesTheRest) {
    const QString hint = "„orvane --help“ liefert weitere Informationen.\n";
    const std::vector<CommandLineCase> cases = {
        {{}, Action::Start, 0, {}, "", ""},
        {{"Datensätze.txt"}, Action::Start, 0, {"Datensätze.txt"}, "", ""},
        {{"--", "-v.txt"}, Action::Start, 0, {"-v.txt"}, "", ""},
        {{"--version"}, Action::Exit, 0, {}, "Orvane " ORVANE_PRODUCT_VERSION "\n", ""},
        {{"-h"}, Action::Exit, 0, {}, "[Datei]", ""},
        {{"a.txt", "--help"}, Action::Exit, 0, {}, "Zeigt die Version an.", ""},
        {{"--bogus"}, Action::Exit, 2, {}, "", hint},
        {{"-x", "a.txt"}, Action::Exit, 2, {}, "", hint},
        {{"a.txt", "b.txt"}, Action::Exit, 2, {}, "", "Zu viele Argumente"},
    };
    for (const CommandLineCase& c : cases) {
        const std::string name = c.arguments.join(' ').toStdString();
        COrvaneCommandLine commandLine;
        EXPECT_EQ(commandLine.Parse(QStringList{"/opt/orvane/bin/orvane"} + c.arguments), c.action)
            << name;
        EXPECT_EQ(commandLine.ExitStatus(), c.status) << name;
        EXPECT_EQ(commandLine.Files(), c.files) << name;
        EXPECT_TRUE(commandLine.Output().contains(c.output)) << name;
        EXPECT_TRUE(commandLine.ErrorOutput().contains(c.error)) << name;
        EXPECT_EQ(commandLine.Output().isEmpty(), c.output.isEmpty()) << name;
        EXPECT_EQ(commandLine.ErrorOutput().isEmpty(), c.error.isEmpty()) << name;
        if (c.status == 2) {
            EXPECT_TRUE(commandLine.ErrorOutput().startsWith("orvane: ")) << name;
        }
    }
    COrvaneCommandLine help;
    help.Parse({"orvane", "--help"});
    EXPECT_FALSE(help.Output().contains("check-files"));

    ASSERT_TRUE(CLanguage::LoadEnglish());
    EXPECT_TRUE(help.Parse({"orvane", "--help"}) == Action::Exit &&
                help.Output().contains("[file]") && help.Output().contains("Shows the version."))
        << help.Output().toStdString();
    help.Parse({"orvane", "a.txt", "b.txt"});
    EXPECT_TRUE(help.ErrorOutput().endsWith("Try 'orvane --help' for more information.\n"))
        << help.ErrorOutput().toStdString();
    CLanguage::UnloadEnglish();
}

// The hidden check names the catalogue and the manual that the program would use.
TEST(OrvaneCommandLine, FileCheckNamesTheCatalogueAndTheManualOrWhatIsMissing) {
    const QDir programDir(QCoreApplication::applicationDirPath());
    if (!programDir.exists("Orvane-Handbuch.pdf")) {
        GTEST_SKIP() << "the manual has not been built";
    }
    COrvaneCommandLine check;
    EXPECT_EQ(check.Parse({"orvane", "--check-files"}), Action::Exit);
    EXPECT_EQ(check.ExitStatus(), 0) << check.ErrorOutput().toStdString();
    EXPECT_TRUE(check.Output().contains(programDir.filePath("OrvaneEng.qm")));
    EXPECT_TRUE(check.Output().contains(programDir.filePath("Orvane-Handbuch.pdf")));
    CLanguage::UnloadEnglish();

    QTemporaryDir empty;
    CLanguage::SetCatalogueFolders({empty.path()});
    EXPECT_EQ(check.Parse({"orvane", "--check-files"}), Action::Exit);
    CLanguage::SetCatalogueFolders({});
    EXPECT_EQ(check.ExitStatus(), 1);
    EXPECT_EQ(check.ErrorOutput(), "Englischer Katalog: nicht gefunden\n");
    EXPECT_TRUE(check.Output().startsWith("Handbuch: "));
}

// The program itself writes what it answers to the right channel and needs no window for it.
TEST(OrvaneCommandLine, TheProgramPrintsItsVersionAndEndsWithStatus2OnAWrongOption) {
    QTemporaryDir runtimeDir;  // private, so that Qt has nothing to warn about
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LC_ALL", "C.UTF-8");
    environment.insert("XDG_RUNTIME_DIR", runtimeDir.path());
    program.setProcessEnvironment(environment);
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("orvane");

    program.start(path, {"--version"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardOutput(), "Orvane " ORVANE_PRODUCT_VERSION "\n");

    program.start(path, {"--no-such-option"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_EQ(program.readAllStandardOutput(), "");
    const QString error = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(error.startsWith("orvane: ") && error.contains("no-such-option") &&
                error.endsWith("Try 'orvane --help' for more information.\n"))
        << error.toStdString();
}

}  // namespace
