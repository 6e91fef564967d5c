#include "opponent/CSearchNode.h"

#include "game/CGameState.h"

CSearchNode::CSearchNode(CGameState* state)
    : m_state(state), m_col(0), m_row(0), m_isPass(0)
{
}

CSearchNode::~CSearchNode()
{
    delete m_state;
    for (CSearchNode* child : m_children)
        delete child;
    m_children.clear();
}
