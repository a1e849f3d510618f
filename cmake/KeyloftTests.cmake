# Declares a GoogleTest program and lets ctest discover its cases:
#
#   klt_add_test(<name> LABEL <unit|gui|x11|e2e|wayland> [TIMEOUT <seconds>] [EMULATOR <command>...]
#                [SKIP_RETURN_CODE <code>] [PREFIX <prefix>] [FILTER <gtest filter>]
#                SOURCES <file>... LIBRARIES <target>...)
#
# A gui test runs headless (QT_QPA_PLATFORM=offscreen) with a two-minute bound unless TIMEOUT says
# otherwise, and shares the GUI libraries' precompiled Qt headers; EMULATOR runs the program,
# its listing included, through a command such as with-xvfb.
# SKIP_RETURN_CODE is the status by which the emulator says that it cannot run here (with-sway: 77).
function(klt_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "LABEL;TIMEOUT;PREFIX;FILTER;SKIP_RETURN_CODE" "SOURCES;LIBRARIES;EMULATOR")
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} klt_options)
    set(properties LABELS ${arg_LABEL})
    if(arg_LABEL STREQUAL "gui")
        klt_precompile_qt(${name})
        list(APPEND properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
        if(NOT arg_TIMEOUT)
            set(arg_TIMEOUT 120)
        endif()
    endif()
    if(arg_TIMEOUT)
        list(APPEND properties TIMEOUT ${arg_TIMEOUT})
    endif()
    if(arg_SKIP_RETURN_CODE)
        list(APPEND properties SKIP_RETURN_CODE ${arg_SKIP_RETURN_CODE})
    endif()
    if(arg_EMULATOR)
        set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${arg_EMULATOR}")
    endif()
    set(filter "")
    if(arg_FILTER)
        set(filter TEST_FILTER "${arg_FILTER}")
    endif()
    gtest_discover_tests(${name} TEST_PREFIX "${arg_PREFIX}" ${filter} DISCOVERY_TIMEOUT 60
        PROPERTIES ${properties})
endfunction()
