#pragma once

// Whether a modifier key (VK_SHIFT, VK_CONTROL, VK_MENU or a side of one) is held right now on
// the display, asked of the X server; false without one.
bool SystemModifierDown(int virtualKey);
void CloseSystemKeyboard();
