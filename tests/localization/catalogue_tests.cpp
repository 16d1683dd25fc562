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

// The Russian hints of the six actions in Windows-1251, in catalogue order:
// what Corvane shows without riZER.loc.
std::vector<std::string> DefaultHints() {
    return {
        // 003* Открыть порт UDP.
        "\xCE\xF2\xEA\xF0\xFB\xF2\xFC \xEF\xEE\xF0\xF2 UDP.",
        // 011* Закрыть UDP порт.
        "\xC7\xE0\xEA\xF0\xFB\xF2\xFC UDP \xEF\xEE\xF0\xF2.",
        // 006* Отослать сообщение по UDP.
        "\xCE\xF2\xEE\xF1\xEB\xE0\xF2\xFC \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5 \xEF\xEE UDP.",
        // 008* Выполнить подпрограмму.
        "\xC2\xFB\xEF\xEE\xEB\xED\xE8\xF2\xFC \xEF\xEE\xE4\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xF3.",
        // 010* Послать системное сообщение с выбором окна сообщения.
        "\xCF\xEE\xF1\xEB\xE0\xF2\xFC \xF1\xE8\xF1\xF2\xE5\xEC\xED\xEE\xE5 "
        "\xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5 \xF1 \xE2\xFB\xE1\xEE\xF0\xEE\xEC \xEE\xEA\xED\xE0 "
        "\xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xFF.",
        // 012* Очистить список поступивших сообщений.
        "\xCE\xF7\xE8\xF1\xF2\xE8\xF2\xFC \xF1\xEF\xE8\xF1\xEE\xEA "
        "\xEF\xEE\xF1\xF2\xF3\xEF\xE8\xE2\xF8\xE8\xF5 \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE9.",
    };
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
