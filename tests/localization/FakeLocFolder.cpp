// Stand-in of LocFolder() (localization/LocFolder.h): the test's folder when
// it set one, else the executable's, as the module's.
#include "FakeLocalization.h"
#include "localization/LocFolder.h"

namespace rizer::test::fake {
namespace {
std::optional<std::string> gFolder;
}  // namespace

void SetLocFolder(std::optional<std::string> folder) { gFolder = std::move(folder); }

}  // namespace rizer::test::fake

namespace cv {

std::string LocFolder() {
    return rizer::test::fake::gFolder ? *rizer::test::fake::gFolder : HostExecutableFolder();
}

}  // namespace cv
