# The protections each platform expects of its programs. Native Linux builds use Debian's
# hardening set: fortified C library calls, stack protection, control-flow protection, a
# position-independent program, and relocations that are read-only and bound at start.
# Sanitizer builds turn it off: their own instrumentation does that work.
option(VELMORA_HARDENING "Build with the platform's hardening flags" ON)

if(VELMORA_HARDENING AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  # Fortified calls need the optimiser, so builds without it go without them.
  set(velmora_optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
  add_compile_options(
    -fstack-protector-strong -fstack-clash-protection -fcf-protection
    -Wformat -Werror=format-security
    "$<${velmora_optimised}:-U_FORTIFY_SOURCE>" "$<${velmora_optimised}:-D_FORTIFY_SOURCE=3>")
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()

# Windows: addresses chosen at random from the whole 64-bit range, and no code run from data.
if(MINGW)
  add_link_options(-Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat)
endif()
