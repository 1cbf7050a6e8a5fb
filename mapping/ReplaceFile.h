// Writing a whole file so that a failure never leaves half of it behind.
#pragma once

#include <string>
#include <string_view>

/// Writes \p bytes as the new content of \p path: into a new file beside
/// it, renamed onto \p path once everything was written. On failure the
/// file at \p path is left as it was and CFileException (naming \p path)
/// is thrown.
void ReplaceFile(const std::string& path, std::string_view bytes);
