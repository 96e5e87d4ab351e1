# Warnings and sanitizers are attached to each target, so that they reach the
# compiler whatever order the targets are created in.
function(ombrelis_target_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(OMBRELIS_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(OMBRELIS_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
