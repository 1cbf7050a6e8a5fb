// AddressSanitizer's defaults for the fuzz targets; ASAN_OPTIONS still
// overrides any of them.
//
// A quarantine of 64 MB (the default is 256) still holds a freed block back
// for a hundred inputs or more, as one input allocates well under a megabyte,
// so a use after free is found as before; the smaller one is filled in a
// few seconds, not a minute, and stays in the caches. Freed pages are kept
// rather than handed back to the system every few seconds, which each input
// then faulted in again.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=64:allocator_release_to_os_interval_ms=-1";
}
