#include "messaging/ChatList.h"

#include <algorithm>

namespace cv {

TChatList::TChatList() : text_(1, '\0') {}

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
    if (!loan_ || loan_->text_ != text_.data()) return nullptr;
    Loan* owner = loan_;
    while (owner->outer_ && owner->outer_->text_ == text_.data()) owner = owner->outer_;
    return owner;
}

void TChatList::Unlend(bool keepText) {
    Loan* owner = TextOwner();
    if (!owner) return;
    // The next buffer is made ready first: should that throw, nothing
    // changed, and the text is still the lent one.
    if (keepText) {
        spare_.assign(text_.begin(), text_.end());
    } else {
        spare_.assign(1, '\0');
    }
    owner->kept_ = std::move(text_);
    text_ = std::move(spare_);
    spare_ = std::vector<char>();
}

void TChatList::Append(std::string_view line) {
    Unlend(true);
    // Room first (growing by doubling), so that nothing below throws once
    // the line's start is recorded.
    const std::size_t needed = text_.size() + line.size() + 2;
    if (needed > text_.capacity()) text_.reserve(std::max(needed, 2 * text_.capacity()));
    starts_.push_back(text_.size() - 1);
    text_.insert(text_.end() - 1, line.begin(), line.end());
    text_.insert(text_.end() - 1, {'\r', '\n'});
}

std::string_view TChatList::Line(std::size_t i) const {
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_.size() - 1;
    return Text().substr(starts_[i], end - starts_[i] - 2);
}

void TChatList::Clear() {
    Unlend(false);
    starts_.clear();
    text_.assign(1, '\0');
}

}  // namespace cv
