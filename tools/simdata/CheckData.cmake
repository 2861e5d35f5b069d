# Runs km_simdata into a fresh folder and checks that sim/data holds the same files, byte for
# byte, so that the files beside the program keep matching the virtual radio's memory map.
file(REMOVE_RECURSE ${OUT_DIR})
execute_process(COMMAND ${GENERATOR} ${OUT_DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "km_simdata failed")
endif()
foreach(name FIT000101.bin aligncfg.bin demo.pmr)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_DIR}/${name} ${DATA_DIR}/${name}
                    RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        message(FATAL_ERROR "sim/data/${name} differs from the virtual radio's; run km_simdata sim/data")
    endif()
endforeach()
