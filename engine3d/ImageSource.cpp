#include "engine3d/ImageSource.h"

#include <cstring>

bool CImageSource::Read(void* destination, size_t count)
{
    if (count > Remaining())
        return false;
    if (count == 0)
        return true;
    if (m_data) {
        std::memcpy(destination, m_data + m_position, count);
        m_position += static_cast<uint32_t>(count);
        return true;
    }
    size_t got = m_file ? fread(destination, 1, count, m_file) : 0;
    m_position += static_cast<uint32_t>(got);
    return got == count;
}
