# Fails when a C++ source of the project differs from what clang-format makes of it.
file(GLOB_RECURSE sources
  ${SOURCE_DIR}/driver/*.cpp ${SOURCE_DIR}/driver/*.h
  ${SOURCE_DIR}/panel/*.cpp ${SOURCE_DIR}/panel/*.h
  ${SOURCE_DIR}/setup/*.cpp ${SOURCE_DIR}/setup/*.h
  ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/*.h
  ${SOURCE_DIR}/tools/*.cpp ${SOURCE_DIR}/tools/*.h
  ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
  ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h)
execute_process(COMMAND clang-format --dry-run -Werror ${sources}
  RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Not formatted (run: clang-format -i <file>):\n${errors}")
endif()
