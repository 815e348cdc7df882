#include "tests/support/LimitedFolder.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

// The test process's own view of the mounts, made once: nothing it mounts is seen outside it.
bool PrivateMounts()
{
    static const bool made = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return made;
}

} // namespace

LimitedFolder::LimitedFolder(const std::string& path, size_t bytes, size_t inodes)
    : m_path(path), m_options("size=" + std::to_string(bytes) + ",nr_inodes=" + std::to_string(inodes))
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    m_mounted = PrivateMounts() && mount("tmpfs", path.c_str(), "tmpfs", 0, m_options.c_str()) == 0;
}

LimitedFolder::~LimitedFolder()
{
    if (m_mounted)
        umount2(m_path.c_str(), MNT_DETACH);
}

void LimitedFolder::FillSpace()
{
    const std::string filler = m_path + "/.filler";
    int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd >= 0) {
        static const char block[4096] = {};
        while (write(fd, block, sizeof block) > 0) {
        }
        while (write(fd, block, 1) > 0) {
        }
        close(fd);
    }
}

void LimitedFolder::FillInodes()
{
    for (int n = 0;; ++n) {
        const int fd = open((m_path + "/.inode" + std::to_string(n)).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0)
            break;
        close(fd);
    }
}

bool LimitedFolder::SetReadOnly(bool readOnly)
{
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return m_mounted && mount("tmpfs", m_path.c_str(), "tmpfs", flags, m_options.c_str()) == 0;
}
