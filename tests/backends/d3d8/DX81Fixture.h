#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/d3d8/EngineDX81.h"
#include "tests/support/platform/D3D8TestHooks.h"
#include "tests/support/D3D8RendererTestRig.h"
#include "tests/support/RendererFixture.h"

// A Direct3D 8 engine on a 64 x 64 window, not loaded; skipped without a display. The rig puts
// the test hooks and switches back when it goes.
class DX81Fixture : public RendererFixture<D3D8RendererTestRig> {
protected:
    void TearDown() override
    {
        D3D8TraceStop();
        RendererFixture::TearDown();
    }

    IDirect3DDevice8* Device() { return m_rig->Device(); }

    // The recorded calls of one name, in order.
    static std::vector<CD3D8TraceCall> Calls(const std::string& name)
    {
        std::vector<CD3D8TraceCall> found;
        for (const CD3D8TraceCall& call : D3D8TraceCalls()) {
            if (call.name == name)
                found.push_back(call);
        }
        return found;
    }

    // The recorded calls as "Method(args)" without the interface, skipping the names given.
    static std::vector<std::string> Sequence(const std::vector<std::string>& skipped = {})
    {
        std::vector<std::string> texts;
        for (const CD3D8TraceCall& call : D3D8TraceCalls()) {
            bool skip = false;
            for (const std::string& name : skipped)
                skip = skip || call.name == name;
            if (skip)
                continue;
            std::string text = call.Text();
            text = text.substr(text.find("::") == std::string::npos ? 0 : text.find("::") + 2);
            texts.push_back(text.substr(0, text.find(" = ")));
        }
        return texts;
    }
};

// The same, loaded.
using DX81LoadedFixture = LoadedFixture<DX81Fixture>;
