#pragma once
#include <string>
#include <vector>

// One entry of the file list: the upper-cased name a person sees, as UTF-8
// text (VisibleName), and the name on disk that opening it uses, as raw
// bytes (two files that differ only in letter case are two entries, each
// opening its own file).
struct CFileEntry {
    std::string m_strShown;
    std::string m_strName;
};

// The folder's entries whose names end in ".BIG" in any letter case, folders
// included, sorted ordinally by the bytes of the upper-cased name (then by
// name on disk). Empty when the folder cannot be read.
std::vector<CFileEntry> ListBigEntries(const std::string& strFolder);

// strBytes as valid UTF-8: every byte that does not belong to a well-formed
// UTF-8 sequence becomes the four characters \xHH (upper-case hex), so that
// a name in another encoding stays legible and tells two names apart.
std::string VisibleName(const std::string& strBytes);

// a-z to A-Z and nothing else, as the C locale upper-cases.
std::string UpperAscii(std::string strText);
// Equal ignoring the letter case of a-z.
bool EqualNoCase(const std::string& a, const std::string& b);
// strFolder + "/" + strName, without doubling a trailing slash.
std::string JoinPath(const std::string& strFolder, const std::string& strName);
