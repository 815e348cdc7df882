#pragma once
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/StateReport.h"

// The test build of the program as a child in a process group of its own, run in lockstep
// through the drive socket (tests/support/platform/DriveHarness.h). Every wait is bounded: a
// program that does not answer in time is killed with its group.
class DrivenProgram {
public:
    DrivenProgram() = default;
    ~DrivenProgram();
    DrivenProgram(const DrivenProgram&) = delete;
    DrivenProgram& operator=(const DrivenProgram&) = delete;

    // Starts program in folder (standard output and error to "stdout.txt" and "stderr.txt"
    // there) with the environment plus the NAME=value entries of env and VD_DRIVE set to a socket
    // of the folder; true once the program has connected.
    bool Start(const std::string& program, const std::string& folder, const std::vector<std::string>& env,
               std::string* error);

    // Sends one command; its answer, "" when none came in time or the program hung up.
    std::string Command(const std::string& line);
    bool Step();
    // Frames run, as the last step's answer told.
    long Frames() const { return m_frames; }
    // The report (not Valid() when the answer is none).
    StateReport State();
    // Steps until done holds for the report, at most maxSteps frames; the last report.
    StateReport StepUntil(const std::function<bool(const StateReport&)>& done, int maxSteps);
    // A click at the rectangle's centre: move, down, a frame, up, a frame.
    bool Click(const ReportRect& rect);
    // The next presented frame written to path.
    bool Shot(const std::string& path);
    // Sends the signal to the program (not its group).
    bool Signal(int number);
    pid_t Pid() const { return m_child; }

    // Every report answered so far, in order.
    const std::vector<std::string>& Reports() const { return m_reports; }

    // Steps until the program hangs up, then reaps it: its exit code, or -1 when it had to be
    // killed.
    int AwaitExit();

private:
    bool ReadAnswer(std::string* answer, int timeoutMs);
    void Kill();

    pid_t m_child = -1;
    int m_listener = -1;
    int m_socket = -1;
    std::string m_pending;
    std::vector<std::string> m_reports;
    long m_frames = 0;
};
