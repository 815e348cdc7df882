#pragma once
#include "platform/win32/WindowRegistry.h"

// Tells the shown dialog, if any, that a control's text, state, items or enabled flag changed.
void NotifyDialogView(const CWindow& window);
