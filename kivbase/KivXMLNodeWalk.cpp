#include "kivbase/KivXMLNodeWalk.h"

#include <pugixml.hpp>

IXMLDOMNode* KivXmlFirstChild(IXMLDOMNode* parent, const char* name) {
    if (!parent || !name) return nullptr;
    return pugi::xml_node(parent).child(name).internal_object();
}

IXMLDOMNode* KivXmlNextSibling(IXMLDOMNode* node, const char* name) {
    if (!node || !name) return nullptr;
    return pugi::xml_node(node).next_sibling(name).internal_object();
}

int KivXmlAttributeCount(IXMLDOMNode* node) {
    int n = 0;
    if (node)
        for ([[maybe_unused]] pugi::xml_attribute a : pugi::xml_node(node).attributes()) ++n;
    return n;
}

void KivXmlForEachAttribute(IXMLDOMNode* node, KivXmlAttributeFn fn, void* context) {
    if (!node) return;
    for (const pugi::xml_attribute a : pugi::xml_node(node).attributes()) fn(context, a.name(), a.value());
}
