#pragma once
// Small text rules shared by the browsing handlers.
#include <string>

// A piece occurs in a text (exact, case-sensitive); an empty text contains nothing.
inline bool Contains(const std::string& text, const std::string& piece)
{
    return !text.empty() && text.find(piece) != std::string::npos;
}

inline constexpr const char* PrivateWebViewName = "wNewPageWebView_Private";
inline constexpr const char* PrivateHeaderName = "wNewPageStackPanel_Private";
inline constexpr const char* AppPagePrefix = "ms-appx-web://";
inline constexpr const char* GlyphFont = "Segoe MDL2 Assets";

// What the chrome shows for a page without a title.
inline constexpr const char* Untitled = "[Sem título]";
inline std::string ShownTitle(const std::string& title)
{
    return title.empty() ? Untitled : title;
}

// The zoom factor as the page's style takes it ("1", "1.1", "0.5").
std::string FormatZoomFactor(double factor);
// "document.getElementsByTagName('body')[0].style.zoom = 'F';"
std::string ZoomScript(double factor);
