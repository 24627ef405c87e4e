// The Telnet layer of a network link, on whatever a server sends: the data
// and the answers do not depend on where the stream is cut into pieces, and
// data with its IAC bytes doubled comes out as it went in, without answers.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "link/TelnetCodec.h"

namespace {

struct Decoded {
    std::vector<uint8_t> data;
    std::string replies;
};

Decoded Decode(const uint8_t* bytes, size_t size, size_t cut) {
    CTelnetCodec codec;
    codec.Greeting();
    Decoded decoded;
    codec.Decode(bytes, cut, decoded.data);
    codec.Decode(bytes + cut, size - cut, decoded.data);
    decoded.replies = codec.TakeReplies();
    return decoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t* stream = data + 1;
    const size_t length = size - 1;
    const Decoded whole = Decode(stream, length, 0);
    const Decoded cut = Decode(stream, length, length == 0 ? 0 : data[0] % (length + 1));
    FuzzCheck(whole.data == cut.data && whole.replies == cut.replies);
    FuzzCheck(whole.data.size() <= length);

    std::vector<uint8_t> doubled;
    for (size_t i = 0; i < length; ++i) {
        doubled.push_back(stream[i]);
        if (stream[i] == CTelnetCodec::kIac) {
            doubled.push_back(CTelnetCodec::kIac);
        }
    }
    const Decoded plain = Decode(doubled.data(), doubled.size(), doubled.size() / 2);
    FuzzCheck(plain.data == std::vector<uint8_t>(stream, stream + length));
    FuzzCheck(plain.replies.empty());
    return 0;
}
