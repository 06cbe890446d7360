#pragma once
// Mirrors a tree of elements into GTK widgets and keeps them in step: panels
// become containers that place children where the layout engine says, other
// elements native widgets; the contents of a scrolled list's rows wait until
// the row first comes into view. Every allocation of the root widget (a window
// resize, or a change that affects layout) lays the whole tree out again.
#include <gtk/gtk.h>

#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "platform/gtk/element_view.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/text_measurer.h"
#include "platform/ui/element.h"
#include "platform/ui/layout.h"

namespace gtkui {

class Renderer final : public ui::ElementObserver {
public:
    // Becomes the root's observer until destroyed.
    explicit Renderer(ui::Element& root);
    ~Renderer() override;
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // The widget to put in a window: it fills the window and lays the tree
    // out to its size.
    GtkWidget* RootWidget() const { return m_host.Get(); }
    // The widget mirroring an element of the tree; nullptr for others.
    GtkWidget* WidgetFor(const ui::Element& element) const;
    // The text metrics the layout uses.
    const ui::TextMeasurer& Measurer() const { return m_measurer; }

    // Lays the tree out again at the next frame.
    void QueueLayout();

private:
    void OnPropertyChanged(ui::Element& element, ui::Property property) override;
    void OnChildAdded(ui::Panel& panel, ui::Element& child, size_t index) override;
    void OnChildRemoving(ui::Panel& panel, ui::Element& child, size_t index) override;

    // Creates the views of an element and its descendants and puts the
    // element's widget into `host` before `sibling` (nullptr: on top).
    void AddTree(ui::Element& element, GtkWidget* host, GtkWidget* sibling);
    void RemoveTree(ui::Element& element);
    void Layout(int width, int height);
    // Gives the rows that came into view the widgets of their contents.
    void ShowRowsInView(ui::Size window);

    ui::Element& m_root;
    ViewContext m_context;
    GObjectPtr<GtkWidget> m_host;
    PangoTextMeasurer m_measurer;
    std::unordered_map<const ui::Element*, std::unique_ptr<ElementView>> m_views;
    // Rows of scrolled lists whose contents have no widgets yet: a list of
    // thousands of rows makes widgets only for the rows that have been seen.
    std::unordered_set<ui::Element*> m_unseenRows;
    bool m_layingOut = false;
};

} // namespace gtkui
