#include "messaging/ChatList.h"

namespace cv {

void TChatList::Append(std::string_view line) {
    starts_.push_back(text_.size());
    text_.append(line);
    text_.append("\r\n");
}

std::string_view TChatList::Line(std::size_t i) const {
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_.size();
    return std::string_view(text_).substr(starts_[i], end - starts_[i] - 2);
}

void TChatList::Clear() {
    starts_.clear();
    text_.clear();
}

}  // namespace cv
