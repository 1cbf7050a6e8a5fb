// The ordinary heap on huge pages, where the system gives them.
//
// Note [heap on huge pages]: on the virtual machines we measure, the first
// touch of a small page costs about 11 microseconds (3 ms per MB), of a
// huge page about 0.15 ms (0.075 ms per MB). Building the mapping table of
// a 40 MB document fills a few MB of small heap pieces (the references of
// each group, the rows' merged references): half of its time went to page
// faults. The C library's allocator advises huge pages for its heap only
// when told so before the program starts; these functions do it from
// inside: the heap grows by a reserve at a time, and is advised once work
// is large enough that a heap resident in steps of a huge page is nothing
// against it.
#pragma once

#include <cstdint>

/// Makes the heap grow by a reserve at a time (pieces from a huge page on
/// are mapped on their own) and finds it. Call once at the start of a
/// program, before it starts threads. Where the allocator is another,
/// nothing changes.
void PrepareHeap();

/// Advises huge pages for the heap from now on, when \p workBytes (the
/// size of the documents about to be read) is at least kHugeHeapWork.
/// Only advice: where the system has no huge pages, nothing changes.
/// Returns whether the heap is advised.
bool UseHugePagesForHeap(uint64_t workBytes);
inline constexpr uint64_t kHugeHeapWork = uint64_t{16} << 20;

/// Gives the heap's free memory back to the system, except the reserve at
/// its top: giving that back too would make an advised heap grow again on
/// small pages. Advises all of the heap again when it is advised.
void GiveBackFreeHeap();
