# add_qt_test(NAME <name> SOURCES <files...> LIBS <targets...> [NETWORK] [TIMEOUT <s>]
#             [EXECUTABLE <target>] [WRAPPER <command...>] [ENVIRONMENT <VAR=value...>])
#
# One QtTest executable registered with CTest. Widgets render offscreen. A NETWORK test opens
# sockets, so it runs inside a private network namespace of its own (scripts/netns-run), where
# nothing it sends can leave the machine; where no namespace can be made it is reported as
# skipped, never as passed. EXECUTABLE registers another run of an existing test executable (under
# its own NAME) instead of building one; WRAPPER is a command the test runs through (inside the
# namespace); ENVIRONMENT adds to the test's environment.
set(LUMETTO_NETNS_RUN ${PROJECT_SOURCE_DIR}/scripts/netns-run)
set(LUMETTO_SKIP_CODE 77)

function(add_qt_test)
    cmake_parse_arguments(T "NETWORK" "NAME;TIMEOUT;EXECUTABLE" "SOURCES;LIBS;WRAPPER;ENVIRONMENT" ${ARGN})
    if(T_EXECUTABLE)
        set(target ${T_EXECUTABLE})
    else()
        set(target ${T_NAME})
        add_executable(${target} ${T_SOURCES})
        target_link_libraries(${target} PRIVATE lumetto_common testsupport Qt5::Test ${T_LIBS})
        set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    endif()
    if(T_NETWORK)
        add_test(NAME ${T_NAME} COMMAND ${LUMETTO_NETNS_RUN} ${T_WRAPPER} $<TARGET_FILE:${target}>)
        set_property(TEST ${T_NAME} APPEND PROPERTY LABELS network)
    else()
        add_test(NAME ${T_NAME} COMMAND ${T_WRAPPER} $<TARGET_FILE:${target}>)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LUMETTO_BIN_DIR=${CMAKE_BINARY_DIR}/bin;LUMETTO_SOURCE_DIR=${PROJECT_SOURCE_DIR};LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;${T_ENVIRONMENT}"
        SKIP_RETURN_CODE ${LUMETTO_SKIP_CODE}
        TIMEOUT ${T_TIMEOUT})
endfunction()
