// The localization floor's link-time stand-ins and what a test sets in them,
// one file each: FakeLocFolder.cpp answers LocFolder() (localization/
// LocFolder.h), FakeLocMessageBox.cpp takes ShowOwnedBox()
// (localization/LocMessageBox.h). Every setter here is fake::Set<what it
// sets>.
#pragma once

#include <optional>
#include <string>

#include "localization/LocMessageBox.h"

namespace rizer::test::fake {

// The folder LocFolder() answers, with its trailing separator ("" plays a
// system that cannot tell); std::nullopt (the start) the executable's folder.
void SetLocFolder(std::optional<std::string> folder);
// The function that is handed every box ShowOwnedBox() is asked to show;
// null (the start) drops them. No box is ever shown.
void SetLocMessageBox(void (*box)(const cv::LocBox& box));

}  // namespace rizer::test::fake
