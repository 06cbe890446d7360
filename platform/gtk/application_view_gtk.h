#pragma once
// The application view over the main GtkWindow: the content size and its
// changes, a title bar drawn by the page, full-screen mode, back requests
// (Alt+Left, the Back key, mouse button 8), the browser's named keys and the
// application's exit.
#include <gtk/gtk.h>

#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "platform/application_view.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/signal_connection.h"
#include "platform/gtk/source_holder.h"

namespace gtkui {

class WindowApplicationView : public platform::ApplicationView {
public:
    // The view holds a reference to the window for its own lifetime.
    explicit WindowApplicationView(GtkWindow* window);
    ~WindowApplicationView() override;
    WindowApplicationView(const WindowApplicationView&) = delete;
    WindowApplicationView& operator=(const WindowApplicationView&) = delete;

    // The page's widgets exist only once the renderer is built, which is after
    // the page asked for its title bar: this hands over the lookup then.
    void AttachContent(std::function<GtkWidget*(const ui::Element&)> widgetFor);
    // The name of the window's controller that turns keys into back requests.
    static constexpr const char* BackKeysControllerName = "tolvane-back-keys";
    // The widget the window is dragged by, once attached.
    GtkWidget* DragWidget() const { return m_dragWidget; }

    // The window's content size: its default size while it is a normal
    // window, the allocated size of its child once one was allocated.
    ui::Rect VisibleBounds() const override { return m_bounds; }

    void ExtendViewIntoTitleBar(ui::Element& dragArea) override;
    void SetTitleBarColors(const platform::TitleBarColors& colors) override { m_titleBarColors = colors; }
    const std::optional<platform::TitleBarColors>& TitleBarColors() const { return m_titleBarColors; }
    // The page draws into the title bar area (no system title bar).
    bool ExtendsIntoTitleBar() const { return m_dragArea != nullptr; }

    bool TryEnterFullScreenMode() override;
    void ExitFullScreenMode() override;
    // What the browser last asked for, and what the window manager granted.
    bool FullScreenRequested() const { return m_fullScreenRequested; }
    bool IsFullScreen() const { return gtk_window_is_fullscreen(m_window.Get()); }
    void Exit() override;

private:
    void ConnectWindow();
    void ConnectFrameClock();
    void AttachDragArea();
    void InstallController(GtkWidget* widget, GtkEventController* controller);
    void UpdateBounds(int width, int height);
    void RaiseBackRequested(bool& handled);
    void RaiseShortcut(platform::Shortcut shortcut, bool& handled);

    static void DefaultSizeThunk(GObject* window, GParamSpec*, gpointer self);
    static void RealizeThunk(GtkWidget* window, gpointer self);
    static void UnrealizeThunk(GtkWidget* window, gpointer self);
    static void AfterPaintThunk(GdkFrameClock* clock, gpointer self);
    static gboolean RaiseSizeChangedThunk(gpointer self);
    static gboolean KeyPressedThunk(GtkEventControllerKey* controller, guint keyval, guint keycode,
                                    GdkModifierType state, gpointer self);
    static void KeyReleasedThunk(GtkEventControllerKey* controller, guint keyval, guint keycode,
                                 GdkModifierType state, gpointer self);
    static void BackButtonThunk(GtkGestureClick* gesture, int nPress, double x, double y, gpointer self);
    static void ForwardButtonThunk(GtkGestureClick* gesture, int nPress, double x, double y, gpointer self);
    static void TitleClickThunk(GtkGestureClick* gesture, int nPress, double x, double y, gpointer self);
    static void TitleDragThunk(GtkGestureDrag* gesture, double offsetX, double offsetY, gpointer self);

    GObjectPtr<GtkWindow> m_window;
    ui::Rect m_bounds;
    ui::Rect m_reported;
    SourceHolder m_raiseSizeChanged;
    std::vector<SignalConnection> m_windowSignals;
    GObjectPtr<GdkFrameClock> m_frameClock;
    SignalConnection m_afterPaint;

    // Controllers this view added, removed again on destruction.
    struct Installed {
        GObjectPtr<GtkWidget> Widget;
        GObjectPtr<GtkEventController> Controller;
    };
    std::vector<Installed> m_controllers;

    std::function<GtkWidget*(const ui::Element&)> m_widgetFor;
    ui::Element* m_dragArea = nullptr;
    GtkWidget* m_dragWidget = nullptr;
    std::optional<platform::TitleBarColors> m_titleBarColors;
    // Keys down now (by hardware code), to tell a held key's repeats.
    std::set<guint> m_heldKeys;
    bool m_fullScreenRequested = false;
};

} // namespace gtkui
