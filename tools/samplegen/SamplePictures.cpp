#include "tools/samplegen/SamplePictures.h"

#include <cmath>
#include <filesystem>

#include "tools/samplegen/Silhouettes.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr CRgba kWhite{255, 255, 255, 255};
constexpr CRgba kInk{40, 30, 24, 255};
constexpr CRgba kWood{150, 100, 56, 255};
constexpr CRgba kParchment{236, 222, 186, 255};
constexpr CRgba kWalnut{74, 46, 30, 255};
constexpr CRgba kLake{50, 110, 150, 255};
constexpr CRgba kGold{236, 190, 64, 255};

CRgba Hue(float h, float value = 0.85f)
{
    auto channel = [&](float offset) {
        const float k = std::fmod(h * 6.0f + offset, 6.0f);
        return static_cast<uint8_t>(255.0f * value * (1.0f - 0.7f * std::max(0.0f, std::min({k, 4.0f - k, 1.0f}))));
    };
    return {channel(5.0f), channel(3.0f), channel(1.0f), 255};
}

std::vector<float> RegularPolygon(float x, float y, float radius, int sides, float turn)
{
    std::vector<float> xy;
    for (int i = 0; i < sides; ++i) {
        const float a = turn + 2.0f * kPi * i / sides;
        xy.push_back(x + radius * std::cos(a));
        xy.push_back(y - radius * std::sin(a));
    }
    return xy;
}

std::vector<float> StarPolygon(float x, float y, float outer, float inner, int points)
{
    std::vector<float> xy;
    for (int i = 0; i < 2 * points; ++i) {
        const float a = kPi * 0.5f + kPi * i / points;
        const float r = i % 2 ? inner : outer;
        xy.push_back(x + r * std::cos(a));
        xy.push_back(y - r * std::sin(a));
    }
    return xy;
}

// A bar from (x0, y0) to (x1, y1) of the given width.
void Bar(CCanvas& c, float x0, float y0, float x1, float y1, float width, CRgba colour)
{
    const float dx = x1 - x0, dy = y1 - y0, length = std::max(std::hypot(dx, dy), 1e-3f);
    const float nx = -dy / length * width * 0.5f, ny = dx / length * width * 0.5f;
    c.FillPolygon({x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny}, colour);
}

void Arrow(CCanvas& c, float x, float y, float size, int direction, CRgba colour)
{
    const float s = direction * size;
    c.FillPolygon({x + s * 0.5f, y, x - s * 0.3f, y - size * 0.5f, x - s * 0.3f, y + size * 0.5f}, colour);
}

void Clock(CCanvas& c, float x, float y, float r, CRgba colour)
{
    c.FillRing(x, y, r * 0.8f, r, colour);
    Bar(c, x, y, x, y - r * 0.6f, r * 0.15f, colour);
    Bar(c, x, y, x + r * 0.45f, y, r * 0.15f, colour);
}

void Face(CCanvas& c, float x, float y, float r, CRgba colour)
{
    c.FillDisc(x, y - r * 0.25f, r * 0.45f, colour);
    c.FillWhere({x - r, y + r * 0.15f, x + r, y + r}, [=](float px, float py) {
        return (px - x) * (px - x) + (py - y - r) * (py - y - r) <= r * r * 0.64f;
    }, colour);
}

// A symbol for cell i of a button sheet: named cells get theirs, the others a numbered pattern.
using CellSymbol = void (*)(CCanvas&, uint32_t cell, float x, float y, float r);

void DrawSheet(CCanvas& c, CellSymbol symbol, CRgba base, bool faceEveryCell = true)
{
    const float cell = c.Width() / 8.0f;
    for (uint32_t i = 0; i < 64; ++i) {
        const float x = (i % 8) * cell, y = (i / 8) * cell;
        if (faceEveryCell)
            c.Button({x + 2, y + 2, x + cell - 2, y + cell - 2}, Mix(base, Hue(i / 64.0f), 0.25f));
        symbol(c, i, x + cell * 0.5f, y + cell * 0.5f, cell * 0.3f);
    }
}

void NavSymbol(CCanvas& c, uint32_t cell, float x, float y, float r)
{
    switch (cell) {
    case 24:
        Bar(c, x - r, y - r, x + r, y + r, r * 0.35f, kWhite);
        Bar(c, x - r, y + r, x + r, y - r, r * 0.35f, kWhite);
        break;
    case 25: Arrow(c, x, y, r * 1.6f, 1, kWhite); break;
    case 26: Arrow(c, x, y, r * 1.6f, -1, kWhite); break;
    case 28: Clock(c, x, y, r, kGold); break;
    default: c.FillDisc(x, y, r * 0.25f, Hue(cell / 64.0f, 1.0f)); break;
    }
}

void SliderSymbol(CCanvas& c, uint32_t cell, float x, float y, float r)
{
    c.FillDisc(x, y, r * (cell == 0 ? 0.9f : 0.5f), cell == 0 ? kGold : kWhite);
}

void CollectionSymbol(CCanvas& c, uint32_t cell, float x, float y, float r)
{
    c.FillPolygon(StarPolygon(x, y, r, r * 0.45f, 5), cell == 1 ? CRgba{255, 240, 150, 255} : kGold);
}

void ProfileSymbol(CCanvas& c, uint32_t cell, float x, float y, float r)
{
    Face(c, x, y, r, Hue(cell / 8.0f, 1.0f));
}

void ModeSymbol(CCanvas& c, uint32_t cell, float x, float y, float r)
{
    if (cell == 4)
        Clock(c, x, y, r, kWhite);
    else if (cell == 5) {
        c.FillRect({x - r, y - r * 0.7f, x - r * 0.05f, y + r * 0.7f}, kParchment);
        c.FillRect({x + r * 0.05f, y - r * 0.7f, x + r, y + r * 0.7f}, kParchment);
    } else
        c.FillDisc(x, y, r * 0.25f, kWhite);
}

void LanguageSymbol(CCanvas& c, uint32_t cell, float x, float y, float r)
{
    for (int stripe = 0; stripe < 3; ++stripe)
        c.FillRect({x - r, y - r * 0.7f + stripe * r * 0.47f, x + r, y - r * 0.23f + stripe * r * 0.47f},
                   Hue((cell * 3 + stripe) / 36.0f + stripe * 0.3f, 1.0f));
}

void SocialSymbol(CCanvas& c, uint32_t cell, float x, float y, float r)
{
    if (cell == 0) {
        Bar(c, x, y - r, x, y + r, r * 0.35f, kWhite);
        Bar(c, x - r * 0.4f, y - r * 0.1f, x + r * 0.4f, y - r * 0.1f, r * 0.3f, kWhite);
    } else {
        c.FillDisc(x, y, r * 0.6f, kWhite);
        c.FillPolygon({x + r * 0.4f, y - r * 0.3f, x + r, y - r * 0.6f, x + r * 0.6f, y}, kWhite);
    }
}

void Sheet(std::vector<CSamplePicture>& list, const char* path, CellSymbol symbol, CRgba base)
{
    list.push_back({path, 512, 512, [=](CCanvas& c) { DrawSheet(c, symbol, base); }});
}

// A dialog frame piece: a light wood rim on the sides the piece borders, edged in gold, around a
// dark walnut body under the white menu text.
void FramePiece(CCanvas& c, bool left, bool top, bool right, bool bottom)
{
    const float n = static_cast<float>(c.Width()), rim = n * 0.4f;
    c.FillWhere({0, 0, n, n}, [](float, float) { return true; },
                [](float x, float y) { return Shade(kWalnut, 0.95f + 0.05f * std::sin(x * 0.5f + 3.0f * std::sin(y * 0.1f))); });
    const CBox inner{left ? rim : 0.0f, top ? rim : 0.0f, right ? n - rim : n, bottom ? n - rim : n};
    c.FillWhere({0, 0, n, n}, [=](float x, float y) {
        return x < inner.left || y < inner.top || x >= inner.right || y >= inner.bottom;
    }, [=](float x, float y) { return Shade(kWood, 0.95f + 0.15f * std::sin((x + y) * 0.3f)); });
    if (left || top || right || bottom)
        c.FillWhere({0, 0, n, n}, [=](float x, float y) {
            const bool edgeX = (left && std::fabs(x - inner.left) < 2) || (right && std::fabs(x - inner.right) < 2);
            const bool edgeY = (top && std::fabs(y - inner.top) < 2) || (bottom && std::fabs(y - inner.bottom) < 2);
            return (edgeX && y >= inner.top - 2 && y <= inner.bottom + 2) ||
                   (edgeY && x >= inner.left - 2 && x <= inner.right + 2);
        }, kGold);
}

void Room(CCanvas& c)
{
    c.VerticalGradient({0, 0, 1024, 540}, {120, 140, 170, 255}, {170, 180, 196, 255});
    for (int i = 0; i < 16; ++i)
        c.FillRect({i * 64.0f + 30, 0, i * 64.0f + 34, 540}, {150, 164, 186, 255});
    c.VerticalGradient({0, 540, 1024, 768}, {120, 84, 52, 255}, {84, 56, 34, 255});
    for (int i = 0; i < 8; ++i)
        c.FillRect({0, 560.0f + i * 28, 1024, 562.0f + i * 28}, {70, 46, 28, 255});
    c.FillRect({620, 60, 900, 260}, {90, 60, 40, 255});
    c.VerticalGradient({634, 74, 886, 246}, {140, 200, 250, 255}, {220, 236, 250, 255});
    c.FillRect({756, 74, 764, 246}, {90, 60, 40, 255});
    c.FillDisc(700, 120, 24, {255, 240, 170, 255});
    for (float shelf : {268.0f, 470.0f})
        c.FillRect({60, shelf, 560, shelf + 14}, kWood);
    c.FillRect({480, 500, 980, 520}, Shade(kWood, 1.1f));
    for (float leg : {500.0f, 950.0f})
        c.FillRect({leg, 520, leg + 16, 640}, Shade(kWood, 0.8f));
    c.FillRect({60, 520, 240, 740}, Shade(kWood, 0.7f));
}

// Opaque everywhere: the lake's blue lies under the hills where they leave the sky.
void Landscape(CCanvas& c)
{
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.Fill(kLake);
    c.VerticalGradient({0, 0, w, h * 0.6f}, {70, 120, 210, 255}, {250, 200, 150, 255});
    c.FillDisc(w * 0.72f, h * 0.3f, h * 0.1f, {255, 230, 120, 255});
    c.FillWhere({0, h * 0.35f, w, h}, [=](float x, float y) { return y > h * (0.55f - 0.08f * std::sin(x / w * 7.0f)); },
                [=](float, float y) { return Mix({80, 150, 70, 255}, {40, 90, 40, 255}, (y - h * 0.45f) / (h * 0.55f)); });
    c.FillWhere({0, h * 0.6f, w, h}, [=](float x, float y) { return y > h * (0.75f - 0.06f * std::cos(x / w * 11.0f)); },
                kLake);
    for (int i = 0; i < 6; ++i) {
        const float x = w * (0.1f + 0.15f * i), y = h * (0.62f - 0.03f * (i % 2));
        c.FillRect({x - 4, y, x + 4, y + h * 0.08f}, {90, 60, 30, 255});
        c.FillPolygon({x, y - h * 0.12f, x - w * 0.04f, y + h * 0.01f, x + w * 0.04f, y + h * 0.01f}, {30, 100, 50, 255});
    }
}

// A layered menu scene: sky, far and near hills, and the title plate, each on its own layer.
void MenuLayer(CCanvas& c, int layer, float hue)
{
    const float w = 1024, h = 768;
    switch (layer) {
    case 0: c.VerticalGradient({0, 0, w, h}, Hue(hue, 0.5f), Hue(hue + 0.1f, 0.95f)); break;
    case 1:
        c.FillWhere({0, 0, w, h}, [=](float x, float y) { return y > h * (0.55f - 0.1f * std::sin(x / w * 5.0f + hue * 9)); },
                    Hue(hue + 0.35f, 0.55f));
        break;
    case 2:
        c.FillWhere({0, 0, w, h}, [=](float x, float y) { return y > h * (0.75f - 0.07f * std::cos(x / w * 8.0f)); },
                    Hue(hue + 0.4f, 0.35f));
        break;
    default:
        c.Button({w * 0.25f, h * 0.07f, w * 0.75f, h * 0.26f}, kWood);
        for (int i = 0; i < 5; ++i)
            c.FillPolygon(StarPolygon(w * (0.33f + 0.085f * i), h * 0.165f, 28, 12, 5), kGold);
        break;
    }
}

void Logo(CCanvas& c, float hue, int sides)
{
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.Button({4, 4, w - 4, h - 4}, Hue(hue, 0.6f));
    c.FillPolygon(RegularPolygon(h * 0.5f, h * 0.5f, h * 0.32f, sides, kPi * 0.5f), kGold);
    for (int i = 0; i < 3; ++i)
        c.FillRect({h, h * (0.3f + 0.15f * i), w - h * 0.3f - i * 20, h * (0.38f + 0.15f * i)}, kParchment);
}

// A start-up logo screen: the maker's credits logo, large, on a dark ground of its colour.
void LogoScreen(CCanvas& c, float hue, int sides)
{
    c.VerticalGradient({0, 0, 1024, 768}, Hue(hue, 0.3f), {10, 10, 14, 255});
    CCanvas logo(512, 256);
    Logo(logo, hue, sides);
    c.Draw(logo, 256, 256);
}

void Star(CCanvas& c)
{
    c.FillDisc(32, 96, 30, {255, 250, 200, 80});
    c.FillPolygon(StarPolygon(32, 96, 28, 12, 5), Shade(kGold, 0.7f));
    c.FillPolygon(StarPolygon(32, 96, 22, 9, 5), {255, 226, 90, 255});
}

void TimerStages(CCanvas& c)
{
    for (int stage = 0; stage < 16; ++stage) {
        const float x = (stage % 4) * 128.0f + 64, y = (stage / 4) * 128.0f + 64;
        c.FillDisc(x, y, 56, {60, 50, 40, 220});
        const float sweep = 2.0f * kPi * (stage + 1) / 16.0f;
        c.FillWhere({x - 50, y - 50, x + 50, y + 50}, [=](float px, float py) {
            const float a = std::atan2(px - x, y - py);
            return (px - x) * (px - x) + (py - y) * (py - y) <= 48 * 48 && (a < 0 ? a + 2 * kPi : a) <= sweep;
        }, stage == 15 ? kGold : CRgba{120, 190, 240, 255});
        c.FillRing(x, y, 50, 56, kGold);
    }
}

void InGameButtons(CCanvas& c)
{
    const float r = 36;
    for (int i = 0; i < 4; ++i) {
        const float x = (i % 2) * 128.0f + 64, y = (i / 2) * 128.0f + 64;
        c.Button({x - 60, y - 60, x + 60, y + 60}, i == 3 ? kGold : kWood);
        if (i == 0) {
            for (int bar = -1; bar <= 1; ++bar)
                c.FillRect({x - r, y + bar * r * 0.6f - 6, x + r, y + bar * r * 0.6f + 6}, kWhite);
        } else if (i == 1 || i == 3) {
            c.FillRing(x - 8, y - 8, r * 0.5f, r * 0.75f, kWhite);
            Bar(c, x + 12, y + 12, x + r, y + r, 12, kWhite);
        } else {
            c.FillDisc(x, y + r * 0.7f, 7, kWhite);
            c.FillRect({x - 6, y - r * 0.2f, x + 6, y + r * 0.4f}, kWhite);
            c.FillRing(x, y - r * 0.45f, r * 0.3f, r * 0.52f, kWhite);
        }
    }
}

// The jigsaw's table: dark green baize in a square, as the level's frame maps it over the screen,
// with a wooden rim around the board (data/levels/jigsaw.yaml places it at 232, 104 to 792, 664).
void JigsawTable(CCanvas& c)
{
    const float n = static_cast<float>(c.Width());
    c.FillWhere({0, 0, n, n}, [](float, float) { return true; }, [](float x, float y) {
        const float weave = 0.93f + 0.04f * std::sin(x * 0.9f) * std::sin(y * 0.9f) + 0.03f * std::sin((x + y) * 0.05f);
        return Shade({40, 92, 64, 255}, weave);
    });
    c.FillRoundRect({214, 86, 810, 682}, 14, Shade(kWood, 0.5f));
    c.FillRoundRect({220, 92, 804, 676}, 10, kWood);
}

// The jigsaw's tools, one 128-pixel cell each: swap and turn (chosen, then choosable), shuffle,
// preview and solve (open, then locked until a hint opens them).
void SwapIcon(CCanvas& c, float x, float y, CRgba ink)
{
    Bar(c, x - 30, y - 14, x + 16, y - 14, 10, ink);
    Arrow(c, x + 22, y - 14, 28, 1, ink);
    Bar(c, x - 16, y + 14, x + 30, y + 14, 10, ink);
    Arrow(c, x - 22, y + 14, 28, -1, ink);
}

void TurnIcon(CCanvas& c, float x, float y, CRgba ink)
{
    c.FillWhere({x - 34, y - 34, x + 34, y + 34}, [=](float px, float py) {
        const float r = std::hypot(px - x, py - y);
        return r >= 20 && r <= 30 && !(px > x && py < y);
    }, ink);
    c.FillPolygon({x + 8, y - 40, x + 8, y - 10, x + 30, y - 25}, ink);
}

void ShuffleIcon(CCanvas& c, float x, float y, CRgba ink)
{
    Bar(c, x - 34, y + 20, x + 14, y - 20, 9, ink);
    Bar(c, x - 34, y - 20, x + 14, y + 20, 9, ink);
    Arrow(c, x + 20, y - 20, 26, 1, ink);
    Arrow(c, x + 20, y + 20, 26, 1, ink);
}

void PreviewIcon(CCanvas& c, float x, float y, CRgba ink)
{
    c.FillWhere({x - 38, y - 22, x + 38, y + 22}, [=](float px, float py) {
        const float dx = (px - x) / 38.0f, dy = (py - y) / 22.0f;
        return dx * dx + dy * dy <= 1.0f;
    }, ink);
    c.FillDisc(x, y, 13, kInk);
    c.FillDisc(x + 4, y - 4, 4, ink);
}

void SolveIcon(CCanvas& c, float x, float y, CRgba ink)
{
    Bar(c, x - 30, y, x - 8, y + 24, 12, ink);
    Bar(c, x - 12, y + 24, x + 32, y - 24, 12, ink);
}

void Padlock(CCanvas& c, float x, float y)
{
    c.FillWhere({x - 16, y - 30, x + 16, y}, [=](float px, float py) {
        const float r = std::hypot(px - x, py - y + 8);
        return r >= 8 && r <= 13 && py <= y - 4;
    }, kGold);
    Bar(c, x - 10.5f, y - 8, x - 10.5f, y, 5, kGold);
    Bar(c, x + 10.5f, y - 8, x + 10.5f, y, 5, kGold);
    c.FillRoundRect({x - 18, y - 4, x + 18, y + 24}, 4, kGold);
    c.FillDisc(x, y + 8, 4, kInk);
}

void JigsawTools(CCanvas& c)
{
    using Icon = void (*)(CCanvas&, float, float, CRgba);
    const struct {
        Icon icon;
        bool chosen, locked;
    } cells[] = {{SwapIcon, true, false},    {SwapIcon, false, false},    {TurnIcon, true, false},
                 {TurnIcon, false, false},   {ShuffleIcon, false, false}, {PreviewIcon, false, false},
                 {PreviewIcon, false, true}, {SolveIcon, false, false},   {SolveIcon, false, true}};
    for (size_t i = 0; i < sizeof(cells) / sizeof(cells[0]); ++i) {
        const float x = (i % 4) * 128.0f + 64, y = (i / 4) * 128.0f + 64;
        const bool locked = cells[i].locked;
        c.Button({x - 60, y - 60, x + 60, y + 60}, cells[i].chosen ? kGold : locked ? Shade(kWood, 0.55f) : kWood);
        cells[i].icon(c, x - (locked ? 8 : 0), y, locked ? CRgba{150, 140, 130, 255} : cells[i].chosen ? kInk : kWhite);
        if (locked)
            Padlock(c, x + 30, y + 18);
    }
}

void MoreGames(CCanvas& c)
{
    for (int i = 0; i < 32; ++i) {
        const float x = (i % 4) * 128.0f, y = (i / 4) * 128.0f;
        if (i >= 18)
            continue;
        c.Button({x + 6, y + 6, x + 122, y + 122}, Hue(i / 18.0f, 0.8f));
        c.FillPolygon(RegularPolygon(x + 64, y + 64, 36, 3 + i % 6, i * 0.4f), kParchment);
    }
}

void Loading(CCanvas& c, int dots)
{
    const float n = static_cast<float>(c.Width());
    for (int i = 0; i < dots; ++i) {
        const float a = 2.0f * kPi * i / dots;
        c.FillDisc(n * 0.5f + n * 0.36f * std::cos(a), n * 0.5f - n * 0.36f * std::sin(a), n * 0.08f,
                   {255, 255, 255, static_cast<uint8_t>(60 + 195 * i / dots)});
    }
}

void SlidingBoard(CCanvas& c)
{
    // Left half: the board, four by four cells inside a wooden frame, the exit right of row 1.
    // Right half: the pieces' tiles on the same grid: the red key over tiles 0 and 1, a blue
    // block on tile 2, the yellow bar over tiles 4 and 5.
    const float frame = kSlidingFrame, cell = kSlidingCell, grid = 4 * kSlidingCell;
    c.Fill({0, 0, 0, 0});
    c.FillRoundRect({0, 0, 512, 512}, 28, Shade(kWood, 0.45f));
    c.FillRoundRect({6, 6, 506, 506}, 24, Shade(kWood, 0.8f));
    c.FillRect({frame, frame, frame + grid, frame + grid}, {110, 80, 50, 255});
    for (int i = 0; i < 16; ++i) {
        const float x = frame + (i % 4) * cell, y = frame + (i / 4) * cell;
        c.FillRect({x + 3, y + 3, x + cell - 3, y + cell - 3}, {200, 180, 140, 255});
    }
    c.FillRect({frame + grid, frame + cell + 8, 512, frame + 2 * cell - 8}, {40, 160, 60, 255});
    auto piece = [&](int column, int row, int columns, CRgba colour) {
        c.Button({512 + frame + column * cell + 4, frame + row * cell + 4, 512 + frame + (column + columns) * cell - 4,
                  frame + (row + 1) * cell - 4},
                 colour);
    };
    piece(0, 0, 2, {210, 50, 40, 255});
    piece(2, 0, 1, {90, 120, 200, 255});
    piece(0, 1, 2, {200, 170, 60, 255});
}

void ShootTargets(CCanvas& c)
{
    for (int ring = 0; ring < 4; ++ring)
        c.FillDisc(64, 64, 60.0f - ring * 15, ring % 2 ? kWhite : CRgba{200, 40, 40, 255});
    c.FillDisc(192, 70, 48, {40, 40, 50, 255});
    Bar(c, 192, 22, 214, 6, 8, {150, 120, 80, 255});
    c.FillDisc(216, 6, 6, {255, 200, 60, 255});
    c.FillDisc(176, 54, 10, {120, 120, 140, 255});
}

void Glow(CCanvas& c)
{
    const float n = static_cast<float>(c.Width()) * 0.5f;
    c.FillWhere({0, 0, 2 * n, 2 * n}, [=](float x, float y) { return std::hypot(x - n, y - n) < n; },
                [=](float x, float y) {
                    const float t = 1.0f - std::hypot(x - n, y - n) / n;
                    return CRgba{255, 236, 140, static_cast<uint8_t>(255.0f * t * t)};
                });
}

void Toolbar(CCanvas& c)
{
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.VerticalGradient({0, 0, w, h}, Shade(kWood, 1.2f), Shade(kWood, 0.7f));
    c.FillRect({0, 0, w, 3}, kGold);
}

void Menubar(CCanvas& c)
{
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.FillWhere({0, 0, w, h}, [](float, float) { return true; },
                [=](float x, float) { return Mix(Shade(kWood, 1.2f), Shade(kWood, 0.7f), x / w); });
    c.FillRect({w - 3, 0, w, h}, kGold);
}

// The mini-games' backdrop.
void NightSky(CCanvas& c)
{
    c.VerticalGradient({0, 0, 1024, 768}, {60, 40, 70, 255}, {20, 16, 30, 255});
    for (int i = 0; i < 40; ++i)
        c.FillPolygon(StarPolygon(40.0f + (i * 397) % 960, 30.0f + (i * 211) % 700, 6, 2.5f, 5), {255, 240, 200, 120});
}

// The dialog background. Drawn black over what lies behind a pop-up, only its alpha shows: a veil
// with a darker box between the navigation buttons' margins at the top and bottom, where pop-ups
// centre their text and the more-games grid and the credits lie. Its colours show in the
// click-abuse penalty's red tint alone: white, with a dark hourglass in the box that asks the
// player to wait.
void DialogBackground(CCanvas& c)
{
    constexpr uint8_t kVeil = 150, kBox = 230;
    const CBox box{8, 72, 1016, 696};
    const float x = 512, y = 384;
    const CRgba mark{60, 60, 60, 255};
    CCanvas face(c.Width(), c.Height());
    face.Fill(kWhite);
    face.FillRing(x, y, 120, 138, mark);
    for (float dy : {-92.0f, 92.0f})
        face.FillRoundRect({x - 70, y + dy - 10, x + 70, y + dy + 10}, 7, mark);
    face.FillPolygon({x - 54, y - 82, x + 54, y - 82, x + 7, y - 4, x - 7, y - 4}, mark);
    face.FillPolygon({x - 7, y + 4, x + 7, y + 4, x + 54, y + 82, x - 54, y + 82}, mark);
    c.Fill({0, 0, 0, 0});
    c.FillWhere({0, 0, 1024, 768}, [](float, float) { return true; }, [&](float px, float py) {
        CRgba colour = face.At(std::min(1023u, uint32_t(px)), std::min(767u, uint32_t(py)));
        const float dx = std::max({box.left + 24 - px, px - (box.right - 24), 0.0f});
        const float dy = std::max({box.top + 24 - py, py - (box.bottom - 24), 0.0f});
        const bool inBox = px >= box.left && px < box.right && py >= box.top && py < box.bottom && dx * dx + dy * dy <= 576;
        colour.a = inBox ? kBox : kVeil;
        return colour;
    });
}

} // namespace

std::vector<CSamplePicture> SamplePictures()
{
    std::vector<CSamplePicture> list = {
        {"blank.png", 16, 16, [](CCanvas& c) { c.Fill(kWhite); }},
        {"screenshot.png", 1024, 1024, [](CCanvas& c) { c.Fill({24, 24, 32, 255}); }},
        {"dlg_background.png", 1024, 768, DialogBackground},
        {"levels/backdrop.png", 1024, 768, NightSky},
        {"loading_centered.png", 256, 256, [](CCanvas& c) { Loading(c, 12); }},
        {"loading_lower_right.png", 128, 128, [](CCanvas& c) { Loading(c, 8); }},
        {"stars.png", 128, 128, Star},
        {"touch.png", 64, 64, [](CCanvas& c) { c.FillRing(32, 32, 20, 30, kWhite); }},
        {"textures.Desktop/toolbar.1024x45.png", 1024, 64, Toolbar},
        {"textures.Desktop/menubar.60x768.png", 64, 1024, Menubar},
        {"textures/buttons.ingame.png", 256, 256, InGameButtons},
        {"textures/timer.png", 512, 512, TimerStages},
        {"textures/hint.png", 256, 256, Glow},
        {"logo_platform.png", 256, 128, [](CCanvas& c) { Logo(c, 0.6f, 4); }},
        {"logo_editor.png", 256, 128, [](CCanvas& c) { Logo(c, 0.1f, 5); }},
        {"logo_graph.png", 256, 128, [](CCanvas& c) { Logo(c, 0.3f, 6); }},
        {"logo_dev.png", 256, 128, [](CCanvas& c) { Logo(c, 0.8f, 3); }},
        {"logos/editor.png", 1024, 768, [](CCanvas& c) { LogoScreen(c, 0.1f, 5); }},
        {"logos/developer.png", 1024, 768, [](CCanvas& c) { LogoScreen(c, 0.8f, 3); }},
        {"more_games.png", 512, 1024, MoreGames},
        {kRoomPicture, 1024, 768, Room},
        {kRoomObjectSheet, 512, 512,
         [](CCanvas& c) {
             const std::vector<CPlacedObject> objects = RoomObjects();
             for (size_t i = 0; i < objects.size(); ++i)
                 DrawObject(c, {objects[i].shape, (i % 4 + 0.5f) * kRoomCellSize, (i / 4 + 0.5f) * kRoomCellSize,
                                kRoomCellSize * 0.45f});
             const float top = (objects.size() / 4) * kRoomCellSize;
             c.FillPolygon(ArrowOutline({8, top + 8, kRoomCellSize - 8, top + kRoomCellSize - 8}), {250, 220, 120, 255});
         }},
        {"levels/jigsaw.png", 512, 512, Landscape},
        {"levels/jigsaw_table.png", 1024, 1024, JigsawTable},
        {"levels/jigsaw_tools.png", 512, 512, JigsawTools},
        {"levels/sliding.png", 1024, 512, SlidingBoard},
        {"levels/shoot.png", 1024, 768, Landscape},
        {"levels/shoot_targets.png", 256, 128, ShootTargets},
    };
    Sheet(list, "buttons.2.png", NavSymbol, kWood);
    Sheet(list, "buttons.slider.png", SliderSymbol, kWood);
    Sheet(list, "buttons.kvo.png", CollectionSymbol, {90, 60, 120, 255});
    Sheet(list, "buttons.profiles.png", ProfileSymbol, kWood);
    Sheet(list, "buttons.modes.png", ModeSymbol, {60, 90, 130, 255});
    Sheet(list, "buttons.langs.png", LanguageSymbol, kWood);
    Sheet(list, "buttons.social.png", SocialSymbol, {50, 80, 160, 255});
    const struct {
        const char* name;
        bool left, top, right, bottom;
    } frame[] = {
        {"dlg_up_left.png", true, true, false, false},     {"dlg_up.png", false, true, false, false},
        {"dlg_up_right.png", false, true, true, false},    {"dlg_left.png", true, false, false, false},
        {"dlg_body.png", false, false, false, false},      {"dlg_right.png", false, false, true, false},
        {"dlg_bottom_left.png", true, false, false, true}, {"dlg_bottom.png", false, false, false, true},
        {"dlg_bottom_right.png", false, false, true, true},
    };
    for (const auto& piece : frame)
        list.push_back({piece.name, 64, 64, [=](CCanvas& c) { FramePiece(c, piece.left, piece.top, piece.right, piece.bottom); }});
    for (int menu = 0; menu < 2; ++menu) {
        for (int layer = 0; layer < 4; ++layer)
            list.push_back({"menus/" + std::string(menu ? "outro" : "intro") + "." + std::to_string(layer) + ".png",
                            1024, 768, [=](CCanvas& c) { MenuLayer(c, layer, menu ? 0.05f : 0.55f); }});
    }
    return list;
}

Result WritePictures(const std::string& folder, std::string* error)
{
    namespace fs = std::filesystem;
    for (const CSamplePicture& picture : SamplePictures()) {
        const fs::path path = fs::path(folder) / picture.path;
        std::error_code failure;
        fs::create_directories(path.parent_path(), failure);
        CCanvas canvas(picture.width, picture.height);
        picture.draw(canvas);
        if (Failed(canvas.SavePng(path.string()))) {
            *error = "cannot write " + path.string();
            return RES_FAIL;
        }
    }
    const fs::path display = fs::path(folder) / kRoomDisplayObject;
    const fs::path collision = fs::path(folder) / kRoomCollisionObject;
    constexpr uint32_t kVersion = 16;
    const uint32_t flags = kWrite3dxPositions | kWrite3dxNormals | kWrite3dxColors | kWrite3dxUVs |
                           kWrite3dxMaterials | kWrite3dxTextureNames | kWrite3dxTextureFlags | kWrite3dxTextureParams;
    if (!Write3dxFile(display.string(), RoomDisplayModel(kRoomPicture, kRoomObjectSheet, 1024, 768, kRoomSheetSize,
                                                         kRoomCellSize), kVersion, flags) ||
        !Write3dxFile(collision.string(), RoomCollisionModel(1024, 768), kVersion, kWrite3dxPositions)) {
        *error = "cannot write " + display.string();
        return RES_FAIL;
    }
    return RES_OK;
}
