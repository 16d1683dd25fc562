// Whether the keyboard-cue repaint fix (VistaAltFixUnit.h) is needed, behind
// a link-time seam: the module links FixNeeded.cpp, which asks the system; a
// test program may link a stand-in instead (tests/controls/FakeFixNeeded.cpp).
#pragma once

namespace cv {

// Windows 6 or later (GetVersionExA with the 148-byte record), themes in
// use (IsThemeActive, IsAppThemed) and common controls 6 or later already
// loaded in the process (never loaded to ask). Asked once by each fix when
// it is made: a stand-in answers what the test plays, and may change its
// answer between two fixes.
bool FixNeeded();

}  // namespace cv
