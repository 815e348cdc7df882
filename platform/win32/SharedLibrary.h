#pragma once

// A library opened at run time, kept for the life of the process. A library or function that
// cannot be found is reported on standard error with the loader's own message.
class CSharedLibrary {
public:
    explicit CSharedLibrary(const char* name);

    bool IsOpen() const { return m_handle != nullptr; }
    // Sets the function to the library's symbol; false (and the function null) when missing.
    template <class Function>
    bool Find(const char* symbol, Function& function)
    {
        void* address = Symbol(symbol);
        function = reinterpret_cast<Function>(address);
        return address != nullptr;
    }

private:
    void* Symbol(const char* symbol);

    void* m_handle = nullptr;
};
