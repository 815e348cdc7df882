#include "core/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <utility>

namespace {

struct CHeldFolder {
    int fd;
    unsigned holders;
};

using FolderKey = std::pair<unsigned long long, unsigned long long>;

// The folders this process locked, by device and inode, with how many objects hold each.
std::map<FolderKey, CHeldFolder>& HeldFolders()
{
    static std::map<FolderKey, CHeldFolder> folders;
    return folders;
}

std::mutex& HeldFoldersMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

CFolderLock::State CFolderLock::Take(const std::string& folder)
{
    if (Holds(folder))
        return m_state;
    Release();
    m_folder = folder;
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0) {
        if (fd >= 0)
            close(fd);
        return m_state = State::Unusable;
    }
    const FolderKey key{info.st_dev, info.st_ino};
    std::lock_guard<std::mutex> guard(HeldFoldersMutex());
    auto held = HeldFolders().find(key);
    if (held != HeldFolders().end()) {
        close(fd);
        ++held->second.holders;
    } else if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        HeldFolders().emplace(key, CHeldFolder{fd, 1});
    } else {
        close(fd);
        return m_state = State::TakenByAnother;
    }
    m_key[0] = key.first;
    m_key[1] = key.second;
    return m_state = State::Held;
}

void CFolderLock::Release()
{
    if (m_state == State::Held) {
        std::lock_guard<std::mutex> guard(HeldFoldersMutex());
        auto held = HeldFolders().find(FolderKey{m_key[0], m_key[1]});
        if (held != HeldFolders().end() && --held->second.holders == 0) {
            close(held->second.fd);
            HeldFolders().erase(held);
        }
    }
    m_state = State::None;
    m_folder.clear();
}
