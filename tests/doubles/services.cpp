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
    Shown.push_back({content, title, commands, std::move(onCommand)});
}

void FakeDialogs::Answer(const std::string& label)
{
    if (Shown.empty())
        throw std::logic_error("no dialog to answer");
    auto handler = Shown.back().OnCommand;
    if (handler)
        handler(label);
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
