# Runs the builder into OUT and compares every database with the one in DIST.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${TOOL} --parts ${PARTS} --dist ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "mkpartsdb failed: ${rc}")
endif()
foreach(name ravoze.mdb photo.mdb addon_eyes.mdb addon_hats.mdb)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DIST}/${name} ${OUT}/${name}
                  RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    message(FATAL_ERROR "${name} differs between two builds from the same artwork")
  endif()
endforeach()
message(STATUS "Two builds gave identical databases")
