#include "game/GameComponents.h"

#include <new>

#include "engine3d/FontCharset.h"
#include "game/CharsetRemap.h"
#include "game/KvoMusicManager.h"
#include "game/PopupText.h"
#include "game/WorldComponentFactory.h"
#include "game/screens/KvoBackground.h"
#include "game/screens/KvoScreenshot.h"
#include "game/screens/ScreenLayeredMenu.h"
#include "game/screens/Stars.h"
#include "game/widgets/Hint.h"
#include "game/widgets/InertiaPosition.h"
#include "game/widgets/Toolbar.h"
#include "game/widgets/TouchScreen.h"
#include "world/World.h"

namespace {

template <class Component>
CBaseObject* MakeScreen(CWorldData* data, C3DEngine* engine, uint32_t)
{
    return new (std::nothrow) Component(data, engine);
}

CBaseObject* MakeFont(CWorldData* data, C3DEngine* engine, uint32_t type)
{
    if (type == kFontTypeCharset)
        return new (std::nothrow) CVarnFontCharset(data, engine);
    return new (std::nothrow) CVarnFont(data, engine);
}

CBaseObject* MakeMusic(CWorldData* data, C3DEngine*, uint32_t)
{
    CWorld* world = data->gameData ? data->world : nullptr;
    return world ? new (std::nothrow) CKvoMusicManager(data, world->GetAudioEngine()) : nullptr;
}

template <class Component>
CBaseObject* MakeWidget(CWorldData* data, C3DEngine*, uint32_t)
{
    return new (std::nothrow) Component(data);
}

CBaseObject* MakeLayeredMenu(CWorldData* data, C3DEngine* engine, uint32_t menu)
{
    return new (std::nothrow) CScreenLayeredMenu(data, engine, menu);
}

CBaseObject* MakePopup(CWorldData* data, C3DEngine*, uint32_t)
{
    return new (std::nothrow) CPopupText(data);
}

Result ReadStars(CBaseObject* stars, CStream* stream)
{
    return static_cast<CStars*>(stars)->ReadConstruction(stream);
}

Result ReadHint(CBaseObject* hint, CStream* stream)
{
    return stream ? static_cast<CHint*>(hint)->ReadConstruction(*stream) : RES_FAIL;
}

} // namespace

void RegisterGameComponents(CWorldComponentFactory& factory)
{
    factory.SetMaker(kComponentFont, MakeFont);
    factory.SetMaker(kComponentMusic, MakeMusic);
    factory.SetMaker(kComponentToolbar, MakeWidget<CToolbar>);
    factory.SetMaker(kComponentHint, MakeWidget<CHint>, ReadHint);
    factory.SetMaker(kComponentStars, MakeScreen<CStars>, ReadStars);
    factory.SetMaker(kComponentBackground, MakeScreen<CKvoBackground>);
    factory.SetMaker(kComponentFader, MakeScreen<CKvoScreenshot>);
    factory.SetMaker(kComponentTouchMarkers, MakeScreen<CTouchScreen>);
    factory.SetMaker(kComponentInertia, MakeWidget<CInertiaPosition>);
    factory.SetMaker(kComponentLayeredMenu, MakeLayeredMenu);
    factory.SetMaker(kComponentPopup, MakePopup);
}
