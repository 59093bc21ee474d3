# Installs the build into a fresh prefix and checks that the program finds its data beside itself,
# that bin/ links to it, and that the desktop entry, metainfo, file type and icons are where desktops
# look for them.
# Run with -DBUILD_DIR=... -DPREFIX=... -DAPPDIR=... -DBINDIR=... -DDATADIR=...

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(app "${PREFIX}/${APPDIR}")
foreach(file
        "${app}/lumetto-keypad"
        "${app}/defaultConfiguration.xml"
        "${app}/help/LumettoKeypad_ProductGuide.pdf"
        "${PREFIX}/${DATADIR}/applications/lumetto-keypad.desktop"
        "${PREFIX}/${DATADIR}/metainfo/com.orvane.lumetto_keypad.metainfo.xml"
        "${PREFIX}/${DATADIR}/mime/packages/lumetto-keypad.xml"
        "${PREFIX}/${DATADIR}/icons/hicolor/scalable/apps/lumetto-keypad.svg")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "missing after install: ${file}")
    endif()
endforeach()
foreach(size 16 22 24 32 48 64 128 256)
    set(icon "${PREFIX}/${DATADIR}/icons/hicolor/${size}x${size}/apps/lumetto-keypad.png")
    if(NOT EXISTS "${icon}")
        message(FATAL_ERROR "missing icon: ${icon}")
    endif()
endforeach()

set(link "${PREFIX}/${BINDIR}/lumetto-keypad")
if(NOT IS_SYMLINK "${link}")
    message(FATAL_ERROR "${link} is not a link")
endif()
# A relative link keeps working when the installed tree is moved or packaged.
file(READ_SYMLINK "${link}" target)
if(IS_ABSOLUTE "${target}")
    message(FATAL_ERROR "${link} points to the absolute path ${target}")
endif()
get_filename_component(resolved "${link}" REALPATH)
get_filename_component(expected "${app}/lumetto-keypad" REALPATH)
if(NOT resolved STREQUAL expected)
    message(FATAL_ERROR "${link} resolves to ${resolved}, not ${expected}")
endif()

file(READ "${PREFIX}/${DATADIR}/applications/lumetto-keypad.desktop" entry)
if(NOT entry MATCHES "\nExec=lumetto-keypad %f\n" OR NOT entry MATCHES "\nIcon=lumetto-keypad\n")
    message(FATAL_ERROR "the desktop entry does not start the installed program with its icon and a file")
endif()
# The simulator answers discovery like a keypad: it is installed only when asked for by name.
if(EXISTS "${PREFIX}/${BINDIR}/lumetto-keypad-sim")
    message(FATAL_ERROR "the simulator was installed without being asked for")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "install layout as expected")
