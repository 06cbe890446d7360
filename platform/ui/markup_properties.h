#pragma once
// The markup attributes that set element properties and subscribe events.
#include <functional>
#include <string>
#include <string_view>

#include "platform/resources.h"
#include "platform/ui/markup.h"

namespace ui::markup {

// Sets the property an attribute names. False when the element has no such
// property; throws BadValue when the text does not parse.
bool ApplyProperty(Element& element, std::string_view name, std::string_view value);

// The subscription an event attribute asks for, to run once the tree is
// built (so no page handler runs while the markup loads). Empty when the
// element has no such event; throws BadValue when the handler is missing.
std::function<void()> EventSubscription(Element& element, std::string_view event, const std::string& handlerName,
                                        const MarkupHandlers& handlers);

// Applies the resources "uid/Text", "uid/Content", "uid/PlaceholderText" and
// "uid/Header" to the elements that have those properties.
void ApplyResources(Element& element, const std::string& uid, const platform::Resources& resources);

} // namespace ui::markup
