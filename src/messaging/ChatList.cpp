#include "messaging/ChatList.h"

namespace cv {

std::string& TChatList::Writable() {
    if (text_.use_count() > 1) {
        auto own = std::make_shared<std::string>();
        own->reserve(text_->capacity());
        own->assign(*text_);
        text_ = std::move(own);
    }
    return *text_;
}

void TChatList::Append(std::string_view line) {
    std::string& text = Writable();
    starts_.push_back(text.size());
    text.append(line);
    text.append("\r\n");
}

std::string_view TChatList::Line(std::size_t i) const {
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_->size();
    return std::string_view(*text_).substr(starts_[i], end - starts_[i] - 2);
}

void TChatList::Clear() {
    starts_.clear();
    if (text_.use_count() > 1) {
        text_ = std::make_shared<std::string>();
    } else {
        text_->clear();
    }
}

}  // namespace cv
