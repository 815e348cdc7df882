#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine3d/ObjectFile.h"
#include "engine3d/SceneObject.h"
#include "tests/support/SceneFixture.h"

namespace {

class SceneLocalizeTest : public ::testing::Test {
protected:
    // An object file whose parts carry the given texture names.
    void Name(const std::vector<std::string>& names)
    {
        ASSERT_EQ(file.Init(static_cast<uint32_t>(names.size()), 3, 3), RES_OK);
        for (size_t p = 0; p < names.size(); ++p)
            strcpy(file.GetData()->textureNames[p].text, names[p].c_str());
    }

    std::string NameOf(uint32_t part) const { return file.GetData()->textureNames[part].text; }

    SceneFixture fixture;
    CSceneObject scene{fixture.Data(), 1};
    C3DObjectFile file{fixture.Data()};
};

TEST_F(SceneLocalizeTest, LanguageTexturesReplaceThePlainOnesThatThePakHolds)
{
    fixture.game.m_nLanguage = 1;
    fixture.OpenPak({{"room.fr.png", "x"}, {"room.png", "x"}, {"tex/door.fr.old.png", "x"}, {"wall.png", "x"}});
    Name({"room.png", "room.png", "", "wall.png", "sky", "tex/door.old.png", "room.png"});
    scene.LocalizeTextures(&file);
    EXPECT_EQ(NameOf(0), "room.fr.png");
    EXPECT_EQ(NameOf(1), "room.fr.png");
    EXPECT_EQ(NameOf(2), "");
    EXPECT_EQ(NameOf(3), "wall.png");  // no French texture: the plain one stays
    EXPECT_EQ(NameOf(4), "sky");       // no dot: never localised
    EXPECT_EQ(NameOf(5), "tex/door.fr.old.png");
    EXPECT_EQ(NameOf(6), "room.fr.png");
    // One lookup for the two neighbours with the same name; none for the name without a dot.
    const std::vector<std::u16string> asked = {u"room.fr.png", u"wall.fr.png", u"tex/door.fr.old.png",
                                               u"room.fr.png"};
    EXPECT_EQ(SceneFixture::Lookups(), asked);
}

TEST_F(SceneLocalizeTest, OtherLanguagesUnknownIndicesAndMissingGameDataKeepThePlainNames)
{
    fixture.OpenPak({{"room.fr.png", "x"}, {"room.sv.png", "x"}});
    Name({"room.png"});
    scene.LocalizeTextures(&file);  // English
    EXPECT_EQ(NameOf(0), "room.png");
    EXPECT_EQ(SceneFixture::Lookups(), std::vector<std::u16string>{u"room.en.png"});

    fixture.game.m_nLanguage = 12;
    scene.LocalizeTextures(&file);
    EXPECT_EQ(NameOf(0), "room.png");
    EXPECT_EQ(SceneFixture::Lookups().size(), 1u);

    fixture.Data()->sceneGameData = nullptr;
    scene.LocalizeTextures(&file);
    scene.LocalizeTextures(nullptr);
    EXPECT_EQ(NameOf(0), "room.png");

    fixture.Data()->sceneGameData = &fixture.game;
    fixture.game.m_nLanguage = 11;
    scene.LocalizeTextures(&file);
    EXPECT_EQ(NameOf(0), "room.sv.png");
    EXPECT_EQ(std::u16string(SceneLanguageCode(5)), u"jp");
    EXPECT_EQ(SceneLanguageCode(12), nullptr);
}

TEST_F(SceneLocalizeTest, NamesThatCannotGrowByThreeStayAsTheyAre)
{
    fixture.game.m_nLanguage = 1;
    fixture.OpenPak({{"a.fr.png", "x"}});
    const std::string longest(kObjectNameBytes - 5, 'a');  // with ".png": 259 bytes, the most a slot holds
    Name({longest.substr(0, 252) + ".png", "a.png", "x"});
    std::string fits = NameOf(0);
    // A slot filled to its end without a terminator, in the last part.
    memset(file.GetData()->textureNames[2].text, 'b', kObjectNameBytes);
    file.GetData()->textureNames[2].text[3] = '.';
    scene.LocalizeTextures(&file);
    EXPECT_EQ(NameOf(0), fits);  // 256 + 3 = 259 fits the slot but the pak has no such entry
    EXPECT_EQ(NameOf(1), "a.fr.png");
    EXPECT_EQ(file.GetData()->textureNames[2].text[3], '.');
    EXPECT_EQ(file.GetData()->textureNames[2].text[4], 'b');
    EXPECT_EQ(SceneFixture::Lookups().size(), 2u);

    Name({longest + ".png"});
    scene.LocalizeTextures(&file);
    EXPECT_EQ(NameOf(0), longest + ".png");
    EXPECT_EQ(SceneFixture::Lookups().size(), 2u);
}

} // namespace
