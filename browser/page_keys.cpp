#include "browser/page_keys.h"

void PageKeys::OnBackRequested(bool& handled)
{
    // The platform never navigates away on its own.
    handled = true;
}
