#ifndef VESK_OPPONENT_CSEARCHNODE_H
#define VESK_OPPONENT_CSEARCHNODE_H

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

    CGameState*               m_state;
    std::vector<CSearchNode*> m_children;   // in the order generated
    uint8_t                   m_col;
    uint8_t                   m_row;
    uint8_t                   m_isPass;
};

#endif
