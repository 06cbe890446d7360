// The open flags of the page chrome; the polling timer animates them.
#include "app/main_page.h"
#include "app/process_state.h"

void MainPage::CloseAll()
{
    Flags = {};
    Process().Bridge.ContextMenuOpen = false;
}
