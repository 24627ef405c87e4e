#pragma once

#include <QString>
#include <QStringList>

#include <chrono>

#include "common/ProgramFiles.h"

class QWidget;

// The name (without folder) of the first file in `directory` whose name ends in
// "." + `extension`, ignoring case; "first" is the first in name order,
// ignoring case. Folders do not count. Empty when there is none.
QString FindFileByExtension(const QString& directory, const QString& extension);

// How long the help waits for xdg-open to hand the manual over.
inline constexpr std::chrono::milliseconds kManualOpenWait{10000};

// The English manual's file name. It sorts after the German manual
// "Orvane-Handbuch.pdf", which stays the first PDF in the folder.
inline constexpr char kEnglishManualName[] = "Orvane-Manual.pdf";

// The manual for the interface's language: in English the English manual
// from the first folder that holds one; in German, and in English without
// it, the first PDF file in the first folder that holds one. Empty when
// there is none.
QString FindManual(bool english, const QStringList& folders);

// Opens the manual of the language in force from the program's file folders
// (CProgramFiles: the executable's folder, then the installed data folder),
// with the desktop's program for PDF files. Without a PDF nothing happens.
void ShowManual(QWidget* owner);

// The same for the first PDF file in `directory`, waiting at most `wait` for
// xdg-open to finish. Failures are reported in a message box: xdg-open not
// startable (10019), no program for PDF files (10018, with the manual's path),
// any other failure (10020 with xdg-open's exit status). Does nothing while a
// reader command runs or an xdg-open started earlier still runs.
void OpenManualIn(const QString& directory, QWidget* owner,
                  std::chrono::milliseconds wait = kManualOpenWait);
// The same for the PDF file at `path`.
void OpenManualFile(const QString& path, QWidget* owner,
                    std::chrono::milliseconds wait = kManualOpenWait);
