// Base64 with the standard alphabet and '=' padding, as byte blocks appear in XML attributes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/fw/KivTypes.h"

/// The length of the base64 text of n bytes.
constexpr size_t KivBase64EncodedLength(size_t n) { return (n + 2) / 3 * 4; }
/// Writes the base64 text of n bytes to out, which holds KivBase64EncodedLength(n)
/// characters; returns that length. Cannot fail.
size_t KivBase64EncodeTo(const BYTE* data, size_t n, char* out);
/// Appends the base64 text of n bytes to out (nothing for n == 0). Throws std::bad_alloc
/// only when out cannot grow.
void KivBase64Encode(const BYTE* data, size_t n, std::string& out);

/// The byte count text decodes to, or nothing when it is not canonical base64: a length
/// that is not a multiple of 4, a character outside the alphabet (whitespace included),
/// '=' anywhere but the last one or two places, or nonzero bits left over in the padding.
std::optional<size_t> KivBase64DecodedLength(std::string_view text);

/// Decodes text into out, which holds capacity bytes, in one pass; the decoded length, or
/// nothing (out then holds anything) when text is not canonical (as KivBase64DecodedLength
/// says) or decodes to more than capacity bytes.
std::optional<size_t> KivBase64Decode(std::string_view text, BYTE* out, size_t capacity);
