#include "core/LinkedList.h"

#include <cstdlib>
#include <cstring>
#include <new>

CLinkedList::Node* CLinkedList::NewNode(ListValue value)
{
    // Nodes are as large as the class needs, so inherited insertions serve derived lists too.
    void* memory = calloc(1, GetNodeSize());
    if (!memory)
        return nullptr;
    Node* node = static_cast<Node*>(memory);
    node->value = value;
    return node;
}

void CLinkedList::Unlink(Node* node)
{
    if (node->next)
        node->next->prev = node->prev;
    if (node->prev)
        node->prev->next = node->next;
    if (m_head == node)
        m_head = node->next;
    if (m_tail == node)
        m_tail = node->prev;
    free(node);
}

Result CLinkedList::AddHead(ListValue value)
{
    Node* node = NewNode(value);
    if (!node)
        return RES_FAIL;
    node->next = m_head;
    if (m_head)
        m_head->prev = node;
    m_head = node;
    if (!m_tail)
        m_tail = node;
    m_cursor = node;
    return RES_OK;
}

Result CLinkedList::AddTail(ListValue value)
{
    Node* node = NewNode(value);
    if (!node)
        return RES_FAIL;
    node->prev = m_tail;
    if (m_tail)
        m_tail->next = node;
    m_tail = node;
    if (!m_head)
        m_head = node;
    m_cursor = node;
    return RES_OK;
}

ListValue CLinkedList::GetFirst()
{
    m_cursor = m_head;
    return m_cursor ? m_cursor->value : 0;
}

ListValue CLinkedList::GetNext()
{
    if (!m_cursor)
        return 0;
    m_cursor = m_cursor->next;
    return m_cursor ? m_cursor->value : 0;
}

ListValue CLinkedList::GetLast()
{
    m_cursor = m_tail;
    return m_cursor ? m_cursor->value : 0;
}

ListValue CLinkedList::GetPrev()
{
    if (!m_cursor)
        return 0;
    m_cursor = m_cursor->prev;
    return m_cursor ? m_cursor->value : 0;
}

ListValue CLinkedList::RemoveCurrent()
{
    Node* node = m_cursor;
    if (!node)
        return 0;
    m_cursor = node->next;
    Unlink(node);
    return m_cursor ? m_cursor->value : 0;
}

ListValue CLinkedList::RemoveCurrentBack()
{
    Node* node = m_cursor;
    if (!node)
        return 0;
    m_cursor = node->prev;
    Unlink(node);
    return m_cursor ? m_cursor->value : 0;
}

Result CLinkedList::Remove(ListValue value)
{
    for (ListValue v = GetFirst(); v; v = GetNext()) {
        if (v == value) {
            RemoveCurrent();
            return RES_OK;
        }
    }
    return RES_FAIL;
}

size_t CLinkedList::GetNodeSize() const
{
    return sizeof(Node);
}

size_t CRefList::GetNodeSize() const
{
    return sizeof(RefNode);
}

void CRefList::InitCursorNode(uint8_t flag)
{
    CursorNode()->flag = flag;
    CursorNode()->refCount = 1;
}

Result CRefList::AddHead(ListValue value, uint8_t flag)
{
    Result r = CLinkedList::AddHead(value);
    if (r == RES_OK)
        InitCursorNode(flag);
    return r;
}

Result CRefList::AddTail(ListValue value, uint8_t flag)
{
    Result r = CLinkedList::AddTail(value);
    if (r == RES_OK)
        InitCursorNode(flag);
    return r;
}

void CRefList::AddRefCurrent()
{
    if (m_cursor)
        ++CursorNode()->refCount;
}

uint32_t CRefList::GetRefCount()
{
    return m_cursor ? CursorNode()->refCount : 0;
}

uint8_t CRefList::GetFlag()
{
    return m_cursor ? CursorNode()->flag : 0;
}

ListValue CRefList::ReleaseCurrent(uint8_t force)
{
    if (!m_cursor)
        return 0;
    RefNode* node = CursorNode();
    if (node->refCount > 0)
        --node->refCount;
    if (force || node->refCount == 0)
        return RemoveCurrent();
    return GetNext();
}

Result CRefList::Release(ListValue value, uint8_t force)
{
    Node* node = m_head;
    while (node && node->value != value)
        node = node->next;
    if (!node)
        return RES_FAIL;
    RefNode* ref = static_cast<RefNode*>(node);
    if (ref->refCount > 0)
        --ref->refCount;
    if (!force && ref->refCount > 0)
        return RES_FAIL;
    m_cursor = node;
    RemoveCurrent();
    return RES_OK;
}
