# cmake -DSOURCE=... -DDESTINATION=... -P CopyIfMissing.cmake
# Copies SOURCE to DESTINATION only when nothing is there yet.
if(NOT EXISTS ${DESTINATION})
  get_filename_component(folder ${DESTINATION} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${SOURCE} ${DESTINATION})
endif()
