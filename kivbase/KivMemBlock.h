// A block of 32-bit pixels (tagCOLOR32) stored row after row, width pixels to a row, with
// clipped fills and copies between blocks.
#pragma once

#include <memory>

#include "kivbase/KivColor.h"
#include "platform/fw/CGeometry.h"
#include "platform/fw/KivTypes.h"

/// How Copy combines a source pixel with the target pixel.
enum MIXMODE : int {
    /// Source over target by the source's alpha: each colour channel becomes
    /// (src * a + dst * (255 - a)) / 255 rounded, alpha becomes a + dst.alpha * (255 - a) / 255.
    MIXMODE_ALPHABLEND = 0,
    /// Reserved; copies as MIXMODE_COPY does.
    MIXMODE_RESERVED1 = 1,
    /// The source pixel replaces the target pixel, alpha included.
    MIXMODE_COPY = 2
};

/// Which rows of an interlaced frame Copy writes, counted in the target block.
enum KIV_ENUM_FIELD_TYPE : int {
    KIV_FIELD_UPPER = 0,  ///< even rows only (0, 2, 4...)
    KIV_FIELD_LOWER = 1,  ///< odd rows only
    KIV_FIELD_FRAME = 2   ///< every row: a progressive frame
};

class CKivMemBlock {
public:
    /// Largest block InitBlock sets up: 2^28 pixels (1 GiB), far beyond any video frame; a
    /// corrupt size from a file then fails cleanly instead of asking for terabytes.
    static constexpr long long kMaxPixels = 1LL << 28;

    CKivMemBlock() = default;
    ~CKivMemBlock() = default;
    CKivMemBlock(const CKivMemBlock&) = delete;
    CKivMemBlock& operator=(const CKivMemBlock&) = delete;

    /// Sets up a block of size.cx x size.cy pixels, copied from initial (which holds that
    /// many) or, for null, all zero (transparent black). The int is reserved (callers pass 0).
    /// Nonzero on success; 0 for a non-positive size, more than kMaxPixels, or no memory, in
    /// which case the block keeps what it held.
    int InitBlock(CSize size, const tagCOLOR32* initial, int reserved);
    /// Width and height; (0, 0) when no block is set up.
    CSize GetSize() const { return m_size; }
    /// The first pixel, rows following one another; null when no block is set up.
    tagCOLOR32* GetAddress() { return m_pixels.get(); }
    const tagCOLOR32* GetAddress() const { return m_pixels.get(); }
    /// Releases the pixels; the block is then empty. Harmless when already empty.
    void Close();
    /// Fills rect (null: the whole block), clipped to the block, with color; nothing for an
    /// empty block or a rectangle outside it.
    void ClearBlock(const RECT* rect, tagCOLOR32 color);

    /// Copies srcRect of src into this block with its top-left corner at (x, y), combining
    /// pixels as mode says and writing the rows field selects. Both rectangles are clipped
    /// to their blocks; src may be this block. The int is reserved (callers pass 1).
    /// 1 when done (also when clipping leaves nothing); 0 for a null or empty source or
    /// an unknown field type.
    int Copy(int x, int y, const CKivMemBlock* src, CRect srcRect, MIXMODE mode, int reserved,
             KIV_ENUM_FIELD_TYPE field);
    int Copy(CPoint dest, const CKivMemBlock* src, CRect srcRect, MIXMODE mode, int reserved,
             KIV_ENUM_FIELD_TYPE field) {
        return Copy(dest.x, dest.y, src, srcRect, mode, reserved, field);
    }

private:
    std::unique_ptr<tagCOLOR32[]> m_pixels;
    CSize m_size;
};
