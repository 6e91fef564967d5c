#ifndef VESK_OPPONENT_CSEARCHNODE_H
#define VESK_OPPONENT_CSEARCHNODE_H

#include <cassert>
#include <cstdint>

class CGameState;
class CSearchArena;
class CSearchNode;

// A node's children in the order generated. The array lives in the search's
// arena and is sized before children are added (ExpandNode counts them first).
class CChildList
{
public:
    // Room for extra more children; what is there is copied to a new array.
    void Reserve(CSearchArena& arena, uint32_t extra);
    void PushBack(CSearchNode* child)
    {
        assert(m_size < m_capacity);
        m_items[m_size++] = child;
    }

    uint32_t     size() const { return m_size; }
    bool         empty() const { return m_size == 0; }
    CSearchNode* operator[](uint32_t i) const { assert(i < m_size); return m_items[i]; }
    CSearchNode* const* begin() const { return m_items; }
    CSearchNode* const* end() const { return m_items + m_size; }

private:
    CSearchNode** m_items = nullptr;
    uint32_t      m_size = 0;
    uint32_t      m_capacity = 0;
};

// One node of the opponent's search tree: the position after the node's move.
// The node, its state and its child list all live in the search's arena and
// end together when it is released.
class CSearchNode
{
public:
    explicit CSearchNode(CGameState* state) : m_state(state) {}

    CGameState* m_state;
    CChildList  m_children;
    uint8_t     m_col = 0;
    uint8_t     m_row = 0;
    uint8_t     m_isPass = 0;
};

#endif
