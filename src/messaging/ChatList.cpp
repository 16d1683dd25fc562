#include "messaging/ChatList.h"

namespace cv {
namespace {
// Both buffers live on the heap from the start, so that moving or swapping
// them never moves their bytes (a short text kept inside the string object
// itself would move).
constexpr std::size_t kInitialCapacity = 256;
}  // namespace

TChatList::TChatList() {
    text_.reserve(kInitialCapacity);
    spare_.reserve(kInitialCapacity);
}

TChatList::~TChatList() {
    if (loan_) {
        loan_->kept_ = std::move(lentIsSpare_ ? spare_ : text_);
        loan_->list_ = nullptr;
    }
}

void TChatList::Unlend(bool keepText) {
    if (!loan_ || lentIsSpare_) return;
    text_.swap(spare_);
    if (keepText) {
        text_.assign(spare_);
    } else {
        text_.clear();
    }
    lentIsSpare_ = true;
}

void TChatList::Append(std::string_view line) {
    Unlend(true);
    starts_.push_back(text_.size());
    text_.append(line).append("\r\n", 2);
}

std::string_view TChatList::Line(std::size_t i) const {
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_.size();
    return std::string_view(text_).substr(starts_[i], end - starts_[i] - 2);
}

void TChatList::Clear() {
    Unlend(false);
    starts_.clear();
    text_.clear();
}

}  // namespace cv
