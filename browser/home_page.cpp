#include "browser/home_page.h"

#include "storage/database.h"
#include "storage/schema.h"

std::optional<platform::Uri> ReadHomePage()
{
    // A configuration file that could not be used (damaged, locked) still
    // leaves a page to open, so the browser keeps browsing.
    if (ConnectionSlots[ConfigDb] == nullptr)
        return platform::Uri::Parse(DefaultHomePage);
    return platform::Uri::Parse(QueryText(ConfigDb, "SELECT wLINK FROM wConfig_HomePage"));
}
