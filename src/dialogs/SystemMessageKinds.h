// The message-box kinds of riZERSystemMessage, in list order (indices 0..3):
// the items of its dialog's list and the parameter values its executor reads.
#pragma once

namespace cv {

inline constexpr const char* kSystemMessageKinds[] = {"Error", "Warning", "Confimation", "Information"};

}  // namespace cv
