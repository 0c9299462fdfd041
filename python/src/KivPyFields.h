// Stored fields as Python attributes, worked out from the field tables: every class gets
// its attributes from its levels' tables, so no class has binding code of its own.
#pragma once

#include <string_view>

#include "KivPyRef.h"
#include "kivbase/persist/KivFieldTable.h"

/// The stored field of that name at any level of the object's class; null when none.
const KivFieldDef* KivPyFindField(const CObject& object, std::string_view name);
/// The field's value as a Python value (int, float, str, a named tuple for a block whose
/// parts have names, bytes for other blocks, a list for a list field).
py::object KivPyGetField(const KivFieldDef& field, const CObject& object);
/// Stores value; raises TypeError for a value of the wrong type and OverflowError for a
/// number the field cannot hold, leaving the field as it was.
void KivPySetField(const KivFieldDef& field, CObject& object, py::handle value);
/// Every stored field, root class first, by name.
py::dict KivPyFieldDict(const CObject& object);
