#include "EditRandomInput.h"

#include <array>
#include <sstream>

namespace {

constexpr std::array<const char*, 6> kNames = {"move", "down", "up", "right", "key", "char"};

}  // namespace

std::string EditEventText(const EditEvent& e) {
    std::ostringstream out;
    out << kNames[e.kind] << ' ' << e.pt.x << ' ' << e.pt.y << ' ' << e.code << ' ' << e.modifiers;
    return out.str();
}

bool ParseEditEvent(const std::string& line, EditEvent& e) {
    std::istringstream in(line);
    std::string name;
    if (!(in >> name >> e.pt.x >> e.pt.y >> e.code >> e.modifiers)) return false;
    for (size_t i = 0; i < kNames.size(); ++i)
        if (name == kNames[i]) {
            e.kind = static_cast<EditEvent::Kind>(i);
            return true;
        }
    return false;
}
