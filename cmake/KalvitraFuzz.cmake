# libFuzzer build: every target is instrumented for coverage and checked by
# AddressSanitizer and UndefinedBehaviorSanitizer; only the fuzzers themselves
# link libFuzzer's driver (tests/fuzz), so the libraries, the programs, their
# tests and benchmarks still build as ordinary programs: scripts/fuzz.sh
# builds them all here, the project's one build with clang. Needs clang
# (CC=clang CXX=clang++).
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "KALVITRA_FUZZ needs clang: configure with CXX=clang++ "
                      "(Debian packages clang and libclang-rt-14-dev)")
endif()

set(KALVITRA_FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all
                             -fno-omit-frame-pointer)
add_compile_options(-fsanitize=fuzzer-no-link ${KALVITRA_FUZZ_SANITIZERS} -g)
add_link_options(${KALVITRA_FUZZ_SANITIZERS})

# The fuzzers replay their corpora as tests in this build, whatever
# KALVITRA_BUILD_TESTS says.
enable_testing()
