# Compile options of every target of the project (not of GoogleTest).
# Sources are UTF-8; string literals become code page 932 bytes.
function(quillet_compile_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -finput-charset=UTF-8 -fexec-charset=CP932)
  if(WIN32)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
  endif()
endfunction()

if(WIN32)
  # Static runtime, so each program runs on its own.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

option(QUILLET_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QUILLET_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
