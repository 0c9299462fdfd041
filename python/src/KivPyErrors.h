// The exceptions Python sees: a loader's refusal is kivfx.FormatError (a ValueError) with
// the message kfx prints, a file-system fault an OSError subclass chosen by its errno, and
// running out of memory MemoryError.
#pragma once

#include <string>

/// A file-system fault, raised as OSError(err, message, path) (FileNotFoundError for
/// ENOENT, PermissionError for EACCES...); err 0 gives a plain OSError.
struct KivPyOsError {
    int err;
    std::string message;
    std::string path;
};
