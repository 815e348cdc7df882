#pragma once
#include <cstdint>
#include <memory>

#include "base/BaseObject.h"
#include "base/Result.h"

class CStream;
struct CWorldData;

// One level action: a list of up to 255 elements of one or two bytes each, to which the kind
// applies its effect. The place of an action in a description fixes its kind; the stream holds
// the u8 count, then the elements (two-byte ones little-endian). The kinds live with the levels.
class CLevelAction : public CBaseObject {
public:
    ~CLevelAction() override = default;
    CLevelAction(const CLevelAction&) = delete;
    CLevelAction& operator=(const CLevelAction&) = delete;

    // Applies the kind's effect to every element in order; argument: a level id or -1.
    virtual Result Apply(int32_t argument) = 0;
    // Frees the elements; the count becomes 0.
    virtual void Clear();
    virtual Result Save(CStream& stream);
    // Replaces the elements by the stream's; RES_FAIL on a short stream (the action then holds none).
    virtual Result Load(CStream& stream);

    uint8_t GetCount() const { return m_nCount; }
    uint8_t GetElementBytes() const { return m_nElementBytes; }
    // Element i as a number (0 past the count).
    uint16_t GetElement(uint8_t i) const;

protected:
    CLevelAction(CWorldData* data, uint8_t elementBytes) : m_pWorldData(data), m_nElementBytes(elementBytes) {}

    CWorldData* m_pWorldData;
    std::unique_ptr<uint8_t[]> m_pElements;  // count x element bytes, as stored
    uint8_t m_nCount = 0;
    uint8_t m_nElementBytes;
};
