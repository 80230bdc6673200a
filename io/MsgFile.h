#pragma once
#include <string>
#include <vector>

// Reads a whole message file, read-only. On failure returns false and puts a
// short human-readable reason ("No such file or directory", "Is a
// directory", "not a regular file" for FIFOs, devices and sockets) into
// strError; bytes is then empty.
bool ReadMessageFile(const std::string& strPath, std::vector<unsigned char>& bytes,
                     std::string& strError);
