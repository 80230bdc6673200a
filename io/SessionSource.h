#pragma once
#include <sys/mman.h>

#include <cstddef>
#include <vector>

#include "io/SessionIndex.h"

// The bytes a session indexes: a read-only mapping of its file, or bytes
// handed over. Offsets with the top bit set name the session's own store.
inline constexpr std::uint64_t kOwnStoreBit = 1ull << 63;

struct CSession::CSource {
    std::vector<unsigned char> m_bytes;
    void* m_pMap = nullptr;
    std::size_t m_nMap = 0;

    CSource() = default;
    CSource(const CSource&) = delete;
    CSource& operator=(const CSource&) = delete;
    ~CSource() {
        if (m_pMap) ::munmap(m_pMap, m_nMap);
    }
    const unsigned char* Data() const {
        return m_pMap ? static_cast<const unsigned char*>(m_pMap) : m_bytes.data();
    }
    std::size_t Size() const { return m_pMap ? m_nMap : m_bytes.size(); }
};
