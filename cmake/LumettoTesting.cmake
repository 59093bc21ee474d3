# add_qt_test(NAME <name> SOURCES <files...> LIBS <targets...> [NETWORK] [TIMEOUT <s>])
#
# One QtTest executable registered with CTest. Widgets render offscreen. A NETWORK test opens
# sockets, so it runs inside a private network namespace of its own (scripts/netns-run), where
# nothing it sends can leave the machine; where no namespace can be made it is reported as
# skipped, never as passed.
set(LUMETTO_NETNS_RUN ${PROJECT_SOURCE_DIR}/scripts/netns-run)
set(LUMETTO_SKIP_CODE 77)

function(add_qt_test)
    cmake_parse_arguments(T "NETWORK" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE lumetto_common testsupport Qt5::Test ${T_LIBS})
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(T_NETWORK)
        add_test(NAME ${T_NAME} COMMAND ${LUMETTO_NETNS_RUN} $<TARGET_FILE:${T_NAME}>)
        set_property(TEST ${T_NAME} APPEND PROPERTY LABELS network)
    else()
        add_test(NAME ${T_NAME} COMMAND $<TARGET_FILE:${T_NAME}>)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LUMETTO_BIN_DIR=${CMAKE_BINARY_DIR}/bin;LUMETTO_SOURCE_DIR=${PROJECT_SOURCE_DIR};LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
        SKIP_RETURN_CODE ${LUMETTO_SKIP_CODE}
        TIMEOUT ${T_TIMEOUT})
endfunction()
