// Keeping a list of file names sorted and free of repeats as new names
// are merged in; page A builds its selection texts with it.
#pragma once

#include <list>
#include <string>

/// Merges the texts of \p source into \p dest, which is kept in descending
/// byte order (unsigned, case-sensitive, whole texts). A text equal to one
/// already in \p dest is not added, so \p dest holds each text once.
/// The walk starts from the entry added last, so runs of nearby names
/// (as a file dialog returns them) cost few comparisons.
void MergeSortedText(const std::list<std::string>& source, std::list<std::string>& dest);
