#pragma once

class QString;
class QWidget;

// How the view lets the operator choose the interface, when the stored one
// does not open and for the "Schnittstelle" command: the shell installs its
// interface dialog at start-up, tests may install their own. Without one,
// the choice is cancelled.
class IInterfaceChoice {
public:
    virtual ~IInterfaceChoice() = default;
    // Shows the choice, saying why (empty: no reason to give); true once the
    // operator confirmed an interface, which is then the stored one.
    virtual bool ChooseInterface(QWidget* parent, const QString& reason) = 0;
};

// Installs choice (not owned); null restores the cancelling default.
void SetInterfaceChoice(IInterfaceChoice* choice);
// Asks the installed choice; false without one.
bool ChooseInterface(QWidget* parent, const QString& reason);
