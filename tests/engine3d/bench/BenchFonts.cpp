// Wraps and draws 10,000 characters of text with the fixture font on the memory renderer (a
// DejaVu face when installed), and prints the time of one layout-and-draw pass.
#include "engine3d/Font.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/WideString.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/MemoryRenderer.h"

namespace {

constexpr size_t kCharacters = 10000;
constexpr int kRounds = 50;
constexpr uint16_t kWrapWidth = 900;

std::u16string MakeText()
{
    static const char16_t* const kWords[] = {u"hidden", u"object", u"in", u"the", u"old", u"attic", u"find",
                                             u"a", u"brass", u"key", u"under", u"dusty", u"clock", u"and"};
    std::u16string text;
    for (size_t i = 0; text.size() < kCharacters; ++i) {
        text += kWords[(i * 7) % (sizeof kWords / sizeof kWords[0])];
        text += u' ';
    }
    text.resize(kCharacters);
    return text;
}

double PassMilliseconds(CVarnFont& font, const std::u16string& text, float scale, float line)
{
    std::vector<char16_t> wrapped(text.size() * 2 + 1);
    const auto start = std::chrono::steady_clock::now();
    font.WrapText(scale, scale, text.c_str(), wrapped.data(), static_cast<uint32_t>(wrapped.size()), kWrapWidth, u' ',
                  u"(", u"!?:;,.", 0);
    Vector3 out;
    const Vector3 at{20.0f, 20.0f, 0.0f};
    font.HitTestText(&out, wrapped.data(), &at, kTextShadow, 0xFFFFFFFFu, scale, line, nullptr, nullptr, 0);
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

} // namespace

int main()
{
    MemoryRenderer renderer;
    CVarnFont font(renderer.Data(), renderer.Engine());
    if (Failed(font.Create(kFontScreenText, kFontDefaultBatchSize))) {
        fprintf(stderr, "cannot create the font\n");
        return 1;
    }
    float scale = kFixtureScale;
    const char* face = "fixture font";
    const std::string dejaVu = DejaVuSansPath();
    if (!dejaVu.empty() && Succeeded(font.LoadTrueTypeFromFile(Utf8ToUtf16(dejaVu).c_str(), 30, 3))) {
        scale = 30.0f;
        face = "DejaVu Sans 30";
    } else {
        LoadFixtureGlyphs(&font);
    }
    const std::u16string text = MakeText();
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        times.push_back(PassMilliseconds(font, text, scale, scale));
        renderer.Engine()->ClearDraws();
    }
    std::sort(times.begin(), times.end());
    printf("%zu characters wrapped at %u and drawn (%s, shadow, batches of %u): median %.3f ms, best %.3f ms\n",
           kCharacters, kWrapWidth, face, font.GetBatchSize(), times[times.size() / 2], times.front());
    IgnoreResult(font.Release());
    return 0;
}
