// Layout adaptation: bar placement and the wide/narrow title strip.
#include "app/main_page.h"

void MainPage::PlaceBars() {}

void MainPage::AdaptLayout() {}

void MainPage::OnWindowSizeChanged()
{
    AdaptLayout();
}
