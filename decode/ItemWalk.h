#pragma once
#include "decode/ByteCursor.h"
#include "decode/Decode.h"

// Big-endian unsigned value of n (1 to 4) length bytes.
unsigned int ReadLength(const unsigned char* pBytes, int n);

// Walks the item stream from the cursor to its end and builds the cells of
// pMsg. Lists are tracked by counting, never by recursion, so any depth is
// safe. An item that runs past the end is decoded from the bytes present and
// ends the walk; a lone last byte at an item boundary is the style byte.
void WalkItems(CDecode& decoder, CMsgInfo* pMsg, CByteCursor& cursor, int* pStyle);
