#include "platform/win32/WindowRegistry.h"

#include "base/WideString.h"

namespace {

char16_t LowerAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

} // namespace

bool SameNameNoCase(const std::u16string& a, const char16_t* b)
{
    if (!b)
        return false;
    size_t length = WStrLen(b);
    if (length != a.size())
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

CWindowRegistry& CWindowRegistry::Get()
{
    static CWindowRegistry registry;
    return registry;
}

CWindowClass* CWindowRegistry::FindClass(const char16_t* name)
{
    for (auto& windowClass : m_classes) {
        if (SameNameNoCase(windowClass->name, name))
            return windowClass.get();
    }
    return nullptr;
}

CWindowClass* CWindowRegistry::AddClass(const char16_t* name)
{
    auto windowClass = std::make_unique<CWindowClass>();
    windowClass->name = name;
    m_classes.push_back(std::move(windowClass));
    return m_classes.back().get();
}

void CWindowRegistry::RemoveClass(const char16_t* name)
{
    for (auto it = m_classes.begin(); it != m_classes.end(); ++it) {
        if (SameNameNoCase((*it)->name, name)) {
            m_classes.erase(it);
            return;
        }
    }
}

std::vector<CWindowClass*> CWindowRegistry::Classes() const
{
    std::vector<CWindowClass*> classes;
    for (const auto& windowClass : m_classes)
        classes.push_back(windowClass.get());
    return classes;
}

uintptr_t CWindowRegistry::NextHandleValue()
{
    m_nextHandle += 0x10;
    return m_nextHandle;
}

CWindow* CWindowRegistry::Find(HWND handle)
{
    auto it = m_windows.find(reinterpret_cast<uintptr_t>(handle));
    return it == m_windows.end() ? nullptr : it->second.get();
}

CWindow* CWindowRegistry::FindBySdlId(uint32_t windowId)
{
    for (auto& entry : m_windows) {
        if (entry.second->Sdl() && SDL_GetWindowID(entry.second->Sdl()) == windowId)
            return entry.second.get();
    }
    return nullptr;
}

CWindow* CWindowRegistry::FindByX11Id(unsigned long x11)
{
    for (auto& entry : m_windows) {
        if (x11 && entry.second->x11 == x11)
            return entry.second.get();
    }
    return nullptr;
}

CWindow* CWindowRegistry::FindByDc(HDC dc)
{
    auto it = m_dcs.find(reinterpret_cast<uintptr_t>(dc));
    return it == m_dcs.end() ? nullptr : Find(it->second);
}

CWindow* CWindowRegistry::Add(WindowKind kind)
{
    auto window = std::make_unique<CWindow>();
    uintptr_t value = NextHandleValue();
    window->handle = reinterpret_cast<HWND>(value);
    window->kind = kind;
    CWindow* result = window.get();
    m_windows[value] = std::move(window);
    return result;
}

void CWindowRegistry::Remove(HWND handle)
{
    auto it = m_windows.find(reinterpret_cast<uintptr_t>(handle));
    if (it == m_windows.end())
        return;
    if (it->second->dc)
        m_dcs.erase(reinterpret_cast<uintptr_t>(it->second->dc));
    m_windows.erase(it);
}

std::vector<HWND> CWindowRegistry::Handles() const
{
    std::vector<HWND> handles;
    handles.reserve(m_windows.size());
    for (const auto& entry : m_windows)
        handles.push_back(entry.second->handle);
    return handles;
}

HDC CWindowRegistry::NewDc(CWindow& window)
{
    uintptr_t value = NextHandleValue();
    window.dc = reinterpret_cast<HDC>(value);
    m_dcs[value] = window.handle;
    return window.dc;
}

void CWindowRegistry::Clear()
{
    m_windows.clear();
    m_classes.clear();
    m_dcs.clear();
}

std::vector<HWND> WindowsOfClass(const char16_t* className)
{
    std::vector<HWND> found;
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles()) {
        CWindow* window = registry.Find(handle);
        if (window->kind == WindowKind::TopLevel && SameNameNoCase(window->className, className))
            found.push_back(handle);
    }
    return found;
}
