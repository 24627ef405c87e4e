#include <gtest/gtest.h>

#include "common/Language.h"
#include "common/LinkTexts.h"

namespace {

CLinkFailure Denied(const char* owner, const char* group, unsigned mode, bool grants,
                    bool member = false, bool session = false) {
    CLinkFailure failure;
    failure.kind = LinkFailureKind::PermissionDenied;
    failure.port = "COM3";
    failure.device = "/dev/ttyUSB0";
    failure.owner = owner;
    failure.group = group;
    failure.mode = mode;
    failure.groupGrantsAccess = grants;
    failure.userName = "nobody";
    failure.userInGroup = member;
    failure.sessionInGroup = session;
    return failure;
}

CLinkFailure Busy(int pid, const char* name, bool locks) {
    CLinkFailure failure;
    failure.kind = LinkFailureKind::InUse;
    failure.port = "COM3";
    failure.device = "/dev/ttyUSB0";
    failure.holderPid = pid;
    failure.holderName = name;
    failure.holderLocks = locks;
    return failure;
}

// Why a port did not open, as the operator reads it: the advice must be one
// that helps, and names come through as plain text.
TEST(LinkTexts, EachReasonGivesAdviceThatHelps) {
    const QString udev = QString::fromUtf8(
        "Kein Zugriff auf COM3 (/dev/ttyUSB0): Das Gerät (%1, Rechte %2) gibt keiner "
        "Benutzergruppe Lese- und Schreibrecht. Abhilfe: eine udev-Regel, die ihm eine Gruppe "
        "wie „dialout“ und die Rechte 660 gibt (Handbuch, Abschnitt 3.4).");
    const struct {
        CLinkFailure failure;
        QString text;
    } cases[] = {
        // Neither the root group nor a group without read and write access is a remedy.
        {Denied("root", "root", 0600, false), udev.arg("root:root", "600")},
        {Denied("root", "dialout", 0600, false), udev.arg("root:dialout", "600")},
        {Denied("root", "root", 0660, false), udev.arg("root:root", "660")},
        {Denied("root", "dialout", 0660, true),
         QString::fromUtf8("Kein Zugriff auf COM3 (/dev/ttyUSB0): Das Gerät gehört der Gruppe "
                           "„dialout“, und der Benutzer nobody ist nicht in dieser Gruppe. "
                           "Abhilfe: sudo usermod -aG dialout nobody, danach neu anmelden.")},
        {Denied("root", "dialout", 0660, true, true),
         QString::fromUtf8("Kein Zugriff auf COM3 (/dev/ttyUSB0): Der Benutzer nobody ist in der "
                           "Gruppe „dialout“, diese Sitzung aber noch nicht. Bitte ab- und wieder "
                           "anmelden.")},
        // The holder of the lock keeps others out; a program that only has it open is named as
        // such.
        {Busy(4711, "minicom", true),
         "COM3 (/dev/ttyUSB0) ist von einem anderen Programm belegt: minicom (PID 4711)"},
        {Busy(99, "ser2net", false),
         "COM3 (/dev/ttyUSB0) ist von einem anderen Programm belegt; geöffnet hat es ser2net "
         "(PID 99)."},
        {Busy(0, "", false), "COM3 (/dev/ttyUSB0) ist von einem anderen Programm belegt."},
        // A process name steers no terminal.
        {Busy(7, "x\x1b]0;owned\x07\u202e", true),
         QString::fromUtf8("COM3 (/dev/ttyUSB0) ist von einem anderen Programm belegt: "
                           "x\uFFFD]0;owned\uFFFD\uFFFD (PID 7)")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LinkTexts::Failure(c.failure), c.text);
    }
    ASSERT_TRUE(CLanguage::LoadEnglish());
    EXPECT_EQ(LinkTexts::Failure(Denied("root", "root", 0600, false)),
              "No access to COM3 (/dev/ttyUSB0): the device (root:root, mode 600) grants no user "
              "group read and write access. Remedy: a udev rule that gives it a group such as "
              "\"dialout\" and mode 660 (manual, section 3.4).");
    CLanguage::UnloadEnglish();
}

TEST(LinkTexts, FactsNameWhoHoldsAndWhoHasItOpenWithoutControlCharacters) {
    CPortFacts facts;
    facts.usb = {"Evil\r\nCorp", "<b>UART</b>", "", "", ""};
    facts.holder = {4711, "minicom", true};
    facts.others = {{99, "ser2net", false}};
    EXPECT_EQ(LinkTexts::Facts(facts),
              QString::fromUtf8("USB: Evil\uFFFD\uFFFDCorp <b>UART</b>\nbelegt von minicom (PID "
                                "4711)\ngeöffnet von ser2net (PID 99)"));
}

}  // namespace
