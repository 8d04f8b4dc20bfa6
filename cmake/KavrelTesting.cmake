# kavrel_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [WINDOWS_ONLY] [NATIVE_ONLY]
#                 [LABELS <labels...>] [TIMEOUT <seconds>])
# A GoogleTest program registered with CTest as one test. In the cross build it
# runs under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
function(kavrel_add_test)
    cmake_parse_arguments(T "WINDOWS_ONLY;NATIVE_ONLY" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(T_WINDOWS_ONLY AND NOT KAVREL_WINDOWS)
        return()
    endif()
    if(T_NATIVE_ONLY AND KAVREL_WINDOWS)
        return()
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gmock gtest_main)
    target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR})
    if(KAVREL_WINDOWS)
        set(label wine)
    else()
        set(label native)
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${label};${T_LABELS}")
    kavrel_test_timeout(${T_NAME} ${T_TIMEOUT})
endfunction()

# kavrel_test_timeout(<test> <seconds>)
# The test's time limit, measured on machines that run the code natively.
# Under emulation (the 32-bit suite in an emulated guest) CTest multiplies
# every limit by KAVREL_TEST_TIMEOUT_SCALE from its environment, a whole
# number; see kavrel_write_scaled_timeouts().
function(kavrel_test_timeout test seconds)
    set_tests_properties(${test} PROPERTIES TIMEOUT ${seconds})
    set_property(GLOBAL APPEND PROPERTY KAVREL_TEST_TIMEOUTS ${test} ${seconds})
endfunction()

# Called from a directory added after every test: CTest reads a directory's
# include files before its tests but after the tests of the directories read
# earlier, so the limits this file sets at run time replace those above.
function(kavrel_write_scaled_timeouts)
    get_property(limits GLOBAL PROPERTY KAVREL_TEST_TIMEOUTS)
    set(file "${CMAKE_CURRENT_BINARY_DIR}/scaled_timeouts.cmake")
    file(WRITE "${file}" "set(kavrel_limits [=[${limits}]=])\n" [=[
if("$ENV{KAVREL_TEST_TIMEOUT_SCALE}" MATCHES "^[1-9][0-9]*$")
    while(kavrel_limits)
        list(POP_FRONT kavrel_limits test seconds)
        math(EXPR seconds "${seconds} * $ENV{KAVREL_TEST_TIMEOUT_SCALE}")
        set_tests_properties("${test}" PROPERTIES TIMEOUT ${seconds})
    endwhile()
endif()
]=])
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${file}")
endfunction()
