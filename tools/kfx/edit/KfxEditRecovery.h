// A session ended from outside (Ctrl+C in the terminal, a logout, SIGTERM) loses nothing:
// the signal is only noted, the window's loop writes the unsaved document to a recovery file
// beside the file and ends, and the next session on the file offers it back.
#pragma once

#include <string>

/// From now on SIGINT, SIGTERM and SIGHUP only note themselves (async-signal-safe); the
/// window's loop asks KfxEndSignal and does the work.
void KfxWatchEndSignals();
/// The signal that asked the session to end, 0 for none.
int KfxEndSignal();
/// Test seam: as if signal sig had come.
void KfxNoteEndSignal(int sig);

/// The recovery file of path: "dir/name.kfa" gives "dir/name.recovery.kfa" (same format).
std::string KfxRecoveryPath(const std::string& path);
/// Whether path's recovery file is there, and whether it is newer than path (or path does
/// not exist) or not: one left from before path was last saved some other way.
enum class KfxRecoveryFound { none, newer, older };
KfxRecoveryFound KfxFindRecovery(const std::string& path);
