# Run by ctest: installs the built package into a fresh prefix, then builds
# and runs a small host against it with find_package and with pkg-config.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
set(libdir ${prefix}/${LIBDIR})

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGV}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/consumer -B ${WORK_DIR}/cmake-build
    -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
run(${WORK_DIR}/cmake-build/consumer)
if(WITH_WIDGETS)
  run(${WORK_DIR}/cmake-build/consumer_widgets)
endif()

find_program(PKG_CONFIG pkg-config REQUIRED)
find_program(CXX NAMES c++ g++ REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${libdir}/pkgconfig)

# Builds tests/consumer/NAME.cpp with the flags pkg-config gives for the
# modules that follow, and runs it. Qt wants position-independent code.
function(build_with_pkg_config name)
  execute_process(COMMAND ${PKG_CONFIG} --cflags --libs ${ARGN}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "pkg-config does not know ${ARGN}")
  endif()
  separate_arguments(flags UNIX_COMMAND "${CXX_FLAGS} -fPIC ${flags}")
  run(${CXX} -std=c++20 ${SOURCE_DIR}/tests/consumer/${name}.cpp ${flags}
      -Wl,-rpath,${libdir} -o ${WORK_DIR}/pkg-config-${name})
  run(${WORK_DIR}/pkg-config-${name})
endfunction()

build_with_pkg_config(consumer quenvarspell)
if(WITH_WIDGETS)
  build_with_pkg_config(consumer_widgets quenvarspell-widgets Qt6Widgets)
endif()

# The Enchant provider, where it was built, finds the installed core through
# its run path, not the build tree's.
set(provider ${libdir}/enchant-2/enchant_quenvarspell.so)
if(EXISTS ${BUILD_DIR}/enchant-2/enchant_quenvarspell.so)
  execute_process(COMMAND ldd ${provider} OUTPUT_VARIABLE dependencies RESULT_VARIABLE result)
  if(NOT result EQUAL 0 OR dependencies MATCHES "not found"
     OR NOT dependencies MATCHES "libquenvarspell.so.0 => ${prefix}/")
    message(FATAL_ERROR "the installed provider does not find the installed core:\n${dependencies}")
  endif()
endif()
