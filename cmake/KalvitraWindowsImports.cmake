# Run at install time (install(SCRIPT)): every DLL that an installed .exe or
# .dll imports is either installed beside it (in the programs' folder) or
# one of Windows' own. A DLL missing here would stop a program on a bare
# Windows with "the code execution cannot proceed". Needs KALVITRA_OBJDUMP.
set(windows_own
    kernel32 user32 gdi32 gdiplus advapi32 shell32 shlwapi ole32 oleaut32 comdlg32 comctl32
    imm32 winmm winspool.drv uxtheme dwmapi version netapi32 userenv mpr setupapi wtsapi32
    dwrite d2d1 d3d11 dxgi d3d9 authz ws2_32 msvcrt ucrtbase shcore secur32 crypt32 bcrypt
    ntdll usp10 rpcrt4 propsys)
get_filename_component(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
file(GLOB_RECURSE binaries LIST_DIRECTORIES false "${root}/*.exe" "${root}/*.dll")
file(GLOB shipped RELATIVE "${root}" "${root}/*.dll")
string(TOLOWER "${shipped}" shipped)
set(unmet)
foreach(binary IN LISTS binaries)
  execute_process(COMMAND ${KALVITRA_OBJDUMP} -p ${binary} OUTPUT_VARIABLE dump
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
  foreach(import IN LISTS imports)
    string(REGEX REPLACE "^DLL Name: " "" dll "${import}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    string(REGEX REPLACE "\\.dll$" "" name "${dll}")
    list(FIND shipped "${dll}" in_folder)
    list(FIND windows_own "${name}" own_name)
    list(FIND windows_own "${dll}" own_file)
    if(in_folder GREATER -1 OR own_name GREATER -1 OR own_file GREATER -1
       OR name MATCHES "^api-ms-win-")
      continue()
    endif()
    file(RELATIVE_PATH shown "${root}" "${binary}")
    list(APPEND unmet "${shown} imports ${dll}")
  endforeach()
endforeach()
if(unmet)
  list(JOIN unmet "\n  " unmet)
  message(FATAL_ERROR "DLLs neither installed nor Windows' own:\n  ${unmet}")
endif()
list(LENGTH binaries count)
message(STATUS "Every import of the ${count} installed programs and DLLs is met")
