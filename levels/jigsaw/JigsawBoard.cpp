#include "levels/jigsaw/JigsawBoard.h"

#include <algorithm>
#include <new>

#include "core/Random.h"

namespace {

// Redraws of one random choice before the step gives up.
constexpr int kMaxDraws = 64;
constexpr int kMaxSeries = 16;

bool HasDirection(uint16_t flags) { return (flags & (kJigsawHorizontal | kJigsawVertical)) != 0; }

// Wraps i + k into [0, n).
uint32_t Wrap(int64_t i, int64_t k, int64_t n) { return static_cast<uint32_t>(((i + k) % n + n) % n); }

} // namespace

bool JigsawRulesPlayable(const JigsawRules& rules)
{
    const uint32_t n = uint32_t{rules.columns} * rules.rows;
    if (n == 0 || n > kJigsawMaxCells || (rules.holePiece != kNoHole && rules.holePiece >= n))
        return false;
    const uint16_t flags = rules.modeFlags;
    if (flags == 0)
        return true;
    const bool slideBranch = (flags & kJigsawSlide) && rules.holePiece != kNoHole;
    const bool kindZero = slideBranch ? HasDirection(flags) && n > 1 : (flags & kJigsawShift) && HasDirection(flags);
    const bool anyKind = kindZero || ((flags & kJigsawSwap) && n > 1) || (flags & (kJigsawRotate | kJigsawFlip));
    return anyKind && rules.shuffleCount > 0;
}

Result CJigsawBoard::Reset(const JigsawRules& rules)
{
    if (!JigsawRulesPlayable(rules))
        return RES_FAIL;
    const uint32_t n = uint32_t{rules.columns} * rules.rows;
    if (n != m_nCells) {
        m_pCells.reset(new (std::nothrow) JigsawCell[n]);
        if (!m_pCells) {
            m_nCells = 0;
            return RES_OUT_OF_MEMORY;
        }
    }
    m_rules = rules;
    m_nCells = n;
    Solve();
    return RES_OK;
}

bool CJigsawBoard::IsSolved() const
{
    for (uint32_t i = 0; i < m_nCells; ++i) {
        const JigsawCell& cell = m_pCells[i];
        if (i != m_rules.holePiece && (cell.piece != i || cell.flipped || cell.rotation))
            return false;
    }
    return true;
}

void CJigsawBoard::Solve()
{
    for (uint32_t i = 0; i < m_nCells; ++i)
        m_pCells[i] = JigsawCell{static_cast<uint16_t>(i), 0, 0, 0, 0};
    m_nHoleCell = m_rules.holePiece != kNoHole ? m_rules.holePiece : kNoCell;
}

void CJigsawBoard::Refresh()
{
    m_nHoleCell = kNoCell;
    for (uint32_t i = 0; i < m_nCells && m_rules.holePiece != kNoHole; ++i) {
        if (IsHole(i)) {
            m_nHoleCell = i;
            return;
        }
    }
}

bool CJigsawBoard::FindHole(uint32_t* column, uint32_t* row) const
{
    // Pieces are never doubled, so the one cell holding the hole is also the first.
    if (m_nHoleCell >= m_nCells)
        return false;
    *column = m_nHoleCell % Columns();
    *row = m_nHoleCell / Columns();
    return true;
}

uint8_t CJigsawBoard::HoleNeighbours(uint32_t column, uint32_t row) const
{
    uint8_t marks = 0;
    if (row > 0 && IsHole(Index(column, row - 1)))
        marks |= kSlideUp;
    if (row + 1 < Rows() && IsHole(Index(column, row + 1)))
        marks |= kSlideDown;
    if (column > 0 && IsHole(Index(column - 1, row)))
        marks |= kSlideLeft;
    if (column + 1 < Columns() && IsHole(Index(column + 1, row)))
        marks |= kSlideRight;
    return marks;
}

bool CJigsawBoard::SlideIntoHole(uint32_t column, uint32_t row)
{
    const uint32_t index = Index(column, row);
    const uint8_t marks = HoleNeighbours(column, row);
    uint32_t other = index;
    if (Has(kJigsawVertical) && (marks & (kSlideUp | kSlideDown)))
        other = (marks & kSlideUp) ? index - Columns() : index + Columns();
    else if (Has(kJigsawHorizontal) && (marks & (kSlideLeft | kSlideRight)))
        other = (marks & kSlideLeft) ? index - 1 : index + 1;
    if (other == index)
        return false;
    Swap(index, other);
    return true;
}

void CJigsawBoard::Swap(uint32_t a, uint32_t b)
{
    if (a >= m_nCells || b >= m_nCells)
        return;
    std::swap(m_pCells[a], m_pCells[b]);
    if (m_nHoleCell == a || m_nHoleCell == b)
        m_nHoleCell = m_nHoleCell == a ? b : a;
}

void CJigsawBoard::Rotate(uint32_t index)
{
    if (JigsawCell* cell = Cell(index))
        cell->rotation = static_cast<uint8_t>((cell->rotation + 1) & 3);
}

void CJigsawBoard::Flip(uint32_t index)
{
    if (JigsawCell* cell = Cell(index))
        cell->flipped = !cell->flipped;
}

void CJigsawBoard::ShiftRow(uint32_t row, int32_t k)
{
    if (row >= Rows())
        return;
    JigsawCell line[256];
    std::copy_n(&m_pCells[Index(0, row)], Columns(), line);
    for (uint32_t i = 0; i < Columns(); ++i)
        m_pCells[Index(Wrap(i, k, Columns()), row)] = line[i];
    if (m_nHoleCell < m_nCells && m_nHoleCell / Columns() == row)
        m_nHoleCell = Index(Wrap(m_nHoleCell % Columns(), k, Columns()), row);
}

void CJigsawBoard::ShiftColumn(uint32_t column, int32_t k)
{
    if (column >= Columns())
        return;
    JigsawCell line[256];
    for (uint32_t i = 0; i < Rows(); ++i)
        line[i] = m_pCells[Index(column, i)];
    for (uint32_t i = 0; i < Rows(); ++i)
        m_pCells[Index(column, Wrap(i, k, Rows()))] = line[i];
    if (m_nHoleCell < m_nCells && m_nHoleCell % Columns() == column)
        m_nHoleCell = Index(column, Wrap(m_nHoleCell / Columns(), k, Rows()));
}

void CJigsawBoard::ClearMarks()
{
    for (uint32_t i = 0; i < m_nCells; ++i)
        m_pCells[i].slideDirections = 0;
}

void CJigsawBoard::MarkSlide(uint32_t column, uint32_t row)
{
    if (column >= Columns() || row >= Rows())
        return;
    m_pCells[Index(column, row)].slideDirections = HoleNeighbours(column, row);
    if (m_pCells[Index(column, row)].slideDirections)
        return;
    // From the first cell beside the hole on, every cell up to the pressed one moves towards it.
    bool on = false;
    for (uint32_t r = 0; r <= row; ++r) {
        on = on || (r > 0 && IsHole(Index(column, r - 1)));
        if (on)
            m_pCells[Index(column, r)].slideDirections = kSlideUp;
    }
    on = false;
    for (uint32_t r = Rows(); r-- > row;) {
        on = on || (r + 1 < Rows() && IsHole(Index(column, r + 1)));
        if (on)
            m_pCells[Index(column, r)].slideDirections = kSlideDown;
    }
    on = false;
    for (uint32_t c = 0; c <= column; ++c) {
        on = on || (c > 0 && IsHole(Index(c - 1, row)));
        if (on)
            m_pCells[Index(c, row)].slideDirections = kSlideLeft;
    }
    on = false;
    for (uint32_t c = Columns(); c-- > column;) {
        on = on || (c + 1 < Columns() && IsHole(Index(c + 1, row)));
        if (on)
            m_pCells[Index(c, row)].slideDirections = kSlideRight;
    }
}

bool CJigsawBoard::SlideLine(uint32_t column, uint32_t row, bool horizontal, int32_t direction)
{
    uint32_t hc = 0, hr = 0;
    if (!FindHole(&hc, &hr))
        hc = hr = 0;
    const uint32_t hole = horizontal ? hc : hr;
    const uint32_t pressed = horizontal ? column : row;
    const uint32_t length = horizontal ? Columns() : Rows();
    if ((horizontal ? row != hr : column != hc) || pressed >= length)
        return false;
    const uint32_t step = horizontal ? 1 : Columns();
    const uint32_t lineStart = horizontal ? Index(0, hr) : hc;
    bool moved = false;
    if (direction < 0) {
        for (uint32_t i = hole + 1; i <= pressed && hole + 1 < length; ++i, moved = true)
            Swap(lineStart + i * step, lineStart + (i - 1) * step);
    } else {
        for (uint32_t i = hole; i-- > pressed && hole > 0; moved = true)
            Swap(lineStart + i * step, lineStart + (i + 1) * step);
    }
    return moved;
}

bool CJigsawBoard::Shuffle(CRandomMT& random)
{
    // A move that finds nothing to do after all its draws will not find one later either.
    bool stuck = false;
    for (int series = 0; series < kMaxSeries && !stuck && m_rules.modeFlags && IsSolved(); ++series) {
        for (uint32_t move = 0; move < m_rules.shuffleCount && !stuck; ++move)
            stuck = !RandomMove(random);
    }
    return m_rules.modeFlags == 0 || !IsSolved();
}

bool CJigsawBoard::RandomMove(CRandomMT& random)
{
    for (int draw = 0; draw < kMaxDraws; ++draw) {
        switch (RandomIndex(random, 4)) {
        case 0:
            if (Has(kJigsawSlide) && m_rules.holePiece != kNoHole) {
                if (RandomSlide(random))
                    return true;
            } else if (Has(kJigsawShift) && RandomShift(random)) {
                return true;
            }
            break;
        case 1:
            if (Has(kJigsawSwap)) {
                for (int pair = 0; pair < kMaxDraws; ++pair) {
                    const uint32_t a = RandomIndex(random, m_nCells);
                    const uint32_t b = RandomIndex(random, m_nCells);
                    if (a != b) {
                        Swap(a, b);
                        return true;
                    }
                }
            }
            break;
        case 2:
            if (Has(kJigsawRotate)) {
                Rotate(RandomIndex(random, m_nCells));
                return true;
            }
            break;
        default:
            if (Has(kJigsawFlip)) {
                Flip(RandomIndex(random, m_nCells));
                return true;
            }
            break;
        }
    }
    return false;
}

bool CJigsawBoard::RandomSlide(CRandomMT& random)
{
    uint32_t hc = 0, hr = 0;
    if (!FindHole(&hc, &hr))
        return false;
    const uint32_t hole = Index(hc, hr);
    for (int draw = 0; draw < kMaxDraws; ++draw) {
        const uint32_t d = RandomIndex(random, 4);
        const bool vertical = d < 2;
        if (!Has(vertical ? kJigsawVertical : kJigsawHorizontal))
            continue;
        uint32_t other = hole;
        if (d == 0 && hr > 0)
            other = hole - Columns();
        else if (d == 1 && hr + 1 < Rows())
            other = hole + Columns();
        else if (d == 2 && hc > 0)
            other = hole - 1;
        else if (d == 3 && hc + 1 < Columns())
            other = hole + 1;
        if (other != hole && m_pCells[other].piece != hole) {
            Swap(hole, other);
            return true;
        }
    }
    return false;
}

bool CJigsawBoard::RandomShift(CRandomMT& random)
{
    const uint32_t s = RandomIndex(random, 4);
    if (s < 2) {
        if (!Has(kJigsawVertical))
            return false;
        const uint32_t column = RandomIndex(random, Columns());
        ShiftColumn(column, static_cast<int32_t>(1 + RandomIndex(random, Columns() - 1)));
        return true;
    }
    if (!Has(kJigsawHorizontal))
        return false;
    const uint32_t row = RandomIndex(random, Rows());
    ShiftRow(row, static_cast<int32_t>(1 + RandomIndex(random, Rows() - 1)));
    return true;
}
