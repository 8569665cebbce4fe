# Instrumentation of the fuzzing build: coverage for libFuzzer in every
# object, the address and undefined-behaviour sanitizers, and an abort on the
# first report so that libFuzzer keeps the input. The files listed in
# coverage-ignore.txt get no coverage feedback (see there why).
# The list's checksum goes into the flags, so that a changed list rebuilds
# every object (the compiler does not report the list as a dependency).
set(coverage_ignore ${CMAKE_CURRENT_LIST_DIR}/coverage-ignore.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${coverage_ignore})
file(SHA1 ${coverage_ignore} coverage_ignore_sha1)
string(SUBSTRING ${coverage_ignore_sha1} 0 12 coverage_ignore_sha1)
set(VARDOSK_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g
    -fsanitize-coverage-ignorelist=${coverage_ignore} -DVARDOSK_COVERAGE_IGNORE=${coverage_ignore_sha1})
add_compile_options(${VARDOSK_FUZZ_FLAGS})
add_link_options(-fsanitize=address,undefined)
