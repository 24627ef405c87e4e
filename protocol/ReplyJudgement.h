#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/JudgedReply.h"

// The verdicts on the reader's answers, one per command, taken on the raw
// reply (every byte received since the request). Where a command has an out
// text it is the reply text: the bytes up to the first zero byte. A command
// takes the text only where it gets past its raw-length test. Arguments are
// the ones the request carried. Also the framing of key lists.
class CReplyJudgement {
public:
    using Bytes = std::vector<uint8_t>;

    // The bytes up to the first zero byte, as text.
    static std::string Text(const Bytes& reply);

    // At least 16 bytes; text is the reply text without line ends.
    static bool ReadClock(const CJudgedReply& reply, std::string& text);
    // At least 16 bytes whose text, without separators and line ends, starts with digits.
    static bool SetClock(const CJudgedReply& reply, const std::string& digits);
    // The text (always written) ends with "END\r\n".
    static bool ReadRecords(const CJudgedReply& reply, std::string& text);
    // Progress bytes, then "OK" and two more bytes.
    static bool ClearBuffer(const CJudgedReply& reply);
    static bool MemoryTest(const CJudgedReply& reply);
    // The text (always written) is longer than 16 characters.
    static bool ReadParameters(const CJudgedReply& reply, std::string& text);

    // The reader echoes its prefix and the value it took.
    static bool SetId(const CJudgedReply& reply, const std::string& id);
    static bool SetMode(const CJudgedReply& reply, const std::string& digit);
    static bool SetNumberFormat(const CJudgedReply& reply, const std::string& digit);
    static bool SetTimeFormat(const CJudgedReply& reply, const std::string& digit);
    static bool SetTimingValue(const CJudgedReply& reply, const std::string& prefix,
                               const std::string& value);
    // The factory timing values appear in the reply.
    static bool ResetParameters(const CJudgedReply& reply);
    // The text (always written) is the key list without its frame; true when
    // both frame parts were there.
    static bool ReadKeys(const CJudgedReply& reply, std::string& text);
    // The reply is "OK" between line ends.
    static bool WriteKeys(const CJudgedReply& reply);

    // The write request for a key list: its trailing line ends removed, framed
    // by a "W" line and a closing line "X".
    static std::string KeyListRequest(std::string keyList);
    // Removes every "S\r\n" line and then every "X" from text; true if both were found.
    static bool UnframeKeyList(std::string& text);

private:
    // The ID/mode/format family: raw length, prefix, and the argument compared
    // with a fixed-size tail of the text.
    static bool SetEchoed(const CJudgedReply& reply, const std::string& arg, size_t minRaw,
                          const std::string& prefix, size_t tailLength);
    static bool EndsWithOk(const CJudgedReply& reply);
};
