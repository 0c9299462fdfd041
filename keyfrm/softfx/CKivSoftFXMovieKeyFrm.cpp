#include "keyfrm/softfx/CKivSoftFXMovieKeyFrm.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <thread>

#include "kivbase/KivSystem.h"
#include "kivbase/persist/KivBytes.h"
#include "platform/fw/CFile.h"

namespace {

// The name hosts and older caches know: prefix, tick, second number, first number.
constexpr const wchar_t* kNamePattern = L"%sMKF%lu%d%d.#mfk#";
constexpr std::wstring_view kNameStart = L"MKF";
constexpr std::wstring_view kNameEnd = L".#mfk#";

constexpr UINT kHeaderBytes = 8;     // width and height, 32 bits each
constexpr UINT kPixelBytes = sizeof(tagCOLOR32);

// The tick count moves every millisecond; polling a little faster than that finds the next
// tick promptly without spinning a processor.
constexpr auto kTickPollInterval = std::chrono::microseconds(100);
// Enough polls to span many real ticks even on a loaded machine; only a clock that stands
// still (a test's) exhausts them, and exclusive creation still keeps names apart then.
constexpr int kMaxTickPolls = 200;
// Names found taken (by another process within one tick) before giving up.
constexpr int kMaxNameAttempts = 8;

// Waits until the tick count differs from tick (not "is greater": the count wraps) and
// returns the new count; returns tick itself if the clock never moves.
DWORD WaitForNextTick(DWORD tick) {
    for (int poll = 0; poll < kMaxTickPolls; ++poll) {
        const DWORD now = KivGetTickCount();
        if (now != tick) return now;
        std::this_thread::sleep_for(kTickPollInterval);
    }
    return tick;
}

void RemoveQuietly(const CString& path) {
    try {
        CFile::Remove(path);
    } catch (...) {
        // a file that cannot be removed stays; nothing depends on its absence
    }
}

void WriteFrame(CFile& file, const CKivMemBlock& block) {
    const CSize size = block.GetSize();
    BYTE header[kHeaderBytes];
    KivPutI32(header, size.cx);
    KivPutI32(header + 4, size.cy);
    file.Write(header, kHeaderBytes);
    // Rows follow one another without gaps in the block as in the file. A block holds at
    // most CKivMemBlock::kMaxPixels pixels, so the count fits one write.
    const auto bytes = static_cast<std::uint64_t>(size.cx) * static_cast<std::uint64_t>(size.cy) * kPixelBytes;
    file.Write(block.GetAddress(), static_cast<UINT>(bytes));
}

// A frame cache file is a regular file. The path may come from a project file: one that
// names a pipe would block the open until someone writes, a device would read forever.
bool IsRegularFile(const CString& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path.ToUtf8()), error);
}

int ClampToInt(std::int64_t v) { return static_cast<int>(v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : v); }

}  // namespace

KIV_IMPLEMENT_PERSIST_LEVEL(CKivSoftFXMovieKeyFrm, CKivSoftFXBaseKeyFrm)
KIV_IMPLEMENT_DEFAULT(CKivSoftFXMovieKeyFrm, CKivSoftFXBaseKeyFrm)

// Loading accepts the narrow string form too (the archive's string reader widens it).
KIV_LEVEL(CKivSoftFXMovieKeyFrm, "CKivSoftFXMovieKeyFrm", 0, 0,
          KivField<&Self::MovieKFMFile>("MovieKFMFile", KivEnc::wstr, KivXml::wstr))

CKivSoftFXMovieKeyFrm::CKivSoftFXMovieKeyFrm() { KivDefaultLevel(this, Level()); }

CKivSoftFXMovieKeyFrm::~CKivSoftFXMovieKeyFrm() {
    if (IsFrameFileName(MovieKFMFile) && KivPublicDoesFileExist(MovieKFMFile)) RemoveQuietly(MovieKFMFile);
    MovieKFMFile.Empty();
}

CString CKivSoftFXMovieKeyFrm::MakeFrameFileName(LPCWSTR prefix, DWORD tick, int first, int second) {
    CString name;
    name.Format(kNamePattern, prefix ? prefix : L"", tick, second, first);
    return name;
}

bool CKivSoftFXMovieKeyFrm::IsFrameFileName(const CString& path) {
    const std::wstring_view name = std::wstring_view(path.GetString(), path.GetLength()).substr(path.ReverseFind(L'/') + 1);
    if (name.size() <= kNameStart.size() + kNameEnd.size() || !name.starts_with(kNameStart) || !name.ends_with(kNameEnd))
        return false;
    const std::wstring_view numbers = name.substr(kNameStart.size(), name.size() - kNameStart.size() - kNameEnd.size());
    return numbers.find_first_not_of(L"0123456789-") == std::wstring_view::npos;  // the two numbers may be negative
}

int CKivSoftFXMovieKeyFrm::MakeOneFrameFile(CKivMemBlock* block, int first, int second) {
    if (!block || !block->GetAddress()) return 0;
    const CString prefix = KivGetTempFilePath();
    DWORD tick = KivGetTickCount();
    CString path;
    CFile file;
    for (int attempt = 1;; ++attempt) {
        path = MakeFrameFileName(prefix, tick, first, second);
        CFileException error;
        if (file.Open(path, CFile::modeCreateNew | CFile::modeWrite, &error)) break;
        // Only a name taken by someone else within this tick is worth another try. The path
        // keeps naming the keyframe's own file, never one it did not make.
        if (error.m_lOsError != EEXIST || attempt == kMaxNameAttempts) return 0;
        tick = WaitForNextTick(tick);
    }
    try {
        WriteFrame(file, *block);
        file.Close();
    } catch (...) {
        file.Abort();
        RemoveQuietly(path);
        throw;
    }
    MovieKFMFile = path;
    WaitForNextTick(tick);
    return 1;
}

int CKivSoftFXMovieKeyFrm::GetOneFrameFromFile(CKivMemBlock* target, CRect rcPlace) {
    if (!target || !IsRegularFile(MovieKFMFile)) return 0;
    CFile file;
    if (!file.Open(MovieKFMFile, CFile::modeRead)) return 0;
    try {
        BYTE header[kHeaderBytes];
        if (file.Read(header, kHeaderBytes) != kHeaderBytes) return 0;
        const LONG width = KivGetI32(header);
        const LONG height = KivGetI32(header + 4);
        if (width <= 0 || height <= 0) return 0;
        // In 64 bits, and checked against the file before anything is allocated.
        const auto pixelBytes = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * kPixelBytes;
        if (pixelBytes > UINT32_MAX || file.GetLength() < kHeaderBytes + pixelBytes) return 0;

        const CSize bounds = target->GetSize();
        CRect place;
        if (!place.IntersectRect(rcPlace, CRect(0, 0, bounds.cx, bounds.cy))) return 1;

        CKivMemBlock picture;
        if (!picture.InitBlock(CSize(width, height), nullptr, 0)) return 0;
        if (file.Read(picture.GetAddress(), static_cast<UINT>(pixelBytes)) != pixelBytes) return 0;  // the file shrank
        file.Close();

        // The part of the picture under place when its corner sits at rcPlace's corner.
        const auto dx = static_cast<std::int64_t>(rcPlace.left);
        const auto dy = static_cast<std::int64_t>(rcPlace.top);
        const CRect source(ClampToInt(place.left - dx), ClampToInt(place.top - dy), ClampToInt(place.right - dx),
                           ClampToInt(place.bottom - dy));
        target->Copy(place.TopLeft(), &picture, source, MIXMODE_COPY, 1, KIV_FIELD_FRAME);
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}
