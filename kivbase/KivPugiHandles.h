// pugixml's node and attribute handles are a single pointer each: converting a node pointer
// to its handle and testing a handle for emptiness need no call into the library, which
// matters in the walks that run over every node of every load.
#pragma once

#include <bit>
#include <type_traits>

#include <pugixml.hpp>

template <class Handle>
bool KivPugiPresent(const Handle& h) {
    static_assert(sizeof(Handle) == sizeof(void*) && std::is_trivially_copyable_v<Handle>);
    return std::bit_cast<const void*>(h) != nullptr;
}

inline pugi::xml_node KivPugiNode(pugi::xml_node_struct* p) {
    static_assert(sizeof(pugi::xml_node) == sizeof(p) && std::is_trivially_copyable_v<pugi::xml_node>);
    return std::bit_cast<pugi::xml_node>(p);
}

inline pugi::xml_node_struct* KivPugiStruct(const pugi::xml_node& n) { return std::bit_cast<pugi::xml_node_struct*>(n); }

/// pugixml's look-up of an attribute by name. It walks the element's attributes, so a caller
/// that looks up once per value of a long list pays the square of the list's length; every
/// look-up the document wrapper makes goes through here and is counted (KivXMLTrusted.h).
pugi::xml_attribute KivPugiAttribute(const pugi::xml_node& element, const char* name);
