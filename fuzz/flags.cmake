# Instrumentation of the fuzzing build: coverage for libFuzzer in every
# object, the address and undefined-behaviour sanitizers, and an abort on the
# first report so that libFuzzer keeps the input. The files listed in
# coverage-ignore.txt get no coverage feedback (see there why).
set(VARDOSK_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g
    -fsanitize-coverage-ignorelist=${CMAKE_CURRENT_LIST_DIR}/coverage-ignore.txt)
add_compile_options(${VARDOSK_FUZZ_FLAGS})
add_link_options(-fsanitize=address,undefined)
