// Describes persistable classes in Markdown from their field tables (record layouts, element
// names, codes, defaults): the class reference of docs/FORMATS.md, which `kfx formats` prints
// and a test compares, so that the document is generated and cannot drift.
#pragma once

#include <string>

#include "kivbase/persist/KivPersist.h"

/// A Markdown section for the class: its levels, their elements and their field tables.
std::string KfxDescribeClass(const CRuntimeClass* cls);
/// The generated part of docs/FORMATS.md: every persistable class of the library in turn.
std::string KfxDescribeAllFormats();
