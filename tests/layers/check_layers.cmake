# The layer order of the product's folders: a file may include headers of its
# own layer and of the layers below it, never of a layer above.
#   platform → storage → framework → ui → access
#     → refbooks / staff / inputaids / staffdocs / rates / backup → demo → dostup / shell
# Run as: cmake -DSOURCE_DIR=<project> -P check_layers.cmake
set(ranks platform:0 storage:1 framework:2 ui:3 access:4 refbooks:5 staff:5 inputaids:5
    staffdocs:5 rates:5 backup:5 demo:6 dostup:7 shell:7)
foreach(entry IN LISTS ranks)
    string(REPLACE ":" ";" pair ${entry})
    list(GET pair 0 folder)
    list(GET pair 1 rank)
    set(rank_${folder} ${rank})
    list(APPEND folders ${folder})
endforeach()

set(violations "")
foreach(folder IN LISTS folders)
    file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
    foreach(source IN LISTS sources)
        file(STRINGS ${source} includes REGEX "^#include \"[a-z_]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" included "${line}")
            if(NOT DEFINED rank_${included})
                continue()
            endif()
            if(rank_${included} GREATER rank_${folder})
                file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
                string(APPEND violations "  ${shown}: ${line} (${folder} may not use ${included})\n")
            endif()
        endforeach()
    endforeach()
endforeach()
if(violations)
    message(FATAL_ERROR "Includes against the layer order:\n${violations}")
endif()
message(STATUS "layer order kept")
