#pragma once
// A bar built in code that sits over the pages, under the menus and panels the
// markup puts above them.
#include <memory>

#include "app/page_controls.h"
#include "platform/ui/element.h"

// Inserts bar just after the pages' host; returns it, now owned by the page.
inline ui::Element* PlaceOverPages(const PageControls& controls, std::unique_ptr<ui::Element> bar)
{
    auto& root = *controls.RootGrid;
    auto at = root.IndexOf(*controls.WebViewHost);
    ui::Element* placed = bar.get();
    root.Insert(at ? *at + 1 : root.Count(), std::move(bar));
    return placed;
}
