#pragma once
#include <cstdint>
#include <memory>
#include <new>

#include "base/Result.h"
#include "core/Stream.h"
#include "game/StreamValues.h"
#include "levels/minigames/MiniGameParts.h"

// What the mini-games' readers of a level description share, after the base part. Each type's
// reader refuses (RES_FAIL) a short read and data the game can't play: part indexes past the
// part count (or not -1), counts past the stream's end, grids and indexes outside their tables.

inline bool PartOrNone(uint32_t part, uint32_t partCount) { return part == kNoPart || part < partCount; }

// A fixed name field; its last byte is cut so that the name always ends.
bool ReadName(CStream& stream, char (&name)[kNameBytes]);
bool ReadPopup(CStream& stream, CLevelPopupGroup& popup);
bool ReadExit(CStream& stream, CMiniGameExit& exit);

// Zeroed room for count elements of fileBytes each in the file, refused before allocation when
// the stream can't hold them.
template <typename T>
bool AllocFor(CStream& stream, std::unique_ptr<T[]>& array, uint64_t count, uint64_t fileBytes)
{
    if (count * fileBytes > stream.BytesLeft())
        return false;
    array.reset(new (std::nothrow) T[count ? count : 1]());
    return array != nullptr;
}

// count elements stored as they lie in the file.
template <typename T>
bool ReadArray(CStream& stream, std::unique_ptr<T[]>& array, uint64_t count)
{
    return AllocFor(stream, array, count, sizeof(T)) &&
           (count == 0 || stream.Read(array.get(), sizeof(T), static_cast<uint32_t>(count)));
}

// The mask part, the board part, N button parts and N button positions.
template <uint32_t N>
Result ReadMiniGameLayout(CStream& stream, CMiniGameLayout<N>& layout, uint32_t partCount)
{
    if (!ReadValue(stream, layout.maskPart) || !ReadValue(stream, layout.boardPart) ||
        !stream.Read(layout.buttonParts, sizeof(uint32_t), N) || !stream.Read(layout.buttonPositions, sizeof(CPoint3), N))
        return RES_FAIL;
    if (!PartOrNone(layout.maskPart, partCount) || !PartOrNone(layout.boardPart, partCount))
        return RES_FAIL;
    for (uint32_t part : layout.buttonParts) {
        if (!PartOrNone(part, partCount))
            return RES_FAIL;
    }
    return RES_OK;
}
