#include "kivbase/gui/KivPicture.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr WORD kBitsPerPixel = 32;

}  // namespace

int KivPictureFillBack(CKivMemBlock* block, int back, int /*reserved*/) {
    if (!block || !block->GetAddress()) return 0;
    const CSize size = block->GetSize();
    tagCOLOR32* px = block->GetAddress();
    switch (back) {
        case KIV_BACK_WHITE: block->ClearBlock(nullptr, kKivCheckerLight); return 1;
        case KIV_BACK_CHECKER:
            for (int y = 0; y < size.cy; ++y) {
                tagCOLOR32* row = px + static_cast<size_t>(y) * static_cast<size_t>(size.cx);
                const bool oddRow = (y / kKivCheckerSquare) % 2 != 0;
                for (int x = 0; x < size.cx; x += kKivCheckerSquare) {
                    const bool dark = oddRow != ((x / kKivCheckerSquare) % 2 != 0);
                    std::fill(row + x, row + std::min<int>(x + kKivCheckerSquare, size.cx), dark ? kKivCheckerDark : kKivCheckerLight);
                }
            }
            return 1;
        default: return 0;
    }
}

int KivPublicInitBmpInfo(BITMAPINFO* info, int width, int height) {
    if (!info || width <= 0 || height <= 0) return 0;
    if (static_cast<long long>(width) * height > CKivMemBlock::kMaxPixels) return 0;
    std::memset(info, 0, sizeof *info);
    BITMAPINFOHEADER& h = info->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = -height;  // negative: the first row in memory is the top row
    h.biPlanes = 1;
    h.biBitCount = kBitsPerPixel;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(static_cast<long long>(width) * height * sizeof(tagCOLOR32));
    return 1;
}
