#include "render/DiagnosticText.h"

#include "model/FormatTable.h"
#include "render/NumberText.h"

namespace {

// "U4 item", or "item of unknown format 0x05" for a code outside the table.
void AppendItem(std::string& out, std::uint32_t bFormat) {
    const int nCode = FormatCodeOfByte(static_cast<unsigned char>(bFormat));
    if (nCode == kFormatList) {
        out += "list";
        return;
    }
    if (const SFormat* pFormat = FindFormat(nCode)) {
        out += pFormat->szItem;
        out += " item";
        return;
    }
    out += "item of unknown format byte ";
    AppendHex(out, bFormat, 2);
}

void AppendStyleByte(std::string& out, const SDiagnostic& d) {
    out += "style byte ";
    if (d.nPresent) {
        out += '"';
        out += static_cast<char>(d.nValue);
        out += d.nValue == '0' ? "\" selects the bracket style" : "\" selects the column style";
        return;
    }
    AppendHex(out, d.nValue, 2);
    out += " has no effect";
}

void AppendUnknown(std::string& out, const SDiagnostic& d) {
    AppendItem(out, d.nValue);
    out += " skipped: declares ";
    AppendCount(out, d.nDeclared, "data byte");
    out += ", ";
    AppendUnsigned(out, d.nPresent);
    out += " present";
}

void AppendCut(std::string& out, const SDiagnostic& d, const char* szWhat) {
    out += "data ends inside ";
    AppendItem(out, d.nValue);
    out += ": declares ";
    AppendCount(out, d.nDeclared, szWhat);
    out += ", ";
    AppendUnsigned(out, d.nPresent);
    out += " present";
}

}  // namespace

std::string DiagnosticText(const SDiagnostic& d) {
    std::string out;
    switch (d.eKind) {
        case EDiagnostic::kCleanEnd:
            out = "items end cleanly";
            break;
        case EDiagnostic::kStyleByte:
            AppendStyleByte(out, d);
            break;
        case EDiagnostic::kHeaderOnly:
            out = "header only, no body";
            break;
        case EDiagnostic::kTerminator:
            out = "0x00 ends the body; ";
            AppendCount(out, d.nPresent, "byte");
            out += " after it ignored";
            break;
        case EDiagnostic::kDataCut:
            AppendCut(out, d, "data byte");
            break;
        case EDiagnostic::kLengthCut:
            AppendCut(out, d, "length byte");
            break;
        case EDiagnostic::kListOpen:
            out = "data ends inside the list at offset ";
            AppendOffset(out, d.nValue);
            out += ": declares ";
            AppendCount(out, d.nDeclared, "item");
            out += ", got ";
            AppendUnsigned(out, d.nPresent);
            break;
        case EDiagnostic::kUnknownFormat:
            AppendUnknown(out, d);
            break;
        case EDiagnostic::kPartialElement:
            AppendItem(out, d.nValue);
            out += " of ";
            AppendCount(out, d.nDeclared, "byte");
            out += ": ";
            AppendCount(out, d.nPresent, "byte");
            out += " after the last whole element ignored";
            break;
        case EDiagnostic::kNonFinalBlock:
            out = "non-final block of a multi-block message (E-bit 0): body not decoded";
            break;
        case EDiagnostic::kShortFile:
            out = "file shorter than the header: ";
            AppendUnsigned(out, d.nPresent);
            out += " of ";
            AppendCount(out, d.nDeclared, "byte");
            break;
    }
    return out;
}

std::string DiagnosticLine(const std::string& strFile, const SDiagnostic& d) {
    std::string out = strFile;
    out += ": offset ";
    AppendOffset(out, d.nOffset);
    out += ": ";
    out += DiagnosticText(d);
    return out;
}
