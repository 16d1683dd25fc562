// The fixed texts of the dialogs that name the plug-in's makers and site.
#pragma once

namespace cv {

inline constexpr const char* kAuthorLine = "riZER developers";
inline constexpr const char* kEmailLine = "rizer@example.org";
// Shown by the link labels; a press opens "http://" followed by the address.
inline constexpr const char* kSiteCaption = "www.example.org/rizer";
inline constexpr const char* kSiteAddress = "www.example.org/rizer";
inline constexpr const char* kAttribution = "riZER 2.0 project";

}  // namespace cv
