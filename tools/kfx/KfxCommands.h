// The sub-commands of kfx. Each takes its own arguments (without the command name),
// prints --help on request, and returns the process exit code.
#pragma once

#include <charconv>
#include <string>
#include <vector>

using KfxArgs = std::vector<std::string>;

/// Exit codes: success, a fault in the input (file, data, arguments), a failed self-check.
constexpr int kKfxOk = 0;
constexpr int kKfxBadInput = 2;
constexpr int kKfxCheckFailed = 3;

int KfxDemo(const KfxArgs& args);
int KfxInfo(const KfxArgs& args);
int KfxConvert(const KfxArgs& args);
int KfxFormats(const KfxArgs& args);
int KfxSample(const KfxArgs& args);
int KfxRender(const KfxArgs& args);
int KfxEdit(const KfxArgs& args);
int KfxExport(const KfxArgs& args);
int KfxImport(const KfxArgs& args);

/// True when args ask for help (-h or --help anywhere).
bool KfxWantsHelp(const KfxArgs& args);
/// Reads the whole of text as a number of type T; false (out unchanged or partly set) when
/// text is empty, has anything else in it or is out of T's range.
template <class T>
bool KfxParseNumber(const std::string& text, T& out) {
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end;
}
/// A number in the shortest text that reads back to the same value, as the XML format and
/// the CSV of kfx sample spell numbers.
template <class T>
std::string KfxSpelled(T v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}
/// Prints "kfx: message" on stderr and returns kKfxBadInput.
int KfxFail(const std::string& message);
