#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>

#include "TestHelpers.h"
#include "decode/Decode.h"
#include "decode/MsgDocWalk.h"
#include "render/JsonWriter.h"

namespace {

using nlohmann::json;

// UTF-8 of Latin-1 characters back to their bytes.
std::string Latin1(const std::string& strUtf8) {
    std::string str;
    for (std::size_t i = 0; i < strUtf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(strUtf8[i]);
        if (c < 0x80) {
            str += static_cast<char>(c);
        } else {
            str += static_cast<char>(((c & 0x03) << 6) | (strUtf8[++i] & 0x3F));
        }
    }
    return str;
}

// Element i of a JSON value as the cell keeps it; false when it differs.
bool SameElement(const json& v, const CMsgCell& cell, int i) {
    switch (cell.m_nFormat) {
        case 11:
            return v.get<int>() == Element<std::uint16_t>(cell, i);
        case 30:
            return v.get<std::int64_t>() == Element<std::int64_t>(cell, i);
        case 31:
            return v.get<int>() == Element<std::int8_t>(cell, i);
        case 32:
            return v.get<int>() == Element<std::int16_t>(cell, i);
        case 34:
            return v.get<std::int64_t>() == Element<std::int32_t>(cell, i);
        case 50:
            return static_cast<double>(v.get<std::uint64_t>()) == Element<double>(cell, i);
        case 51:
            return v.get<int>() == Element<std::uint8_t>(cell, i);
        case 52:
            return v.get<int>() == Element<std::uint16_t>(cell, i);
        case 54:
            return v.get<std::int64_t>() == Element<std::uint32_t>(cell, i);
        case 44: {
            const float f = Element<float>(cell, i);
            return v.is_string() ? !std::isfinite(f) : v.get<float>() == f;
        }
        default: {  // F8: the cell keeps 30 fraction bits
            if (v.is_string()) return true;
            const double d = v.get<double>();
            return std::fabs(d - Element<double>(cell, i)) <= 0x1p-30 + std::fabs(d) * 0x1p-52;
        }
    }
}

// The data items of the JSON, in document order, against the data cells.
void ExpectSameValues(const json& line, const CMsgInfo& msg) {
    std::vector<const json*> items;
    std::vector<const json*> stack;
    for (auto it = line["items"].rbegin(); it != line["items"].rend(); ++it) stack.push_back(&*it);
    while (!stack.empty()) {
        const json& item = *stack.back();
        stack.pop_back();
        if (item["format"] == "L") {
            for (auto it = item["items"].rbegin(); it != item["items"].rend(); ++it)
                stack.push_back(&*it);
        } else if (item["format"] != "unknown") {
            items.push_back(&item);
        }
    }
    std::size_t n = 0;
    for (const auto& pCell : msg.m_cells) {
        if (pCell->m_nFormat == 0) continue;
        ASSERT_LT(n, items.size());
        const json& item = *items[n++];
        SCOPED_TRACE(item.dump());
        ASSERT_EQ(item["code"].get<int>(), pCell->m_nFormat);
        ASSERT_EQ(item["count"].get<int>(), pCell->m_nCount);
        const json& values = item["values"];
        const char* pStore = static_cast<const char*>(pCell->m_pValues);
        if (pCell->m_nFormat == 20) {  // the cell stops at a NUL and pads with blanks
            const std::string str = Latin1(values.get<std::string>());
            EXPECT_EQ(std::string(pStore), str.substr(0, str.find('\0')));
        } else if (pCell->m_nFormat == 21) {
            EXPECT_EQ(std::string(pStore, static_cast<std::size_t>(pCell->m_nCount)),
                      Latin1(values.get<std::string>()));
        } else if (pCell->m_nFormat == 10) {
            std::string strHex;
            for (int i = 0; i < pCell->m_nCount; ++i) {
                char buf[3];
                std::snprintf(buf, sizeof buf, "%02X", Element<unsigned char>(*pCell, i));
                strHex += buf;
            }
            EXPECT_EQ(values.get<std::string>(), strHex);
        } else {
            for (int i = 0; i < pCell->m_nCount; ++i)
                EXPECT_TRUE(SameElement(values[static_cast<std::size_t>(i)], *pCell, i)) << i;
        }
    }
    EXPECT_EQ(n, items.size());
}

TEST(JsonOut, ValuesAgreeWithTheDecodedCells) {
    for (const SMessageFile& f :
         ReadBigFiles({BREVIX_SAMPLES_DIR, BREVIX_FUZZ_CORPUS_DIR, BREVIX_TEST_DATA_DIR,
                       BREVIX_TEST_DATA_DIR "/sml"})) {
        SCOPED_TRACE(f.strPath);
        CDecode decoder;
        const auto pMsg =
            decoder.Decode(f.bytes.data(), static_cast<unsigned>(f.bytes.size()), nullptr);
        const std::string strLine = MessageToJson("f", *pMsg->m_pDoc);
        ASSERT_EQ(strLine.find('\n'), strLine.size() - 1);
        ExpectSameValues(json::parse(strLine), *pMsg);
    }
}

struct JsonCase {
    const char* name;
    const char* body;
    const char* items;  // the "items" member, as nlohmann dumps it
};
const JsonCase kJsonCases[] = {
    {"extremes in full", "01 02 A1 08 FFFFFFFFFFFFFFFF 61 08 8000000000000000",
     R"([{"code":0,"count":2,"format":"L","items":[{"code":50,"count":1,"format":"U8","length":10,)"
     R"("offset":12,"values":[18446744073709551615]},{"code":30,"count":1,"format":"I8","length":10,)"
     R"("offset":22,"values":[-9223372036854775808]}],"length":22,"offset":10}])"},
    {"floats", "81 18 7FF0000000000000 FFF8000000000000 3FB999999999999A",
     R"([{"code":40,"count":3,"format":"F8","length":26,"offset":10,"values":["inf","nan",0.1]}])"},
    {"text and binary", "41 03 22 E9 0A 21 02 00 FF",
     R"([{"code":20,"count":3,"format":"A","length":5,"offset":10,"values":"\"é\n"},)"
     R"({"code":10,"count":2,"format":"B","length":4,"offset":15,"values":"00FF"}])"},
    {"control character", "41 01 1F",
     R"([{"code":20,"count":1,"format":"A","length":3,"offset":10,"values":"\u001f"}])"},
    {"unknown format", "05 01 FF",
     R"([{"code":1,"count":0,"format":"unknown","length":3,"offset":10}])"},
};

TEST(JsonOut, ItemObjects) {
    CDecode decoder;
    for (const JsonCase& c : kJsonCases) {
        SCOPED_TRACE(c.name);
        const auto bytes = MessageBytes(6, 11, c.body);
        const auto pMsg =
            decoder.Decode(bytes.data(), static_cast<unsigned>(bytes.size()), nullptr);
        EXPECT_EQ(json::parse(MessageToJson("f", *pMsg->m_pDoc))["items"].dump(), c.items);
    }
}

// File names are bytes: UTF-8 ones go as they are, any other keeps its exact
// bytes in file_hex.
TEST(JsonOut, FileNames) {
    struct Case {
        const char* name;
        const char* file;
        const char* json;  // "file" as nlohmann dumps it
        const char* hex;   // file_hex, or "" when absent
    };
    const Case kCases[] = {
        {"UTF-8",
         "Pr\xC3\xBC"
         "fung.BIG",
         "\"Pr\xC3\xBC"
         "fung.BIG\"",
         ""},
        {"Latin-1",
         "Pr\xFC"
         "fung",
         "\"Pr\xEF\xBF\xBD"
         "fung\"",
         "5072FC66756E67"},
        {"overlong slash", "\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\"", "C0AF"},
        {"control character", "a\x1F", "\"a\\u001f\"", ""},
    };
    const CMsgDoc doc = DecodeMsgDoc(MessageBytes(1, 1, ""));
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const json j = json::parse(MessageToJson(c.file, doc));
        EXPECT_EQ(j["file"].dump(), c.json);
        EXPECT_EQ(j.contains("file_hex") ? j["file_hex"].get<std::string>() : "", c.hex);
    }
}

}  // namespace
