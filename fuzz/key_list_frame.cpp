// Key list framing: the write request carries the list between its frame
// lines, and a reader list without frame characters comes back unchanged.
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "protocol/ReplyJudgement.h"

namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string list(reinterpret_cast<const char*>(data), size);

    // The request: "W\r\n", the list without its trailing line ends, "\r\nX".
    const std::string request = CReplyJudgement::KeyListRequest(list);
    FuzzCheck(request.size() >= 6 && request.starts_with("W\r\n") && request.ends_with("\r\nX"));
    const std::string body = request.substr(3, request.size() - 6);
    FuzzCheck(list.starts_with(body));
    FuzzCheck(body.empty() || !IsLineEnd(body.back()));
    for (size_t i = body.size(); i < list.size(); ++i) {
        FuzzCheck(IsLineEnd(list[i]));
    }

    // Removing the frame leaves no frame character and never adds text.
    std::string text = list;
    const bool framed = CReplyJudgement::UnframeKeyList(text);
    FuzzCheck(text.find('X') == std::string::npos && text.size() <= list.size());
    FuzzCheck(!framed ||
              (list.find("S\r\n") != std::string::npos && list.find('X') != std::string::npos));
    if (list.find('X') == std::string::npos && list.find("S\r\n") == std::string::npos) {
        FuzzCheck(!framed && text == list);
        // The reader's frame around such a list is removed exactly.
        std::string reply = "S\r\n" + list + "X";
        FuzzCheck(CReplyJudgement::UnframeKeyList(reply) && reply == list);
    }
    return 0;
}
