#pragma once
#include <string>

// An advisory lock on a folder: exclusive between processes, shared by everything in one process
// (the lock is on the folder itself, so nothing is added to it). Held until Release or the
// object's end; the process lets the folder go when its last holder does.
class CFolderLock {
public:
    enum class State { None, Held, TakenByAnother, Unusable };

    CFolderLock() = default;
    ~CFolderLock() { Release(); }
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;

    // Takes the folder (an existing one) unless this object holds it already; a folder held before
    // is let go first. Held also when another holder of this process has it.
    State Take(const std::string& folder);
    void Release();

    State GetState() const { return m_state; }
    bool Holds(const std::string& folder) const { return m_state == State::Held && folder == m_folder; }

private:
    State m_state = State::None;
    std::string m_folder;
    unsigned long long m_key[2] = {};  // device and inode of the folder held
};
