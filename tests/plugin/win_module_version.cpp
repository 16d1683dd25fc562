// The real module's version resource names the product by the title the
// module hands the host.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "hostapi/HostInterface.h"

namespace {

std::string VersionText(const char* path, const char* name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return "(no version resource)";
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path, 0, size, data.data())) return "(unreadable version resource)";
    void* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(data.data(), key.c_str(), &value, &length) || !value) return "(no " + key + ")";
    return static_cast<const char*>(value);
}

TEST(ModuleVersion, TheProductIsNamedByTheTitleTheHostGets) {
    const char* path = std::getenv("RIZER_MODULE");
    ASSERT_NE(path, nullptr) << "RIZER_MODULE names the module to load";
    HMODULE module = LoadLibraryA(path);
    ASSERT_NE(module, nullptr) << path;
    auto init =
        reinterpret_cast<cv::cvInitPlugInFn>(reinterpret_cast<void*>(GetProcAddress(module, "cvInitPlugIn")));
    ASSERT_NE(init, nullptr);
    cv::HostString title = nullptr, author = nullptr, description = nullptr;
    init(nullptr, &title, &author, &description);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(VersionText(path, "ProductName"), title);
    EXPECT_EQ(VersionText(path, "FileDescription").rfind(std::string(title) + ": ", 0), 0u);
    for (cv::HostString block : {title, author, description})
        if (block) GlobalFree(block);
    FreeLibrary(module);
}

}  // namespace
