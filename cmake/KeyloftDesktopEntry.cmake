# Run by `cmake --install`: writes the desktop entry for the prefix being installed to (which
# --prefix may change after configuring), so that its Exec names the installed program.
#   KLT_DESKTOP_TEMPLATE, KLT_DESKTOP_BUILT, KLT_BINDIR, KLT_APPDIR are set by the install rules.
foreach(dir IN ITEMS KLT_BINDIR KLT_APPDIR)
    if(NOT IS_ABSOLUTE "${${dir}}")
        set(${dir} "${CMAKE_INSTALL_PREFIX}/${${dir}}")
    endif()
endforeach()
set(KLT_EXEC "\"${KLT_BINDIR}/keyloft\"")
configure_file("${KLT_DESKTOP_TEMPLATE}" "${KLT_DESKTOP_BUILT}" @ONLY)
file(INSTALL "${KLT_DESKTOP_BUILT}" DESTINATION "${KLT_APPDIR}")
