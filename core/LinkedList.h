#pragma once
#include <cstddef>
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"

// Values are pointer-sized: the lists hold object pointers.
using ListValue = uintptr_t;

// Doubly linked list with one built-in cursor through which every walk and removal goes.
// The value 0 doubles as the end mark. Nodes are freed by the owner emptying the list; the
// destructor frees none.
class CLinkedList : public CBaseObject {
public:
    struct Node {
        ListValue value;
        Node* next;
        Node* prev;
    };

    CLinkedList() = default;
    CLinkedList(const CLinkedList&) = delete;
    CLinkedList& operator=(const CLinkedList&) = delete;
    ~CLinkedList() override = default;

    virtual Result AddHead(ListValue value);
    virtual ListValue GetFirst();
    virtual ListValue GetNext();
    virtual ListValue RemoveCurrent();
    virtual Result AddTail(ListValue value);
    virtual ListValue GetLast();
    virtual ListValue GetPrev();
    virtual ListValue RemoveCurrentBack();
    virtual Result Remove(ListValue value);
    virtual size_t GetNodeSize() const;

    template <typename T> Result AddHead(T* object) { return AddHead(reinterpret_cast<ListValue>(object)); }
    template <typename T> Result AddTail(T* object) { return AddTail(reinterpret_cast<ListValue>(object)); }
    template <typename T> Result Remove(T* object) { return Remove(reinterpret_cast<ListValue>(object)); }

    bool IsEmpty() const { return m_head == nullptr; }
    Node* Head() const { return m_head; }
    Node* Tail() const { return m_tail; }
    Node* Cursor() const { return m_cursor; }

protected:
    Node* NewNode(ListValue value);
    void Unlink(Node* node);

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    Node* m_cursor = nullptr;
};

// Reads a list value back as the object pointer it holds.
template <typename T> T* ListObject(ListValue value) { return reinterpret_cast<T*>(value); }

// Linked list whose nodes carry a flag byte and a reference count.
class CRefList : public CLinkedList {
public:
    struct RefNode : Node {
        uint8_t flag;
        uint32_t refCount;
    };

    using CLinkedList::AddHead;
    using CLinkedList::AddTail;

    size_t GetNodeSize() const override;

    virtual Result AddHead(ListValue value, uint8_t flag);
    virtual Result AddTail(ListValue value, uint8_t flag);
    virtual void AddRefCurrent();
    virtual uint32_t GetRefCount();
    virtual ListValue ReleaseCurrent(uint8_t force);
    virtual uint8_t GetFlag();
    virtual Result Release(ListValue value, uint8_t force);

    template <typename T> Result AddHead(T* object, uint8_t flag) { return AddHead(reinterpret_cast<ListValue>(object), flag); }
    template <typename T> Result AddTail(T* object, uint8_t flag) { return AddTail(reinterpret_cast<ListValue>(object), flag); }
    template <typename T> Result Release(T* object, uint8_t force) { return Release(reinterpret_cast<ListValue>(object), force); }

private:
    RefNode* CursorNode() const { return static_cast<RefNode*>(m_cursor); }
    void InitCursorNode(uint8_t flag);
};
