#include "cli/DumpMeaning.h"

#include <ostream>

#include "cli/DumpRun.h"
#include "decode/MsgDocWalk.h"
#include "io/DictionaryFile.h"
#include "io/SessionIndex.h"
#include "io/SessionMeaning.h"
#include "render/DocViews.h"
#include "render/JsonWriter.h"
#include "render/MeaningText.h"
#include "render/SmlWriter.h"

namespace {

// The library dialects stay byte for byte as their libraries write them:
// comments go only into the standard one.
void WriteSml(const CDumpOptions& opts, const CMsgDoc& doc, std::span<const SItemMeaning> meanings,
              const TextFlush& flush) {
    ESmlDialect eDialect = ESmlDialect::kStandard;
    FindSmlDialect(opts.m_strSmlDialect, eDialect);
    std::vector<std::string> comments;
    if (eDialect == ESmlDialect::kStandard) {
        comments.reserve(meanings.size());
        for (const SItemMeaning& m : meanings) comments.push_back(SmlRoleComment(m));
    }
    std::string str;
    AppendMessageSml(str, doc, eDialect, flush, &comments);
    if (str.empty() || str.back() != '\n') str += '\n';
    flush(str);
}

void WriteJson(const std::string& strPath, const CMsgDoc& doc,
               std::span<const SItemMeaning> meanings, std::size_t nNumber,
               const TextFlush& flush) {
    std::vector<SJsonMeaning> items;
    items.reserve(meanings.size());
    for (const SItemMeaning& m : meanings) items.push_back(JsonMeaning(m));
    std::string str;
    AppendMessageJson(str, strPath, doc, flush, {nNumber, &items});
    flush(str);
}

void Write(const CDumpOptions& opts, const std::string& strPath, const CMsgDoc& doc,
           std::span<const SItemMeaning> meanings, std::size_t nNumber, const TextFlush& flush) {
    if (opts.m_eMode == EDumpMode::kSml)
        WriteSml(opts, doc, meanings, flush);
    else
        WriteJson(strPath, doc, meanings, nNumber, flush);
}

}  // namespace

bool LoadDumpDictionaries(const CDumpOptions& opts, CDictionary& dict, std::ostream& err,
                          std::istream& in) {
    bool bOk = true;
    for (const std::string& strPath : opts.m_dicts) {
        std::vector<unsigned char> bytes;
        std::string strError;
        if (!ReadInput(strPath, in, bytes, strError)) {
            err << "brevix-dump: " << strPath << ": " << strError << '\n';
            bOk = false;
            continue;
        }
        const SDictionaryLoad load = LoadDictionaryText(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), strPath,
            dict);
        for (const std::string& strLine : load.errors) err << "brevix-dump: " << strLine << '\n';
    }
    return bOk;
}

bool IsSessionInput(const std::string& strPath, std::span<const unsigned char> bytes) {
    return IsSessionSource(strPath, bytes.data(), bytes.size());
}

void WriteMessageMeaning(const CDumpOptions& opts, const std::string& strPath, const CMsgDoc& doc,
                         const CDictionary& dict, const TextFlush& flush) {
    if (doc.m_rows.size() > kMaxAnnotatedItems) return Write(opts, strPath, doc, {}, 0, flush);
    const SHeaderFields h = DocHeader(doc);
    const std::vector<SItemView> views = DocItemViews(doc);
    const std::vector<SItemMeaning> meanings =
        AnnotateItems(h.nStream, h.nFunction, views, 0, dict);
    Write(opts, strPath, doc, meanings, 0, flush);
}

bool WriteSessionMeaning(const CDumpOptions& opts, const std::string& strPath,
                         std::vector<unsigned char>* pBytes, const CDictionary& dict,
                         const TextFlush& flush, std::ostream& err) {
    CSession session;
    std::string strError;
    const bool bOpen =
        pBytes ? SessionFromBytes(std::move(*pBytes), CSessionOptions(), session, strError)
               : OpenSession(strPath, CSessionOptions(), session, strError);
    if (!bOpen) {
        err << "brevix-dump: " << strPath << ": " << strError << '\n';
        return false;
    }
    for (const SSessionWarning& w : session.Warnings())
        err << "brevix-dump: " << strPath << ": " << w.strText << '\n';
    CDictionary learned = dict;
    LearnSession(session, learned);
    SMessageMeaning meaning;
    for (std::size_t i = 0; i < session.Messages().size(); ++i) {
        const SSessionMsg& m = session.Messages()[i];
        if ((m.nFlags & SSessionMsg::kHsms) && m.nSType) continue;  // Select, Linktest: no items
        AnnotateSessionMessage(session, i, learned, meaning);
        Write(opts, strPath, meaning.doc, meaning.meanings, i + 1, flush);
    }
    return true;
}
