#include "render/HeaderText.h"

#include "render/MessageNames.h"
#include "render/NumberText.h"

namespace {

std::string Decimal(std::uint64_t v) {
    std::string s;
    AppendUnsigned(s, v);
    return s;
}

std::string Hex(std::uint64_t v, int nDigits) {
    std::string s;
    AppendHex(s, v, nDigits);
    return s;
}

// Session types are defined for PType 0 (SECS-II) only.
std::string STypeText(int nPType, int nSType) {
    std::string s = Decimal(static_cast<std::uint64_t>(nSType));
    const char* szName = nPType == 0 ? HsmsSTypeName(nSType) : nullptr;
    if (szName) s = s + " (" + szName + ")";
    return s;
}

std::string StyleByteText(const std::vector<SDiagnostic>& findings) {
    for (const SDiagnostic& d : findings) {
        if (d.eKind != EDiagnostic::kStyleByte) continue;
        std::string s = Hex(d.nValue, 2);
        s += d.nPresent ? (d.nValue == '0' ? " \"0\" bracket style" : " \"1\" column style")
                        : " (no effect)";
        s += " at offset ";
        AppendOffset(s, d.nOffset);
        return s;
    }
    return "none";
}

}  // namespace

std::string MessageNameText(int nStream, int nFunction) {
    const SMessageName* p = FindMessageName(nStream, nFunction);
    if (!p) return {};
    std::string s = p->szName;
    if (*p->szMnemonic) s = s + " (" + p->szMnemonic + ")";
    return s;
}

std::vector<SFieldLine> HeaderFieldLines(const SHeaderFields& h,
                                         const std::vector<SDiagnostic>& findings,
                                         std::size_t nFileSize) {
    using U = std::uint64_t;
    std::vector<SFieldLine> lines = {
        {"stream", Decimal(U(h.nStream))},
        {"function", Decimal(U(h.nFunction))},
    };
    const std::string strName = MessageNameText(h.nStream, h.nFunction);
    if (!strName.empty()) lines.push_back({"name", strName});
    const std::vector<SFieldLine> more = {
        {"w-bit", Decimal(U(h.bWBit))},
        {"r-bit", Decimal(U(h.bRBit))},
        {"device id", Decimal(U(h.nDeviceId))},
        {"e-bit", Decimal(U(h.bEBit))},
        {"block number", Decimal(U(h.nBlock))},
        {"system bytes", Hex(h.dwSystemBytes, 8)},
        {"hsms session id", Hex(U(h.nSessionId), 4)},
        {"hsms header byte 2", Hex(U(h.nByte2), 2)},
        {"hsms header byte 3", Hex(U(h.nByte3), 2)},
        {"hsms ptype", Decimal(U(h.nPType))},
        {"hsms stype", STypeText(h.nPType, h.nSType)},
        {"header bytes", Decimal(U(h.nPresent))},
        {"file size", Decimal(U(nFileSize))},
        {"style byte", StyleByteText(findings)},
    };
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

std::string FieldLinesText(const std::vector<SFieldLine>& lines) {
    std::string out;
    for (const SFieldLine& l : lines) out += l.strName + ": " + l.strValue + '\n';
    return out;
}
