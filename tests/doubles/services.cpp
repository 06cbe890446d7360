#include "tests/doubles/services.h"

#include <stdexcept>

namespace doubles {

FakeResources::FakeResources()
{
    Table = {
        {"wLanguage", "EN-US"},
        {"wAdress/Text", "Search or enter an address"},
        {"wAdress_DefaultLink", "Search or enter an address"},
        {"wMessageBox_Yes", "Yes"},
        {"wMessageBox_No", "No"},
        {"wMessageBox_AlertCloseApp", "Close Tolvane Browser?"},
        {"wMessageBox_MaxGuides", "You can have up to twenty tabs open."},
        {"wMessageBox_NullGuides", "There are no tabs open."},
        {"wMessageBox_TitleScriptNotify", "This page says:"},
        {"wMessageBox_ConfirmContinue", "Do you want to continue?"},
    };
}

std::optional<std::string> FakeResources::TryGetString(const std::string& key) const
{
    auto it = Table.find(key);
    if (it == Table.end())
        return std::nullopt;
    return it->second;
}

void FakeDialogs::Show(const std::string& content, const std::string& title, const std::vector<std::string>& commands,
                       std::function<void(const std::string&)> onCommand)
{
    Shown.push_back({content, title, commands, std::move(onCommand), {}});
}

void FakeDialogs::ShowTracked(const std::string& content, const std::string& title,
                              const std::vector<std::string>& commands,
                              std::function<void(const std::string&)> onCommand, std::function<void()> onClosed)
{
    Shown.push_back({content, title, commands, std::move(onCommand), std::move(onClosed)});
}

void FakeDialogs::Answer(const std::string& label)
{
    if (Shown.empty())
        throw std::logic_error("no dialog to answer");
    // Copies: a callback may show the next dialog, which moves Shown.
    auto handler = Shown.back().OnCommand;
    auto closed = Shown.back().OnClosed;
    Shown.back().Open = false;
    if (handler)
        handler(label);
    if (closed)
        closed();
}

void FakeDialogs::Dismiss()
{
    if (Shown.empty())
        throw std::logic_error("no dialog to close");
    Dismiss(Shown.size() - 1);
}

void FakeDialogs::Dismiss(size_t index)
{
    if (index >= Shown.size() || !Shown[index].Open)
        throw std::logic_error("no open dialog at that index");
    auto closed = Shown[index].OnClosed;
    Shown[index].Open = false;
    if (closed)
        closed();
}

size_t FakeDialogs::OpenCount() const
{
    size_t open = 0;
    for (const auto& dialog : Shown)
        open += dialog.Open;
    return open;
}

namespace {
// Lets the creator own the timer while the factory keeps a plain pointer.
class TrackedTimer : public ManualTimer {
public:
    TrackedTimer(std::function<void()> tick, std::vector<ManualTimer*>& registry)
        : ManualTimer(std::move(tick)), m_registry(registry)
    {
        m_registry.push_back(this);
    }
    ~TrackedTimer() override { std::erase(m_registry, static_cast<ManualTimer*>(this)); }

private:
    std::vector<ManualTimer*>& m_registry;
};
} // namespace

std::unique_ptr<platform::DispatcherTimer> ManualTimers::Create(std::function<void()> tick)
{
    return std::make_unique<TrackedTimer>(std::move(tick), Created);
}

void ManualTimers::TickAll(int n)
{
    for (int i = 0; i < n; ++i) {
        auto timers = Created;
        for (auto* timer : timers)
            if (timer->Enabled && timer->Tick)
                timer->Tick();
    }
}

} // namespace doubles
