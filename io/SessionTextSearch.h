#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "io/SessionIndex.h"

// Which messages of a session hold one of some texts (their bytes, as
// found). The source and the own store are searched a window at a time, a
// window reused by the messages that lie in it, so a million small messages
// cost one pass over their bytes rather than a million searches; a text
// split between two pieces of a message is found where they join.
class CSessionTextSearch {
public:
    CSessionTextSearch(const CSession& session, const std::vector<std::string>& texts);

    // Meant to be asked in index order: a window only moves forward well.
    bool Holds(std::size_t nIndex);

private:
    // What one text knows of one store: the window searched last and the
    // first hit in it.
    struct SCursor {
        const unsigned char* pStore = nullptr;
        const unsigned char* pFrom = nullptr;
        const unsigned char* pTo = nullptr;
        const unsigned char* pHit = nullptr;  // null: no hit wholly in the window
        std::size_t nWindow = 0;
        int nRare = -1;  // position of the text's rarest byte in the store; -1 memmem
        bool bReady = false;
    };
    struct SText {
        std::string str;
        SCursor cursors[2];  // the source, the own store
    };
    bool InRun(SText& text, std::span<const unsigned char> run,
               std::span<const unsigned char> store);
    bool AcrossJoin(const SText& text, const std::vector<CSession::SByteRun>& runs) const;
    void Prepare(SText& text, SCursor& cursor, std::span<const unsigned char> store) const;

    const CSession& m_session;
    std::vector<SText> m_texts;
    std::vector<CSession::SByteRun> m_runs;
};
