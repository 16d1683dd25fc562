#include "localization/LocFolder.h"

namespace cv {

namespace {
std::optional<std::string> g_override;
}  // namespace

std::string LocFolder() { return g_override ? *g_override : HostExecutableFolder(); }

void SetLocFolderOverride(std::optional<std::string> folder) { g_override = std::move(folder); }

}  // namespace cv
