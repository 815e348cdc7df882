# One static library per layer, made of every .cpp below the layer's folder (but main.cpp and the
# subfolders named after the folder, which are targets of their own). The folder is reached
# through an include root of the library's own (a link to the folder under the build tree), so a
# file sees the headers of its own layer and of the layers its library links, and no others: an
# include of a higher layer does not compile.
function(vd_layer target dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  foreach(own ${ARGN})
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${dir}/${own}/")
  endforeach()
  if(NOT sources)
    set(sources ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${target} STATIC ${sources})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${dir} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${dir} ${root}/${dir} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# One GoogleTest executable per test folder (its subfolders included, benchmarks left out), with
# the test environment of tests/TestEnvironment.cpp, registered with CTest. Test discovery splits a property's list, so each of the two variables
# goes through a property of its own.
function(vd_test_folder target dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/bench/")
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources} ${CMAKE_SOURCE_DIR}/tests/TestEnvironment.cpp)
  target_link_libraries(${target} PRIVATE vd_testsupport GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${target} WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "VD_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
                                  ENVIRONMENT_MODIFICATION "VD_BINARY_DIR=set:${CMAKE_BINARY_DIR}")
endfunction()
