#include "game/CBlockRecycler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

typedef CBlockRecycler<40> Recycler;   // a size that is not a multiple of the alignment

// Blocks in use are aligned and never overlap: across slabs, when handed out
// again from the free list, and after everything was freed.
TEST(BlockRecycler, blocks_in_use_are_aligned_and_never_overlap)
{
    for (int round = 0; round < 3; ++round)
    {
        std::vector<void*> blocks(3000);
        for (int pass = 0; pass < 2; ++pass)   // the second pass refills every other block
            for (int i = pass; i < 3000; i += 1 + pass)
            {
                if (pass)
                    Recycler::Release(blocks[i]);
                blocks[i] = Recycler::Allocate();
                ASSERT_EQ(reinterpret_cast<std::uintptr_t>(blocks[i]) % alignof(std::max_align_t), 0u);
                std::memset(blocks[i], i & 0xff, 40);
            }
        for (int i = 0; i < 3000; ++i)
            for (int k = 0; k < 40; ++k)
                ASSERT_EQ(static_cast<unsigned char*>(blocks[i])[k], i & 0xff) << "block " << i;
        for (void* block : blocks)
            Recycler::Release(block);
    }
}

// A block kept for long must not stop freed blocks from being reused.
TEST(BlockRecycler, churn_beside_a_long_lived_block_reuses_memory)
{
#if VESK_RECYCLE_BLOCKS
    void* kept = Recycler::Allocate();
    std::set<void*> seen;
    for (int round = 0; round < 200; ++round)
    {
        std::vector<void*> blocks;
        for (int i = 0; i < 100; ++i)
            blocks.push_back(Recycler::Allocate());
        seen.insert(blocks.begin(), blocks.end());
        for (void* block : blocks)
            Recycler::Release(block);
    }
    EXPECT_LE(seen.size(), 100u);
    Recycler::Release(kept);
#else
    GTEST_SKIP() << "blocks go to the general allocator in this build";
#endif
}
