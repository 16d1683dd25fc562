// The received chat lines, oldest first (not sorted, equal lines kept), held
// as one growing buffer: the chat text itself, every line followed by CR LF,
// plus where each line starts. Appending a line costs the same however long
// the list is, and the host gets the text without it being rebuilt.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cv {

class TChatList {
public:
    void Append(std::string_view line);
    void Clear();
    std::size_t Count() const { return starts_.size(); }
    std::string_view Line(std::size_t i) const;
    // The chat text: each line and CR LF; empty for an empty list.
    const std::string& Text() const { return text_; }

private:
    std::vector<std::size_t> starts_;
    std::string text_;
};

}  // namespace cv
