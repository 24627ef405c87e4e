#include "tools/emulator/RequestLog.h"

#include <time.h>

#include <chrono>

CRequestLog::~CRequestLog() {
    if (m_bOwned && m_pFile != nullptr) {
        std::fclose(m_pFile);
    }
}

bool CRequestLog::Open(const std::string& path) {
    std::lock_guard lock(m_mutex);
    if (path.empty()) {
        m_pFile = stderr;
        m_bOwned = false;
        return true;
    }
    std::FILE* file = std::fopen(path.c_str(), "ae");
    if (file == nullptr) {
        return false;
    }
    if (m_bOwned && m_pFile != nullptr) {
        std::fclose(m_pFile);
    }
    m_pFile = file;
    m_bOwned = true;
    return true;
}

void CRequestLog::Write(const std::string& text) {
    using namespace std::chrono;
    const system_clock::time_point now = system_clock::now();
    const time_t seconds = system_clock::to_time_t(now);
    tm local{};
    localtime_r(&seconds, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::lock_guard lock(m_mutex);
    if (m_pFile == nullptr) {
        return;
    }
    std::fprintf(m_pFile, "%02d:%02d:%02d.%03d %s\n", local.tm_hour, local.tm_min, local.tm_sec,
                 static_cast<int>(ms), text.c_str());
    std::fflush(m_pFile);
}

std::string CRequestLog::Escape(const std::string& bytes) {
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '<') {
            text += c;
        } else {
            text += '<';
            text += kHex[b >> 4];
            text += kHex[b & 0x0F];
            text += '>';
        }
    }
    return text;
}

std::string CRequestLog::Describe(const std::string& request) {
    if (request.empty()) {
        return "nothing";
    }
    if (static_cast<unsigned char>(request[0]) == 0xC8) {
        return "memory test";
    }
    switch (request[0]) {
        case 'R':
            return "read clock";
        case 'S':
            return "set clock";
        case 'L':
            return "read records";
        case 'C':
            return "clear buffer";
        case 'P':
            return "read parameters";
        case 'I':
            return "set ID";
        case 'M':
            return "set mode";
        case 'F':
            return "set number format";
        case 'U':
            return "set time format";
        case 'H':
            return "set hold time";
        case 'Z':
            return "set opening time";
        case 'V':
            return "set delay time";
        case 'D':
            return "reset parameters";
        case 'K':
            return "read keys";
        case 'W':
            return "write keys";
        case 'T':
            return "Teach IN on";
        case 'X':
            return "Teach IN off";
        default:
            return "unknown";
    }
}

std::string CRequestLog::RequestText(const std::string& bytes, bool complete) {
    if (!complete) {
        return "incomplete request dropped \"" + Escape(bytes) + "\"";
    }
    return "request \"" + Escape(bytes) + "\" (" + Describe(bytes) + ")";
}
