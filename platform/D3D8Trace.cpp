#include "platform/D3D8Trace.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "platform/D3D8TestHooks.h"

namespace {

struct CTrace {
    bool on = false;
    std::vector<CD3D8TraceCall> calls;
    std::unordered_map<const void*, uint64_t> numbers;
    uint64_t next = 1;
};

CTrace& Trace()
{
    static CTrace trace;
    return trace;
}

} // namespace

HRESULT D3D8Record(const char* name, std::initializer_list<uint64_t> args, HRESULT result)
{
    CTrace& trace = Trace();
    if (trace.on)
        trace.calls.push_back(CD3D8TraceCall{name, std::vector<uint64_t>(args), result});
    return result;
}

void D3D8NameObject(const void* object)
{
    CTrace& trace = Trace();
    trace.numbers[object] = trace.next++;
}

void D3D8ForgetObject(const void* object)
{
    Trace().numbers.erase(object);
}

uint64_t D3D8ObjectNumber(const void* object)
{
    if (!object)
        return 0;
    const CTrace& trace = Trace();
    auto it = trace.numbers.find(object);
    return it == trace.numbers.end() ? 1 : it->second;
}

std::string CD3D8TraceCall::Text() const
{
    std::string text = name + "(";
    for (size_t i = 0; i < args.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += std::to_string(args[i]);
    }
    char ending[24];
    std::snprintf(ending, sizeof(ending), ") = 0x%08X", static_cast<unsigned>(result));
    return text + ending;
}

void D3D8TraceStart()
{
    Trace().calls.clear();
    Trace().on = true;
}

void D3D8TraceStop()
{
    Trace().on = false;
}

const std::vector<CD3D8TraceCall>& D3D8TraceCalls()
{
    return Trace().calls;
}

size_t D3D8TraceCount(const char* name)
{
    size_t count = 0;
    for (const CD3D8TraceCall& call : Trace().calls) {
        if (call.name == name)
            ++count;
    }
    return count;
}
