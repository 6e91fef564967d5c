#include "game/CBlockRecycler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

typedef CBlockRecycler<40> Recycler;   // a size that is not a multiple of the alignment

// Blocks in use are aligned and never overlap, across slabs and when handed
// out again from the free list; churn beside a long-lived block reuses memory.
TEST(BlockRecycler, blocks_in_use_never_overlap_and_freed_ones_are_reused)
{
    std::set<void*> seen;
    void* kept = Recycler::Allocate();
    for (int round = 0; round < 20; ++round)
    {
        std::vector<void*> blocks(round ? 100 : 3000);
        for (size_t i = 0; i < blocks.size(); ++i)
        {
            seen.insert(blocks[i] = Recycler::Allocate());
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(blocks[i]) % alignof(std::max_align_t), 0u);
            std::memset(blocks[i], int(i & 0xff), 40);
        }
        for (size_t i = 0; i < blocks.size(); ++i)
        {
            for (int k = 0; k < 40; ++k)
                ASSERT_EQ(static_cast<unsigned char*>(blocks[i])[k], i & 0xff) << "round " << round << " block " << i;
            Recycler::Release(blocks[i]);
        }
    }
#if VESK_RECYCLE_BLOCKS
    EXPECT_EQ(seen.size(), 3000u);   // later rounds took freed blocks only
#endif
    Recycler::Release(kept);
}
