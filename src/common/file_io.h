#pragma once
// Whole-file reading and all-or-nothing writing of result files.

#include <optional>
#include <string>
#include <string_view>

namespace tarvel {

// The bytes of a file; nullopt when it cannot be opened.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes the bytes to a temporary file in the same folder and renames it over
// `path` only when complete, so a failure never leaves a half-written file
// and never destroys the old one. On failure returns false and sets *error.
bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// Folder part of a path including its trailing separator ("" when none).
std::string folderOf(const std::string& path);
// Last path component.
std::string fileNameOf(const std::string& path);

}  // namespace tarvel
