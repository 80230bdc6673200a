#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "io/SessionIndex.h"
#include "model/Dictionary.h"
#include "model/MsgDoc.h"
#include "render/ItemMeaning.h"

// Learns into dict, in the session's order, what its messages define: each
// definition is stored with its message's index, so it applies from the
// next message on. A definition dict holds already (a --dict file) stays
// below them. An S2F33 or S2F35 whose paired reply refuses it (a DRACK or
// LRACK other than 0) teaches nothing; one whose reply is missing is taken
// as it was sent. Returns the number of definitions stored.
int LearnSession(const CSession& session, CDictionary& dict);

// One message of a session, walked, with what each item means under the
// definitions in force before it. Views and meanings point into doc and
// dict: keep the dictionary unchanged and the object unmoved while reading them.
struct SMessageMeaning {
    CMsgDoc doc;
    std::vector<SItemView> views;
    std::vector<SItemMeaning> meanings;
    std::vector<std::string> notes;  // where the message differs from its structure
    std::string strSummary;          // MessageSummary: "S6F11 LotStarted", or empty
};

// nIndex a message of session; a reply to a paired S1F3 or S2F13 reads its
// request's ids. A bad index gives an empty result.
void AnnotateSessionMessage(const CSession& session, std::size_t nIndex, const CDictionary& dict,
                            SMessageMeaning& out);

// Per message of the session, MessageSummary under dict (empty where the
// message says nothing more than its name); an empty vector when no message
// has one. Walks only the messages a
// summary is made from (S5F1, S6F11, ...), and event reports only where
// dict defines an event.
std::vector<std::string> SessionSummaries(const CSession& session, const CDictionary& dict);

// What the viewer shows beside a message's tree: per row the role column's
// text (RoleText; empty where the row has no role), and the notes on where
// the message differs from its structure. Both empty for a message the
// structure table does not hold.
struct SMeaningTexts {
    std::vector<std::string> roles;
    std::vector<std::string> notes;
};
// A message file on its own: the definitions in force before message
// nMessage (those of a file for 0).
SMeaningTexts DocMeaningTexts(const CMsgDoc& doc, const CDictionary& dict,
                              std::int64_t nMessage = 0);
// Message nIndex of a session, as AnnotateSessionMessage sees it.
SMeaningTexts SessionMeaningTexts(const CSession& session, std::size_t nIndex,
                                  const CDictionary& dict);
