#include "browser/page_zoom.h"

#include <string>

#include "app/page_controls.h"
#include "bridge/chrome_animator.h"
#include "browser/tab_set.h"
#include "browser/tab_text.h"

namespace {
constexpr int MinPercentage = 10;
constexpr int MaxPercentage = 900;
constexpr double FactorStep = 0.1;
constexpr int PercentageStep = 10;
} // namespace

PageZoom::PageZoom(const PageControls& controls, TabSet& tabs, ChromeAnimator& chrome)
    : m_controls(controls), m_tabs(tabs), m_chrome(chrome)
{
}

void PageZoom::ZoomInButton_Click(ui::Element&)
{
    m_chrome.ClosePanel(&OpenFlags::ContextMenu);
    ZoomIn();
}

void PageZoom::ZoomOutButton_Click(ui::Element&)
{
    m_chrome.ClosePanel(&OpenFlags::ContextMenu);
    ZoomOut();
}

void PageZoom::ZoomIn()
{
    Step(FactorStep, PercentageStep);
}

void PageZoom::ZoomOut()
{
    Step(-FactorStep, -PercentageStep);
}

// Without a tab there is nothing to zoom.
void PageZoom::Step(double factorStep, int percentageStep)
{
    if (!m_tabs.CurrentWebView())
        return;
    const auto& slot = m_tabs.Slot(m_tabs.CurrentTabIndex());
    if (percentageStep > 0 ? slot.ZoomPercentage >= MaxPercentage : slot.ZoomPercentage <= MinPercentage)
        return;
    Apply(slot.ZoomFactor + factorStep, slot.ZoomPercentage + percentageStep);
}

void PageZoom::ResetZoom()
{
    if (m_tabs.CurrentWebView())
        Apply(1.0, 100);
}

// The script is handed over, not awaited: the label never waits on the page.
void PageZoom::Apply(double factor, int percentage)
{
    int tab = m_tabs.CurrentTabIndex();
    m_tabs.SetZoom(tab, factor, percentage);
    m_tabs.CurrentWebView()->InvokeScriptAsync("eval", {ZoomScript(factor)});
    m_controls.ZoomText->SetText(std::to_string(percentage) + "%");
}
