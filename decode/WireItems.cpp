#include "decode/WireItems.h"

#include "decode/ByteCursor.h"
#include "model/FormatTable.h"

namespace {

constexpr std::size_t kHeaderSize = 10;
constexpr std::size_t kFullBlock = 254;

// A header cut short, a single block that is not the last of its message,
// or no body at all: the decoder reads no item either.
bool NoBody(const unsigned char* pData, std::size_t nSize) {
    if (nSize <= kHeaderSize) return true;
    const bool bEBit = pData[4] & 0x80;
    const unsigned nBlock = ((pData[4] & 0x7Fu) << 8) | pData[5];
    return !bEBit && nBlock != 0 && nSize == kFullBlock;
}

class CWireWalk {
public:
    CWireWalk(const unsigned char* pData, std::size_t nSize, SWireMessage& msg)
        : m_cursor(pData + kHeaderSize, nSize - kHeaderSize), m_msg(msg) {}

    void Run() {
        while (Step()) {
        }
    }

private:
    std::size_t Offset() const { return kHeaderSize + m_cursor.offset(); }

    void Add(const SWireItem& item) {
        if (!m_open.empty()) ++m_msg.items[static_cast<std::size_t>(m_open.back())].nPresent;
        m_msg.items.push_back(item);
    }

    void CloseComplete() {
        while (!m_open.empty()) {
            const SWireItem& list = m_msg.items[static_cast<std::size_t>(m_open.back())];
            if (list.nPresent < list.nLength) return;
            m_open.pop_back();
            if (!m_open.empty()) ++m_msg.items[static_cast<std::size_t>(m_open.back())].nPresent;
        }
    }

    bool Step() {
        CloseComplete();
        if (m_cursor.remaining() == 1) {
            m_msg.nStyleByte = m_cursor.take(1)[0];
            return false;
        }
        if (m_cursor.remaining() == 0 || m_cursor.peek() == 0x00) return false;
        SWireItem item;
        item.nOffset = Offset();
        const unsigned char b = m_cursor.take(1)[0];
        item.nFormat = FormatCodeOfByte(b);
        item.nLengthBytes = b & 0x03;
        // Missing length bytes count as zero, as the decoder reads them.
        const auto length = m_cursor.take(static_cast<std::size_t>(item.nLengthBytes));
        unsigned char padded[3] = {0, 0, 0};
        for (std::size_t i = 0; i < length.size(); ++i) padded[i] = length[i];
        item.nLength = static_cast<std::uint32_t>(ReadBigEndian(padded, item.nLengthBytes));
        item.nDataOffset = Offset();
        item.nParent = m_open.empty() ? -1 : m_open.back();
        item.nDepth = static_cast<int>(m_open.size());
        if (length.size() < static_cast<std::size_t>(item.nLengthBytes)) {
            Add(item);
            return false;
        }
        if (item.nFormat == kFormatList) {
            m_open.push_back(static_cast<int>(m_msg.items.size()));
            m_msg.items.push_back(item);
            return true;
        }
        item.nPresent = m_cursor.take(item.nLength).size();
        Add(item);
        return item.nPresent == item.nLength;
    }

    CByteCursor m_cursor;
    SWireMessage& m_msg;
    std::vector<int> m_open;  // indices of the lists not yet complete, outermost first
};

}  // namespace

std::uint64_t ReadBigEndian(const unsigned char* p, int n) {
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

std::size_t WireElementCount(const SWireItem& item) {
    const SFormat* pFormat = FindFormat(item.nFormat);
    if (!pFormat || pFormat->nWireWidth == 0) return 0;
    return item.nPresent / static_cast<std::size_t>(pFormat->nWireWidth);
}

SWireMessage ReadWireItems(const unsigned char* pData, std::size_t nSize) {
    SWireMessage msg;
    if (!pData || NoBody(pData, nSize)) return msg;
    CWireWalk(pData, nSize, msg).Run();
    return msg;
}
