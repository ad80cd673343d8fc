# Checks the layers of fontes/tradutor: each row may include only the headers of the rows listed
# for it, so sound and engines never reach the console, only programs choose a backend, and
# nothing reaches a layer above it.
# Usage: cmake -DROOT=<fontes/tradutor> -P check_layers.cmake   (fails on any violation)
#
# A row is a folder (platform/sdl), or a file-name prefix inside one (diphone/waveout). A file
# belongs to the longest row its path starts with, so platform/sdl/ is not part of platform/.
#
# row                    rows whose headers it may include (besides its own)
cmake_minimum_required(VERSION 3.25)
set(layer_platform          "")
set(layer_platform/audio    "platform")
set(layer_platform/memory   "platform")
set(layer_platform/sdl      "platform;platform/audio")
set(layer_platform/terminal "platform;platform/audio")
set(layer_console           "platform")
set(layer_diphone           "platform;diphone/waveout")
set(layer_diphone/waveout   "platform;platform/audio")
set(layer_words             "platform;diphone/waveout")
set(layer_orvia/text        "platform")
set(layer_orvia/engine      "platform;orvia/text")
set(layer_orvia             "platform;orvia/text;orvia/engine;diphone/waveout")
set(layer_bridges           "platform;diphone/waveout")
set(layer_speechd           "platform;orvia/text;orvia/engine")
set(layer_frontend          "platform;console;diphone;diphone/waveout;orvia/text;orvia/engine;bridges;words")
set(layer_driver            "platform;console;diphone;diphone/waveout;orvia/text;orvia/engine;bridges;words;frontend")
# besides, a program file (*_main.cpp) of any row: the backends, which only a program chooses
set(layer_programs          "platform/sdl;platform/terminal;platform/memory")
set(layers platform platform/audio platform/memory platform/sdl platform/terminal console
    diphone diphone/waveout words orvia/text orvia/engine orvia bridges speechd frontend driver)

if(NOT ROOT)
  message(FATAL_ERROR "check_layers: ROOT not given")
endif()
file(REAL_PATH "${ROOT}" ROOT)

# The row `path` belongs to, in `out`; empty when none.
function(row_of path out)
  set(best "")
  foreach(row IN LISTS layers)
    string(LENGTH "${row}" length)
    string(LENGTH "${best}" best_length)
    if(path MATCHES "^${row}([/._]|$)" AND length GREATER best_length)
      set(best ${row})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

set(violations "")
file(GLOB folders LIST_DIRECTORIES true RELATIVE ${ROOT} ${ROOT}/*)
foreach(folder IN LISTS folders)
  if(NOT IS_DIRECTORY ${ROOT}/${folder})
    continue()
  endif()
  if(NOT folder IN_LIST layers)
    string(APPEND violations "\n  ${folder}/: a folder the layer table does not know")
    continue()
  endif()
  file(GLOB_RECURSE sources RELATIVE ${ROOT}
       ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.in)
  foreach(source IN LISTS sources)
    row_of(${source} row)
    set(allowed ${row} ${layer_${row}})
    if(source MATCHES "_main\\.cpp$")
      list(APPEND allowed ${layer_programs})
    endif()
    file(STRINGS ${ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
      if(NOT header MATCHES "/")
        continue()  # a header beside the source, or a generated one
      endif()
      row_of(${header} header_row)
      if(NOT header_row OR NOT header_row IN_LIST allowed)
        string(APPEND violations "\n  ${source} includes \"${header}\"")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Layer violations (see cmake/check_layers.cmake):${violations}")
endif()
