// The plug-in's title: what cvInitPlugIn hands the host and what the About
// box shows.
#pragma once

namespace cv {

inline constexpr char kPlugInTitle[] = "riZER 2.0";

}  // namespace cv
