// The system clipboard's text, as UTF-8. A presenter with a real display plugs in its own
// (KivSetClipboardHandler); without one the text stays within the process, so headless
// hosts and tests copy and paste the same way.
#pragma once

#include <functional>
#include <optional>
#include <string>

struct KivClipboardHandler {
    std::function<bool(const std::string&)> set;     // false when the text could not be put there
    std::function<std::optional<std::string>()> get; // nullopt when there is no text
};

/// Puts text on the clipboard; false when the clipboard refused it.
bool KivSetClipboardText(const std::string& utf8);
/// The clipboard's text, nullopt when it holds none.
std::optional<std::string> KivGetClipboardText();
/// Installs a clipboard (an empty handler goes back to the process's own); returns the one
/// installed before.
KivClipboardHandler KivSetClipboardHandler(KivClipboardHandler handler);
