// The header check of riZER.loc and the one message it may show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeLocalization.h"
#include "LocTestFolder.h"
#include "localization/LocFile.h"
#include "localization/LocHeader.h"
#include "localization/LocMessageBox.h"
#include "localization/Localization.h"

namespace cv {
namespace {

using test::HeaderPlus;
using test::LocTestFolder;

std::vector<std::string> g_shown;
void RecordBox(const LocBox& box) { g_shown.emplace_back(box.text); }

class LocHeaderTest : public ::testing::Test {
 protected:
    void SetUp() override {
        g_shown.clear();
        rizer::test::fake::SetLocMessageBox(&RecordBox);
    }
    void TearDown() override { rizer::test::fake::SetLocMessageBox(nullptr); }

    LocHeaderState State() const { return ReadLocHeaderState(kLocFileName); }

    LocTestFolder folder_;
};

TEST_F(LocHeaderTest, ExactHeaderPassesWithAnyLineEnds) {
    folder_.WriteLines(HeaderPlus({"001*x"}));
    EXPECT_EQ(State(), LocHeaderState::Intact);
    std::string lf;
    for (const std::string& line : HeaderPlus()) lf += line + "\n";
    folder_.Write(lf);
    EXPECT_EQ(State(), LocHeaderState::Intact);
}

TEST_F(LocHeaderTest, LetterCaseIsIgnoredEverythingElseCounts) {
    std::vector<std::string> lines = HeaderPlus();
    lines[1] = "**  THE LOCALIZATION FILE FOR THE RIZER V2.0  PLUGIN.";
    lines[5] = "**  e-MAIL: RIZER@EXAMPLE.ORG";
    folder_.WriteLines(lines);
    EXPECT_EQ(State(), LocHeaderState::Intact);

    const std::vector<std::string> spoilt = {
        std::string(kLocHeader[0]) + " ",                    // trailing blank
        "** DO NOT CHANGE THIS TEXT ! ! !",                  // one blank fewer
        std::string(kLocHeader[0]) + std::string(300, '!'),  // overlong
        "",
    };
    for (const std::string& first : spoilt) {
        lines = HeaderPlus();
        lines[0] = first;
        folder_.WriteLines(lines);
        EXPECT_EQ(State(), LocHeaderState::Modified) << '"' << first << '"';
    }
    lines = HeaderPlus();
    lines[5] = "**  E-mail: someone@example.org";
    folder_.WriteLines(lines);
    EXPECT_EQ(State(), LocHeaderState::Modified);
}

TEST_F(LocHeaderTest, ShortFilesPassWhenEveryLineMatches) {
    folder_.Write("");
    EXPECT_EQ(State(), LocHeaderState::Intact);
    folder_.WriteLines({kLocHeader[0], kLocHeader[1], kLocHeader[2]});
    EXPECT_EQ(State(), LocHeaderState::Intact);
    folder_.WriteLines({kLocHeader[0], "001*x"});
    EXPECT_EQ(State(), LocHeaderState::Modified);
}

TEST_F(LocHeaderTest, MissingOrUnreadableFileIsNotReported) {
    EXPECT_EQ(State(), LocHeaderState::Absent);
    std::filesystem::create_directory(folder_.LocPath());
    EXPECT_EQ(State(), LocHeaderState::Absent);
    CheckLocalizationHeader();
    EXPECT_TRUE(g_shown.empty());
}

TEST_F(LocHeaderTest, ModifiedHeaderShowsOneMessageAndKeepsTheFileInUse) {
    folder_.WriteLines({"a", "b", "c", "d", "e", "f", "011*still read"});
    CheckLocalizationHeader();
    ASSERT_EQ(g_shown.size(), 1u);
    EXPECT_EQ(g_shown[0], "The riZER.loc file is invalidly modified.");
    EXPECT_EQ(LocalizedText("011*", "default"), "still read");

    g_shown.clear();
    folder_.WriteLines(HeaderPlus());
    CheckLocalizationHeader();
    folder_.Remove();
    CheckLocalizationHeader();
    EXPECT_TRUE(g_shown.empty());
}

}  // namespace
}  // namespace cv
