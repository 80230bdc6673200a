#include "decode/WireItems.h"

#include <charconv>

#include "decode/ByteCursor.h"
#include "model/FormatTable.h"

namespace {

constexpr std::size_t kHeaderSize = 10;
constexpr std::size_t kFullBlock = 254;

std::string Num(std::uint64_t n) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, n);
    return std::string(buf, res.ptr);
}

// Stops the walk before any body byte is read: a header cut short, a single
// block that is not the last of its message, or no body at all.
bool NoBody(const unsigned char* pData, std::size_t nSize, SWireMessage& msg) {
    if (nSize < kHeaderSize) {
        msg.damage.push_back({0, "header cut short: " + Num(nSize) + " of 10 bytes"});
        return true;
    }
    const bool bEBit = pData[4] & 0x80;
    const unsigned nBlock = ((pData[4] & 0x7Fu) << 8) | pData[5];
    if (!bEBit && nBlock != 0 && nSize == kFullBlock) {
        msg.damage.push_back(
            {kHeaderSize, "block " + Num(nBlock) + " of a longer message: body not decoded"});
        return true;
    }
    return nSize == kHeaderSize;
}

class CWireWalk {
public:
    CWireWalk(const unsigned char* pData, std::size_t nSize, SWireMessage& msg)
        : m_cursor(pData + kHeaderSize, nSize - kHeaderSize), m_msg(msg) {}

    void Run() {
        while (Step()) {
        }
        for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
            const SWireItem& list = m_msg.items[static_cast<std::size_t>(*it)];
            if (list.nPresent < list.nLength)
                Note(list.nOffset, "list ends after " + Num(list.nPresent) + " of " +
                                       Num(list.nLength) + " items");
        }
    }

private:
    std::size_t Offset() const { return kHeaderSize + m_cursor.offset(); }
    void Note(std::size_t nOffset, std::string strText) {
        m_msg.damage.push_back({nOffset, std::move(strText)});
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
        if (m_cursor.remaining() == 0) return false;
        if (m_cursor.peek() == 0x00) {
            Note(Offset(),
                 "a 0x00 byte ends the body: " + Num(m_cursor.remaining()) + " bytes ignored");
            return false;
        }
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
            Note(item.nOffset, "item cut short in its length bytes");
            if (!m_open.empty()) ++m_msg.items[static_cast<std::size_t>(m_open.back())].nPresent;
            m_msg.items.push_back(item);
            return false;
        }
        if (item.nFormat == kFormatList) {
            m_open.push_back(static_cast<int>(m_msg.items.size()));
            m_msg.items.push_back(item);
            return true;
        }
        return Data(item);
    }

    bool Data(SWireItem& item) {
        item.nPresent = m_cursor.take(item.nLength).size();
        const SFormat* pFormat = FindFormat(item.nFormat);
        if (!pFormat)
            Note(item.nOffset,
                 "unknown format code " + Num(static_cast<unsigned>(item.nFormat)) + " skipped");
        else if (item.nPresent % static_cast<std::size_t>(pFormat->nWireWidth) != 0)
            Note(item.nOffset, Num(item.nPresent % static_cast<std::size_t>(pFormat->nWireWidth)) +
                                   " bytes after the last whole element ignored");
        if (!m_open.empty()) ++m_msg.items[static_cast<std::size_t>(m_open.back())].nPresent;
        m_msg.items.push_back(item);
        if (item.nPresent == item.nLength) return true;
        Note(item.nOffset,
             "item cut short: " + Num(item.nPresent) + " of " + Num(item.nLength) + " data bytes");
        return false;
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
    if (!pData) nSize = 0;
    if (NoBody(pData, nSize, msg)) return msg;
    CWireWalk(pData, nSize, msg).Run();
    return msg;
}
