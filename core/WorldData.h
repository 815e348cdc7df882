#pragma once
#include <cstdint>

#include "core/ModuleTypes.h"
#include "core/PackerFile.h"
#include "core/Random.h"
#include "core/Vector3.h"

class CMath3D;
class CFrameTimer;
class CParamsReader;
class CWorld;
struct CGameData;
struct CSceneGameData;

using WindowHandle = void*;

constexpr int kKeyCount = 101;
constexpr int kMouseButtonCount = 3;
constexpr int kScratchUnits = 4096;

struct CLightRecord {
    uint8_t enable[2];  // current, configured
    uint32_t type;      // 0 directional, 1 point
    float position[3];
    float direction[3];
    float diffuseIntensity;
    float specularIntensity;
    float ambientIntensity;
    float materialDiffuse;
    float materialSpecular;
    float materialAmbient;
};

struct CFogRecord {
    uint8_t enable[2];
    uint32_t color;
    float start;
    float end;
    float density;
    uint8_t flag1;
    uint32_t tableMode;
    uint8_t flag2;
};

// Roles of the data block's first four matrices.
enum WorldMatrix : int {
    kMatrixProjection = 0,
    kMatrixScreen = 1,
    kMatrixCamera = 2,
    kMatrixView = 3,  // inverse of the camera matrix
};

// The engine data block: the one record every component reaches through the world.
struct CWorldData {
    Matrix4 matrices[4];  // indexed by WorldMatrix; the second pair: a matrix and its inverse
    float scaleX, scaleY, scaleZ;
    Matrix4 screenView;  // the fifth matrix
    CMath3D* math;
    CFrameTimer* frameTimer;
    CParamsReader* engineParams;
    CParamsReader* gameParams;
    CWorld* world;
    uint32_t word30000;
    int32_t lastError;
    char16_t errorDetail[kMaxPathUnits];
    char16_t logPath[kMaxPathUnits];
    int32_t dataRootPrefixLength;
    char16_t dataFolder[kMaxPathUnits];
    char16_t scratch[kScratchUnits];

    MemoryLookup memoryLookup;
    CMemoryRecord memoryRecord;
    CPackerFile pak;
    PackerLookup pakLookup;

    uint8_t keyDown[kKeyCount];
    uint8_t keyReleased[kKeyCount];
    uint8_t keyReleasedCount;
    uint8_t keyPressed[kKeyCount];
    uint8_t keyPressedCount;
    uint16_t lastChar;
    uint32_t frameRecordA[12];
    uint32_t frameRecordB[8];

    uint8_t mouseDown[kMouseButtonCount];  // left, middle, right
    uint8_t mouseReleased[kMouseButtonCount];
    uint8_t mousePressed[kMouseButtonCount];
    float pressX, pressY;
    float pointerX, pointerY;

    uint16_t configuredWidth, configuredHeight;
    uint8_t colorDepth;
    uint16_t workingWidth, workingHeight;
    uint16_t desktopWidth, desktopHeight;
    uint32_t orientation;

    uint8_t vSync;
    uint8_t resizable;
    uint8_t fullscreen;
    uint8_t recreating;
    uint8_t minimised;
    uint8_t hasFocus;
    int32_t renderingEnabled;
    WindowHandle mainWindow;

    uint32_t gammaInitial, gammaRed, gammaGreen, gammaBlue;
    float pointSpriteMinSize, pointSpriteMaxSize;
    float pointSpriteAttenuation[3];

    uint8_t textureQualityShift;
    uint32_t maxTextureWidth, maxTextureHeight;
    uint8_t strictPow2;

    uint8_t lighting[2];
    uint8_t specular[2];
    uint8_t alphaBlending[2];
    uint8_t stencilShadow[2];
    uint8_t rendererSwitch[2];
    uint8_t wireframe;
    uint8_t text;

    uint32_t textColor, clearColor, ambientColor, wireframeColor;
    float viewNear, viewFar, viewNearScreen, viewFarScreen, viewFieldDeg;
    float aspectRatio;  // written by the camera

    CLightRecord lights[2];
    CLightRecord savedLights[2];
    CFogRecord fog;
    CFogRecord savedFog;

    double framesPerSecond;
    double frameFactor;

    CModuleEntry chosenModules[kModuleKindCount];
    CModuleEntry** registeredModules[kModuleKindCount];

    void* rendererState;
    void* soundState;
    void* reservedState;
    void* networkState;

    CRandomMT random;
    CGameData* gameData;
    CSceneGameData* sceneGameData;  // the scene fields of the same record, for the 3D engine
};
