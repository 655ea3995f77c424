# One static library per layer of the program. A layer's include path is its own folder and, through
# the layers it links, the folders below it: nothing above it can be included.
#   qm_add_layer(target folder [SOURCES files...] [LINKS targets and libraries...])
# Without SOURCES, every .cpp under the folder is the layer.
function(qm_add_layer target folder)
    cmake_parse_arguments(LAYER "" "" "SOURCES;LINKS" ${ARGN})
    if(NOT LAYER_SOURCES)
        file(GLOB_RECURSE LAYER_SOURCES CONFIGURE_DEPENDS ${folder}/*.cpp)
    endif()
    add_library(${target} STATIC ${LAYER_SOURCES})
    target_include_directories(${target} PUBLIC ${folder})
    target_link_libraries(${target} PUBLIC ${LAYER_LINKS})
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra)
    endif()
endfunction()
