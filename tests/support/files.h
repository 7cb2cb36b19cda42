// A whole file as bytes, for comparing results logs with their golden copies.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace voltaro::testing {

// The file's bytes; empty when it cannot be read.
inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace voltaro::testing
