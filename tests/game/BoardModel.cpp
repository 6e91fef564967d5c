#include "BoardModel.h"

#include <cmath>

BoardModel::BoardModel(const CGameState& state)
{
    std::vector<double> x, y;
    for (uint32_t r = 0; r < state.GetNumRows(); ++r)
        for (uint32_t c = 0; c < state.GetRowLength(r); ++c)
        {
            cells.emplace_back(r, c);
            x.push_back(state.GetRowOffset(r) + c);
            y.push_back(r * std::sqrt(3.0) / 2);
        }
    const int n = static_cast<int>(cells.size());
    auto touch = [&](int a, int b) { return std::fabs(std::hypot(x[a] - x[b], y[a] - y[b]) - 1) < 1e-6; };
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            for (int c = b + 1; c < n; ++c)
                if (touch(a, b) && touch(b, c) && touch(a, c))
                    triangles.push_back({ a, b, c });
}

int BoardModel::CellNumber(int row, int col) const
{
    for (size_t i = 0; i < cells.size(); ++i)
        if (cells[i] == std::make_pair(row, col))
            return static_cast<int>(i);
    return -1;
}

int BoardModel::TrianglesOwnedBy(const CGameState& state, int team) const
{
    int count = 0;
    for (const auto& t : triangles)
    {
        bool all = true;
        for (int i : t)
            all = all && state.GetCellOwner(cells[i].first, cells[i].second) == team;
        count += all;
    }
    return count;
}

std::string Literal(const std::string& text)
{
    std::string out;
    for (char ch : text)
    {
        if (std::string("\\^$.|?*+()[]{}").find(ch) != std::string::npos)
            out += '\\';
        out += ch;
    }
    return out;
}
