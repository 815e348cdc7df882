#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/DrivenProgram.h"

// The renderers a run can choose (VD_MODULE_3D): Direct3D 8 and OpenGL.
constexpr int kDirect3D8 = 2;
constexpr int kOpenGL = 4;

inline std::string RendererName(int renderer)
{
    return renderer == kDirect3D8 ? "Direct3D8" : "OpenGL";
}

// The bytes of the entry of a pak file; empty when it holds none of that name.
std::string ReadPakEntry(const std::string& pak, const std::string& name);

// A folder where the test build of the program runs driven: the build's sample data made again
// with web scores switched on, the scores pointed at a score server and no hint at the start,
// an external pak with the same entries, and a save folder of its own.
class GameRunFolder {
public:
    GameRunFolder(std::string root, std::string binaryDir) : m_root(std::move(root)), m_binary(std::move(binaryDir)) {}

    // Fills the folder from the build and the source tree; "" when done, else what failed.
    std::string Prepare(const std::string& sourceDir, const std::string& scoreUrl) const;
    // Starts the program with the renderer and seed, every frame one step long, and the NAME=value
    // entries of env; null (with error) when it does not connect.
    std::unique_ptr<DrivenProgram> Launch(int renderer, uint32_t seed, std::string* error,
                                          const std::vector<std::string>& env = {}) const;

    std::string MainPak() const { return Data() + "VadadiDazidev_full_Win32.pak"; }
    std::string Game() const { return m_root + "/game"; }
    std::string Data() const { return m_root + "/game/Data_full_Win32/"; }
    std::string AppData() const { return m_root + "/appdata"; }

private:
    std::string m_root;
    std::string m_binary;
};
