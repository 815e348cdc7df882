#pragma once
#include <cstdint>

#include "core/Vector3.h"
#include "levels/Level.h"
#include "levels/minigames/BoardGeometry.h"
#include "levels/minigames/MiniGameParts.h"

class C3DObject;
class C3DTexture;
class CStream;

// What the JIGSAW, SHOOT and SLIDING levels share: a free camera, penalty-free clicks, drags,
// the toolbar's height left free, the leave pop-up, the board's place on the screen, the way
// a solved board leads on, and the drawing of the display object's parts and of quads.
class CLevelMiniGame : public CLevel {
public:
    CLevelMiniGame(CWorldData* data, C3DEngine* engine, uint32_t id, uint32_t type, uint32_t firstVisitIndex);

    uint32_t GetCameraMode() override { return 1; }
    bool IsSceneOptionSet() override { return false; }
    float GetZoomRatio() override { return 0.0f; }
    bool IsClickPenaltyFree() override { return true; }
    bool IsDragEnabled() override { return true; }
    bool IsToolbarHidden() override { return false; }
    bool IsToolbarHeightIgnored() override { return true; }
    // The current record's leave pop-up is queued while the level is not done.
    void OnLeave() override;
    // The base's sounds and, with an exit, its move and solved sounds.
    void PlaySounds() override;

    const CBoardGeometry& GetBoard() const { return m_board; }
    // The cell under a virtual-screen point, with the first view matrix's translation.
    bool CellAt(float x, float y, uint32_t* column, uint32_t* row) const;

protected:
    bool AreStarsHidden() override { return false; }

    // The board part's box and texture bounds fit to the screen and cut into the grid.
    Result MeasureBoard(uint32_t boardPart, uint32_t columns, uint32_t rows);
    // The translation of the first view matrix; 0 without game data.
    Vector3 ViewTranslation() const;
    // The current record's exit (JIGSAW, SLIDING); null without one.
    virtual const CMiniGameExit* CurrentExit() { return nullptr; }
    void PlayMoveSound();
    // hintReward hints when rewarded, then the solved sound.
    void PaySolution(bool reward);
    // The tutorial's first step: the intro text with the number and the hint button's maximum.
    void BeginTutorial(uint32_t step, uint32_t text, int32_t number);
    // True while a tooltip is busy, the timer is shown or the level message is current or pending.
    bool IsLeaveHeld() const;
    // To the next scene, the end of the game, the record argument or the click targets.
    void Leave(const CMiniGameExit& exit);
    // AddAudio for a sound that is not none.
    void PrepareSound(uint16_t sound);
    // A part of phase 4 that is clickable, not disabled, and under the point.
    bool ButtonHit(uint32_t part, float x, float y);
    // The display object through the first view matrix, white.
    void PrepareDisplay();
    void DrawDisplayPart(uint32_t part);
    // The part drawn so that the scene point lands at that point times the scene zoom (the
    // tutorial's highlight of a button at its position).
    void DrawPartAtZoomedPoint(uint32_t part, const CPoint3& point);
    // Every display part whose scene part has the phase (or, with except, has none of the phases).
    void DrawPhaseParts(const uint32_t* phases, uint32_t count, bool except);
    // An object of the engine; null without an engine.
    C3DObject* MakeObject(uint32_t flagsA, uint32_t flagsB);
    // Gives the object parts quads of one strip each, untextured and with no cull; locked after.
    Result ShapeQuads(C3DObject* object, uint32_t parts);
    // Writes the corners top-left, bottom-left, top-right, bottom-right of a quad.
    static void WriteQuad(C3DObject* object, uint32_t part, const float rect[4], const float uv[4], uint32_t colour);
    // Draws the object's part at a point, turned by quarter turns.
    static void DrawAt(C3DObject* object, uint32_t part, float x, float y, uint32_t turns, uint32_t colour);
    // Loads a texture from the pak (source mode 2) unless the name is empty.
    Result LoadNamedTexture(C3DTexture* texture, const char* name);
    void DestroyObject(C3DObject*& object);
    void DestroyTexture(C3DTexture*& texture);

    CBoardGeometry m_board;
    Vector3 m_vBoardMin = {};
    Vector3 m_vBoardMax = {};
    Vector2 m_vUVMin = {};
    Vector2 m_vUVMax = {};
};
