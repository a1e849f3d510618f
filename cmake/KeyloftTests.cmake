# Declares a GoogleTest program and lets ctest discover its cases:
#
#   klt_add_test(<name> LABEL <unit|gui|x11|e2e> [TIMEOUT <seconds>] [EMULATOR <command>...]
#                [PREFIX <prefix>] [FILTER <gtest filter>] SOURCES <file>... LIBRARIES <target>...)
#
# A gui test runs headless (QT_QPA_PLATFORM=offscreen) with a two-minute bound unless TIMEOUT says
# otherwise; EMULATOR runs the program, its listing included, through a command such as with-xvfb.
function(klt_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "LABEL;TIMEOUT;PREFIX;FILTER" "SOURCES;LIBRARIES;EMULATOR")
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} klt_options)
    set(properties LABELS ${arg_LABEL})
    if(arg_LABEL STREQUAL "gui")
        list(APPEND properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
        if(NOT arg_TIMEOUT)
            set(arg_TIMEOUT 120)
        endif()
    endif()
    if(arg_TIMEOUT)
        list(APPEND properties TIMEOUT ${arg_TIMEOUT})
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
