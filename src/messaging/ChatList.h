// The received chat lines, oldest first (not sorted, equal lines kept), held
// as one growing buffer: the chat text itself, every line followed by CR LF,
// plus where each line starts. Appending a line costs the same however long
// the list is, and the host gets the text without it being rebuilt.
//
// The text handed to the host is a snapshot: while one is held, clearing or
// appending leaves its bytes alone and works on a buffer of its own, so host
// script run during the call cannot change what the host is reading.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cv {

class TChatList {
public:
    using Snapshot = std::shared_ptr<const std::string>;

    void Append(std::string_view line);
    void Clear();
    std::size_t Count() const { return starts_.size(); }
    std::string_view Line(std::size_t i) const;
    // The chat text: each line and CR LF; empty for an empty list.
    const std::string& Text() const { return *text_; }
    // The chat text as it is now, unchanged for as long as it is held.
    Snapshot Share() const { return text_; }

private:
    // The buffer to write to: the current one unless a snapshot holds it.
    std::string& Writable();

    std::vector<std::size_t> starts_;
    std::shared_ptr<std::string> text_ = std::make_shared<std::string>();
};

}  // namespace cv
