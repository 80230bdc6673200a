#pragma once
#include <cstddef>

// Decodes one message file image and reads back everything the message
// holds, so the sanitizers see any bad link or short storage block.
void FuzzOneMessage(const unsigned char* data, size_t size);
