// Small operating-system services of the base library: the temporary folder, a file test
// and the millisecond tick count (with a replaceable source for tests).
#pragma once

#include <functional>

#include "platform/fw/CString.h"
#include "platform/fw/KivTypes.h"

/// The folder for temporary files with a trailing '/': $TMPDIR when set and not empty,
/// otherwise /tmp. File names are formed by appending to it directly. Never fails.
CString KivGetTempFilePath();

/// Nonzero when path names an existing file that is not a folder (symbolic links followed);
/// zero for null or empty paths and anything that cannot be examined.
BOOL KivPublicDoesFileExist(LPCWSTR path);

/// Milliseconds from a monotonic clock, wrapping at 2^32 (about 49.7 days), as the
/// system tick count does. Never fails.
DWORD KivGetTickCount();

/// Replaces the clock behind KivGetTickCount (for tests); an empty function restores the
/// monotonic clock.
void KivSetTickCountSource(std::function<DWORD()> source);
