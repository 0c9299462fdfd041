#include "platform/ui/Clipboard.h"

namespace {

struct ClipboardState {
    KivClipboardHandler handler;
    std::optional<std::string> local;  // the process's own clipboard
};

ClipboardState& State() {
    static ClipboardState state;
    return state;
}

}  // namespace

bool KivSetClipboardText(const std::string& utf8) {
    ClipboardState& s = State();
    if (s.handler.set) return s.handler.set(utf8);
    s.local = utf8;
    return true;
}

std::optional<std::string> KivGetClipboardText() {
    ClipboardState& s = State();
    if (s.handler.get) return s.handler.get();
    return s.local;
}

KivClipboardHandler KivSetClipboardHandler(KivClipboardHandler handler) {
    KivClipboardHandler previous = std::move(State().handler);
    State().handler = std::move(handler);
    return previous;
}
