#include "kivbase/KivXMLTrusted.h"

#include <pugixml.hpp>

#include "kivbase/KivPugiHandles.h"

namespace {

// Per thread, so that counting needs neither a lock nor an atomic; initial-exec, so that an
// increment is one instruction on every look-up of every load.
[[gnu::tls_model("initial-exec")]] thread_local long t_attributeLookups = 0;

}  // namespace

pugi::xml_attribute KivPugiAttribute(const pugi::xml_node& element, const char* name) {
    ++t_attributeLookups;
    return element.attribute(name);
}

long KivXmlAttributeLookups() { return t_attributeLookups; }

IXMLDOMNode* KivXmlAppendElement(IXMLDOMNode* parent, const char* name) {
    if (!parent) return nullptr;
    return pugi::xml_node(parent).append_child(name).internal_object();
}

IXMLDOMNode* KivXmlAppendElement(IXMLDOMNode* parent, const char* name, const char* attrName, std::string_view text) {
    IXMLDOMNode* element = KivXmlAppendElement(parent, name);
    if (element && !KivXmlAppendAttribute(element, attrName, text)) {
        pugi::xml_node(parent).remove_child(pugi::xml_node(element));
        return nullptr;
    }
    return element;
}

bool KivXmlAppendAttribute(IXMLDOMNode* element, const char* name, std::string_view text) {
    pugi::xml_node n(element);
    pugi::xml_attribute a = n.append_attribute(name);
    if (a && a.set_value(text.data(), text.size())) return true;
    if (a) n.remove_attribute(a);
    return false;
}

const char* KivXmlAttributeText(IXMLDOMNode* node, const char* name) {
    if (!node) return nullptr;
    const pugi::xml_attribute a = KivPugiAttribute(KivPugiNode(node), name);
    return KivPugiPresent(a) ? a.value() : nullptr;
}
