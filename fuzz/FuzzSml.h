#pragma once
#include <cstddef>

// Reads the bytes as SML text; every message read is written as a message
// file and must come back from its own standard-dialect SML unchanged (any
// difference aborts). The bytes are also written as SML in every dialect and
// as JSON, read as a message file.
void FuzzOneSml(const unsigned char* data, size_t size);
