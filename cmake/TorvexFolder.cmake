# One static library per source folder, built from every source file in it.
function(torvex_folder_library name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_library(${name} STATIC ${_src})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# One test program per test folder, built from every source file in it and the one test main.
# WIDGETS: the tests need a widget application (windows, dialogs) rather than a core one.
function(torvex_test_folder name)
    cmake_parse_arguments(ARG "WIDGETS" "" "LIBS" ${ARGN})
    file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_executable(${name} ${_src} ${PROJECT_SOURCE_DIR}/tests/support/TestMain.cpp)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests/support)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} torvex_testsupport GTest::gtest GTest::gmock)
    if(ARG_WIDGETS)
        target_compile_definitions(${name} PRIVATE TORVEX_TEST_WIDGETS)
        target_link_libraries(${name} PRIVATE Qt6::Widgets)
    endif()
    target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/support/QtPrint.h)
    gtest_discover_tests(${name}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()
