#ifndef VESK_OPPONENT_CSEARCHNODE_H
#define VESK_OPPONENT_CSEARCHNODE_H

#include <cstddef>
#include <cstdint>
#include <vector>

class CGameState;

// One node of the opponent's search tree: the position after the node's move.
// Owns its state and its children; deleting the root frees the whole tree.
class CSearchNode
{
public:
    explicit CSearchNode(CGameState* state);   // takes ownership
    ~CSearchNode();
    CSearchNode(const CSearchNode&) = delete;
    CSearchNode& operator=(const CSearchNode&) = delete;

    // Tens of thousands of nodes per move: their memory is recycled.
    static void* operator new(std::size_t size);
    static void  operator delete(void* memory, std::size_t size);

    CGameState*               m_state;
    std::vector<CSearchNode*> m_children;   // in the order generated
    uint8_t                   m_col;
    uint8_t                   m_row;
    uint8_t                   m_isPass;
};

#endif
