set(VANDOR_SHELL_SOURCES
  shell/vdrProgramFolder.cpp
)
