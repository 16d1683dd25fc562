// The chat list and its loans: whatever happens while texts are lent (lines
// arriving, clears, loans made inside loans, the list going away), every
// live loan reads what it read when it was made, and the list holds exactly
// its lines.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FailingNew.h"
#include "messaging/ChatList.h"

namespace {

using cv::TChatList;

// Plays `script` on a list, one step per letter: a append a short line, A a
// line longer than a fresh buffer holds, ! the same while the text is lent
// and the first allocation fails (nothing changes), L lend the text, E end
// the innermost loan, c clear, D destroy the list. After every step each
// live loan and the list are checked against a model.
void Play(const std::string& script) {
    SCOPED_TRACE("script " + script);
    auto list = std::make_unique<TChatList>();
    std::string model;
    std::vector<std::unique_ptr<TChatList::Loan>> loans;
    std::vector<std::string> lent;
    int n = 0;
    for (std::size_t step = 0; step < script.size(); ++step) {
        SCOPED_TRACE("after step " + std::to_string(step));
        switch (script[step]) {
            case 'a': {
                const std::string line = "<A>: " + std::to_string(n++);
                list->Append(line);
                model += line + "\r\n";
                break;
            }
            case 'A': {
                const std::string line(300, static_cast<char>('a' + n++ % 26));
                list->Append(line);
                model += line + "\r\n";
                break;
            }
            case '!': {
                const std::string line(300, '!');
                bool threw = false;
                failnew::ArmAt(1);
                try {
                    list->Append(line);
                } catch (const std::bad_alloc&) {
                    threw = true;
                }
                failnew::Disarm();
                EXPECT_TRUE(threw);
                break;
            }
            case 'L':
                loans.push_back(std::make_unique<TChatList::Loan>(*list));
                lent.push_back(model);
                break;
            case 'E':
                loans.pop_back();
                lent.pop_back();
                break;
            case 'c':
                list->Clear();
                model.clear();
                break;
            case 'D': list.reset(); break;
        }
        for (std::size_t i = 0; i < loans.size(); ++i) EXPECT_EQ(loans[i]->Text(), lent[i]) << "loan " << i;
        if (list) {
            EXPECT_EQ(list->Text(), model);
        }
    }
    while (!loans.empty()) loans.pop_back();  // innermost first, as scoped loans end
}

TEST(ChatList, LentTextsStayAsTheyWereThroughNestingChangesAndDestruction) {
    const char* scripts[] = {
        "aLacaE",        // one loan; lines and a clear meanwhile
        "aLLEcaE",       // an inner loan of the same text ends first
        "aLLEacE",       // ... and the outer one still protects its text
        "aLaLcEaE",      // loans of different texts
        "aLaLcaLcEEaE",  // three texts lent at once
        "aLLcLaEEE",     // a loan made after a change reads the new text
        "aLLDEE",        // the list destroyed while two loans read one buffer
        "aLaLaLDEEE",    // ... while loans read different buffers
        "LaLcDEE",       // the empty text lent
        "AL!caE",        // a line that cannot be added while the text is lent
        "ALALL!AEEcE",
    };
    for (const char* script : scripts) Play(script);
}

}  // namespace
