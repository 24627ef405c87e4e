#include "CtlTestSupport.h"

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ctl/CollectCommand.h"
#include "ctl/CtlCommandLine.h"
#include "ctl/CtlLink.h"
#include "ctl/HeadlessUserInterface.h"

using namespace std::chrono_literals;

EmulatorOptions OrvaneCtl::Options() {
    EmulatorOptions options;
    options.model = ReaderModel::Extended;
    options.seedRecords = kRecords;
    options.progressInterval = 0us;
    options.resetDelay = 50ms;
    return options;
}

void OrvaneCtl::SetUp() {
    char pattern[] = "/tmp/orvanectl-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    m_strScratch = pattern;
    ::mkdir(Scratch("config").c_str(), 0700);
    ::mkdir(Scratch("runtime").c_str(), 0700);
    ASSERT_TRUE(m_emulator.Start());
}

void OrvaneCtl::TearDown() {
    m_emulator.Stop();
    std::error_code ignored;
    std::filesystem::permissions(Scratch("out"), std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_strScratch, ignored);
}

OrvaneCtl::Result OrvaneCtl::Run(std::vector<std::string> args, CChildProcess::Options options,
                                 bool withPort) {
    args.insert(args.begin(), CChildProcess::Beside("orvanectl"));
    if (withPort) {
        // Long enough that a loaded machine does not end a reply early.
        for (const std::string& arg : {std::string("--port"), m_emulator.PortPath(),
                                       std::string("--timeout"), std::string("250")}) {
            args.push_back(arg);
        }
    }
    // C messages from the system, so that errno texts are the same everywhere.
    for (const std::string& entry :
         {"XDG_CONFIG_HOME=" + Scratch("config"), "XDG_RUNTIME_DIR=" + Scratch("runtime"),
          std::string("LC_ALL=C.UTF-8")}) {
        options.environment.push_back(entry);
    }
    options.captureErrors = true;
    Result result;
    CChildProcess program;
    EXPECT_TRUE(program.Start(args, options));
    m_running = program.Pid();
    EXPECT_TRUE(program.Finish(result.out, result.err, result.status));
    m_running = 0;
    return result;
}

OrvaneCtl::Result OrvaneCtl::Collect(std::vector<std::string> args,
                                     const std::function<void(CCtlLink&)>& arm) {
    QStringList arguments{QStringLiteral("orvanectl"), QStringLiteral("collect")};
    for (const std::string& arg : args) {
        arguments << QString::fromStdString(arg);
    }
    arguments << QStringLiteral("--port") << QString::fromStdString(m_emulator.PortPath())
              << QStringLiteral("--timeout") << QStringLiteral("250");
    CCtlCommandLine commandLine;
    Result result;
    if (commandLine.Parse(arguments) != CCtlCommandLine::Action::Run) {
        return result;
    }
    ::setenv("XDG_CONFIG_HOME", Scratch("config").c_str(), 1);
    CHeadlessUserInterface ui;
    CCtlLink link(commandLine.Request());
    arm(link);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    result.status = static_cast<int>(CCollectCommand(commandLine.Request(), ui).Run(link));
    result.out = testing::internal::GetCapturedStdout();
    result.err = testing::internal::GetCapturedStderr();
    return result;
}

void OrvaneCtl::StoreSettings(const std::string& text) {
    const std::string folder = Scratch("config/Meridel Applikationen");
    ::mkdir(folder.c_str(), 0700);
    WriteFile(folder + "/Orvane.conf", text);
}

std::size_t OrvaneCtl::Sent(char command) const {
    const std::vector<std::string> requests = m_emulator.Requests();
    return static_cast<std::size_t>(std::count_if(
        requests.begin(), requests.end(),
        [command](const std::string& request) { return request.front() == command; }));
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> FolderNames(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}
