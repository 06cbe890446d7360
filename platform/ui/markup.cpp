#include "platform/ui/markup.h"

#include <algorithm>
#include <cctype>
#include <pugixml.hpp>
#include <vector>

#include "platform/resources.h"
#include "platform/ui/markup_properties.h"
#include "platform/ui/markup_values.h"

namespace ui {

namespace {

using markup::BadValue;
using markup::Quoted;

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Namespace declarations and designer-only attributes carry no property.
bool IsIgnoredAttribute(std::string_view name)
{
    return name == "xmlns" || StartsWith(name, "xmlns:") || StartsWith(name, "mc:") || StartsWith(name, "d:") ||
           name == "x:Class";
}

bool IsNameAttribute(std::string_view name)
{
    return name == "x:Name" || name == "Name";
}

bool HoldsChildren(ElementKind kind)
{
    return kind == ElementKind::Grid || kind == ElementKind::StackPanel || kind == ElementKind::Border ||
           kind == ElementKind::ScrollViewer;
}

bool HoldsOneChild(ElementKind kind)
{
    return kind == ElementKind::Border || kind == ElementKind::ScrollViewer;
}

class MarkupLoader {
public:
    MarkupLoader(std::string_view xml, const platform::Resources& resources, const MarkupHandlers& handlers)
        : m_xml(xml), m_resources(resources), m_handlers(handlers)
    {
        m_lineStarts.push_back(0);
        for (size_t i = 0; i < xml.size(); ++i) {
            if (xml[i] == '\n')
                m_lineStarts.push_back(i + 1);
        }
    }

    LoadedMarkup Load();

private:
    std::unique_ptr<Element> BuildElement(pugi::xml_node node);
    void ApplyAttributes(Element& element, pugi::xml_node node);
    void ApplyAttribute(Element& element, pugi::xml_node node, pugi::xml_attribute attribute);
    void RecordName(Element& element, pugi::xml_node node, std::string name);
    void AddChildren(Element& element, pugi::xml_node node);
    void AddChild(Panel& panel, pugi::xml_node node, pugi::xml_node child);
    void AddInnerText(Element& element, pugi::xml_node node, pugi::xml_node text);
    void ApplyPropertyElement(Element& element, pugi::xml_node node, pugi::xml_node property);
    std::vector<GridLength> Definitions(pugi::xml_node property, std::string_view tag, std::string_view attribute);
    void AddComboBoxItem(ComboBox& combo, pugi::xml_node item, std::optional<int>& selected);

    pugi::xml_node PageContent(pugi::xml_node page);

    size_t LineOf(ptrdiff_t offset) const;
    size_t LineOf(pugi::xml_node node) const;
    size_t LineOf(pugi::xml_node node, pugi::xml_attribute attribute) const;
    std::string Describe(pugi::xml_node node) const;
    [[noreturn]] void Fail(size_t line, pugi::xml_node node, const std::string& what) const;
    [[noreturn]] void FailMalformed(const pugi::xml_parse_result& result) const;

    std::string_view m_xml;
    const platform::Resources& m_resources;
    const MarkupHandlers& m_handlers;
    std::vector<size_t> m_lineStarts;
    LoadedMarkup m_result;
    std::map<std::string, size_t> m_nameLines;
    std::vector<std::function<void()>> m_subscriptions;
};

LoadedMarkup MarkupLoader::Load()
{
    pugi::xml_document document;
    auto parsed = document.load_buffer(m_xml.data(), m_xml.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed)
        FailMalformed(parsed);
    pugi::xml_node top = document.document_element();
    if (!top)
        throw MarkupError("the page markup holds no element");
    pugi::xml_node rootNode = std::string_view(top.name()) == "Page" ? PageContent(top) : top;
    m_result.Root = BuildElement(rootNode);
    // Only now: no page handler runs while the markup loads.
    for (auto& subscribe : m_subscriptions)
        subscribe();
    return std::move(m_result);
}

// A page holds exactly one element, the root of the tree.
pugi::xml_node MarkupLoader::PageContent(pugi::xml_node page)
{
    for (auto attribute : page.attributes()) {
        if (!IsIgnoredAttribute(attribute.name()))
            Fail(LineOf(page, attribute), page, "unknown attribute " + Quoted(attribute.name()));
    }
    pugi::xml_node content;
    for (auto child : page.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            Fail(LineOf(page), page, "unexpected text " + Quoted(child.value()));
        if (child.type() != pugi::node_element)
            continue;
        if (content)
            Fail(LineOf(child), page, "a page holds one element, found a second: <" + std::string(child.name()) + ">");
        content = child;
    }
    if (!content)
        Fail(LineOf(page), page, "the page holds no element");
    return content;
}

std::unique_ptr<Element> MarkupLoader::BuildElement(pugi::xml_node node)
{
    auto element = CreateElement(node.name());
    if (!element)
        Fail(LineOf(node), node, "unknown element");
    ApplyAttributes(*element, node);
    AddChildren(*element, node);
    // The selection refers to items, which come as children.
    if (auto selected = node.attribute("SelectedIndex"))
        ApplyAttribute(*element, node, selected);
    if (auto uid = node.attribute("x:Uid"))
        markup::ApplyResources(*element, uid.value(), m_resources);
    return element;
}

void MarkupLoader::ApplyAttributes(Element& element, pugi::xml_node node)
{
    for (auto attribute : node.attributes()) {
        std::string_view name = attribute.name();
        if (IsIgnoredAttribute(name) || name == "x:Uid" || name == "SelectedIndex")
            continue;
        if (IsNameAttribute(name)) {
            RecordName(element, node, attribute.value());
            continue;
        }
        ApplyAttribute(element, node, attribute);
    }
}

void MarkupLoader::ApplyAttribute(Element& element, pugi::xml_node node, pugi::xml_attribute attribute)
{
    std::string_view name = attribute.name();
    std::string_view value = attribute.value();
    try {
        if (markup::ApplyProperty(element, name, value))
            return;
        if (auto subscribe = markup::EventSubscription(element, name, std::string(Trim(value)), m_handlers)) {
            m_subscriptions.push_back(std::move(subscribe));
            return;
        }
    } catch (const BadValue& bad) {
        Fail(LineOf(node, attribute), node, std::string(name) + ": " + bad.what());
    }
    Fail(LineOf(node, attribute), node, "unknown attribute " + Quoted(name));
}

void MarkupLoader::RecordName(Element& element, pugi::xml_node node, std::string name)
{
    if (name.empty())
        Fail(LineOf(node), node, "empty name");
    if (!element.Name().empty() && element.Name() != name)
        Fail(LineOf(node), node, "two different names " + Quoted(element.Name()) + " and " + Quoted(name));
    if (element.Name() == name)
        return;
    auto earlier = m_nameLines.find(name);
    if (earlier != m_nameLines.end())
        Fail(LineOf(node), node, "duplicate name " + Quoted(name) + " (first on line " + std::to_string(earlier->second) + ")");
    m_nameLines[name] = LineOf(node);
    element.SetName(name);
    m_result.Names[name] = &element;
}

void MarkupLoader::AddChildren(Element& element, pugi::xml_node node)
{
    std::optional<int> selected;
    for (auto child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            AddInnerText(element, node, child);
            continue;
        }
        if (child.type() != pugi::node_element)
            continue;
        std::string_view tag = child.name();
        if (tag.find('.') != std::string_view::npos)
            ApplyPropertyElement(element, node, child);
        else if (auto* combo = dynamic_cast<ComboBox*>(&element); combo && tag == "ComboBoxItem")
            AddComboBoxItem(*combo, child, selected);
        else if (Panel* panel = element.AsPanel(); panel && HoldsChildren(element.Kind()))
            AddChild(*panel, node, child);
        else
            Fail(LineOf(child), node, "cannot hold the element <" + std::string(tag) + ">");
    }
    if (selected)
        static_cast<ComboBox&>(element).SetSelectedIndex(*selected);
}

void MarkupLoader::AddChild(Panel& panel, pugi::xml_node node, pugi::xml_node child)
{
    if (HoldsOneChild(panel.Kind()) && panel.Count() == 1)
        Fail(LineOf(child), node, "holds one element, found a second: <" + std::string(child.name()) + ">");
    panel.Append(BuildElement(child));
}

// Text between the tags is the content property, as in <TextBlock>Hi</TextBlock>.
void MarkupLoader::AddInnerText(Element& element, pugi::xml_node node, pugi::xml_node text)
{
    std::string value(Trim(text.value()));
    bool applied = false;
    if (element.Kind() == ElementKind::TextBlock)
        applied = markup::ApplyProperty(element, "Text", value);
    else if (element.Kind() == ElementKind::Button || element.Kind() == ElementKind::CheckBox)
        applied = markup::ApplyProperty(element, "Content", value);
    if (!applied)
        Fail(LineOf(node), node, "unexpected text " + Quoted(value));
}

void MarkupLoader::ApplyPropertyElement(Element& element, pugi::xml_node node, pugi::xml_node property)
{
    std::string_view tag = property.name();
    auto* grid = dynamic_cast<Grid*>(&element);
    auto* combo = dynamic_cast<ComboBox*>(&element);
    if (grid && tag == "Grid.RowDefinitions") {
        grid->SetRowDefinitions(Definitions(property, "RowDefinition", "Height"));
    } else if (grid && tag == "Grid.ColumnDefinitions") {
        grid->SetColumnDefinitions(Definitions(property, "ColumnDefinition", "Width"));
    } else if (combo && tag == "ComboBox.Items") {
        std::optional<int> selected;
        for (auto item : property.children()) {
            if (item.type() == pugi::node_element && std::string_view(item.name()) == "ComboBoxItem")
                AddComboBoxItem(*combo, item, selected);
            else if (item.type() == pugi::node_element || item.type() == pugi::node_pcdata)
                Fail(LineOf(property), property, "holds only <ComboBoxItem> elements");
        }
        if (selected)
            combo->SetSelectedIndex(*selected);
    } else {
        Fail(LineOf(property), node, "unsupported property element <" + std::string(tag) + ">");
    }
}

std::vector<GridLength> MarkupLoader::Definitions(pugi::xml_node property, std::string_view tag,
                                                  std::string_view attributeName)
{
    std::vector<GridLength> lengths;
    for (auto definition : property.children()) {
        if (definition.type() == pugi::node_pcdata)
            Fail(LineOf(property), property, "unexpected text " + Quoted(definition.value()));
        if (definition.type() != pugi::node_element)
            continue;
        if (tag != definition.name())
            Fail(LineOf(definition), property, "holds only <" + std::string(tag) + "> elements");
        GridLength length = GridLength::Star(1);
        for (auto attribute : definition.attributes()) {
            if (IsIgnoredAttribute(attribute.name()) || IsNameAttribute(attribute.name()))
                continue;
            if (attributeName != attribute.name())
                Fail(LineOf(definition, attribute), definition, "unknown attribute " + Quoted(attribute.name()));
            try {
                length = markup::GridLengthValue(attribute.value());
            } catch (const BadValue& bad) {
                Fail(LineOf(definition, attribute), definition, std::string(attributeName) + ": " + bad.what());
            }
        }
        lengths.push_back(length);
    }
    return lengths;
}

// An item's text: its resource "uid/Content" when the tables have it,
// otherwise its Content attribute.
void MarkupLoader::AddComboBoxItem(ComboBox& combo, pugi::xml_node item, std::optional<int>& selected)
{
    std::string content;
    for (auto attribute : item.attributes()) {
        std::string_view name = attribute.name();
        if (IsIgnoredAttribute(name) || name == "x:Uid")
            continue;
        if (name == "Content") {
            content = attribute.value();
        } else if (name == "IsSelected") {
            try {
                if (markup::Boolean(attribute.value()))
                    selected = static_cast<int>(combo.Items().size());
            } catch (const BadValue& bad) {
                Fail(LineOf(item, attribute), item, "IsSelected: " + std::string(bad.what()));
            }
        } else {
            Fail(LineOf(item, attribute), item, "unknown attribute " + Quoted(name));
        }
    }
    if (auto uid = item.attribute("x:Uid")) {
        if (auto text = m_resources.TryGetString(std::string(uid.value()) + "/Content"))
            content = *text;
    }
    if (content.empty() && item.text())
        content = std::string(Trim(item.text().get()));
    auto items = combo.Items();
    items.push_back(content);
    combo.SetItems(std::move(items));
}

size_t MarkupLoader::LineOf(ptrdiff_t offset) const
{
    if (offset < 0)
        return 0;
    auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), static_cast<size_t>(offset));
    return static_cast<size_t>(after - m_lineStarts.begin());
}

size_t MarkupLoader::LineOf(pugi::xml_node node) const
{
    return LineOf(node.offset_debug());
}

// Attributes have no offset of their own; their name lies in the same
// parse buffer as the element's name, which has one.
size_t MarkupLoader::LineOf(pugi::xml_node node, pugi::xml_attribute attribute) const
{
    ptrdiff_t nodeOffset = node.offset_debug();
    if (nodeOffset < 0)
        return LineOf(node);
    ptrdiff_t offset = nodeOffset + (attribute.name() - node.name());
    if (offset < nodeOffset || offset >= static_cast<ptrdiff_t>(m_xml.size()))
        return LineOf(node);
    return LineOf(offset);
}

std::string MarkupLoader::Describe(pugi::xml_node node) const
{
    std::string text = "<" + std::string(node.name());
    for (const char* nameAttribute : {"x:Name", "Name"}) {
        if (auto name = node.attribute(nameAttribute)) {
            text += " " + std::string(nameAttribute) + "=" + Quoted(name.value());
            break;
        }
    }
    return text + ">";
}

void MarkupLoader::Fail(size_t line, pugi::xml_node node, const std::string& what) const
{
    throw MarkupError("page markup line " + std::to_string(line) + ", " + Describe(node) + ": " + what);
}

// The tag of the last element opened at or before the offset, if any.
std::string LastTagBefore(std::string_view xml, size_t offset)
{
    auto isNameChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == ':' || c == '_' || c == '-';
    };
    if (xml.empty())
        return {};
    size_t open = xml.rfind('<', std::min(offset, xml.size() - 1));
    while (open != std::string_view::npos) {
        size_t end = open + 1;
        while (end < xml.size() && isNameChar(xml[end]))
            ++end;
        if (end > open + 1)
            return std::string(xml.substr(open + 1, end - open - 1));
        if (open == 0)
            break;
        open = xml.rfind('<', open - 1);
    }
    return {};
}

void MarkupLoader::FailMalformed(const pugi::xml_parse_result& result) const
{
    std::string tag = LastTagBefore(m_xml, static_cast<size_t>(std::max<ptrdiff_t>(result.offset, 0)));
    std::string where = tag.empty() ? "" : ", in or after <" + tag + ">";
    throw MarkupError("page markup line " + std::to_string(LineOf(result.offset)) + where +
                      ": not well-formed XML (" + result.description() + ")");
}

} // namespace

Element* LoadedMarkup::Find(const std::string& name) const
{
    auto found = Names.find(name);
    return found == Names.end() ? nullptr : found->second;
}

LoadedMarkup LoadMarkup(std::string_view xml, const platform::Resources& resources, const MarkupHandlers& handlers)
{
    return MarkupLoader(xml, resources, handlers).Load();
}

} // namespace ui
