# Debian's hardening flags (dpkg-buildflags with hardening=+all) for every
# target: the stack protector, format strings checked, fortified library
# calls, and relocations made read-only once bound at start. Position
# independence the compiler gives already. Fortifying needs optimisation,
# and under the sanitizers it would hide the library calls they check, so
# those builds go without it.
add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
if(NOT SCRIBBO_SANITIZE AND NOT SCRIBBO_FUZZ)
    add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endif()
add_link_options(-Wl,-z,relro -Wl,-z,now)
