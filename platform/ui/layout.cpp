#include "platform/ui/layout.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "platform/ui/grid_tracks.h"
#include "platform/ui/intrinsic_size.h"

namespace ui {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The element's size limits with an explicit Width/Height folded in, as the
// markup's layout does: an explicit size wins, and Min/Max clamp it.
struct SizeBounds {
    double MinWidth, MaxWidth, MinHeight, MaxHeight;
};

SizeBounds BoundsOf(const Element& e)
{
    auto axis = [](double explicitSize, double minimum, double maximum, double& outMin, double& outMax) {
        outMax = std::max(std::min(IsAuto(explicitSize) ? kInfinity : explicitSize, maximum), minimum);
        outMin = std::max(std::min(outMax, IsAuto(explicitSize) ? 0.0 : explicitSize), minimum);
    };
    SizeBounds b{};
    axis(e.Width(), e.MinWidth(), e.MaxWidth(), b.MinWidth, b.MaxWidth);
    axis(e.Height(), e.MinHeight(), e.MaxHeight(), b.MinHeight, b.MaxHeight);
    return b;
}

Thickness Add(const Thickness& a, const Thickness& b)
{
    return Thickness(a.Left + b.Left, a.Top + b.Top, a.Right + b.Right, a.Bottom + b.Bottom);
}

// Infinite stays infinite; nothing shrinks below zero.
Size Deflate(Size s, const Thickness& t)
{
    return {std::max(0.0, s.Width - t.Left - t.Right), std::max(0.0, s.Height - t.Top - t.Bottom)};
}

Size Inflate(Size s, const Thickness& t)
{
    return {s.Width + t.Left + t.Right, s.Height + t.Top + t.Bottom};
}

bool IsCollapsed(const Element& e)
{
    return e.GetVisibility() == Visibility::Collapsed;
}

// Where an element of the given extent goes inside its client span.
double AlignmentOffset(double client, double extent, bool start, bool end)
{
    if (start)
        return 0;
    if (end)
        return client - extent;
    return (client - extent) / 2;
}

class LayoutPass {
public:
    explicit LayoutPass(const TextMeasurer& measurer) : m_measurer(measurer) {}

    void Measure(Element& e, Size available);
    void Arrange(Element& e, Rect slot);

private:
    Size MeasureContent(Element& e, Size available);
    void ArrangeContent(Element& e, Size size);

    Size MeasureStack(StackPanel& panel, Size inner);
    Size MeasureLayered(Panel& panel, Size inner);
    Size MeasureScroll(ScrollViewer& viewer, Size inner);
    Size MeasureGrid(Grid& grid, Size inner);

    void ArrangeStack(StackPanel& panel, Rect inner);
    void ArrangeLayered(Panel& panel, Rect inner);
    void ArrangeScroll(ScrollViewer& viewer, Rect inner);
    void ArrangeGrid(Grid& grid, Rect inner);

    // The size without margins that the last measure settled on.
    Size OwnSize(Element& e, Size fallbackAvailable);

    struct Measured {
        Size Available;
        Size Own;
    };

    const TextMeasurer& m_measurer;
    std::unordered_map<const Element*, Measured> m_measured;
    std::unordered_map<const Grid*, GridTracks> m_grids;
};

void LayoutPass::Measure(Element& e, Size available)
{
    auto found = m_measured.find(&e);
    if (found != m_measured.end() && found->second.Available == available)
        return; // the subtree already answered for this space in this pass

    if (IsCollapsed(e)) {
        e.DesiredSize = {};
        m_measured[&e] = {available, {}};
        return;
    }
    const Thickness& margin = e.Margin();
    SizeBounds bounds = BoundsOf(e);
    Size space = Deflate(available, margin);
    space.Width = std::min(std::max(space.Width, bounds.MinWidth), bounds.MaxWidth);
    space.Height = std::min(std::max(space.Height, bounds.MinHeight), bounds.MaxHeight);

    Size content = MeasureContent(e, space);
    Size own{std::clamp(content.Width, bounds.MinWidth, std::max(bounds.MinWidth, bounds.MaxWidth)),
             std::clamp(content.Height, bounds.MinHeight, std::max(bounds.MinHeight, bounds.MaxHeight))};
    m_measured[&e] = {available, own};

    // A negative margin shrinks what the element asks for, so its
    // neighbours move under it.
    Size withMargins = Inflate(own, margin);
    e.DesiredSize = {std::max(0.0, std::min(withMargins.Width, available.Width)),
                     std::max(0.0, std::min(withMargins.Height, available.Height))};
}

Size LayoutPass::OwnSize(Element& e, Size fallbackAvailable)
{
    auto found = m_measured.find(&e);
    if (found == m_measured.end()) {
        Measure(e, fallbackAvailable);
        found = m_measured.find(&e);
    }
    return found->second.Own;
}

void LayoutPass::Arrange(Element& e, Rect slot)
{
    if (IsCollapsed(e)) {
        e.LayoutRect = {slot.X, slot.Y, 0, 0};
        return;
    }
    const Thickness& margin = e.Margin();
    Size client = Deflate({slot.Width, slot.Height}, margin);
    Size own = OwnSize(e, {slot.Width, slot.Height});
    SizeBounds bounds = BoundsOf(e);

    // Stretch fills the slot (never less than asked for); any other
    // alignment keeps the measured size. Max (and so an explicit size) wins.
    bool stretchX = e.HorizontalAlignment() == HorizontalAlignment::Stretch;
    bool stretchY = e.VerticalAlignment() == VerticalAlignment::Stretch;
    Size size{stretchX ? std::max(client.Width, own.Width) : own.Width,
              stretchY ? std::max(client.Height, own.Height) : own.Height};
    size.Width = std::max(std::min(size.Width, bounds.MaxWidth), own.Width);
    size.Height = std::max(std::min(size.Height, bounds.MaxHeight), own.Height);

    // A stretched element held smaller by its size centres, as in the markup's layout.
    auto h = e.HorizontalAlignment();
    auto v = e.VerticalAlignment();
    double x = AlignmentOffset(client.Width, size.Width,
                               h == HorizontalAlignment::Left || (stretchX && size.Width > client.Width),
                               h == HorizontalAlignment::Right);
    double y = AlignmentOffset(client.Height, size.Height,
                               v == VerticalAlignment::Top || (stretchY && size.Height > client.Height),
                               v == VerticalAlignment::Bottom);
    e.LayoutRect = {slot.X + margin.Left + x, slot.Y + margin.Top + y, size.Width, size.Height};
    ArrangeContent(e, size);
}

Size LayoutPass::MeasureContent(Element& e, Size available)
{
    Thickness chrome = Add(e.BorderThickness(), e.Padding());
    Size inner = Deflate(available, chrome);
    Size content;
    switch (e.Kind()) {
    case ElementKind::Grid: content = MeasureGrid(static_cast<Grid&>(e), inner); break;
    case ElementKind::StackPanel: content = MeasureStack(static_cast<StackPanel&>(e), inner); break;
    case ElementKind::Border: content = MeasureLayered(static_cast<Border&>(e), inner); break;
    case ElementKind::ScrollViewer: content = MeasureScroll(static_cast<ScrollViewer&>(e), inner); break;
    default: content = IntrinsicSize(e, inner, m_measurer); break;
    }
    return Inflate(content, chrome);
}

void LayoutPass::ArrangeContent(Element& e, Size size)
{
    Panel* panel = e.AsPanel();
    if (!panel)
        return;
    Thickness chrome = Add(e.BorderThickness(), e.Padding());
    Size innerSize = Deflate(size, chrome);
    Rect inner{chrome.Left, chrome.Top, innerSize.Width, innerSize.Height};
    switch (e.Kind()) {
    case ElementKind::Grid: ArrangeGrid(static_cast<Grid&>(e), inner); break;
    case ElementKind::StackPanel: ArrangeStack(static_cast<StackPanel&>(e), inner); break;
    case ElementKind::ScrollViewer: ArrangeScroll(static_cast<ScrollViewer&>(e), inner); break;
    default: ArrangeLayered(*panel, inner); break;
    }
}

// --- StackPanel: children get unbounded space along the stacking direction --

Size LayoutPass::MeasureStack(StackPanel& panel, Size inner)
{
    bool vertical = panel.Orientation() == Orientation::Vertical;
    Size childSpace = vertical ? Size{inner.Width, kInfinity} : Size{kInfinity, inner.Height};
    double along = 0;
    double across = 0;
    int shown = 0;
    for (size_t i = 0; i < panel.Count(); ++i) {
        Element& child = panel.ChildAt(i);
        Measure(child, childSpace);
        if (IsCollapsed(child))
            continue;
        along += vertical ? child.DesiredSize.Height : child.DesiredSize.Width;
        across = std::max(across, vertical ? child.DesiredSize.Width : child.DesiredSize.Height);
        ++shown;
    }
    along += panel.Spacing() * std::max(0, shown - 1);
    return vertical ? Size{across, along} : Size{along, across};
}

void LayoutPass::ArrangeStack(StackPanel& panel, Rect inner)
{
    bool vertical = panel.Orientation() == Orientation::Vertical;
    double position = vertical ? inner.Y : inner.X;
    for (size_t i = 0; i < panel.Count(); ++i) {
        Element& child = panel.ChildAt(i);
        Size d = child.DesiredSize;
        if (IsCollapsed(child)) {
            Arrange(child, {vertical ? inner.X : position, vertical ? position : inner.Y, 0, 0});
            continue;
        }
        if (vertical) {
            Arrange(child, {inner.X, position, std::max(inner.Width, d.Width), d.Height});
            position += d.Height + panel.Spacing();
        } else {
            Arrange(child, {position, inner.Y, d.Width, std::max(inner.Height, d.Height)});
            position += d.Width + panel.Spacing();
        }
    }
}

// --- Border (and any panel without its own rule): children share the inner box --

Size LayoutPass::MeasureLayered(Panel& panel, Size inner)
{
    Size content;
    for (size_t i = 0; i < panel.Count(); ++i) {
        Element& child = panel.ChildAt(i);
        Measure(child, inner);
        content.Width = std::max(content.Width, child.DesiredSize.Width);
        content.Height = std::max(content.Height, child.DesiredSize.Height);
    }
    return content;
}

void LayoutPass::ArrangeLayered(Panel& panel, Rect inner)
{
    for (size_t i = 0; i < panel.Count(); ++i)
        Arrange(panel.ChildAt(i), inner);
}

// --- ScrollViewer: unbounded along the scrolling directions, clipped, offset --

Size LayoutPass::MeasureScroll(ScrollViewer& viewer, Size inner)
{
    Size childSpace{viewer.HorizontalScrollBarVisibility() == ScrollBarVisibility::Disabled ? inner.Width : kInfinity,
                    viewer.VerticalScrollBarVisibility() == ScrollBarVisibility::Disabled ? inner.Height : kInfinity};
    Size content;
    for (size_t i = 0; i < viewer.Count(); ++i) {
        Element& child = viewer.ChildAt(i);
        Measure(child, childSpace);
        content.Width = std::max(content.Width, child.DesiredSize.Width);
        content.Height = std::max(content.Height, child.DesiredSize.Height);
    }
    // The viewer asks for no more than it was offered: the rest scrolls.
    return {std::min(content.Width, inner.Width), std::min(content.Height, inner.Height)};
}

void LayoutPass::ArrangeScroll(ScrollViewer& viewer, Rect inner)
{
    Size extent;
    for (size_t i = 0; i < viewer.Count(); ++i) {
        extent.Width = std::max(extent.Width, viewer.ChildAt(i).DesiredSize.Width);
        extent.Height = std::max(extent.Height, viewer.ChildAt(i).DesiredSize.Height);
    }
    viewer.ExtentSize = extent;
    viewer.ViewportSize = {inner.Width, inner.Height};
    viewer.ScrollTo(std::min(viewer.HorizontalOffset(), std::max(0.0, extent.Width - inner.Width)),
                    std::min(viewer.VerticalOffset(), std::max(0.0, extent.Height - inner.Height)));

    // Content smaller than the viewport still fills it, so stretched
    // children reach the edges.
    Rect slot{inner.X - viewer.HorizontalOffset(), inner.Y - viewer.VerticalOffset(),
              std::max(extent.Width, inner.Width), std::max(extent.Height, inner.Height)};
    for (size_t i = 0; i < viewer.Count(); ++i)
        Arrange(viewer.ChildAt(i), slot);
}

// --- Grid ----------------------------------------------------------------------

Size LayoutPass::MeasureGrid(Grid& grid, Size inner)
{
    for (size_t i = 0; i < grid.Count(); ++i) {
        if (IsCollapsed(grid.ChildAt(i)))
            Measure(grid.ChildAt(i), inner);
    }
    GridTracks tracks(grid, inner);
    auto measureCell = [&](const GridCell& cell, bool rowsResolved) {
        Measure(*cell.Child, {tracks.Columns.Constraint(cell.Column, cell.ColumnSpan, true),
                              tracks.Rows.Constraint(cell.Row, cell.RowSpan, rowsResolved)});
    };

    // Columns first: cells outside star columns size the auto columns,
    // then the stars share what is left.
    for (const auto& cell : tracks.Cells) {
        if (!tracks.Columns.HasStar(cell.Column, cell.ColumnSpan))
            measureCell(cell, false);
    }
    tracks.Columns.GrowAutoTracks(tracks.Cells);
    tracks.Columns.ResolveStars(inner.Width);

    // Rows next, with every column's width known.
    for (const auto& cell : tracks.Cells) {
        if (!tracks.Rows.HasStar(cell.Row, cell.RowSpan))
            measureCell(cell, false);
    }
    tracks.Rows.GrowAutoTracks(tracks.Cells);
    tracks.Rows.ResolveStars(inner.Height);

    // Last, every cell with its final height, so star cells see their space;
    // a cell across star and auto rows too (the autos are grown by now), or
    // a scrolling panel there would take its whole content's height.
    for (const auto& cell : tracks.Cells) {
        if (std::isfinite(inner.Height) && tracks.Rows.HasStar(cell.Row, cell.RowSpan))
            Measure(*cell.Child, {tracks.Columns.Constraint(cell.Column, cell.ColumnSpan, true),
                                  tracks.Rows.Sum(cell.Row, cell.RowSpan)});
        else
            measureCell(cell, true);
    }
    tracks.Columns.NoteStarContent(tracks.Cells);
    tracks.Rows.NoteStarContent(tracks.Cells);

    Size desired{tracks.Columns.DesiredTotal(), tracks.Rows.DesiredTotal()};
    m_grids.insert_or_assign(&grid, std::move(tracks));
    return desired;
}

void LayoutPass::ArrangeGrid(Grid& grid, Rect inner)
{
    auto found = m_grids.find(&grid);
    if (found == m_grids.end()) {
        MeasureGrid(grid, {inner.Width, inner.Height});
        found = m_grids.find(&grid);
    }
    GridTracks& tracks = found->second;
    tracks.Columns.ResolveForArrange(inner.Width);
    tracks.Rows.ResolveForArrange(inner.Height);
    for (const auto& cell : tracks.Cells) {
        Arrange(*cell.Child, {inner.X + tracks.Columns.Offset(cell.Column), inner.Y + tracks.Rows.Offset(cell.Row),
                              tracks.Columns.Sum(cell.Column, cell.ColumnSpan),
                              tracks.Rows.Sum(cell.Row, cell.RowSpan)});
    }
    // Collapsed children take no cell.
    for (size_t i = 0; i < grid.Count(); ++i) {
        Element& child = grid.ChildAt(i);
        if (IsCollapsed(child))
            Arrange(child, {inner.X, inner.Y, 0, 0});
    }
}

} // namespace

void UpdateLayout(Element& root, Size available, const TextMeasurer& measurer)
{
    LayoutPass pass(measurer);
    pass.Measure(root, available);
    Size final{std::isinf(available.Width) ? root.DesiredSize.Width : available.Width,
               std::isinf(available.Height) ? root.DesiredSize.Height : available.Height};
    pass.Arrange(root, {0, 0, final.Width, final.Height});
}

Rect AbsoluteRect(const Element& element)
{
    Rect rect = element.LayoutRect;
    for (const Element* p = element.Parent(); p; p = p->Parent()) {
        rect.X += p->LayoutRect.X;
        rect.Y += p->LayoutRect.Y;
    }
    return rect;
}

} // namespace ui
