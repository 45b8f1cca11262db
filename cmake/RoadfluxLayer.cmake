# roadflux_layer(NAME [QT] [USES layer...] [LIBRARIES lib...] [EXCLUDE file...])
#
# Makes the static library roadflux_NAME of the calling source folder, which is one layer of the
# program. A layer sees its own headers and those of the layers it USES, nothing else: its
# include root (build/layers/NAME) holds a single link, NAME, to its folder, and the library
# links the used layers privately, so their roots reach this layer's sources and not the layers
# above. So an include against the direction of the layers ("vehicles/..." in config) does not
# compile, and a layer that includes a header of a layer it does not name does not either, even
# when that header comes in through one it does name: USES lists every layer a layer sees.
# roadflux_sees(TARGET LAYER) gives a test or a program the same view as the layer's sources.
#
# A layer may only use layers added before it: the order of the add_subdirectory lines in the
# top-level CMakeLists.txt is the order of the layers. QT marks a layer of the desktop program
# (its tests go into tests_gui). EXCLUDE names sources kept out of the library (a main.cpp).
function(roadflux_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "QT" "" "USES;LIBRARIES;EXCLUDE")
  foreach(used IN LISTS arg_USES)
    if(NOT TARGET roadflux_${used})
      message(FATAL_ERROR "Layer ${name} uses ${used}, which is not a layer below it: "
                          "add_subdirectory of ${used} must come before that of ${name}")
    endif()
  endforeach()

  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB_RECURSE resources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  foreach(excluded IN LISTS arg_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()

  # A relative include ("../engine/Sim.h") would walk past the include roots.
  foreach(file IN LISTS sources headers)
    file(STRINGS ${file} relative REGEX "^[ \t]*#[ \t]*include[ \t]*\"\\.\\./")
    if(relative)
      message(FATAL_ERROR "${file}: include other folders' headers as \"folder/Name.h\", not by a relative path")
    endif()
  endforeach()

  set(root ${PROJECT_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)

  set(target roadflux_${name})
  add_library(${target} STATIC ${sources} ${headers} ${resources})
  target_include_directories(${target} PUBLIC ${root})
  list(TRANSFORM arg_USES PREPEND roadflux_ OUTPUT_VARIABLE used_targets)
  target_link_libraries(${target} PRIVATE ${used_targets})
  target_link_libraries(${target} PUBLIC ${arg_LIBRARIES})
  set_property(TARGET ${target} PROPERTY ROADFLUX_USES ${arg_USES})

  # Every header compiled once within the layer, so that a header no source of its own layer
  # includes is held to the layer's direction too.
  if(headers)
    set(check_source ${CMAKE_CURRENT_BINARY_DIR}/${target}_headers.cpp)
    set(check_text "// Generated: every header of the ${name} layer.\n")
    foreach(header IN LISTS headers)
      file(RELATIVE_PATH relative_header ${CMAKE_CURRENT_SOURCE_DIR} ${header})
      string(APPEND check_text "#include \"${name}/${relative_header}\"\n")
    endforeach()
    file(CONFIGURE OUTPUT ${check_source} CONTENT "${check_text}")
    add_library(${target}_headers OBJECT ${check_source})
    roadflux_sees(${target}_headers ${name})
    set_target_properties(${target}_headers PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
  endif()

  if(arg_QT)
    set_property(GLOBAL APPEND PROPERTY ROADFLUX_GUI_LAYERS ${name})
  else()
    set_property(GLOBAL APPEND PROPERTY ROADFLUX_LAYERS ${name})
  endif()
endfunction()

# Links TARGET with LAYER and the layers it uses, so that TARGET sees exactly the headers the
# layer's own sources see.
function(roadflux_sees target layer)
  get_target_property(used roadflux_${layer} ROADFLUX_USES)
  if(NOT used)
    set(used)
  endif()
  list(TRANSFORM used PREPEND roadflux_)
  target_link_libraries(${target} PRIVATE roadflux_${layer} ${used})
endfunction()
