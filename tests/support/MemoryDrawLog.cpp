#include "tests/support/MemoryDrawLog.h"

void CMemoryFailures::FailNth(MemoryOp op, uint32_t nth)
{
    m_failAt[Index(op)] = nth == 0 ? 0 : m_calls[Index(op)] + nth;
}

void CMemoryFailures::FailAlways(MemoryOp op) { m_always[Index(op)] = true; }

void CMemoryFailures::Clear()
{
    m_failAt.fill(0);
    m_always.fill(false);
}

bool CMemoryFailures::ShouldFail(MemoryOp op)
{
    const size_t i = Index(op);
    ++m_calls[i];
    if (m_always[i])
        return true;
    if (m_failAt[i] != 0 && m_calls[i] == m_failAt[i]) {
        m_failAt[i] = 0;
        return true;
    }
    return false;
}
