# One static library per source folder; every .cpp in the folder (but main.cpp) belongs to it.
function(vd_module target dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)
    set(sources ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# One GoogleTest executable per test folder, registered with CTest. Test discovery splits a
# property's list, so each of the two variables goes through a property of its own.
function(vd_test_folder target dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/bench/")
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE vd_testsupport ${VD_LINK_ALL} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${target} WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "VD_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
                                  ENVIRONMENT_MODIFICATION "VD_BINARY_DIR=set:${CMAKE_BINARY_DIR}")
endfunction()
