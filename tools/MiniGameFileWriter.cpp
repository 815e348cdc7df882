#include "tools/MiniGameFileWriter.h"

namespace {

constexpr SlidingCell kEmptySlidingCell{-1, -1, kEmptyTile, 0xFFFF, -1, 0};

void WritePoint(CByteWriter& out, const CPoint3& p)
{
    const float values[] = {p.x, p.y, p.z};
    out.Floats(values, 3);
}

template <size_t N>
void WriteLayout(CByteWriter& out, const CMiniGameLayoutModel<N>& layout)
{
    out.U32(layout.maskPart);
    out.U32(layout.boardPart);
    for (uint32_t part : layout.buttonParts)
        out.U32(part);
    for (const CPoint3& p : layout.buttonPositions)
        WritePoint(out, p);
}

void WriteExit(CByteWriter& out, const CMiniGameExitModel& e)
{
    out.U32(e.reloadArgument);
    out.U32(e.nextScene);
    out.U32(e.extraValue);
    out.U16(e.moveSound);
    out.U16(e.solvedSound);
    out.U16(e.hintReward);
}

void WriteName(CByteWriter& out, const std::string& name) { out.Field(name.substr(0, kNameBytes - 1), kNameBytes); }

void WriteBytes(CByteWriter& out, const std::vector<uint8_t>& bytes, size_t count, uint8_t pad)
{
    for (size_t i = 0; i < count; ++i)
        out.U8(i < bytes.size() ? bytes[i] : pad);
}

void WriteJigsawRecord(CByteWriter& out, const CJigsawRecordModel& r)
{
    out.U8(r.columns);
    out.U8(r.rows);
    WriteBytes(out, r.columnMarks, r.columns, 0);
    WriteBytes(out, r.rowMarks, r.rows, 0);
    out.U16(r.holePiece);
    out.U16(r.modeFlags);
    out.U32(r.selectColour);
    out.U8(r.shuffleCount);
    WriteName(out, r.frontTextureName);
    WriteName(out, r.backTextureName);
    out.U8(r.showPicture);
    WriteExit(out, r.exit);
}

void WriteSlidingCell(CByteWriter& out, const SlidingCell& c)
{
    for (int16_t value : {c.anchorX, c.anchorY, c.tile})
        out.U16(static_cast<uint16_t>(value));
    out.U16(c.shape);
    out.U16(static_cast<uint16_t>(c.pieceId));
    out.U16(c.flags);
}

void WriteSlidingRecord(CByteWriter& out, const CSlidingRecordModel& r)
{
    out.U16(r.pictureColumns);
    out.U16(r.pictureRows);
    const size_t tiles = size_t{r.pictureColumns} * r.pictureRows;
    for (size_t i = 0; i < tiles; ++i)
        out.U16(i < r.tileMap.size() ? r.tileMap[i] : 1);
    out.U16(static_cast<uint16_t>(r.shapes.size()));
    for (const CSlidingShapeModel& shape : r.shapes) {
        out.U16(static_cast<uint16_t>(shape.offsets.size()));
        for (const SlidingOffset& o : shape.offsets) {
            out.U32(static_cast<uint16_t>(o.dx));
            out.U16(static_cast<uint16_t>(o.dy));
            out.Fill(6, '\0');
        }
        out.U8(shape.moveFlags);
    }
    out.U16(r.gridColumns);
    out.U16(r.gridRows);
    const size_t cells = size_t{r.gridColumns} * r.gridRows;
    for (int which = 0; which < 2; ++which) {
        for (size_t i = 0; i < cells; ++i)
            WriteSlidingCell(out, i < r.layouts[which].size() ? r.layouts[which][i] : kEmptySlidingCell);
        out.U32(r.exitDirections[which]);
    }
    WriteName(out, r.pictureName);
    WriteExit(out, r.exit);
}

void WriteShootRecord(CByteWriter& out, const CShootRecordModel& r, const std::vector<CShootTargetModel>& targets)
{
    out.U8(r.gridMode);
    out.U8(r.gridColumns);
    out.U8(r.gridRows);
    out.F32(r.gridOffsetY);
    WriteName(out, r.targetTextureName);
    for (uint8_t value : {r.minSpawnSeconds, r.maxSpawnSeconds, r.maxWave, r.minLifeSeconds, r.maxLifeSeconds})
        out.U8(value);
    out.U32(r.value2FC);
    for (int32_t value : {r.winArgument, r.winTargetScene})
        out.U32(static_cast<uint32_t>(value));
    out.U32(r.value2CC);
    for (int32_t value : {r.goal, r.hintPoints, r.loseThreshold})
        out.U32(static_cast<uint32_t>(value));
    out.F32(r.hintLabelSeconds);
    out.U16(r.missSound);
    out.U16(r.wonSound);
    out.U8(static_cast<uint8_t>(r.entries.size()));
    for (const CShootEntryModel& e : r.entries) {
        out.U32(static_cast<uint32_t>(e.escapePoints));
        out.U32(static_cast<uint32_t>(e.hitPoints));
        out.U16(e.hitSound);
        out.F32(e.fadeInSeconds);
        out.F32(e.vanishSeconds);
        WritePopup(out, e.explainPopup);
        out.U8(e.sampleTarget);
    }
    for (size_t k = 0; k < targets.size(); ++k)
        out.U8(k < r.entryOfTarget.size() ? r.entryOfTarget[k] : targets[k].entry);
    WritePopup(out, r.losePopup);
    out.U16(r.winHints);
}

// Each level record's type record, the default one where the model has none.
template <typename Record, typename Write>
void WriteRecords(const std::vector<Record>& records, size_t count, Write write)
{
    for (size_t i = 0; i < count; ++i)
        write(i < records.size() ? records[i] : Record{});
}

// The level base, the board game's layout, then each record's own part.
template <typename Model, typename WriteRecord>
std::string BoardGameBody(const Model& model, WriteRecord write)
{
    CByteWriter out;
    out.Text(LevelBody(model.level));
    WriteLayout(out, model.layout);
    WriteRecords(model.records, model.level.records.size(), [&](const auto& r) { write(out, r); });
    return out.Bytes();
}

} // namespace

void CSlidingRecordModel::Place(int which, uint16_t shape, int16_t x, int16_t y, int16_t pieceId, int16_t firstTile,
                                bool key)
{
    std::vector<SlidingCell>& layout = layouts[which];
    layout.resize(size_t{gridColumns} * gridRows, kEmptySlidingCell);
    int16_t tile = firstTile;
    for (const SlidingOffset& o : shapes.at(shape).offsets) {
        const int cx = x + o.dx, cy = y + o.dy;
        if (cx < 0 || cy < 0 || cx >= gridColumns || cy >= gridRows)
            continue;
        SlidingCell& cell = layout[size_t(cy) * gridColumns + size_t(cx)];
        cell = SlidingCell{x, y, tile++, shape, pieceId, static_cast<uint16_t>((cell.flags & kSlidingTarget) | (key ? kSlidingKey : 0))};
    }
}

void CSlidingRecordModel::MarkTarget(int which, uint16_t column, uint16_t row)
{
    layouts[which].resize(size_t{gridColumns} * gridRows, kEmptySlidingCell);
    layouts[which][size_t{row} * gridColumns + column].flags |= kSlidingTarget;
}

std::string JigsawBody(const CJigsawModel& model) { return BoardGameBody(model, WriteJigsawRecord); }

std::string SlidingBody(const CSlidingModel& model) { return BoardGameBody(model, WriteSlidingRecord); }

std::string ShootBody(const CShootModel& model)
{
    CByteWriter out;
    out.Text(LevelBody(model.level));
    out.U32(static_cast<uint32_t>(model.targets.size()));
    for (const CShootTargetModel& t : model.targets) {
        out.U32(t.part);
        out.U8(t.usable);
        out.Fill(3, '\0');
    }
    for (const CShootTargetModel& t : model.targets)
        WritePoint(out, t.point);
    out.F32(model.counterX);
    out.F32(model.counterY);
    WriteRecords(model.records, model.level.records.size(),
                 [&](const CShootRecordModel& r) { WriteShootRecord(out, r, model.targets); });
    return out.Bytes();
}
