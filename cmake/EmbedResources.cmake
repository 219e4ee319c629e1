# Compiles files into a target as named module resources of one type, found
# at run time through platform/Resources.h (FindResourceA and friends). A
# name written "#101" stands for the resource number 101.
#
#   mofron_embed_resources(<target> TYPE <type> RESOURCES <name> <file> ...
#                          [DEPENDS <targets or files>...])
#
# A generated source holds the bytes and registers them with the executable's
# module when the program starts; give it to an executable (or an object
# library that executables link), so that the registration is linked in.
set(MOFRON_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedResourcesWrite.cmake)

function(mofron_embed_resources target)
  cmake_parse_arguments(ARG "" "TYPE" "RESOURCES;DEPENDS" ${ARGN})
  list(LENGTH ARG_RESOURCES count)
  math(EXPR odd "${count} % 2")
  if(count EQUAL 0 OR odd)
    message(FATAL_ERROR "mofron_embed_resources: RESOURCES takes pairs of name and file")
  endif()
  set(names "")
  set(files "")
  foreach(index RANGE 0 ${count} 2)
    if(index LESS count)
      math(EXPR next "${index} + 1")
      list(GET ARG_RESOURCES ${index} name)
      list(GET ARG_RESOURCES ${next} file)
      list(APPEND names ${name})
      list(APPEND files ${file})
    endif()
  endforeach()
  string(MAKE_C_IDENTIFIER "${target}_${ARG_TYPE}" id)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${id}_resources.cpp)
  string(REPLACE ";" "|" names_arg "${names}")
  string(REPLACE ";" "|" files_arg "${files}")
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DTYPE=${ARG_TYPE} -DID=${id}
            "-DNAMES=${names_arg}" "-DFILES=${files_arg}" -P ${MOFRON_EMBED_SCRIPT}
    DEPENDS ${files} ${MOFRON_EMBED_SCRIPT} ${ARG_DEPENDS}
    COMMENT "Embedding ${ARG_TYPE} resources into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
