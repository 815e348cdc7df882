#include "game/ScenePartKinds.h"

const CScenePartKind kScenePartKinds[kScenePartKindCount] = {
    {"XO", 0, "EXTRA_OBJECTS", "ON_EXTRA_OBJECTS"},
    {"HO", 1, "HIDDEN_OBJECTS", "ON_HIDDEN_OBJECTS"},
    {"CO", 2, "COLLECTION_OBJECTS", "ON_COLLECTION_OBJECTS"},
    {"BO", 3, "BONUS_OBJECTS", "ON_BONUS_OBJECTS"},
    {"BT", 4, "", ""},
    {"FX", 5, "", ""},
    {"AO", 6, "ARROW_OBJECTS", ""},
    {"QZ", 7, "QUIZZ_OBJECTS", "ON_QUIZZ_OBJECTS"},
    {"GO", 8, "", "ON_GHOST_OBJECTS"},
    {"GT", 9, "", ""},
    {"SO", 10, "", ""},
    {"BG", 11, "", ""},
    {"FG", 12, "", ""},
    {"IO", 13, "", ""},
};
