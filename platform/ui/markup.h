#pragma once
// Loads the page markup (an XAML subset) into the element model.
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/ui/element.h"

namespace platform { class Resources; }

namespace ui {

// The page's members that markup event attributes may name.
struct MarkupHandlers {
    std::map<std::string, std::function<void(Element&)>> Routed;              // Click, Tapped, GotFocus, ...
    std::map<std::string, std::function<void(Element&, KeyEventArgs&)>> Key;  // KeyDown
};

// Bad markup: the message names the line and the element.
class MarkupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class LoadedMarkup {
public:
    std::unique_ptr<Element> Root;
    std::map<std::string, Element*> Names; // x:Name -> element

    Element* Find(const std::string& name) const;
    // The named element as T; throws MarkupError when it is missing or of another kind.
    template <typename T>
    T& Get(const std::string& name) const
    {
        auto* typed = dynamic_cast<T*>(Find(name));
        if (!typed)
            throw MarkupError("the page markup has no element \"" + name + "\" of the expected kind");
        return *typed;
    }
};

// x:Uid="U" applies every resource "U/Property" the tables hold (Text,
// Content, PlaceholderText, Header). Throws MarkupError.
LoadedMarkup LoadMarkup(std::string_view xml, const platform::Resources& resources, const MarkupHandlers& handlers);

} // namespace ui
