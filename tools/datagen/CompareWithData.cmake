# Runs the generator into a fresh folder and compares every file it makes with data/, byte for
# byte, so that the committed data files cannot drift from the generator.
file(REMOVE_RECURSE ${OUT_DIR})
execute_process(COMMAND ${GENERATOR} ${OUT_DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "km_datagen failed")
endif()
file(GLOB_RECURSE generated RELATIVE ${OUT_DIR} ${OUT_DIR}/*)
list(LENGTH generated count)
if(count EQUAL 0)
    message(FATAL_ERROR "km_datagen wrote no files")
endif()
foreach(name ${generated})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_DIR}/${name} ${DATA_DIR}/${name}
                    RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        message(FATAL_ERROR "data/${name} differs from the generator's output; run km_datagen data")
    endif()
endforeach()
