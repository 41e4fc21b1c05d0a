# The module: its subsystems' sources, its embedded resources, and the loadable planroad.arx.
set(PLANROAD_MODULE_FOLDERS frame curbradius stakes cornercheck centreline export)
set(PLANROAD_MODULE_SOURCES "")
foreach(folder IN LISTS PLANROAD_MODULE_FOLDERS)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  list(APPEND PLANROAD_MODULE_SOURCES ${sources})
endforeach()

# Module code sees the stand-in SDK, the outside components' interfaces and its own folders only.
add_library(planroad_module OBJECT ${PLANROAD_MODULE_SOURCES})
target_include_directories(planroad_module PUBLIC
  ${PROJECT_SOURCE_DIR}/frame ${PROJECT_SOURCE_DIR}/frame/outside ${PROJECT_SOURCE_DIR}/resources ${PROJECT_SOURCE_DIR})
target_link_libraries(planroad_module PUBLIC arxhost planroad_standins)
planroad_warnings(planroad_module)

set(PLANROAD_RESOURCE_FILES ${PROJECT_SOURCE_DIR}/resources/PlanRoad.rc ${PROJECT_SOURCE_DIR}/resources/resource.h)
set(PLANROAD_EMBEDDED ${CMAKE_BINARY_DIR}/generated/EmbeddedResources.cpp)
string(REPLACE ";" "|" PLANROAD_RESOURCE_LIST "${PLANROAD_RESOURCE_FILES}")
add_custom_command(OUTPUT ${PLANROAD_EMBEDDED}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${PLANROAD_EMBEDDED} -DSYMBOL=arxhostResourceFiles
          -DFILES=${PLANROAD_RESOURCE_LIST} -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFiles.cmake
  DEPENDS ${PLANROAD_RESOURCE_FILES} ${PROJECT_SOURCE_DIR}/cmake/EmbedFiles.cmake
  COMMENT "Embedding the module's resource script"
  VERBATIM)
add_library(planroad_resources OBJECT ${PLANROAD_EMBEDDED})

# planroad.arx: what the host loads.
add_library(planroad MODULE $<TARGET_OBJECTS:planroad_module> $<TARGET_OBJECTS:planroad_resources> $<TARGET_OBJECTS:arxhost_rxapi>)
set_target_properties(planroad PROPERTIES PREFIX "" SUFFIX ".arx" OUTPUT_NAME planroad)
target_link_libraries(planroad PRIVATE arxhost planroad_standins)
target_link_options(planroad PRIVATE -Wl,--no-undefined)
