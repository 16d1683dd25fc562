// The stand-in host's script reader: what tests write must reach the module
// byte for byte.
#include <gtest/gtest.h>

#include "Script.h"

namespace host {
namespace {

TEST(HostScript, QuotedTextsCarryAnyByte) {
    std::vector<std::string> words;
    std::string error;
    ASSERT_TRUE(SplitLine(R"(riZERGoSub "a\"b\r\n\x00\xCF" bare  "")", &words, &error)) << error;
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[1], std::string("a\"b\r\n\0\xCF", 7));
    EXPECT_EQ(words[2], "bare");
    EXPECT_EQ(words[3], "");
    EXPECT_EQ(Quote(words[1]), R"("a\"b\r\n\x00\xCF")");
}

TEST(HostScript, SubsAndErrors) {
    Script script;
    std::string error;
    ASSERT_TRUE(ParseScript("# note\nSub A\nEcho \"x\"\nEnd\n\nCall A\n", &script, &error)) << error;
    ASSERT_EQ(script.main.size(), 1u);
    EXPECT_EQ(script.main[0].line, 6);
    ASSERT_EQ(script.subs["A"].size(), 1u);
    for (const char* bad :
         {"Sub A\n", "End\n", "Sub A\nSub B\nEnd\nEnd\n", "Echo \"open\n", "Echo \"\\x4\"\n"}) {
        Script s;
        EXPECT_FALSE(ParseScript(bad, &s, &error)) << bad;
    }
}

}  // namespace
}  // namespace host
