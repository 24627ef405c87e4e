#include "protocol/JudgedReply.h"

#include <algorithm>

std::string CJudgedReply::TakeText() const {
    m_bTextTaken = true;
    return std::string(m_bytes.begin(), std::find(m_bytes.begin(), m_bytes.end(), uint8_t{0}));
}
