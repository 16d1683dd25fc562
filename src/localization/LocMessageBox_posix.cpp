#include "localization/LocMessageBox.h"

namespace cv {

void ShowLocMessageBox(const char*) {}

}  // namespace cv
