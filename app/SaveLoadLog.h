// Saving the load log as a text file ("Save &As..." on the load page).
#pragma once

#include <string>

#include "platform/FileException.h"

class CLoadLog;

/// Writes every line of \p log to \p path, first to last, each followed by
/// CR LF and nothing else; an existing file is replaced without asking.
/// Throws CFileException when the file cannot be created, written or
/// closed; the file at \p path is then as it was before.
void SaveLoadLog(const CLoadLog& log, const std::string& path);

/// The message for a failed save: the file error text, LF, CR,
/// "Filename:" and \p path.
std::string SaveFailureText(const CFileException& failure, const std::string& path);
