#include "browser/home_page.h"

#include "storage/database.h"

std::optional<platform::Uri> ReadHomePage()
{
    return platform::Uri::Parse(QueryText(ConfigDb, "SELECT wLINK FROM wConfig_HomePage"));
}
