#include "messaging/ChatList.h"

namespace cv {

void TChatList::Append(std::string_view line) {
    lines_.emplace_back(line);
    text_.append(line);
    text_.append("\r\n");
}

void TChatList::Clear() {
    lines_.clear();
    text_.clear();
}

}  // namespace cv
