#pragma once
#include <string>
#include <vector>

// One entry of the file list: the upper-cased name a person sees and the name
// on disk that opening it uses (two files that differ only in letter case
// are two entries, each opening its own file). Names are raw bytes.
struct CFileEntry {
    std::string m_strShown;
    std::string m_strName;
};

// The folder's entries whose names end in ".BIG" in any letter case, folders
// included, sorted ordinally by shown name (then by name on disk). Empty when
// the folder cannot be read.
std::vector<CFileEntry> ListBigEntries(const std::string& strFolder);

// a-z to A-Z and nothing else, as the C locale upper-cases.
std::string UpperAscii(std::string strText);
// Equal ignoring the letter case of a-z.
bool EqualNoCase(const std::string& a, const std::string& b);
// strFolder + "/" + strName, without doubling a trailing slash.
std::string JoinPath(const std::string& strFolder, const std::string& strName);
