#include "render/ItemId.h"

#include <charconv>

#include "model/Bytes.h"
#include "model/FormatTable.h"

namespace {

bool IsSigned(int nFormat) {
    return nFormat == kFormatI1 || nFormat == kFormatI2 || nFormat == kFormatI4 ||
           nFormat == kFormatI8;
}

bool IsUnsigned(int nFormat) {
    return nFormat == kFormatU1 || nFormat == kFormatU2 || nFormat == kFormatU4 ||
           nFormat == kFormatU8;
}

std::string Decimal(const SItemView& item) {
    const int nWidth = static_cast<int>(item.data.size());
    const std::uint64_t nBits = ReadBigEndian(item.data.data(), nWidth);
    char buf[24];
    std::to_chars_result r;
    if (IsSigned(item.nFormat)) {
        // Sign-extend from the item's width.
        const int nShift = 64 - 8 * nWidth;
        const auto n = static_cast<std::int64_t>(nBits << nShift) >> nShift;
        r = std::to_chars(buf, buf + sizeof buf, n);
    } else {
        r = std::to_chars(buf, buf + sizeof buf, nBits);
    }
    return std::string(buf, r.ptr);
}

bool IsPrintable(unsigned char c) { return c >= 0x20 && c < 0x7F; }

}  // namespace

bool ItemIdText(const SItemView& item, std::string& strId) {
    if (IsSigned(item.nFormat) || IsUnsigned(item.nFormat)) {
        if (item.data.size() != static_cast<std::size_t>(FindFormat(item.nFormat)->nWireWidth))
            return false;
        strId = Decimal(item);
        return true;
    }
    if (item.nFormat != kFormatAscii || item.data.empty()) return false;
    for (const unsigned char c : item.data)
        if (!IsPrintable(c)) return false;
    strId.assign(item.data.begin(), item.data.end());
    return true;
}

std::string ItemNameText(const SItemView& item) {
    std::string str;
    if (item.nFormat != kFormatAscii && item.nFormat != kFormatJis8) {
        ItemIdText(item, str);
        return str;
    }
    for (const unsigned char c : item.data)
        str += static_cast<char>(c < 0x20 || c == 0x7F ? ' ' : c);
    const std::size_t nFirst = str.find_first_not_of(' ');
    if (nFirst == std::string::npos) return {};
    return str.substr(nFirst, str.find_last_not_of(' ') - nFirst + 1);
}
