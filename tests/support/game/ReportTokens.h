#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/Vector3.h"

struct CWorldData;

// The tokens of a state report: space-separated key=value, sub-fields separated by ','; a text
// has every byte outside [A-Za-z0-9._:/-] written %XX (UTF-8), so it holds no ',' or space.
// Screen values are given in virtual-screen units and written in window pixels, rounded.
class CReportTokens {
public:
    // The scale of the world's window (window pixels per virtual-screen unit, 1.0 when unset);
    // texts are unmapped from the charset mode's codes. data may be null.
    explicit CReportTokens(CWorldData* data);

    void Add(const std::string& key, const std::string& value);
    void Add(const std::string& key, int64_t value) { Add(key, std::to_string(value)); }
    // A value of integer sub-fields.
    void AddList(const std::string& key, std::initializer_list<int64_t> fields);
    // A point (x,y) or a rectangle (x,y,w,h) in window pixels.
    std::string Point(float x, float y) const;
    std::string Rect(float left, float top, float width, float height) const;
    // The virtual-screen point that a click at the pixel reported for (x, y) reaches.
    Vector2 Reached(float x, float y) const;

    const std::string& Text() const { return m_text; }

    // A text as shown: unmapped in the charset mode, then encoded.
    std::string Text(const char16_t* text) const;
    static std::string Encode(const std::string& text);

private:
    CWorldData* m_pData;
    float m_scaleX;
    float m_scaleY;
    std::string m_text;
};

// Fields joined by ','.
std::string JoinFields(std::initializer_list<std::string> fields);
