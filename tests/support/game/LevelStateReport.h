#pragma once
#include <string>

class CGameLevel;
class CReportTokens;
class CVadadiDazidevWorld;

// The current level's share of the state report (in the in-game state):
//   star (the active star where a click catches it; part points keep away from it);
//   hidden-object scenes: part (name: the object's name where it lists one, else part<index>;
//   the point where a click now takes the live part; kind; the part's flags), quiz (in place
//   order, while the quiz shows), levelbusy;
//   mini-games: board, slot, button (help buttons, 2000 + their index), selected (the jigsaw's
//   selected cell), target, goal, key, exit, exitdir.
void ReportLevelState(CReportTokens& tokens, CVadadiDazidevWorld& world, CGameLevel& level);

// hiddenobject, jigsaw, shoot, sliding, base; none for null.
std::string LevelTypeName(CGameLevel* level);
