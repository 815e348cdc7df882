#pragma once
#include <cstdint>
#include <memory>
#include <new>

#include "base/BaseObject.h"
#include "core/PackerFile.h"
#include "base/Result.h"
#include "core/Vector3.h"
#include "engine3d/FontTypes.h"

class C3DEngine;
class CFontFace;
class C3DObject;
class C3DTexture;
class CParamsReader;
class CStream;
struct CWorldData;

// A bitmap font drawing UTF-16 text: a table of glyph rectangles into one texture, laid out on a
// pen position and turned into textured quads (six vertices per character) inside one text
// object the font owns. Glyph width on screen: (right - left) x texture width / character size
// x scale. Create or CreateFrom, one loader, then per frame HitTestText (or DrawText + Render),
// Release at the end.
class CVarnFont : public CBaseObject {
public:
    CVarnFont(CWorldData* data, C3DEngine* engine);
    CVarnFont(const CVarnFont&) = delete;
    CVarnFont& operator=(const CVarnFont&) = delete;
    ~CVarnFont() override;

    // A text object like the source's with copies of its tables, sharing its textures.
    virtual Result CreateFrom(const CVarnFont* source, uint32_t batchSize);
    // Flags: kFontScreenText or kFontObjectText, and one cull flag. Batch size 1 to kFontMaxBatchSize.
    virtual Result Create(uint8_t flags, uint32_t batchSize);
    virtual Result Release();
    // Measures, aligns, hit-tests and draws the text in batches. Returns out: the pen after the
    // text, one line height below the last line, z 1.0 when the point lies on the text.
    virtual Vector3* HitTestText(Vector3* out, const char16_t* text, const Vector3* position, uint16_t flags,
                                 uint32_t colour, float scale, float lineHeight, const Vector2* point,
                                 const void* extra, uint32_t extraWord);
    // Fills the text object with at most one batch of the text, moving the pen; the rest stays
    // in GetRemainingText (null when all was drawn). Growth table: two f32 per code, stride bytes apart.
    virtual Vector3* DrawText(Vector3* out, const char16_t* text, float startX, Vector3* pen, uint32_t flags,
                              uint32_t colour, float scale, float lineHeight, const Vector2* hover,
                              const void* growth, uint32_t growthStride);
    // Draws the text object, with a drop shadow first under kTextShadow. Extra: the angle
    // (kTextRotate) or the 16 f32 of a matrix (kTextMatrix).
    virtual Result Render(uint32_t flags, const void* extra, uint32_t ignored);

    // Charset-image fonts: the texture onto every part, cells from the [FONT] description.
    virtual Result MakeTextureFromAddress(const CParamsReader* params, const char16_t* name, const uint8_t* data,
                                          uint32_t size);
    virtual Result LoadTextureFromPacker(const CParamsReader* params, CPackerFile* pak);
    virtual Result LoadTextureFromFile(const CParamsReader* params, const char16_t* path);

    // TrueType faces rasterised into an atlas texture, or baked into ".glyph" and ".png" files.
    virtual Result LoadTrueTypeFromAddress(const char16_t* name, const uint8_t* data, uint32_t size, uint8_t charSize,
                                           uint8_t spaceSize);
    virtual Result LoadTrueTypeFromPacker(CPackerFile* pak, uint8_t charSize, uint8_t spaceSize);
    virtual Result LoadTrueTypeFromFile(const char16_t* path, uint8_t charSize, uint8_t spaceSize);
    virtual Result BakeGlyphFile(const char16_t* path, uint8_t charSize, uint8_t spaceSize);

    // Glyph-atlas fonts: a texture and a ".glyph" description.
    virtual Result LoadGlyphFontFromAddress(const uint8_t* textureData, uint32_t textureSize,
                                            const uint8_t* descriptionData, uint32_t descriptionSize);
    virtual Result MakeGlyphTextureFromAddress(const uint8_t* data, uint32_t size);
    virtual Result ReadGlyphDescriptionFromAddress(const uint8_t* data, uint32_t size);
    // Either record may be null; each given one is loaded.
    virtual Result LoadGlyphFontFromPacker(CPackerFile* texture, CPackerFile* description);
    virtual Result LoadGlyphTextureFromPacker(CPackerFile* pak);
    virtual Result ReadGlyphDescriptionFromPacker(CPackerFile* pak);
    virtual Result LoadGlyphFontFromFile(const char16_t* texturePath, const char16_t* descriptionPath);
    virtual Result LoadGlyphTextureFromFile(const char16_t* path);
    virtual Result ReadGlyphDescriptionFromFile(const char16_t* path);

    // (width, height, 0) of the text; width signed as the scale, height always positive.
    virtual Vector3* MeasureText(Vector3* out, const char16_t* text, float scale, float lineHeight);
    virtual Vector3* AlignPosition(Vector3* out, const Vector3* position, uint16_t flags, const Vector3* size);
    // Copies source into destination (capacity units, terminator included), inserting line feeds
    // so that no line is wider than maxWidth; breaks at breakChar where the lists allow. A glyph
    // wider than maxWidth gets a line of its own. Returns the units written before the terminator.
    virtual uint32_t WrapText(float scale, float ignored, const char16_t* source, char16_t* destination,
                              uint32_t capacity, uint16_t maxWidth, char16_t breakChar, const char16_t* noBreakAfter,
                              const char16_t* noBreakBefore, uint8_t keepTrailingBreak);
    virtual C3DTexture* GetTexture(uint32_t part);
    // 256 glyph records for the codes from 32, then the font info; committed only when all read.
    virtual Result ReadGlyphTable(CStream* stream);

    // Codes outside the table are ignored.
    void SetGlyph(uint32_t code, const GlyphRect& rect);
    // Null for a code outside the table.
    const GlyphRect* GetGlyph(uint32_t code) const;
    // The first font info; null before Create.
    const FontInfo* GetFontInfo() const { return m_infoCount ? &m_infos[0] : nullptr; }
    // Charset-image fonts leave the info zeroed: their users set it before measuring.
    Result SetFontInfo(const FontInfo& info);

    uint32_t GetBatchSize() const { return m_batchSize; }
    uint32_t GetCullCode() const { return m_cullCode; }
    C3DObject* GetTextObject() const { return m_pTextObject; }
    const char16_t* GetRemainingText() const { return m_pRemainingText; }
    const char16_t* GetTextBeingDrawn() const { return m_pTextBeingDrawn; }
    CWorldData* GetWorldData() const { return m_pWorldData; }
    C3DEngine* GetEngine() const { return m_pEngine; }

protected:
    // A zero-filled array; null when memory runs out.
    template <typename T>
    static std::unique_ptr<T[]> ZeroedArray(uint32_t count)
    {
        return std::unique_ptr<T[]>(new (std::nothrow) T[count]());
    }
    // Rectangle and font info of a unit, false when the font has no table entry for it.
    virtual bool LookupGlyph(uint32_t unit, const GlyphRect** rect, const FontInfo** info) const;
    // Screen width of a unit's glyph at the scale; 0 without a glyph.
    float GlyphWidth(uint32_t unit, float scale) const;
    static float GlyphWidth(const GlyphRect& rect, const FontInfo& info, float scale);
    static bool IsEmptyRect(const GlyphRect& rect);

    // Shared checks and first steps of Create: batch size, text object, cull code.
    Result MakeTextObject(uint8_t flags, uint32_t batchSize);
    // Shared first steps of CreateFrom: releases this font, then takes the batch size, a text
    // object like the source's and its cull code.
    Result StartCreateFrom(const CVarnFont* source, uint32_t batchSize);
    // A text object with the words of another; null when the engine refuses.
    C3DObject* MakeObjectLike(const C3DObject* source);
    // Part count, vertices and indices for the batch size on a fresh object (identity indices
    // per part); false when the object cannot hold them.
    bool BuildGeometry(C3DObject* object, uint32_t parts) const;
    // Every part of the source's text object that has a stage-0 texture lends it to this one.
    Result ShareTexturesOf(const CVarnFont* source);
    Result AllocateTables(uint32_t glyphs, uint32_t infos);
    void FreeTables();
    void DestroyTextObject();
    void SetBlending(uint32_t colour);
    bool IsObjectSpace() const;
    // The six vertices of one glyph quad from vertex index first.
    void EmitQuad(uint32_t first, uint32_t unit, const GlyphRect& rect, float width, const Vector3& pen,
                  uint32_t flags, uint32_t colour, float lineHeight, const void* growth, uint32_t growthStride);
    // First steps of a DrawText: false, with *out a line below the pen, when there is nothing to
    // draw; otherwise the text object locked, the unit count cut to the batch (with no advance
    // when the text goes on in the next batch) and the colour highlighted under the hover point.
    bool BeginDrawText(Vector3* out, const char16_t* text, const Vector3* pen, uint32_t flags, float scale,
                       float lineHeight, const Vector2* hover, uint32_t* colour, uint32_t* count, float* advance);
    // Last steps: unlocks the text object, keeps what the batch left and puts the next pen in *out.
    Vector3* EndDrawText(Vector3* out, const char16_t* text, uint32_t count, const Vector3& pen, float advance);
    // The colour with every non-zero red, green and blue channel raised to 0xFF.
    static uint32_t Highlight(uint32_t colour);
    // True when the point lies strictly inside the text rectangle at (x, y).
    bool HitTest(const Vector3& size, uint32_t flags, float x, float y, const Vector2& point) const;
    float ScreenWidth() const;
    float ScreenHeight() const;
    // Tables read from a stream and committed together.
    Result CommitGlyphTable(const GlyphRect* rects, uint32_t count, uint32_t firstCode, const FontInfo& info);
    // Reads the whole entry the record stands at; RES_FAIL on a short read.
    Result ReadPakEntry(CPackerFile* pak, std::unique_ptr<uint8_t[]>* bytes);
    // Reads the whole entry and hands its bytes to fromAddress(data, size).
    template <class FromAddress>
    Result FromPakEntry(CPackerFile* pak, FromAddress fromAddress)
    {
        std::unique_ptr<uint8_t[]> bytes;
        const Result result = ReadPakEntry(pak, &bytes);
        return Failed(result) ? result : fromAddress(bytes.get(), pak->foundSize);
    }
    // The version and glyph table of an opened ".glyph" stream.
    Result ReadGlyphDescription(CStream* stream);
    void Log(const char16_t* format, const char16_t* argument) const;

    CWorldData* m_pWorldData;
    C3DEngine* m_pEngine;
    std::unique_ptr<GlyphRect[]> m_glyphs;
    uint32_t m_glyphCount = 0;
    std::unique_ptr<FontInfo[]> m_infos;
    uint32_t m_infoCount = 0;
    const char16_t* m_pTextBeingDrawn = nullptr;
    const char16_t* m_pRemainingText = nullptr;
    uint32_t m_cullCode = 1;
    uint32_t m_batchSize = kFontDefaultBatchSize;
    C3DObject* m_pTextObject = nullptr;

private:
    // The cells of the description once the texture loaded (textureResult); logs a failure.
    Result LoadCharsetImage(const CParamsReader* params, float cellWidth, float cellHeight, Result textureResult,
                            const char16_t* logFormat, const char16_t* logArgument);
    void ParseCharsetImage(const CParamsReader* params, float cellWidth, float cellHeight);
    // Builds the atlas of the face and puts it into the glyph table and a new texture.
    Result LoadTrueTypeFace(CFontFace& face, uint8_t charSize, uint8_t spaceSize);
};
