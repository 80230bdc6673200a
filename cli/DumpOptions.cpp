#include "cli/DumpOptions.h"

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

struct SFlags {
    bool bStyle = false;
    bool bTree = false;
    bool bSave = false;
    bool bFromHex = false;
    bool bOutput = false;
    bool bSml = false;
    bool bFromSml = false;
    bool bJson = false;
    bool bHeader = false;
    bool bCheck = false;
};

// --sml or --sml=DIALECT (no separate value: a file name may follow).
bool TakeSml(const std::string& a, CDumpOptions& opts, SFlags& f, std::string& strError) {
    if (a != "--sml" && a.compare(0, 6, "--sml=") != 0) return false;
    opts.m_strSmlDialect = a.size() > 6 ? a.substr(6) : std::string();
    ESmlDialect eDialect;
    if (!FindSmlDialect(opts.m_strSmlDialect, eDialect))
        strError = "--sml takes standard, secs4net, secsgem or go-secs";
    f.bSml = true;
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

bool CheckFromSml(const SFlags& f, CDumpOptions& opts, std::string& strError) {
    if (f.bStyle || f.bTree || f.bSave || f.bSml || f.bJson || f.bFromHex || f.bHeader ||
        f.bCheck) {
        strError = "--from-sml cannot be combined with options other than --output";
        return false;
    }
    if (opts.m_files.size() != 1) {
        strError = "--from-sml takes one SMLFILE (or - for standard input)";
        return false;
    }
    opts.m_strSmlInput = opts.m_files.front();
    opts.m_files.clear();
    if (!f.bOutput) opts.m_strOutput = SmlOutputFor(opts.m_strSmlInput);
    opts.m_eMode = EDumpMode::kFromSml;
    return true;
}

// --header and --check only read files: they take FILE operands and nothing
// that shapes a listing or writes a file.
bool CheckInspectModes(const SFlags& f, CDumpOptions& opts, std::string& strError) {
    if (f.bHeader && f.bCheck) {
        strError = "--header and --check cannot be combined";
        return false;
    }
    const char* szMode = f.bHeader ? "--header" : "--check";
    if (f.bStyle || f.bTree || f.bSave || f.bFromHex || f.bOutput || f.bSml || f.bJson) {
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

// Combinations that make no sense are refused rather than half-honoured.
bool CheckCombination(const SFlags& f, CDumpOptions& opts, std::string& strError) {
    if (f.bFromSml) return CheckFromSml(f, opts, strError);
    if (f.bHeader || f.bCheck) return CheckInspectModes(f, opts, strError);
    if (f.bFromHex) {
        if (f.bStyle || f.bTree || f.bSave || f.bSml || f.bJson) {
            strError =
                "--from-hex cannot be combined with --style, --tree, --save, --sml or --json";
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
        strError = "--output needs --from-hex or --from-sml";
        return false;
    }
    if (f.bTree && f.bSave) {
        strError = "--tree and --save cannot be combined";
        return false;
    }
    if ((f.bSml || f.bJson) && (f.bTree || f.bSave || f.bStyle || (f.bSml && f.bJson))) {
        strError = "--sml and --json go alone: not with --style, --tree, --save or each other";
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
    opts.m_eMode = f.bTree   ? EDumpMode::kTree
                   : f.bSave ? EDumpMode::kSave
                   : f.bSml  ? EDumpMode::kSml
                   : f.bJson ? EDumpMode::kJson
                             : EDumpMode::kListing;
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
        } else if (a == "--json") {
            f.bJson = true;
        } else if (a == "--from-sml") {
            f.bFromSml = true;
        } else if (TakeSml(a, opts, f, strError)) {
            if (!strError.empty()) return false;
        } else if (a == "--header") {
            f.bHeader = true;
        } else if (a == "--check") {
            f.bCheck = true;
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
           "       brevix-dump --sml[=DIALECT] FILE...\n"
           "       brevix-dump --json FILE...\n"
           "       brevix-dump --from-hex [HEXFILE|-] [--output OUT.BIG]\n"
           "       brevix-dump --from-sml SMLFILE|- [--output OUT.BIG]\n"
           "       brevix-dump --header|--check FILE...\n";
}

const char* DumpHelp() {
    return "Usage: brevix-dump [--style auto|bracket|column] [--tree] [--save] FILE...\n"
           "       brevix-dump --sml[=DIALECT] FILE...\n"
           "       brevix-dump --json FILE...\n"
           "       brevix-dump --from-hex [HEXFILE|-] [--output OUT.BIG]\n"
           "       brevix-dump --from-sml SMLFILE|- [--output OUT.BIG]\n"
           "       brevix-dump --header|--check FILE...\n"
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
           "  --from-hex       read a hex log (file or standard input), convert it as the\n"
           "                   viewer's converter does and write the message file\n"
           "  --json           write each file as one line of JSON (JSON Lines; schema\n"
           "                   in docs/brevix-dump.schema.json)\n"
           "  --from-sml       read SML messages (any of the dialects above, comments\n"
           "                   allowed) and write each as a message file: OUT.BIG,\n"
           "                   OUT-2.BIG, ...; on an error nothing is written. Device id\n"
           "                   0 and system bytes 1, 2, ... unless the header line says\n"
           "                   device=N system=N\n"
           "  --output FILE    where --from-hex writes (default HexToSECS.BIG), or\n"
           "                   --from-sml (default SMLFILE with .BIG as extension)\n"

           "  --header         print the header of each file in its SECS-I and HSMS\n"
           "                   readings and the message name, one 'field: value' a line\n"
           "  --check          print one 'FILE: offset N (0xN): finding' line for each\n"
           "                   damage found; a clean file prints nothing. Exit status 0\n"
           "                   when every file is clean, 1 when any is damaged or\n"
           "                   unreadable\n"
           "  --help           show this text\n"
           "  --version        show the version\n"
           "\n"
           "Decoding leaves an empty TECHV.TXT in the current directory, as the viewer does.\n"
           "Exit status: 0 success, 1 a file could not be read or written, 2 wrong usage.\n";
}
