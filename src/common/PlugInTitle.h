// The plug-in's title: what cvInitPlugIn hands the host, what the About box
// and the localization warning show, and the product name of the module's
// version resource, which takes RIZER_TITLE from the same generated header.
#pragma once

#include "rizer_version.h"

namespace cv {

inline constexpr char kPlugInTitle[] = RIZER_TITLE;

}  // namespace cv
