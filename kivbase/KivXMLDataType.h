// The typed value record that carries one XML attribute value between a class's
// persistence code and the document wrapper, its value codes and the status numbers.
#pragma once

#include <cstdint>

#include "platform/fw/KivTypes.h"

/// Value codes of SKivXMLDataType::type; each names the union member that carries the value.
enum EKivXMLDataCode : std::int32_t {
    KIVXML_WSTRING = 0,   ///< pWStr: wide text
    KIVXML_INT = 1,       ///< iVal: 32-bit signed (flags, switches)
    KIVXML_SHORT = 4,     ///< sVal: 16-bit signed
    KIVXML_VERSION = 6,   ///< wVal: 16-bit unsigned version word
    KIVXML_INT32 = 7,     ///< iVal: 32-bit signed (frame numbers, counts)
    KIVXML_COLOR = 11,    ///< dwVal: 32-bit unsigned packed colour
    KIVXML_FLOAT = 12,    ///< fVal
    KIVXML_DOUBLE = 13,   ///< dVal
    KIVXML_BLOCK = 17     ///< pBytes with size bytes
};

/// Statuses of SetNodeAttribute and GetNodeAttribute. Only success writes the record's
/// value; every other status leaves it exactly as the caller left it.
enum EKivXMLStatus : LONG {
    KIVXML_OK = 0,
    KIVXML_ABSENT = 1,            ///< no attribute of that name (or no node)
    KIVXML_E_MALFORMED = -1,      ///< text is not a number, or not base64, for the code
    KIVXML_E_RANGE = -2,          ///< a number outside the code's range
    KIVXML_E_SIZE = -3,           ///< a block of another length than the record's size asked for
    KIVXML_E_ARGUMENT = -4,       ///< null name or record, unknown code, bad attribute name
    KIVXML_E_MEMORY = -5          ///< allocation failed
};

/// One attribute value: type code, value, and for code 17 the byte count. Callers zero the
/// whole record, then set the code (and for storing the value).
struct SKivXMLDataType {
    std::int32_t type;
    union {
        wchar_t* pWStr;   // 0: storing reads the text; loading returns new wchar_t[] (free with delete[])
        int iVal;         // 1 and 7
        short sVal;       // 4
        WORD wVal;        // 6
        DWORD dwVal;      // 11
        float fVal;       // 12
        double dVal;      // 13
        BYTE* pBytes;     // 17: storing reads size bytes; loading returns a GlobalAlloc block (free with GlobalFree)
    } value;
    /// Code 17: byte count. Loading: 0 accepts a block of any length; nonzero demands exactly
    /// that many bytes (else KIVXML_E_SIZE). Set to the block's length on success.
    std::uint32_t size;
};
static_assert(sizeof(SKivXMLDataType::value) == 8, "the value union is 8 bytes");

/// Frees what a load left in a record (code 0 with delete[], code 17 with GlobalFree) and
/// nulls the pointer; other codes hold no memory. Safe on a zeroed or already released record.
void KivXMLReleaseValue(SKivXMLDataType& record);

/// Releases a record's loaded value when the guard goes out of scope, so an early return or
/// an exception between the load and the copy cannot leak it. Only for records that
/// GetNodeAttribute fills: a storing record points at the caller's own memory.
class KivXMLValueGuard {
public:
    explicit KivXMLValueGuard(SKivXMLDataType& record) : m_record(record) {}
    ~KivXMLValueGuard() { KivXMLReleaseValue(m_record); }
    KivXMLValueGuard(const KivXMLValueGuard&) = delete;
    KivXMLValueGuard& operator=(const KivXMLValueGuard&) = delete;

private:
    SKivXMLDataType& m_record;
};
