// Version words of archive records and the class names loaders pass along with them.
#pragma once

#include "platform/fw/KivTypes.h"

/// Converts a stored 16-bit version word into the version a loader tests. The word is read
/// as a signed 16-bit number: 0x0000..0x7FFF give 0..32767 (this library always writes 0,
/// so its own records convert to 0, never negative), 0x8000..0xFFFF give -32768..-1 (records
/// of the older layout without the optional last field). The class constant and class name
/// do not change the mapping; they are accepted for callers' sake. Always returns 1.
int KivVersionConvert(WORD stored, WORD classConstant, int& converted, const wchar_t* className);

/// A narrow class name as wide text (null gives ""). The pointer stays valid until the
/// process ends: names are kept in a process-wide table, so the caller neither keeps nor
/// frees anything. Returns "" if the table cannot grow.
const wchar_t* KivPublicToUnicode(const char* name);
