#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/t_state.h"

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/tulvane-test-XXXXXX";
        path_ = ::mkdtemp(tmpl) ? tmpl : "";
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes bytesOf(const TState& s) {
    return Bytes(s.bytes.begin(), s.bytes.end());
}

// A record whose every byte depends on seed, so that records differ everywhere and no field is left zero.
inline TState patternRecord(int seed, std::int32_t action = 0) {
    TState s;
    for (std::size_t i = 0; i < s.bytes.size(); ++i)
        s.bytes[i] = static_cast<std::uint8_t>(seed * 37 + i * 11 + 1);
    s.setAction(action);
    return s;
}

// Whole records back to back, then a tail of extra bytes.
inline Bytes fileImage(const std::vector<TState>& records, std::size_t tail = 0) {
    Bytes out;
    for (const auto& r : records) out.insert(out.end(), r.bytes.begin(), r.bytes.end());
    for (std::size_t i = 0; i < tail; ++i) out.push_back(static_cast<std::uint8_t>(0xA0 + i));
    return out;
}

// Names in a folder, for checking that nothing was left behind.
inline std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename());
    return names;
}
