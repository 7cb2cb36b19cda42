# Run by `cmake --install` (and by cpack): writes the desktop entry and the two manuals for the
# prefix being installed to, and the changelog, from the templates beside this file, into
# VOLTARO_OUT, from where the install rules that follow copy them.
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
set(VOLTARO_DOC_DIR_SHOWN "${prefix}/share/doc/voltaro")
string(REPLACE "\\" "\\e" VOLTARO_DOC_DIR_SHOWN "${VOLTARO_DOC_DIR_SHOWN}")
string(REPLACE "-" "\\-" VOLTARO_DOC_DIR_SHOWN "${VOLTARO_DOC_DIR_SHOWN}")
# The manuals and the changelog are installed compressed; -n keeps the name and time out, so the
# same text packs the same.
foreach(page voltaro voltaro-cli)
    configure_file("${VOLTARO_TEMPLATES}/${page}.1.in" "${VOLTARO_OUT}/${page}.1" @ONLY)
endforeach()
configure_file("${VOLTARO_TEMPLATES}/changelog" "${VOLTARO_OUT}/changelog" COPYONLY)
foreach(file voltaro.1 voltaro-cli.1 changelog)
    execute_process(COMMAND gzip -9nc "${VOLTARO_OUT}/${file}" OUTPUT_FILE "${VOLTARO_OUT}/${file}.gz"
                    RESULT_VARIABLE gzipped)
    if(NOT gzipped EQUAL 0)
        message(FATAL_ERROR "cannot compress ${file}: ${gzipped}")
    endif()
endforeach()
