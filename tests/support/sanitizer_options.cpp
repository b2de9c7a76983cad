// Options of the sanitizers for every test program, built into it: ctest
// hands a discovered test no more than one environment variable, and the
// options must hold however a test program is started.
#if defined(__SANITIZE_ADDRESS__)

extern "C" {

// The leak checker's record of dynamically loaded libraries' thread-local
// blocks guesses a block's bounds from the bytes before it; when a block of
// the OpenGL driver happens to start 16 bytes into a page, the guess is
// garbage and the checker crashes at exit after the test has passed. Not
// recording them leaves only those blocks unscanned.
const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

const char* __lsan_default_options()
{
    return "suppressions=" QUORVEL_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

} // extern "C"

#endif
