#include "engine3d/Container.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine3d/Object.h"
#include "tests/support/MemoryRenderer.h"

namespace {

struct TextCall {
    Vector3 position;
    uint32_t colour;
    Vector2 size;
    uint16_t align;
    std::u16string text;
    uintptr_t context;
};

std::vector<TextCall> g_textCalls;

void RecordText(const Vector3* position, uint32_t colour, const Vector2* size, uint16_t align, const char16_t* text,
                uintptr_t context)
{
    g_textCalls.push_back(TextCall{*position, colour, *size, align, text ? text : u"(null)", context});
}

class ContainerTest : public ::testing::Test {
protected:
    // A listed plain node; head: it heads a group.
    C3DContainer* Plain(uint32_t id, uint32_t head = 0) { return engine->CreateContainer(id, head); }

    C3DContainerObject* ObjectNode(uint32_t id, uint32_t part)
    {
        auto* node = static_cast<C3DContainerObject*>(engine->CreateContainerObject(id, 0));
        node->SetObject(object);
        node->SetPart(part);
        return node;
    }

    // Moves a node's own matrix to (x, y).
    static void Place(C3DContainer* node, float x, float y)
    {
        const Vector3 at{x, y, 0.0f};
        ASSERT_EQ(node->SetTranslation(&at), RES_OK);
    }

    static Vector2* At(Vector2* p, float x, float y)
    {
        *p = Vector2{x, y};
        return p;
    }

    // Two parts of one triangle each.
    C3DObject* MakeObject()
    {
        C3DObject* o = engine->CreateObject(0x28010, 0x20C29);
        EXPECT_EQ(o->Create(2, 6, 6), RES_OK);
        EXPECT_EQ(o->Lock(), RES_OK);
        for (uint32_t v = 0; v < 6; ++v) {
            o->SetVertex(v, static_cast<float>(v % 3), static_cast<float>(v / 3), 0, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
            o->SetIndex(v, v % 3);
        }
        EXPECT_EQ(o->SetPrimitiveGroup(0, 0, 3, 0, 3, 1, kPrimitiveTriangleList, kCullNone, kPartNumberId), RES_OK);
        EXPECT_EQ(o->SetPrimitiveGroup(1, 3, 3, 3, 3, 1, kPrimitiveTriangleList, kCullNone, kPartNumberId), RES_OK);
        EXPECT_EQ(o->Unlock(1), RES_OK);
        return o;
    }

    void TearDown() override
    {
        for (C3DContainer* root : roots)
            EXPECT_EQ(engine->DestroyContainer(root), RES_OK);
        EXPECT_EQ(engine->DestroyObject(object), RES_OK);
        EXPECT_EQ(engine->GetContainerCount(), 0u);
        EXPECT_TRUE(engine->Misuses().empty());
        EXPECT_EQ(renderer.Unload(), 0u);
    }

    // A new tree root, destroyed with its subtree at the end of the test.
    C3DContainer* Root(uint32_t id = 1, uint32_t head = 0)
    {
        roots.push_back(Plain(id, head));
        return roots.back();
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    C3DObject* object = MakeObject();
    std::vector<C3DContainer*> roots;
};

TEST_F(ContainerTest, VisibleChildrenDrawInInsertionOrderEachBeforeItsSubtree)
{
    C3DContainer* root = Root();
    C3DContainerObject* whole = ObjectNode(2, kAllParts);
    C3DContainerObject* second = ObjectNode(3, 1);
    C3DContainerObject* grandchild = ObjectNode(4, 0);
    C3DContainerObject* hidden = ObjectNode(5, 0);
    ASSERT_EQ(root->AddChild(whole, 1), RES_OK);
    ASSERT_EQ(root->AddChild(second, 1), RES_OK);
    ASSERT_EQ(second->AddChild(grandchild, 1), RES_OK);
    ASSERT_EQ(root->AddChild(hidden, 0), RES_OK);
    C3DTexture* texture = engine->CreateTexture(1, 0x52);
    whole->SetTexture(texture);
    Place(root, 100, 50);
    Place(second, 10, 0);
    Place(grandchild, 0, 7);
    second->SetColor(0x80112233u, 0, 0);
    grandchild->SetColor(0xFF445566u, 0, 0);
    hidden->SetColor(0xFF000001u, 0, 0);
    root->UpdateWorldMatrix();

    engine->ClearDraws();
    root->Render(0);
    using Draw = std::tuple<MemoryDrawKind, uint32_t, uint32_t, float, float>;
    std::vector<Draw> seen;
    for (const MemoryDraw& d : engine->Draws())
        seen.emplace_back(d.kind, d.part, d.colour, d.matrix.m[12], d.matrix.m[13]);
    const std::vector<Draw> expected = {
        {MemoryDrawKind::Render, 0, 0xFFFFFFFFu, 100.0f, 50.0f},
        {MemoryDrawKind::Render, 1, 0xFFFFFFFFu, 100.0f, 50.0f},
        {MemoryDrawKind::RenderPart, 1, 0x80112233u, 110.0f, 50.0f},
        {MemoryDrawKind::RenderPart, 0, 0xFF445566u, 110.0f, 57.0f},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(engine->Draws()[0].textures[0], texture);
    EXPECT_EQ(object->GetMatrix(), grandchild->GetWorldMatrix());  // left pointing at the last node drawn

    Matrix4 fixed = *root->GetOwnMatrix();
    fixed.m[12] = -3.0f;
    engine->ClearDraws();
    root->RenderWithMatrix(&fixed);
    ASSERT_EQ(engine->Draws().size(), 4u);
    for (const MemoryDraw& d : engine->Draws()) {
        EXPECT_FLOAT_EQ(d.matrix.m[12], -3.0f);
        EXPECT_NE(d.colour, 0xFF000001u);
    }

    EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);  // the object's slots keep it until TearDown
}

TEST_F(ContainerTest, TextNodesDrawThroughTheirRoutineWithTheWorldScale)
{
    C3DContainer* root = Root();
    auto* text = static_cast<C3DContainerText*>(engine->CreateContainerText(0xFFFFFFFFu, 0));
    ASSERT_EQ(root->AddChild(text, 1), RES_OK);
    g_textCalls.clear();
    root->Render(0);  // no routine yet: nothing drawn
    EXPECT_TRUE(g_textCalls.empty());

    char16_t buffer[] = u"Score";
    text->SetDrawRoutine(&RecordText);
    text->SetDrawContext(0xABC);
    text->SetScale(16.0f, 20.0f);
    text->SetAlign(12);
    text->SetStyle(3);
    text->SetText(buffer);
    buffer[0] = u'X';
    text->SetColor(0xFF203040u, 0, 0);
    ASSERT_EQ(root->ScaleUniform(2.0f), RES_OK);
    Place(text, 30, 40);
    root->UpdateWorldMatrix();
    root->Render(0);
    ASSERT_EQ(g_textCalls.size(), 1u);
    const TextCall& call = g_textCalls[0];
    EXPECT_FLOAT_EQ(call.position.x, 60.0f);
    EXPECT_FLOAT_EQ(call.position.y, 80.0f);
    EXPECT_EQ(call.colour, 0xFF203040u);
    EXPECT_FLOAT_EQ(call.size.x, 32.0f);
    EXPECT_FLOAT_EQ(call.size.y, 40.0f);
    EXPECT_EQ(call.align, 12);
    EXPECT_EQ(call.text, u"Score");  // copied
    EXPECT_EQ(call.context, 0xABCu);
    EXPECT_EQ(text->GetStyle(), 3);

    text->SetTextPointer(buffer);
    EXPECT_EQ(text->GetText(), buffer);  // kept by pointer
    text->SetText(text->GetText());
    text->SetTextPointer(text->GetText());  // its own copy stays owned
    EXPECT_EQ(std::u16string(text->GetText()), u"Xcore");
    text->SetText(nullptr);
    EXPECT_EQ(text->GetText(), nullptr);
}

TEST_F(ContainerTest, PointerLookupPrefersTheLatestDeepestVisibleNode)
{
    C3DContainer* root = Root();
    C3DContainer* early = Plain(2);
    C3DContainer* late = Plain(3);
    C3DContainer* deep = Plain(4);
    C3DContainer* hiddenParent = Plain(5);
    C3DContainer* underHidden = Plain(6);
    for (C3DContainer* n : {early, late, hiddenParent})
        ASSERT_EQ(root->AddChild(n, 1), RES_OK);
    ASSERT_EQ(late->AddChild(deep, 1), RES_OK);
    ASSERT_EQ(hiddenParent->AddChild(underHidden, 1), RES_OK);
    hiddenParent->SetVisible(0);
    Place(early, 100, 100);
    Place(late, 110, 100);
    Place(deep, 5, 0);
    Place(underHidden, 110, 100);
    for (C3DContainer* n : {early, late, deep, underHidden})
        n->SetHitRect(20, 20, 20, 20);
    root->UpdateWorldMatrix();

    Vector2 p{};
    EXPECT_EQ(root->FindAt(At(&p, 100, 100)), deep);
    deep->SetVisible(0);
    EXPECT_EQ(root->FindAt(&p), late);
    EXPECT_EQ(root->FindAt(At(&p, 85, 100)), early);
    EXPECT_EQ(root->FindAt(At(&p, 80, 100)), nullptr);  // on early's left edge
    EXPECT_EQ(root->FindAt(At(&p, 129.5f, 119.5f)), late);
    EXPECT_EQ(root->FindAt(At(&p, 130, 100)), nullptr);
    EXPECT_TRUE(late->HitTest(At(&p, 110, 80.5f)));
    EXPECT_FALSE(late->HitTest(At(&p, 110, 80)));
    EXPECT_FALSE(late->HitTest(At(&p, 110, 120)));
    ContainerRect rect{};
    late->GetHitRect(&rect);
    EXPECT_FLOAT_EQ(rect.right, 20.0f);
    late->ClearHitRect();
    EXPECT_FALSE(late->HitTest(At(&p, 110, 100)));

    EXPECT_EQ(root->FindAt(At(&p, 500, 500)), nullptr);
    root->SetHitRect(1000, 1000, 1000, 1000);
    EXPECT_EQ(root->FindAt(&p), root);  // the node itself when no child answers
}

TEST_F(ContainerTest, FindByIdSearchesEveryChildOnTheLow24Bits)
{
    C3DContainer* root = Root();
    C3DContainer* a = Plain(2);
    C3DContainer* b = Plain(0x123456);
    C3DContainer* c = Plain(7);
    ASSERT_EQ(root->AddChild(a, 0), RES_OK);
    ASSERT_EQ(a->AddChild(b, 0), RES_OK);
    ASSERT_EQ(root->AddChild(c, 1), RES_OK);
    EXPECT_EQ(root->FindById(0xFF123456u), b);
    EXPECT_EQ(root->FindById(7), c);
    EXPECT_EQ(root->FindById(1), root);
    EXPECT_EQ(root->FindById(9), nullptr);
}

TEST_F(ContainerTest, AlphaRecolorsOnlyPureWhiteDescendantsReachedThroughVisibleNodes)
{
    C3DContainer* root = Root();
    C3DContainer* white = Plain(2);
    C3DContainer* green = Plain(3);
    C3DContainer* whiteUnderGreen = Plain(4);
    C3DContainer* hiddenWhite = Plain(5);
    green->SetColor(0xFF00FF00u, 0, 0);
    ASSERT_EQ(root->AddChild(white, 1), RES_OK);
    ASSERT_EQ(root->AddChild(green, 1), RES_OK);
    ASSERT_EQ(green->AddChild(whiteUnderGreen, 1), RES_OK);
    ASSERT_EQ(root->AddChild(hiddenWhite, 0), RES_OK);
    root->SetAlpha(0x80);
    EXPECT_EQ(root->GetColor(), 0x80FFFFFFu);
    EXPECT_EQ(root->GetAlpha(), 0x80);
    EXPECT_EQ(white->GetColor(), 0x80FFFFFFu);
    EXPECT_EQ(green->GetColor(), 0xFF00FF00u);
    EXPECT_EQ(whiteUnderGreen->GetColor(), 0x80FFFFFFu);
    EXPECT_EQ(hiddenWhite->GetColor(), 0xFFFFFFFFu);
    root->SetAlpha(0x40);  // no longer pure white: the children keep their colour
    EXPECT_EQ(white->GetColor(), 0x80FFFFFFu);
    root->SetColor(0xFF0000FFu, 0, 0);
    EXPECT_EQ(green->GetColor(), 0xFF0000FFu);
    EXPECT_EQ(hiddenWhite->GetColor(), 0xFFFFFFFFu);
}

TEST_F(ContainerTest, VisibilityReachesEveryDescendant)
{
    C3DContainer* root = Root();
    C3DContainer* child = Plain(2);
    C3DContainer* grandchild = Plain(3);
    ASSERT_EQ(root->AddChild(child, 1), RES_OK);
    ASSERT_EQ(child->AddChild(grandchild, 0), RES_OK);
    EXPECT_EQ(grandchild->IsVisible(), 0);
    child->SetVisible(1);
    EXPECT_EQ(grandchild->IsVisible(), 1);
    root->SetVisible(0);
    EXPECT_EQ(child->IsVisible(), 0);
    EXPECT_EQ(grandchild->IsVisible(), 0);
}

TEST_F(ContainerTest, BoundsSpanTheVisibleChildrenOfTheKindAsked)
{
    C3DContainer* root = Root();
    C3DContainerObject* a = ObjectNode(2, 0);
    C3DContainerObject* b = ObjectNode(3, 0);
    C3DContainerObject* hidden = ObjectNode(4, 0);
    C3DContainer* plain = Plain(5);
    for (C3DContainer* n : std::vector<C3DContainer*>{a, b, plain})
        ASSERT_EQ(root->AddChild(n, 1), RES_OK);
    ASSERT_EQ(root->AddChild(hidden, 0), RES_OK);
    Place(root, 100, 100);
    Place(a, -10, 20);
    Place(b, 30, -20);
    Place(hidden, 400, 400);
    Place(plain, -300, -300);
    root->UpdateWorldMatrix();
    ContainerRect r{};
    root->GetChildBounds(&r, kContainerKindObject);
    EXPECT_FLOAT_EQ(r.left, 90.0f);
    EXPECT_FLOAT_EQ(r.top, 80.0f);
    EXPECT_FLOAT_EQ(r.right, 130.0f);
    EXPECT_FLOAT_EQ(r.bottom, 120.0f);

    // With a hit rectangle the start is turned inside out; one child gives its own point.
    C3DContainer* single = Root(6);
    C3DContainerObject* only = ObjectNode(7, 0);
    ASSERT_EQ(single->AddChild(only, 1), RES_OK);
    single->SetHitRect(10, 10, 10, 10);
    Place(single, 100, 100);
    single->UpdateWorldMatrix();
    single->GetChildBounds(&r, kContainerKindObject);
    EXPECT_FLOAT_EQ(r.left, 100.0f);
    EXPECT_FLOAT_EQ(r.right, 100.0f);
    EXPECT_FLOAT_EQ(r.top, 100.0f);
    EXPECT_FLOAT_EQ(r.bottom, 100.0f);
}

TEST_F(ContainerTest, CyclesSelfLinksAndSecondParentsAreRefusedWithoutChange)
{
    C3DContainer* root = Root();
    C3DContainer* a = Plain(2);
    C3DContainer* b = Plain(3);
    C3DContainer* other = Root(4);
    ASSERT_EQ(root->AddChild(a, 1), RES_OK);
    ASSERT_EQ(a->AddChild(b, 1), RES_OK);
    EXPECT_EQ(b->AddChild(root, 1), RES_FAIL);
    EXPECT_EQ(a->AddChild(root, 1), RES_FAIL);
    EXPECT_EQ(b->AddChild(b, 1), RES_FAIL);
    EXPECT_EQ(other->AddChild(b, 1), RES_FAIL);
    EXPECT_EQ(a->AddChild(b, 1), RES_FAIL);
    EXPECT_EQ(root->AddChild(nullptr, 1), RES_FAIL);
    EXPECT_TRUE(b->GetChildren().IsEmpty());
    EXPECT_TRUE(other->GetChildren().IsEmpty());
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_EQ(b->GetParent(), a);
    EXPECT_EQ(b->GetAttachCount(), 1u);
    EXPECT_EQ(root->GetAttachCount(), 0u);
    Vector2 p{0, 0};
    root->SetHitRect(1, 1, 1, 1);
    EXPECT_EQ(root->FindAt(&p), root);  // the tree is still a tree: no endless walk
    EXPECT_EQ(root->FindById(3), b);
}

TEST_F(ContainerTest, LinkingSetsRootsAndGroupHeads)
{
    C3DContainer* root = Root(1, 1);
    C3DContainer* plain = Plain(2);
    C3DContainer* head = Plain(3, 1);
    C3DContainer* leaf = Plain(4);
    ASSERT_EQ(root->AddChild(plain, 1), RES_OK);
    ASSERT_EQ(plain->AddChild(head, 1), RES_OK);
    ASSERT_EQ(head->AddChild(leaf, 1), RES_OK);
    EXPECT_EQ(root->GetGroupChildCount(), 1u);  // counted by the parent's group head
    EXPECT_EQ(plain->GetGroupChildCount(), 0u);
    EXPECT_EQ(plain->GetGroupHead(), root);
    EXPECT_EQ(head->GetGroupHead(), head);
    EXPECT_EQ(leaf->GetGroupHead(), head);
    EXPECT_EQ(leaf->GetRoot(), root);

    EXPECT_EQ(root->RemoveChild(head), RES_FAIL);  // not a child of root
    EXPECT_EQ(root->RemoveChild(root), RES_FAIL);
    EXPECT_EQ(plain->RemoveChild(head), RES_OK);
    EXPECT_EQ(root->GetGroupChildCount(), 0u);
    EXPECT_EQ(head->GetRoot(), head);
    EXPECT_EQ(leaf->GetRoot(), head);
    EXPECT_EQ(head->GetParent(), nullptr);
    EXPECT_EQ(head->GetAttachCount(), 0u);
    roots.push_back(head);

    ASSERT_EQ(root->RemoveChild(plain), RES_OK);
    EXPECT_EQ(plain->GetGroupHead(), plain);
    ASSERT_EQ(head->AddChild(plain, 1), RES_OK);  // free to go elsewhere once removed
    EXPECT_EQ(plain->GetRoot(), head);
}

TEST_F(ContainerTest, DestroyingANodeWithAParentUnlinksItFirst)
{
    C3DContainer* root = Root();
    C3DContainer* child = Plain(2);
    C3DContainer* grandchild = Plain(3);
    C3DContainer* sibling = Plain(4);
    ASSERT_EQ(root->AddChild(child, 1), RES_OK);
    ASSERT_EQ(child->AddChild(grandchild, 1), RES_OK);
    ASSERT_EQ(root->AddChild(sibling, 1), RES_OK);
    const uint32_t listed = engine->GetContainerCount();
    EXPECT_EQ(engine->DestroyContainer(child), RES_OK);
    EXPECT_EQ(engine->GetContainerCount(), listed - 2);
    EXPECT_EQ(root->FindById(2), nullptr);
    EXPECT_EQ(root->FindById(4), sibling);
    root->SetHitRect(5, 5, 5, 5);
    Vector2 p{0, 0};
    EXPECT_EQ(root->FindAt(&p), root);  // no stale child left to visit
    root->UpdateWorldMatrix();
    root->Render(0);

    EXPECT_EQ(engine->ClearContainer(root), RES_OK);
    EXPECT_TRUE(root->GetChildren().IsEmpty());
    EXPECT_EQ(engine->GetContainerCount(), 1u);
}

} // namespace
