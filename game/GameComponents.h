#pragma once

class CWorldComponentFactory;

// Registers the makers of the game's own components: fonts, music, toolbar, hint, stars,
// background, fader, touch markers, inertia, layered menus and pop-up texts.
void RegisterGameComponents(CWorldComponentFactory& factory);
