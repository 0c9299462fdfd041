// Describes class levels in Markdown from their field tables (record layouts, element
// names, codes, defaults), so that the format documentation is generated and cannot drift.
#pragma once

#include <string>

#include "kivbase/persist/KivPersist.h"

/// Bytes a level's archive part takes (version word included); -1 when it varies (text).
int KivLevelArchiveBytes(const KivClassLevel& level);
/// Bytes of a class's record after CKivObject's part: every level root first; -1 if it varies.
int KivClassArchiveBytes(const CRuntimeClass* cls);
/// A Markdown section for the class: its levels, their elements and their field tables.
std::string KivDescribeClass(const CRuntimeClass* cls);
