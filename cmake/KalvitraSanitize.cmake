# Any sanitizer report ends the program with a failure: no recovery.
set(KALVITRA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${KALVITRA_SANITIZER_FLAGS})
add_link_options(${KALVITRA_SANITIZER_FLAGS})
