#include "platform/win32/SharedLibrary.h"

#include <cstdio>
#include <dlfcn.h>

namespace {

void Report()
{
    const char* message = dlerror();
    std::fprintf(stderr, "# %s\n", message ? message : "shared library not loaded");
}

} // namespace

CSharedLibrary::CSharedLibrary(const char* name) : m_handle(dlopen(name, RTLD_NOW | RTLD_LOCAL))
{
    if (!m_handle)
        Report();
}

void* CSharedLibrary::Symbol(const char* symbol)
{
    if (!m_handle)
        return nullptr;
    dlerror();
    void* address = dlsym(m_handle, symbol);
    if (!address)
        Report();
    return address;
}
