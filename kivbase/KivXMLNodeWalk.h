// Walking sibling elements of one name, for loaders that read repeated children (list items).
#pragma once

namespace pugi {
struct xml_node_struct;
}
using IXMLDOMNode = pugi::xml_node_struct;

/// The first child element of parent with that name, or null.
IXMLDOMNode* KivXmlFirstChild(IXMLDOMNode* parent, const char* name);
/// The next sibling element after node with that name, or null.
IXMLDOMNode* KivXmlNextSibling(IXMLDOMNode* node, const char* name);
/// How many attributes node carries; 0 for null.
int KivXmlAttributeCount(IXMLDOMNode* node);
