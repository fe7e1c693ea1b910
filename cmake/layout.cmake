# Lays out the program folder: the first rates file and the folders of slip
# pictures and help. Never overwrites what is already there.
file(MAKE_DIRECTORY ${PROGRAM_DIR}/bulljpg ${PROGRAM_DIR}/Aide)
if(NOT EXISTS ${PROGRAM_DIR}/Taux.txt)
  file(COPY ${SOURCE_DIR}/data/Taux.txt DESTINATION ${PROGRAM_DIR})
endif()
