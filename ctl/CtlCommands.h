#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>

#include "ctl/CtlCommandLine.h"
#include "ctl/CtlExit.h"

class CCtlLink;
class CHeadlessUserInterface;
class COverlayDeviceEntries;

// orvanectl's commands: each opens the link as the window does, runs the
// reader operation the window's command runs, and reports the outcome with
// the window's messages: results on standard output, failures on standard
// error, and the exit status.
class CCtlCommands {
    Q_DECLARE_TR_FUNCTIONS(CCtlCommands)
public:
    // shared: the entries of a list's reader (see CCtlLink); null for one reader.
    CCtlCommands(const CCtlRequest& request, CHeadlessUserInterface& ui,
                 COverlayDeviceEntries* shared = nullptr);
    CtlExit Run();

private:
    CtlExit Ports();
    CtlExit Records(CCtlLink& link);
    CtlExit Clock(CCtlLink& link);
    CtlExit Parameters(CCtlLink& link);
    CtlExit Set(CCtlLink& link);
    CtlExit Reset(CCtlLink& link);
    CtlExit Keys(CCtlLink& link);
    CtlExit WriteKeys(CCtlLink& link);
    // Reads and checks the key file before the link opens: a line that is
    // no key number, or a list that would erase every key without --yes,
    // is refused.
    CtlExit LoadKeyList();
    // Buffer clear or memory test, with the window's progress range.
    CtlExit Maintain(CCtlLink& link, bool memoryTest);

    // The extended model's commands: Done for the extended model; otherwise
    // the status after saying why (the basic model, or no report).
    CtlExit RequireExtended(CCtlLink& link);
    // The outcome of a command the reader confirms: okId on standard output,
    // or why it failed (errorId when nothing tells more) on standard error.
    static CtlExit Report(CCtlLink& link, bool ok, unsigned okId, unsigned errorId);
    static CtlExit Failed(CCtlLink& link, unsigned errorId);

    const CCtlRequest& m_request;
    CHeadlessUserInterface& m_ui;
    COverlayDeviceEntries* m_pShared;
    std::string m_strKeyList;  // keys --write: the checked list, CR LF line ends
};
