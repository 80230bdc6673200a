#pragma once
#include <cstddef>

// Reads the bytes as a hex log: blocks must lie inside the bytes, in order,
// a plain text must convert as the old converter did, and every message
// found must decode.
void FuzzHexText(const unsigned char* data, size_t size);

// Imports the bytes as a capture (or, without a capture's magic, as a log)
// and builds the index: no message may be shorter than its header.
void FuzzCapture(const unsigned char* data, size_t size);

// Reads the bytes as an SML log (whatever they hold): every message indexed
// has bytes of its recorded size, at least a header.
void FuzzSmlLog(const unsigned char* data, size_t size);
