#pragma once
// The rows or columns of one grid during a layout pass: pixel tracks keep
// their size, auto tracks grow to their cells, star tracks share the rest by
// weight (and act as auto when the space along them is unbounded).
#include <vector>

#include "platform/ui/element.h"

namespace ui {

// A visible child with its row and column clamped into the grid.
struct GridCell {
    Element* Child = nullptr;
    int Column = 0;
    int ColumnSpan = 1;
    int Row = 0;
    int RowSpan = 1;
};

class GridAxis {
public:
    GridAxis(std::vector<GridLength> definitions, double available, bool isColumns);

    int Count() const { return static_cast<int>(m_definitions.size()); }
    // True when the span holds a star track that shares a bounded space.
    bool HasStar(int start, int span) const;
    bool HasAuto(int start, int span) const;
    // The space to measure a cell in: unbounded across auto tracks, and
    // across star tracks until they are resolved.
    double Constraint(int start, int span, bool starsResolved) const;

    // Grows auto tracks to the cells that lie only in pixel and auto tracks.
    void GrowAutoTracks(const std::vector<GridCell>& cells);
    void ResolveStars(double available);
    // Records what the cells in each star track need, for the desired size.
    void NoteStarContent(const std::vector<GridCell>& cells);
    double DesiredTotal() const;

    // Final sizes for the arranged space.
    void ResolveForArrange(double size);
    double Offset(int index) const;
    double Sum(int start, int span) const;

private:
    bool IsAutoLike(int index) const;
    bool IsSharingStar(int index) const;
    int Start(const GridCell& cell) const { return m_isColumns ? cell.Column : cell.Row; }
    int Span(const GridCell& cell) const { return m_isColumns ? cell.ColumnSpan : cell.RowSpan; }
    double Extent(const GridCell& cell) const;
    void ShareStars(double available, const std::vector<double>& minimums);

    std::vector<GridLength> m_definitions;
    bool m_starsAsAuto;
    bool m_isColumns;
    std::vector<double> m_sizes;
    std::vector<double> m_starContent;
};

struct GridTracks {
    GridTracks(Grid& grid, Size inner);
    std::vector<GridCell> Cells;
    GridAxis Columns;
    GridAxis Rows;
};

} // namespace ui
