#pragma once

// Mouse flags as the views' handlers receive them: the buttons held and the modifier keys.
enum MouseFlag : unsigned {
    MK_LBUTTON = 0x01,
    MK_RBUTTON = 0x02,
    MK_SHIFT = 0x04,
    MK_CONTROL = 0x08,
    MK_MBUTTON = 0x10,
};
