#ifndef VESK_OPPONENT_CSEARCHARENA_H
#define VESK_OPPONENT_CSEARCHARENA_H

#include "game/CGameState.h"
#include "game/Types.h"
#include "opponent/CSearchNode.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>   // the poisoning macros do nothing without the sanitizer
#else   // a compiler without the header has no such sanitizer either
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

// The memory of one move's search: every node, child list and position of the
// tree is carved from here, in order, and Release ends them all at once; it
// runs no destructors, so only objects that own nothing outside themselves
// belong here. The blocks are kept for the next move: a search at full depth
// touches some twenty megabytes, and fresh pages cost more than the search.
// Under AddressSanitizer released memory is poisoned until handed out again,
// so a pointer kept past Release is still caught. One thread only.
class CSearchArena
{
public:
    CSearchArena() = default;
    ~CSearchArena();
    CSearchArena(const CSearchArena&) = delete;
    CSearchArena& operator=(const CSearchArena&) = delete;

    // A new node holding a copy of position; counted. Inline, as Allocate:
    // the search makes one per node.
    CSearchNode* NewNode(const CGameState& position);
    void*        Allocate(std::size_t bytes);   // aligned to 8 bytes

    // Ends everything handed out since the last Release.
    void     Release();
    uint64_t GetNodes() const { return m_nodes; }   // made since the last Release

private:
    static const std::size_t kAlign = 8;
    static const std::size_t kBlockBytes = std::size_t(2) << 20;

    void NextBlock();

    std::vector<char*> m_blocks;
    std::size_t        m_block = 0;         // blocks in use; the last is being carved
    char*              m_next = nullptr;    // its first free byte
    char*              m_end = nullptr;
    uint64_t           m_nodes = 0;
};

inline void* CSearchArena::Allocate(std::size_t bytes)
{
    const std::size_t carved = (bytes + kAlign - 1) / kAlign * kAlign;
    if (static_cast<std::size_t>(m_end - m_next) < carved)
        NextBlock();
    char* memory = m_next;
    m_next += carved;
    ASAN_UNPOISON_MEMORY_REGION(memory, bytes);
    return memory;
}

inline CSearchNode* CSearchArena::NewNode(const CGameState& position)
{
    static_assert(alignof(CGameState) <= kAlign && alignof(CSearchNode) <= kAlign, "aligned by the arena");
    // Nothing here is destroyed: only the game's own board, whose state keeps
    // all its records inside itself, belongs here.
    assert(position.GetNumRows() == 2 * kStandardBoardSize - 1 && position.GetNumTeams() == 2);
    ++m_nodes;
    // One piece for both, the state right after the node, aligned also where
    // pointers are 4 bytes and the node's size is not a multiple of 8.
    const std::size_t nodeBytes = (sizeof(CSearchNode) + kAlign - 1) / kAlign * kAlign;
    char* memory = static_cast<char*>(Allocate(nodeBytes + sizeof(CGameState)));
    return new (memory) CSearchNode(new (memory + nodeBytes) CGameState(position));
}

#endif
