// AddressSanitizer settings built into every fuzz target (ASAN_OPTIONS still overrides them).
// Each run allocates thousands of small strings; by default every allocation and free records a
// 30-frame stack and fills the new block with a pattern. Eight frames still show where a block
// came from and went, and the fill finds nothing the sanitizer would not: what is detected stays
// the same, the runs get cheaper.
extern "C" const char* __asan_default_options() {
    return "malloc_context_size=8:max_malloc_fill_size=0";
}
