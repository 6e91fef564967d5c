// Times the opponent's search on fixed positions of the standard board, with
// a fixed random table, and prints nodes, time, nodes per second, the slowest
// move and a signature of every tree searched (the shape and order of its
// nodes), which must not change when the search is only made faster.
//
//   vesk-search-bench [depth=4] [positions=60] [noise=0] [repeats=5]

#include "game/CGameState.h"
#include "opponent/CRandomTable.h"
#include "opponent/CSearchNode.h"
#include "opponent/Search.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace
{
// Positions come from random play with a private generator, so they are the
// same on every machine: between 0 and 40 placements or passes, then Silver
// (the opponent) to move in an unfinished game.
std::vector<CGameState> MakePositions(int count)
{
    std::vector<CGameState> positions;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 16) & 0x7fff) % range;
    };
    while (static_cast<int>(positions.size()) < count)
    {
        CGameState s(3, 2);
        const uint32_t wanted = next(41);
        for (uint32_t tries = 0; tries < 1000 && !s.IsGameDone(); ++tries)
        {
            if (tries >= wanted && s.GetCurTeam() == 1)
                break;
            const uint32_t r = next(5), c = next(s.GetRowLength(r));
            const uint8_t t = static_cast<uint8_t>(s.GetCellTokens(r, c) + 1 + next(3));
            if (s.IsMoveLegal(r, c, t))
                s.MakeMove(r, c, t);
            else
                s.Pass();   // may end the game: such positions are left out
        }
        if (!s.IsGameDone() && s.GetCurTeam() == 1)
            positions.push_back(s);
    }
    return positions;
}

// Counts the nodes below root and folds their moves, in tree order, into an
// FNV-1a hash.
void Walk(const CSearchNode* node, uint64_t& nodes, uint64_t& hash)
{
    for (const CSearchNode* child : node->m_children)
    {
        ++nodes;
        for (uint8_t byte : { child->m_row, child->m_col, child->m_isPass, static_cast<uint8_t>(0xff) })
            hash = (hash ^ byte) * 1099511628211ull;
        Walk(child, nodes, hash);
    }
}

// The machine may be shared: CPU time of this thread is steadier than the wall
// clock, which also counts the time other programs had the core.
double CpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

int Arg(int argc, char** argv, int index, int fallback)
{
    return argc > index ? std::atoi(argv[index]) : fallback;
}
}

int main(int argc, char** argv)
{
    const int depth = Arg(argc, argv, 1, 4);
    const int count = Arg(argc, argv, 2, 60);
    const int noise = Arg(argc, argv, 3, 0);
    const int repeats = std::max(1, Arg(argc, argv, 4, 5));
    if (depth < 1 || count < 1 || noise < 0 || noise > 1000)
    {
        std::fprintf(stderr, "usage: %s [depth>=1] [positions>=1] [noise 0..1000] [repeats]\n", argv[0]);
        return 2;
    }
    g_searchDepth = depth;
    g_evalNoise = noise;

    const std::vector<CGameState> positions = MakePositions(count);
    uint64_t nodes = 0, signature = 14695981039346656037ull;
    double wallMs = 0, cpuMs = 0, slowestWall = 0, slowestCpu = 0;
    for (const CGameState& position : positions)
    {
        double bestWall = 1e300, bestCpu = 1e300;
        for (int run = 0; run < repeats; ++run)
        {
            CRandomTable::GetInstance()->FillFromSeed(1);
            uint64_t treeNodes = 0, treeHash = signature;

            // One opponent move as the game makes it: copy, search, free.
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = CpuMs();
            CSearchNode* root = new CSearchNode(new CGameState(position));
            StatePool pool;
            const CSearchNode* move = ChooseMove(root, &pool);
            const double cpuSearched = CpuMs();
            const auto searched = std::chrono::steady_clock::now();
            Walk(root, treeNodes, treeHash);   // not timed
            if (!move)
            {
                std::fprintf(stderr, "no move found\n");
                return 1;
            }
            const auto freeing = std::chrono::steady_clock::now();
            const double cpuFreeing = CpuMs();
            delete root;
            const double cpuEnd = CpuMs();
            const auto end = std::chrono::steady_clock::now();

            const double wall = std::chrono::duration<double, std::milli>((searched - start) + (end - freeing)).count();
            bestWall = std::min(bestWall, wall);
            bestCpu = std::min(bestCpu, (cpuSearched - cpuStart) + (cpuEnd - cpuFreeing));
            if (run == repeats - 1)
            {
                nodes += treeNodes;
                signature = treeHash;
            }
        }
        wallMs += bestWall;
        cpuMs += bestCpu;
        slowestWall = std::max(slowestWall, bestWall);
        slowestCpu = std::max(slowestCpu, bestCpu);
    }

    std::printf("positions %d  depth %d  noise %d  (best of %d runs each)\n", count, depth, noise, repeats);
    std::printf("nodes %llu\n", static_cast<unsigned long long>(nodes));
    std::printf("wall: ms %.1f  nodes/s %.0f  slowest move %.2f ms\n", wallMs, nodes / (wallMs / 1000), slowestWall);
    std::printf("cpu:  ms %.1f  nodes/s %.0f  slowest move %.2f ms\n", cpuMs, nodes / (cpuMs / 1000), slowestCpu);
    std::printf("signature %016llx\n", static_cast<unsigned long long>(signature));
    return 0;
}
