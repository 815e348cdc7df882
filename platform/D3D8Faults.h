#pragma once
#include <vector>

#include "platform/D3D8TestHooks.h"

// The faults and overrides set through platform/D3D8TestHooks.h.
struct CD3D8Faults {
    struct CRule {
        D3DDEVTYPE type;
        DWORD flags;
        HRESULT result;
        D3D8Loss loss;
    };

    bool failCreate = false;
    std::vector<CRule> createFailures;
    std::vector<CRule> startLost;
    bool capsOverridden = false;
    D3DCAPS8 caps{};
    bool modeOverridden = false;
    D3DDISPLAYMODE mode{};

    static CD3D8Faults& Get();
    HRESULT CreateResult(D3DDEVTYPE type, DWORD flags) const;
    D3D8Loss StartLoss(D3DDEVTYPE type, DWORD flags) const;
};
