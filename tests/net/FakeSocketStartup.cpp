// Stand-in of Startup and Cleanup (net/SocketApi.h) in front of the real BSD
// sockets (native builds): a start fails while the test says so.
#include "FakeSocket.h"
#include "net/SocketApi.h"

namespace rizer::test::fake {
namespace {
bool gStartupFails = false;
}  // namespace

void SetStartupFails(bool fails) { gStartupFails = fails; }

}  // namespace rizer::test::fake

namespace cv::net::sock {

bool Startup() { return !rizer::test::fake::gStartupFails; }
void Cleanup() {}

}  // namespace cv::net::sock
