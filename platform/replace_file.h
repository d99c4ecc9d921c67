#pragma once
// Replaces a file's contents so that a crash or a full disk leaves either
// the old file whole or the new one: written to a temporary file in the
// same folder, then renamed over it. A symbolic link is written through to
// its target and stays a link; the target keeps its mode and owner.

#include <string>
#include <string_view>

namespace platform {

bool ReplaceFileContents(const std::string& path, std::string_view contents);

}  // namespace platform
