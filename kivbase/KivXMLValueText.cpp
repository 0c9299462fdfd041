#include "kivbase/KivXMLValueText.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <new>

#include "kivbase/KivBase64.h"
#include "platform/fw/CString.h"
#include "platform/fw/KivGlobalMemory.h"

namespace {

template <typename T>
LONG FormatNumber(T v, char* buf, size_t capacity, size_t& size) {
    const auto r = std::to_chars(buf, buf + capacity, v);
    if (r.ec != std::errc()) return KIVXML_E_ARGUMENT;  // cannot happen with the capacity given
    size = static_cast<size_t>(r.ptr - buf);
    return KIVXML_OK;
}

LONG StatusOf(std::errc ec) { return ec == std::errc::result_out_of_range ? KIVXML_E_RANGE : KIVXML_E_MALFORMED; }

// Whole text as a 64-bit integer, so each code can apply its own range afterwards.
LONG ParseInteger(std::string_view text, std::int64_t& v) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, v);
    if (r.ec != std::errc()) return StatusOf(r.ec);
    return r.ptr == end ? KIVXML_OK : KIVXML_E_MALFORMED;
}

template <typename T>
LONG ParseFloating(std::string_view text, T& v) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, v, std::chars_format::general);
    if (r.ec != std::errc()) return StatusOf(r.ec);
    return r.ptr == end ? KIVXML_OK : KIVXML_E_MALFORMED;
}

LONG ParseWideString(std::string_view text, SKivXMLDataType& record) {
    const CString s = CString::FromUtf8(text);
    const size_t n = static_cast<size_t>(s.GetLength());
    wchar_t* copy = new (std::nothrow) wchar_t[n + 1];
    if (!copy) return KIVXML_E_MEMORY;
    std::memcpy(copy, s.GetString(), (n + 1) * sizeof(wchar_t));
    record.value.pWStr = copy;  // ownership passes to the caller, who frees it with delete[]
    return KIVXML_OK;
}

LONG ParseBlock(std::string_view text, SKivXMLDataType& record) {
    const std::optional<size_t> n = KivBase64DecodedLength(text);
    if (!n) return KIVXML_E_MALFORMED;
    if (*n > std::numeric_limits<std::uint32_t>::max()) return KIVXML_E_RANGE;
    if (record.size != 0 && record.size != *n) return KIVXML_E_SIZE;
    auto* block = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, *n));
    if (!block) return KIVXML_E_MEMORY;
    KivBase64Decode(text, block, *n);  // cannot fail: the text was checked above
    record.value.pBytes = block;  // the caller frees it with GlobalFree
    record.size = static_cast<std::uint32_t>(*n);
    return KIVXML_OK;
}

bool InRange(std::int64_t v, std::int64_t lo, std::int64_t hi) { return v >= lo && v <= hi; }

}  // namespace

LONG KivXMLFormatValue(const SKivXMLDataType& record, KivXMLValueText& out) {
    char* buf = out.m_inline;
    constexpr size_t cap = KivXMLValueText::kInlineCapacity;
    size_t& n = out.m_inlineSize;
    try {
        switch (record.type) {
        case KIVXML_WSTRING:
            if (record.value.pWStr) out.m_heap = CString(record.value.pWStr).ToUtf8();
            return KIVXML_OK;
        case KIVXML_INT:
        case KIVXML_INT32: return FormatNumber(record.value.iVal, buf, cap, n);
        case KIVXML_SHORT: return FormatNumber(record.value.sVal, buf, cap, n);
        case KIVXML_VERSION: return FormatNumber(record.value.wVal, buf, cap, n);
        case KIVXML_COLOR: return FormatNumber(record.value.dwVal, buf, cap, n);
        case KIVXML_FLOAT: return FormatNumber(record.value.fVal, buf, cap, n);
        case KIVXML_DOUBLE: return FormatNumber(record.value.dVal, buf, cap, n);
        case KIVXML_BLOCK:
            if (record.size != 0 && !record.value.pBytes) return KIVXML_E_ARGUMENT;
            if (KivBase64EncodedLength(record.size) <= cap)  // the common small blocks need no heap
                n = KivBase64EncodeTo(record.value.pBytes, record.size, buf);
            else
                KivBase64Encode(record.value.pBytes, record.size, out.m_heap);
            return KIVXML_OK;
        default: return KIVXML_E_ARGUMENT;
        }
    } catch (const std::bad_alloc&) {
        return KIVXML_E_MEMORY;
    }
}

LONG KivXMLParseValue(std::string_view text, SKivXMLDataType& record) {
    using I32 = std::numeric_limits<std::int32_t>;
    std::int64_t v = 0;
    LONG status = KIVXML_OK;
    try {
        switch (record.type) {
        case KIVXML_WSTRING: return ParseWideString(text, record);
        case KIVXML_BLOCK: return ParseBlock(text, record);
        case KIVXML_FLOAT: {
            float f = 0;
            if ((status = ParseFloating(text, f)) == KIVXML_OK) record.value.fVal = f;
            return status;
        }
        case KIVXML_DOUBLE: {
            double d = 0;
            if ((status = ParseFloating(text, d)) == KIVXML_OK) record.value.dVal = d;
            return status;
        }
        case KIVXML_INT:
        case KIVXML_INT32:
        case KIVXML_SHORT:
            if ((status = ParseInteger(text, v)) != KIVXML_OK) return status;
            if (!InRange(v, I32::min(), I32::max())) return KIVXML_E_RANGE;
            if (record.type == KIVXML_SHORT)
                record.value.sVal = static_cast<short>(static_cast<std::uint16_t>(v & 0xFFFF));
            else
                record.value.iVal = static_cast<int>(v);
            return KIVXML_OK;
        case KIVXML_VERSION:
            if ((status = ParseInteger(text, v)) != KIVXML_OK) return status;
            if (!InRange(v, 0, std::numeric_limits<WORD>::max())) return KIVXML_E_RANGE;
            record.value.wVal = static_cast<WORD>(v);
            return KIVXML_OK;
        case KIVXML_COLOR:
            if ((status = ParseInteger(text, v)) != KIVXML_OK) return status;
            if (!InRange(v, 0, std::numeric_limits<DWORD>::max())) return KIVXML_E_RANGE;
            record.value.dwVal = static_cast<DWORD>(v);
            return KIVXML_OK;
        default: return KIVXML_E_ARGUMENT;
        }
    } catch (const std::bad_alloc&) {
        return KIVXML_E_MEMORY;
    }
}

void KivXMLReleaseValue(SKivXMLDataType& record) {
    if (record.type == KIVXML_WSTRING) {
        delete[] record.value.pWStr;
        record.value.pWStr = nullptr;
    } else if (record.type == KIVXML_BLOCK) {
        record.value.pBytes = static_cast<BYTE*>(GlobalFree(record.value.pBytes));
        record.size = 0;
    }
}
