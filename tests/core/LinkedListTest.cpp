#include "core/LinkedList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<ListValue> Walk(CLinkedList& list)
{
    std::vector<ListValue> values;
    for (ListValue v = list.GetFirst(); v; v = list.GetNext())
        values.push_back(v);
    return values;
}

void Empty(CLinkedList& list)
{
    list.GetFirst();
    while (list.Cursor())
        list.RemoveCurrent();
}

} // namespace

TEST(LinkedList, InsertionsMoveTheCursorAndWalksEndWithZero)
{
    CLinkedList list;
    EXPECT_EQ(list.GetFirst(), 0u);
    EXPECT_EQ(list.GetNext(), 0u);
    EXPECT_EQ(list.GetPrev(), 0u);
    EXPECT_EQ(list.RemoveCurrent(), 0u);
    EXPECT_EQ(list.AddTail(2), RES_OK);
    EXPECT_EQ(list.AddHead(1), RES_OK);
    EXPECT_EQ(list.Cursor()->value, 1u);
    EXPECT_EQ(list.AddTail(3), RES_OK);
    EXPECT_EQ(Walk(list), (std::vector<ListValue>{1, 2, 3}));
    EXPECT_EQ(list.Cursor(), nullptr);
    EXPECT_EQ(list.GetLast(), 3u);
    EXPECT_EQ(list.GetPrev(), 2u);
    EXPECT_EQ(list.GetPrev(), 1u);
    EXPECT_EQ(list.GetPrev(), 0u);
    Empty(list);
}

TEST(LinkedList, RemovalDuringAWalk)
{
    CLinkedList list;
    for (ListValue v = 1; v <= 6; ++v)
        ASSERT_EQ(list.AddTail(v), RES_OK);
    // Remove the even values, using RemoveCurrent's result as the next value.
    for (ListValue v = list.GetFirst(); v;)
        v = (v % 2 == 0) ? list.RemoveCurrent() : list.GetNext();
    EXPECT_EQ(Walk(list), (std::vector<ListValue>{1, 3, 5}));
    EXPECT_EQ(list.GetLast(), 5u);
    EXPECT_EQ(list.RemoveCurrentBack(), 3u);
    EXPECT_EQ(list.Tail()->value, 3u);
    Empty(list);
}

TEST(LinkedList, RemoveByValue)
{
    CLinkedList list;
    EXPECT_EQ(list.Remove(ListValue{5}), RES_FAIL);
    ASSERT_EQ(list.AddTail(7), RES_OK);
    ASSERT_EQ(list.AddTail(8), RES_OK);
    ASSERT_EQ(list.AddTail(7), RES_OK);
    EXPECT_EQ(list.Remove(ListValue{0}), RES_FAIL);
    EXPECT_EQ(list.Remove(ListValue{7}), RES_OK);
    EXPECT_EQ(Walk(list), (std::vector<ListValue>{8, 7}));
    EXPECT_EQ(list.Remove(ListValue{8}), RES_OK);
    EXPECT_EQ(list.Remove(ListValue{7}), RES_OK);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(LinkedList, RemovingTheOnlyNodeEmptiesEverything)
{
    CLinkedList list;
    ASSERT_EQ(list.AddHead(9), RES_OK);
    EXPECT_EQ(list.RemoveCurrent(), 0u);
    EXPECT_EQ(list.Head(), nullptr);
    EXPECT_EQ(list.Tail(), nullptr);
    EXPECT_EQ(list.Cursor(), nullptr);
}

TEST(RefList, CountsAndFlags)
{
    CRefList list;
    EXPECT_EQ(list.GetRefCount(), 0u);
    EXPECT_EQ(list.ReleaseCurrent(0), 0u);
    ASSERT_EQ(list.AddTail(ListValue{1}, 3), RES_OK);
    EXPECT_EQ(list.GetFlag(), 3);
    EXPECT_EQ(list.GetRefCount(), 1u);
    list.AddRefCurrent();
    EXPECT_EQ(list.Release(ListValue{1}, 0), RES_FAIL);
    EXPECT_EQ(list.Release(ListValue{1}, 0), RES_OK);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.Release(ListValue{1}, 0), RES_FAIL);

    ASSERT_EQ(list.AddTail(ListValue{2}, 0), RES_OK);
    list.AddRefCurrent();
    list.AddRefCurrent();
    EXPECT_EQ(list.Release(ListValue{2}, 1), RES_OK);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(RefList, ReleaseCurrentKeepsOrRemoves)
{
    CRefList list;
    ASSERT_EQ(list.AddTail(ListValue{1}, 0), RES_OK);
    list.AddRefCurrent();
    ASSERT_EQ(list.AddTail(ListValue{2}, 0), RES_OK);
    list.GetFirst();
    EXPECT_EQ(list.ReleaseCurrent(0), 2u);  // count 2 -> 1, kept, cursor moves on
    EXPECT_EQ(list.GetFirst(), 1u);
    EXPECT_EQ(list.GetRefCount(), 1u);
    EXPECT_EQ(list.ReleaseCurrent(0), 2u);  // count 1 -> 0, removed
    EXPECT_EQ(list.GetRefCount(), 1u);
    EXPECT_EQ(list.ReleaseCurrent(1), 0u);
    EXPECT_TRUE(list.IsEmpty());
    // A node holding 0 is still found by Release.
    ASSERT_EQ(list.AddTail(ListValue{0}, 0), RES_OK);
    EXPECT_EQ(list.Release(ListValue{0}, 0), RES_OK);
    EXPECT_TRUE(list.IsEmpty());
}
