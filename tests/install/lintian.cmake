# Packs the built tree into a scratch folder and runs lintian on the package: every tag it reports,
# pedantic ones included, fails the test.
#   cmake -DCPACK=<cpack> -DLINTIAN=<lintian> -DBUILD_DIR=<build> -DOUT=<scratch> -P lintian.cmake
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -G DEB -B ${OUT}
                OUTPUT_VARIABLE packed ERROR_VARIABLE packed RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cpack failed:\n${packed}")
endif()
file(GLOB package ${OUT}/*.deb)
list(LENGTH package count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one package in ${OUT}, found: ${package}")
endif()
# Lintian leaves a cache file in its temporary folder; the scratch folder takes it and goes with it.
file(MAKE_DIRECTORY ${OUT}/tmp)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TMPDIR=${OUT}/tmp
                        ${LINTIAN} --pedantic --display-info --display-experimental --fail-on error,warning,info,pedantic
                        ${package}
                OUTPUT_VARIABLE tags ERROR_VARIABLE errors RESULT_VARIABLE failed)
file(REMOVE_RECURSE ${OUT})
if(failed OR NOT tags STREQUAL "")
  message(FATAL_ERROR "lintian on ${package}:\n${tags}${errors}")
endif()
