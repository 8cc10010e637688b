// Linked into every program of the sanitizer build only: the defaults its runtime reads before main, so that
// a test, a hand-run game and a verifier started with an empty environment all check alike.

// The leak checker's record of dynamically loaded libraries' thread-local storage (the GL driver's) now and
// then holds a torn entry at exit, and its scan then crashes the program after it has done its work. Without
// that record, static thread-local storage, stacks and globals are still scanned.
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}
