// Level actions: a stream of actions, each kind chosen by a byte, loads action by action; each
// loaded action saves to exactly the bytes it took and answers its elements, and a failed load
// leaves the action empty.

#include <string>

#include "core/Stream.h"
#include "fuzz/FuzzSupport.h"
#include "levels/actions/LevelActions.h"

namespace {

constexpr uint8_t kKindCount = 10;

uint16_t ElementAt(const std::string& bytes, uint8_t elementBytes, uint8_t i)
{
    const size_t at = 1 + size_t{i} * elementBytes;
    const uint8_t low = static_cast<uint8_t>(bytes[at]);
    return elementBytes == 1 ? low : static_cast<uint16_t>(low | static_cast<uint8_t>(bytes[at + 1]) << 8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CStreamMemory stream(kStreamRead, data, static_cast<uint32_t>(size));
    uint8_t kind = 0;
    while (stream.Read(&kind, 1, 1)) {
        std::unique_ptr<CLevelAction> action = MakeLevelAction(static_cast<LevelActionKind>(kind % kKindCount), nullptr);
        FUZZ_CHECK(action);
        const size_t from = size - stream.BytesLeft();
        if (Failed(action->Load(stream))) {
            FUZZ_CHECK(action->GetCount() == 0);
            return 0;
        }
        const std::string taken(reinterpret_cast<const char*>(data) + from, size - stream.BytesLeft() - from);
        CFuzzWriteStream saved;
        FUZZ_CHECK(action->Save(saved) == RES_OK && saved.Bytes() == taken);
        for (uint8_t i = 0; i < action->GetCount(); ++i)
            FUZZ_CHECK(action->GetElement(i) == ElementAt(taken, action->GetElementBytes(), i));
        FUZZ_CHECK(action->GetElement(action->GetCount()) == 0);
    }
    return 0;
}
