#include "app/product_messages.h"

bool ProductMessages::Begin(const std::string& content)
{
    return m_showing->insert(content).second;
}

void ProductMessages::Show(const std::string& content)
{
    if (!Begin(content))
        return;
    std::weak_ptr<std::set<std::string>> showing = m_showing;
    m_dialogs.ShowTracked(content, ProductTitle, {}, {}, [showing, content] {
        if (auto alive = showing.lock())
            alive->erase(content);
    });
}

void ProductMessages::Ask(const std::string& content, const std::string& yes, const std::string& no,
                          std::function<void()> onYes)
{
    if (!Begin(content))
        return;
    std::weak_ptr<std::set<std::string>> showing = m_showing;
    m_dialogs.ShowTracked(
        content, ProductTitle, {yes, no},
        [yes, onYes = std::move(onYes)](const std::string& label) {
            if (label == yes && onYes)
                onYes();
        },
        [showing, content] {
            if (auto alive = showing.lock())
                alive->erase(content);
        });
}
