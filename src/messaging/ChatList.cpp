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
    if (Loan* owner = TextOwner()) owner->kept_ = std::move(text_);
    for (Loan* l = loan_; l; l = l->outer_) l->list_ = nullptr;
}

TChatList::Loan::~Loan() {
    if (!list_) return;
    list_->loan_ = outer_;
    // The buffer this loan kept is free again: the list's next spare.
    if (kept_.capacity() > list_->spare_.capacity()) list_->spare_ = std::move(kept_);
}

TChatList::Loan* TChatList::TextOwner() const {
    // Loans made since the last change read text_, older ones a buffer of
    // their own: the readers of text_ are the innermost few.
    if (!loan_ || loan_->text_ != text_.c_str()) return nullptr;
    Loan* owner = loan_;
    while (owner->outer_ && owner->outer_->text_ == text_.c_str()) owner = owner->outer_;
    return owner;
}

void TChatList::Unlend(bool keepText) {
    Loan* owner = TextOwner();
    if (!owner) return;
    // The next buffer is made ready first: should that throw, nothing
    // changed, and the text is still the lent one.
    if (keepText) {
        spare_.assign(text_);
    } else {
        spare_.clear();
    }
    // On the heap too (see above).
    if (spare_.capacity() < kInitialCapacity) spare_.reserve(kInitialCapacity);
    owner->kept_ = std::move(text_);
    text_ = std::move(spare_);
    spare_ = std::string();
}

void TChatList::Append(std::string_view line) {
    Unlend(true);
    starts_.push_back(text_.size());
    try {
        text_.append(line).append("\r\n", 2);
    } catch (...) {
        text_.resize(starts_.back());
        starts_.pop_back();
        throw;
    }
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
