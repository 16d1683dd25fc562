// The received chat lines, oldest first (not sorted, equal lines kept), held
// as one growing buffer: the chat text itself, every line followed by CR LF,
// plus where each line starts. Appending a line costs the same however long
// the list is, and the host gets the text without it being rebuilt.
//
// The host reads the text through a TChatList::Loan. While a loan lasts, the
// lent bytes stay exactly as they were: a change made meanwhile (host script
// clearing the list, say) first moves the text to the list's second buffer,
// and a list destroyed meanwhile leaves its lent buffer to the loan. No copy
// of the text is made for a loan, and none for a change unless one is lent.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cv {

class TChatList {
 public:
    class Loan;

    TChatList();
    ~TChatList();
    TChatList(const TChatList&) = delete;
    TChatList& operator=(const TChatList&) = delete;

    void Append(std::string_view line);
    void Clear();
    std::size_t Count() const { return starts_.size(); }
    std::string_view Line(std::size_t i) const;
    // The chat text: each line and CR LF; empty for an empty list.
    const std::string& Text() const { return text_; }

 private:
    // Called before every change: if the text is lent, the lent buffer
    // becomes the spare one (untouched until the loan ends) and the list
    // goes on in the other.
    void Unlend(bool keepText);

    std::vector<std::size_t> starts_;
    std::string text_;
    std::string spare_;
    Loan* loan_ = nullptr;
    bool lentIsSpare_ = false;  // the loan's bytes are in spare_
};

// The chat text, unchanged for as long as the loan lives. One at a time.
class TChatList::Loan {
 public:
    explicit Loan(TChatList& list) : list_(&list), text_(list.text_.c_str()) {
        list.loan_ = this;
        list.lentIsSpare_ = false;
    }
    ~Loan() {
        if (list_) list_->loan_ = nullptr;
    }
    Loan(const Loan&) = delete;
    Loan& operator=(const Loan&) = delete;

    const char* Text() const { return text_; }

 private:
    friend class TChatList;
    TChatList* list_;
    const char* text_;
    std::string kept_;  // the lent buffer, when the list went away first
};

}  // namespace cv
