// The document wrapper's node calls for a caller that checked its names once, as the
// persistence engine does for the same few names of every object: no name is checked
// again, and attribute text is handed over as it stands, for the caller to read.
#pragma once

#include <string_view>

namespace pugi {
struct xml_node_struct;
}
using IXMLDOMNode = pugi::xml_node_struct;

/// CreateDOMNode for a valid element name: a new last child element of parent; null for a
/// null parent or when memory runs out.
IXMLDOMNode* KivXmlAppendElement(IXMLDOMNode* parent, const char* name);
/// CreateDOMNodeWithAttribute likewise, with the attribute's text already spelled; null,
/// with nothing added, when either step fails.
IXMLDOMNode* KivXmlAppendElement(IXMLDOMNode* parent, const char* name, const char* attrName, std::string_view text);
/// SetNodeAttribute on an element known to carry no attribute of that valid name yet:
/// appends it. False, with nothing added, when memory runs out.
bool KivXmlAppendAttribute(IXMLDOMNode* element, const char* name, std::string_view text);

/// The text of node's first attribute of that name, or null when node is null or has none.
const char* KivXmlAttributeText(IXMLDOMNode* node, const char* name);

/// How many attributes this thread has looked up by name through the document wrapper
/// (SetNodeAttribute, GetNodeAttribute, KivXmlAttributeText). A walk over many values
/// that is meant to cost time in proportion to them shows it by a count that does not grow
/// with them.
long KivXmlAttributeLookups();
