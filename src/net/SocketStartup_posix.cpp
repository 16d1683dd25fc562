// BSD sockets need no start. Alone in its file, so that a native test
// program's stand-in takes its place (tests/CMakeLists.txt).
#include "net/SocketApi.h"

namespace cv::net::sock {

bool Startup() { return true; }
void Cleanup() {}

}  // namespace cv::net::sock
