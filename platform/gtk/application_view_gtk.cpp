#include "platform/gtk/application_view_gtk.h"

#include "platform/gtk/callback_guard.h"

#include <algorithm>

namespace gtkui {

namespace {

constexpr guint MouseBackButton = 8;
constexpr guint MouseForwardButton = 9;

using platform::Shortcut;

// The browser's keys by key and modifiers. Ctrl+plus is Ctrl+Shift+= on most
// layouts, so both count.
struct KeyBinding {
    guint Key;
    GdkModifierType Modifiers;
    Shortcut Name;
};
constexpr auto Ctrl = GDK_CONTROL_MASK;
constexpr auto CtrlShift = static_cast<GdkModifierType>(GDK_CONTROL_MASK | GDK_SHIFT_MASK);
constexpr auto Alt = GDK_ALT_MASK;
constexpr auto NoModifier = static_cast<GdkModifierType>(0);
constexpr auto Shift = GDK_SHIFT_MASK;
constexpr KeyBinding KeyBindings[] = {
    {GDK_KEY_t, Ctrl, Shortcut::NewTab}, {GDK_KEY_w, Ctrl, Shortcut::CloseTab},
    {GDK_KEY_l, Ctrl, Shortcut::FocusAddress}, {GDK_KEY_r, Ctrl, Shortcut::Reload},
    {GDK_KEY_Tab, Ctrl, Shortcut::NextTab}, {GDK_KEY_ISO_Left_Tab, CtrlShift, Shortcut::PreviousTab},
    {GDK_KEY_plus, Ctrl, Shortcut::ZoomIn}, {GDK_KEY_plus, CtrlShift, Shortcut::ZoomIn},
    {GDK_KEY_equal, Ctrl, Shortcut::ZoomIn}, {GDK_KEY_KP_Add, Ctrl, Shortcut::ZoomIn},
    {GDK_KEY_minus, Ctrl, Shortcut::ZoomOut}, {GDK_KEY_KP_Subtract, Ctrl, Shortcut::ZoomOut},
    {GDK_KEY_0, Ctrl, Shortcut::ZoomReset}, {GDK_KEY_KP_0, Ctrl, Shortcut::ZoomReset},
    {GDK_KEY_KP_Insert, Ctrl, Shortcut::ZoomReset}, {GDK_KEY_F5, NoModifier, Shortcut::Reload},
    {GDK_KEY_F11, NoModifier, Shortcut::ToggleFullScreen}, {GDK_KEY_Escape, NoModifier, Shortcut::Escape},
    {GDK_KEY_Right, Alt, Shortcut::Forward}, {GDK_KEY_KP_Right, Alt, Shortcut::Forward},
    {GDK_KEY_Forward, NoModifier, Shortcut::Forward}, {GDK_KEY_Home, Alt, Shortcut::Home},
    {GDK_KEY_KP_Home, Alt, Shortcut::Home},
    {GDK_KEY_f, Ctrl, Shortcut::Find}, {GDK_KEY_F3, NoModifier, Shortcut::FindNext},
    {GDK_KEY_g, Ctrl, Shortcut::FindNext}, {GDK_KEY_F3, Shift, Shortcut::FindPrevious},
    {GDK_KEY_G, CtrlShift, Shortcut::FindPrevious}, {GDK_KEY_p, Ctrl, Shortcut::Print},
    {GDK_KEY_F12, NoModifier, Shortcut::Inspector}, {GDK_KEY_I, CtrlShift, Shortcut::Inspector},
    {GDK_KEY_u, Ctrl, Shortcut::ViewSource},
};

std::optional<Shortcut> ShortcutFor(guint keyval, GdkModifierType modifiers)
{
    guint key = gdk_keyval_to_lower(keyval);
    for (const auto& binding : KeyBindings)
        if (binding.Key == key && binding.Modifiers == modifiers)
            return binding.Name;
    return std::nullopt;
}

ui::Rect DefaultSizeOf(GtkWindow* window)
{
    int width = 0;
    int height = 0;
    gtk_window_get_default_size(window, &width, &height);
    return {0, 0, static_cast<double>(std::max(width, 0)), static_cast<double>(std::max(height, 0))};
}

bool IsNormalState(GtkWindow* window)
{
    return !gtk_window_is_maximized(window) && !gtk_window_is_fullscreen(window);
}

} // namespace

WindowApplicationView::WindowApplicationView(GtkWindow* window)
    : m_window(AddRef(window)), m_bounds(DefaultSizeOf(window)), m_reported(m_bounds)
{
    ConnectWindow();
    if (gtk_widget_get_realized(GTK_WIDGET(window)))
        ConnectFrameClock();
}

WindowApplicationView::~WindowApplicationView()
{
    for (auto& installed : m_controllers) {
        // A destroyed widget may have let its controllers go already.
        if (gtk_event_controller_get_widget(installed.Controller.Get()) == installed.Widget.Get())
            gtk_widget_remove_controller(installed.Widget.Get(), installed.Controller.Get());
    }
}

void WindowApplicationView::InstallController(GtkWidget* widget, GtkEventController* controller)
{
    // The widget takes the new controller's reference; the view keeps one too.
    gtk_widget_add_controller(widget, controller);
    m_controllers.push_back({AddRef(widget), AddRef(controller)});
}

void WindowApplicationView::ConnectWindow()
{
    GtkWindow* window = m_window.Get();
    m_windowSignals.emplace_back(window, g_signal_connect(window, "notify::default-width",
                                                          G_CALLBACK(&WindowApplicationView::DefaultSizeThunk), this));
    m_windowSignals.emplace_back(window, g_signal_connect(window, "notify::default-height",
                                                          G_CALLBACK(&WindowApplicationView::DefaultSizeThunk), this));
    m_windowSignals.emplace_back(window, g_signal_connect(window, "realize",
                                                          G_CALLBACK(&WindowApplicationView::RealizeThunk), this));
    m_windowSignals.emplace_back(window, g_signal_connect(window, "unrealize",
                                                          G_CALLBACK(&WindowApplicationView::UnrealizeThunk), this));

    // Capture phase: the back request wins over whatever has the focus (the
    // web view included).
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_name(keys, BackKeysControllerName);
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect(keys, "key-pressed", G_CALLBACK(&WindowApplicationView::KeyPressedThunk), this);
    g_signal_connect(keys, "key-released", G_CALLBACK(&WindowApplicationView::KeyReleasedThunk), this);
    InstallController(GTK_WIDGET(window), keys);

    GtkGesture* back = gtk_gesture_click_new();
    gtk_event_controller_set_name(GTK_EVENT_CONTROLLER(back), "tolvane-back-button");
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(back), MouseBackButton);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(back), GTK_PHASE_CAPTURE);
    g_signal_connect(back, "pressed", G_CALLBACK(&WindowApplicationView::BackButtonThunk), this);
    InstallController(GTK_WIDGET(window), GTK_EVENT_CONTROLLER(back));

    GtkGesture* forward = gtk_gesture_click_new();
    gtk_event_controller_set_name(GTK_EVENT_CONTROLLER(forward), "tolvane-forward-button");
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(forward), MouseForwardButton);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(forward), GTK_PHASE_CAPTURE);
    g_signal_connect(forward, "pressed", G_CALLBACK(&WindowApplicationView::ForwardButtonThunk), this);
    InstallController(GTK_WIDGET(window), GTK_EVENT_CONTROLLER(forward));
}

// --- Size -----------------------------------------------------------------

void WindowApplicationView::DefaultSizeThunk(GObject*, GParamSpec*, gpointer data)
{
    auto* self = static_cast<WindowApplicationView*>(data);
    GtkWindow* window = self->m_window.Get();
    // The default size follows the window only while it is a normal one; the
    // allocation (after the next frame) covers maximized and full screen.
    if (!IsNormalState(window))
        return;
    ui::Rect size = DefaultSizeOf(window);
    self->UpdateBounds(static_cast<int>(size.Width), static_cast<int>(size.Height));
}

void WindowApplicationView::RealizeThunk(GtkWidget*, gpointer self)
{
    static_cast<WindowApplicationView*>(self)->ConnectFrameClock();
}

void WindowApplicationView::UnrealizeThunk(GtkWidget*, gpointer data)
{
    auto* self = static_cast<WindowApplicationView*>(data);
    self->m_afterPaint.Disconnect();
    self->m_frameClock.Reset();
}

void WindowApplicationView::ConnectFrameClock()
{
    GdkFrameClock* clock = gtk_widget_get_frame_clock(GTK_WIDGET(m_window.Get()));
    if (!clock || clock == m_frameClock.Get())
        return;
    m_afterPaint.Disconnect();
    m_frameClock = AddRef(clock);
    m_afterPaint = SignalConnection(
        clock, g_signal_connect(clock, "after-paint", G_CALLBACK(&WindowApplicationView::AfterPaintThunk), this));
}

void WindowApplicationView::AfterPaintThunk(GdkFrameClock*, gpointer data)
{
    // A new size is allocated before the frame paints; comparing two numbers
    // per frame is all this costs.
    auto* self = static_cast<WindowApplicationView*>(data);
    GtkWidget* content = gtk_window_get_child(self->m_window.Get());
    if (!content)
        content = GTK_WIDGET(self->m_window.Get());
    int width = gtk_widget_get_width(content);
    int height = gtk_widget_get_height(content);
    if (width > 0 && height > 0)
        self->UpdateBounds(width, height);
}

void WindowApplicationView::UpdateBounds(int width, int height)
{
    ui::Rect bounds{0, 0, static_cast<double>(width), static_cast<double>(height)};
    if (bounds == m_bounds)
        return;
    m_bounds = bounds;
    // Width and height arrive one by one, and the allocation follows them:
    // the page hears of them together, once, outside GTK's layout.
    if (!m_raiseSizeChanged)
        m_raiseSizeChanged.Reset(g_idle_add(&WindowApplicationView::RaiseSizeChangedThunk, this));
}

gboolean WindowApplicationView::RaiseSizeChangedThunk(gpointer data)
{
    auto* self = static_cast<WindowApplicationView*>(data);
    self->m_raiseSizeChanged.Forget();
    if (self->m_bounds != self->m_reported) {
        self->m_reported = self->m_bounds;
        Guarded("window size change", [&] { self->SizeChanged(); });
    }
    return G_SOURCE_REMOVE;
}

// --- Title bar --------------------------------------------------------------

void WindowApplicationView::ExtendViewIntoTitleBar(ui::Element& dragArea)
{
    // A hidden title bar widget: the window keeps its client-side frame (and so
    // its resize edges and shadow) but shows no title bar of its own.
    GtkWidget* emptyTitleBar = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_widget_set_visible(emptyTitleBar, FALSE);
    gtk_window_set_titlebar(m_window.Get(), emptyTitleBar);

    m_dragArea = &dragArea;
    AttachDragArea();
}

void WindowApplicationView::AttachContent(std::function<GtkWidget*(const ui::Element&)> widgetFor)
{
    m_widgetFor = std::move(widgetFor);
    m_dragWidget = nullptr;
    AttachDragArea();
}

void WindowApplicationView::AttachDragArea()
{
    if (!m_dragArea || !m_widgetFor)
        return;
    GtkWidget* widget = m_widgetFor(*m_dragArea);
    if (!widget) {
        g_warning("the title bar element has no widget; the window cannot be dragged by it");
        return;
    }
    m_dragWidget = widget;

    // As GtkWindowHandle does: a move starts once the pointer passed the drag
    // threshold, so a double click still reaches the click gesture.
    GtkGesture* drag = gtk_gesture_drag_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(drag), GDK_BUTTON_PRIMARY);
    g_signal_connect(drag, "drag-update", G_CALLBACK(&WindowApplicationView::TitleDragThunk), this);
    InstallController(widget, GTK_EVENT_CONTROLLER(drag));

    GtkGesture* click = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), 0);
    g_signal_connect(click, "pressed", G_CALLBACK(&WindowApplicationView::TitleClickThunk), this);
    InstallController(widget, GTK_EVENT_CONTROLLER(click));
}

void WindowApplicationView::TitleDragThunk(GtkGestureDrag* gesture, double offsetX, double offsetY, gpointer)
{
    GtkWidget* widget = gtk_event_controller_get_widget(GTK_EVENT_CONTROLLER(gesture));
    if (!gtk_drag_check_threshold(widget, 0, 0, static_cast<int>(offsetX), static_cast<int>(offsetY)))
        return;
    double startX = 0;
    double startY = 0;
    gtk_gesture_drag_get_start_point(gesture, &startX, &startY);

    GtkNative* native = gtk_widget_get_native(widget);
    GdkSurface* surface = native ? gtk_native_get_surface(native) : nullptr;
    if (!surface || !GDK_IS_TOPLEVEL(surface))
        return;
    // The toplevel wants surface coordinates: the widget's point in the
    // native widget, moved by the client-side frame's offset.
    graphene_point_t inWidget = GRAPHENE_POINT_INIT(static_cast<float>(startX), static_cast<float>(startY));
    graphene_point_t inNative;
    if (!gtk_widget_compute_point(widget, GTK_WIDGET(native), &inWidget, &inNative))
        return;
    double frameX = 0;
    double frameY = 0;
    gtk_native_get_surface_transform(native, &frameX, &frameY);

    gdk_toplevel_begin_move(GDK_TOPLEVEL(surface), gtk_gesture_get_device(GTK_GESTURE(gesture)),
                            gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture)),
                            inNative.x + frameX, inNative.y + frameY,
                            gtk_event_controller_get_current_event_time(GTK_EVENT_CONTROLLER(gesture)));
    gtk_event_controller_reset(GTK_EVENT_CONTROLLER(gesture));
}

void WindowApplicationView::TitleClickThunk(GtkGestureClick* gesture, int nPress, double, double, gpointer data)
{
    auto* self = static_cast<WindowApplicationView*>(data);
    GtkWindow* window = self->m_window.Get();
    guint button = gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture));
    if (button == GDK_BUTTON_PRIMARY && nPress == 2) {
        if (gtk_window_is_maximized(window))
            gtk_window_unmaximize(window);
        else
            gtk_window_maximize(window);
        gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
    } else if (button == GDK_BUTTON_SECONDARY && nPress == 1) {
        // The window manager's menu (minimize, move, ...): the page draws no caption buttons.
        GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window));
        GdkEvent* event = gtk_event_controller_get_current_event(GTK_EVENT_CONTROLLER(gesture));
        if (surface && GDK_IS_TOPLEVEL(surface) && event)
            gdk_toplevel_show_window_menu(GDK_TOPLEVEL(surface), event);
        gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
    }
}

// --- Full screen, back requests, exit ---------------------------------------------

bool WindowApplicationView::TryEnterFullScreenMode()
{
    m_fullScreenRequested = true;
    gtk_window_fullscreen(m_window.Get());
    return true;
}

void WindowApplicationView::ExitFullScreenMode()
{
    m_fullScreenRequested = false;
    gtk_window_unfullscreen(m_window.Get());
}

void WindowApplicationView::RaiseBackRequested(bool& handled)
{
    Guarded("back request", [&] { BackRequested(handled); });
}

void WindowApplicationView::RaiseShortcut(platform::Shortcut shortcut, bool& handled)
{
    Guarded("shortcut", [&] { ShortcutPressed(shortcut, handled); });
}

gboolean WindowApplicationView::KeyPressedThunk(GtkEventControllerKey*, guint keyval, guint keycode,
                                                GdkModifierType state, gpointer data)
{
    auto* self = static_cast<WindowApplicationView*>(data);
    auto modifiers = static_cast<GdkModifierType>(state & gtk_accelerator_get_default_mod_mask());
    bool altLeft = (keyval == GDK_KEY_Left || keyval == GDK_KEY_KP_Left) && modifiers == GDK_ALT_MASK;
    bool backKey = keyval == GDK_KEY_Back && modifiers == 0;
    // A held key repeats its press: a back request counts it once (a second
    // counted press would leave the browser), other keys repeat as held.
    bool repeat = !self->m_heldKeys.insert(keycode).second;
    if (altLeft || backKey) {
        if (repeat)
            return TRUE;
        bool handled = false;
        self->RaiseBackRequested(handled);
        return handled;
    }
    auto shortcut = ShortcutFor(keyval, modifiers);
    if (!shortcut)
        return FALSE;
    bool handled = false;
    self->RaiseShortcut(*shortcut, handled);
    return handled;
}

void WindowApplicationView::KeyReleasedThunk(GtkEventControllerKey*, guint, guint keycode, GdkModifierType,
                                             gpointer data)
{
    static_cast<WindowApplicationView*>(data)->m_heldKeys.erase(keycode);
}

void WindowApplicationView::BackButtonThunk(GtkGestureClick* gesture, int, double, double, gpointer data)
{
    // Every press counts: a quick second press comes as the second of a
    // double click.
    bool handled = false;
    static_cast<WindowApplicationView*>(data)->RaiseBackRequested(handled);
    if (handled)
        gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
}

void WindowApplicationView::ForwardButtonThunk(GtkGestureClick* gesture, int, double, double, gpointer data)
{
    bool handled = false;
    static_cast<WindowApplicationView*>(data)->RaiseShortcut(platform::Shortcut::Forward, handled);
    if (handled)
        gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
}

void WindowApplicationView::Exit()
{
    GtkApplication* application = gtk_window_get_application(m_window.Get());
    if (application)
        g_application_quit(G_APPLICATION(application));
    else
        gtk_window_destroy(m_window.Get());
}

} // namespace gtkui
