#include <algorithm>
#include <vector>

#include "base/WideFormat.h"
#include "engine3d/Container.h"
#include "engine3d/Font.h"
#include "game/menus/MenuDialog.h"
#include "game/SizeFromName.h"
#include "game/menus/MenuWebClient.h"
#include "game/menus/MenuWorld.h"
#include "tests/game/StringsFixture.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PrimitiveProbe.h"

namespace {

// The world's side, each call noted.
class CTestMenuWorld : public CMenuWorld {
public:
    void Quit() override { calls += "quit "; }
    void ChangeLanguage(uint32_t language) override { calls += "language" + std::to_string(language) + " "; }
    void ApplyMusicVolume() override { calls += "music "; }
    void ApplySoundVolume() override { calls += "sound "; }
    void AddAudio(uint16_t sound, uint8_t) override { calls += "audio" + std::to_string(sound) + " "; }
    void OpenWebLink(const char16_t*) override { calls += "link "; }
    Result ToggleFullscreen(uint8_t) override { return RES_OK; }
    bool IsFadeOver() const override { return true; }
    Result SaveOptions() override
    {
        calls += "options ";
        return RES_OK;
    }
    Result ResetProfileSlot(uint32_t mode, uint32_t slot, bool clearName) override
    {
        resets += std::to_string(mode) + std::to_string(slot) + (clearName ? "n " : " ");
        return RES_OK;
    }

    std::string calls;
    std::string resets;  // mode, slot and "n" for a cleared name, each
};

// A score server answering inside the send as the real client does: the account is taken, each
// score is accepted, and the next one is sent through the dialog until none is left.
class CTestWebClient : public CMenuWebClient {
public:
    bool IsIdle() const override { return state == 0; }
    void Reset() override { state = 0; }
    Result SendSetUser() override
    {
        state = 1;
        pages->SetWebSubState(kWebIdle);
        pages->SetPage(kPageAccountCreated);
        return RES_OK;
    }
    bool HasUnsentScores() const override
    {
        return std::any_of(std::begin(game->m_Progress), std::end(game->m_Progress),
                           [](const CProfileProgress& r) { return r.m_bFinished && !r.m_bSent; });
    }
    Result QueueScores(uint8_t, uint8_t) override { return RES_OK; }
    Result SendNext() override
    {
        state = 2;
        ++sent;
        for (CProfileProgress& record : game->m_Progress) {
            if (record.m_bFinished && !record.m_bSent) {
                record.m_bSent = 1;
                break;
            }
        }
        if (HasUnsentScores())
            return pages->StartSendScores(), RES_OK;
        pages->SetWebSubState(kWebIdle);
        pages->SetPage(kPageScoresSent);
        return RES_OK;
    }

    uint32_t state = 0;
    uint32_t sent = 0;
    CWebScorePages* pages = nullptr;
    CGameData* game = nullptr;
};

class MenuDialogTest : public StringsTest {
protected:
    void SetUp() override
    {
        StringsTest::SetUp();
        if (IsSkipped())
            return;
        std::vector<std::u16string> commons;
        for (uint32_t i = 0; i < kMenuLineCount; ++i)
            commons.push_back(u"L" + Utf8ToUtf16(std::to_string(i)));
        commons[kLineEntryField] = u"_";
        commons[kLineProfile1] = u"Anna";
        Table("en", "", {u"Title"});
        Table("en", ".commons", commons);
        const std::string png = EncodePng({8, 4, 2, 8, false, std::vector<uint8_t>(8 * 4 * 3, 200), {}, {}, {}});
        for (const char* name : {"dlg_up_left", "dlg_up", "dlg_up_right", "dlg_left", "dlg_body", "dlg_right",
                                 "dlg_bottom_left", "dlg_bottom", "dlg_bottom_right", "logo_platform", "buttons.2",
                                 "buttons.slider", "buttons.kvo", "buttons.profiles", "buttons.modes",
                                 "buttons.langs", "buttons.social", "logo_editor", "logo_graph", "logo_dev"})
            m_files[std::string(name) + ".png"] = png;
        Open();
        ASSERT_EQ(m_world.LoadLanguage(0), RES_OK);
        Data().m_TextStyles.m_MenuSize[0] = Data().m_TextStyles.m_MenuSize[1] = kFixtureScale;
        Data().m_bLanguageAvailable[0] = Data().m_bLanguageAvailable[3] = Data().m_bLanguageAvailable[5] = 1;
        m_web.pages = &m_dialog;
        m_web.game = &Data();
        m_textures = m_engine->GetTextureCount();
        ASSERT_EQ(m_dialog.Load(), RES_OK);
        ASSERT_EQ(ReadConstruction(kMenuLineCount), RES_OK);
    }
    void TearDown() override
    {
        if (!IsSkipped()) {
            EXPECT_EQ(m_dialog.Release(), RES_OK);
            EXPECT_EQ(m_engine->GetTextureCount(), m_textures) << "every picture released once";
        }
        StringsTest::TearDown();
    }
    Result ReadConstruction(uint32_t count)
    {
        CMenuDialogModel model;
        for (uint32_t i = 0; i < kMenuLineCount; ++i)
            model.stringMap[i] = i;
        model.dialogBorder = model.buttonBorder = 4.0f;
        model.clickSound = 0;
        std::string body = MenuDialogBody(model);
        body.replace(0, 4, std::string(reinterpret_cast<const char*>(&count), 4));
        CStreamMemory stream(kStreamRead, body.data(), static_cast<uint32_t>(body.size()));
        return m_dialog.ReadConstruction(stream);
    }
    // Node ids of the page's lines (text nodes) or of all its nodes, in order.
    std::vector<uint32_t> NodeIds(bool linesOnly = true)
    {
        std::vector<uint32_t> ids;
        for (CLinkedList::Node* n = m_dialog.GetPageContainer()->GetChildren().Head(); n; n = n->next) {
            auto* node = ListObject<C3DContainer>(n->value);
            if (!linesOnly || node->GetKindBits() == kContainerKindText)
                ids.push_back(node->GetId());
        }
        return ids;
    }
    std::vector<uint32_t> Page(uint32_t page)
    {
        m_dialog.SetPage(page);
        return NodeIds();
    }
    Vector2 Centre(uint32_t id)
    {
        Vector3 position{};
        C3DContainer* node = m_dialog.GetPageContainer()->FindById(id);
        EXPECT_NE(node, nullptr) << id;
        if (node)
            node->GetPosition(&position);
        return {position.x, position.y};
    }
    // A press on one node and a release on another (the same by default), then the frame.
    void Click(uint32_t id, uint32_t releaseId = 0)
    {
        const Vector2 press = Centre(id), release = Centre(releaseId ? releaseId : id);
        CWorldData* data = m_world.GetData();
        data->pressX = press.x;
        data->pressY = press.y;
        data->pointerX = release.x;
        data->pointerY = release.y;
        data->mouseReleased[0] = 1;
        m_dialog.OnUpdate();
        data->mouseReleased[0] = 0;
    }
    void Type(const std::u16string& text)
    {
        for (char16_t unit : text) {
            m_world.GetData()->lastChar = unit;
            m_dialog.OnUpdate();
        }
        m_world.GetData()->lastChar = 0;
    }
    std::u16string Entry() { return m_dialog.GetEntryText(); }

    CTestMenuWorld m_menuWorld;
    CTestWebClient m_web;
    CMenuDialog m_dialog{m_world.GetData(), &m_menuWorld, &m_web};
    uint32_t m_textures = 0;
};

using Ids = std::vector<uint32_t>;

TEST_P(MenuDialogTest, PagesHoldTheLinesOfTheirState)
{
    CGameData& game = Data();
    EXPECT_EQ(Page(kPageMain), (Ids{kLinePlay, kLineProfiles, kLineOptions, kLineQuit}));
    game.m_bWebScoringEnabled = game.m_bEnableMoreGames = 1;
    game.m_nPlatform = 4;
    EXPECT_EQ(Page(kPageMain), (Ids{kLinePlay, kLineWebScores, kLineProfiles, kLineOptions, kLineMoreGames}));
    game.m_bEnableTimeAttack = 1;
    EXPECT_EQ(Page(kPagePlay), (Ids{kLineProfiles, kLineNewStory, kLineNewTimed, kLineEndOfStory}))
        << "records unused; the profile opens the profiles page";
    CProfileProgress& story = game.Progress(0, 0);
    story.m_bInUse = 1;
    game.Progress(1, 0).m_bInUse = game.Progress(1, 0).m_bFinished = game.Progress(1, 0).m_bDateSet = 1;
    EXPECT_EQ(Page(kPagePlay), (Ids{kLineProfiles, kLineContinueStory, kLineRestartTimed, kLineEndOfStory}))
        << "a finished game asks first";
    EXPECT_NE(m_dialog.GetPageContainer()->FindById(SideButtonId(kSideForgetMode, 1)), nullptr);
    EXPECT_NE(m_dialog.GetPageContainer()->FindById(SideButtonId(kSideForgetMode, 2)), nullptr);
    m_world.GetData()->fullscreen = game.m_bEnableLegals = 0;
    EXPECT_EQ(Page(kPageOptions),
              (Ids{kLineMusicSlider, kLineSoundSlider, kLineFullScreen, kLineLanguages, kLineShowCredits}));
    for (uint32_t tick = 1; tick <= 10; ++tick)
        EXPECT_NE(m_dialog.GetPageContainer()->FindById(SliderTickId(kLineMusicSlider, tick)), nullptr) << tick;
    m_world.GetData()->fullscreen = game.m_bLanguageForced = game.m_bEnableLegals = 1;
    EXPECT_EQ(Page(kPageOptions),
              (Ids{kLineMusicSlider, kLineSoundSlider, kLineWindowed, kLineShowCredits, kLineShowLegals}));
    game.m_nSlot = 2;
    EXPECT_EQ(Page(kPageProfiles), (Ids{ProfileLine(0), ProfileLine(1), ProfileLine(2), kLineRenameProfile, kLinePlay}))
        << "the slots, their renaming, play";
    EXPECT_NE(m_dialog.GetPageContainer()->FindById(SideButtonId(kSideEraseProfile, 0)), nullptr);
    EXPECT_EQ(m_dialog.GetPageContainer()->FindById(SideButtonId(kSideEraseProfile, 1)), nullptr)
        << "nothing to erase";
    game.m_bWebLinks = game.m_bAccount = 1;
    EXPECT_EQ(Page(kPageWebMenu), (Ids{kLineAccount, kLineMainWebSite, kLineSendScores}));
    EXPECT_NE(m_dialog.GetPageContainer()->FindById(SideButtonId(kSideForgetAccount, 0)), nullptr);
    EXPECT_EQ(Page(kPageLanguages), (Ids{LanguageLine(0), LanguageLine(3), LanguageLine(5)}));
    EXPECT_TRUE(Page(kMenuPageCount).empty() && Page(kPageBlank).empty());
    // Every confirmation asks its own question above its answers.
    for (auto [page, question] : std::vector<std::pair<uint32_t, uint32_t>>{
             {kPageQuit, kLineQuitQuestion},
             {kPageEraseProfile, kLineEraseProfileQuestion},
             {kPageForgetStory, kLineForgetStory},
             {kPageForgetTimed, kLineForgetTimed},
             {kPageRestartStory, kLineRestartStory},
             {kPageRestartTimed, kLineRestartTimed},
             {kPageForgetAccount, kLineForgetAccountQuestion}})
        EXPECT_EQ(Page(page), (Ids{question, kLineYes, kLineNo})) << page;
    EXPECT_EQ(Page(kPageCreateAccount), (Ids{kLineCreateAccountQuestion, kLineWebYes, kLineBack}));
    EXPECT_EQ(Page(kPageSendScores), (Ids{kLineSendScoresQuestion, kLineWebYes, kLineBack}));
    game.m_szPendingUrl[0] = u'h';
    EXPECT_EQ(Page(kPageQuit), (Ids{kLineQuitForLinkQuestion, kLineYes, kLineNo})) << "quit for a web link";
}

TEST_P(MenuDialogTest, ClicksFollowTheTableAndBackReturnsToTheParent)
{
    m_dialog.SetPage(kPageMain);
    Click(kLineOptions, kLineProfiles);
    EXPECT_EQ(m_dialog.GetPage(), uint32_t{kPageMain}) << "pressed on one line, released on another";
    for (auto [page, id, next] : std::vector<std::tuple<uint32_t, uint32_t, uint32_t>>{
             {kPageMain, kLinePlay, kPagePlay},
             {kPageMain, kLineProfiles, kPageProfiles},
             {kPageMain, kLineOptions, kPageOptions},
             {kPageMain, kLineQuit, kPageQuit},
             {kPageOptions, kLineLanguages, kPageLanguages},
             {kPageProfiles, kLinePlay, kPagePlay},
             {kPageProfiles, kLineRenameProfile, kPageProfileName},
             {kPageQuit, kLineNo, kPageMain},
             {kPageEraseProfile, kLineNo, kPageProfiles},
             {kPageForgetStory, kLineNo, kPagePlay},
             {kPageRestartTimed, kLineNo, kPagePlay},
             {kPageCreateAccount, kLineBack, kPageMain},
             {kPageEmail, PreviousFieldId(kPageEmail), kPagePassword},
             {kPagePassword, PreviousFieldId(kPagePassword), kPageLogin},
             {kPageScoresSent, kLineScoresSent, kPageScoresSent}}) {
        m_dialog.SetPage(page);
        Click(id);
        EXPECT_EQ(m_dialog.GetPage(), next) << page << " " << id;
    }
    m_dialog.SetPage(kPageMain);
    Click(kLineQuit);
    Click(kLineYes);
    m_dialog.SetPage(kPageLanguages);
    Click(LanguageLine(5));
    EXPECT_EQ(m_dialog.GetPage(), uint32_t{kPageOptions});
    Click(kLineLanguages);
    Click(LanguageLine(0));
    EXPECT_EQ(m_menuWorld.calls, "quit language5 ") << "the current language changes nothing";
    for (auto [page, back] : std::vector<std::pair<uint32_t, uint32_t>>{{kPageOptions, kPageMain},
                                                                        {kPageEraseProfile, kPageProfiles},
                                                                        {kPageProfileName, kPageProfiles},
                                                                        {kPageRestartStory, kPagePlay},
                                                                        {kPageSendingScores, kPageWebMenu},
                                                                        {kPageSendingAccount, kPageMain},
                                                                        {kPageScoreRefused, kPageMain},
                                                                        {kPageLoginTaken, kPageLogin},
                                                                        {kPageBadEmail, kPageEmail},
                                                                        {kPageLanguages, kPageOptions},
                                                                        {kPageWebMenu, kPageMain}}) {
        m_dialog.SetPage(page);
        m_dialog.Back(true);
        EXPECT_EQ(m_dialog.GetPage(), back) << page;
    }
    CProfileProgress& record = Data().Progress(1, 2);
    record.m_bFinished = 1;
    for (uint8_t sent : {0, 1}) {
        record.m_bSent = sent;
        m_dialog.SetPage(sent ? kPageAccountKnown : kPageAccountCreated);
        m_dialog.Back(false);
        EXPECT_EQ(m_dialog.GetPage(), uint32_t{sent ? kPageMain : kPageSendScores});
    }
    // The yes of every confirmation.
    Data().m_bAccount = 1;
    Data().m_szLogin[0] = u'x';
    for (auto [page, next, action] : std::vector<std::tuple<uint32_t, uint32_t, uint32_t>>{
             {kPageEraseProfile, kPageProfiles, kActionNone},
             {kPageForgetStory, kPagePlay, kActionNone},
             {kPageForgetTimed, kPagePlay, kActionNone},
             {kPageRestartStory, kPageRestartStory, kActionNewStory},
             {kPageRestartTimed, kPageRestartTimed, kActionNewTimed},
             {kPageForgetAccount, kPageMain, kActionNone}}) {
        m_dialog.SetPage(page);
        Click(kLineYes);
        EXPECT_EQ(m_dialog.GetPage() * 1000 + m_dialog.GetAction(), next * 1000 + action) << page;
    }
    EXPECT_EQ(m_menuWorld.resets, "00n 10n 00 10 ") << "both modes of the slot with its name, then one mode each";
    EXPECT_TRUE(Data().Progress(1, 0).m_bInUse) << "restarted";
    EXPECT_EQ(Data().m_bAccount + Data().m_szLogin[0], 0) << "account forgotten";
    m_dialog.SetPage(kPagePlay);
    Click(kLineContinueStory);
    EXPECT_EQ(m_dialog.GetAction(), uint32_t{kActionContinueStory});
    m_dialog.OnUpdate();
    EXPECT_EQ(m_dialog.GetAction(), uint32_t{kActionNone}) << "one frame only";
}

// The options file is written as each choice is made, not only at quit: a profile's name and
// slot, the options page left, a profile erased, the account forgotten.
TEST_P(MenuDialogTest, EachChoiceIsSavedWhenItIsMade)
{
    auto saves = [this] {
        const std::string& calls = m_menuWorld.calls;
        size_t count = 0;
        for (size_t at = calls.find("options "); at != std::string::npos; at = calls.find("options ", at + 1))
            ++count;
        return count;
    };
    m_dialog.SetPage(kPageProfiles);
    Click(ProfileLine(1));
    EXPECT_EQ(saves(), 1u) << "another slot";
    Click(ProfileLine(1));
    EXPECT_EQ(saves(), 1u) << "the same slot again";
    m_dialog.SetPage(kPageProfileName);
    Type(u"Ada\r");
    EXPECT_EQ(std::u16string(Data().m_szProfileNames[1]), u"Ada");
    EXPECT_EQ(saves(), 2u) << "a name";
    m_dialog.SetPage(kPageOptions);
    m_dialog.Back(false);
    EXPECT_EQ(saves(), 3u) << "the volumes";
    m_dialog.SetPage(kPageEraseProfile);
    Click(kLineYes);
    EXPECT_EQ(saves(), 4u) << "a profile erased";
    m_dialog.SetPage(kPageForgetAccount);
    Click(kLineYes);
    EXPECT_EQ(saves(), 5u) << "the account forgotten";
}

TEST_P(MenuDialogTest, WebExchangesStepThroughTheClientAndStopWithoutOne)
{
    Data().m_bWebLinks = 1;
    m_dialog.SetPage(kPageWebMenu);
    Click(kLineSendScores);
    EXPECT_EQ(m_dialog.GetPage(), uint32_t{kPageWebMenu}) << "the send line is disabled while nothing waits";
    CMenuDialog offline(m_world.GetData(), &m_menuWorld, nullptr);
    offline.SetPage(kPageMain);
    offline.StartSendScores();
    offline.OnUpdate();
    EXPECT_EQ(offline.GetPage() * 10 + offline.GetWebSubState(), kPageNoAnswer * 10u);
    EXPECT_EQ(offline.Release(), RES_OK);
    // Two finished games are sent one after the other.
    Data().Progress(0, 0).m_bFinished = Data().Progress(1, 2).m_bFinished = 1;
    m_dialog.SetPage(kPageWebMenu);
    Click(kLineSendScores);
    Click(kLineWebYes);
    EXPECT_EQ(m_dialog.GetPage() * 10 + m_dialog.GetWebSubState(), kPageSendingScores * 10u + kWebScoresSend);
    for (int frame = 0; frame < 8; ++frame)
        m_dialog.OnUpdate();
    EXPECT_EQ(m_dialog.GetPage() * 10 + m_dialog.GetWebSubState(), kPageSendingScores * 10u + kWebScoresSend)
        << "the sending page never shown yet";
    EXPECT_EQ(m_web.sent, 0u);
    for (int frame = 0; frame < 8; ++frame) {
        EXPECT_EQ(m_dialog.Render(), RES_OK);
        m_dialog.OnUpdate();
    }
    EXPECT_EQ(m_dialog.GetPage() * 10 + m_dialog.GetWebSubState(), kPageScoresSent * 10u);
    EXPECT_EQ(m_web.sent, 2u);
    // The account: login, password, e-mail, then the server's answer.
    m_dialog.Back(false);
    m_dialog.SetPage(kPageCreateAccount);
    Data().m_szLogin[0] = 0;
    Click(kLineWebYes);
    Type(u"ab\r");
    Type(u"p w\r");
    EXPECT_EQ(m_dialog.GetPage(), uint32_t{kPageEmail});
    Type(u"a@b.c\r");
    EXPECT_EQ(m_dialog.GetPage() * 10 + m_dialog.GetWebSubState(), kPageSendingAccount * 10u + kWebAccountSend)
        << "one step in the same frame";
    // The send waits for a frame that drew the sending page to be presented: the second draw.
    EXPECT_EQ(m_dialog.Render(), RES_OK);
    m_dialog.OnUpdate();
    EXPECT_EQ(m_dialog.GetPage() * 10 + m_dialog.GetWebSubState(), kPageSendingAccount * 10u + kWebAccountSend);
    EXPECT_EQ(m_dialog.Render(), RES_OK);
    m_dialog.OnUpdate();
    EXPECT_EQ(m_dialog.GetPage() * 10 + m_dialog.GetWebSubState(), kPageAccountCreated * 10u) << "the answer's page";
    EXPECT_EQ(std::u16string(Data().m_szPassword) + Data().m_szLogin + Data().m_szEmail, u"p wab" u"a@b.c");
}

TEST_P(MenuDialogTest, EntryFieldsTakeTheirCharactersUpToTheirLength)
{
    m_dialog.SetPage(kPageProfileName);
    Type(u"9Z\u00F7Ab");
    EXPECT_EQ(Entry(), Code(u"Ab")) << "no 9, Z or division sign";
    Type(u"\b\b");
    Type(u"Anna\r");
    EXPECT_EQ(m_dialog.GetPage(), uint32_t{kPageProfiles});
    EXPECT_EQ(Data().m_szProfileNames[0][0], 0) << "the default name is not stored";
    m_dialog.SetPage(kPageProfileName);
    Type(u"Bob\r");
    EXPECT_EQ(std::u16string(Data().m_szProfileNames[0]), u"Bob");
    m_dialog.SetPage(kPageLogin);
    Type(u"a b");
    EXPECT_EQ(Entry(), Code(u"ab")) << "no blank in a login";
    Type(u"cdefghijklmn");
    EXPECT_EQ(Entry().size(), 12u) << "the 13th is refused";
    m_dialog.SetPage(kPageEmail);
    Type(std::u16string(31, u'x'));
    EXPECT_EQ(Entry().size(), 30u);
    for (auto [mail, taken] : std::vector<std::pair<std::u16string, bool>>{
             {u"a@b.", false}, {u"a@@b.c", false}, {u"ab@c.d@e", false}, {u"a@b.c", true}}) {
        m_dialog.SetPage(kPageEmail);
        Type(mail + u"\r");
        EXPECT_EQ(m_dialog.GetPage(), uint32_t{taken ? kPageSendingAccount : kPageEmail}) << Utf16ToUtf8(mail);
        EXPECT_EQ(Entry(), taken ? u"" : Code(mail)) << "a refused address stays in the field";
        m_dialog.SetWebSubState(kWebIdle);
    }
}

TEST_P(MenuDialogTest, SlidersAndTimeTexts)
{
    m_dialog.SetPage(kPageOptions);
    C3DContainer* slider = m_dialog.GetPageContainer()->FindById(kLineSoundSlider);
    Vector3 position{};
    ContainerRect rect{};
    slider->GetPosition(&position);
    slider->GetHitRect(&rect);
    m_world.GetData()->pointerX = position.x - rect.left - 16.0f;  // the widening of BUTTONS_SLIDER_WIDTH
    EXPECT_EQ(m_dialog.SliderValue(kLineSoundSlider), 0.0f);
    for (uint32_t tick = 1; tick <= 10; ++tick)
        EXPECT_EQ(m_dialog.GetPageContainer()->FindById(SliderTickId(kLineSoundSlider, tick))->GetColor(), 0xFF7F7F7Fu);
    m_world.GetData()->pointerX = position.x + rect.right + 16.0f;
    EXPECT_EQ(m_dialog.SliderValue(kLineSoundSlider), 1.0f);
    EXPECT_EQ(m_dialog.GetPageContainer()->FindById(SliderTickId(kLineSoundSlider, 10))->GetColor(), 0xFFFFFFFFu);

    // Held from the line, the slider reaches both ends of its scale beside it, and no farther.
    CWorldData* data = m_world.GetData();
    data->pressX = position.x;
    data->pressY = data->pointerY = position.y;
    data->mouseDown[0] = 1;
    for (auto [x, volume] : {std::pair{position.x - rect.left - 15.0f, 0.0f}, {position.x + rect.right + 15.0f, 1.0f},
                             {position.x - rect.left - 40.0f, 1.0f}}) {
        data->pointerX = x;
        m_dialog.OnUpdate();
        EXPECT_EQ(Data().m_fSoundVolume, volume) << x - position.x;
    }
    data->mouseDown[0] = 0;
    CProgressFields record{};
    record.m_bInUse = 1;
    char16_t text[kMenuTimeTextUnits];
    m_dialog.FormatProgressTime(record, text);
    EXPECT_EQ(text, Code(u"(00:00:01)"));
    record.m_fPlayUnits = 1770.0f;
    record.m_nPlayMinutes = 59;
    m_dialog.FormatProgressTime(record, text);
    EXPECT_EQ(text, Code(u"(01:00:00)")) << "seconds and minutes carry at 60";
    record = {};
    record.m_nBestHours = kNoTimeCount;
    m_dialog.FormatProgressTime(record, text);
    EXPECT_EQ(text, Code(u"(00:00:00)"));
}

TEST_P(MenuDialogTest, ConstructionCountsAndPictureNames)
{
    for (uint32_t count : {106u, 108u}) {
        m_world.GetData()->errorDetail[0] = 0;
        EXPECT_EQ(ReadConstruction(count), RES_FAIL);
        EXPECT_EQ(std::u16string(m_world.GetData()->errorDetail),
                  u"The commons line count changed,\na new construction must be made");
    }
    std::string shortFile = MenuDialogBody({});
    CStreamMemory stream(kStreamRead, shortFile.data(), static_cast<uint32_t>(shortFile.size() - 1));
    EXPECT_EQ(m_dialog.ReadConstruction(stream), RES_FAIL);
    int32_t width = 0, height = 0;
    ParseSizeFromName(u"logo.256x128.png", &width, &height);
    EXPECT_EQ(width * 1000 + height, 256128);
    ParseSizeFromName(u"logo_platform.png", &width, &height);
    EXPECT_EQ(width + height, -2);
}

TEST_P(MenuDialogTest, EveryLineFrameHoldsItsTextAndMargins)
{
    Data().m_bEnableTimeAttack = 1;
    for (uint32_t page : {kPageMain, kPagePlay, kPageOptions, kPageProfiles, kPageEmail, kPageWebMenu, kPageLanguages}) {
        m_dialog.SetPage(page);
        for (CLinkedList::Node* n = m_dialog.GetPageContainer()->GetChildren().Head(); n; n = n->next) {
            auto* node = ListObject<C3DContainer>(n->value);
            if (node->GetKindBits() != kContainerKindText)
                continue;
            auto* line = static_cast<C3DContainerText*>(node);
            Vector3 size{};
            m_font->MeasureText(&size, line->GetText(), kFixtureScale, kFixtureScale);
            ContainerRect rect{};
            line->GetHitRect(&rect);
            EXPECT_GE(rect.left + rect.right, size.x + kFixtureScale * 3.0f - 0.01f) << page << " " << line->GetId();
            EXPECT_GE(rect.top + rect.bottom, size.y + kFixtureScale * 1.35f * 0.5f - 0.01f);
        }
        m_engine->ClearDraws();
        EXPECT_EQ(m_dialog.Render(), RES_OK) << page;
        EXPECT_FALSE(m_engine->DrawsOf(m_font->GetTextObject()).empty()) << page;
    }
}

TEST_P(MenuDialogTest, NavigationButtonsAndCreditsAnswerByKeyAndClick)
{
    CWorldData* data = m_world.GetData();
    C3DContainer* layer = m_dialog.GetNavLayer();
    auto clickAt = [&](C3DContainer* container, uint32_t id) {
        Vector3 position{};
        container->FindById(id)->GetPosition(&position);
        data->pressX = data->pointerX = position.x;
        data->pressY = data->pointerY = position.y;
        data->mouseReleased[0] = 1;
    };
    m_dialog.HideNavButtons();
    m_dialog.ShowNavButtons(true, true, true);
    EXPECT_EQ(layer->FindById(25)->IsVisible() * 10 + layer->FindById(55)->IsVisible(), 1) << "next beside close";
    clickAt(layer, 24);
    EXPECT_EQ(m_dialog.GetClickedButton(0), 24u);
    clickAt(layer, 28);
    EXPECT_EQ(m_dialog.GetClickedButton(0), 0u) << "hidden";
    data->keyPressed[26] = 1;
    EXPECT_EQ(m_dialog.GetClickedButton(0), 25u);
    data->keyPressed[27] = 1;
    EXPECT_EQ(m_dialog.GetClickedButton(0), 26u);
    data->keyPressed[26] = data->keyPressed[27] = data->mouseReleased[0] = 0;
    m_dialog.SetPage(kPagePassword);
    m_dialog.ShowCollectionButton(false);
    EXPECT_FALSE(layer->FindById(2)->IsVisible()) << "not beside a previous-field button";
    m_dialog.ShowCollectionButton(true);
    EXPECT_TRUE(layer->FindById(1002)->IsVisible());
    ASSERT_EQ(m_dialog.BuildCredits(), RES_OK);
    clickAt(m_dialog.GetCreditsContainer(), 7);
    EXPECT_EQ(m_dialog.UpdateCredits(), 7u);
    data->mouseReleased[0] = 0;
    EXPECT_EQ(m_dialog.UpdateCredits(), 107u);
    // The logos and the version line stand left of the column where the credits text scrolls.
    const float column = 0.15f * data->workingWidth;
    for (uint32_t id : {6u, 7u, 8u, 0u}) {
        C3DContainer* node = m_dialog.GetCreditsContainer()->FindById(id);
        Vector3 at{}, size{};
        ContainerRect hit{};
        node->GetPosition(&at);
        node->GetHitRect(&hit);
        if (id == 0)
            m_font->MeasureText(&size, static_cast<C3DContainerText*>(node)->GetText(), kFixtureScale * 0.5f,
                                kFixtureScale * 0.5f);
        EXPECT_LT(at.x + hit.right + size.x, column) << id;
    }
    // The click sound of the construction file is entry 0; a bank without it has no sound.
    m_dialog.PlaySound();
    Data().m_nSoundCount = 1;
    m_dialog.PlaySound();
    EXPECT_EQ(m_menuWorld.calls, "audio0 ");
}

// The corners of the sheet a node's part shows, as fractions of the sheet.
struct CellBox {
    float left, top, right, bottom;
};

CellBox DrawnCell(C3DContainer* found)
{
    auto* node = static_cast<C3DContainerObject*>(found);
    const ObjectSnapshot snapshot = TakeSnapshot(node->GetObject());
    CellBox box{1.0f, 1.0f, 0.0f, 0.0f};
    for (const Triangle& triangle : DrawnTriangles(snapshot, snapshot.records.at(node->GetPart()))) {
        for (uint32_t vertex : triangle) {
            const Vector2& uv = snapshot.vertices.at(vertex).uv;
            box = {std::min(box.left, uv.x), std::min(box.top, uv.y), std::max(box.right, uv.x),
                   std::max(box.bottom, uv.y)};
        }
    }
    return box;
}

TEST_P(MenuDialogTest, EveryButtonShowsItsOwnCellOfItsSheet)
{
    C3DContainer* layer = m_dialog.GetNavLayer();
    for (auto [id, cell] : std::vector<std::pair<uint32_t, uint32_t>>{{24, 24}, {25, 25}, {55, 25}, {26, 26},
                                                                      {28, 28}, {1002, 1}, {31, 0}, {32, 1}}) {
        const CellBox box = DrawnCell(layer->FindById(id));
        EXPECT_FLOAT_EQ(box.left, (cell % 8) / 8.0f) << id;
        EXPECT_FLOAT_EQ(box.top, (cell / 8) / 8.0f) << id;
        EXPECT_FLOAT_EQ(box.right - box.left, 0.125f) << id;
        EXPECT_FLOAT_EQ(box.bottom - box.top, 0.125f) << id;
    }
    const CellBox logo = DrawnCell(layer->FindById(29));
    EXPECT_EQ(logo.left + logo.top, 0.0f);
    EXPECT_EQ(logo.right * logo.bottom, 1.0f) << "the platform logo whole";
}

INSTANTIATE_TEST_SUITE_P(FontTypes, MenuDialogTest, ::testing::Values(0u, 2u));

} // namespace
