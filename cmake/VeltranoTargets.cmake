# Shared settings for the project's own targets.

# Warnings and sanitizers for one of our targets.
function(veltrano_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(VELTRANO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(VELTRANO_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=${VELTRANO_SANITIZE} -fno-omit-frame-pointer
                                             -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=${VELTRANO_SANITIZE})
  endif()
endfunction()

# Qt targets: every conversion between bytes and QString is spelled out.
function(veltrano_qt_defaults target)
  veltrano_target_defaults(${target})
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_TO_ASCII QT_RESTRICTED_CAST_FROM_ASCII
                                               QT_NO_KEYWORDS)
endfunction()
