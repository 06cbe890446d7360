// The system back request.
#include "app/main_page.h"

void MainPage::OnBackRequested(bool& handled)
{
    // The platform never navigates away on its own.
    handled = true;
}
