# Helpers that give every target of the project the same warnings and sanitizers.

function(compensato_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
    -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
    # The same check, a local shadowing a local, is spelled differently by each compiler.
    $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
    $<$<CXX_COMPILER_ID:Clang>:-Wshadow-uncaptured-local>)
  if(COMPENSATO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(COMPENSATO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# compensato_library(name SOURCES ... DEPENDS ...): one static library per component or subsystem.
function(compensato_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
  compensato_options(${name})
  # Every Qt library runs moc on its own; a *_qt library is one by name.
  if(name MATCHES "_qt$" OR "${ARG_DEPENDS}" MATCHES "Qt6::")
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
endfunction()

# compensato_test(name SOURCES ... DEPENDS ...): a GoogleTest executable registered with CTest.
function(compensato_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPENDS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock GTest::gtest_main)
  compensato_options(${name})
  # Test fixtures name only the fields a case changes.
  target_compile_options(${name} PRIVATE -Wno-missing-field-initializers)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  # Listed when ctest runs, so the engines the run has (PostgreSQL once its
  # cluster is up) decide the cases, not the ones the build happened to see.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
endfunction()
