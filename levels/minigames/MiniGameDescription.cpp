#include "levels/minigames/MiniGameDescription.h"

bool ReadName(CStream& stream, char (&name)[kNameBytes])
{
    if (!stream.Read(name, 1, kNameBytes))
        return false;
    name[kNameBytes - 1] = '\0';
    return true;
}

bool ReadPopup(CStream& s, CLevelPopupGroup& p)
{
    return ReadValue(s, p.popupId) && ReadValue(s, p.repeat) && ReadValue(s, p.value) && ReadValue(s, p.shown);
}

bool ReadExit(CStream& s, CMiniGameExit& e)
{
    return ReadValue(s, e.reloadArgument) && ReadValue(s, e.nextScene) && ReadValue(s, e.extraValue) &&
           ReadValue(s, e.moveSound) && ReadValue(s, e.solvedSound) && ReadValue(s, e.hintReward);
}
