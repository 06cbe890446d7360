#pragma once
// The companion downloader, Reelpull: a separate application that takes video
// pages through its URI scheme.
#include <string>

inline constexpr const char* ReelpullScheme = "reelpull:";
inline constexpr const char* ReelpullFamilyName = "10000Quenfield.ReelpullforYouTube_q8k2m4x7z1p3r";
inline constexpr const char* ReelpullStorePage = "ms-windows-store://pdp/?productid=9nzqwtr200bx";
inline constexpr const char* VideoPageMarker = "watch?v=";

// The stored switch: "true" hands video pages over.
inline constexpr const char* ReadExtensionSetting = "SELECT wREELPULL FROM wConfig_Extension";
std::string WriteExtensionSetting(bool enabled);
