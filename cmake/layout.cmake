# Lays out the program folder's help folder. The rates file, the tables and
# the picture folder are laid out by berlivo_mktables, by the program's own
# rule. Never overwrites what is already there.
file(MAKE_DIRECTORY ${PROGRAM_DIR}/Aide)
