#include "opponent/CSearchArena.h"

#include <algorithm>
#include <cassert>
#include <new>
#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace
{
// The first search of a run would otherwise spend much of its time faulting
// in thousands of small pages: each block asks for one huge page.
char* NewBlock(std::size_t bytes)
{
    // Aligned new rather than aligned_alloc, which not every C library has.
    void* memory = ::operator new(bytes, std::align_val_t(bytes));
#ifdef MADV_HUGEPAGE
    madvise(memory, bytes, MADV_HUGEPAGE);   // only a hint: small pages work too
#endif
    ASAN_POISON_MEMORY_REGION(memory, bytes);
    return static_cast<char*>(memory);
}
}

void CChildList::Reserve(CSearchArena& arena, uint32_t extra)
{
    CSearchNode** items = static_cast<CSearchNode**>(arena.Allocate((m_size + extra) * sizeof(CSearchNode*)));
    std::copy(m_items, m_items + m_size, items);
    m_items = items;
    m_capacity = m_size + extra;
}

CSearchArena::~CSearchArena()
{
    for (char* block : m_blocks)
    {
        ASAN_UNPOISON_MEMORY_REGION(block, kBlockBytes);
        ::operator delete(block, std::align_val_t(kBlockBytes));   // unsized: clang 14 lacks sized deallocation by default
    }
}

void CSearchArena::NextBlock()
{
    if (m_block == m_blocks.size())
    {
        m_blocks.reserve(m_block + 1);   // so that the push cannot lose the new block
        m_blocks.push_back(NewBlock(kBlockBytes));
    }
    m_next = m_blocks[m_block++];
    m_end = m_next + kBlockBytes;
}

void CSearchArena::Release()
{
    for (std::size_t i = 0; i < m_block; ++i)
        ASAN_POISON_MEMORY_REGION(m_blocks[i], kBlockBytes);
    m_block = 0;
    m_next = m_end = nullptr;
    m_nodes = 0;
}
