# Checks that every #include "..." under a source tree points down the layers
# and that no two folders include each other, directly or through others.
#
#   cmake -DSOURCE_DIR=<src> -P layering.cmake
#
# Layers, bottom to top (a file may include its own folder and any folder of
# a lower layer; within a layer only the pairs listed below):
#   0 base
#   1 domain areas: records views device meterdb reports export
#   2 widgets: base/ui and <area>/ui
#   3 mainwindow
#   4 programs: app, cli (cli links the domain only: no widgets, no window)
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "layering: SOURCE_DIR is not set")
endif()

set(domain_areas records views device meterdb reports export)

# Which domain area may include which other domain area.
set(allowed_records "")
set(allowed_views records)
set(allowed_device records)
set(allowed_meterdb records device)
set(allowed_reports records views)
set(allowed_export records views reports)

function(folder_layer folder out)
    if(folder STREQUAL "base")
        set(layer 0)
    elseif(folder IN_LIST domain_areas)
        set(layer 1)
    elseif(folder MATCHES "^[a-z]+/ui$")
        string(REGEX REPLACE "/ui$" "" area "${folder}")
        if(area STREQUAL "base" OR area IN_LIST domain_areas)
            set(layer 2)
        else()
            set(layer -1)
        endif()
    elseif(folder STREQUAL "mainwindow")
        set(layer 3)
    elseif(folder STREQUAL "app" OR folder STREQUAL "cli")
        set(layer 4)
    else()
        set(layer -1)
    endif()
    set(${out} ${layer} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
list(SORT sources)

set(problems "")
set(folders "")
foreach(source IN LISTS sources)
    get_filename_component(from ${source} DIRECTORY)
    folder_layer("${from}" from_layer)
    if(from_layer EQUAL -1)
        list(APPEND problems "${source}: folder '${from}' belongs to no layer")
        continue()
    endif()
    list(APPEND folders ${from})
    file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "\"([^\"]+)\"")
            continue()
        endif()
        set(included ${CMAKE_MATCH_1})
        get_filename_component(to ${included} DIRECTORY)
        # A name without a folder is a file beside the includer (or a
        # generated file of the build).
        if(to STREQUAL "" OR to STREQUAL from)
            continue()
        endif()
        folder_layer("${to}" to_layer)
        if(to_layer EQUAL -1)
            list(APPEND problems "${source}: includes \"${included}\" from a folder of no layer")
            continue()
        endif()
        set(ok FALSE)
        if(to_layer LESS from_layer)
            set(ok TRUE)
            if(from STREQUAL "cli" AND to_layer GREATER 1)
                set(ok FALSE) # the command-line tool has no windows
            endif()
        elseif(to_layer EQUAL from_layer)
            if(from_layer EQUAL 1)
                if(to IN_LIST allowed_${from})
                    set(ok TRUE)
                endif()
            elseif(from_layer EQUAL 2)
                set(ok TRUE) # widget folders may use each other; circles are caught below
            endif()
        endif()
        if(NOT ok)
            list(APPEND problems "${source}: includes \"${included}\", which is not below its layer")
        endif()
        # Folder graph for the circle check.
        string(REPLACE "/" "_" from_key ${from})
        list(APPEND edges_${from_key} ${to})
    endforeach()
endforeach()

# Circles: a folder that reaches itself through the folder graph.
list(REMOVE_DUPLICATES folders)
foreach(start IN LISTS folders)
    string(REPLACE "/" "_" start_key ${start})
    set(reached ${edges_${start_key}})
    set(frontier ${reached})
    while(frontier)
        set(next "")
        foreach(f IN LISTS frontier)
            string(REPLACE "/" "_" f_key ${f})
            foreach(t IN LISTS edges_${f_key})
                if(NOT t IN_LIST reached)
                    list(APPEND reached ${t})
                    list(APPEND next ${t})
                endif()
            endforeach()
        endforeach()
        set(frontier ${next})
    endwhile()
    if(start IN_LIST reached)
        list(APPEND problems "folder '${start}' includes itself through other folders (an include circle)")
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "layering: includes against the layers:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "layering: ${count} files, every include points down")
