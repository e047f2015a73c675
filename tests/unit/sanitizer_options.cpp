// Linked into every test program of a sanitizer build: the first report ends
// the program with a failure, however the program is started (ctest, by hand,
// a debugger). ASAN_OPTIONS and UBSAN_OPTIONS still override these.

extern "C" const char* __asan_default_options()
{
    return "halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1";
}

extern "C" const char* __ubsan_default_options()
{
    return "halt_on_error=1:abort_on_error=1:print_stacktrace=1";
}
