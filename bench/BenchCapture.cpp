#include "BenchCapture.h"

#include <algorithm>
#include <random>

namespace {

constexpr std::size_t kMss = 1460;

void PutBe(std::vector<unsigned char>& out, unsigned long v, int nBytes) {
    for (int i = nBytes - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void PutLe(std::vector<unsigned char>& out, unsigned long v, int nBytes) {
    for (int i = 0; i < nBytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

struct SCapture {
    std::vector<unsigned char> bytes;
    unsigned long nSeq[2] = {1001, 9001};
    unsigned long nMicros = 1765100000ul * 1000000ul;
};

// The bytes of one direction, cut into segments of at most one MSS.
void Flush(SCapture& cap, int nDir, std::vector<unsigned char>& stream) {
    for (std::size_t i = 0; i < stream.size(); i += kMss) {
        const std::size_t n = std::min(kMss, stream.size() - i);
        cap.nMicros += 20;
        PutLe(cap.bytes, cap.nMicros / 1000000, 4);
        PutLe(cap.bytes, cap.nMicros % 1000000, 4);
        PutLe(cap.bytes, 54 + n, 4);
        PutLe(cap.bytes, 54 + n, 4);
        cap.bytes.insert(cap.bytes.end(), 12, 0x02);
        PutBe(cap.bytes, 0x08004500, 4);
        PutBe(cap.bytes, 40 + n, 2);
        PutBe(cap.bytes, 0x4000, 4);
        PutBe(cap.bytes, 0x40060000, 4);
        PutBe(cap.bytes, nDir ? 0x0A000002 : 0x0A000001, 4);
        PutBe(cap.bytes, nDir ? 0x0A000001 : 0x0A000002, 4);
        PutBe(cap.bytes, nDir ? 5000 : 40000, 2);
        PutBe(cap.bytes, nDir ? 40000 : 5000, 2);
        PutBe(cap.bytes, cap.nSeq[nDir], 4);
        PutBe(cap.bytes, 0, 4);
        PutBe(cap.bytes, 0x5018FFFF, 4);
        PutBe(cap.bytes, 0, 4);
        cap.bytes.insert(cap.bytes.end(), stream.begin() + static_cast<long>(i),
                         stream.begin() + static_cast<long>(i + n));
        cap.nSeq[nDir] += n;
    }
    stream.clear();
}

void PutMessage(std::vector<unsigned char>& out, int nStream, int nFunction, unsigned long nSystem,
                std::size_t nBody) {
    PutBe(out, 10 + nBody, 4);
    PutBe(out, 0, 2);
    out.push_back(static_cast<unsigned char>(nStream | (nFunction % 2 ? 0x80 : 0)));
    out.push_back(static_cast<unsigned char>(nFunction));
    PutBe(out, 0, 2);
    PutBe(out, nSystem, 4);
    if (nBody == 0) return;
    out.push_back(0x22);  // one binary item filling the body, two length bytes
    PutBe(out, nBody - 3, 2);
    out.resize(out.size() + nBody - 3, 0x5A);
}

}  // namespace

// S6F11W with bodies of 3 to 1202 bytes and a small S6F12 reply each, eight
// pairs a burst, both directions cut at the MSS, so messages span packets.
std::vector<unsigned char> HsmsCapture(int nPairs) {
    SCapture cap;
    PutLe(cap.bytes, 0xA1B2C3D4, 4);
    PutLe(cap.bytes, 0x00040002, 4);
    PutLe(cap.bytes, 0, 8);
    PutLe(cap.bytes, 262144, 4);
    PutLe(cap.bytes, 1, 4);
    std::vector<unsigned char> streams[2];
    std::mt19937 rng(11);
    for (int i = 0; i < nPairs; ++i) {
        PutMessage(streams[0], 6, 11, static_cast<unsigned long>(i), 3 + rng() % 1200);
        PutMessage(streams[1], 6, 12, static_cast<unsigned long>(i), 3);
        if (i % 8 == 7) {
            Flush(cap, 0, streams[0]);
            Flush(cap, 1, streams[1]);
        }
    }
    Flush(cap, 0, streams[0]);
    Flush(cap, 1, streams[1]);
    return cap.bytes;
}
