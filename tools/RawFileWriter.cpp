#include "tools/RawFileWriter.h"

#include "game/Construction.h"

namespace {

constexpr uint16_t kProfileVersion = 63;
constexpr uint8_t kUnitBytes = 2;

void WriteUnits(CByteWriter& out, const std::u16string& units)
{
    for (char16_t unit : units)
        out.U16(unit);
}

} // namespace

std::string RawHeaderBytes(const std::string& buildString)
{
    CByteWriter out;
    out.U16(kRawVersion);
    out.U32(static_cast<uint32_t>(buildString.size() + 1));
    out.Text(buildString);
    out.U8(0);
    return out.Bytes();
}

std::string RawFileBytes(const std::string& buildString, const std::string& body)
{
    return RawHeaderBytes(buildString) + body;
}

std::string ConstructBody(const CConstructModel& construct)
{
    CByteWriter out;
    out.U32(construct.constructionNumber);
    out.U32(static_cast<uint32_t>(construct.levelTypes.size()));
    for (uint32_t type : construct.levelTypes)
        out.U32(type);
    out.U32(construct.tooltipCount);
    out.U8(construct.tutorial);
    out.F32(construct.ratio);
    return out.Bytes();
}

std::string TutorialBody(const std::array<uint32_t, kTutorialEntries>& table)
{
    CByteWriter out;
    for (uint32_t value : table)
        out.U32(value);
    return out.Bytes();
}

std::string StringFileBytes(const std::vector<std::u16string>& strings)
{
    std::u16string units;
    std::vector<uint16_t> offsets;
    for (const std::u16string& text : strings) {
        offsets.push_back(static_cast<uint16_t>(units.size()));
        units += text;
        units += char16_t{0};
    }
    CByteWriter out;
    out.U8(kUnitBytes);
    out.U32(static_cast<uint32_t>(units.size()));
    out.U8(kUnitBytes);
    out.U32(static_cast<uint32_t>(offsets.size()));
    WriteUnits(out, units);
    for (uint16_t offset : offsets)
        out.U16(offset);
    return out.Bytes();
}

std::string SymbolsFileBytes(const std::array<uint16_t, kCharsetRemapEntries>& remap)
{
    CByteWriter out;
    out.U8(kUnitBytes);
    out.U32(kCharsetRemapEntries);
    out.U8(kUnitBytes);
    out.U32(1);
    WriteUnits(out, std::u16string(remap.begin(), remap.end()));
    out.U16(0);
    return out.Bytes();
}

std::string MenuDialogBody(const CMenuDialogModel& dialog)
{
    CByteWriter out;
    out.U32(kMenuDialogLines);
    for (uint32_t index : dialog.stringMap)
        out.U32(index);
    out.U16(dialog.clickSound);
    out.F32(dialog.dialogBorder);
    out.F32(dialog.buttonBorder);
    return out.Bytes();
}

std::string LayeredMenuBody(const CLayeredMenuModel& menu)
{
    CByteWriter out;
    WriteSceneBlock(out, menu.scene);
    out.U32(static_cast<uint32_t>(menu.layers.size()));
    for (const CMenuLayerModel& layer : menu.layers) {
        out.U32(layer.part);
        out.U8(layer.hiddenMoving);
        out.U8(layer.hiddenIdle);
        out.Fill(kMenuLayerPadding, '\0');
        const float values[] = {layer.scale, layer.weightX, layer.weightY};
        out.Floats(values, 3);
    }
    out.F32(menu.baseX);
    out.F32(menu.baseY);
    out.U32(menu.thirdValue);
    return out.Bytes();
}

std::string SoundIndexBody(uint32_t sound)
{
    CByteWriter out;
    out.U32(sound);
    return out.Bytes();
}

std::string FreshHintSection(uint16_t count)
{
    CByteWriter out;
    out.F32(0.0f);
    out.U16(count);
    return out.Bytes();
}

std::string FreshToolbarSection()
{
    CByteWriter out;
    out.U32(0);
    out.U32(0);
    out.U8(0);
    out.F32(1.0f);
    return out.Bytes();
}

std::string BlankProfileBody(const CBlankProfileModel& p)
{
    const CProgressFields& r = p.record;
    CByteWriter out;
    out.U16(kProfileVersion);
    for (uint32_t count : {static_cast<uint32_t>(p.levelTimes.size()), p.tooltipCount, p.elementTotal, p.paramTotal})
        out.U32(count);
    for (uint8_t flag : {r.m_bInUse, r.m_bFinished, r.m_bSent})
        out.U8(flag);
    out.F32(r.m_fPlayUnits);
    out.U8(r.m_nPlayMinutes);
    out.U8(r.m_nPlayHours);
    out.F32(r.m_fBestUnits);
    out.U8(r.m_nBestMinutes);
    out.U8(r.m_nBestHours);
    for (uint8_t value : {r.m_nHour, r.m_nMinute, r.m_nSecond})
        out.U8(value);
    out.U16(r.m_nYear);
    for (uint8_t value : {r.m_nMonth, r.m_nDay, r.m_bDateSet, r.m_FirstVisit[0], r.m_FirstVisit[1],
                          r.m_FirstVisit[2], r.m_FirstVisit[3]})
        out.U8(value);
    for (const CLevelTime& time : p.levelTimes) {
        out.F32(time.m_fUnits);
        out.U8(time.m_nMinutes);
        out.U8(time.m_nHours);
    }
    for (uint32_t scene : p.scenes)
        out.U32(scene);
    out.F32(p.abuseTimer);
    out.U8(p.abuseCounter);
    out.Floats(p.camera.data(), p.camera.size());
    for (uint32_t popup : p.popups)
        out.U32(popup);
    out.Text(p.sections);
    return out.Bytes();
}
