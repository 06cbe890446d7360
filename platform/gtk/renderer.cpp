#include "platform/gtk/renderer.h"

#include "platform/gtk/element_container.h"

#include <vector>

namespace gtkui {

namespace {

// Short lists (the tab strip, a few favorites) get their widgets at once, as
// everything else does; only the rows of a long list wait to be seen.
constexpr size_t LongListRows = 64;

// A panel that is a row beyond the first rows of a scrolled list (a panel
// inside a scroll viewer).
bool IsLongListRow(ui::Element& element)
{
    ui::Element* list = element.Parent();
    const ui::Element* viewer = list ? list->Parent() : nullptr;
    return element.AsPanel() && viewer && viewer->Kind() == ui::ElementKind::ScrollViewer &&
           list->AsPanel()->Count() > LongListRows;
}

bool Overlap(const ui::Rect& a, const ui::Rect& b)
{
    return a.X < b.X + b.Width && b.X < a.X + a.Width && a.Y < b.Y + b.Height && b.Y < a.Y + a.Height;
}

// Whether any of the row shows through its viewer inside the window.
bool InView(const ui::Element& row, ui::Size window)
{
    for (const ui::Element* e = &row; e; e = e->Parent())
        if (e->GetVisibility() != ui::Visibility::Visible)
            return false;
    const ui::Rect viewer = ui::AbsoluteRect(*row.Parent()->Parent());
    return Overlap(viewer, {0, 0, window.Width, window.Height}) && Overlap(ui::AbsoluteRect(row), viewer);
}

} // namespace

Renderer::Renderer(ui::Element& root)
    : m_root(root)
    , m_host(RefSink(ElementContainerNew()))
    , m_measurer(m_host.Get())
{
    InstallBaseStyles(gtk_widget_get_display(m_host.Get()));
    gtk_widget_set_hexpand(m_host.Get(), TRUE);
    gtk_widget_set_vexpand(m_host.Get(), TRUE);
    AddTree(root, m_host.Get(), nullptr);
    ElementContainerSetLayoutHook(m_host.Get(), [this](int width, int height) { Layout(width, height); });
    root.SetObserver(this);
}

Renderer::~Renderer()
{
    m_root.SetObserver(nullptr);
    ElementContainerSetLayoutHook(m_host.Get(), nullptr);
    RemoveTree(m_root);
}

GtkWidget* Renderer::WidgetFor(const ui::Element& element) const
{
    auto found = m_views.find(&element);
    return found == m_views.end() ? nullptr : found->second->Widget();
}

void Renderer::QueueLayout()
{
    // A change made by the layout itself (a scroll offset clamped to the
    // extent) is placed by the allocation already under way.
    if (!m_layingOut)
        gtk_widget_queue_resize(m_host.Get());
}

void Renderer::Layout(int width, int height)
{
    m_layingOut = true;
    ui::UpdateLayout(m_root, {static_cast<double>(width), static_cast<double>(height)}, m_measurer);
    ShowRowsInView({static_cast<double>(width), static_cast<double>(height)});
    for (auto& [element, view] : m_views)
        view->AfterLayout();
    m_layingOut = false;
}

void Renderer::OnPropertyChanged(ui::Element& element, ui::Property property)
{
    auto found = m_views.find(&element);
    if (found == m_views.end())
        return;
    found->second->Apply(property);
    if (ui::AffectsLayout(property))
        QueueLayout();
    else
        gtk_widget_queue_draw(found->second->Widget());
}

void Renderer::ShowRowsInView(ui::Size window)
{
    std::vector<ui::Element*> seen;
    for (ui::Element* row : m_unseenRows)
        if (InView(*row, window))
            seen.push_back(row);
    for (ui::Element* row : seen) {
        m_unseenRows.erase(row);
        ui::Panel& panel = *row->AsPanel();
        GtkWidget* host = m_views.at(row)->ChildHost();
        for (size_t i = 0; i < panel.Count(); ++i)
            AddTree(panel.ChildAt(i), host, nullptr);
    }
}

void Renderer::OnChildAdded(ui::Panel& panel, ui::Element& child, size_t index)
{
    if (m_unseenRows.count(&panel))
        return; // made when the row comes into view
    auto parent = m_views.find(&panel);
    if (parent == m_views.end() || !parent->second->ChildHost())
        return;
    // Widgets stack in the panel's order: later children draw and pick on top.
    GtkWidget* sibling = nullptr;
    for (size_t i = index + 1; i < panel.Count() && !sibling; ++i)
        sibling = WidgetFor(panel.ChildAt(i));
    AddTree(child, parent->second->ChildHost(), sibling);
    QueueLayout();
}

void Renderer::OnChildRemoving(ui::Panel& panel, ui::Element& child, size_t index)
{
    RemoveTree(child);
    QueueLayout();
}

void Renderer::AddTree(ui::Element& element, GtkWidget* host, GtkWidget* sibling)
{
    auto view = CreateView(element, m_context);
    GtkWidget* widget = view->Widget();
    if (GtkWidget* oldParent = gtk_widget_get_parent(widget); oldParent && oldParent != host)
        gtk_widget_unparent(widget); // a native widget shown elsewhere before
    if (!gtk_widget_get_parent(widget))
        gtk_widget_insert_before(widget, host, sibling);
    GtkWidget* childHost = view->ChildHost();
    m_views[&element] = std::move(view);
    if (ui::Panel* panel = element.AsPanel(); panel && childHost) {
        if (IsLongListRow(element)) {
            m_unseenRows.insert(&element);
            QueueLayout(); // the layout tells whether it shows
            return;
        }
        for (size_t i = 0; i < panel->Count(); ++i)
            AddTree(panel->ChildAt(i), childHost, nullptr);
    }
}

void Renderer::RemoveTree(ui::Element& element)
{
    if (ui::Panel* panel = element.AsPanel()) {
        for (size_t i = panel->Count(); i > 0; --i)
            RemoveTree(panel->ChildAt(i - 1));
    }
    m_unseenRows.erase(&element);
    m_views.erase(&element); // the view unparents and releases its widget
}

} // namespace gtkui
