// Picture helpers for pixel blocks: the background that shows transparency through a
// block's pixels, and the bitmap header that lets a block be drawn with StretchDIBits.
#pragma once

#include "kivbase/KivMemBlock.h"
#include "platform/ui/DC.h"

/// Backgrounds KivPictureFillBack paints.
enum KIV_PICTURE_BACK : int {
    KIV_BACK_WHITE = 0,    ///< opaque white
    KIV_BACK_CHECKER = 1,  ///< a checkerboard of white and light grey squares
};
/// The checkerboard's squares, in pixels, and its two colours (opaque).
constexpr int kKivCheckerSquare = 8;
constexpr tagCOLOR32 kKivCheckerLight{255, 255, 255, 255};
constexpr tagCOLOR32 kKivCheckerDark{204, 204, 204, 255};

/// Paints the whole of block with a background: KIV_BACK_CHECKER puts a light square at the
/// block's top-left corner and alternates from there. The int is reserved (callers pass 0).
/// Nonzero on success; 0 for a null or empty block or an unknown background.
int KivPictureFillBack(CKivMemBlock* block, int back, int reserved);

/// Fills info for a block of width x height pixels as CKivMemBlock keeps them: 32 bits per
/// pixel (blue, green, red, alpha in memory), rows top-down without padding, no palette.
/// Nonzero on success; 0 (info untouched) for a null info or a size that is not positive
/// or beyond CKivMemBlock::kMaxPixels.
int KivPublicInitBmpInfo(BITMAPINFO* info, int width, int height);
