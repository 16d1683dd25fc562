// The module's side of LocFolder(). Alone in its file, so that a test
// program's stand-in takes its place (tests/CMakeLists.txt).
#include "localization/LocFolder.h"

namespace cv {

std::string LocFolder() { return HostExecutableFolder(); }

}  // namespace cv
