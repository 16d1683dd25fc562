#include "plugin/Catalogue.h"

#include <string>

#include "localization/Localization.h"
#include "hostapi/HostCallbacks.h"

namespace cv {

namespace {

constexpr std::uint8_t T = ParamKindText;
constexpr std::uint8_t V = ParamKindVariable;

// Entries without parameters still pass one kind byte, ParamKindText.
constexpr CatalogueEntry kCatalogue[] = {
    // number               name                  hint key  kinds   last  count
    {ActionGroup, "UDP", nullptr, {T}, 0, 0},
    {ActionOpenPort, "riZEROpenPort", "003*", {T, V}, 1, 2},
    {ActionClosePort, "riZERClosePort", "011*", {T}, 0, 0},
    {ActionSendMessage, "riZERSendMessage", "006*", {T, T}, 1, 2},
    {ActionGoSub, "riZERGoSub", "008*", {T}, 0, 1},
    {ActionSystemMessage, "riZERSystemMessage", "010*", {T, T}, 1, 2},
    {ActionMessageClear, "riZERMessageClear", "012*", {T}, 0, 0},
};

std::string CatalogueHint(const CatalogueEntry& entry) {
    return entry.hintKey ? LocalizedText(entry.hintKey, LocPlace::Hint) : std::string();
}

}  // namespace

std::span<const CatalogueEntry> Catalogue() { return kCatalogue; }

void RegisterCatalogue() {
    if (!hostapi::AddAction) return;
    for (const CatalogueEntry& entry : kCatalogue) {
        const std::string hint = CatalogueHint(entry);
        hostapi::AddAction(entry.number, entry.name, hint.c_str(), entry.kinds, entry.lastKindIndex,
                           entry.paramCount);
    }
}

}  // namespace cv
