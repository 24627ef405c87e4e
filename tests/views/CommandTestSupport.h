#pragma once

#include <gtest/gtest.h>

#include <QString>

#include <memory>

#include "DialogTestSupport.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

// A view whose link is opened the program's way (OpenLink from the stored
// "Port" settings) on an emulated reader mapped as COM40, with a settings
// store of its own and a short reply time-out.
class CommandTest : public ::testing::Test {
protected:
    explicit CommandTest(ReaderModel model = ReaderModel::Basic, unsigned records = 0);

    void SetUp() override;
    void TearDown() override;

    // Runs a command handler while the script drives its dialogs and messages.
    void Run(void (COrvaneView::*handler)(), CModalScript& script);

    CReaderEmulator& Emulator() { return m_reader.m_emulator; }
    std::vector<std::string> Requests() const { return m_reader.Requests(); }
    // The transcript as file bytes (CR LF line ends), everything received so far included.
    QString Transcript();
    bool HookIsDisplay() const;
    // The state of the busy guard: view disabled, busy cursor up.
    bool Busy() const;

    ReaderModel m_model;
    CTestUserInterfaceScope m_ui;
    CTempSettings m_settings;
    CEmulatedReader m_reader;
    COrvaneDoc m_doc;
    std::unique_ptr<COrvaneView> m_view;
};

class ExtendedCommandTest : public CommandTest {
protected:
    ExtendedCommandTest() : CommandTest(ReaderModel::Extended) {}
};
