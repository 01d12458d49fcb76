# Resource scripts are UTF-8; windres converts them to code page 932.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MANIFEST_ARCH amd64)
else()
  set(MANIFEST_ARCH X86)
endif()
set(QUILLET_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/src/res/version.rc.in ${QUILLET_GENERATED}/version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/src/res/Quillet.manifest.in ${QUILLET_GENERATED}/Quillet.manifest @ONLY)

# Gives a program its resource script, found beside the pictures and the scripts it includes.
function(quillet_add_resources target script)
  target_sources(${target} PRIVATE ${script})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src/res ${CMAKE_SOURCE_DIR}/src ${QUILLET_GENERATED})
  file(GLOB inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/res/pictures/* ${CMAKE_SOURCE_DIR}/src/res/*.rc)
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${inputs};${QUILLET_GENERATED}/Quillet.manifest")
endfunction()
