#include "shell/OrvaneCommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <utility>

#include "common/Language.h"
#include "common/ProgramFiles.h"
#include "shell/ProductVersion.h"

namespace {

// The status of a usage error, as other command-line programs use it.
constexpr int kUsageError = 2;

}  // namespace

COrvaneCommandLine::Action COrvaneCommandLine::Parse(const QStringList& arguments) {
    const QString program =
        arguments.isEmpty() ? QStringLiteral("orvane") : QFileInfo(arguments.first()).fileName();
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Zeigt diese Hilfe an."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     tr("Zeigt die Version an."));
    QCommandLineOption checkFiles(QStringLiteral("check-files"));
    checkFiles.setFlags(QCommandLineOption::HiddenFromHelp);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Servicewerkzeug für den Orvane-Leser, ein RFID-Terminal für Zutrittskontrolle und "
           "Zeiterfassung an einer seriellen Schnittstelle. Ohne Datei beginnt es mit einer "
           "leeren Mitschrift."));
    parser.addOptions({help, version, checkFiles});
    parser.addPositionalArgument(tr("Datei"), tr("Textdatei, die als Mitschrift geöffnet wird."),
                                 tr("[Datei]"));

    m_files.clear();
    m_strOutput.clear();
    m_strError.clear();
    m_nStatus = 0;
    if (!parser.parse(arguments.isEmpty() ? QStringList{program} : arguments)) {
        return Fail(program, parser.errorText());
    }
    if (parser.isSet(help)) {
        m_strOutput = parser.helpText();
        return Action::Exit;
    }
    if (parser.isSet(version)) {
        m_strOutput = QStringLiteral("Orvane %1\n").arg(GetProductVersion());
        return Action::Exit;
    }
    if (parser.isSet(checkFiles)) {
        return CheckFiles();
    }
    m_files = parser.positionalArguments();
    if (m_files.size() > 1) {
        m_files.clear();
        return Fail(program, tr("Zu viele Argumente: es kann nur eine Datei geöffnet werden."));
    }
    return Action::Start;
}

COrvaneCommandLine::Action COrvaneCommandLine::Fail(const QString& program, const QString& reason) {
    m_strError = QStringLiteral("%1: %2\n").arg(program, reason) +
                 tr("„%1 --help“ liefert weitere Informationen.").arg(program) + QLatin1Char('\n');
    m_nStatus = kUsageError;
    return Action::Exit;
}

COrvaneCommandLine::Action COrvaneCommandLine::CheckFiles() {
    // The texts first: loading the catalogue must not change their language.
    const QString catalogueLabel = tr("Englischer Katalog");
    const QString manualLabel = tr("Handbuch");
    const QString notFound = tr("nicht gefunden");
    const QString catalogue = CLanguage::LoadEnglish() ? CLanguage::EnglishCatalogue() : QString();
    const QStringList manuals = CProgramFiles::Find(QStringLiteral("*.pdf"));
    const QString manual = manuals.isEmpty() ? QString() : manuals.constFirst();
    for (const auto& [label, path] :
         {std::pair{catalogueLabel, catalogue}, std::pair{manualLabel, manual}}) {
        (path.isEmpty() ? m_strError : m_strOutput) +=
            QStringLiteral("%1: %2\n").arg(label, path.isEmpty() ? notFound : path);
    }
    m_nStatus = catalogue.isEmpty() || manual.isEmpty() ? 1 : 0;
    return Action::Exit;
}
