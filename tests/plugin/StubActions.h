#pragma once

#include <string>
#include <vector>

namespace cv {
extern std::vector<std::string> stubCalls;
}
