#pragma once
#include <cstdint>
#include <memory>

#include "base/BaseObject.h"
#include "base/Result.h"

class C3DEngine;
class CStream;
struct CWorldData;

// The kinds of component the world makes as it loads.
enum ComponentKind : uint32_t {
    kComponentFont,          // variant: the font type
    kComponentMusic,
    kComponentToolbar,
    kComponentHint,
    kComponentStars,
    kComponentBackground,
    kComponentFader,
    kComponentTouchMarkers,
    kComponentInertia,
    kComponentLayeredMenu,   // variant: 0 intro, 1 outro
    kComponentMenuDialog,
    kComponentPopup,         // variant: 0 waiting, 1 in game, 2 tutorial
    kComponentWebScores,
    kComponentKindCount
};

// Makes a component of one kind; null when it cannot.
using ComponentMaker = CBaseObject* (*)(CWorldData* data, C3DEngine* engine, uint32_t variant);
// Reads the body of a component's construction file.
using ConstructionReader = Result (*)(CBaseObject* component, CStream* stream);

// One maker per kind of the world's components, filled by the program before the world loads.
class CWorldComponentFactory {
public:
    void SetMaker(ComponentKind kind, ComponentMaker maker, ConstructionReader reader = nullptr);

    // Null without a maker, when the maker fails or makes another class than Component.
    template <class Component>
    std::unique_ptr<Component> Make(ComponentKind kind, CWorldData* data, C3DEngine* engine, uint32_t variant = 0) const
    {
        std::unique_ptr<CBaseObject> made(kind < kComponentKindCount && m_makers[kind].make
                                              ? m_makers[kind].make(data, engine, variant)
                                              : nullptr);
        auto* component = dynamic_cast<Component*>(made.get());
        if (component)
            made.release();
        return std::unique_ptr<Component>(component);
    }
    // A kind without a maker is one the world leaves out.
    bool HasMaker(ComponentKind kind) const { return kind < kComponentKindCount && m_makers[kind].make; }
    // RES_FAIL for a kind without a reader.
    Result ReadConstruction(ComponentKind kind, CBaseObject* component, CStream* stream) const;

private:
    struct CMakerEntry {
        ComponentMaker make = nullptr;
        ConstructionReader read = nullptr;
    };
    CMakerEntry m_makers[kComponentKindCount];
};
