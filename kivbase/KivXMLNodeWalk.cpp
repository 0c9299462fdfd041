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
