#include "platform/ui/grid_tracks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ui {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::vector<GridLength> OrOneStar(std::vector<GridLength> definitions)
{
    if (definitions.empty())
        definitions.push_back(GridLength::Star(1));
    return definitions;
}

} // namespace

GridAxis::GridAxis(std::vector<GridLength> definitions, double available, bool isColumns)
    : m_definitions(OrOneStar(std::move(definitions))), m_starsAsAuto(std::isinf(available)), m_isColumns(isColumns)
{
    m_sizes.assign(m_definitions.size(), 0);
    m_starContent.assign(m_definitions.size(), 0);
    for (size_t i = 0; i < m_definitions.size(); ++i) {
        if (m_definitions[i].Kind == GridLength::Unit::Pixel)
            m_sizes[i] = m_definitions[i].Value;
    }
}

bool GridAxis::IsAutoLike(int index) const
{
    auto kind = m_definitions[index].Kind;
    return kind == GridLength::Unit::Auto || (kind == GridLength::Unit::Star && m_starsAsAuto);
}

bool GridAxis::IsSharingStar(int index) const
{
    return m_definitions[index].Kind == GridLength::Unit::Star && !m_starsAsAuto;
}

bool GridAxis::HasStar(int start, int span) const
{
    for (int i = start; i < start + span; ++i) {
        if (IsSharingStar(i))
            return true;
    }
    return false;
}

bool GridAxis::HasAuto(int start, int span) const
{
    for (int i = start; i < start + span; ++i) {
        if (IsAutoLike(i))
            return true;
    }
    return false;
}

double GridAxis::Constraint(int start, int span, bool starsResolved) const
{
    // Once the stars are shared out, the auto tracks a star cell spans are
    // final too (star cells never grow them): the cell gets the space it will
    // be arranged in, so a scroll viewer there scrolls instead of growing to
    // its content.
    if (starsResolved && HasStar(start, span))
        return Sum(start, span);
    if (HasAuto(start, span) || (!starsResolved && HasStar(start, span)))
        return kInfinity;
    return Sum(start, span);
}

double GridAxis::Extent(const GridCell& cell) const
{
    return m_isColumns ? cell.Child->DesiredSize.Width : cell.Child->DesiredSize.Height;
}

void GridAxis::GrowAutoTracks(const std::vector<GridCell>& cells)
{
    std::vector<const GridCell*> spanning;
    for (const auto& cell : cells) {
        int start = Start(cell);
        int span = Span(cell);
        if (HasStar(start, span) || !HasAuto(start, span))
            continue;
        if (span == 1)
            m_sizes[start] = std::max(m_sizes[start], Extent(cell));
        else
            spanning.push_back(&cell);
    }
    // Spanning cells afterwards, narrowest first: each adds what its tracks
    // still lack, evenly over the auto tracks it covers.
    std::stable_sort(spanning.begin(), spanning.end(),
                     [&](const GridCell* a, const GridCell* b) { return Span(*a) < Span(*b); });
    for (const GridCell* cell : spanning) {
        int start = Start(*cell);
        int span = Span(*cell);
        double lacking = Extent(*cell) - Sum(start, span);
        if (lacking <= 0)
            continue;
        int autoTracks = 0;
        for (int i = start; i < start + span; ++i)
            autoTracks += IsAutoLike(i) ? 1 : 0;
        for (int i = start; i < start + span; ++i) {
            if (IsAutoLike(i))
                m_sizes[i] += lacking / autoTracks;
        }
    }
}

void GridAxis::ShareStars(double available, const std::vector<double>& minimums)
{
    double rest = available;
    std::vector<bool> settled(m_definitions.size(), false);
    for (int i = 0; i < Count(); ++i) {
        if (m_definitions[i].Kind != GridLength::Unit::Star) {
            rest -= m_sizes[i];
            settled[i] = true;
        }
    }
    // A star that would get less than its minimum takes the minimum and
    // leaves the sharing; repeat until every share holds.
    for (;;) {
        double weights = 0;
        for (int i = 0; i < Count(); ++i)
            weights += settled[i] ? 0 : m_definitions[i].Value;
        bool changed = false;
        for (int i = 0; i < Count(); ++i) {
            if (settled[i])
                continue;
            double share = weights > 0 ? std::max(0.0, rest) * m_definitions[i].Value / weights : 0;
            if (share < minimums[i]) {
                m_sizes[i] = minimums[i];
                rest -= minimums[i];
                settled[i] = true;
                changed = true;
            }
        }
        if (changed)
            continue;
        for (int i = 0; i < Count(); ++i) {
            if (!settled[i])
                m_sizes[i] = weights > 0 ? std::max(0.0, rest) * m_definitions[i].Value / weights : 0;
        }
        return;
    }
}

void GridAxis::ResolveStars(double available)
{
    if (m_starsAsAuto)
        return; // they grew as auto tracks
    ShareStars(available, std::vector<double>(m_definitions.size(), 0));
}

void GridAxis::NoteStarContent(const std::vector<GridCell>& cells)
{
    for (int i = 0; i < Count(); ++i)
        m_starContent[i] = m_starsAsAuto ? m_sizes[i] : 0;
    if (m_starsAsAuto)
        return;
    for (const auto& cell : cells) {
        int start = Start(cell);
        if (Span(cell) == 1 && IsSharingStar(start))
            m_starContent[start] = std::max(m_starContent[start], Extent(cell));
    }
}

double GridAxis::DesiredTotal() const
{
    double total = 0;
    for (int i = 0; i < Count(); ++i)
        total += m_definitions[i].Kind == GridLength::Unit::Star ? m_starContent[i] : m_sizes[i];
    return total;
}

void GridAxis::ResolveForArrange(double size)
{
    // Stars measured as auto keep at least their content; stars that shared
    // a bounded space may shrink below it, as the markup's layout allows.
    std::vector<double> minimums(m_definitions.size(), 0);
    if (m_starsAsAuto)
        minimums = m_starContent;
    ShareStars(size, minimums);
}

double GridAxis::Offset(int index) const
{
    return Sum(0, index);
}

double GridAxis::Sum(int start, int span) const
{
    double total = 0;
    for (int i = start; i < start + span && i < Count(); ++i)
        total += m_sizes[i];
    return total;
}

GridTracks::GridTracks(Grid& grid, Size inner)
    : Columns(grid.ColumnDefinitions(), inner.Width, true), Rows(grid.RowDefinitions(), inner.Height, false)
{
    for (size_t i = 0; i < grid.Count(); ++i) {
        Element& child = grid.ChildAt(i);
        if (child.GetVisibility() == Visibility::Collapsed)
            continue;
        GridCell cell;
        cell.Child = &child;
        cell.Column = std::clamp(child.GridColumn(), 0, Columns.Count() - 1);
        cell.ColumnSpan = std::clamp(child.GridColumnSpan(), 1, Columns.Count() - cell.Column);
        cell.Row = std::clamp(child.GridRow(), 0, Rows.Count() - 1);
        cell.RowSpan = std::clamp(child.GridRowSpan(), 1, Rows.Count() - cell.Row);
        Cells.push_back(cell);
    }
}

} // namespace ui
