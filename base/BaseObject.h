#pragma once

// Root of every engine and game class: objects are destroyed through this virtual destructor.
class CBaseObject {
public:
    virtual ~CBaseObject() = default;
};
