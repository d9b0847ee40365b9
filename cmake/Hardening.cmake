# Optional instrumented builds.
#
# TESSERA_SANITIZE: the whole program and its tests with AddressSanitizer
# (leak detection included) and UndefinedBehaviorSanitizer; any report
# aborts the process, so a test that triggers one fails.
#
# TESSERA_FUZZ: only the libFuzzer targets of fuzz/ (configure with clang++).
option(TESSERA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TESSERA_FUZZ "Build only the libFuzzer targets (needs clang)" OFF)

if(TESSERA_SANITIZE)
  set(tessera_sanitize_flags -fsanitize=address,undefined -fno-omit-frame-pointer
                             -fno-sanitize-recover=undefined)
  add_compile_options(${tessera_sanitize_flags})
  add_link_options(${tessera_sanitize_flags})
endif()
