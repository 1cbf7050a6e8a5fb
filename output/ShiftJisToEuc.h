// Conversion of written Japanese output files from Shift-JIS to EUC-JP.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "output/COutputRecord.h"

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

/// Converts a block of Shift-JIS bytes into \p out (appended). A lead byte
/// at the very end is held in \p pendingLead (0 when none) for the next
/// block; pass \p atEnd for the last block, which then writes it alone.
void ConvertBlockToEuc(std::string_view block, unsigned char& pendingLead, bool atEnd,
                       std::string& out);

/// Converts the output file of each file of \p translatedFiles (a selection
/// text: paths each followed by ";"), in list order, when the run recorded
/// in \p written wrote it. A file that was not written, or whose output
/// cannot be converted, gets a message with the caption "Error" and stays
/// as it is; the others are converted. Returns how many were converted.
int32_t ConvertOutputToEuc(const std::string& translatedFiles, const std::vector<COutputRecord>& written,
                        COutputObserver& observer);
