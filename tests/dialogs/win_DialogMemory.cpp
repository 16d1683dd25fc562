// The property dialogs leave no memory behind in a host that has not loaded
// comctl32: a hundred of them, shown and closed, grow the committed private
// memory of the process by less than a megabyte.
#include <windows.h>

#include <uxtheme.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "DialogDriver.h"
#include "dialogs/EditFlows.h"
#include "hostapi/HostCallbacks.h"

namespace {

// Committed private memory of the whole process (heaps, stacks, the pages a
// loaded DLL writes to), summed over the address space.
std::int64_t CommittedPrivateBytes() {
  std::int64_t total = 0;
  MEMORY_BASIC_INFORMATION region;
  const char* at = nullptr;
  while (VirtualQuery(at, &region, sizeof(region)) == sizeof(region)) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return total;
}

// Shows the dialog of `action` with empty slots and ends it by its close box.
void ShowAndClose(std::int32_t action) {
  cv::HostString slots[2] = {nullptr, nullptr};
  dlgtest::ModalScript script({[](ui::TForm& shown) { dlgtest::PressCloseBox(shown); }});
  EXPECT_FALSE(cv::EditAction(action, slots)) << "action " << action;
  EXPECT_FALSE(script.Stuck()) << "action " << action;
  EXPECT_EQ(script.StepsRun(), 1u) << "action " << action << " showed no dialog";
}

bool ComctlLoaded() { return GetModuleHandleA("comctl32.dll") != nullptr; }

TEST(DialogMemory, AHundredDialogsInAHostWithoutComctlKeepLessThanAMegabyte) {
  cv::hostapi::InterfaceAccess = nullptr;
  // Were comctl32 loaded here, the run could not show what such a host sees.
  ASSERT_FALSE(ComctlLoaded()) << "this program loaded comctl32 before any dialog";
  constexpr std::int32_t kActions[] = {1, 3, 4, 5};
  // One of each first: what stays for the process's life (fonts, classes,
  // pictures) is made then.
  for (std::int32_t action : kActions) ShowAndClose(action);
  ASSERT_FALSE(ComctlLoaded()) << "a dialog left comctl32 loaded";
  const std::int64_t before = CommittedPrivateBytes();
  for (int i = 0; i < 100; ++i) ShowAndClose(kActions[i % 4]);
  const std::int64_t grown = CommittedPrivateBytes() - before;
  EXPECT_LT(grown, 1 << 20) << "100 dialogs kept " << grown / 1024 << " KiB";
  EXPECT_FALSE(ComctlLoaded()) << "a dialog left comctl32 loaded";
  std::printf("100 dialogs: committed private memory %+lld KiB (themes %s)\n",
              static_cast<long long>(grown / 1024), IsThemeActive() && IsAppThemed() ? "on" : "off");
}

}  // namespace
