#pragma once
// Resource tables in the gettext PO format: one file per language, the msgid
// is the key ("wAdress/Text"), the msgstr its text.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/resources.h"

namespace platform {

struct PoTable {
    std::map<std::string, std::string> Texts;
    // What was skipped, one line each ("line 12: ..."); the rest still loads.
    std::vector<std::string> Problems;
};

// Reads msgid/msgstr pairs with their "..." continuation lines and C escapes.
// As msgfmt does, it leaves out the header (empty msgid), untranslated entries
// (empty msgstr) and entries flagged fuzzy; the first of duplicate msgids wins.
PoTable ParsePo(std::string_view text);

// The table name for the user's languages, most wanted first, as the locale
// lists them ({"pt_BR.UTF-8", "pt_BR", "pt", "C"}): "pt-BR" for Portuguese,
// "en-US" for English and for anything without a table of its own.
std::string ResourceTableFor(const std::vector<std::string>& languageNames);

class PoResources : public Resources {
public:
    explicit PoResources(std::string_view poText);
    std::optional<std::string> TryGetString(const std::string& key) const override;
    const std::vector<std::string>& Problems() const { return m_problems; }

private:
    std::map<std::string, std::string> m_texts;
    std::vector<std::string> m_problems;
};

} // namespace platform
