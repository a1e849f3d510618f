# The program describes itself from its own file: its version strings and build time live in the
# section .keyloft.version of the executable, one "name=value" line each, where the application
# object reads them back at start. The section is added right after linking, so the build time is
# the link time (or SOURCE_DATE_EPOCH for a reproducible build).
#
#   klt_embed_version_info(<target>)     adds the section to the target's executable
#   cmake -P KeyloftVersionInfo.cmake    (script mode, run by that step)

if(CMAKE_SCRIPT_MODE_FILE)
    string(TIMESTAMP build_time "%s" UTC)
    set(prefix "\\StringFileInfo\\040904B0\\")
    set(block "")
    foreach(entry IN ITEMS
            "ProductName=Keyloft"
            "ProductVersion=${KLT_VERSION}"
            "FileVersion=${KLT_VERSION}"
            "LegalCopyright=Copyright (C) 2026 Quellmoor"
            "OriginalFilename=keyloft"
            "InternalName=KLT"
            "FileDescription=Keyloft Program File"
            "CompanyName=Quellmoor")
        string(APPEND block "${prefix}${entry}\n")
    endforeach()
    string(APPEND block "TimeDateStamp=${build_time}\n")
    file(WRITE "${KLT_BLOCK}" "${block}")
    execute_process(COMMAND "${KLT_OBJCOPY}" --remove-section=.keyloft.version
                            --add-section ".keyloft.version=${KLT_BLOCK}" "${KLT_PROGRAM}"
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not add the version section to ${KLT_PROGRAM}")
    endif()
    return()
endif()

set(KLT_VERSION_INFO_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(klt_embed_version_info target)
    if(NOT CMAKE_OBJCOPY)
        message(FATAL_ERROR "objcopy is needed to embed the version information")
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -DKLT_PROGRAM=$<TARGET_FILE:${target}> -DKLT_OBJCOPY=${CMAKE_OBJCOPY}
                -DKLT_VERSION=${PROJECT_VERSION}
                -DKLT_BLOCK=${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/${target}.version
                -P ${KLT_VERSION_INFO_SCRIPT}
        VERBATIM)
endfunction()
