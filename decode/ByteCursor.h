#pragma once
#include <cstddef>
#include <span>

// The one reader of message bytes. It never hands out a byte past the end:
// take(n) yields at most remaining() bytes, so an item that runs past the end
// comes back short instead of being read beyond the buffer.
class CByteCursor {
public:
    CByteCursor(const unsigned char* pData, std::size_t nSize)
        : m_pData(pData ? pData : kNothing), m_nSize(pData ? nSize : 0) {}

    std::size_t remaining() const { return m_nSize - m_nPos; }
    std::size_t offset() const { return m_nPos; }
    // The next byte without consuming it; 0 when nothing is left.
    unsigned char peek() const { return remaining() ? m_pData[m_nPos] : 0; }
    // Consumes min(n, remaining()) bytes and returns them.
    std::span<const unsigned char> take(std::size_t n) {
        const std::size_t nTake = n < remaining() ? n : remaining();
        const std::span<const unsigned char> bytes(m_pData + m_nPos, nTake);
        m_nPos += nTake;
        return bytes;
    }

private:
    static constexpr unsigned char kNothing[1] = {0};
    const unsigned char* m_pData;
    std::size_t m_nSize;
    std::size_t m_nPos = 0;
};
