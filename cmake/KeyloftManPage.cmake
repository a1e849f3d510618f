# klt_install_man_page(PAGE): compresses data/man/PAGE at build time, as Debian keeps man pages, and
# installs it into the man section its name ends in.
include(GNUInstallDirs)
find_program(KLT_GZIP gzip REQUIRED)

function(klt_install_man_page page)
    set(source ${PROJECT_SOURCE_DIR}/data/man/${page})
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
    string(REGEX REPLACE ".*\\.([0-9])$" "\\1" section ${page})
    # -n leaves out name and time, so that the same page always gives the same bytes.
    add_custom_command(OUTPUT ${compressed}
        COMMAND ${KLT_GZIP} -9nc ${source} > ${compressed}
        DEPENDS ${source}
        VERBATIM)
    add_custom_target(man_${page} ALL DEPENDS ${compressed})
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
