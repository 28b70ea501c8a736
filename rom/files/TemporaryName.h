#pragma once

#include <string>

namespace rom {

// Names tried before giving up: only another program making files of the
// same names at the same moment would need more than one.
constexpr int kTemporaryNameTries = 100;

// A name for a new file while it is written beside the one it is to
// replace: a fixed prefix and random letters, short beside any name the
// output may have (up to 255 bytes), hidden on POSIX systems, and unlikely
// to meet another program's. Each system's writer uses it as it is (its text
// is ASCII, the same in FilePath's terms on both).
[[nodiscard]] std::string temporaryName();

} // namespace rom
