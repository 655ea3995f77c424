# The Windows program, its in-process tests and its end-to-end tests (run under Wine).

add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
# Every machine the program targets has SSE2: the line rules scan 16 bytes at a time with it.
# Everything is linked statically, so no program needs the compiler's DLLs beside it.
if(MINGW)
    target_compile_options(quillmere_core PUBLIC -msse2)
    target_link_options(quillmere_core PUBLIC -static)
endif()
set(QM_WIN_LIBS comctl32 uxtheme shell32 ole32 comdlg32 version gdi32 user32 advapi32 kernel32)

# Built on Linux, every Windows test runs under Wine in this build's own prefix.
if(CMAKE_CROSSCOMPILING)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine_exec.sh ${CMAKE_BINARY_DIR})
endif()

file(GLOB_RECURSE QM_ALL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
set(QM_WIN_SOURCES ${QM_ALL_SOURCES})
list(REMOVE_ITEM QM_WIN_SOURCES ${QM_CORE_SOURCES} ${CMAKE_SOURCE_DIR}/src/app/main.cpp)

add_library(quillmere_win STATIC ${QM_WIN_SOURCES})
target_link_libraries(quillmere_win PUBLIC quillmere_core ${QM_WIN_LIBS})

add_executable(quillmere WIN32 src/app/main.cpp src/app/resources/quillmere.rc)
# The resource compiler does not report the files the script pulls in; a changed manifest or icon must
# rebuild the resources (the Windows tests set the same on their copy).
set(QM_RESOURCE_INPUTS ${CMAKE_SOURCE_DIR}/src/app/resources/quillmere.manifest
                       ${CMAKE_SOURCE_DIR}/src/app/resources/quillmere.ico)
set_source_files_properties(src/app/resources/quillmere.rc PROPERTIES OBJECT_DEPENDS "${QM_RESOURCE_INPUTS}")
target_link_libraries(quillmere PRIVATE quillmere_win)
add_custom_command(TARGET quillmere POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/src/app/resources/readme.txt
            $<TARGET_FILE_DIR:quillmere>/readme.txt)

# GoogleTest built from its sources by the same compiler; without them the tests are left out.
set(QM_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
if(EXISTS ${QM_GTEST_SOURCE_DIR}/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${QM_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    include(GoogleTest)
    add_subdirectory(tests/win)
    add_subdirectory(tests/e2e)
else()
    message(STATUS "GoogleTest sources not found in ${QM_GTEST_SOURCE_DIR}: Windows tests left out")
endif()

# Benchmarks of the Windows program, run by hand under Wine.
add_subdirectory(${CMAKE_SOURCE_DIR}/bench/win ${CMAKE_BINARY_DIR}/bench/win)
