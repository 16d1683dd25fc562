#include "localization/LocMessageBox.h"

namespace cv {

void ShowOwnedBox(const LocBox&) {}

}  // namespace cv
