// The files a job writes and reads, and the check that it writes none of
// the files it reads, however their paths are spelled.
#pragma once

#include <optional>
#include <string>
#include <vector>

class CWizardChoices;

/// A write that would land on a file the job reads.
struct CWriteConflict {
  std::string target;  ///< the path the job would write
  std::string input;   ///< the path under which the job reads the same file
};

/// Every file a job over \p choices reads: its translated and font files.
std::vector<std::string> FilesReadBy(const CWizardChoices& choices);

/// The path of the copy of each translated file of \p choices, as the
/// output run names it; files outside the source folder have none.
std::vector<std::string> OutputTargetsOf(const CWizardChoices& choices);

/// The first of \p targets that is one of \p reads, decided by the file
/// system (device and inode, or canonical path): "./", "..", symbolic links
/// and hard links are seen through; names that differ in case are two files.
std::optional<CWriteConflict> FindWriteConflict(const std::vector<std::string>& targets,
                                                const std::vector<std::string>& reads);

/// The check a job makes before it writes anything: the output files of
/// \p choices and \p otherTargets (a saved map or log) against the
/// translated and font files and \p otherReads (map files).
std::optional<CWriteConflict> CheckJobWrites(const CWizardChoices& choices,
                                             const std::vector<std::string>& otherTargets,
                                             const std::vector<std::string>& otherReads);

/// The message that names both paths of \p conflict.
std::string WriteConflictText(const CWriteConflict& conflict);
