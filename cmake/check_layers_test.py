#!/usr/bin/env python3
"""Runs check_layers.py on small planted trees: it must pass a clean one and fail every breach."""
import os
import subprocess
import sys
import tempfile
import unittest

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_layers.py")


class LayerCheckTest(unittest.TestCase):
    def run_on(self, files):
        with tempfile.TemporaryDirectory() as root:
            for path, text in files.items():
                full = os.path.join(root, path)
                os.makedirs(os.path.dirname(full), exist_ok=True)
                with open(full, "w") as out:
                    out.write(text)
            run = subprocess.run([sys.executable, CHECKER, root], capture_output=True, text=True)
            return run.returncode, run.stdout

    def test_includes_of_the_own_and_lower_layers_pass(self):
        code, out = self.run_on({
            "base/Result.h": "#pragma once\n",
            "platform/win32/Window.cpp": '#include "platform/win32/Window.h"\n#include "base/Result.h"\n',
            "world/World.h": '#include "modules/AudioEngine.h"\n#include "engine3d/Engine.h"\n',
            "backends/d3d8/Engine.cpp": '#include "backends/d3d8/Engine.h"\n#include "world/World.h"\n',
            "platform/win32/SdlVideo.h": "#include <SDL.h>\n",
            "core/Log.cpp": "#include <SDL.h>\n",
            "tools/Pak.cpp": '#include "levels/Level.h"\n',
            "app/main.cpp": '#include "game/World.h"\n#include "backends/opengl/Module.h"\n',
        })
        self.assertEqual((code, out), (0, ""))

    def test_a_planted_upward_include_fails(self):
        code, out = self.run_on({"core/Startup.cpp": '#include "core/Log.h"\n\n#include "game/World.h"\n'})
        self.assertEqual(code, 1)
        self.assertIn('core/Startup.cpp:3: core/ includes "game/World.h" of the higher layer game/', out)

    def test_platform_may_not_reach_core(self):
        code, out = self.run_on({"platform/dsound/DSound.h": '#include "core/Log.h"\n'})
        self.assertEqual(code, 1)
        self.assertIn("platform/dsound/DSound.h:1", out)

    def test_one_back_end_may_not_include_another(self):
        code, out = self.run_on({"backends/audio/Audio.cpp": '#include "backends/network/Network.h"\n'})
        self.assertEqual(code, 1)
        self.assertIn("back end audio/", out)

    def test_production_code_may_not_include_tests(self):
        code, out = self.run_on({"platform/d3d8/Device.cpp": '#include "tests/support/platform/D3D8TestHooks.h"\n'})
        self.assertEqual(code, 1)
        self.assertIn("includes test code", out)

    def test_production_code_may_not_include_fuzz_harness_code(self):
        code, out = self.run_on({"tools/PakTool.cpp": '#include "fuzz/FuzzSupport.h"\n',
                                 "fuzz/PakToolFuzz.cpp": '#include "tools/PakTool.h"\n#include "tests/support/TempDir.h"\n'})
        self.assertEqual(code, 1)
        self.assertEqual(out, 'tools/PakTool.cpp:1: production code includes test code "fuzz/FuzzSupport.h"\n')

    def test_window_system_headers_stay_in_platform(self):
        code, out = self.run_on({"engine3d/Font.h": "#include <gtk/gtk.h>\n", "world/World.h": "#include <SDL2/SDL.h>\n"})
        self.assertEqual(code, 1)
        self.assertIn("engine3d/Font.h:1: header outside platform/ includes <gtk/gtk.h>", out)
        self.assertIn("world/World.h:1", out)


if __name__ == "__main__":
    unittest.main()
