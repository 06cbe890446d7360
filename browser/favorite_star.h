#pragma once
// The favorite star beside the address box: gold and filled when the page is a
// favorite. The favorites database must be open.
#include <string>

#include "platform/ui/element.h"

void ShowFavoriteStar(ui::Button& star, const std::string& link, const std::string& theme);
