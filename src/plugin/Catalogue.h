// The action catalogue and its registration with the host.
#pragma once

#include <cstdint>
#include <span>

namespace cv {

// One entry as the host learns it through AddActionProc.
struct CatalogueEntry {
    std::int32_t number;  // 0 = group entry, 1..6 = actions
    const char* name;
    const char* hintKey;         // localization key, or nullptr (group entry: hint "")
    std::uint8_t kinds[2];       // parameter-kind bytes (ParamKind)
    std::int32_t lastKindIndex;  // index of the last kind byte
    std::int32_t paramCount;     // what the host reads as the number of parameters
};

// The group entry, then the six actions, in registration order.
std::span<const CatalogueEntry> Catalogue();

// Registers the group entry and the six actions through the stored
// AddActionProc (nothing when the host gave none). Each action's hint is read
// anew from riZER.loc under its key, with the table's Russian default when the
// file has no such line; the group's hint is always "". Every call registers
// the whole catalogue again.
void RegisterCatalogue();

}  // namespace cv
