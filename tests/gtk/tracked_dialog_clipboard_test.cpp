// The adapters the page bridge relies on, against real GTK (under Xvfb): a
// tracked message dialog reports that it has gone, however it went, and the
// clipboard holds the text put there.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gtk/clipboard_gtk.h"
#include "platform/gtk/message_dialogs_gtk.h"

G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace {

GtkDialog* OnlyOpenDialog(const gtkui::GtkMessageDialogs& dialogs)
{
    return dialogs.OpenDialogs().size() == 1 ? GTK_DIALOG(*dialogs.OpenDialogs().begin()) : nullptr;
}

class TrackedDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        gtk_init();
        m_parent = GTK_WINDOW(gtk_window_new());
        m_dialogs = std::make_unique<gtkui::GtkMessageDialogs>(m_parent);
    }
    void TearDown() override
    {
        m_dialogs.reset();
        gtk_window_destroy(m_parent);
    }
    void ShowOne(std::vector<std::string> commands)
    {
        m_dialogs->ShowTracked(
            "Leave this page?", "Mensagem do site:", commands,
            [this](const std::string& label) { m_events.push_back("command " + label); },
            [this] { m_events.push_back("closed"); });
    }

    GtkWindow* m_parent = nullptr;
    std::unique_ptr<gtkui::GtkMessageDialogs> m_dialogs;
    std::vector<std::string> m_events;
};

TEST_F(TrackedDialog, ReportsItHasGoneAfterTheCommandOrAlone)
{
    struct Case {
        std::vector<std::string> commands;
        int response;
        std::vector<std::string> events;
    } cases[] = {
        {{"Yes", "No"}, 0, {"command Yes", "closed"}},
        {{"Yes", "No"}, 1, {"command No", "closed"}},
        {{"Yes", "No"}, GTK_RESPONSE_DELETE_EVENT, {"closed"}},
        {{}, GTK_RESPONSE_OK, {"closed"}},
    };
    for (const auto& c : cases) {
        m_events.clear();
        ShowOne(c.commands);
        GtkDialog* dialog = OnlyOpenDialog(*m_dialogs);
        ASSERT_NE(dialog, nullptr);
        gtk_dialog_response(dialog, c.response);
        EXPECT_EQ(m_events, c.events) << "response " << c.response;
        EXPECT_TRUE(m_dialogs->OpenDialogs().empty());
    }

    // Destroyed some other way (not through a response): still reported once.
    m_events.clear();
    ShowOne({"Yes", "No"});
    gtk_window_destroy(GTK_WINDOW(OnlyOpenDialog(*m_dialogs)));
    EXPECT_EQ(m_events, std::vector<std::string>{"closed"});
}

TEST_F(TrackedDialog, ADialogDestroyedWithTheAdapterReportsNothing)
{
    ShowOne({"Yes", "No"});
    m_dialogs.reset();
    EXPECT_TRUE(m_events.empty());
}

TEST(DisplayClipboard, HoldsTheTextPutThere)
{
    gtk_init();
    gtkui::DisplayClipboard clipboard;
    const std::string text = "http://ünïcödé.example/a?b='c'&d=\"e\"";
    clipboard.SetText(text);

    GdkClipboard* system = gdk_display_get_clipboard(gdk_display_get_default());
    struct Read {
        bool Done = false;
        std::string Text;
    } read;
    gdk_clipboard_read_text_async(
        system, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* r = static_cast<Read*>(data);
            char* value = gdk_clipboard_read_text_finish(GDK_CLIPBOARD(source), result, nullptr);
            r->Text = value ? value : "";
            g_free(value);
            r->Done = true;
        },
        &read);
    const gint64 deadline = g_get_monotonic_time() + 3 * G_USEC_PER_SEC;
    while (!read.Done && g_get_monotonic_time() < deadline)
        g_main_context_iteration(nullptr, FALSE);
    ASSERT_TRUE(read.Done);
    EXPECT_EQ(read.Text, text);
}

} // namespace

G_GNUC_END_IGNORE_DEPRECATIONS
