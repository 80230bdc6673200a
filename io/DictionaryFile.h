#pragma once
#include <string>
#include <string_view>
#include <vector>

class CDictionary;

// What loading a dictionary file did: the definitions it added and one
// "FILE:LINE: reason" per line it could not use.
struct SDictionaryLoad {
    int nDefined = 0;
    std::vector<std::string> errors;
};

// The simple table form: one definition per line, `kind id name [units]`
// (`CEID 4001 LotStarted`), fields separated by tabs, else by commas, else
// by blanks; blank lines and lines starting with '#' are skipped. A bad line
// is reported and the rest still loads. Definitions apply from before the
// first message.
// The SML form (a file named *.sml, or one whose first line that is not a
// comment is a header such as "S1F12"): the replies an equipment manual
// prints (S1F12, S2F30, S2F33, S2F35, S5F6, S7F20, ...), learned as a
// session learns them; nDefined counts the definitions they stored. A message
// that does not read gives "FILE:LINE: reason" and the others still load.
SDictionaryLoad LoadDictionaryText(std::string_view strText, const std::string& strFile,
                                   CDictionary& dict);

// Reads the file as ReadMessageFile does (regular files only); a file that
// cannot be read gives one error, "FILE: reason".
SDictionaryLoad LoadDictionaryFile(const std::string& strPath, CDictionary& dict);
