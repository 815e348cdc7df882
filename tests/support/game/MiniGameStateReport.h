#pragma once

class CLevelJigsaw;
class CLevelShoot;
class CLevelSliding;
class CReportTokens;

// The boards, slots, help buttons and targets of the mini-games (see LevelStateReport.h).
void ReportJigsaw(CReportTokens& tokens, CLevelJigsaw& level);
void ReportShoot(CReportTokens& tokens, CLevelShoot& level);
void ReportSliding(CReportTokens& tokens, CLevelSliding& level);
