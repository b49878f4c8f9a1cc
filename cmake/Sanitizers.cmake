# LINTARO_SANITIZE (for example "address,undefined") instruments every target,
# tests included. Undefined behaviour stops the program instead of only being
# reported.
if(LINTARO_SANITIZE)
  add_compile_options(-fsanitize=${LINTARO_SANITIZE} -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${LINTARO_SANITIZE})
endif()

# Fuzz builds give the whole engine libFuzzer's coverage instrumentation.
if(LINTARO_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
