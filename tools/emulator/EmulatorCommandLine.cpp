#include "tools/emulator/EmulatorCommandLine.h"

#include <algorithm>

namespace {

// Options that take a value.
const std::vector<std::string> kValueOptions{"--model",
                                             "--records",
                                             "--baud",
                                             "--progress-us",
                                             "--reset-ms",
                                             "--pause-ms",
                                             "--request-timeout-ms",
                                             "--link",
                                             "--log",
                                             "--fault"};

}  // namespace

std::string CEmulatorCommandLine::Usage(const std::string& program) {
    return "Usage: " + program +
           " [options]\n"
           "Answers like an Orvane reader on a pseudo-terminal. The first line on standard\n"
           "output is the port path to open. Runs until interrupted (SIGINT, SIGTERM).\n"
           "\n"
           "Options:\n"
           "  --model basic|extended    reader model (default basic)\n"
           "  --records N               records in the store at start (default 0)\n"
           "  --baud N                  pace the output like a line at N baud\n"
           "                            (default 0: as fast as possible)\n"
           "  --progress-us N           pause between progress bytes of the buffer clear\n"
           "                            and the memory test, in microseconds (default 2000)\n"
           "  --reset-ms N              delay of the answer to the parameter reset\n"
           "                            (default 1000)\n"
           "  --fault NAME              answer every request with this fault: none,\n"
           "                            no-answer, pause, wrong-echo, missing-end, garbage,\n"
           "                            hang-up (default none)\n"
           "  --pause-ms N              length of the pause of the fault \"pause\"\n"
           "                            (default 1500)\n"
           "  --request-timeout-ms N    drop an incomplete request after this much\n"
           "                            silence (default 200)\n"
           "  --link PATH               make a symbolic link PATH to the port; removed on exit\n"
           "  --log FILE                append the request log to FILE (default: standard\n"
           "                            error)\n"
           "  --help                    show this text\n"
           "  --version                 show the version\n"
           "\n"
           "Commands on standard input, one per line:\n"
           "  badge KEY     hold a badge with key number KEY (1 to 8 hex digits) to the reader\n"
           "  fault NAME    switch the fault for the following requests\n"
           "  hangup        close the line: the port sees a hang-up\n"
           "  status        show the reader's state\n"
           "  help          list these commands\n";
}

bool CEmulatorCommandLine::Parse(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            m_bHelp = true;
            continue;
        }
        if (arg == "--version") {
            m_bVersion = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        const std::size_t equals = arg.find('=');
        const bool inline_value = arg.rfind("--", 0) == 0 && equals != std::string::npos;
        if (inline_value) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if (std::find(kValueOptions.begin(), kValueOptions.end(), name) == kValueOptions.end()) {
            m_strError = "unknown option: " + arg;
            return false;
        }
        if (!inline_value) {
            if (i + 1 >= args.size()) {
                m_strError = "missing value for " + name;
                return false;
            }
            value = args[++i];
        }
        if (!Apply(name, value)) {
            return false;
        }
    }
    return true;
}

bool CEmulatorCommandLine::Number(const std::string& name, const std::string& value,
                                  unsigned long min, unsigned long max, unsigned long& result) {
    const bool digits =
        !value.empty() && value.size() <= 9 &&
        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits) {
        result = std::stoul(value);
        if (result >= min && result <= max) {
            return true;
        }
    }
    m_strError = "invalid value for " + name + ": \"" + value + "\" (expected " +
                 std::to_string(min) + " to " + std::to_string(max) + ")";
    return false;
}

bool CEmulatorCommandLine::Apply(const std::string& name, const std::string& value) {
    unsigned long number = 0;
    if (name == "--model") {
        if (value == "basic") {
            m_options.model = ReaderModel::Basic;
        } else if (value == "extended") {
            m_options.model = ReaderModel::Extended;
        } else {
            m_strError = "invalid model: \"" + value + "\" (expected basic or extended)";
            return false;
        }
    } else if (name == "--records") {
        if (!Number(name, value, 0, 1'000'000, number)) {
            return false;
        }
        m_options.seedRecords = static_cast<unsigned>(number);
    } else if (name == "--baud") {
        if (!Number(name, value, 0, 4'000'000, number)) {
            return false;
        }
        m_options.baudRate = static_cast<unsigned>(number);
    } else if (name == "--progress-us") {
        if (!Number(name, value, 0, 1'000'000, number)) {
            return false;
        }
        m_options.progressInterval = std::chrono::microseconds(number);
    } else if (name == "--reset-ms" || name == "--pause-ms") {
        if (!Number(name, value, 0, 60'000, number)) {
            return false;
        }
        (name == "--reset-ms" ? m_options.resetDelay : m_options.faultPause) =
            std::chrono::milliseconds(number);
    } else if (name == "--request-timeout-ms") {
        if (!Number(name, value, 1, 10'000, number)) {
            return false;
        }
        m_options.requestTimeout = std::chrono::milliseconds(number);
    } else if (name == "--link" || name == "--log") {
        if (value.empty()) {
            m_strError = "empty path for " + name;
            return false;
        }
        (name == "--link" ? m_options.linkPath : m_strLogPath) = value;
    } else if (name == "--fault") {
        if (!ParseFaultName(value, m_fault)) {
            m_strError = "unknown fault: \"" + value + "\"";
            return false;
        }
    }
    return true;
}
