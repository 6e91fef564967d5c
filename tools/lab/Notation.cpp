#include "Notation.h"

#include "game/CGameState.h"

#include <cassert>
#include <cctype>
#include <cstdio>
#include <vector>

const char* const CNotation::kStart = "---/----/-----/----/--- g 0";

namespace
{
const uint32_t kRowLengths[NotationPosition::kRows] = { 3, 4, 5, 4, 3 };
const char* const kTeamNames[2] = { "Gold", "Silver" };

// Shows one input character in a message, also when it is not printable.
std::string Shown(char ch)
{
    unsigned char u = static_cast<unsigned char>(ch);
    if (std::isprint(u))
        return std::string("'") + ch + "'";
    char buf[16];
    std::snprintf(buf, sizeof buf, "byte 0x%02x", u);
    return buf;
}

std::string Shown(const std::string& text)
{
    std::string out = "'";
    for (char ch : text)
    {
        unsigned char u = static_cast<unsigned char>(ch);
        if (std::isprint(u))
            out += ch;
        else
        {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", u);
            out += buf;
        }
    }
    return out + "'";
}

std::vector<std::string> SplitFields(const std::string& text)
{
    std::vector<std::string> fields;
    std::string cur;
    for (char ch : text)
    {
        if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r')
        {
            if (!cur.empty())
                fields.push_back(cur);
            cur.clear();
        }
        else
            cur += ch;
    }
    if (!cur.empty())
        fields.push_back(cur);
    return fields;
}

std::string CellName(uint32_t row, uint32_t col)
{
    return "row " + std::to_string(row) + ", column " + std::to_string(col);
}

// Parses one row; cells are appended to pos from index first.
bool ParseRow(const std::string& text, uint32_t row, NotationPosition& pos, std::string& error)
{
    const uint32_t first = CNotation::RowIndex(row);
    uint32_t col = 0;
    size_t i = 0;
    while (i < text.size())
    {
        const char ch = text[i];
        uint8_t owner;
        if (ch == '-')
            owner = NotationPosition::kEmpty;
        else if (ch == 'g')
            owner = 0;
        else if (ch == 's')
            owner = 1;
        else
        {
            error = "row " + std::to_string(row) + ": unknown cell " + Shown(ch)
                  + " (expected '-', 'g<n>' or 's<n>')";
            return false;
        }
        ++i;

        unsigned count = 0;
        size_t digits = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        {
            if (count < 1000)
                count = count * 10 + static_cast<unsigned>(text[i] - '0');
            ++digits;
            ++i;
        }

        if (owner == NotationPosition::kEmpty)
        {
            if (digits > 0)
            {
                error = CellName(row, col) + ": an empty cell '-' takes no token count";
                return false;
            }
        }
        else if (digits == 0)
        {
            error = CellName(row, col) + ": " + Shown(ch) + " needs a token count, as in "
                  + ch + "1";
            return false;
        }
        else if (count == 0)
        {
            error = CellName(row, col) + ": a cell cannot hold 0 tokens (write '-' for an empty cell)";
            return false;
        }
        else if (count > CGameState::kStartTokens)
        {
            error = CellName(row, col) + ": " + (count >= 1000 ? std::string("over 999")
                                                               : std::to_string(count))
                  + " tokens on one cell, a team has only 19";
            return false;
        }

        if (col < kRowLengths[row])
        {
            pos.tokens[first + col] = static_cast<uint8_t>(owner == NotationPosition::kEmpty ? 0 : count);
            pos.owner[first + col] = owner;
        }
        ++col;
    }
    if (col != kRowLengths[row])
    {
        error = "row " + std::to_string(row) + " has " + std::to_string(col) + " cells, expected "
              + std::to_string(kRowLengths[row]);
        return false;
    }
    return true;
}
} // namespace

uint32_t CNotation::RowLength(uint32_t row)
{
    assert(row < NotationPosition::kRows);
    return kRowLengths[row];
}

uint32_t CNotation::RowIndex(uint32_t row)
{
    assert(row < NotationPosition::kRows);
    uint32_t index = 0;
    for (uint32_t r = 0; r < row; ++r)
        index += kRowLengths[r];
    return index;
}

bool CNotation::Parse(const std::string& text, NotationPosition& pos, std::string& error)
{
    pos = NotationPosition();
    const std::vector<std::string> fields = SplitFields(text);
    if (fields.size() != 3)
    {
        error = "a position has three fields 'CELLS TOMOVE PASSES', got "
              + std::to_string(fields.size());
        return false;
    }

    std::vector<std::string> rows;
    {
        std::string cur;
        for (char ch : fields[0])
        {
            if (ch == '/')
            {
                rows.push_back(cur);
                cur.clear();
            }
            else
                cur += ch;
        }
        rows.push_back(cur);
    }
    if (rows.size() != NotationPosition::kRows)
    {
        error = "the board has 5 rows separated by '/', got " + std::to_string(rows.size());
        return false;
    }
    for (uint32_t r = 0; r < NotationPosition::kRows; ++r)
        if (!ParseRow(rows[r], r, pos, error))
            return false;

    unsigned onBoard[2] = { 0, 0 };
    for (uint32_t i = 0; i < NotationPosition::kCells; ++i)
        if (pos.owner[i] < 2)
            onBoard[pos.owner[i]] += pos.tokens[i];
    for (int team = 0; team < 2; ++team)
        if (onBoard[team] > CGameState::kStartTokens)
        {
            error = std::string(kTeamNames[team]) + " has " + std::to_string(onBoard[team])
                  + " tokens on the board, at most 19";
            return false;
        }

    if (fields[1] == "g")
        pos.toMove = 0;
    else if (fields[1] == "s")
        pos.toMove = 1;
    else
    {
        error = "the team to move is 'g' or 's', got " + Shown(fields[1]);
        return false;
    }

    if (fields[2] == "0" || fields[2] == "1" || fields[2] == "2")
        pos.passes = static_cast<uint8_t>(fields[2][0] - '0');
    else
    {
        error = "the passes in a row are 0, 1 or 2, got " + Shown(fields[2]);
        return false;
    }
    return true;
}

std::string CNotation::Format(const NotationPosition& pos)
{
    std::string out;
    for (uint32_t r = 0; r < NotationPosition::kRows; ++r)
    {
        if (r > 0)
            out += '/';
        for (uint32_t c = 0; c < kRowLengths[r]; ++c)
        {
            const uint32_t i = RowIndex(r) + c;
            if (pos.owner[i] >= 2 || pos.tokens[i] == 0)
                out += '-';
            else
                out += (pos.owner[i] == 0 ? 'g' : 's') + std::to_string(pos.tokens[i]);
        }
    }
    out += pos.toMove == 0 ? " g " : " s ";
    out += std::to_string(pos.passes);
    return out;
}

NotationPosition CNotation::FromState(const CGameState& state)
{
    assert(state.GetNumRows() == NotationPosition::kRows && state.GetNumTeams() == 2);
    NotationPosition pos;
    for (uint32_t r = 0; r < NotationPosition::kRows; ++r)
        for (uint32_t c = 0; c < kRowLengths[r]; ++c)
        {
            const uint32_t i = RowIndex(r) + c;
            pos.tokens[i] = state.GetCellTokens(r, c);
            pos.owner[i] = state.GetCellOwner(r, c);
        }
    pos.toMove = state.GetCurTeam();
    pos.passes = state.GetNumPasses();
    return pos;
}

std::string CNotation::Format(const CGameState& state)
{
    return Format(FromState(state));
}

bool CNotation::ToState(const NotationPosition& pos, CGameState& state, std::string& error)
{
    assert(state.GetNumRows() == NotationPosition::kRows && state.GetNumTeams() == 2);
    assert(pos.toMove < 2 && pos.passes <= 2);
    state.Reset();

    const char* mover = kTeamNames[pos.toMove];

    int lastCell[2] = { -1, -1 };
    for (uint32_t i = 0; i < NotationPosition::kCells; ++i)
        if (pos.owner[i] < 2)
            lastCell[pos.owner[i]] = static_cast<int>(i);

    if (lastCell[0] < 0 && lastCell[1] < 0)
    {
        // No placement yet: every move so far was a pass, Gold's first.
        if (pos.toMove != pos.passes % 2)
        {
            error = std::string("no game reaches an empty board with ") + mover + " to move and "
                  + std::to_string(pos.passes) + (pos.passes == 1 ? " pass" : " passes");
            return false;
        }
        for (uint8_t p = 0; p < pos.passes; ++p)
            state.Pass();
        return true;
    }

    // Whoever placed last must own a cell: it still holds the placed tokens.
    // With 1 pass the team to move placed, then the other passed; with 0 or 2
    // the other team placed.
    const uint8_t last = pos.passes == 1 ? pos.toMove : static_cast<uint8_t>(1 - pos.toMove);
    if (lastCell[last] < 0)
    {
        error = std::string("no game reaches this position: with ") + mover + " to move and "
              + std::to_string(pos.passes) + (pos.passes == 1 ? " pass, " : " passes, ")
              + kTeamNames[last] + " placed last but owns no cell";
        return false;
    }

    std::vector<uint32_t> order;
    for (uint32_t i = 0; i < NotationPosition::kCells; ++i)
        if (pos.owner[i] < 2 && static_cast<int>(i) != lastCell[last])
            order.push_back(i);
    order.push_back(static_cast<uint32_t>(lastCell[last]));

    for (uint32_t i : order)
    {
        uint32_t row = 0;
        while (row + 1 < NotationPosition::kRows && RowIndex(row + 1) <= i)
            ++row;
        const uint32_t col = i - RowIndex(row);
        // The other team passes so that the cell's owner places on it; a
        // placement follows every such pass, so the game never ends here.
        if (state.GetCurTeam() != pos.owner[i])
            state.Pass();
        if (!state.IsMoveLegal(row, col, pos.tokens[i]))
        {
            error = "the rules refuse to place " + std::to_string(pos.tokens[i]) + " tokens on "
                  + CellName(row, col);
            return false;
        }
        state.MakeMove(row, col, pos.tokens[i]);
    }
    for (uint8_t p = 0; p < pos.passes; ++p)
        state.Pass();
    return true;
}

bool CNotation::ParseState(const std::string& text, CGameState& state, std::string& error)
{
    NotationPosition pos;
    return Parse(text, pos, error) && ToState(pos, state, error);
}
