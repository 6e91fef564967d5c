#include "opponent/CSearchNode.h"

#include "game/CBlockRecycler.h"
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

void* CSearchNode::operator new(std::size_t size)
{
    if (size != sizeof(CSearchNode))
        return ::operator new(size);
    return CBlockRecycler<sizeof(CSearchNode)>::Allocate();
}

void CSearchNode::operator delete(void* memory, std::size_t size)
{
    if (!memory)
        return;
    if (size != sizeof(CSearchNode))
        ::operator delete(memory);
    else
        CBlockRecycler<sizeof(CSearchNode)>::Release(memory);
}
