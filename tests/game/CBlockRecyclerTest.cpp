#include "game/CBlockRecycler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace
{
const std::size_t kBlock = 40;   // not a multiple of the alignment
typedef CBlockRecycler<kBlock> Recycler;

void Fill(void* block, int mark) { std::memset(block, mark, kBlock); }
bool Holds(const void* block, int mark)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(block);
    for (std::size_t i = 0; i < kBlock; ++i)
        if (bytes[i] != static_cast<unsigned char>(mark))
            return false;
    return true;
}
}

// Blocks in use never overlap and are aligned for any type, across slabs, in
// blocks handed out again from the free list and after everything was freed.
TEST(BlockRecycler, blocks_in_use_are_aligned_and_never_overlap)
{
    for (int round = 0; round < 3; ++round)
    {
        std::vector<void*> blocks;
        for (int i = 0; i < 3000; ++i)
        {
            blocks.push_back(Recycler::Allocate());
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(blocks.back()) % alignof(std::max_align_t), 0u);
            Fill(blocks.back(), i & 0xff);
        }
        for (int i = 1; i < 3000; i += 2)   // free every other one, then refill
            Recycler::Release(blocks[i]);
        for (int i = 1; i < 3000; i += 2)
        {
            blocks[i] = Recycler::Allocate();
            Fill(blocks[i], i & 0xff);
        }
        for (int i = 0; i < 3000; ++i)
            ASSERT_TRUE(Holds(blocks[i], i & 0xff)) << "block " << i << " round " << round;
        for (void* block : blocks)
            Recycler::Release(block);
    }
}

// One block kept for long must not stop freed blocks from being reused:
// memory stays at the most blocks in use at one time.
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
