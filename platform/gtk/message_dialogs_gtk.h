#pragma once
// Message dialogs as GtkMessageDialog: non-modal, transient for the main
// window, shown and not awaited. The title is the primary text, the content
// the secondary text; each command is a button whose response calls back with
// its label. Closing the dialog calls only the tracked dialogs' close callback.
#include <gtk/gtk.h>

#include <set>

#include "platform/message_dialog.h"

namespace gtkui {

class GtkMessageDialogs : public platform::MessageDialogs {
public:
    // `parent` may be null (no main window yet); it must outlive this object.
    explicit GtkMessageDialogs(GtkWindow* parent);
    // Destroys the dialogs still open: their callbacks refer to the page.
    ~GtkMessageDialogs() override;
    GtkMessageDialogs(const GtkMessageDialogs&) = delete;
    GtkMessageDialogs& operator=(const GtkMessageDialogs&) = delete;

    void Show(const std::string& content, const std::string& title, const std::vector<std::string>& commands = {},
              std::function<void(const std::string& label)> onCommand = {}) override;
    void ShowTracked(const std::string& content, const std::string& title, const std::vector<std::string>& commands,
                     std::function<void(const std::string& label)> onCommand, std::function<void()> onClosed) override;
    // The entry is focused, holds defaultText selected, and Enter accepts.
    void ShowPrompt(const std::string& content, const std::string& title, const std::string& defaultText,
                    const std::vector<std::string>& commands,
                    std::function<void(std::optional<std::string>)> onAnswer) override;

    // The dialogs shown and not yet answered or closed.
    const std::set<GtkWidget*>& OpenDialogs() const { return m_open; }

private:
    struct Pending;
    GtkWidget* Present(const std::string& content, const std::string& title, const std::vector<std::string>& commands,
                       Pending* pending);
    static void ResponseThunk(GtkDialog* dialog, int responseId, gpointer pending);
    static void DestroyThunk(GtkWidget* dialog, gpointer pending);

    GtkWindow* m_parent;
    std::set<GtkWidget*> m_open;
    // Set while the owner destroys what is left: no callback runs then.
    bool m_tearingDown = false;
};

} // namespace gtkui
