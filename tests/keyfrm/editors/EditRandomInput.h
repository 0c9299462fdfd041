// Random input for kfx edit's editors: events a person could give (mouse moves, presses,
// releases, right clicks with a menu choice, keys), generated from a seed, written to and
// read from text so that every input that once failed is replayed for good.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "platform/fw/CGeometry.h"
#include "platform/fw/KivTypes.h"

struct EditEvent {
    enum Kind { move, down, up, rightClick, key, character };
    Kind kind = move;
    CPoint pt;
    UINT code = 0;      // the key, the character, or the menu choice (0 dismisses, n the (n-1)-th item mod count)
    UINT modifiers = 0; // MK_CONTROL, MK_SHIFT held with a key
};

/// One line per event ("move 10 20", "key 90 8", ...).
std::string EditEventText(const EditEvent& e);
/// The event a line names; false for a line that names none.
bool ParseEditEvent(const std::string& line, EditEvent& e);
