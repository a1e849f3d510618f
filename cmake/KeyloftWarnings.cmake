# Common compile options for every Keyloft target: link klt_options (PRIVATE).
add_library(klt_options INTERFACE)
target_compile_options(klt_options INTERFACE -Wall -Wextra -Wpedantic)
if(KLT_WERROR)
    target_compile_options(klt_options INTERFACE -Werror)
endif()
if(KLT_SANITIZE)
    target_compile_options(klt_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
    target_link_options(klt_options INTERFACE -fsanitize=address,undefined)
endif()

