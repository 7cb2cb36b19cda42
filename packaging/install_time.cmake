# Run by `cmake --install` (and by cpack): writes the desktop entry and voltaro-cli's manual for the
# prefix being installed to, from the templates beside this file, into VOLTARO_OUT, from where the
# install rules that follow copy them.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(launcher "${prefix}/bin/voltaro")

# Exec takes the launcher as one argument: plain when it needs no quoting, else in double quotes
# with ", `, $ and \ escaped (each backslash doubled again by the file's own escaping), and a
# percent sign doubled. Line breaks cannot be in an installation prefix worth supporting.
if(launcher MATCHES "^[A-Za-z0-9/._+-]+$")
    set(VOLTARO_EXEC "${launcher}")
else()
    string(REPLACE "\\" "\\\\\\\\" quoted "${launcher}")
    string(REGEX REPLACE "([\"`$])" "\\\\\\\\\\1" quoted "${quoted}")
    string(REPLACE "%" "%%" quoted "${quoted}")
    set(VOLTARO_EXEC "\"${quoted}\"")
endif()
string(REPLACE "\\" "\\\\" VOLTARO_TRY_EXEC "${launcher}")
configure_file("${VOLTARO_TEMPLATES}/voltaro.desktop.in" "${VOLTARO_OUT}/voltaro.desktop" @ONLY)

set(VOLTARO_APP_DIR_SHOWN "${prefix}/${VOLTARO_INSTALL_APP_DIR}")
string(REPLACE "\\" "\\e" VOLTARO_APP_DIR_SHOWN "${VOLTARO_APP_DIR_SHOWN}")
string(REPLACE "-" "\\-" VOLTARO_APP_DIR_SHOWN "${VOLTARO_APP_DIR_SHOWN}")
configure_file("${VOLTARO_TEMPLATES}/voltaro-cli.1.in" "${VOLTARO_OUT}/voltaro-cli.1" @ONLY)
