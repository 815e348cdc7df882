#include "tests/e2e/DrivenProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

// Load runs before the first step is answered; under the sanitizers on a loaded machine it takes
// a while, as do the leak check and the exit.
constexpr int kAnswerMs = 120000;
constexpr int kConnectMs = 60000;
constexpr int kExitMs = 120000;
constexpr int kStepsToQuit = 300;

// The current environment with the NAME=value entries of changes in place of their names.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& changes)
{
    std::vector<std::string> entries = changes;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('=') + 1);
        bool changed = false;
        for (const std::string& change : changes)
            changed = changed || change.compare(0, name.size(), name) == 0;
        if (!changed)
            entries.push_back(text);
    }
    return entries;
}

} // namespace

DrivenProgram::~DrivenProgram()
{
    Kill();
}

bool DrivenProgram::Start(const std::string& program, const std::string& folder, const std::vector<std::string>& env,
                          std::string* error)
{
    const std::string socketPath = folder + "/drive";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path)
        return *error = "socket path too long: " + socketPath, false;
    socketPath.copy(address.sun_path, socketPath.size());
    unlink(socketPath.c_str());
    m_listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listener, 1) != 0)
        return *error = "cannot listen on " + socketPath, false;

    std::vector<std::string> entries = env;
    entries.push_back("VD_DRIVE=" + socketPath);
    entries = ChildEnvironment(entries);
    std::vector<char*> envp;
    for (std::string& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>("driven"), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (folder + "/stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (folder + "/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const int spawned = posix_spawn(&m_child, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        m_child = -1;
        return *error = "cannot start " + program + ": " + strerror(spawned), false;
    }

    pollfd listener{m_listener, POLLIN, 0};
    if (poll(&listener, 1, kConnectMs) != 1 || (m_socket = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC)) < 0)
        return *error = "the program did not connect", false;
    return true;
}

bool DrivenProgram::Signal(int number)
{
    return m_child > 0 && kill(m_child, number) == 0;
}

bool DrivenProgram::ReadAnswer(std::string* answer, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            *answer = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd readable{m_socket, POLLIN, 0};
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) != 1)
            return false;
        char buffer[4096];
        const ssize_t count = read(m_socket, buffer, sizeof buffer);
        if (count <= 0)
            return false;
        m_pending.append(buffer, static_cast<size_t>(count));
    }
}

std::string DrivenProgram::Command(const std::string& line)
{
    if (m_socket < 0)
        return "";
    const std::string text = line + "\n";
    std::string answer;
    if (send(m_socket, text.data(), text.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(text.size()) ||
        !ReadAnswer(&answer, kAnswerMs)) {
        close(m_socket);
        m_socket = -1;
        return "";
    }
    return answer;
}

bool DrivenProgram::Step()
{
    const std::string answer = Command("step");
    if (answer.rfind("ok ", 0) != 0)
        return false;
    m_frames = StateReport::Number(answer.substr(3), m_frames);
    return true;
}

StateReport DrivenProgram::State()
{
    StateReport report;
    m_reports.push_back(Command("state"));
    report.Parse(m_reports.back());
    return report;
}

StateReport DrivenProgram::StepUntil(const std::function<bool(const StateReport&)>& done, int maxSteps)
{
    StateReport report = State();
    for (int step = 0; step < maxSteps && report.Valid() && !done(report); ++step)
        report = Step() ? State() : StateReport{};
    return report;
}

bool DrivenProgram::Click(const ReportRect& rect)
{
    const std::string at = std::to_string(rect.CentreX()) + " " + std::to_string(rect.CentreY());
    return Command("move " + at) == "ok" && Command("down " + at) == "ok" && Step() && Command("up " + at) == "ok" &&
           Step();
}

bool DrivenProgram::Shot(const std::string& path)
{
    return Command("shot " + path) == "ok" && Step();
}

int DrivenProgram::AwaitExit()
{
    for (int step = 0; step < kStepsToQuit && m_socket >= 0; ++step)
        Command("step");
    if (m_child <= 0)
        return -1;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kExitMs);
    while (waitpid(m_child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            Kill();
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_child = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void DrivenProgram::Kill()
{
    if (m_socket >= 0)
        close(m_socket);
    if (m_listener >= 0)
        close(m_listener);
    m_socket = m_listener = -1;
    if (m_child > 0) {
        kill(-m_child, SIGKILL);
        waitpid(m_child, nullptr, 0);
    }
    m_child = -1;
}
