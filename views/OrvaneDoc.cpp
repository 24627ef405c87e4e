#include "views/OrvaneDoc.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSaveFile>

#include "common/ResourceIds.h"
#include "common/SettingsStore.h"
#include "common/Strings.h"
#include "views/MessageBox.h"
#include "views/OrvaneView.h"

COrvaneDoc::COrvaneDoc(QObject* parent)
    : QObject(parent), m_strTitle(LoadString(Res::IDS_UNTITLED)) {}

QString COrvaneDoc::GetTitle() const {
    return m_strPathName.isEmpty() ? LoadString(Res::IDS_UNTITLED) : m_strTitle;
}

bool COrvaneDoc::OnNewDocument() {
    m_strPathName.clear();
    m_strTitle = LoadString(Res::IDS_UNTITLED);
    if (m_pView != nullptr) {
        m_pView->SetTranscriptBytes(QByteArray());
    }
    m_bModified = false;
    emit TitleChanged();
    return true;
}

bool COrvaneDoc::OnOpenDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        RefuseOpen(path, OpenFailureReason(path, file));
        return false;
    }
    if (file.size() > COrvaneView::kMaxLength) {
        // A file larger than the transcript can hold is refused rather than
        // shown in part, so that saving it again cannot cut it short.
        RefuseOpen(path, tr("Die Datei ist größer als die %L1 Zeichen, die das Protokoll fasst.")
                             .arg(COrvaneView::kMaxLength));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        RefuseOpen(path, file.errorString());
        return false;
    }
    if (m_pView != nullptr) {
        m_pView->SetTranscriptBytes(bytes);
    }
    SetPathName(path);
    m_bModified = false;
    return true;
}

bool COrvaneDoc::OnSaveDocument(const QString& path) {
    const QByteArray bytes = m_pView != nullptr ? m_pView->TranscriptBytes() : QByteArray();
    // The new text goes to a temporary file that replaces the old one only
    // when everything was written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ShowMessage(Res::IDP_FAILED_TO_SAVE_DOC, MsgStyle::OkExclamation, DialogParent());
        return false;
    }
    m_bModified = false;
    return true;
}

bool COrvaneDoc::DoFileSave() {
    const QFileInfo info(m_strPathName);
    if (m_strPathName.isEmpty() || (info.exists() && !info.isWritable())) {
        return DoSave(QString());
    }
    return DoSave(m_strPathName);
}

bool COrvaneDoc::DoSave(const QString& path) {
    QString target = path;
    if (target.isEmpty()) {
        QFileDialog dialog(DialogParent());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(FileFilter());
        dialog.setDefaultSuffix(QStringLiteral("txt"));
        dialog.selectFile(m_strPathName.isEmpty() ? ProposedPath() : m_strPathName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return false;
        }
        target = dialog.selectedFiles().constFirst();
    }
    if (!OnSaveDocument(target)) {
        return false;
    }
    SetPathName(target);
    return true;
}

bool COrvaneDoc::SaveModified() {
    if (!m_bModified) {
        return true;
    }
    QMessageBox box(DialogParent());
    box.setWindowTitle(QStringLiteral("Orvane"));
    box.setIcon(QMessageBox::Question);
    box.setText(LoadString(Res::IDP_ASK_TO_SAVE).arg(GetTitle()));
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return DoFileSave();
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

QString COrvaneDoc::FileFilter() {
    return tr("Textdatei (*.txt)");
}

void COrvaneDoc::ForgetPathName() {
    if (m_strPathName.isEmpty()) {
        return;
    }
    m_strPathName.clear();
    m_strTitle = LoadString(Res::IDS_UNTITLED);
    emit TitleChanged();
}

QString COrvaneDoc::ProposedPath() const {
    QString name = QStringLiteral("Orvane_") + QDate::currentDate().toString(Qt::ISODate);
    if (m_pView != nullptr) {
        // "COM40", also from "\\.\COM40 [description]"; an adapter's serial number.
        QString port = m_pView->m_strPortName.section(QLatin1Char(' '), 0, 0);
        port.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")));
        if (!port.isEmpty()) {
            name += QLatin1Char('_') + port;
        }
    }
    name += QStringLiteral(".txt");
    // The folder of this session's last file, else that of the newest recent file.
    QString folder = m_strLastFolder;
    if (folder.isEmpty()) {
        const QString recent = CSettingsStore::GetProfileString(QStringLiteral("Recent File List"),
                                                                QStringLiteral("File1"));
        if (!recent.isEmpty()) {
            folder = QFileInfo(recent).absolutePath();
        }
    }
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

void COrvaneDoc::SetPathName(const QString& path) {
    m_strPathName = QFileInfo(path).absoluteFilePath();
    m_strLastFolder = QFileInfo(path).absolutePath();
    m_strTitle = QFileInfo(path).fileName();
    emit TitleChanged();
    emit PathUsed(m_strPathName);
}

QString COrvaneDoc::OpenFailureReason(const QString& path, const QFile& file) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return tr("Die Datei ist nicht vorhanden.");
    }
    if (info.isDir()) {
        return tr("Das ist ein Ordner, keine Datei.");
    }
    if (!info.isReadable()) {
        return tr("Die Datei darf nicht gelesen werden (keine Leserechte).");
    }
    // Anything else in the system's words.
    return file.errorString();
}

void COrvaneDoc::RefuseOpen(const QString& path, const QString& reason) {
    ShowMessage(LoadString(Res::IDP_FAILED_TO_OPEN_DOC) + QStringLiteral("\n\n") +
                    QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) +
                    QLatin1Char('\n') + reason,
                MsgStyle::OkExclamation, DialogParent());
}

QWidget* COrvaneDoc::DialogParent() const {
    return m_pView != nullptr ? m_pView->window() : nullptr;
}
