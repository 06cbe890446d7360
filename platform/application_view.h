#pragma once
// The window the page lives in: its visible size, size changes, title bar,
// full-screen mode and the application's exit.
#include <functional>

#include "platform/ui/element.h"
#include "platform/ui/event.h"
#include "platform/ui/types.h"

namespace platform {

// The browser's keys, named for what they ask; the window turns key presses
// (and the mouse's forward button) into these.
enum class Shortcut {
    NewTab,          // Ctrl+T
    CloseTab,        // Ctrl+W
    FocusAddress,    // Ctrl+L
    NextTab,         // Ctrl+Tab
    PreviousTab,     // Ctrl+Shift+Tab
    ZoomIn,          // Ctrl+plus, Ctrl+=, keypad plus
    ZoomOut,         // Ctrl+minus
    ZoomReset,       // Ctrl+0
    Reload,          // F5, Ctrl+R
    Forward,         // Alt+Right, mouse button 9
    Home,            // Alt+Home
    ToggleFullScreen, // F11
    Escape,          // Escape: handled only when it ends something (full screen, find, a load)
    Find,            // Ctrl+F
    FindNext,        // F3, Ctrl+G
    FindPrevious,    // Shift+F3, Ctrl+Shift+G
    Print,           // Ctrl+P
    Inspector,       // F12, Ctrl+Shift+I
    ViewSource,      // Ctrl+U
};

struct TitleBarColors {
    ui::Color ButtonBackground;
    ui::Color ButtonInactiveBackground;
    ui::Color ButtonHoverBackground;
    ui::Color ButtonForeground;
};

class ApplicationView {
public:
    virtual ~ApplicationView() = default;
    // In view pixels: the window's content area.
    virtual ui::Rect VisibleBounds() const = 0;
    ui::Event<> SizeChanged;

    // Draw the page into the title bar area, with element as the drag area.
    virtual void ExtendViewIntoTitleBar(ui::Element& dragArea) = 0;
    virtual void SetTitleBarColors(const TitleBarColors& colors) = 0;

    virtual bool TryEnterFullScreenMode() = 0;
    virtual void ExitFullScreenMode() = 0;

    // The system back request (Alt+Left, the mouse back button).
    ui::Event<bool& /*handled*/> BackRequested;

    // A named key; a handler that acts on it marks it handled, and an
    // unhandled press goes on to the page.
    ui::Event<Shortcut, bool& /*handled*/> ShortcutPressed;

    // Ends the application.
    virtual void Exit() = 0;
};

} // namespace platform
