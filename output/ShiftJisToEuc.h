// Conversion of written Japanese output files from Shift-JIS to EUC-JP.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "output/COutputRecord.h"
#include "platform/CSafeFileWriter.h"

class COutputObserver;

/// A JIS X 0208 character as its row and cell bytes (0x21-0x7E each for
/// valid input; adding 0x80 to both gives EUC-JP).
struct JisCode {
  unsigned char row;
  unsigned char cell;
};

/// The JIS row and cell of the two-byte Shift-JIS character \p lead \p trail.
JisCode ShiftJisToJis(unsigned char lead, unsigned char trail);

/// How a file conversion ended.
enum class EucOutcome {
  Converted,    ///< the file now holds its EUC form
  OpenFailed,   ///< the file could not be opened; it is unchanged
  ReadFailed,   ///< reading failed part-way; the file is unchanged
  WriteFailed,  ///< the converted copy could not be written; the file is unchanged
  Replaced,     ///< the file is not the one expected any more; it is unchanged
};

/// Result of ConvertFileToEuc: the outcome and the errno behind a failure.
struct EucResult {
  EucOutcome outcome = EucOutcome::Converted;
  int error = 0;
  bool Ok() const { return outcome == EucOutcome::Converted; }
};

/// Converts the file \p path from Shift-JIS to EUC-JP in place, byte for
/// byte as stored (no text-mode translation). The converted copy is written
/// beside the file and only replaces it when it was written completely.
/// Half-width katakana and lead bytes 0xF0-0xFC pass unchanged, as does a
/// lead byte whose next byte cannot be a trail byte.
[[nodiscard]] EucResult ConvertFileToEuc(const std::string& path);
/// The same, only when the file is still the one of \p expected (checked on
/// the opened file): otherwise Replaced.
[[nodiscard]] EucResult ConvertFileToEuc(const std::string& path, const std::optional<CFileStamp>& expected);

/// Converts a block of Shift-JIS bytes into \p out (appended). A lead byte
/// at the very end is held in \p pendingLead (0 when none) for the next
/// block; pass \p atEnd for the last block, which then writes it alone.
void ConvertBlockToEuc(std::string_view block, unsigned char& pendingLead, bool atEnd, std::string& out);

/// The conversion as a transform of the safe-file writer: output files are
/// converted on their way into the temporary file, so no other process
/// ever sees, or converts again, a file half done.
CSafeFileWriter::Transform EucTransform();

/// Converts each file the run recorded in \p written, once, in place
/// (ConvertFileToEuc: the converted copy takes the file's name only when
/// complete). A file that cannot be converted gets a message with the
/// caption "Error" and stays as it is. Returns how many were converted.
int32_t ConvertWrittenFilesToEuc(const std::vector<COutputRecord>& written, COutputObserver& observer);

/// What the conversion tells about the files of \p translatedFiles (a
/// selection text: paths each followed by ";") that the run recorded in
/// \p written did not write: a message "Could not open file : " with the
/// caption "Error" for each, once however often it is listed. The written
/// files were converted as they were written.
void ReportFilesNotConverted(const std::string& translatedFiles, const std::vector<COutputRecord>& written,
                             COutputObserver& observer);
