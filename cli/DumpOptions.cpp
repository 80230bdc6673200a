#include "cli/DumpOptions.h"

#include "render/MessageStructures.h"
#include "render/SmlWriter.h"

namespace {

struct SStyleName {
    const char* szName;
    int nStyle;
};
constexpr SStyleName kStyles[] = {{"auto", -1}, {"bracket", 0}, {"column", 1}};

bool ParseStyle(const std::string& strValue, int& nStyle) {
    for (const SStyleName& s : kStyles) {
        if (strValue == s.szName) {
            nStyle = s.nStyle;
            return true;
        }
    }
    return false;
}

// "--name value" or "--name=value"; i moves past what was taken.
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& strName,
               std::string& strValue, bool& bMissing) {
    const std::string& a = args[i];
    bMissing = false;
    if (a == strName) {
        if (i + 1 >= args.size()) {
            bMissing = true;
            return true;
        }
        strValue = args[++i];
        return true;
    }
    if (a.compare(0, strName.size() + 1, strName + "=") == 0) {
        strValue = a.substr(strName.size() + 1);
        return true;
    }
    return false;
}

// The options seen, as bits: a mode's rule says which of them may join it.
enum EFlag : unsigned {
    kFlagStyle = 1u << 0,
    kFlagTree = 1u << 1,
    kFlagSave = 1u << 2,
    kFlagFromHex = 1u << 3,
    kFlagOutput = 1u << 4,
    kFlagSml = 1u << 5,
    kFlagFromSml = 1u << 6,
    kFlagJson = 1u << 7,
    kFlagHeader = 1u << 8,
    kFlagCheck = 1u << 9,
    kFlagImport = 1u << 10,
    kFlagOut = 1u << 11,
    kFlagPort = 1u << 12,
    kFlagControl = 1u << 13,
    kFlagDiff = 1u << 14,
    kFlagIgnoreHeader = 1u << 15,
    kFlagList = 1u << 16,
    kFlagFilter = 1u << 17,
    kFlagT3 = 1u << 18,
    kFlagIgnore = 1u << 19,
    kFlagDict = 1u << 20,
};

struct SFlagName {
    unsigned nFlag;
    const char* szName;
};
constexpr SFlagName kFlagNames[] = {
    {kFlagStyle, "--style"},      {kFlagTree, "--tree"},       {kFlagSave, "--save"},
    {kFlagFromHex, "--from-hex"}, {kFlagOutput, "--output"},   {kFlagSml, "--sml"},
    {kFlagFromSml, "--from-sml"}, {kFlagJson, "--json"},       {kFlagHeader, "--header"},
    {kFlagCheck, "--check"},      {kFlagImport, "--import"},   {kFlagOut, "--out"},
    {kFlagPort, "--port"},        {kFlagControl, "--control"}, {kFlagList, "--list"},
    {kFlagFilter, "--filter"},    {kFlagT3, "--t3"},           {kFlagDict, "--dict"},
};
constexpr SFlagName kDiffFlagNames[] = {
    {kFlagDiff, "--diff"},
    {kFlagIgnoreHeader, "--ignore-header"},
    {kFlagIgnore, "--ignore"},
};

// Options that only shape a mode of their own.
constexpr SFlagName kNeeds[] = {
    {kFlagOutput, "--from-hex or --from-sml"},
    {kFlagOut, "--import"},
    {kFlagPort, "--import or --list"},
    {kFlagFilter, "--list"},
    {kFlagT3, "--list"},
    {kFlagControl, "--import"},
    {kFlagIgnoreHeader, "--diff"},
    {kFlagIgnore, "--diff"},
    {kFlagDict, "--sml, --json or --list"},
};

const char* NameOf(unsigned nFlag) {
    for (const SFlagName& f : kFlagNames)
        if (f.nFlag == nFlag) return f.szName;
    for (const SFlagName& f : kDiffFlagNames)
        if (f.nFlag == nFlag) return f.szName;
    return "";
}

// FILE operands a mode takes: any number (at least one), at most one, exactly one, two.
enum class EOperands { kSome, kAtMostOne, kOne, kTwo };

struct SModeRule {
    unsigned nFlag;  // 0: the listing, chosen when no other mode is
    EDumpMode eMode;
    unsigned nAllowed;  // options that may join it
    EOperands eOperands;
};

// Combinations that make no sense are refused rather than half-honoured.
constexpr SModeRule kModeRules[] = {
    {kFlagFromHex, EDumpMode::kFromHex, kFlagOutput, EOperands::kAtMostOne},
    {kFlagFromSml, EDumpMode::kFromSml, kFlagOutput, EOperands::kOne},
    {kFlagList, EDumpMode::kList, kFlagFilter | kFlagT3 | kFlagJson | kFlagPort | kFlagDict,
     EOperands::kSome},
    {kFlagImport, EDumpMode::kImport, kFlagOut | kFlagPort | kFlagControl, EOperands::kSome},
    {kFlagDiff, EDumpMode::kDiff, kFlagJson | kFlagIgnoreHeader | kFlagIgnore, EOperands::kTwo},
    {kFlagHeader, EDumpMode::kHeader, 0, EOperands::kSome},
    {kFlagCheck, EDumpMode::kCheck, 0, EOperands::kSome},
    {kFlagSml, EDumpMode::kSml, kFlagDict, EOperands::kSome},
    {kFlagJson, EDumpMode::kJson, kFlagDict, EOperands::kSome},
    {kFlagTree, EDumpMode::kTree, kFlagStyle, EOperands::kSome},
    {kFlagSave, EDumpMode::kSave, kFlagStyle, EOperands::kSome},
    {0, EDumpMode::kListing, kFlagStyle, EOperands::kSome},
};

// The first mode named decides; the rule of that mode refuses the rest.
const SModeRule& RuleFor(unsigned nFlags) {
    for (const SModeRule& r : kModeRules)
        if (r.nFlag & nFlags) return r;
    return kModeRules[std::size(kModeRules) - 1];
}

// --sml or --sml=DIALECT (no separate value: a file name may follow).
bool TakeSml(const std::string& a, CDumpOptions& opts, unsigned& nFlags, std::string& strError) {
    if (a != "--sml" && a.compare(0, 6, "--sml=") != 0) return false;
    opts.m_strSmlDialect = a.size() > 6 ? a.substr(6) : std::string();
    ESmlDialect eDialect;
    if (!FindSmlDialect(opts.m_strSmlDialect, eDialect))
        strError = "--sml takes standard, secs4net, secsgem or go-secs";
    nFlags |= kFlagSml;
    return true;
}

std::string SmlOutputFor(const std::string& strInput) {
    if (strInput == "-") return "FromSML.BIG";
    const std::size_t nSlash = strInput.find_last_of('/');
    const std::size_t nDot = strInput.find_last_of('.');
    const bool bExtension =
        nDot != std::string::npos && nDot > (nSlash == std::string::npos ? 0 : nSlash + 1);
    return (bExtension ? strInput.substr(0, nDot) : strInput) + ".BIG";
}

bool ParsePort(const std::string& strValue, int& nPort) {
    if (strValue.empty() || strValue.size() > 5) return false;
    nPort = 0;
    for (char c : strValue) {
        if (c < '0' || c > '9') return false;
        nPort = nPort * 10 + (c - '0');
    }
    return nPort <= 65535;
}

// "45", "0.5": seconds as µs; false for anything else or beyond a day.
bool ParseSeconds(const std::string& strValue, long long& nMicros) {
    long long nWhole = 0, nScale = 1000000, nFraction = 0;
    std::size_t i = 0;
    for (; i < strValue.size() && strValue[i] >= '0' && strValue[i] <= '9' && nWhole <= 86400; ++i)
        nWhole = nWhole * 10 + (strValue[i] - '0');
    if (i == 0 || nWhole > 86400) return false;
    if (i < strValue.size() && strValue[i] == '.')
        for (++i; i < strValue.size() && strValue[i] >= '0' && strValue[i] <= '9'; ++i)
            if (nScale /= 10) nFraction += (strValue[i] - '0') * nScale;
    nMicros = nWhole * 1000000 + nFraction;
    return i == strValue.size();
}

// --list, --filter EXPR, --t3 SECONDS; strError set for a bad value.
bool TakeListOption(const std::vector<std::string>& args, size_t& i, CDumpOptions& opts,
                    unsigned& nFlags, std::string& strError) {
    std::string strValue;
    bool bMissing = false;
    if (args[i] == "--list") {
        nFlags |= kFlagList;
    } else if (TakeValue(args, i, "--filter", strValue, bMissing)) {
        if (bMissing) strError = "--filter takes an expression";
        opts.m_strFilter = strValue;
        nFlags |= kFlagFilter;
    } else if (TakeValue(args, i, "--t3", strValue, bMissing)) {
        if (bMissing || !ParseSeconds(strValue, opts.m_nT3Micros))
            strError = "--t3 takes seconds (45, 0.5)";
        nFlags |= kFlagT3;
    } else {
        return false;
    }
    return true;
}

bool CheckOperands(const SModeRule& rule, const CDumpOptions& opts, std::string& strError) {
    const std::size_t nFiles = opts.m_files.size();
    const char* szMode = NameOf(rule.nFlag);
    if (rule.eOperands == EOperands::kAtMostOne && nFiles > 1) {
        strError = std::string(szMode) + " takes at most one input file";
        return false;
    }
    if (rule.eOperands == EOperands::kOne && nFiles != 1) {
        strError = std::string(szMode) + " takes one input file (or - for standard input)";
        return false;
    }
    if (rule.eOperands == EOperands::kTwo && nFiles != 2) {
        strError = std::string(szMode) + " takes two message files or two sessions";
        return false;
    }
    if (rule.eOperands == EOperands::kSome && nFiles == 0) {
        strError = "no FILE given";
        return false;
    }
    if (rule.eMode == EDumpMode::kSave) {
        for (const std::string& strFile : opts.m_files) {
            if (strFile == "-") {
                strError = "--save needs file names, not standard input";
                return false;
            }
        }
    }
    if (rule.eMode == EDumpMode::kImport && opts.m_strOutDir.empty()) {
        strError = "--import needs --out DIR";
        return false;
    }
    return true;
}

bool CheckCombination(unsigned nFlags, CDumpOptions& opts, std::string& strError) {
    const SModeRule& rule = RuleFor(nFlags);
    const unsigned nRefused = nFlags & ~(rule.nFlag | rule.nAllowed);
    if (nRefused) {
        const unsigned nFirst = nRefused & (~nRefused + 1);
        strError = std::string(NameOf(nFirst)) + " cannot be combined with " + NameOf(rule.nFlag);
        for (const SFlagName& n : kNeeds)
            if (n.nFlag == nFirst) strError = std::string(NameOf(nFirst)) + " needs " + n.szName;
        return false;
    }
    if (!CheckOperands(rule, opts, strError)) return false;
    opts.m_eMode = rule.eMode;
    opts.m_bDiffJson = rule.eMode == EDumpMode::kDiff && (nFlags & kFlagJson);
    if (rule.eMode == EDumpMode::kFromHex && !opts.m_files.empty())
        opts.m_strHexInput = opts.m_files.front();
    if (rule.eMode == EDumpMode::kFromSml) {
        opts.m_strSmlInput = opts.m_files.front();
        if (!(nFlags & kFlagOutput)) opts.m_strOutput = SmlOutputFor(opts.m_strSmlInput);
    }
    if (rule.eMode == EDumpMode::kFromHex || rule.eMode == EDumpMode::kFromSml)
        opts.m_files.clear();
    return true;
}

}  // namespace

bool ParseDumpOptions(const std::vector<std::string>& args, CDumpOptions& opts,
                      std::string& strError) {
    opts = CDumpOptions();
    unsigned nFlags = 0;
    bool bOperandsOnly = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string strValue;
        bool bMissing = false;
        if (bOperandsOnly || a == "-" || a.empty() || a[0] != '-') {
            opts.m_files.push_back(a);
        } else if (a == "--") {
            bOperandsOnly = true;
        } else if (a == "--help" || a == "-h") {
            opts.m_bHelp = true;
            return true;
        } else if (a == "--version") {
            opts.m_bVersion = true;
            return true;
        } else if (a == "--tree") {
            nFlags |= kFlagTree;
        } else if (a == "--save") {
            nFlags |= kFlagSave;
        } else if (a == "--from-hex") {
            nFlags |= kFlagFromHex;
        } else if (a == "--json") {
            nFlags |= kFlagJson;
            opts.m_bJson = true;
        } else if (a == "--from-sml") {
            nFlags |= kFlagFromSml;
        } else if (TakeSml(a, opts, nFlags, strError)) {
            if (!strError.empty()) return false;
        } else if (a == "--diff") {
            nFlags |= kFlagDiff;
        } else if (a == "--ignore-header") {
            opts.m_bIgnoreHeader = true;
            nFlags |= kFlagIgnoreHeader;
        } else if (TakeValue(args, i, "--ignore", strValue, bMissing)) {
            if (bMissing || !FindDataItemFormats(strValue)) {
                strError = "--ignore takes a data item name such as DATAID or TIME";
                return false;
            }
            opts.m_ignoreRoles.push_back(strValue);
            nFlags |= kFlagIgnore;
        } else if (a == "--header") {
            nFlags |= kFlagHeader;
        } else if (a == "--check") {
            nFlags |= kFlagCheck;
        } else if (a == "--import") {
            nFlags |= kFlagImport;
        } else if (a == "--control") {
            opts.m_bControl = true;
            nFlags |= kFlagControl;
        } else if (TakeValue(args, i, "--out", strValue, bMissing)) {
            if (bMissing || strValue.empty()) {
                strError = "--out takes a folder";
                return false;
            }
            opts.m_strOutDir = strValue;
            nFlags |= kFlagOut;
        } else if (TakeValue(args, i, "--port", strValue, bMissing)) {
            if (bMissing || !ParsePort(strValue, opts.m_nPort)) {
                strError = "--port takes a number from 0 to 65535";
                return false;
            }
            nFlags |= kFlagPort;
        } else if (TakeValue(args, i, "--dict", strValue, bMissing)) {
            if (bMissing || strValue.empty()) {
                strError = "--dict takes a file";
                return false;
            }
            opts.m_dicts.push_back(strValue);
            nFlags |= kFlagDict;
        } else if (TakeListOption(args, i, opts, nFlags, strError)) {
            if (!strError.empty()) return false;
        } else if (TakeValue(args, i, "--style", strValue, bMissing)) {
            if (bMissing || !ParseStyle(strValue, opts.m_nStyle)) {
                strError = "--style takes auto, bracket or column";
                return false;
            }
            nFlags |= kFlagStyle;
        } else if (TakeValue(args, i, "--output", strValue, bMissing)) {
            if (bMissing || strValue.empty()) {
                strError = "--output takes a file name";
                return false;
            }
            opts.m_strOutput = strValue;
            opts.m_bOutputNamed = true;
            nFlags |= kFlagOutput;
        } else {
            strError = "unknown option '" + a + "'";
            return false;
        }
    }
    return CheckCombination(nFlags, opts, strError);
}

namespace {

constexpr char kUsage[] =
    "Usage: brevix-dump [--style auto|bracket|column] [--tree] [--save] FILE...\n"
    "       brevix-dump --sml[=DIALECT] [--dict DICT]... FILE|SOURCE...\n"
    "       brevix-dump --json [--dict DICT]... FILE|SOURCE...\n"
    "       brevix-dump --from-hex [HEXFILE|-] [--output OUT.BIG]\n"
    "       brevix-dump --from-sml SMLFILE|- [--output OUT.BIG]\n"
    "       brevix-dump --header|--check FILE...\n"
    "       brevix-dump --import FILE... --out DIR [--port N] [--control]\n"
    "       brevix-dump --list [--filter EXPR] [--t3 SECONDS] [--json] [--dict DICT]...\n"
    "                   SOURCE...\n"
    "       brevix-dump --diff [--json] [--ignore-header] [--ignore ROLE]... A B\n";

// The options part of --help, which the manual page is made from as well:
// no entry may begin its text with an option, or help2man takes it for one.
constexpr char kOptions[] =
    "\n"
    "Decodes SECS-II message files (.BIG) and writes their listings to standard\n"
    "output, one after another; with several files each listing is headed by\n"
    "'==> FILE <==' and followed by an empty line. FILE '-' is standard input.\n"
    "\n"
    "  --style auto     style as the viewer chooses it: column style at first, then\n"
    "                   whatever the last style byte (\"0\" or \"1\") of the files so\n"
    "                   far selected (default)\n"
    "  --style bracket  angle-bracket listing with closing '>' lines\n"
    "  --style column   indented columns of format, count and values\n"
    "  --tree           print the message tree (root, then one node per line,\n"
    "                   two blanks of indentation per level) instead of the listing\n"
    "  --save           write each listing beside its file as .TXT (CR LF line\n"
    "                   ends) instead of to standard output\n"
    "  --sml[=DIALECT]  write each message as SML: standard (default), or as the\n"
    "                   SECS library secs4net, secsgem or go-secs writes it\n"
    "                   (a SOURCE as --list reads gives its messages in order;\n"
    "                   roles and names as comments in the standard dialect)\n"
    "  --from-hex       read a hex log (file or standard input), convert it as the\n"
    "                   viewer's converter does and write the message file; with\n"
    "                   several messages OUT.BIG, OUT-2.BIG, ... (stripped framing\n"
    "                   and doubts are named on standard error)\n"
    "  --json           write each file as one line of JSON (JSON Lines; schema\n"
    "                   in /usr/share/brevix/brevix-dump.schema.json, under\n"
    "                   PREFIX/share/brevix/ when installed elsewhere); with\n"
    "                   --diff, the differences as JSON Lines (docs/diff.md)\n"
    "                   (a SOURCE as --list reads gives one line per message)\n"
    "  --from-sml       read SML messages (any of the dialects above, comments\n"
    "                   allowed) and write each as a message file: OUT.BIG,\n"
    "                   OUT-2.BIG, ...; on an error nothing is written. Device id\n"
    "                   0 and system bytes 1, 2, ... unless the header line says\n"
    "                   device=N system=N\n"
    "  --output FILE    where --from-hex writes (default HexToSECS.BIG), or\n"
    "                   --from-sml (default SMLFILE with .BIG as extension, which\n"
    "                   replaces no file: a name taken gives way to the next free\n"
    "                   OUT-N.BIG, named on standard error); a FILE given here is\n"
    "                   replaced\n"
    "  --header         print the header of each file in its SECS-I and HSMS\n"
    "                   readings and the message name, one 'field: value' a line\n"
    "  --check          print one 'FILE: offset N (0xN): finding' line for each\n"
    "                   damage found; a clean file prints nothing. Exit status 0\n"
    "                   when every file is clean, 1 when any is damaged or\n"
    "                   unreadable\n"
    "  --import         read text logs and packet captures (pcap, pcapng) and write\n"
    "                   each message found as DIR/NNNNNN_SxFy[W].BIG, with an index\n"
    "                   DIR/INDEX.tsv; existing files are never replaced; a summary\n"
    "                   goes to standard error\n"
    "  --out DIR        where --import writes (created with its parents if\n"
    "                   missing); INDEX.tsv is written last, only when every\n"
    "                   message file was\n"
    "  --port N         with --import or --list: only TCP streams to or from port N\n"
    "                   are HSMS\n"
    "                   (default: any stream that frames as HSMS)\n"
    "  --control        with --import: write HSMS control messages too\n"
    "  --list           list every message of each SOURCE (capture, text log of\n"
    "                   hex, SML or packet dumps, folder of .BIG files, one .BIG\n"
    "                   file), one line each: number, time (UTC), direction, SxFy,\n"
    "                   name, system bytes, size, number of the message answered,\n"
    "                   latency in seconds, status (ok, answered, open,\n"
    "                   unanswered, orphan, no-wait, s9, damaged, control); with\n"
    "                   --json one record a line (brevix-dump-list.schema.json\n"
    "                   beside the other schema)\n"
    "  --filter EXPR    with --list: only messages matching SxFy patterns (S6F11,\n"
    "                   S6F*, S*F1, S6, W for the wait bit), status words, time\n"
    "                   ranges (FROM..TO, UTC), parts of message names (Linktest)\n"
    "                   and \"TEXT\" found in a message's bytes, as the session\n"
    "                   window filters; one kind widens, several kinds narrow\n"
    "  --t3 SECONDS     with --list: the reply timeout for 'unanswered' (default 45)\n"
    "  --diff A B       compare two message files item by item (one line per\n"
    "                   difference: path, kind, format[count], exact value and\n"
    "                   offset of both sides; header fields apart), or two\n"
    "                   sessions, each a capture, text log or folder as for --list\n"
    "                   (counts of equal, changed, only in A, only in B; one line\n"
    "                   per message not equal with its number and time on each\n"
    "                   side; HSMS control messages left out).\n"
    "                   Exit status 0 when the bodies (sessions) are equal, 1 when\n"
    "                   they differ, 2 when an input cannot be read\n"
    "  --ignore-header  with --diff: leave out header fields\n"
    "  --ignore ROLE    with --diff: values of data items in the role ROLE (a data\n"
    "                   item name: DATAID, TIME, CEID, ...) are not compared; the\n"
    "                   items' places, formats and counts still are. May be given\n"
    "                   more than once\n"
    "  --dict DICT      with --sml, --json or --list: names of variables, events,\n"
    "                   reports and alarms from a table (kind, id, name, units:\n"
    "                   'CEID 4001 LotStarted') or from SML replies (S1F12, S2F33,\n"
    "                   S2F35, S5F6, ...); may be given several times. A line it\n"
    "                   cannot use is named as 'DICT:LINE: reason' on standard\n"
    "                   error and the rest still loads. Logs and captures add what\n"
    "                   their own messages define, from the next message on: --sml\n"
    "                   writes each item's role and name as a comment ('// CEID\n"
    "                   LotStarted'), --json as role, name and units, --list the\n"
    "                   event or alarm in the name column\n"
    "  --help           print the usage and the options, then exit\n"
    "  --version        print the version, then exit\n"
    "\n"
    "The listing modes (listing, --tree, --save) leave an empty TECHV.TXT in the\n"
    "current directory, as the viewer does.\n"
    "Exit status: 0 success, 1 a file could not be read or written, 2 wrong usage.\n";

}  // namespace

const char* DumpUsage() { return kUsage; }

const char* DumpHelp() {
    static const std::string strHelp = std::string(kUsage) + kOptions;
    return strHelp.c_str();
}
