// The movie effect's keyframe: one picture kept in a frame cache file in the temporary
// folder, of which the keyframe stores only the path.
//
// A frame cache file is the picture's width and height (32-bit signed, little-endian) and
// then its pixels row after row, four bytes each in the pixel block's memory order.
#pragma once

#include "keyfrm/softfx/CKivSoftFXBaseKeyFrm.h"
#include "kivbase/KivMemBlock.h"

class CKivSoftFXMovieKeyFrm : public CKivSoftFXBaseKeyFrm {
    KIV_DECLARE_PERSIST_LEVEL(CKivSoftFXMovieKeyFrm)
public:
    CKivSoftFXMovieKeyFrm();
    /// Deletes the frame cache file the path names, if it exists and its name is that of a
    /// frame cache file (so a path loaded from a project can never delete anything else);
    /// failures are ignored. Copies naming the same file lose it too.
    ~CKivSoftFXMovieKeyFrm() override;
    /// The bases' Default, then an empty path (the file, if any, stays on disk).
    void Default() override;

    /// Writes block to a new frame cache file named from the tick count and the two numbers
    /// (MakeFrameFileName) and sets the path to it; the previous file is left alone. Never
    /// overwrites a file: a name already taken is retried at the next tick. Returns after
    /// the tick count has moved on, so the next call cannot reuse the tick. 1 when written;
    /// 0, the path unchanged, for a null or empty block or when no file can be created. A
    /// failed write removes the partly written file, leaves the path unchanged and raises
    /// the CFileException.
    int MakeOneFrameFile(CKivMemBlock* block, int first, int second);
    /// Copies the cached picture into target with its top-left corner at rcPlace's, clipped
    /// to rcPlace and the target and never scaled. 1 when drawn or nothing falls inside;
    /// 0, target untouched, for a null target, a path that names no regular file (a pipe or
    /// a device is never opened), a file that cannot be read, a header with a size of zero
    /// or less, one whose pixels do not fit 32 bits or the file, or no memory.
    int GetOneFrameFromFile(CKivMemBlock* target, CRect rcPlace);

    /// The frame cache file name: prefix, "MKF", tick, second, first, ".#mfk#" (numbers in
    /// decimal, second before first).
    static CString MakeFrameFileName(LPCWSTR prefix, DWORD tick, int first, int second);
    /// True when the last component of path has the form MakeFrameFileName gives.
    static bool IsFrameFileName(const CString& path);

    CString MovieKFMFile;  // full path of the frame cache file; empty when there is none
};
