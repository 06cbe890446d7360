#include "browser/tab_text.h"

#include <cstdio>

std::string FormatZoomFactor(double factor)
{
    // Fifteen significant digits: repeated additions of 0.1 read as 1.2, not 1.2000000000000002.
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", factor);
    return text;
}

std::string ZoomScript(double factor)
{
    // Only the zoom: the body's other inline styles stay as the page set them.
    return "document.getElementsByTagName('body')[0].style.zoom = '" + FormatZoomFactor(factor) + "';";
}
