// Theme application: paints the page with the stored theme at start.
#include "app/main_page.h"

void MainPage::ApplyTheme()
{
    // The page markup is painted in the default dark theme; the other themes
    // and the bar placement come with the settings work.
}
