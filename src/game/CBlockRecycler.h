#ifndef VESK_GAME_CBLOCKRECYCLER_H
#define VESK_GAME_CBLOCKRECYCLER_H

#include <cstddef>
#include <cstdlib>
#include <new>
#if defined(__linux__)
#include <sys/mman.h>
#endif

// Under AddressSanitizer every block goes to the general allocator, so that
// use after free is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define VESK_RECYCLE_BLOCKS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VESK_RECYCLE_BLOCKS 0
#endif
#endif
#ifndef VESK_RECYCLE_BLOCKS
#define VESK_RECYCLE_BLOCKS 1
#endif

// Hands out memory blocks of one size from slabs of many blocks. The opponent
// builds a tree of tens of thousands of nodes per move and frees all of it
// afterwards; going to the general allocator for each was most of its time.
// - Blocks are carved from the slabs in address order, so a tree being built
//   is laid out the way it is later walked and freed.
// - A freed block goes to a free list and is handed out again first, so
//   memory never grows beyond the most blocks in use at one time.
// - Once no block is in use (the tree is gone), the free list is dropped and
//   carving starts again at the first slab.
// Slabs are kept for the whole run. One thread only.
// On Linux each slab asks for one huge page: the first search of a run would
// otherwise spend most of its time faulting in thousands of small pages.
template <std::size_t BlockSize>
class CBlockRecycler
{
public:
    static void* Allocate()
    {
#if !VESK_RECYCLE_BLOCKS
        return ::operator new(BlockSize);
#else
        ++s_inUse;
        if (s_free)
        {
            FreeBlock* block = s_free;
            s_free = block->next;
            return block;
        }
        if (s_next == s_end)
            NextSlab();
        void* block = s_next;
        s_next += kStride;
        return block;
#endif
    }

    static void Release(void* memory)
    {
#if !VESK_RECYCLE_BLOCKS
        ::operator delete(memory);
#else
        if (--s_inUse == 0)
        {
            s_free = nullptr;
            s_slab = nullptr;
            s_next = s_end = nullptr;
            return;
        }
        FreeBlock* block = static_cast<FreeBlock*>(memory);
        block->next = s_free;
        s_free = block;
#endif
    }

private:
    struct FreeBlock { FreeBlock* next; };
    struct Slab { Slab* next; };

    static const std::size_t kAlign = alignof(std::max_align_t);
    static const std::size_t kSize = BlockSize < sizeof(FreeBlock) ? sizeof(FreeBlock) : BlockSize;
    static const std::size_t kStride = (kSize + kAlign - 1) / kAlign * kAlign;
    static const std::size_t kHeader = (sizeof(Slab) + kAlign - 1) / kAlign * kAlign;
    static const std::size_t kSlabBytes = std::size_t(2) << 20;
    static const std::size_t kBlocksPerSlab = (kSlabBytes - kHeader) / kStride;

    static void* NewSlabMemory()
    {
#if defined(__linux__)
        void* memory = nullptr;
        if (posix_memalign(&memory, kSlabBytes, kSlabBytes) != 0)
            throw std::bad_alloc();
        madvise(memory, kSlabBytes, MADV_HUGEPAGE);   // only a hint: small pages work too
        return memory;
#else
        return ::operator new(kSlabBytes);
#endif
    }

    // Moves on to the slab after the current one, adding it if there is none.
    static void NextSlab()
    {
        Slab* slab = s_slab ? s_slab->next : s_firstSlab;
        if (!slab)
        {
            slab = static_cast<Slab*>(NewSlabMemory());
            slab->next = nullptr;
            if (s_slab)
                s_slab->next = slab;
            else
                s_firstSlab = slab;
        }
        s_slab = slab;
        s_next = reinterpret_cast<char*>(slab) + kHeader;
        s_end = s_next + kStride * kBlocksPerSlab;
    }

    static Slab*       s_firstSlab;
    static Slab*       s_slab;     // the slab being carved, null before the first
    static char*       s_next;     // next uncarved block in it
    static char*       s_end;
    static FreeBlock*  s_free;
    static std::size_t s_inUse;
};

template <std::size_t B> typename CBlockRecycler<B>::Slab*      CBlockRecycler<B>::s_firstSlab = nullptr;
template <std::size_t B> typename CBlockRecycler<B>::Slab*      CBlockRecycler<B>::s_slab = nullptr;
template <std::size_t B> char*                                  CBlockRecycler<B>::s_next = nullptr;
template <std::size_t B> char*                                  CBlockRecycler<B>::s_end = nullptr;
template <std::size_t B> typename CBlockRecycler<B>::FreeBlock* CBlockRecycler<B>::s_free = nullptr;
template <std::size_t B> std::size_t                            CBlockRecycler<B>::s_inUse = 0;

#endif
