# Warnings are errors in our own code; third-party headers come in as SYSTEM.
add_library(kalvitra_warnings INTERFACE)
add_library(Kalvitra::warnings ALIAS kalvitra_warnings)
target_compile_options(kalvitra_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)
