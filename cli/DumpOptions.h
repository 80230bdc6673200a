#pragma once
#include <string>
#include <vector>

// What one run of brevix-dump was asked to do.
enum class EDumpMode {
    kListing,
    kTree,
    kSave,
    kFromHex,
    kHeader,
    kCheck,
    kImport,
    kSml,
    kFromSml,
    kJson,
    kDiff,
    kList
};

struct CDumpOptions {
    EDumpMode m_eMode = EDumpMode::kListing;
    int m_nStyle = -1;  // -1: as the files' style bytes say (start 1); 0 bracket; 1 column
    std::vector<std::string> m_files;  // FILE operands; "-" is standard input
    std::string m_strHexInput = "-";   // --from-hex source
    std::string m_strSmlInput = "-";   // --from-sml source
    // Where --from-hex or --from-sml writes. --from-sml's default is its
    // input's name with ".BIG" in place of the extension (FromSML.BIG for
    // standard input), never replacing a file; several messages go to
    // OUT.BIG, OUT-2.BIG, ...
    std::string m_strOutput = "HexToSECS.BIG";
    bool m_bOutputNamed = false;  // --output given: its file may be replaced
    std::string m_strOutDir;      // --import: the folder written into
    int m_nPort = -1;             // --import --port: the HSMS port; -1 any
    bool m_bControl = false;      // --import --control: keep HSMS control messages
    bool m_bJson = false;         // --json (with --list: one record per message)
    std::string m_strFilter;      // --list --filter EXPR
    long long m_nT3Micros = -1;   // --list --t3 SECONDS; -1 the default
    std::string m_strSmlDialect;  // --sml=DIALECT; empty: the standard dialect
    // --diff: the differences as JSON Lines (with --json); header fields left out.
    bool m_bDiffJson = false;
    bool m_bIgnoreHeader = false;
    std::vector<std::string> m_ignoreRoles;  // --ignore ROLE: values not compared
    std::vector<std::string> m_dicts;        // --dict FILE, in the order given
    bool m_bHelp = false;
    bool m_bVersion = false;
};

// Parses the arguments after the program name. False with a one-line reason
// for wrong usage; --help and --version stop parsing and succeed.
bool ParseDumpOptions(const std::vector<std::string>& args, CDumpOptions& opts,
                      std::string& strError);

// The two synopsis lines, each ending in a line feed.
const char* DumpUsage();
// Usage plus a short description of every option, for --help.
const char* DumpHelp();
