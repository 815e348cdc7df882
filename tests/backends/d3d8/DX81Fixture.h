#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "backends/d3d8/EngineDX81.h"
#include "platform/D3D8TestHooks.h"
#include "tests/support/D3D8RendererTestRig.h"

// A Direct3D 8 engine on a 64 x 64 window, not loaded; skipped without a display. The rig puts
// the test hooks and switches back when it goes.
class DX81Fixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!D3D8RendererTestRig::HasDisplay())
            GTEST_SKIP() << "needs an X display";
        m_rig = std::make_unique<D3D8RendererTestRig>();
    }

    void TearDown() override
    {
        D3D8TraceStop();
        m_rig.reset();
    }

    C3DEngineDX81* Engine() { return m_rig->Engine(); }
    CWorldData* Data() { return m_rig->Data(); }
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

    std::unique_ptr<D3D8RendererTestRig> m_rig;
};

// The same, loaded.
class DX81LoadedFixture : public DX81Fixture {
protected:
    void SetUp() override
    {
        DX81Fixture::SetUp();
        if (!IsSkipped()) {
            ASSERT_EQ(m_rig->Load(), RES_OK);
        }
    }
};
