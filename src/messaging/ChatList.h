// The received chat lines, oldest first (not sorted, equal lines kept), with
// their text kept alongside as one growing buffer: every line followed by
// CR LF. Appending a line costs the same however long the list is.
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
    std::size_t Count() const { return lines_.size(); }
    const std::string& Line(std::size_t i) const { return lines_[i]; }
    // The chat text: each line and CR LF; empty for an empty list.
    const std::string& Text() const { return text_; }

private:
    std::vector<std::string> lines_;
    std::string text_;
};

}  // namespace cv
