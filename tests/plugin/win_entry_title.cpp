// The title the host gets from cvInitPlugIn is the one the About box shows.
#include <gtest/gtest.h>

#include "dialogs/About.h"
#include "plugin/EntryPoints.h"
#include "plugin/PlugInUtils.h"

namespace {

TEST(PlugInTitle, TheHostAndTheAboutBoxShowTheSame) {
    cv::HostString title = nullptr, author = nullptr, description = nullptr;
    cvInitPlugIn(nullptr, &title, &author, &description);
    ASSERT_NE(title, nullptr);
    cv::TAboutBoxForm box;
    EXPECT_EQ(box.Label4->Caption(), title);
    for (cv::HostSlot slot : {&title, &author, &description}) cv::FreeHostString(slot);
}

}  // namespace
