#pragma once
#include <functional>
#include <string>

// Runs work in a child process and hands back the bytes it returned, so that a library that
// crashes or recurses without end on damaged input takes only the child down. False with a
// reason when the child cannot be started, dies, stays silent longer than the timeout or
// sends more than the limit; the child is killed in those cases.
bool RunIsolated(const std::function<std::string()>& work, std::string& output, const char*& reason,
                 int silenceTimeoutMs, size_t limit = size_t(1) << 30);
