# The layer check run on tests/layers/upward must fail and name exactly these includes; every
# other include of that tree is one the table allows (each file says which).
# Usage: cmake -DCHECK=<check_layers.cmake> -DTREE=<tree> -P layers_test.cmake
set(refused
  "console/screen.cpp includes \"platform/sdl/video_sdl.h\""
  "diphone/sound.cpp includes \"console/console.h\""
  "diphone/synth.cpp includes \"platform/audio/pcm.h\""
  "driver/driver_run.cpp includes \"platform/memory/video_memory.h\""
  "platform/video.h includes \"platform/sdl/video_sdl.h\"")

execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${TREE} -P ${CHECK}
                RESULT_VARIABLE result ERROR_VARIABLE said)
string(REGEX MATCHALL "[^ \n][^\n]* includes \"[^\"\n]*\"" named "${said}")
list(SORT named)
if(result EQUAL 0 OR NOT named STREQUAL refused)
  list(JOIN refused "\n  " expected)
  message(FATAL_ERROR "expected refused:\n  ${expected}\nthe check said (${result}):\n${said}")
endif()
