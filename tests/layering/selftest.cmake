# Runs the layering check on small planted source trees: a sound tree must
# pass, and each planted fault must make it fail.
#
#   cmake -DCHECK=<layering.cmake> -DWORK_DIR=<scratch folder> -P selftest.cmake
cmake_minimum_required(VERSION 3.25)

# plant(<case> <file> <included> [<file> <included>]...): a tree of files,
# each with one #include line.
function(plant name)
    set(root ${WORK_DIR}/${name})
    file(REMOVE_RECURSE ${root})
    set(args ${ARGN})
    while(args)
        list(POP_FRONT args file included)
        file(WRITE ${root}/${file} "#pragma once\n#include \"${included}\"\n")
    endwhile()
endfunction()

function(expect name outcome)
    execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK_DIR}/${name} -P ${CHECK}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(outcome STREQUAL "pass" AND NOT rc EQUAL 0)
        message(FATAL_ERROR "layering self-test '${name}': expected to pass, failed:\n${err}")
    elseif(outcome STREQUAL "fail" AND rc EQUAL 0)
        message(FATAL_ERROR "layering self-test '${name}': a planted fault was not found")
    endif()
endfunction()

plant(sound
      base/a.h QString
      records/r.h base/a.h
      views/v.h records/r.h
      views/ui/w.h views/v.h
      records/ui/x.h views/ui/w.h
      mainwindow/m.h records/ui/x.h
      app/main.cpp mainwindow/m.h
      cli/main.cpp records/r.h)
expect(sound pass)

plant(upward base/a.h records/r.h records/r.h QString)
expect(upward fail)

plant(domain_into_widgets records/r.h records/ui/x.h records/ui/x.h QString)
expect(domain_into_widgets fail)

plant(widgets_into_window views/ui/w.h mainwindow/m.h mainwindow/m.h QString)
expect(widgets_into_window fail)

plant(domain_pair_not_listed records/r.h device/d.h device/d.h QString)
expect(domain_pair_not_listed fail)

plant(widget_circle records/ui/x.h views/ui/w.h views/ui/w.h records/ui/x.h)
expect(widget_circle fail)

plant(cli_with_widgets cli/c.cpp views/ui/w.h views/ui/w.h QString)
expect(cli_with_widgets fail)

plant(unknown_folder gadgets/g.h base/a.h base/a.h QString)
expect(unknown_folder fail)

message(STATUS "layering self-test: the sound tree passes, every planted fault fails")
