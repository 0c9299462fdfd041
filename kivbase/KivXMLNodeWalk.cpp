#include "kivbase/KivXMLNodeWalk.h"

#include <pugixml.hpp>

#include "kivbase/KivPugiHandles.h"

IXMLDOMNode* KivXmlFirstChild(IXMLDOMNode* parent, const char* name) {
    if (!parent || !name) return nullptr;
    return pugi::xml_node(parent).child(name).internal_object();
}

IXMLDOMNode* KivXmlNextSibling(IXMLDOMNode* node, const char* name) {
    if (!node || !name) return nullptr;
    return pugi::xml_node(node).next_sibling(name).internal_object();
}

// Both walks step by the attribute handle alone: they run over every value of a long list,
// where the iterator's calls would cost more than the step.
int KivXmlAttributeCount(IXMLDOMNode* node) {
    int n = 0;
    if (node)
        for (pugi::xml_attribute a = KivPugiNode(node).first_attribute(); KivPugiPresent(a); a = a.next_attribute()) ++n;
    return n;
}

void KivXmlForEachAttribute(IXMLDOMNode* node, KivXmlAttributeFn fn, void* context) {
    if (!node) return;
    for (pugi::xml_attribute a = KivPugiNode(node).first_attribute(); KivPugiPresent(a); a = a.next_attribute())
        fn(context, a.name(), a.value());
}
