# The Windows program, its in-process tests and its end-to-end tests (run under Wine).

add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
# Every machine the program targets has SSE2: the line rules scan 16 bytes at a time with it.
# Everything is linked statically, so no program needs the compiler's DLLs beside it.
if(MINGW)
    target_compile_options(quillmere_core PUBLIC -msse2)
    target_link_options(quillmere_core PUBLIC -static)
endif()
set(QM_WIN_LIBS comctl32 uxtheme shell32 ole32 comdlg32 version gdi32 user32 advapi32 kernel32 ntdll)

# Built on Linux, every Windows test runs under Wine in this build's own prefix.
if(CMAKE_CROSSCOMPILING)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine_exec.sh ${CMAKE_BINARY_DIR})
endif()

qm_add_layer(quillmere_win32 ${CMAKE_SOURCE_DIR}/src/win32 LINKS quillmere_platform ${QM_WIN_LIBS})
qm_add_layer(quillmere_jobs ${CMAKE_SOURCE_DIR}/src/jobs LINKS quillmere_platform)
qm_add_layer(quillmere_forms ${CMAKE_SOURCE_DIR}/src/forms LINKS quillmere_jobs quillmere_win32)

# The project's one version (quillmere_version.h, made in the top file) also goes into the version
# resource (and from there the About window), the readme's heading and the packages.
string(LENGTH "Quillmere ${PROJECT_VERSION}" qm_heading_length)
string(REPEAT "=" ${qm_heading_length} QM_README_RULE)
set(QM_README ${QM_GENERATED_DIR}/readme.txt)
# Notepad of every Windows version shows CR LF line ends.
configure_file(src/app/resources/readme.txt ${QM_README} @ONLY NEWLINE_STYLE CRLF)
configure_file(src/app/resources/quillmere.manifest ${QM_GENERATED_DIR}/quillmere_versioned.manifest @ONLY)
configure_file(src/app/resources/quillmerec.manifest ${QM_GENERATED_DIR}/quillmerec_versioned.manifest @ONLY)

file(GLOB QM_APP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/*.cpp)
add_executable(quillmere WIN32 ${QM_APP_SOURCES} src/app/resources/quillmere.rc)
# The resource compiler does not report the files the script pulls in; a changed manifest or icon must
# rebuild the resources (the Windows tests set the same on their copy).
set(QM_RESOURCE_INPUTS ${QM_GENERATED_DIR}/quillmere_versioned.manifest
                       ${CMAKE_SOURCE_DIR}/src/app/resources/quillmere.ico)
set_source_files_properties(src/app/resources/quillmere.rc PROPERTIES OBJECT_DEPENDS "${QM_RESOURCE_INPUTS}")
target_include_directories(quillmere PRIVATE ${CMAKE_SOURCE_DIR}/src/app)
target_link_libraries(quillmere PRIVATE quillmere_forms)
# No link time in the PE header: the same sources give the same program, byte for byte.
if(MINGW)
    target_link_options(quillmere PRIVATE -Wl,--no-insert-timestamp)
endif()

# The console program's layer stands beside the windows: it links the jobs and what is below them, and
# its main (src/app/quillmerec) hands it the Windows layer's console pieces (src/win32/console).
qm_add_layer(quillmere_console ${CMAKE_SOURCE_DIR}/src/console LINKS quillmere_jobs)
# Its own manifest and version information: without a manifest Windows would virtualize this 32-bit
# program's writes into protected folders.
add_executable(quillmerec src/app/quillmerec/windows_main.cpp src/app/resources/quillmerec.rc)
set_source_files_properties(src/app/resources/quillmerec.rc PROPERTIES OBJECT_DEPENDS
                            ${QM_GENERATED_DIR}/quillmerec_versioned.manifest)
target_link_libraries(quillmerec PRIVATE quillmere_console quillmere_win32)
if(MINGW)
    target_link_options(quillmerec PRIVATE -Wl,--no-insert-timestamp)
endif()

add_custom_command(TARGET quillmere POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QM_README} $<TARGET_FILE_DIR:quillmere>/readme.txt)

# GoogleTest built from its sources by the same compiler; without them the tests are left out.
set(QM_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
if(EXISTS ${QM_GTEST_SOURCE_DIR}/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${QM_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    include(GoogleTest)
    add_subdirectory(tests/core)
    add_subdirectory(tests/win32)
    add_subdirectory(tests/jobs)
    add_subdirectory(tests/forms)
    add_subdirectory(tests/e2e)
    add_subdirectory(tests/console)
    # The installer and the portable zip, with makensis (Debian's nsis).
    find_program(QM_MAKENSIS makensis)
    if(QM_MAKENSIS)
        add_subdirectory(tests/package)
    else()
        message(STATUS "makensis not found: the package tests are left out")
    endif()
else()
    message(STATUS "GoogleTest sources not found in ${QM_GTEST_SOURCE_DIR}: Windows tests left out")
endif()

# Benchmarks of the Windows program, run by hand under Wine.
add_subdirectory(${CMAKE_SOURCE_DIR}/bench/win ${CMAKE_BINARY_DIR}/bench/win)
