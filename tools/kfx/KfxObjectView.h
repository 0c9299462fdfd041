// What kfx info shows of a stored object: its class, each stored field as a typed value
// (numbers, text, a block's named parts, a list of values) and, for a list, its elements;
// worked out once so that the text and the JSON printers show the same things.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/fw/CObject.h"

struct KfxPart;

/// One field's value. Numbers are kept spelled as the XML format spells them (the shortest
/// text that reads back to the same value; "nan", "inf", "-inf" for the special values).
struct KfxValue {
    enum class Kind {
        integer,  // text: a decimal integer
        real,     // text: a floating-point number
        text,     // text: UTF-8
        bytes,    // text: the stored bytes of a block without named parts, as hexadecimal pairs
        parts,    // parts: a block's named parts, each a real or an integer
        list,     // items: the values of a list stored in the class's own form
        unknown,  // a list of a type this program does not know
    };
    Kind kind = Kind::unknown;
    std::string text;
    std::vector<KfxPart> parts;
    std::vector<KfxValue> items;
};

/// A named part of a block: its member name and its value (a real or an integer).
struct KfxPart {
    std::string name;
    KfxValue value;
};

/// A stored object: its class, its stored fields from the root class's level down, and for a
/// list its elements in order (a null element is a null pointer).
struct KfxObjectView {
    std::string className;
    std::vector<std::pair<std::string, KfxValue>> fields;
    bool isList = false;
    std::vector<std::unique_ptr<KfxObjectView>> elements;
};

/// The view of object (which must not be null); raises CMemoryException.
std::unique_ptr<KfxObjectView> KfxViewOf(const CObject& object);
