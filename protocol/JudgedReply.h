#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A reply as a command judges it: its raw bytes, and its reply text (the
// bytes up to the first zero byte). Taking the text is noted: the reply
// buffer then holds the text's terminating zero byte as well, so that a byte
// arriving after the judgement continues that reply.
class CJudgedReply {
public:
    // Implicit, so that any byte vector can be judged as it is.
    CJudgedReply(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}

    size_t RawLength() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Raw() const { return m_bytes; }
    std::string TakeText() const;
    bool TextTaken() const { return m_bTextTaken; }

private:
    const std::vector<uint8_t>& m_bytes;
    mutable bool m_bTextTaken = false;
};
