#pragma once

#include <QString>

#include <chrono>

#include "common/ProgramFiles.h"

class QWidget;

// The name (without folder) of the first file in `directory` whose name ends in
// "." + `extension`, ignoring case; "first" is the first in name order,
// ignoring case. Folders do not count. Empty when there is none.
QString FindFileByExtension(const QString& directory, const QString& extension);

// How long the help waits for xdg-open to hand the manual over.
inline constexpr std::chrono::milliseconds kManualOpenWait{10000};

// Opens the manual, the first PDF file in the first of the program's file
// folders that holds one (CProgramFiles: the executable's folder, then the
// installed data folder), with the desktop's program for PDF files. Without a
// PDF nothing happens.
void ShowManual(QWidget* owner);

// The same for the first PDF file in `directory`, waiting at most `wait` for
// xdg-open to finish. Failures are reported in a message box: xdg-open not
// startable (10019), no program for PDF files (10018, with the manual's path),
// any other failure (10020 with xdg-open's exit status). Does nothing while a
// reader command runs or an xdg-open started earlier still runs.
void OpenManualIn(const QString& directory, QWidget* owner,
                  std::chrono::milliseconds wait = kManualOpenWait);
