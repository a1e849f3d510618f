# Common compile options for every Keyloft target: klt_target_options(<target>).
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

# Adds the subfolders that already hold a CMakeLists.txt, in the order given.
function(klt_add_existing_subdirs)
    foreach(dir IN LISTS ARGN)
        if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()
