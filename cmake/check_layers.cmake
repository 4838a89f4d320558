cmake_minimum_required(VERSION 3.25)

# Refuses an include that reaches a layer the including file's layer may not
# use. Run by the build (cmake -DROOT=<source dir> -P check_layers.cmake), so a
# wrong include fails it before anything links. Tests, benchmarks, tools and
# fuzz targets may use every layer and are not checked.

# The layer of a file, from its path relative to the source root.
function(layer_of path out)
  if(path MATCHES "^(editors|batch)/[^/]*_dlg\\.")
    set(layer gui)
  elseif(path MATCHES "^(editors|batch)/")
    set(layer cycles)
  elseif(path MATCHES "^model/(settings_tables\\.|settings_file_format\\.|file_io\\.|settings_diff|cp932_text\\.)")
    set(layer settings_format)
  elseif(path MATCHES "^app/")
    set(layer gui)
  elseif(path MATCHES "^(protocol|pty|sink|model|link|sim|cli|res)/")
    string(REGEX REPLACE "/.*" "" layer "${path}")
  else()
    set(layer "")
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# What each layer may include, itself first.
set(uses_protocol protocol)
set(uses_pty pty)
set(uses_sink sink)
set(uses_res res)
set(uses_settings_format settings_format protocol)
set(uses_model model settings_format sink protocol)
set(uses_link link ${uses_model})
set(uses_cycles cycles ${uses_link})
set(uses_sim sim protocol settings_format pty)
set(uses_cli cli ${uses_cycles} sim pty)
set(uses_gui gui res ${uses_cycles} sim pty)

file(GLOB_RECURSE files RELATIVE ${ROOT}
  ${ROOT}/protocol/* ${ROOT}/pty/* ${ROOT}/sink/* ${ROOT}/model/* ${ROOT}/link/*
  ${ROOT}/editors/* ${ROOT}/batch/* ${ROOT}/sim/* ${ROOT}/cli/* ${ROOT}/res/* ${ROOT}/app/*)
list(FILTER files INCLUDE REGEX "\\.(h|cpp)$")

set(wrong "")
foreach(file IN LISTS files)
  layer_of("${file}" layer)
  file(STRINGS ${ROOT}/${file} includes REGEX "^#include \"[a-z_]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
    layer_of("${included}" target)
    if(target STREQUAL "")
      continue()
    endif()
    if(NOT target IN_LIST uses_${layer})
      string(APPEND wrong "  ${file} (${layer}) includes ${included} (${target})\n")
    endif()
  endforeach()
endforeach()

if(wrong)
  message(FATAL_ERROR "An include reaches a layer above its own:\n${wrong}")
endif()
