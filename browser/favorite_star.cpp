#include "browser/favorite_star.h"

#include "browser/visit_statements.h"
#include "settings/theme_painter.h"
#include "storage/database.h"

namespace {
const char* FilledStar = "\xEE\x87\x8F"; // U+E1CF
const char* EmptyStar = "\xEE\x88\x88";  // U+E208
} // namespace

void ShowFavoriteStar(ui::Button& star, const std::string& link, const std::string& theme)
{
    if (QueryInteger(FavoritesDb, FavoriteLookupQuery(link)) != -1) {
        star.SetContent(FilledStar);
        star.SetForeground(ui::Color::FromRgb(247, 203, 0));
        return;
    }
    star.SetContent(EmptyStar);
    star.SetForeground(ThemePainter::IconColor(theme));
}
