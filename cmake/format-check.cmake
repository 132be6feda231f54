# ctest's format check: every C++ file of src/, tests/, bench/ and fuzz/ as .clang-format wants it.
# Run as: cmake -DSOURCE_DIR=<tree> -P format-check.cmake. Files are listed when the test runs,
# so new ones are checked without configuring again.
find_program(CLANG_FORMAT NAMES clang-format clang-format-14 REQUIRED)
file(GLOB_RECURSE files LIST_DIRECTORIES false
  ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h
  ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
  ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h
  ${SOURCE_DIR}/fuzz/*.cpp ${SOURCE_DIR}/fuzz/*.h)
list(LENGTH files count)
if(count EQUAL 0)
  message(FATAL_ERROR "format check: no C++ file found under ${SOURCE_DIR}")
endif()
list(SORT files)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror --style=file ${files}
  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "format check: clang-format would change the files above; "
    "fix with: clang-format -i <file>")
endif()
message(STATUS "format check: ${count} files formatted")
