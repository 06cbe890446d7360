#include "browser/layout_adaptation.h"

#include "storage/database.h"

void LayoutAdaptation::PlaceBars()
{
    // The bar placement arrives with the layout work.
}

void LayoutAdaptation::AdaptLayout()
{
    // The wide and narrow arrangements arrive with the layout work.
}

void LayoutAdaptation::OnWindowSizeChanged()
{
    AdaptLayout();
}

void LayoutAdaptation::ReadTitleBarStatus()
{
    m_titleBarStatusText = QueryText(ConfigDb, "SELECT wSTATUS FROM wConfig_TitleBarStatus");
}
