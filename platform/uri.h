#pragma once
// An absolute URI, parsed by the platform's URI parser (never by hand). A text
// the parser rejects yields no Uri, and so is never navigated.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class Uri {
public:
    static std::optional<Uri> Parse(std::string_view text);

    // The whole address in its normalised text form.
    const std::string& AbsoluteUri() const { return m_absolute; }
    const std::string& Scheme() const { return m_scheme; }
    const std::string& Host() const { return m_host; }
    const std::string& Path() const { return m_path; }
    // From the last "." after the last "/" of the path, dot included; empty when none.
    std::string Extension() const;

private:
    std::string m_absolute;
    std::string m_scheme;
    std::string m_host;
    std::string m_path;
};

} // namespace platform
