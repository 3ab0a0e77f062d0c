# Any sanitizer report ends the program with a failure: no recovery.
set(KALVITRA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# A double converted to an integer type that cannot hold it is undefined
# behaviour; clang checks it under "undefined", GCC only when asked. Division
# of a double by zero is not checked: it is well defined in IEEE 754, and the
# calculations detect it themselves.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND KALVITRA_SANITIZER_FLAGS -fsanitize=float-cast-overflow)
endif()
add_compile_options(${KALVITRA_SANITIZER_FLAGS})
add_link_options(${KALVITRA_SANITIZER_FLAGS})
