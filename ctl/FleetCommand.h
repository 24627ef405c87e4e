#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QStringList>

#include <vector>

#include "ctl/CtlCommandLine.h"
#include "ctl/CtlExit.h"

class CHeadlessUserInterface;

// One command for every reader of a --readers list, each on a thread of its
// own with a link of its own, at most --jobs at once. Every line a reader's
// command writes carries the reader's name; --json gives one array of the
// readers' results. collect writes into one folder, locked once for the
// whole run; a reader that fails is never cleared and stops no other. A
// signal ends every reader's wait, and readers not yet started are not
// contacted. The exit status is the highest of the readers' statuses
// (6 interrupted, 5 a file, 4 a reader, 3 no link), and a summary line says
// how many succeeded.
class CFleetCommand {
    Q_DECLARE_TR_FUNCTIONS(CFleetCommand)
public:
    CFleetCommand(const CCtlRequest& request, CHeadlessUserInterface& ui);
    CtlExit Run();

    // The worst of two statuses: the higher one.
    static CtlExit Worst(CtlExit a, CtlExit b);

private:
    struct Result {
        CtlExit status = CtlExit::Done;
        QJsonObject json;  // the command's --json output; empty when it gave none
        QStringList messages;
    };
    class Output;

    // The request of reader `index`: its link, the list's command.
    CCtlRequest ReaderRequest(size_t index) const;
    void Summary(const std::vector<Result>& results) const;

    const CCtlRequest& m_request;
    CHeadlessUserInterface& m_ui;
};
