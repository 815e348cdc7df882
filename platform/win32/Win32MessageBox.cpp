#include "platform/win32/Win32MessageBox.h"

#include <cstdio>
#include <string>
#include <vector>

#include "base/WideString.h"
#include "platform/win32/SdlVideo.h"
#include "platform/win32/PlatformHarness.h"
#include "platform/win32/WindowRegistry.h"

namespace {

struct Button {
    int id;
    const char* label;
};

std::vector<Button> ButtonsOf(UINT type)
{
    switch (type & 0x0F) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
    }
}

Uint32 IconFlags(UINT type)
{
    switch (type & 0xF0) {
    case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING: return SDL_MESSAGEBOX_WARNING;
    default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

} // namespace

int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type)
{
    std::string utf8Text = Utf16ToUtf8(text ? text : u"");
    std::string utf8Caption = Utf16ToUtf8(caption ? caption : u"Error");
    fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    fflush(stderr);

    std::vector<Button> buttons = ButtonsOf(type);
    if (IsHeadless() || !HasDisplayEnvironment())
        return buttons.front().id;

    std::vector<SDL_MessageBoxButtonData> data;
    for (size_t i = 0; i < buttons.size(); ++i) {
        Uint32 flags = i == 0 ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
        if (i + 1 == buttons.size() && buttons.size() > 1)
            flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        data.push_back(SDL_MessageBoxButtonData{flags, buttons[i].id, buttons[i].label});
    }
    CWindow* parent = CWindowRegistry::Get().Find(owner);
    SDL_MessageBoxData box{IconFlags(type), parent ? parent->Sdl() : nullptr, utf8Caption.c_str(), utf8Text.c_str(),
                           static_cast<int>(data.size()), data.data(), nullptr};
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0)
        return buttons.front().id;
    return pressed > 0 ? pressed : (buttons.size() > 1 ? buttons.back().id : buttons.front().id);
}
