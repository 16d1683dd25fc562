// The received chat lines, oldest first (not sorted, equal lines kept), held
// as one growing buffer: the chat text itself, every line followed by CR LF,
// plus where each line starts. Appending a line costs the same however long
// the list is, and the host gets the text without it being rebuilt.
//
// The host reads the text through a TChatList::Loan. While a loan lasts, the
// lent bytes stay exactly as they were: a change made meanwhile (host script
// clearing the list, say) first hands the lent buffer to the loan and goes on
// in the list's second buffer, and a list destroyed meanwhile leaves its lent
// buffer to the loan. No copy of the text is made for a loan, and none for a
// change unless one is lent.
#pragma once

#include <cstddef>
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
    std::string_view Text() const { return {text_.data(), text_.size() - 1}; }

 private:
    // Called before every change: if the text is lent, its buffer goes to
    // the outermost loan reading it, and the list goes on in spare_ (with a
    // copy of the text when `keepText`).
    void Unlend(bool keepText);
    // The outermost of the live loans that read text_; none when text_ is
    // not lent.
    Loan* TextOwner() const;

    // Buffers are vectors: moving or swapping one never moves its bytes, so
    // a loan's pointer survives the buffer changing hands. text_ always ends
    // in a zero byte, which Text() leaves out.
    std::vector<std::size_t> starts_;
    std::vector<char> text_;
    std::vector<char> spare_;
    Loan* loan_ = nullptr;  // the innermost live loan
};

// The chat text, unchanged for as long as the loan lives. Loans nest (host
// script run while the text is lent may lend it again); they end in the
// reverse order of their making, as scoped objects do.
class TChatList::Loan {
 public:
    explicit Loan(TChatList& list) : list_(&list), outer_(list.loan_), text_(list.text_.data()) {
        list.loan_ = this;
    }
    ~Loan();
    Loan(const Loan&) = delete;
    Loan& operator=(const Loan&) = delete;

    const char* Text() const { return text_; }

 private:
    friend class TChatList;
    TChatList* list_;  // null once the list is gone
    Loan* outer_;      // the loan this one replaced as the innermost
    const char* text_;
    std::vector<char> kept_;  // the lent buffer, once the list moved on or went away
};

}  // namespace cv
