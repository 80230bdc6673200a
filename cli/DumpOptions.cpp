#include "cli/DumpOptions.h"

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

struct SFlags {
    bool bStyle = false;
    bool bTree = false;
    bool bSave = false;
    bool bFromHex = false;
    bool bOutput = false;
    bool bHeader = false;
    bool bCheck = false;
    bool bImport = false;
    bool bImportOnly = false;  // --out, --port or --control
};

// --header and --check only read files: they take FILE operands and nothing
// that shapes a listing or writes a file.
bool CheckInspectModes(const SFlags& f, CDumpOptions& opts, std::string& strError) {
    if (f.bHeader && f.bCheck) {
        strError = "--header and --check cannot be combined";
        return false;
    }
    const char* szMode = f.bHeader ? "--header" : "--check";
    if (f.bStyle || f.bTree || f.bSave || f.bFromHex || f.bOutput || f.bImport || f.bImportOnly) {
        strError = std::string(szMode) + " cannot be combined with other options";
        return false;
    }
    if (opts.m_files.empty()) {
        strError = "no FILE given";
        return false;
    }
    opts.m_eMode = f.bHeader ? EDumpMode::kHeader : EDumpMode::kCheck;
    return true;
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

bool CheckImport(const SFlags& f, CDumpOptions& opts, std::string& strError) {
    if (!f.bImport) {
        if (!f.bImportOnly) return true;
        strError = "--out, --port and --control need --import";
        return false;
    }
    if (f.bStyle || f.bTree || f.bSave || f.bFromHex || f.bOutput) {
        strError = "--import cannot be combined with --style, --tree, --save or --from-hex";
        return false;
    }
    if (opts.m_files.empty() || opts.m_strOutDir.empty()) {
        strError = "--import needs FILE... and --out DIR";
        return false;
    }
    opts.m_eMode = EDumpMode::kImport;
    return true;
}

// Combinations that make no sense are refused rather than half-honoured.
bool CheckCombination(const SFlags& f, CDumpOptions& opts, std::string& strError) {
    if (f.bHeader || f.bCheck) return CheckInspectModes(f, opts, strError);
    if (f.bImport || f.bImportOnly) return CheckImport(f, opts, strError);
    if (f.bFromHex) {
        if (f.bStyle || f.bTree || f.bSave) {
            strError = "--from-hex cannot be combined with --style, --tree or --save";
            return false;
        }
        if (opts.m_files.size() > 1) {
            strError = "--from-hex takes at most one HEXFILE";
            return false;
        }
        if (!opts.m_files.empty()) opts.m_strHexInput = opts.m_files.front();
        opts.m_files.clear();
        opts.m_eMode = EDumpMode::kFromHex;
        return true;
    }
    if (f.bOutput) {
        strError = "--output needs --from-hex";
        return false;
    }
    if (f.bTree && f.bSave) {
        strError = "--tree and --save cannot be combined";
        return false;
    }
    if (opts.m_files.empty()) {
        strError = "no FILE given";
        return false;
    }
    if (f.bSave) {
        for (const std::string& strFile : opts.m_files) {
            if (strFile == "-") {
                strError = "--save needs file names, not standard input";
                return false;
            }
        }
    }
    opts.m_eMode = f.bTree ? EDumpMode::kTree : f.bSave ? EDumpMode::kSave : EDumpMode::kListing;
    return true;
}

}  // namespace

bool ParseDumpOptions(const std::vector<std::string>& args, CDumpOptions& opts,
                      std::string& strError) {
    opts = CDumpOptions();
    SFlags f;
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
            f.bTree = true;
        } else if (a == "--save") {
            f.bSave = true;
        } else if (a == "--from-hex") {
            f.bFromHex = true;
        } else if (a == "--header") {
            f.bHeader = true;
        } else if (a == "--check") {
            f.bCheck = true;
        } else if (a == "--import") {
            f.bImport = true;
        } else if (a == "--control") {
            opts.m_bControl = f.bImportOnly = true;
        } else if (TakeValue(args, i, "--out", strValue, bMissing)) {
            if (bMissing || strValue.empty()) {
                strError = "--out takes a folder";
                return false;
            }
            opts.m_strOutDir = strValue;
            f.bImportOnly = true;
        } else if (TakeValue(args, i, "--port", strValue, bMissing)) {
            if (bMissing || !ParsePort(strValue, opts.m_nPort)) {
                strError = "--port takes a number from 0 to 65535";
                return false;
            }
            f.bImportOnly = true;
        } else if (TakeValue(args, i, "--style", strValue, bMissing)) {
            if (bMissing || !ParseStyle(strValue, opts.m_nStyle)) {
                strError = "--style takes auto, bracket or column";
                return false;
            }
            f.bStyle = true;
        } else if (TakeValue(args, i, "--output", strValue, bMissing)) {
            if (bMissing || strValue.empty()) {
                strError = "--output takes a file name";
                return false;
            }
            opts.m_strOutput = strValue;
            f.bOutput = true;
        } else {
            strError = "unknown option '" + a + "'";
            return false;
        }
    }
    return CheckCombination(f, opts, strError);
}

const char* DumpUsage() {
    return "Usage: brevix-dump [--style auto|bracket|column] [--tree] [--save] FILE...\n"
           "       brevix-dump --from-hex [HEXFILE|-] [--output OUT.BIG]\n"
           "       brevix-dump --header|--check FILE...\n"
           "       brevix-dump --import FILE... --out DIR [--port N] [--control]\n";
}

const char* DumpHelp() {
    return "Usage: brevix-dump [--style auto|bracket|column] [--tree] [--save] FILE...\n"
           "       brevix-dump --from-hex [HEXFILE|-] [--output OUT.BIG]\n"
           "       brevix-dump --header|--check FILE...\n"
           "       brevix-dump --import FILE... --out DIR [--port N] [--control]\n"
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
           "  --from-hex       read a hex log (file or standard input), convert it as the\n"
           "                   viewer's converter does and write the message file; with\n"
           "                   several messages OUT.BIG, OUT-2.BIG, ... (stripped framing\n"
           "                   and doubts are named on standard error)\n"
           "  --output FILE    where --from-hex writes (default HexToSECS.BIG)\n"
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
           "  --out DIR        where --import writes (created if missing)\n"
           "  --port N         --import: only TCP streams to or from port N are HSMS\n"
           "                   (default: any stream that frames as HSMS)\n"
           "  --control        --import: write HSMS control messages too\n"
           "  --help           show this text\n"
           "  --version        show the version\n"
           "\n"
           "Decoding leaves an empty TECHV.TXT in the current directory, as the viewer does.\n"
           "Exit status: 0 success, 1 a file could not be read or written, 2 wrong usage.\n";
}
