// The adapter seam (net/Adapters.h) from a list the test sets (FakeSocket.h).
#include <cstring>
#include <utility>

#include "FakeSocket.h"

namespace rizer::test::fake {
namespace {

// 10.0.0.1 and 127.0.0.1 in network byte order, written bytewise so that the
// list is right on either byte order.
std::uint32_t Address(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    const std::uint8_t bytes[4] = {a, b, c, d};
    std::uint32_t out;
    std::memcpy(&out, bytes, sizeof out);
    return out;
}

}  // namespace

std::vector<cv::Adapter> DefaultAdapters() {
    cv::Adapter lan{"lan", Address(10, 0, 0, 1), 24, Address(10, 0, 0, 255), true, false};
    cv::Adapter loopback{"lo", Address(127, 0, 0, 1), 8, 0, true, true};
    return {lan, loopback};
}

namespace {

std::vector<cv::Adapter>& Adapters() {
    static std::vector<cv::Adapter> adapters = DefaultAdapters();
    return adapters;
}

int gCalls = 0;

}  // namespace

void SetAdapters(std::vector<cv::Adapter> adapters) { Adapters() = std::move(adapters); }
int AdapterListCalls() { return gCalls; }

}  // namespace rizer::test::fake

namespace cv {

bool ListAdapters(std::vector<Adapter>* adapters) {
    ++rizer::test::fake::gCalls;
    *adapters = rizer::test::fake::Adapters();
    return true;
}

}  // namespace cv
