#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The Telnet layer of a serial port reached with the COM port option:
// takes the server's byte stream apart into data and commands, answers the
// server's option requests, keeps the server's answers to the port
// settings, and doubles IAC (0xFF) in data going out. Pure byte handling,
// no socket: the network backend feeds it and sends what it produces.
class CTelnetCodec {
public:
    static constexpr uint8_t kIac = 0xFF;

    // Commands of the COM port option, as the client sends them; the server
    // answers each with the same code plus 100.
    enum ComPortCommand : uint8_t {
        kSetBaudRate = 1,
        kSetDataSize = 2,
        kSetParity = 3,
        kSetStopSize = 4,
        kSetControl = 5,
        kNotifyLineState = 6,
        kNotifyModemState = 7,
        kPurgeData = 12,
    };

    CTelnetCodec();

    // The opening requests: this side will speak the COM port option, and
    // both sides send binary data without waiting for go-aheads.
    std::string Greeting();

    // Appends the data bytes among in to data; commands are handled, and
    // the answers they need are queued for TakeReplies. A command may be
    // split across calls.
    void Decode(const uint8_t* in, size_t size, std::vector<uint8_t>& data);
    // The queued answers to the server's option requests, to be sent
    // between data bytes (never inside a doubled IAC).
    std::string TakeReplies();

    // One COM port option command, its value's IAC bytes doubled.
    static std::string Command(uint8_t command, const std::string& value);
    // A 32-bit value in network order, as SET-BAUDRATE takes it.
    static std::string Value32(uint32_t value);

    bool ComPortAccepted() const;
    bool ComPortRefused() const { return m_bComPortRefused; }

    // The server's last answer to a command, since it was forgotten.
    bool Answer(uint8_t command, std::string& value) const;
    void ForgetAnswers() { m_answers.clear(); }
    // The modem lines the server last reported (CTS 0x10, DSR 0x20, RI 0x40,
    // CD 0x80), 0 until it reports them.
    uint8_t ModemState() const { return m_modemState; }

private:
    // Per option and side: off, on, or asked for and not yet answered.
    enum class Side : uint8_t { No, Yes, WantYes };
    enum class State { Data, Iac, Verb, Sub, SubIac };

    void HandleVerb(uint8_t verb, uint8_t option);
    void HandleSubnegotiation();
    void Reply(uint8_t verb, uint8_t option);

    std::array<Side, 256> m_us{};    // options this side performs
    std::array<Side, 256> m_them{};  // options the server performs
    State m_state = State::Data;
    uint8_t m_verb = 0;
    std::string m_sub;  // the subnegotiation being received
    std::string m_replies;
    std::map<uint8_t, std::string> m_answers;
    uint8_t m_modemState = 0;
    bool m_bComPortRefused = false;
};
