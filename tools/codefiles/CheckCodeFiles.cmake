# Runs km_codefiles into a fresh folder and checks that sim/data/Radio_SW holds the same code
# files, byte for byte, and no others.
file(REMOVE_RECURSE ${OUT_DIR})
execute_process(COMMAND ${GENERATOR} ${OUT_DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "km_codefiles failed")
endif()
file(GLOB generated RELATIVE ${OUT_DIR} ${OUT_DIR}/*)
file(GLOB shipped RELATIVE ${DATA_DIR} ${DATA_DIR}/*.bin)
list(SORT generated)
list(SORT shipped)
if(NOT generated STREQUAL shipped)
    message(FATAL_ERROR "sim/data/Radio_SW holds ${shipped}, the generator writes ${generated}; "
                        "run km_codefiles sim/data/Radio_SW")
endif()
foreach(name ${generated})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_DIR}/${name} ${DATA_DIR}/${name}
                    RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        message(FATAL_ERROR "sim/data/Radio_SW/${name} differs from the generator's; "
                            "run km_codefiles sim/data/Radio_SW")
    endif()
endforeach()
