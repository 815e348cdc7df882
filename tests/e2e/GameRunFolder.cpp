#include "tests/e2e/GameRunFolder.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "tests/support/TempDir.h"
#include "tools/PakIndex.h"
#include "tools/PakWriter.h"
#include "tools/vddata/DataBuilder.h"

namespace {

namespace fs = std::filesystem;

// The desktop settings of the sample with the score server's address added, and no hint at the
// start: a story scene offers its star only while the hint button is empty.
std::string ExternalSettings(const std::string& sourceIni, const std::string& serverUrl)
{
    std::string text = TempDir::Read(sourceIni);
    const std::string section = "[WEB_SCORING]\n";
    const size_t at = text.find(section);
    if (at == std::string::npos || text.find("[HINT]") != std::string::npos)
        return "";
    return text.insert(at + section.size(), "WEB_SCORING_SERVER_URL = " + serverUrl + "\n") +
           "\n[HINT]\nHINT_START_COUNT = 0\n";
}

} // namespace

std::string GameRunFolder::Prepare(const std::string& sourceDir, const std::string& scoreUrl) const
{
    const std::string ini = ExternalSettings(sourceDir + "/data/VadadiDazidev.External.Desktop.ini", scoreUrl);
    if (ini.empty())
        return "the desktop settings hold no [WEB_SCORING] section, or already a [HINT] one";
    // The build's sample source with these settings, built into the data folder, so that the
    // blank profile starts a new game with the settings' hints.
    const std::string source = m_root + "/source";
    std::error_code error;
    fs::copy(m_binary + "/sample_source", source, fs::copy_options::recursive, error);
    if (!error)
        fs::create_directories(AppData(), error);
    if (error)
        return "cannot copy the sample source: " + error.message();
    if (!(std::ofstream(source + "/VadadiDazidev.External.Desktop.ini", std::ios::binary | std::ios::trunc) << ini))
        return "cannot write the settings";
    std::string buildError;
    if (Failed(BuildGameData(source, Data(), "", &buildError)))
        return "cannot build the sample data: " + buildError;
    // Web scores on, web links off, the charset font as start-up chooses it.
    if (!(std::ofstream(Data() + "prefetch.params", std::ios::binary) << std::string("\x02\x00\x01\x00\x00\x01", 6)))
        return "cannot write prefetch.params";
    // The texts, fonts and settings come from the external pak when there is one: it holds the
    // main pak's entries.
    const std::string mainPakPath = MainPak();
    const std::string mainPak = TempDir::Read(mainPakPath);
    std::vector<PakIndexEntry> entries;
    std::string indexError;
    if (ReadPakIndex(mainPakPath, 0, &entries, &indexError) != RES_OK)
        return indexError;
    CPakWriter external;
    for (const PakIndexEntry& entry : entries) {
        if (Failed(external.Add(entry.name, mainPak.substr(entry.dataOffset, entry.size))))
            return "cannot add " + entry.name;
    }
    if (external.Write(Data() + "VadadiDazidev_external_Win32.pak") != RES_OK)
        return external.LastError();
    return "";
}

std::string ReadPakEntry(const std::string& pak, const std::string& name)
{
    std::vector<PakIndexEntry> entries;
    std::string error;
    if (ReadPakIndex(pak, 0, &entries, &error) != RES_OK)
        return "";
    for (const PakIndexEntry& entry : entries) {
        if (PakNamesEqual(entry.name, name))
            return TempDir::Read(pak).substr(entry.dataOffset, entry.size);
    }
    return "";
}

std::unique_ptr<DrivenProgram> GameRunFolder::Launch(int renderer, uint32_t seed, std::string* error,
                                                     const std::vector<std::string>& env) const
{
    auto program = std::make_unique<DrivenProgram>();
    std::vector<std::string> entries = {"APPDATA=" + AppData(), "SDL_AUDIODRIVER=dummy", "VD_HEADLESS=1",
                                        "VD_FIXED_STEP=1", "VD_SEED=" + std::to_string(seed),
                                        "VD_MODULE_3D=" + std::to_string(renderer)};
    entries.insert(entries.end(), env.begin(), env.end());
    if (!program->Start(m_binary + "/VadadiDazidevTest", Game(), entries, error))
        return nullptr;
    return program;
}
