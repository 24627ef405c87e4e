#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "tools/emulator/ReaderEmulator.h"

class CCtlLink;

// Runs orvanectl against an extended emulated reader with 20 records, with
// throw-away settings (German, nothing stored) in a scratch folder.
class OrvaneCtl : public ::testing::Test {
protected:
    static constexpr std::size_t kRecords = 20;

    struct Result {
        int status = -1;
        std::string out;
        std::string err;
    };

    void SetUp() override;
    void TearDown() override;

    // orvanectl with these arguments (and the emulator's port unless
    // withPort is false), to its end.
    Result Run(std::vector<std::string> args, CChildProcess::Options options = {},
               bool withPort = true);
    // "collect" with these arguments in this process; `arm` gets its link
    // before it opens.
    Result Collect(std::vector<std::string> args, const std::function<void(CCtlLink&)>& arm);
    // Writes the settings file that the window would have written.
    void StoreSettings(const std::string& text);
    // The requests of the emulator that begin with `command`.
    std::size_t Sent(char command) const;
    std::string Scratch(const std::string& name) const { return m_strScratch + "/" + name; }

    CReaderEmulator m_emulator{Options()};
    std::atomic<pid_t> m_running{0};  // the orvanectl that Run waits for

private:
    static EmulatorOptions Options();
    std::string m_strScratch;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
// The names in a folder, sorted, "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& path);
