#pragma once
// For integration tests: with TOLVANE_STATE_FILE set, the shell writes what a
// user would see (named elements' texts, colours and control states, web
// views, open dialogs, toasts, timer ticks) to that file as JSON, four times a
// second, and follows one command the test writes into the file's ".cmd"
// companion: "answer LABEL" answers a dialog the way a user would, "print
// PATH" prints the page in front to a PDF file and lists whether it was
// written under "prints". Without the variable nothing runs. Named elements
// carry their grid row, span and font size; the window its size and full
// screen (asked for, and granted). It also lists the rows of the favorites,
// history and suggestion panels in order, each with its texts, tag and
// rectangle.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/gtk/source_holder.h"
#include "platform/ui/element.h"

namespace gtkui {

class DesktopToastNotifier;
class GLibDispatcherTimers;
class GtkMessageDialogs;
class WindowApplicationView;

// What the probe reads besides the page and the dialogs.
struct ProbeSources {
    const DesktopToastNotifier* Toasts = nullptr;
    const GLibDispatcherTimers* Timers = nullptr;
    // The window's size and full-screen state.
    const WindowApplicationView* View = nullptr;
};

class StateProbe {
public:
    StateProbe(std::string path, std::function<ui::Element*()> root, const GtkMessageDialogs& dialogs,
               ProbeSources sources = {});
    StateProbe(const StateProbe&) = delete;
    StateProbe& operator=(const StateProbe&) = delete;

    // A probe when the environment asks for one, else null.
    static std::unique_ptr<StateProbe> FromEnvironment(std::function<ui::Element*()> root,
                                                       const GtkMessageDialogs& dialogs, ProbeSources sources = {});

private:
    void Write() const;
    void FollowCommands() const;
    void PrintShownPage(const std::string& path) const;

    std::string m_path;
    std::function<ui::Element*()> m_root;
    const GtkMessageDialogs& m_dialogs;
    ProbeSources m_sources;
    // Each print asked for, with whether the file was written.
    std::shared_ptr<std::vector<std::pair<std::string, bool>>> m_prints =
        std::make_shared<std::vector<std::pair<std::string, bool>>>();
    SourceHolder m_timer;
};

} // namespace gtkui
