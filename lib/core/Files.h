#pragma once
// Whole-file reads and safe whole-file writes. A write goes to a temporary file beside the target
// that is renamed into place, so an interrupted save never leaves half a file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace km {

// Reads at most `maxBytes` bytes; nullopt when the file cannot be opened.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t maxBytes);

// Replaces the file whole. Returns false (and leaves any existing file untouched) on failure.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Finds `name` in `folder` ignoring letter case (the data files were named on a system that
// does not tell "DEFAULT.TCT" from "default.tct"). Returns folder/name when nothing matches.
std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& folder,
                                           const std::string& name);

}  // namespace km
