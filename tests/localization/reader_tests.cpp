// Key lookups in riZER.loc: matching, values, line ends and damaged files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "LocTestFolder.h"
#include "localization/LocFile.h"
#include "localization/LocFolder.h"
#include "localization/LocLineReader.h"
#include "localization/Localization.h"

namespace cv {
namespace {

using test::HeaderPlus;
using test::LocTestFolder;

constexpr char kDefault[] = "default text";

std::string Lookup(const char* key) { return LocalizedText(key, kDefault); }

TEST(LocLookup, FirstKeyLineWinsAndOtherKeysKeepDefaults) {
    LocTestFolder folder;
    folder.WriteLines(HeaderPlus({"011*first", "note line", "011*second", "003*open"}));
    EXPECT_EQ(Lookup("011*"), "first");
    EXPECT_EQ(Lookup("003*"), "open");
    EXPECT_EQ(Lookup("012*"), kDefault);
}

TEST(LocLookup, ValueIsTakenAsItStandsAndCutAt255) {
    LocTestFolder folder;
    const std::string exact(255, 'e');
    const std::string longer = std::string(255, 'l') + "TAIL";
    folder.WriteLines({"001*  padded  ", "002*" + exact, "003*" + longer, "004*", "005"});
    EXPECT_EQ(Lookup("001*"), "  padded  ");
    EXPECT_EQ(Lookup("002*"), exact);
    EXPECT_EQ(Lookup("003*"), std::string(255, 'l'));
    // A key line with nothing after the key replaces the default with "".
    EXPECT_TRUE(LocKeyExists("004*", kLocFileName));
    EXPECT_EQ(Lookup("004*"), "");
    // Fewer than four characters never make a key line.
    EXPECT_EQ(Lookup("005*"), kDefault);
}

TEST(LocLookup, KeyIgnoresCaseOfAsciiLettersOnly) {
    LocTestFolder folder;
    // 0xC0/0xE0 are upper and lower case of one Cyrillic letter in Windows-1251.
    folder.WriteLines({"ABC*ascii",
                       "\xC0"
                       "bc*cyrillic"});
    EXPECT_EQ(Lookup("abc*"), "ascii");
    EXPECT_EQ(Lookup("aBc*"), "ascii");
    EXPECT_EQ(Lookup("\xE0"
                     "bc*"),
              kDefault);
    EXPECT_EQ(Lookup("\xC0"
                     "bc*"),
              "cyrillic");
}

TEST(LocLookup, KeyLinesAnywhereHeaderLinesNever) {
    LocTestFolder folder;
    std::vector<std::string> lines = {"008*before the header"};
    for (const std::string& line : HeaderPlus()) lines.push_back(line);
    folder.WriteLines(lines);
    EXPECT_EQ(Lookup("008*"), "before the header");
    for (const char* key : {"001*", "003*", "010*", "012*"}) EXPECT_EQ(Lookup(key), kDefault);
}

TEST(LocLookup, EveryLookupReadsTheFileAnew) {
    LocTestFolder folder;
    folder.WriteLines({"011*old"});
    EXPECT_EQ(Lookup("011*"), "old");
    folder.WriteLines({"011*new"});
    EXPECT_EQ(Lookup("011*"), "new");
    folder.Remove();
    EXPECT_EQ(Lookup("011*"), kDefault);
    EXPECT_FALSE(LocKeyExists("011*", kLocFileName));
    EXPECT_EQ(ReadLocValue("011*", kLocFileName), "");
}

TEST(LocLineEnds, CrLfAndLoneLfEndLinesLoneCrDoesNot) {
    LocTestFolder folder;
    folder.Write("001*crlf\r\n002*lf\n003*a\rb\r\n004*last, no line end");
    EXPECT_EQ(Lookup("001*"), "crlf");
    EXPECT_EQ(Lookup("002*"), "lf");
    EXPECT_EQ(Lookup("003*"), "a\rb");
    EXPECT_EQ(Lookup("004*"), "last, no line end");

    // A file with CR line ends only is one long line.
    folder.Write("001*one\r002*two\r");
    EXPECT_EQ(Lookup("001*"), "one\r002*two");
    EXPECT_EQ(Lookup("002*"), kDefault);

    // A CR LF right after 259 characters is the line end, not part of the value.
    folder.Write("001*" + std::string(255, 'v') + "\r\n002*next");
    EXPECT_EQ(Lookup("001*"), std::string(255, 'v'));
    EXPECT_EQ(Lookup("002*"), "next");

    // Zero bytes are ordinary bytes of a line.
    static const char zeros[] = "001*a\0b\r\n\0\0\0\0\r\n002*c";
    folder.Write(std::string(zeros, sizeof(zeros) - 1));
    EXPECT_EQ(Lookup("001*"), std::string("a\0b", 3));
    EXPECT_EQ(Lookup("002*"), "c");
}

TEST(LocRobustness, MultiMegabyteLinesAreReadToTheirEnd) {
    LocTestFolder folder;
    const std::string huge(6 * 1024 * 1024, 'x');
    folder.Write("001*" + huge + "\r\n" + huge + "002*\r\n002*after");
    EXPECT_EQ(Lookup("001*"), std::string(255, 'x'));
    EXPECT_EQ(Lookup("002*"), "after");
}

TEST(LocRobustness, UnreadableFileBehavesAsMissing) {
    LocTestFolder folder;
    std::filesystem::create_directory(folder.LocPath());  // exists, but is no file
    EXPECT_EQ(Lookup("001*"), kDefault);
    EXPECT_FALSE(LocKeyExists("001*", kLocFileName));
}

// The module looks for the file beside the running program.
TEST(LocFolderSeam, ExecutableFolderEndsWithSeparatorAndHoldsTheProgram) {
    const std::string folder = HostExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder.back() == '/' || folder.back() == '\\');
#if defined(_WIN32)
    EXPECT_TRUE(std::filesystem::exists(folder + "localization_tests.exe"));
#else
    EXPECT_TRUE(std::filesystem::exists(folder + "localization_tests"));
#endif
}

// The reader's chunking must not change the lines, whatever the chunk size.
TEST(LocLineReader, SameLinesForEveryChunkSize) {
    const std::string bytes = "a\r\n\r\nbc\rd\n" + std::string(300, 'z') + "\r\r\nend\r";
    for (std::size_t chunk = 1; chunk <= 9; ++chunk) {
        std::FILE* file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::rewind(file);
        LocLineReader reader(file, chunk);
        std::vector<std::string> lines;
        std::vector<bool> overlong;
        LocLine line;
        while (reader.Next(line)) {
            lines.emplace_back(line.text);
            overlong.push_back(line.overlong);
        }
        std::fclose(file);
        const std::vector<std::string> expected = {"a", "", "bc\rd", std::string(259, 'z'), "end"};
        EXPECT_EQ(lines, expected) << "chunk " << chunk;
        EXPECT_EQ(overlong, (std::vector<bool>{false, false, false, true, false})) << "chunk " << chunk;
    }
}

}  // namespace
}  // namespace cv
