#pragma once
#include <cstddef>
#include <string>

// A folder on a small file system of its own (tmpfs), mounted in a mount namespace private to the
// test process, so that the mount ends with the process whatever happens. Needs the right to mount
// (root or CAP_SYS_ADMIN); Ready() tells whether it was had. Children started later see it too.
class LimitedFolder {
public:
    // Mounts a file system of bytes (rounded up to pages) and at most inodes files over path,
    // which is made when missing.
    LimitedFolder(const std::string& path, size_t bytes, size_t inodes);
    ~LimitedFolder();
    LimitedFolder(const LimitedFolder&) = delete;
    LimitedFolder& operator=(const LimitedFolder&) = delete;

    bool Ready() const { return m_mounted; }
    const std::string& Path() const { return m_path; }
    // Fills what is left of the space with one file: every later write fails as on a full disk.
    void FillSpace();
    // Takes every inode left with empty files: no new file can be made.
    void FillInodes();
    // Mounts the file system again read-only (or writable again).
    bool SetReadOnly(bool readOnly);

private:
    std::string m_path;
    std::string m_options;
    bool m_mounted = false;
};
