#include "io/SessionMeaning.h"

#include "decode/MsgDocWalk.h"
#include "model/FormatTable.h"
#include "render/DictionaryLearning.h"
#include "render/DocViews.h"
#include "render/MeaningText.h"
#include "render/MessageStructures.h"

namespace {

CMsgDoc DocOf(const CSession& session, std::size_t nIndex, std::vector<unsigned char>& scratch) {
    const std::span<const unsigned char> bytes = session.Bytes(nIndex, scratch);
    return DecodeMsgDoc(std::vector<unsigned char>(bytes.begin(), bytes.end()));
}

// Requests whose reply says whether they were taken: its first byte is the
// acknowledge code, 0 for accepted.
bool IsAcknowledged(int nStream, int nFunction) {
    return nStream == 2 && (nFunction == 33 || nFunction == 35);
}

bool RefusedByReply(const CSession& session, const SSessionMsg& msg,
                    std::vector<unsigned char>& scratch) {
    if (!msg.nReplyBy) return false;
    const CMsgDoc reply = DocOf(session, msg.nReplyBy - 1, scratch);
    if (reply.m_rows.empty() || reply.m_rows[0].nFormat != kFormatBinary) return false;
    const std::span<const unsigned char> ack = RowData(reply, 0);
    return !ack.empty() && ack[0] != 0;
}

SMeaningTexts TextsOf(std::span<const SItemMeaning> meanings, std::vector<std::string> notes) {
    SMeaningTexts texts;
    texts.roles.reserve(meanings.size());
    for (const SItemMeaning& m : meanings) texts.roles.push_back(RoleText(m));
    texts.notes = std::move(notes);
    return texts;
}

// Per stream and function, whether fn holds: asked once per kind of message
// rather than once per message of a million.
template <typename F>
std::vector<char> MessageKinds(F fn) {
    std::vector<char> kinds(128 * 256);
    for (int s = 0; s < 128; ++s)
        for (int f = 0; f < 256; ++f) kinds[static_cast<std::size_t>(s * 256 + f)] = fn(s, f);
    return kinds;
}

bool OfKind(const std::vector<char>& kinds, const SSessionMsg& msg) {
    return kinds[static_cast<std::size_t>((msg.nStream & 0x7F) * 256 + msg.nFunction)] != 0;
}

bool IsDataMessage(const SSessionMsg& msg) {
    return !((msg.nFlags & SSessionMsg::kHsms) && msg.nSType);
}

}  // namespace

int LearnSession(const CSession& session, CDictionary& dict) {
    std::vector<unsigned char> scratch;
    int nDefined = 0;
    const std::vector<char> learners = MessageKinds(LearnsFrom);
    const std::vector<SSessionMsg>& msgs = session.Messages();
    for (std::size_t i = 0; i < msgs.size(); ++i) {
        const SSessionMsg& m = msgs[i];
        if (!OfKind(learners, m) || !IsDataMessage(m)) continue;
        if (IsAcknowledged(m.nStream, m.nFunction) && RefusedByReply(session, m, scratch)) continue;
        const CMsgDoc doc = DocOf(session, i, scratch);
        nDefined += LearnDefinitions(m.nStream, m.nFunction, DocItemViews(doc),
                                     static_cast<std::int64_t>(i), dict);
    }
    return nDefined;
}

void AnnotateSessionMessage(const CSession& session, std::size_t nIndex, const CDictionary& dict,
                            SMessageMeaning& out) {
    out = SMessageMeaning();
    if (nIndex >= session.Messages().size()) return;
    const SSessionMsg& m = session.Messages()[nIndex];
    std::vector<unsigned char> scratch;
    out.doc = DocOf(session, nIndex, scratch);
    if (out.doc.m_rows.size() > kMaxAnnotatedItems) return;
    out.views = DocItemViews(out.doc);
    if (!IsDataMessage(m)) return;
    CMsgDoc primary;
    std::vector<SItemView> primaryViews;
    if (m.nReplyTo) {
        primary = DocOf(session, m.nReplyTo - 1, scratch);
        primaryViews = DocItemViews(primary);
    }
    out.meanings = AnnotateItems(m.nStream, m.nFunction, out.views,
                                 static_cast<std::int64_t>(nIndex), dict, primaryViews, &out.notes);
    out.strSummary = MessageSummary(m.nStream, m.nFunction, out.views, out.meanings);
}

std::vector<std::string> SessionSummaries(const CSession& session, const CDictionary& dict) {
    std::vector<std::string> summaries;
    const bool bEvents = dict.HasKind(EDefKind::kCeid);
    const std::vector<char> summarised = MessageKinds(SummarisesFrom);
    SMessageMeaning meaning;
    const std::vector<SSessionMsg>& msgs = session.Messages();
    for (std::size_t i = 0; i < msgs.size(); ++i) {
        const SSessionMsg& m = msgs[i];
        if (!OfKind(summarised, m) || !IsDataMessage(m)) continue;
        // An event report is named by its event's definition alone: without
        // one there is nothing to walk 500,000 reports for.
        if (m.nStream == 6 && !bEvents) continue;
        AnnotateSessionMessage(session, i, dict, meaning);
        if (meaning.strSummary.empty()) continue;
        if (summaries.empty()) summaries.resize(msgs.size());
        summaries[i] = std::move(meaning.strSummary);
    }
    return summaries;
}

SMeaningTexts DocMeaningTexts(const CMsgDoc& doc, const CDictionary& dict, std::int64_t nMessage) {
    const SHeaderFields h = DocHeader(doc);
    if (doc.m_rows.size() > kMaxAnnotatedItems || !FindMessageStructure(h.nStream, h.nFunction))
        return {};
    const std::vector<SItemView> views = DocItemViews(doc);
    std::vector<std::string> notes;
    const std::vector<SItemMeaning> meanings =
        AnnotateItems(h.nStream, h.nFunction, views, nMessage, dict, {}, &notes);
    return TextsOf(meanings, std::move(notes));
}

SMeaningTexts SessionMeaningTexts(const CSession& session, std::size_t nIndex,
                                  const CDictionary& dict) {
    if (nIndex >= session.Messages().size()) return {};
    const SSessionMsg& m = session.Messages()[nIndex];
    if (!IsDataMessage(m) || !FindMessageStructure(m.nStream, m.nFunction)) return {};
    SMessageMeaning meaning;
    AnnotateSessionMessage(session, nIndex, dict, meaning);
    return TextsOf(meaning.meanings, std::move(meaning.notes));
}
