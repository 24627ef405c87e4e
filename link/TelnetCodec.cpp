#include "link/TelnetCodec.h"

namespace {

constexpr uint8_t kSe = 240;
constexpr uint8_t kSb = 250;
constexpr uint8_t kWill = 251;
constexpr uint8_t kWont = 252;
constexpr uint8_t kDo = 253;
constexpr uint8_t kDont = 254;

constexpr uint8_t kBinary = 0;
constexpr uint8_t kSuppressGoAhead = 3;
constexpr uint8_t kComPort = 44;

// The server's answers carry the command's code plus this.
constexpr uint8_t kServerOffset = 100;
// A subnegotiation longer than this is no COM port answer: the rest is dropped.
constexpr size_t kMaxSub = 64;

bool WeOffer(uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}

bool WeAccept(uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead;
}

}  // namespace

CTelnetCodec::CTelnetCodec() {
    m_us.fill(Side::No);
    m_them.fill(Side::No);
}

std::string CTelnetCodec::Greeting() {
    std::string greeting;
    for (const uint8_t option : {kComPort, kBinary, kSuppressGoAhead}) {
        m_us[option] = Side::WantYes;
        greeting += {static_cast<char>(kIac), static_cast<char>(kWill), static_cast<char>(option)};
    }
    for (const uint8_t option : {kBinary, kSuppressGoAhead}) {
        m_them[option] = Side::WantYes;
        greeting += {static_cast<char>(kIac), static_cast<char>(kDo), static_cast<char>(option)};
    }
    return greeting;
}

bool CTelnetCodec::ComPortAccepted() const {
    return m_us[kComPort] == Side::Yes;
}

void CTelnetCodec::Decode(const uint8_t* in, size_t size, std::vector<uint8_t>& data) {
    for (size_t i = 0; i < size; ++i) {
        const uint8_t byte = in[i];
        switch (m_state) {
            case State::Data:
                if (byte == kIac) {
                    m_state = State::Iac;
                } else {
                    data.push_back(byte);
                }
                break;
            case State::Iac:
                if (byte == kIac) {
                    data.push_back(kIac);
                    m_state = State::Data;
                } else if (byte >= kWill) {
                    m_verb = byte;
                    m_state = State::Verb;
                } else if (byte == kSb) {
                    m_sub.clear();
                    m_state = State::Sub;
                } else {
                    m_state = State::Data;  // NOP, data mark, break and the like
                }
                break;
            case State::Verb:
                HandleVerb(m_verb, byte);
                m_state = State::Data;
                break;
            case State::Sub:
                if (byte == kIac) {
                    m_state = State::SubIac;
                } else if (m_sub.size() < kMaxSub) {
                    m_sub.push_back(static_cast<char>(byte));
                }
                break;
            case State::SubIac:
                if (byte == kIac) {
                    if (m_sub.size() < kMaxSub) {
                        m_sub.push_back(static_cast<char>(kIac));
                    }
                    m_state = State::Sub;
                } else {
                    // IAC SE ends it; anything else after IAC ends it too.
                    if (byte == kSe) {
                        HandleSubnegotiation();
                    }
                    m_state = State::Data;
                }
                break;
        }
    }
}

void CTelnetCodec::Reply(uint8_t verb, uint8_t option) {
    m_replies += {static_cast<char>(kIac), static_cast<char>(verb), static_cast<char>(option)};
}

// A request for a state this side is in, or an answer to its own request,
// is not answered, so that the two sides never loop.
void CTelnetCodec::HandleVerb(uint8_t verb, uint8_t option) {
    Side& us = m_us[option];
    Side& them = m_them[option];
    switch (verb) {
        case kDo:
            if (us == Side::No) {
                if (WeOffer(option)) {
                    us = Side::Yes;
                    Reply(kWill, option);
                } else {
                    Reply(kWont, option);
                }
            } else {
                us = Side::Yes;
            }
            break;
        case kDont:
            if (option == kComPort) {
                m_bComPortRefused = true;
            }
            if (us == Side::Yes) {
                Reply(kWont, option);
            }
            us = Side::No;
            break;
        case kWill:
            if (them == Side::No) {
                if (WeAccept(option)) {
                    them = Side::Yes;
                    Reply(kDo, option);
                } else {
                    Reply(kDont, option);
                }
            } else {
                them = Side::Yes;
            }
            break;
        case kWont:
            if (them == Side::Yes) {
                Reply(kDont, option);
            }
            them = Side::No;
            break;
        default:
            break;
    }
}

void CTelnetCodec::HandleSubnegotiation() {
    if (m_sub.size() < 2 || static_cast<uint8_t>(m_sub[0]) != kComPort) {
        return;
    }
    const uint8_t code = static_cast<uint8_t>(m_sub[1]);
    if (code <= kServerOffset) {
        return;  // a client's command (a signature request): nothing this side offers
    }
    const uint8_t command = code - kServerOffset;
    const std::string value = m_sub.substr(2);
    if (command == kNotifyModemState) {
        m_modemState = value.empty() ? 0 : static_cast<uint8_t>(value[0]);
    } else if (command != kNotifyLineState) {
        m_answers[command] = value;
    }
}

std::string CTelnetCodec::TakeReplies() {
    std::string replies;
    replies.swap(m_replies);
    return replies;
}

std::string CTelnetCodec::Command(uint8_t command, const std::string& value) {
    std::string bytes = {static_cast<char>(kIac), static_cast<char>(kSb),
                         static_cast<char>(kComPort), static_cast<char>(command)};
    for (const char c : value) {
        bytes.push_back(c);
        if (static_cast<uint8_t>(c) == kIac) {
            bytes.push_back(c);
        }
    }
    bytes += {static_cast<char>(kIac), static_cast<char>(kSe)};
    return bytes;
}

std::string CTelnetCodec::Value32(uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

bool CTelnetCodec::Answer(uint8_t command, std::string& value) const {
    const auto it = m_answers.find(command);
    if (it == m_answers.end()) {
        return false;
    }
    value = it->second;
    return true;
}
