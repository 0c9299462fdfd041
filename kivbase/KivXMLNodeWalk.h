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

/// Calls fn(context, name, value text) for each attribute of node in document order (none
/// for null): one pass, for loaders that would otherwise look up many names one by one.
using KivXmlAttributeFn = void (*)(void* context, const char* name, const char* value);
void KivXmlForEachAttribute(IXMLDOMNode* node, KivXmlAttributeFn fn, void* context);

/// The same with any callable taking (const char* name, const char* value).
template <class F>
void KivXmlForEachAttribute(IXMLDOMNode* node, F& fn) {
    KivXmlForEachAttribute(node, [](void* c, const char* name, const char* value) { (*static_cast<F*>(c))(name, value); }, &fn);
}
