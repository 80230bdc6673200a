#pragma once
#include <vector>

#include "io/SessionIndex.h"
#include "render/SessionDiff.h"

// The one way a comparison gets a session's message sequence, whatever the
// source: one entry per message in source order, named by its SxFy, keyed
// by its SxFy, W-bit and the values of its CEID, ALID, RCMD and PPID where
// its structure is known, its bytes read from the session again only when a
// partner asks for them. The
// session must outlive the sequence. HSMS control messages (Select,
// Linktest, ...) come and go with the link, not with what the equipment
// did, so they are left out unless bControl.
std::vector<SSessionMessage> SessionMessagesOf(const CSession& session, bool bControl = false);
