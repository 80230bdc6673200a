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
SDictionaryLoad LoadDictionaryText(std::string_view strText, const std::string& strFile,
                                   CDictionary& dict);

// Reads the file as ReadMessageFile does (regular files only); a file that
// cannot be read gives one error, "FILE: reason".
SDictionaryLoad LoadDictionaryFile(const std::string& strPath, CDictionary& dict);
