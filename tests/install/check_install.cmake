# Installs the build tree into a fresh prefix, then configures, builds and runs a consumer
# project that finds the package with find_package(zarno).
# Arguments: -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... [-DSANITIZE=ON]
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "step failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()
run_step(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
foreach(f include/zarno/zarno.h bin/zarno)
  if(NOT EXISTS "${prefix}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# A sanitized library must be loaded by a sanitized program.
set(flags "")
if(SANITIZE)
  set(flags -DCMAKE_C_FLAGS=-fsanitize=address,undefined
    -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined)
endif()
run_step(${CMAKE_COMMAND} -S "${SOURCE_DIR}/tests/install/consumer" -B "${WORK_DIR}/consumer"
  -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release ${flags})
run_step(${CMAKE_COMMAND} --build "${WORK_DIR}/consumer")
run_step("${WORK_DIR}/consumer/consumer")
run_step("${prefix}/bin/zarno" --version)
file(REMOVE_RECURSE "${WORK_DIR}")
