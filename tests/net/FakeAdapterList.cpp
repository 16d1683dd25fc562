// The adapter seam over a list the test sets (FakeSocket.h).
#include "FakeSocket.h"

namespace rizer::test::fake {
namespace {
std::vector<cv::Adapter> gAdapters;
int gCalls = 0;
}  // namespace

void SetAdapters(std::vector<cv::Adapter> adapters) { gAdapters = std::move(adapters); }
int AdapterListCalls() { return gCalls; }

}  // namespace rizer::test::fake

namespace cv {

bool ListAdapters(std::vector<Adapter>* adapters) {
    ++rizer::test::fake::gCalls;
    *adapters = rizer::test::fake::gAdapters;
    return true;
}

}  // namespace cv
