// The rating prompt check at start.
#include "app/main_page.h"

void MainPage::CheckRatingPrompt() {}
