#pragma once
#include <cstdint>

// What a pop-up text uses of the screens the world owns; the screenshot fader, the background
// and the menu dialog implement them. A pop-up not given one skips what it does.

class CPopupFader {
public:
    // Draws the frozen picture at full alpha.
    virtual void Show() = 0;

protected:
    ~CPopupFader() = default;
};

class CPopupBackground {
public:
    // True when the scene picture has a name.
    virtual bool HasScenePicture() = 0;
    virtual void DrawLoading(uint8_t small, uint8_t big, uint8_t background, uint8_t picture) = 0;
    virtual void DrawBackground(uint8_t alpha) = 0;

protected:
    ~CPopupBackground() = default;
};

class CGameLabels;

// The level labels whose records a page takes its place from.
class CPopupLabels {
public:
    // Null while there are none.
    virtual CGameLabels* GetLabels() const = 0;

protected:
    ~CPopupLabels() = default;
};

class CPopupDialog {
public:
    virtual void PlayClickSound() = 0;
    // The width of the menu dialog's frame.
    virtual float GetFrameWidth() = 0;

protected:
    ~CPopupDialog() = default;
};
