// The sub-commands of kfx. Each lives in its own file and adds itself with one
// KfxRegistration: its name, a summary line and a function that declares its options on the
// command (CLI11 reads and checks them, and generates --help) and returns what runs it.
#pragma once

#include <CLI/CLI.hpp>
#include <charconv>
#include <functional>
#include <string>
#include <vector>

/// Exit codes: success, a fault in the input (file, data, arguments), a failed self-check.
constexpr int kKfxOk = 0;
constexpr int kKfxBadInput = 2;
constexpr int kKfxCheckFailed = 3;

/// Runs a command whose options have been read; the process exit code. May throw: kfx turns
/// any exception into one line and kKfxBadInput.
using KfxRun = std::function<int()>;
/// Declares a command's options and positionals on command, binding them to state the
/// returned KfxRun owns.
using KfxDeclare = KfxRun (*)(CLI::App& command);

struct KfxCommand {
    const char* name;
    const char* summary;  // one line, shown in `kfx --help`
    KfxDeclare declare;
};

/// Adds a command to kfx. Made once per command, at namespace scope in the command's own file.
struct KfxRegistration {
    explicit KfxRegistration(const KfxCommand& command);
};
/// Every registered command, by name.
const std::vector<KfxCommand>& KfxCommands();

/// Declares an option of one value that parse reads; when parse says false, kfx refuses the
/// arguments with "fault, not 'VALUE'". valueName stands for the value in --help.
CLI::Option* KfxAddOption(CLI::App& command, const std::string& name, const std::string& valueName, const std::string& help,
                          const std::string& fault, std::function<bool(const std::string&)> parse);

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
