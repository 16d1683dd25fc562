#include "dialogs/Picker.h"

#include "hostapi/HostCallbacks.h"
#include "hostapi/HostStrings.h"

namespace cv {
namespace {
// Frees whatever block the slot holds when the scope ends.
class SlotGuard {
 public:
    SlotGuard() = default;
    ~SlotGuard() { FreeHostString(&slot_); }
    SlotGuard(const SlotGuard&) = delete;
    SlotGuard& operator=(const SlotGuard&) = delete;
    HostSlot slot() { return &slot_; }
    const char* text() const { return HostText(slot_); }

 private:
    HostString slot_ = nullptr;
};
}  // namespace

void OfferPicker(std::int32_t code, ui::TEdit& field) {
    const InterfaceAccessProc access = hostapi::InterfaceAccess;
    if (!access) return;
    SlotGuard guard;
    AssignHostString(guard.slot(), field.Text());
    if (access(code, guard.slot())) field.SetText(guard.text());
}

}  // namespace cv
