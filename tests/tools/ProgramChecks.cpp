#include "ProgramChecks.h"

#include "protocol/ReplyJudgement.h"

namespace checks {

namespace {

CReplyJudgement::Bytes Bytes(const std::string& raw, std::size_t seen = std::string::npos) {
    const std::string part = raw.substr(0, seen);
    return CReplyJudgement::Bytes(part.begin(), part.end());
}

}  // namespace

bool ClockRead(const std::string& raw) {
    std::string text;
    return CReplyJudgement::ReadClock(Bytes(raw), text);
}

bool ClockSet(const std::string& raw, const std::string& digits) {
    return CReplyJudgement::SetClock(Bytes(raw), digits);
}

bool RecordsRead(const std::string& raw) {
    std::string text;
    return CReplyJudgement::ReadRecords(Bytes(raw), text);
}

bool ProgressDone(const std::string& raw) {
    return CReplyJudgement::ClearBuffer(Bytes(raw)) && CReplyJudgement::MemoryTest(Bytes(raw));
}

bool ParametersRead(const std::string& raw) {
    std::string text;
    return CReplyJudgement::ReadParameters(Bytes(raw), text);
}

bool IdSet(const std::string& raw, const std::string& id) {
    return CReplyJudgement::SetId(Bytes(raw), id);
}

bool DigitSet(const std::string& raw, const std::string& prefix, const std::string& digit) {
    if (prefix == "M:") {
        return CReplyJudgement::SetMode(Bytes(raw), digit);
    }
    if (prefix == "F:") {
        return CReplyJudgement::SetNumberFormat(Bytes(raw), digit);
    }
    return prefix == "U:" && CReplyJudgement::SetTimeFormat(Bytes(raw), digit);
}

bool TimingSet(const std::string& raw, const std::string& prefix, const std::string& value) {
    return CReplyJudgement::SetTimingValue(Bytes(raw), prefix, value);
}

bool ResetDone(const std::string& raw) {
    return CReplyJudgement::ResetParameters(Bytes(raw, 20));
}

bool KeysRead(const std::string& raw, std::string& keys) {
    return CReplyJudgement::ReadKeys(Bytes(raw), keys);
}

bool KeysWritten(const std::string& raw) {
    return CReplyJudgement::WriteKeys(Bytes(raw, 4));
}

}  // namespace checks
