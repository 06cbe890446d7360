// The part of Uri that needs no parser: the system's code uses it directly.
#include "platform/uri.h"

namespace platform {

std::string Uri::Extension() const
{
    // Only the last path segment counts: a dot in a directory name is no extension.
    const auto lastSlash = m_path.rfind('/');
    const auto segmentStart = lastSlash == std::string::npos ? 0 : lastSlash + 1;
    const auto lastDot = m_path.rfind('.');
    if (lastDot == std::string::npos || lastDot < segmentStart)
        return {};
    return m_path.substr(lastDot);
}

} // namespace platform
