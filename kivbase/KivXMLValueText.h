// How each value code of SKivXMLDataType is spelled in an attribute, both ways. Kept apart
// from the document so the rules can be checked without building XML.
#pragma once

#include <string>
#include <string_view>

#include "kivbase/KivXMLDataType.h"

/// The text of one value. Numbers and short byte blocks are formatted into the inline
/// buffer, so the hot path allocates nothing; text and longer blocks go to the string.
class KivXMLValueText {
public:
    std::string_view View() const { return m_inlineSize ? std::string_view(m_inline, m_inlineSize) : std::string_view(m_heap); }

private:
    friend LONG KivXMLFormatValue(const SKivXMLDataType&, KivXMLValueText&);
    // Longest number text: a double in shortest form needs 24 characters ("-2.2250738585072014e-308").
    static constexpr size_t kInlineCapacity = 32;
    char m_inline[kInlineCapacity];
    size_t m_inlineSize = 0;
    std::string m_heap;
};

/// Spells the record's value: integers in decimal (code 4 the low 16 bits as signed, 6 and
/// 11 unsigned), floats and doubles in the shortest text that reads back to the same bits,
/// code 0 as UTF-8 (a null pointer as empty text), code 17 as base64. KIVXML_OK, or
/// KIVXML_E_ARGUMENT for an unknown code or a null block with a nonzero size, or
/// KIVXML_E_MEMORY.
LONG KivXMLFormatValue(const SKivXMLDataType& record, KivXMLValueText& out);

/// Reads attribute text into the record's value for its code; on any failure the value
/// and size stay untouched. The whole text must be the number (no spaces, no '+'):
///   1, 7  int32 decimal;   4  any int32 decimal, kept as its low 16 bits sign-extended;
///   6     0..65535;         11 0..4294967295;
///   12,13 decimal or exponent form that fits the type, or "nan"/"inf" with optional '-'
///         as std::to_chars writes them ("1e400" is out of range for both);
///   0     any text, invalid UTF-8 becoming U+FFFD, returned as new wchar_t[];
///   17    canonical base64 (see KivBase64DecodedLength) returned in a GlobalAlloc block;
///         a nonzero size on entry must equal the decoded length.
/// Statuses: KIVXML_OK, KIVXML_E_MALFORMED, KIVXML_E_RANGE, KIVXML_E_SIZE,
/// KIVXML_E_ARGUMENT (unknown code), KIVXML_E_MEMORY.
LONG KivXMLParseValue(std::string_view text, SKivXMLDataType& record);
