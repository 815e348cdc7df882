#include "engine3d/ObjectImportIsolated.h"

#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

[[noreturn]] void RunChild(int fd, const std::function<std::string()>& work)
{
    bool ok = WriteAll(fd, work());
    close(fd);
    _exit(ok ? 0 : 1);
}

// Reads until the end of the pipe; false on silence, an error or too much data.
bool ReadAll(int fd, std::string& output, const char*& reason, int silenceTimeoutMs, size_t limit)
{
    char buffer[65536];
    for (;;) {
        pollfd wait = {fd, POLLIN, 0};
        int ready = poll(&wait, 1, silenceTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            reason = ready == 0 ? "the import timed out" : "the import's pipe failed";
            return false;
        }
        ssize_t n = read(fd, buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            reason = "the import's pipe failed";
            return false;
        }
        if (n == 0)
            return true;
        if (output.size() + size_t(n) > limit) {
            reason = "the import produced too much data";
            return false;
        }
        output.append(buffer, size_t(n));
    }
}

int WaitFor(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}

} // namespace

bool RunIsolated(const std::function<std::string()>& work, std::string& output, const char*& reason,
                 int silenceTimeoutMs, size_t limit)
{
    output.clear();
    int fds[2];
    if (pipe(fds) != 0) {
        reason = "the import's pipe cannot be made";
        return false;
    }
    pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        reason = "the import's process cannot be started";
        return false;
    }
    if (child == 0) {
        close(fds[0]);
        RunChild(fds[1], work);
    }
    close(fds[1]);
    bool read = ReadAll(fds[0], output, reason, silenceTimeoutMs, limit);
    close(fds[0]);
    if (!read)
        kill(child, SIGKILL);
    int status = WaitFor(child);
    if (read && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
        reason = "the importing library failed on the file";
        read = false;
    }
    if (!read)
        output.clear();
    return read;
}
