#include "app/product_messages.h"

void ProductMessages::Show(const std::string& content, const std::string& title,
                           const std::vector<std::string>& commands,
                           std::function<void(const std::string& label)> onCommand)
{
    ShowTracked(content, title, commands, std::move(onCommand), {});
}

void ProductMessages::ShowTracked(const std::string& content, const std::string& title,
                                  const std::vector<std::string>& commands,
                                  std::function<void(const std::string& label)> onCommand,
                                  std::function<void()> onClosed)
{
    Key key{title, content};
    if (!m_showing->insert(key).second)
        return;
    std::weak_ptr<std::set<Key>> showing = m_showing;
    m_dialogs.ShowTracked(content, title, commands, std::move(onCommand),
                          [showing, key, onClosed = std::move(onClosed)] {
                              if (auto alive = showing.lock())
                                  alive->erase(key);
                              if (onClosed)
                                  onClosed();
                          });
}

void ProductMessages::Ask(const std::string& content, const std::string& yes, const std::string& no,
                          std::function<void()> onYes)
{
    Show(content, ProductTitle, {yes, no}, [yes, onYes = std::move(onYes)](const std::string& label) {
        if (label == yes && onYes)
            onYes();
    });
}
