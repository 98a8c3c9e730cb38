# Hardened build flags as Debian builds its packages: stack protector, fortified string
# functions (they need optimisation), position-independent executables, read-only relocations
# bound at start-up. The sanitizer builds bring their own checks and leave these out.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
if(NOT MG_SANITIZE)
  add_compile_options(-fstack-protector-strong -fstack-clash-protection
    $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
