// Registration of the catalogue through AddActionProc, with and without riZER.loc.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "LocTestFolder.h"
#include "localization/LocDefaults.h"
#include "localization/Localization.h"
#include "plugin/Catalogue.h"
#include "hostapi/HostCallbacks.h"

namespace cv {
namespace {

using test::HeaderPlus;
using test::LocTestFolder;

struct Registered {
    std::int32_t number;
    std::string name;
    std::string hint;
    std::vector<std::uint8_t> kinds;
    std::int32_t paramCount;
    bool operator==(const Registered&) const = default;
};

void PrintTo(const Registered& r, std::ostream* os) {
    *os << r.number << " \"" << r.name << "\" \"" << r.hint << "\" kinds";
    for (std::uint8_t kind : r.kinds) *os << ' ' << int(kind);
    *os << " count " << r.paramCount;
}

std::vector<Registered> g_calls;

void CV_CALL RecordAddAction(std::int32_t number, const char* name, const char* hint,
                             const std::uint8_t* kinds, std::int32_t lastKindIndex, std::int32_t paramCount) {
    g_calls.push_back(
        {number, name, hint, std::vector<std::uint8_t>(kinds, kinds + lastKindIndex + 1), paramCount});
}

// What the host must receive, given the hints of the six actions.
std::vector<Registered> Expected(const std::vector<std::string>& hints) {
    return {
        {0, "UDP", "", {1}, 0},
        {1, "riZEROpenPort", hints[0], {1, 6}, 2},
        {2, "riZERClosePort", hints[1], {1}, 0},
        {3, "riZERSendMessage", hints[2], {1, 1}, 2},
        {4, "riZERGoSub", hints[3], {1}, 1},
        {5, "riZERSystemMessage", hints[4], {1, 1}, 2},
        {6, "riZERMessageClear", hints[5], {1}, 0},
    };
}

const char* const kHintKeys[] = {"003*", "011*", "006*", "008*", "010*", "012*"};

std::vector<std::string> DefaultHints() {
    std::vector<std::string> hints;
    for (const char* key : kHintKeys) hints.emplace_back(LocDefault(key, LocPlace::Hint));
    return hints;
}

class CatalogueTest : public ::testing::Test {
 protected:
    void SetUp() override {
        g_calls.clear();
        hostapi::ResetHostCallbacks();
        hostapi::AddAction = &RecordAddAction;
    }
    void TearDown() override { hostapi::ResetHostCallbacks(); }

    LocTestFolder folder_;
};

TEST_F(CatalogueTest, WithoutFileTheHintsAreTheRussianDefaults) {
    RegisterCatalogue();
    EXPECT_EQ(g_calls, Expected(DefaultHints()));
    // Spot check of the Windows-1251 bytes: "Закрыть UDP порт."
    EXPECT_EQ(g_calls.at(2).hint, "\xC7\xE0\xEA\xF0\xFB\xF2\xFC UDP \xEF\xEE\xF0\xF2.");
}

TEST_F(CatalogueTest, OneKeyLineChangesOnlyItsHintAtEveryRegistration) {
    folder_.WriteLines(HeaderPlus({"011*Close it"}));
    RegisterCatalogue();
    RegisterCatalogue();
    std::vector<std::string> hints = DefaultHints();
    hints[1] = "Close it";
    std::vector<Registered> twice = Expected(hints);
    const std::vector<Registered> once = twice;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(g_calls, twice);
}

TEST_F(CatalogueTest, NoCallbackNoCalls) {
    hostapi::AddAction = nullptr;
    RegisterCatalogue();
    EXPECT_TRUE(g_calls.empty());
}

// The Russian sample is written from readable text by samples/make_samples.py;
// it must agree byte for byte with the escaped defaults built into the module.
TEST(LocDefaultsTable, RussianSampleHoldsTheDefaultsOfEveryKey) {
    LocTestFolder folder;
    folder.CopyFrom(std::string(RIZER_SAMPLES_DIR) + "riZER.loc.ru");
    for (const LocDefaultEntry& entry : LocDefaults()) {
        const std::string fromFile = LocalizedText(entry.key, "(missing)");
        if (entry.place == LocPlace::Hint && LocDefault(entry.key, LocPlace::Info)[0] != '\0') {
            // One line serves hint and information text; the sample holds the
            // information text, which begins with the hint.
            EXPECT_EQ(fromFile.rfind(entry.text, 0), 0u) << entry.key;
        } else {
            EXPECT_EQ(fromFile, entry.text) << entry.key;
        }
    }
}

TEST(LocDefaultsTable, EveryPlaceInUseHasItsDefault) {
    for (const char* key : kHintKeys) EXPECT_STRNE(LocDefault(key, LocPlace::Hint), "") << key;
    for (const char* key : {"003*", "006*", "008*", "010*"})
        EXPECT_STRNE(LocDefault(key, LocPlace::Info), "") << key;
    for (const char* key : {"001*", "002*", "004*", "005*", "007*", "009*"})
        EXPECT_STRNE(LocDefault(key, LocPlace::Label), "") << key;
    EXPECT_STREQ(LocDefault("011*", LocPlace::Label), "");
}

}  // namespace
}  // namespace cv
