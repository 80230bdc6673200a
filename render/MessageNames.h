#pragma once

// Standard names of SECS-II messages (SEMI E5) for streams 1, 2, 5, 6, 7, 9
// and 10, with their mnemonics where the sources agree on one. Sources:
// docs/message-names.md.
struct SMessageName {
    int nStream;
    int nFunction;
    const char* szName;      // "Event Report Send"
    const char* szMnemonic;  // "ERS"; empty when no two sources agree
};

// Every entry, ordered by stream and then function.
const SMessageName* AllMessageNames(int* pCount);

// Null for a stream and function the table does not hold.
const SMessageName* FindMessageName(int nStream, int nFunction);
