#include "tools/vddata/DataBuilder.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "core/PlatformTable.h"
#include "base/WideString.h"
#include "game/SaveFolder.h"
#include "tools/vddata/GameSource.h"
#include "tools/vddata/LevelTypeSources.h"
#include "tools/vddata/StringSources.h"

namespace fs = std::filesystem;

namespace {

constexpr uint8_t kPrefetchVersion = 2;
const char kSymbolsFile[] = "strings/_symbols.utf8.indexed.ucs2.raw";
const char kSoundNamesFile[] = "strings/_sounds.ascii.ucs2.raw";

// A file of the build: its pak entry name or disk path, and its bytes or its source file.
struct COutputFile {
    std::string name;
    std::string bytes;
    std::string from;  // a file to copy instead of bytes
};

class CDataBuild {
public:
    CDataBuild(const std::string& source, CSourceErrors& errors) : m_source(source), m_errors(errors) {}

    bool Read();
    bool AddExternal(const std::string& folder, CPakWriter& pak);
    Result Write(const std::string& output, CPakWriter* external, std::string* error);
    CPakWriter& Main() { return m_main; }
    const std::string& App() const { return m_game.app; }

private:
    bool AddRaw(const std::string& name, const std::string& body);
    bool AddMesh(const CMeshSource& mesh, const std::string& name);
    bool AddConstruction();
    bool AddSounds();
    bool AddFiles(const std::string& folder, CPakWriter& pak, const std::set<std::string>& taken);
    void ListDiskFiles();

    std::string m_source;
    CSourceErrors& m_errors;
    CGameSource m_game;
    std::unique_ptr<CCharsetCodes> m_codes;
    CPakWriter m_main;
    std::set<std::string> m_taken;  // source files that are not packed as they are
    std::vector<COutputFile> m_disk;
    std::string m_rawFolder = Utf16ToUtf8(GetRawFolderName(0));
};

bool CDataBuild::Read()
{
    if (!ReadGameSource(m_source, &m_game, m_errors))
        return false;
    m_taken.insert(m_game.sourceFiles.begin(), m_game.sourceFiles.end());
    if (!m_game.charsetFont.empty()) {
        m_codes = std::make_unique<CCharsetCodes>();
        if (!m_codes->Load((fs::path(m_source) / m_game.charsetFont).string()))
            return m_errors.Fail(m_game.charsetFont, "is not a charset font");
        if (Failed(m_main.Add(kSymbolsFile, SymbolsFileBytes(m_codes->RemapTable()))))
            return m_errors.Fail(kSymbolsFile, m_main.LastError());
    }
    std::vector<std::string> strings;
    if (!AddConstruction() || !AddSounds() || !AddStringTables(m_source, m_codes.get(), m_main, strings, m_errors))
        return false;
    m_taken.insert(strings.begin(), strings.end());
    ListDiskFiles();
    return AddFiles(m_source, m_main, m_taken);
}

bool CDataBuild::AddRaw(const std::string& name, const std::string& body)
{
    const std::string entry = m_rawFolder + name;
    return Succeeded(m_main.Add(entry, RawFileBytes(m_game.app, body))) || m_errors.Fail(entry, m_main.LastError());
}

// The mesh (when given) under the game's name for it; a mesh file itself is not packed.
bool CDataBuild::AddMesh(const CMeshSource& mesh, const std::string& name)
{
    const std::string entry = m_rawFolder + name;
    if (!mesh.bytes.empty())
        return Succeeded(m_main.Add(entry, mesh.bytes)) || m_errors.Fail(entry, m_main.LastError());
    if (mesh.path.empty())
        return true;
    m_taken.insert(mesh.path);
    return Succeeded(m_main.AddFile(entry, (fs::path(m_source) / mesh.path).string())) ||
           m_errors.Fail(mesh.path, m_main.LastError());
}

bool CDataBuild::AddConstruction()
{
    const CGameSource& g = m_game;
    bool added = AddRaw("_construct.raw", ConstructBody(g.construct)) && AddRaw("_menu_tuto.raw", TutorialBody(g.tutorialTable)) &&
                 AddRaw("_menu_dialog.raw", MenuDialogBody(g.dialog)) &&
                 AddRaw("_menu_stars.raw", SoundIndexBody(g.starsClickSound)) &&
                 AddRaw("_menu_hint.raw", SoundIndexBody(g.hintSound)) &&
                 AddRaw("_labels_0.raw", LabelsBody(g.labels)) && AddMesh({g.labelsDisplay, {}}, "_labels_0.obj.3dx") &&
                 AddRaw("_timer_0.raw", TimerBody(g.timer)) && AddMesh({g.timerDisplay, {}}, "_timer_0.obj.3dx") &&
                 AddRaw("_profile.full.raw", BlankProfileBody(BlankProfileOf(g)));
    for (size_t i = 0; added && i < g.menus.size(); ++i) {
        const std::string n = "_menu_" + std::to_string(i);
        added = AddRaw(n + ".raw", LayeredMenuBody(g.menus[i].model)) && AddMesh(g.menus[i].display, n + ".obj.3dx");
    }
    for (size_t i = 0; added && i < g.levels.size(); ++i) {
        const std::string n = "_level_" + std::to_string(i);
        const CLevelSource& level = g.levels[i];
        added = AddRaw(n + ".raw", LevelFileBody(level)) && AddMesh(level.display, n + ".obj.3dx") &&
                AddMesh(level.collision, n + ".col.3dx");
    }
    for (size_t j = 0; added && j < g.tooltips.size(); ++j) {
        const std::string n = "_tooltip_" + std::to_string(j);
        const CTooltipSource& tooltip = g.tooltips[j];
        added = AddRaw(n + ".raw", TooltipBody(tooltip.model)) && AddMesh(tooltip.display, n + ".obj.3dx") &&
                AddMesh(tooltip.collision, n + ".col.3dx");
    }
    return added;
}

bool CDataBuild::AddSounds()
{
    std::vector<std::u16string> names;
    for (const std::string& sound : m_game.sounds)
        names.push_back(Utf8ToUtf16(sound));
    return Succeeded(m_main.Add(kSoundNamesFile, StringFileBytes(names))) ||
           m_errors.Fail(kSoundNamesFile, m_main.LastError());
}

// Every file below folder that is no source, no string text and no disk file, under its path.
bool CDataBuild::AddFiles(const std::string& folder, CPakWriter& pak, const std::set<std::string>& taken)
{
    const std::string diskPrefix = std::string(kDiskFolder) + "/";
    std::error_code failure;
    for (fs::recursive_directory_iterator it(folder, failure), end; !failure && it != end; it.increment(failure)) {
        const std::string name = it->path().lexically_relative(folder).generic_string();
        std::error_code ignored;
        if (!it->is_regular_file(ignored) || taken.count(name) || it->path().extension() == ".yaml" ||
            name.compare(0, diskPrefix.size(), diskPrefix) == 0)
            continue;
        if (Failed(pak.AddFile(name, it->path().string())))
            return m_errors.Fail(name, pak.LastError());
    }
    return !failure || m_errors.Fail(folder, failure.message());
}

void CDataBuild::ListDiskFiles()
{
    const fs::path disk = fs::path(m_source) / kDiskFolder;
    std::error_code failure;
    for (fs::recursive_directory_iterator it(disk, failure), end; !failure && it != end; it.increment(failure)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored))
            m_disk.push_back({it->path().lexically_relative(disk).generic_string(), {}, it->path().string()});
    }
    if (m_game.hasPrefetch) {
        std::string bytes(1, static_cast<char>(kPrefetchVersion));
        bytes.append(m_game.prefetch.begin(), m_game.prefetch.end());
        m_disk.push_back({"prefetch.params", bytes, {}});
    }
}

bool CDataBuild::AddExternal(const std::string& folder, CPakWriter& pak)
{
    std::vector<std::string> strings;
    if (!AddStringTables(folder, m_codes.get(), pak, strings, m_errors))
        return false;
    return AddFiles(folder, pak, std::set<std::string>(strings.begin(), strings.end()));
}

Result CDataBuild::Write(const std::string& output, CPakWriter* external, std::string* error)
{
    const std::string platform = Utf16ToUtf8(PlatformName(0));
    std::error_code failure;
    fs::create_directories(output, failure);
    const fs::path folder(output);
    if (Failed(m_main.Write((folder / (m_game.app + "_full_" + platform + ".pak")).string()))) {
        *error = m_main.LastError();
        return RES_FAIL;
    }
    if (external && Failed(external->Write((folder / (m_game.app + "_external_" + platform + ".pak")).string()))) {
        *error = external->LastError();
        return RES_FAIL;
    }
    for (const COutputFile& file : m_disk) {
        const fs::path to = folder / file.name;
        fs::create_directories(to.parent_path(), failure);
        if (!file.from.empty()) {
            fs::copy_file(file.from, to, fs::copy_options::overwrite_existing, failure);
        } else {
            std::ofstream stream(to, std::ios::binary | std::ios::trunc);
            if (!stream.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size())))
                failure = std::make_error_code(std::errc::io_error);
        }
        if (failure) {
            *error = "cannot write " + to.string() + ": " + failure.message();
            return RES_FAIL;
        }
    }
    return RES_OK;
}

} // namespace

Result BuildGameData(const std::string& source, const std::string& output, const std::string& external,
                     std::string* error)
{
    CSourceErrors errors;
    CDataBuild build(source, errors);
    CPakWriter externalPak;
    if (!build.Read() || (!external.empty() && !build.AddExternal(external, externalPak))) {
        *error = errors.Text();
        return RES_FAIL;
    }
    return build.Write(output, external.empty() ? nullptr : &externalPak, error);
}

int RunDataBuilder(int argc, const char* const* argv, FILE* out, FILE* err)
{
    if (argc != 3 && argc != 4) {
        fprintf(err, "usage: vddata SOURCE OUTPUT [EXTERNAL]\n");
        return 2;
    }
    std::string error;
    if (Failed(BuildGameData(argv[1], argv[2], argc == 4 ? argv[3] : "", &error))) {
        fprintf(err, "vddata: %s\n", error.c_str());
        return 1;
    }
    fprintf(out, "vddata: %s built into %s\n", argv[1], argv[2]);
    return 0;
}
