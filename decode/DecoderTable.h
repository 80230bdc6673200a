#pragma once
#include "decode/Decode.h"

// Value decoder of a data format, keyed by format code. Null for lists and
// for unknown codes: the walk then makes no cell but still counts the item.
using DecodeFn = void (CDecode::*)(CMsgInfo*, const unsigned char*, int);
DecodeFn FindDecoder(int nCode);
